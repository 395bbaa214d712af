// Taking paths apart and putting them together; valid file names.
#pragma once

#include <windows.h>

#include <string>

std::wstring QelExtractFilePath(const wchar_t* path);   // "C:\a\b.txt" -> "C:\a\"
std::wstring QelExtractFileName(const wchar_t* path);   // name and extension
std::wstring QelExtractFileExt(const wchar_t* path);    // ".txt", or "" when none
std::wstring QelExtractFileTitle(const wchar_t* path);  // name without extension
void QelAppendPathSeparator(std::wstring& path);
void QelRemovePathSeparator(std::wstring& path);
std::wstring QelExtractFolderName(const wchar_t* folder);
void QelGetParentFolder(std::wstring& folder);
std::wstring QelGetLongPathName(const wchar_t* path);
std::wstring QelGetShortPathName(const wchar_t* path);
// 0 when both name the same path (case-insensitive, trailing separators ignored).
int QelComparePaths(const wchar_t* a, const wchar_t* b);
// In place: blanks and double quotes removed from both ends; TRUE when something is left.
BOOL QelTrimPath(wchar_t* path);

BOOL QelIsValidFileName(const wchar_t* name);
void QelMakeValidFileName(std::wstring& name);
std::wstring QelGetValidFileName(const wchar_t* name);
