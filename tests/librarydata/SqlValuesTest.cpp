#include "librarydata/CppSQLite3.h"
#include "librarydata/SqlValues.h"

#include "DatabaseTestSupport.h"

#include <gtest/gtest.h>

TEST(SqlValues, StringLiteralsDoubleQuotesAndTurnEmptyIntoNull)
{
    EXPECT_EQ(L"NULL", QelSqlString(L""));
    EXPECT_EQ(L"NULL", QelSqlString(nullptr));
    EXPECT_EQ(L"'abc'", QelSqlString(L"abc"));
    EXPECT_EQ(L"'it''s'", QelSqlString(L"it's"));
    EXPECT_EQ(L"'a''''b'", QelSqlString(L"a''b"));
    EXPECT_EQ(L"''''", QelSqlString(L"'"));
    EXPECT_EQ(L"N'x'", QelSqlString(L"x", L"N"));
    // Nothing but the quote is special in a literal.
    EXPECT_EQ(L"'100% %s %d \\'", QelSqlString(L"100% %s %d \\"));
}

TEST(SqlValues, TimeTextIsTheLocalTimeAndOutOfRangeTimesAreNull)
{
    EXPECT_EQ(L"2009-12-07 10:15:03", QelTimeToSqlText(LocalTime(2009, 12, 7, 10, 15, 3)));
    EXPECT_EQ(L"'2009-12-07 10:15:03'", QelSqlTime(LocalTime(2009, 12, 7, 10, 15, 3)));
    EXPECT_EQ(L"'1990-01-01 00:00:00'", QelSqlTime(LocalTime(1990, 1, 1, 0, 0, 0)));
    EXPECT_EQ(L"'2050-12-31 23:59:59'", QelSqlTime(LocalTime(2050, 12, 31, 23, 59, 59)));
    EXPECT_EQ(L"NULL", QelSqlTime(LocalTime(1989, 12, 31, 23, 59, 59)));
    EXPECT_EQ(L"NULL", QelSqlTime(LocalTime(2051, 1, 1, 0, 0, 0)));
    EXPECT_EQ(L"NULL", QelSqlTime(0));
    EXPECT_EQ(L"NULL", QelSqlTime(-1));
}

TEST(SqlValues, ParsingChecksLengthThenEachFieldInOrder)
{
    __int64 time = 0;
    std::wstring message;
    EXPECT_TRUE(QelParseSqlTime(L"2050-12-31 23:59:59", time, message));
    EXPECT_EQ(LocalTime(2050, 12, 31, 23, 59, 59), time);
    EXPECT_TRUE(QelParseSqlTime(L"1990-01-01 00:00:00", time, message));
    EXPECT_EQ(LocalTime(1990, 1, 1, 0, 0, 0), time);
    // The separators are not looked at.
    EXPECT_TRUE(QelParseSqlTime(L"2009/12/04T10:20:30", time, message));
    EXPECT_EQ(LocalTime(2009, 12, 4, 10, 20, 30), time);

    struct Case {
        const wchar_t* text;
        const wchar_t* message;
    };
    const Case failures[] = {
        {L"2051-01-01 00:00:00", L"Invalid date time format (year)"},
        {L"1989-12-31 23:59:59", L"Invalid date time format (year)"},
        {L"2009-1-1 0:0:0", L"Invalid date time format"},
        {L"", L"Invalid date time format"},
        {L"2009-13-01 00:00:00", L"Invalid date time format (month)"},
        {L"2009-13-32 00:00:00", L"Invalid date time format (month)"},
        {L"2009-12-00 00:00:00", L"Invalid date time format (day)"},
        {L"2009-12-01 24:00:00", L"Invalid date time format (hour)"},
        {L"2009-12-01 00:60:00", L"Invalid date time format (minute)"},
        {L"2009-12-01 00:00:60", L"Invalid date time format (second)"},
        {L"abcdefghijklmnopqrs", L"Invalid date time format (year)"},
    };
    for (const Case& c : failures) {
        message.clear();
        EXPECT_FALSE(QelParseSqlTime(c.text, time, message)) << c.text;
        EXPECT_EQ(c.message, message) << c.text;
    }
    EXPECT_FALSE(QelParseSqlTime(nullptr, time, message));
    EXPECT_EQ(L"NULL pointer", message);
}

TEST(SqlValues, BadTimeTextThrowsWithTheParserMessage)
{
    try {
        QelSqlTextToTime(L"2009-13-01 00:00:00");
        FAIL() << "no exception";
    } catch (const CppSQLite3Exception& e) {
        EXPECT_EQ(-1, e.ErrorCode());
        EXPECT_STREQ("UNKNOWN_ERROR[-1]: Invalid date time format (month)", e.ErrorMessage());
    }
}

TEST(SqlValues, ColoursAndBytesAsHex)
{
    EXPECT_EQ(L"0080FF", QelColorToHex(0x00FF8000));
    EXPECT_EQ(0x00FF8000u, QelHexToColor(L"0080FF"));
    EXPECT_EQ(L"'0080FF'", QelSqlColor(0x00FF8000));
    const BYTE bytes[] = {0x00, 0x1F, 0xA0, 0xFF};
    char hex[9];
    EXPECT_EQ(8, QelBytesToHex(bytes, 4, hex));
    EXPECT_STREQ("001FA0FF", hex);
}

TEST(SqlValues, Utf8RoundTrip)
{
    const std::wstring text = L"\u4E2D\u6587 caf\u00E9 \U0001F600";
    const std::string utf8 = QelStringToUtf8(text.c_str());
    EXPECT_EQ("\xE4\xB8\xAD\xE6\x96\x87 caf\xC3\xA9 \xF0\x9F\x98\x80", utf8);
    EXPECT_EQ(text, QelUtf8ToString(utf8.c_str()));
    EXPECT_EQ("", QelStringToUtf8(L""));
    EXPECT_EQ(L"", QelUtf8ToString(nullptr));
}
