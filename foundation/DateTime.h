// Points in time as text, and the two time types: 64-bit seconds since
// 1970-01-01 UTC, and automation dates (days since 1899-12-30) for formatting.
#pragma once

#include <windows.h>

#include <string>

class CQelOleDateTime
{
public:
    CQelOleDateTime() = default;  // invalid
    explicit CQelOleDateTime(DATE value) : m_value(value), m_valid(true) {}

    // Local calendar fields; invalid when they name no date.
    static CQelOleDateTime FromSystemTime(const SYSTEMTIME& fields);
    // The runtime library's current time, as local time.
    static CQelOleDateTime Now();

    bool IsValid() const { return m_valid; }
    DATE GetValue() const { return m_value; }
    BOOL GetAsSystemTime(SYSTEMTIME& fields) const;

private:
    DATE m_value = 0;
    bool m_valid = false;
};

// Formatted in the thread locale; an invalid date gives an empty text.
std::wstring QelFormatDate(const CQelOleDateTime& date);
std::wstring QelFormatLongDate(const CQelOleDateTime& date);
std::wstring QelFormatTime(const CQelOleDateTime& date, BOOL noSeconds);
std::wstring QelFormatDateTime(const CQelOleDateTime& date, BOOL noSeconds);
std::wstring QelFormatLongDateTime(const CQelOleDateTime& date, BOOL noSeconds);
// "Mon Dec 07 10:15:03 2009" in local time.
std::wstring QelFormatTimeAsctime(const __int64* time);

// Conversions through the local time zone.
__int64 QelOleDateToTime(const CQelOleDateTime& date);
CQelOleDateTime QelTimeToOleDate(const __int64* time);
CQelOleDateTime QelTimeObjectToOleDate(__int64 time);
// Local calendar fields to seconds, daylight saving left to the runtime; -1 when out of range.
__int64 QelSystemTimeToTime(const SYSTEMTIME& fields);
