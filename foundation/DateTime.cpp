#include "foundation/DateTime.h"

#include <oleauto.h>

#include <ctime>

CQelOleDateTime CQelOleDateTime::FromSystemTime(const SYSTEMTIME& fields)
{
    DATE value = 0;
    if (!SystemTimeToVariantTime(const_cast<SYSTEMTIME*>(&fields), &value))
        return CQelOleDateTime();
    return CQelOleDateTime(value);
}

CQelOleDateTime CQelOleDateTime::Now()
{
    const __int64 now = _time64(nullptr);
    return QelTimeToOleDate(&now);
}

BOOL CQelOleDateTime::GetAsSystemTime(SYSTEMTIME& fields) const
{
    fields = SYSTEMTIME{};
    return m_valid && VariantTimeToSystemTime(m_value, &fields) ? TRUE : FALSE;
}

namespace {

std::wstring FormatDate(const CQelOleDateTime& date, DWORD flags)
{
    SYSTEMTIME fields;
    if (!date.GetAsSystemTime(fields))
        return std::wstring();
    wchar_t text[260] = {};
    if (!GetDateFormatW(GetThreadLocale(), flags, &fields, nullptr, text, 260))
        return std::wstring();
    return text;
}

}  // namespace

std::wstring QelFormatDate(const CQelOleDateTime& date) { return FormatDate(date, DATE_USE_ALT_CALENDAR); }

std::wstring QelFormatLongDate(const CQelOleDateTime& date) { return FormatDate(date, DATE_LONGDATE); }

std::wstring QelFormatTime(const CQelOleDateTime& date, BOOL noSeconds)
{
    SYSTEMTIME fields;
    if (!date.GetAsSystemTime(fields))
        return std::wstring();
    wchar_t text[260] = {};
    if (!GetTimeFormatW(GetThreadLocale(), noSeconds ? TIME_NOSECONDS : 0, &fields, nullptr, text, 260))
        return std::wstring();
    return text;
}

std::wstring QelFormatDateTime(const CQelOleDateTime& date, BOOL noSeconds)
{
    if (!date.IsValid())
        return std::wstring();
    return QelFormatDate(date) + L" " + QelFormatTime(date, noSeconds);
}

std::wstring QelFormatLongDateTime(const CQelOleDateTime& date, BOOL noSeconds)
{
    if (!date.IsValid())
        return std::wstring();
    return QelFormatLongDate(date) + L" " + QelFormatTime(date, noSeconds);
}

std::wstring QelFormatTimeAsctime(const __int64* time)
{
    if (!time)
        return std::wstring();
    tm fields{};
    wchar_t text[64] = {};
    if (_localtime64_s(&fields, time) || _wasctime_s(text, 64, &fields))
        return std::wstring();
    std::wstring result(text);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r'))
        result.pop_back();
    return result;
}

__int64 QelSystemTimeToTime(const SYSTEMTIME& fields)
{
    tm parts{};
    parts.tm_year = fields.wYear - 1900;
    parts.tm_mon = fields.wMonth - 1;
    parts.tm_mday = fields.wDay;
    parts.tm_hour = fields.wHour;
    parts.tm_min = fields.wMinute;
    parts.tm_sec = fields.wSecond;
    parts.tm_isdst = -1;
    return _mktime64(&parts);
}

__int64 QelOleDateToTime(const CQelOleDateTime& date)
{
    SYSTEMTIME fields;
    if (!date.GetAsSystemTime(fields))
        return 0;
    return QelSystemTimeToTime(fields);
}

CQelOleDateTime QelTimeToOleDate(const __int64* time)
{
    tm parts{};
    if (!time || _localtime64_s(&parts, time))
        return CQelOleDateTime();
    SYSTEMTIME fields{};
    fields.wYear = static_cast<WORD>(parts.tm_year + 1900);
    fields.wMonth = static_cast<WORD>(parts.tm_mon + 1);
    fields.wDay = static_cast<WORD>(parts.tm_mday);
    fields.wDayOfWeek = static_cast<WORD>(parts.tm_wday);
    fields.wHour = static_cast<WORD>(parts.tm_hour);
    fields.wMinute = static_cast<WORD>(parts.tm_min);
    fields.wSecond = static_cast<WORD>(parts.tm_sec);
    return CQelOleDateTime::FromSystemTime(fields);
}

CQelOleDateTime QelTimeObjectToOleDate(__int64 time) { return QelTimeToOleDate(&time); }
