#pragma once
// Messages are English templates with placeholders "%1" to "%8", filled by
// plain text replacement: no escapes, no widths, no "%%".

#include <string>

// "%1" .. "%<count>" are replaced in turn, each step over the text the steps
// before it left: an argument may carry a later placeholder, never an earlier one.
std::wstring QelFormatString1(const wchar_t* templateText, const wchar_t* a1);
std::wstring QelFormatString2(const wchar_t* templateText, const wchar_t* a1, const wchar_t* a2);
std::wstring QelFormatString3(const wchar_t* templateText, const wchar_t* a1, const wchar_t* a2,
                              const wchar_t* a3);
std::wstring QelFormatString4(const wchar_t* templateText, const wchar_t* a1, const wchar_t* a2,
                              const wchar_t* a3, const wchar_t* a4);
std::wstring QelFormatString5(const wchar_t* templateText, const wchar_t* a1, const wchar_t* a2,
                              const wchar_t* a3, const wchar_t* a4, const wchar_t* a5);
std::wstring QelFormatString6(const wchar_t* templateText, const wchar_t* a1, const wchar_t* a2,
                              const wchar_t* a3, const wchar_t* a4, const wchar_t* a5,
                              const wchar_t* a6);
std::wstring QelFormatString7(const wchar_t* templateText, const wchar_t* a1, const wchar_t* a2,
                              const wchar_t* a3, const wchar_t* a4, const wchar_t* a5,
                              const wchar_t* a6, const wchar_t* a7);
std::wstring QelFormatString8(const wchar_t* templateText, const wchar_t* a1, const wchar_t* a2,
                              const wchar_t* a3, const wchar_t* a4, const wchar_t* a5,
                              const wchar_t* a6, const wchar_t* a7, const wchar_t* a8);
