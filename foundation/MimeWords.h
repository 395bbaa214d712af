#pragma once
// Base64 text in a named charset, and MIME encoded words ("=?charset?B?...?=").

#include <windows.h>

#include <string>

// The decoded bytes (up to the first zero byte) read in the charset.
BOOL QelDecodeBase64WithCharset(const char* text, const wchar_t* charset, std::wstring& out);
std::wstring QelDecodeBase64WithCharsetString(const char* text, const wchar_t* charset);

// One encoded word without line breaks, however long the text.
std::string QelEncodeMimeWord(const wchar_t* charset, const wchar_t* text);
