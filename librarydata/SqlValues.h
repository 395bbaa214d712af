#pragma once
// Values as SQL literal text, and the stored time text read back. Every value
// that reaches a statement of index.db passes through one of these literals.

#include <windows.h>

#include <string>

// "NULL" for an empty text, else prefix + the text in single quotes with every
// quote doubled.
std::wstring QelSqlString(const wchar_t* text, const wchar_t* prefix = L"");

// The quoted local time text; "NULL" for a time whose local year lies outside
// 1990 to 2050 (0 and missing times included), since such a text could not be
// read back.
std::wstring QelSqlTime(__int64 time);

std::wstring QelSqlColor(COLORREF colour);

// "%04d-%02d-%02d %02d:%02d:%02d" of the local time; empty when the value has
// no local time.
std::wstring QelTimeToSqlText(__int64 time);

// Parses the 19-character time text as local time, years 1990 to 2050.
BOOL QelParseSqlTime(const wchar_t* text, __int64& time, std::wstring& message);

// As QelParseSqlTime; a bad text throws CppSQLite3Exception with code -1.
__int64 QelSqlTextToTime(const wchar_t* text);

// 0x00BBGGRR as "RRGGBB" and back.
std::wstring QelColorToHex(COLORREF colour);
COLORREF QelHexToColor(const wchar_t* text);

// Two upper-case hex digits a byte and a terminating NUL into out (2n + 1
// characters); returns 2n.
int QelBytesToHex(const BYTE* bytes, int count, char* out);

// UTF-16 to UTF-8 and back. Text that cannot be converted whole throws
// CppSQLite3Exception rather than reach SQLite cut short.
std::string QelStringToUtf8(const wchar_t* text);
std::wstring QelUtf8ToString(const char* text);
