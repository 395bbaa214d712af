#pragma once
// Comparing files by their MD5 digests, and copying only when they differ.

#include <windows.h>

#include <string>

// 0 for the same path or the same digest; -1 / 1 when the first / second file
// cannot be digested; otherwise the order of the two digests.
int QelCompareFiles(const wchar_t* path1, const wchar_t* path2);
// target unchanged when it already holds the same bytes; else target, made
// unique when taken, with source copied there. Whether the copy succeeded is
// not told: callers test the file.
std::wstring QelCopyFileIfDifferent(const wchar_t* source, const wchar_t* target);
