#include "foundation/MimeWords.h"

#include "foundation/Base64.h"
#include "foundation/Encoding.h"

#include <algorithm>

BOOL QelDecodeBase64WithCharset(const char* text, const wchar_t* charset, std::wstring& out)
{
    std::string bytes;
    if (!QelBase64DecodeToString(text, bytes))
        return FALSE;
    QelMultiByteToUnicodeByCharset(out, charset, bytes);
    return TRUE;
}

std::wstring QelDecodeBase64WithCharsetString(const char* text, const wchar_t* charset)
{
    std::wstring out;
    QelDecodeBase64WithCharset(text, charset, out);
    return out;
}

std::string QelEncodeMimeWord(const wchar_t* charset, const wchar_t* text)
{
    if (charset == nullptr)
        charset = L"";
    std::string bytes;
    QelUnicodeToMultiByteByCharset(bytes, charset, text != nullptr ? text : L"");
    std::string encoded = QelBase64Encode(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<int>(bytes.size()));
    encoded.erase(std::remove_if(encoded.begin(), encoded.end(), [](char c) { return c == '\r' || c == '\n'; }),
                  encoded.end());

    // Charset names are ASCII.
    std::string name;
    for (const wchar_t* p = charset; *p != L'\0'; ++p)
        name += *p < 0x80 ? static_cast<char>(*p) : '?';
    return "=?" + name + "?B?" + encoded + "?=";
}
