// Creating and deleting folders, file facts, copies and enumerations.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

BOOL QelCreateDirectoryIfMissing(const wchar_t* path);
// Creates the folder with every missing parent; an existing folder is success.
BOOL QelCreateDirectoryTree(const wchar_t* path);
BOOL QelEnsureFolder(const wchar_t* path);
BOOL QelFileExists(const wchar_t* path);
BOOL QelFindFileData(const wchar_t* path, WIN32_FIND_DATAW& data);
// Low 32 bits of the size; 0 for a missing path or a folder.
DWORD QelGetFileSize(const wchar_t* path);
// Last-write time as seconds since 1970 (local time fields); 0 when missing.
__int64 QelGetFileModifiedTime(const wchar_t* path);
BOOL QelSaveBytesToFile(const void* data, DWORD length, const wchar_t* path);

constexpr DWORD QEL_COPY_IN_MEMORY_LIMIT = 0xA00000;
BOOL QelCopyFile(const wchar_t* source, const wchar_t* target, BOOL failIfExists);
BOOL QelCopyLargeFile(const wchar_t* source, const wchar_t* target, BOOL failIfExists);
// Dispatches the thread's waiting messages; a quit request is kept for the message loop.
void QelPumpMessages();

// Refuse an empty path, a relative or drive-relative one, and the root of a drive or share.
BOOL QelDeleteFolderContents(const wchar_t* folder);
BOOL QelDeleteFolder(const wchar_t* folder);

constexpr UINT QEL_ENUM_HIDDEN = 1;
constexpr UINT QEL_ENUM_RECURSE = 2;
void QelEnumFiles(const wchar_t* folder, const wchar_t* filter, std::vector<std::wstring>& out, UINT flags);
void QelEnumFolders(const wchar_t* folder, std::vector<std::wstring>& out, UINT flags);
// "%d.%d.%d.%d", or empty without a version resource.
std::wstring QelGetFileVersionString(const wchar_t* modulePath);

void QelMakeUniqueFileName(std::wstring& path);
void QelMakeUniqueFolderName(std::wstring& folder);
