#include "foundation/Numbers.h"

#include <shlwapi.h>

#include <cwchar>
#include <cwctype>

#include "foundation/Strings.h"

std::wstring QelIntToStr(int value) { return std::to_wstring(value); }

std::wstring QelInt64ToStr(__int64 value) { return std::to_wstring(value); }

std::wstring QelFormatHex(int value, BOOL prefix)
{
    wchar_t text[16] = {};
    swprintf(text, 16, L"%x", static_cast<unsigned>(value));
    return (prefix ? std::wstring(L"0x") : std::wstring()) + text;
}

std::wstring QelFormatHexPadded(int value, int width, BOOL prefix)
{
    if (width < 0)
        width = 0;
    if (width > 64)
        width = 64;
    wchar_t text[80] = {};
    swprintf(text, 80, L"%0*X", width, static_cast<unsigned>(value));
    return (prefix ? std::wstring(L"0x") : std::wstring()) + text;
}

DWORD QelParseHex(const wchar_t* text)
{
    std::wstring digits(text ? text : L"");
    if (digits.size() >= 2 && !_wcsnicmp(digits.c_str(), L"0x", 2))
        digits.erase(0, 2);
    digits = QelTrimSpaces(digits);
    DWORD value = 0;
    for (wchar_t c : digits) {
        c = static_cast<wchar_t>(towlower(c));
        if (c >= L'0' && c <= L'9')
            value = value * 16 + static_cast<DWORD>(c - L'0');
        else if (c >= L'a' && c <= L'f')
            value = value * 16 + static_cast<DWORD>(c - L'a' + 10);
        else
            break;
    }
    return value;
}

std::wstring QelFormatByteSize(DWORD bytes)
{
    wchar_t text[100] = {};
    if (!StrFormatByteSizeW(bytes, text, 100))
        return std::wstring();
    return text;
}

namespace {

std::wstring LocaleText(LCTYPE type)
{
    wchar_t text[16] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 16);
    return text;
}

UINT LocaleNumber(LCTYPE type)
{
    DWORD value = 0;
    GetLocaleInfoW(LOCALE_USER_DEFAULT, type | LOCALE_RETURN_NUMBER, reinterpret_cast<wchar_t*>(&value),
                   sizeof(value) / sizeof(wchar_t));
    return value;
}

}  // namespace

std::wstring QelFormatNumber(const wchar_t* digits, UINT decimals)
{
    const std::wstring input(digits ? digits : L"");
    std::wstring decimalSep = LocaleText(LOCALE_SDECIMAL);
    std::wstring thousandSep = LocaleText(LOCALE_STHOUSAND);
    const std::wstring grouping = LocaleText(LOCALE_SGROUPING);

    if (decimals == QEL_INPUT_DECIMALS) {
        const size_t at = decimalSep.empty() ? std::wstring::npos : input.find(decimalSep);
        decimals = at == std::wstring::npos ? 0 : static_cast<UINT>(input.size() - at - decimalSep.size());
    }
    NUMBERFMTW format{};
    format.NumDigits = decimals;
    format.LeadingZero = LocaleNumber(LOCALE_ILZERO);
    format.Grouping = grouping.empty() ? 0 : static_cast<UINT>(_wtoi(grouping.c_str()));
    format.lpDecimalSep = decimalSep.data();
    format.lpThousandSep = thousandSep.data();
    format.NegativeOrder = LocaleNumber(LOCALE_INEGNUMBER);

    const int size = GetNumberFormatW(LOCALE_USER_DEFAULT, 0, input.c_str(), &format, nullptr, 0);
    if (size <= 0)
        return input;
    std::wstring result(static_cast<size_t>(size), L'\0');
    if (GetNumberFormatW(LOCALE_USER_DEFAULT, 0, input.c_str(), &format, result.data(), size) <= 0)
        return input;
    result.resize(wcslen(result.c_str()));
    return result;
}

std::wstring QelFormatIntGrouped(int value) { return QelFormatNumber(QelIntToStr(value).c_str(), 0); }
