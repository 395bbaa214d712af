#pragma once
// UTF-8 and UTF-16 for the tests, through the plain system calls, so that the
// converters under test never check their own work.

#include <windows.h>

#include <string>

inline std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int count = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(count > 0 ? count : 0), '\0');
    if (count > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &out[0], count, nullptr, nullptr);
    return out;
}

inline std::wstring FromUtf8(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int count = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(size_t(count > 0 ? count : 0), L'\0');
    if (count > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &out[0], count);
    return out;
}

// The piece `count` times over, for texts of a given length in characters of any width.
template <class TText>
TText Repeated(const TText& piece, int count)
{
    TText text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}
