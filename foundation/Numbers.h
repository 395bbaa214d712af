// Numbers as text: decimal, hexadecimal, byte sizes and the user's number format.
#pragma once

#include <windows.h>

#include <string>

std::wstring QelIntToStr(int value);
std::wstring QelInt64ToStr(__int64 value);
// Lower-case digits of the value taken as unsigned, no leading zeros.
std::wstring QelFormatHex(int value, BOOL prefix);
// Upper-case digits, zero-padded to at least `width`.
std::wstring QelFormatHexPadded(int value, int width, BOOL prefix);
// Reads hex digits up to the first other character; an optional "0x" is skipped.
DWORD QelParseHex(const wchar_t* text);
std::wstring QelFormatByteSize(DWORD bytes);
// `decimals` == QEL_INPUT_DECIMALS keeps as many decimals as the input has.
constexpr UINT QEL_INPUT_DECIMALS = 0xFFFFFFFF;
std::wstring QelFormatNumber(const wchar_t* digits, UINT decimals);
std::wstring QelFormatIntGrouped(int value);
