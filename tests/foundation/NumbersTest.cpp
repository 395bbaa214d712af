#include <gtest/gtest.h>

#include "foundation/DateTime.h"
#include "foundation/Numbers.h"

TEST(Numbers, DecimalAndHex)
{
    EXPECT_EQ(L"-42", QelIntToStr(-42));
    EXPECT_EQ(L"-9223372036854775808", QelInt64ToStr(INT64_MIN));
    EXPECT_EQ(L"0xff", QelFormatHex(255, TRUE));
    EXPECT_EQ(L"ffffffff", QelFormatHex(-1, FALSE));
    EXPECT_EQ(L"0x80004005", QelFormatHex(static_cast<int>(0x80004005), TRUE));
    EXPECT_EQ(L"0x00FF", QelFormatHexPadded(255, 4, TRUE));
    EXPECT_EQ(L"FFFFFFFF", QelFormatHexPadded(-1, 4, FALSE));
    EXPECT_EQ(L"8007000E", QelFormatHexPadded(static_cast<int>(0x8007000E), 8, FALSE));
}

TEST(Numbers, ParseHexReadsUpToFirstOtherCharacter)
{
    EXPECT_EQ(255u, QelParseHex(L"0XFF"));
    EXPECT_EQ(1u, QelParseHex(L" 1g"));
    EXPECT_EQ(0u, QelParseHex(L"xyz"));
    EXPECT_EQ(0u, QelParseHex(L""));
    EXPECT_EQ(0xABCDEFu, QelParseHex(L"abCDef"));
}

class EnglishLocale : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_thread = GetThreadLocale();
        SetThreadLocale(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
    }
    void TearDown() override { SetThreadLocale(m_thread); }
    LCID m_thread = 0;
};

TEST(Numbers, FormatNumberUsesUserSeparators)
{
    // Compare with the user's own separators rather than a fixed English text.
    wchar_t decimal[8] = {}, thousand[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 8);
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousand, 8);
    const std::wstring d(decimal), t(thousand);
    if (d != L".")
        GTEST_SKIP() << "user decimal separator is not a point";
    EXPECT_EQ(L"1" + t + L"234.5", QelFormatNumber(L"1234.5", QEL_INPUT_DECIMALS));
    EXPECT_EQ(L"1" + t + L"234.50", QelFormatNumber(L"1234.5", 2));
    EXPECT_EQ(L"1" + t + L"234" + t + L"567", QelFormatIntGrouped(1234567));
    EXPECT_EQ(L"abc", QelFormatNumber(L"abc", 0));  // not a number: the input itself
    EXPECT_EQ(L"2.00 KB", QelFormatByteSize(2048));
}

TEST_F(EnglishLocale, DatesFollowTheThreadLocale)
{
    SYSTEMTIME fields{};
    fields.wYear = 2009;
    fields.wMonth = 12;
    fields.wDay = 7;
    fields.wHour = 10;
    fields.wMinute = 15;
    fields.wSecond = 3;
    const CQelOleDateTime date = CQelOleDateTime::FromSystemTime(fields);
    ASSERT_TRUE(date.IsValid());

    wchar_t longDate[100] = {}, time[100] = {}, shortTime[100] = {};
    GetDateFormatW(GetThreadLocale(), DATE_LONGDATE, &fields, nullptr, longDate, 100);
    GetTimeFormatW(GetThreadLocale(), 0, &fields, nullptr, time, 100);
    GetTimeFormatW(GetThreadLocale(), TIME_NOSECONDS, &fields, nullptr, shortTime, 100);
    EXPECT_EQ(std::wstring(longDate) + L" " + time, QelFormatLongDateTime(date, FALSE));
    EXPECT_EQ(shortTime, QelFormatTime(date, TRUE));
    EXPECT_EQ(std::wstring::npos, QelFormatTime(date, TRUE).find(L":03"));
    EXPECT_NE(std::wstring::npos, QelFormatTime(date, FALSE).find(L":03"));
    EXPECT_NE(std::wstring::npos, QelFormatLongDate(date).find(L"December"));
    EXPECT_NE(std::wstring::npos, QelFormatDate(date).find(L"2009"));

    const CQelOleDateTime invalid;
    EXPECT_EQ(L"", QelFormatDate(invalid));
    EXPECT_EQ(L"", QelFormatLongDateTime(invalid, FALSE));
}

TEST(DateTime, SecondsAndAutomationDatesRoundTrip)
{
    const __int64 seconds = 1260180903;  // a moment in December 2009
    const CQelOleDateTime date = QelTimeToOleDate(&seconds);
    ASSERT_TRUE(date.IsValid());
    EXPECT_EQ(seconds, QelOleDateToTime(date));
    EXPECT_EQ(seconds, QelOleDateToTime(QelTimeObjectToOleDate(seconds)));

    const std::wstring text = QelFormatTimeAsctime(&seconds);
    EXPECT_EQ(24u, text.size()) << std::string(text.begin(), text.end());
    EXPECT_NE(std::wstring::npos, text.find(L"Dec"));
    EXPECT_NE(std::wstring::npos, text.find(L"2009"));

    const CQelOleDateTime now = CQelOleDateTime::Now();
    const __int64 back = QelOleDateToTime(now);
    EXPECT_LE(_abs64(back - _time64(nullptr)), 2);
}
