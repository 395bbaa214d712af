#pragma once
// Messages are English templates with placeholders "%1" to "%8", filled by
// plain text replacement: no escapes, no widths, no "%%".

#include <windows.h>

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

// Templates from string resources, passed through the translation table.
std::wstring QelLoadTranslatedString(UINT id);
std::wstring QelFormatStringId1(UINT id, const wchar_t* a1);
std::wstring QelFormatStringId2(UINT id, const wchar_t* a1, const wchar_t* a2);
std::wstring QelFormatStringId3(UINT id, const wchar_t* a1, const wchar_t* a2, const wchar_t* a3);
std::wstring QelFormatStringId4(UINT id, const wchar_t* a1, const wchar_t* a2, const wchar_t* a3,
                                const wchar_t* a4);
std::wstring QelFormatStringId5(UINT id, const wchar_t* a1, const wchar_t* a2, const wchar_t* a3,
                                const wchar_t* a4, const wchar_t* a5);
std::wstring QelFormatStringId6(UINT id, const wchar_t* a1, const wchar_t* a2, const wchar_t* a3,
                                const wchar_t* a4, const wchar_t* a5, const wchar_t* a6);
std::wstring QelFormatStringId7(UINT id, const wchar_t* a1, const wchar_t* a2, const wchar_t* a3,
                                const wchar_t* a4, const wchar_t* a5, const wchar_t* a6,
                                const wchar_t* a7);
std::wstring QelFormatStringId8(UINT id, const wchar_t* a1, const wchar_t* a2, const wchar_t* a3,
                                const wchar_t* a4, const wchar_t* a5, const wchar_t* a6,
                                const wchar_t* a7, const wchar_t* a8);
