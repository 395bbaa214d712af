#pragma once
// One registry value or key per call: each helper opens the key, does one
// operation and closes it again. Readers open for reading only; writers open
// for full access and create the key path when it is missing.

#include <windows.h>

#include <string>
#include <vector>

BOOL QelRegQueryString(HKEY root, const wchar_t* subKey, const wchar_t* name, wchar_t* buffer,
                       UINT characters);
BOOL QelRegQueryDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD& value);
BOOL QelRegQueryBool(HKEY root, const wchar_t* subKey, const wchar_t* name, BOOL& value);
BOOL QelRegQueryQword(HKEY root, const wchar_t* subKey, const wchar_t* name, void* value);
BOOL QelRegQueryBinary(HKEY root, const wchar_t* subKey, const wchar_t* name, void* data,
                       DWORD size);
BOOL QelRegQueryBinaryDword(HKEY root, const wchar_t* subKey, const wchar_t* name, void* data);
BOOL QelRegValueExists(HKEY root, const wchar_t* subKey, const wchar_t* name);
BOOL QelRegKeyExists(HKEY root, const wchar_t* subKey);
BOOL QelRegEnumSubKeys(HKEY root, const wchar_t* subKey, std::vector<std::wstring>& out);
BOOL QelRegEnumValueNames(HKEY root, const wchar_t* subKey, std::vector<std::wstring>& out);

// The default is returned when the read fails; a NULL default reads as "".
std::wstring QelRegReadString(HKEY root, const wchar_t* subKey, const wchar_t* name,
                              const wchar_t* defaultValue);
DWORD QelRegReadDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD defaultValue);
BOOL QelRegReadBool(HKEY root, const wchar_t* subKey, const wchar_t* name, BOOL defaultValue);
INT64 QelRegReadQword(HKEY root, const wchar_t* subKey, const wchar_t* name, INT64 defaultValue);
DWORD QelRegReadBinaryDword(HKEY root, const wchar_t* subKey, const wchar_t* name,
                            DWORD defaultValue);

BOOL QelRegWriteString(HKEY root, const wchar_t* subKey, const wchar_t* name, const wchar_t* text);
BOOL QelRegWriteDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD value);
BOOL QelRegWriteBool(HKEY root, const wchar_t* subKey, const wchar_t* name, BOOL value);
BOOL QelRegWriteQword(HKEY root, const wchar_t* subKey, const wchar_t* name, INT64 value);
BOOL QelRegWriteBinary(HKEY root, const wchar_t* subKey, const wchar_t* name, const void* data,
                       DWORD size);
BOOL QelRegWriteBinaryDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD value);

BOOL QelRegCreateKey(HKEY root, const wchar_t* subKey);
BOOL QelRegDeleteValue(HKEY root, const wchar_t* subKey, const wchar_t* name);
BOOL QelRegDeleteKeyTree(HKEY root, const wchar_t* subKey);
