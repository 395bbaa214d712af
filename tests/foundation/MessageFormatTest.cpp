#include <gtest/gtest.h>

#include "foundation/MessageFormat.h"

TEST(MessageFormat, ReplacesEachPlaceholderEverywhere)
{
    EXPECT_EQ(L"Failed to load xml file: C:\\a.xml",
              QelFormatString1(L"Failed to load xml file: %1", L"C:\\a.xml"));
    EXPECT_EQ(L"b a b", QelFormatString2(L"%2 %1 %2", L"a", L"b"));
    EXPECT_EQ(L"no placeholders", QelFormatString2(L"no placeholders", L"a", L"b"));
    EXPECT_EQ(L"", QelFormatString1(L"%1", L""));
    EXPECT_EQ(L"1-2-3-4-5-6-7-8",
              QelFormatString8(L"%1-%2-%3-%4-%5-%6-%7-%8", L"1", L"2", L"3", L"4", L"5", L"6",
                               L"7", L"8"));
    EXPECT_EQ(L"8 7 6 5 4 3 2 1",
              QelFormatString8(L"%8 %7 %6 %5 %4 %3 %2 %1", L"1", L"2", L"3", L"4", L"5", L"6",
                               L"7", L"8"));
    EXPECT_EQ(L"a b c d e f g",
              QelFormatString7(L"%1 %2 %3 %4 %5 %6 %7", L"a", L"b", L"c", L"d", L"e", L"f", L"g"));
    EXPECT_EQ(L"[x][x]", QelFormatString1(L"[%1][%1]", L"x"));
}

TEST(MessageFormat, PlaceholdersBeyondTheCountStay)
{
    EXPECT_EQ(L"a b %3", QelFormatString2(L"%1 %2 %3", L"a", L"b"));
    EXPECT_EQ(L"a %8", QelFormatString7(L"%1 %8", L"a", L"", L"", L"", L"", L"", L""));
    EXPECT_EQ(L"%0 %9 % %% a", QelFormatString8(L"%0 %9 % %% %1", L"a", L"", L"", L"", L"", L"",
                                                L"", L""));
}

TEST(MessageFormat, InsertedTextIsScannedOnlyByLaterSteps)
{
    // Step 1 ran before the third argument went in.
    EXPECT_EQ(L"A.B=%1", QelFormatString3(L"%1.%2=%3", L"A", L"B", L"%1"));
    // A later placeholder inside an earlier argument is filled by its own step.
    EXPECT_EQ(L"x", QelFormatString2(L"%1", L"%2", L"x"));
    // An argument carrying its own placeholder is not expanded again (no endless loop).
    EXPECT_EQ(L"%1%1", QelFormatString1(L"%1%1", L"%1"));
    EXPECT_EQ(L"a%1b", QelFormatString1(L"%1", L"a%1b"));
    EXPECT_EQ(L"%1 %1", QelFormatString2(L"%1 %2", L"%2", L"%1"));
}

TEST(MessageFormat, OnePrefixesTwoDigitPlaceholders)
{
    EXPECT_EQ(L"a0", QelFormatString1(L"%10", L"a"));
    EXPECT_EQ(L"50%", QelFormatString1(L"%1%", L"50"));
    EXPECT_EQ(L"%%", QelFormatString1(L"%%1", L"%"));
}
