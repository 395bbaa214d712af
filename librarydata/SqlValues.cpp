#include "librarydata/SqlValues.h"

#include "foundation/Encoding.h"
#include "foundation/Numbers.h"
#include "librarydata/CppSQLite3.h"

#include <cstdlib>
#include <ctime>

namespace {

constexpr int kFirstYear = 1990;
constexpr int kLastYear = 2050;

bool LocalTimeOf(__int64 time, tm& fields)
{
    const __time64_t value = time;
    return _localtime64_s(&fields, &value) == 0;
}

}  // namespace

std::wstring QelSqlString(const wchar_t* text, const wchar_t* prefix)
{
    if (!text || !*text)
        return L"NULL";
    std::wstring literal = prefix ? prefix : L"";
    literal += L'\'';
    for (const wchar_t* p = text; *p; ++p) {
        literal += *p;
        if (*p == L'\'')
            literal += L'\'';
    }
    literal += L'\'';
    return literal;
}

std::wstring QelSqlTime(__int64 time)
{
    tm fields{};
    if (!LocalTimeOf(time, fields))
        return L"NULL";
    const int year = fields.tm_year + 1900;
    if (year < kFirstYear || year > kLastYear)
        return L"NULL";
    return L"'" + QelTimeToSqlText(time) + L"'";
}

std::wstring QelSqlColor(COLORREF colour)
{
    return L"'" + QelColorToHex(colour) + L"'";
}

std::wstring QelTimeToSqlText(__int64 time)
{
    tm fields{};
    if (!LocalTimeOf(time, fields))
        return std::wstring();
    wchar_t text[64];
    swprintf(text, 64, L"%04d-%02d-%02d %02d:%02d:%02d", fields.tm_year + 1900, fields.tm_mon + 1,
             fields.tm_mday, fields.tm_hour, fields.tm_min, fields.tm_sec);
    return text;
}

BOOL QelParseSqlTime(const wchar_t* text, __int64& time, std::wstring& message)
{
    if (!text) {
        message = L"NULL pointer";
        return FALSE;
    }
    if (wcslen(text) != 19) {
        message = L"Invalid date time format";
        return FALSE;
    }
    const int year = _wtoi(text);
    const int month = _wtoi(text + 5);
    const int day = _wtoi(text + 8);
    const int hour = _wtoi(text + 11);
    const int minute = _wtoi(text + 14);
    const int second = _wtoi(text + 17);
    struct Range {
        int value, low, high;
        const wchar_t* message;
    };
    const Range ranges[] = {
        {year, kFirstYear, kLastYear, L"Invalid date time format (year)"},
        {month, 1, 12, L"Invalid date time format (month)"},
        {day, 1, 31, L"Invalid date time format (day)"},
        {hour, 0, 23, L"Invalid date time format (hour)"},
        {minute, 0, 59, L"Invalid date time format (minute)"},
        {second, 0, 59, L"Invalid date time format (second)"},
    };
    for (const Range& range : ranges) {
        if (range.value < range.low || range.value > range.high) {
            message = range.message;
            return FALSE;
        }
    }
    tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    const __time64_t value = _mktime64(&fields);
    if (value == -1) {
        message = L"Invalid date time format";
        return FALSE;
    }
    time = value;
    return TRUE;
}

__int64 QelSqlTextToTime(const wchar_t* text)
{
    __int64 time = 0;
    std::wstring message;
    if (!QelParseSqlTime(text, time, message)) {
        // The messages are plain ASCII, so narrowing them loses nothing.
        const std::string narrow(message.begin(), message.end());
        throw CppSQLite3Exception(-1, narrow.c_str());
    }
    return time;
}

std::wstring QelColorToHex(COLORREF colour)
{
    return QelFormatHexPadded(GetRValue(colour), 2, FALSE) + QelFormatHexPadded(GetGValue(colour), 2, FALSE) +
           QelFormatHexPadded(GetBValue(colour), 2, FALSE);
}

COLORREF QelHexToColor(const wchar_t* text)
{
    const DWORD rgb = QelParseHex(text);
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

int QelBytesToHex(const BYTE* bytes, int count, char* out)
{
    static const char digits[] = "0123456789ABCDEF";
    for (int i = 0; i < count; ++i) {
        out[2 * i] = digits[bytes[i] >> 4];
        out[2 * i + 1] = digits[bytes[i] & 0x0F];
    }
    out[2 * count] = '\0';
    return 2 * count;
}

std::string QelStringToUtf8(const wchar_t* text)
{
    std::string utf8;
    // Half a statement must never reach SQLite.
    if (!QelUnicodeToUtf8(text, utf8))
        throw CppSQLite3Exception(CPPSQLITE_ERROR, "Cannot allocate memory");
    return utf8;
}

std::wstring QelUtf8ToString(const char* text)
{
    std::wstring wide;
    QelUtf8ToUnicode(text, wide);
    return wide;
}
