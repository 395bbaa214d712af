// Reading and writing text files: byte-order marks, line ends, code pages.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <string>
#include <vector>

// Results of QelGetTextFileEncoding.
constexpr int QEL_TEXT_UNKNOWN = 1;  // no mark, shorter than 4 bytes, or unreadable
constexpr int QEL_TEXT_UTF8 = 2;     // EF BB BF
constexpr int QEL_TEXT_UTF16LE = 3;  // FF FE

// Decoding flags.
constexpr UINT QEL_TEXT_HTML = 1;
constexpr UINT QEL_TEXT_AS_UTF8 = 2;
constexpr UINT QEL_TEXT_AS_UTF16 = 4;
constexpr UINT QEL_TEXT_KEEP_CRLF = 8;
constexpr UINT QEL_TEXT_XML = 16;

// Works in place: `data` must have at least 4 zero bytes after `length`.
// Line ends become LF (CR LF kept with QEL_TEXT_KEEP_CRLF); zero characters are dropped.
BOOL QelDecodeTextBytes(BYTE* data, UINT length, std::wstring& out, UINT flags, UINT codePage,
                        const wchar_t* pathHint);
BOOL QelLoadTextFromBuffer(const void* data, UINT length, std::wstring& out, UINT flags, UINT codePage,
                           const wchar_t* pathHint);
BOOL QelLoadTextFileEx(const wchar_t* path, std::wstring& out, UINT flags, UINT codePage);
BOOL QelLoadTextFile(const wchar_t* path, std::wstring& out);
BOOL QelLoadHtmlTextFile(const wchar_t* path, std::wstring& out);
BOOL QelLoadTextFileKeepCRLF(const wchar_t* path, std::wstring& out);
// The file's 8-bit text; FALSE for UTF-16 files, and for UTF-8 marked ones with QEL_TEXT_HTML.
BOOL QelLoadTextFileBytes(const wchar_t* path, std::string& out, UINT flags);
BOOL QelLoadTextFileBytesKeepCRLF(const wchar_t* path, std::string& out);
int QelGetTextFileEncoding(const wchar_t* path);

BOOL QelInsertCRBeforeLF(const wchar_t* text, std::wstring& out);
// FF FE and the UTF-16LE text with CR LF line ends, without a terminator. The
// file is replaced whole or not at all; a failure is logged.
BOOL QelSaveUnicodeTextFile(const wchar_t* path, const wchar_t* text);
BOOL QelSaveUnicodeTextToStream(IStream* stream, const wchar_t* text);
BOOL QelWriteUnicodeTextToFileHandle(HANDLE file, const wchar_t* text);
// Text mode turns LF into CR LF; binary mode writes the bytes as they are.
BOOL QelSaveAnsiTextFile(const wchar_t* path, const char* text, BOOL binary, BOOL utf8Mark);
BOOL QelHasZeroByte(const void* data, UINT length);

BOOL QelLoadTextLines(const wchar_t* path, std::vector<std::wstring>& out);
BOOL QelSaveTextLines(const wchar_t* path, const std::vector<std::wstring>& items, const wchar_t* separator);
// The lines of both files, the first file's first, joined with CR LF.
BOOL QelJoinTextFiles(const wchar_t* path, const wchar_t* otherPath, const wchar_t* targetPath);
