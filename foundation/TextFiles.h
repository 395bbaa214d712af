// Reading and writing text files: byte-order marks, line ends, code pages.
#pragma once

#include <windows.h>

// Results of QelGetTextFileEncoding.
constexpr int QEL_TEXT_UNKNOWN = 1;  // no mark, shorter than 4 bytes, or unreadable
constexpr int QEL_TEXT_UTF8 = 2;     // EF BB BF
constexpr int QEL_TEXT_UTF16LE = 3;  // FF FE

int QelGetTextFileEncoding(const wchar_t* path);
