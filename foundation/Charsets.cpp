#include "foundation/Charsets.h"

#include <mlang.h>
#include <wrl/client.h>

#include <cstring>

#include "foundation/Encoding.h"
#include "foundation/Strings.h"
#include "framework/Bstr.h"

namespace {

// The system's uuid library lacks these.
const CLSID kClsidMultiLanguage = {0x275C23E2, 0x3747, 0x11D0, {0x9F, 0xEA, 0x00, 0xAA, 0x00, 0x3F, 0x86, 0x46}};
const IID kIidMultiLanguage = {0x275C23E1, 0x3747, 0x11D0, {0x9F, 0xEA, 0x00, 0xAA, 0x00, 0x3F, 0x86, 0x46}};

Microsoft::WRL::ComPtr<IMultiLanguage> CreateMultiLanguage()
{
    Microsoft::WRL::ComPtr<IMultiLanguage> multiLanguage;
    if (FAILED(CoCreateInstance(kClsidMultiLanguage, nullptr, CLSCTX_ALL, kIidMultiLanguage,
                                reinterpret_cast<void**>(multiLanguage.GetAddressOf()))))
        multiLanguage.Reset();
    return multiLanguage;
}

bool IsStrictUtf8(const unsigned char* p, size_t length)
{
    for (size_t i = 0; i < length;) {
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        size_t extra;
        unsigned long code;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + extra >= length)
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        const unsigned long minimum = extra == 1 ? 0x80 : (extra == 2 ? 0x800 : 0x10000);
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

bool HasHighByte(const char* bytes)
{
    for (; *bytes; ++bytes)
        if (static_cast<unsigned char>(*bytes) >= 0x80)
            return true;
    return false;
}

std::wstring CutAtBlank(const std::wstring& text) { return text.substr(0, text.find(L' ')); }

}  // namespace

UINT QelGetCharsetCodePage(const wchar_t* charset)
{
    if (!charset || !*charset)
        return 0;
    const auto multiLanguage = CreateMultiLanguage();
    if (!multiLanguage)
        return 0;
    const CBstr name(charset);
    MIMECSETINFO info{};
    if (FAILED(multiLanguage->GetCharsetInfo(name.Get(), &info)))
        return 0;
    return info.uiInternetEncoding;
}

BYTE QelGetCharsetGdiCharset(const wchar_t* charset)
{
    const UINT codePage = QelGetCharsetCodePage(charset);
    if (!codePage)
        return 0;
    const auto multiLanguage = CreateMultiLanguage();
    MIMECPINFO info{};
    if (!multiLanguage || FAILED(multiLanguage->GetCodePageInfo(codePage, &info)))
        return 0;
    return info.bGDICharset;
}

BOOL QelIsValidInCodePage(const char* bytes, UINT codePage, DWORD flags)
{
    if (!bytes)
        return TRUE;
    SetLastError(ERROR_SUCCESS);
    if (MultiByteToWideChar(codePage, flags, bytes, static_cast<int>(strlen(bytes)), nullptr, 0) >= 1)
        return TRUE;
    return GetLastError() != ERROR_NO_UNICODE_TRANSLATION;
}

UINT QelGuessCodePage(const char* bytes)
{
    const UINT ansi = GetACP();
    if (!bytes)
        return ansi;
    // Multi-byte ANSI code pages accept much UTF-8 as valid: strict UTF-8 wins.
    if (HasHighByte(bytes) && IsStrictUtf8(reinterpret_cast<const unsigned char*>(bytes), strlen(bytes)))
        return CP_UTF8;
    if (QelIsValidInCodePage(bytes, ansi, MB_ERR_INVALID_CHARS))
        return ansi;
    if (QelIsValidInCodePage(bytes, CP_UTF8, 0))
        return CP_UTF8;
    return ansi;
}

std::wstring QelGetHtmlCharset(const std::string& bytes)
{
    const char* text = bytes.c_str();
    for (int pos = 0;;) {
        const int meta = QelFindNoCaseA(text, "<meta", pos);
        if (meta < 0)
            return std::wstring();
        const char* close = strchr(text + meta, '>');
        if (!close)
            return std::wstring();
        const std::string tag(text + meta, close + 1);
        pos = static_cast<int>(close - text) + 1;
        const int at = QelFindNoCaseA(tag.c_str(), "charset=", 0);
        if (at < 0)
            continue;
        std::string value = tag.substr(static_cast<size_t>(at) + 8);
        // <meta charset="utf-8"> quotes the name itself; skip that opening quote.
        if (!value.empty() && (value[0] == '"' || value[0] == '\''))
            value.erase(0, 1);
        value = value.substr(0, value.find_first_of("\"'>"));
        return CutAtBlank(QelFromThreadAnsi(value.c_str()));
    }
}

std::wstring QelGetXmlEncoding(const std::string& bytes)
{
    const char* text = bytes.c_str();
    const int start = QelFindNoCaseA(text, "<?xml", 0);
    if (start < 0)
        return std::wstring();
    const char* close = strchr(text + start, '>');
    if (!close)
        return std::wstring();
    const std::string declaration(text + start, close + 1);
    const int at = QelFindNoCaseA(declaration.c_str(), "encoding=", 0);
    if (at < 0)
        return std::wstring();
    std::string value = declaration.substr(static_cast<size_t>(at) + 9);
    for (auto& c : value)
        if (c == '"' || c == '\'' || c == '?')
            c = ' ';
    const size_t first = value.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::wstring();
    value = value.substr(first, value.find_last_not_of(' ') - first + 1);
    return CutAtBlank(QelFromThreadAnsi(value.c_str()));
}

namespace {

// By the charset the text declares, else by the guessed code page.
BOOL DecodeDeclared(const std::wstring& charset, const std::string& bytes, std::wstring& out)
{
    if (charset.empty())
        QelMultiByteToUnicode(out, QelGuessCodePage(bytes.c_str()), bytes);
    else
        QelMultiByteToUnicodeByCharset(out, charset.c_str(), bytes);
    return TRUE;
}

}  // namespace

BOOL QelHtmlBytesToText(const std::string& bytes, std::wstring& out)
{
    return DecodeDeclared(QelGetHtmlCharset(bytes), bytes, out);
}

BOOL QelXmlBytesToText(const std::string& bytes, std::wstring& out)
{
    return DecodeDeclared(QelGetXmlEncoding(bytes), bytes, out);
}
