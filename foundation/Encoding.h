// Conversions between wide text and 8-bit text in a code page. Conversions never
// fail: when the code page cannot convert, the thread's ANSI code page is used.
#pragma once

#include <windows.h>

#include <string>

constexpr UINT QEL_CP_EUCJP = 51932;

// The plain conversions in the thread's ANSI code page (the fallback of all others).
std::string QelToThreadAnsi(const wchar_t* text);
std::wstring QelFromThreadAnsi(const char* bytes);

// Code page 0 is the ANSI code page. The code page's substitution table is applied first.
void QelUnicodeToMultiByte(std::string& out, UINT codePage, const wchar_t* text);
void QelUnicodeToMultiByteByCharset(std::string& out, const wchar_t* charset, const wchar_t* text);
void QelUnicodeToAnsi(std::string& out, const wchar_t* text);
std::string QelGetComputerNameAnsi();

// Code page 0 is guessed. A UTF-8 mark wins over the code page asked for.
// The bytes are read up to their first zero.
void QelMultiByteToUnicode(std::wstring& out, UINT codePage, const std::string& bytes);
void QelMultiByteToUnicodeByCharset(std::wstring& out, const wchar_t* charset, const std::string& bytes);

BOOL QelUtf8ToUnicode(const char* utf8, std::wstring& out);
BOOL QelUnicodeToUtf8(const wchar_t* text, std::string& out);

// Rules from "strconv\<code page>.txt" beside the program, applied in file order.
void QelApplySubstitutionTable(UINT codePage, std::wstring& text);
void QelApplySubstitutionRule(std::wstring& text, const std::wstring& source, const std::wstring& replacement);
