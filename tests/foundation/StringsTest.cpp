#include <gtest/gtest.h>

#include "foundation/Strings.h"

using Items = std::vector<std::wstring>;

TEST(Strings, SplitSkipsLeadingSeparatorKeepsInnerEmptiesDropsTrailing)
{
    Items out;
    EXPECT_TRUE(QelSplitText(L",a,,b,", L',', out));
    EXPECT_EQ((Items{L"a", L"", L"b"}), out);

    Items lines{L"kept"};
    QelSplitText(L"a\r\nb\r\n", L'\n', lines);
    EXPECT_EQ((Items{L"kept", L"a", L"b"}), lines);  // appended, CR dropped

    Items none;
    QelSplitText(L"", L',', none);
    QelSplitText(L",", L',', none);
    EXPECT_TRUE(none.empty());
}

TEST(Strings, SplitByStringHandlesCaseAndEmptySeparator)
{
    Items out;
    QelSplitTextByString(L"ANDaandBandc", L"and", FALSE, out);
    EXPECT_EQ((Items{L"a", L"B", L"c"}), out);

    Items exact;
    QelSplitTextByString(L"aANDb", L"and", TRUE, exact);
    EXPECT_EQ((Items{L"aANDb"}), exact);

    // An empty separator must end, giving the whole text.
    Items whole;
    QelSplitTextByString(L"abc", L"", TRUE, whole);
    EXPECT_EQ((Items{L"abc"}), whole);
}

TEST(Strings, ReplaceNoCaseStartsAfterInsertedText)
{
    std::wstring text = L"aAa";
    EXPECT_EQ(3, QelReplaceNoCase(text, L"a", L"ab", TRUE));
    EXPECT_EQ(L"ababab", text);

    std::wstring once = L"xXx";
    EXPECT_EQ(1, QelReplaceNoCase(once, L"X", L"", FALSE));
    EXPECT_EQ(L"Xx", once);

    std::wstring same = L"abc";
    EXPECT_EQ(0, QelReplaceNoCase(same, L"", L"z", TRUE));
    EXPECT_EQ(L"abc", same);
}

TEST(Strings, ReplaceStringCopiesAndEndsOnEmptyPattern)
{
    EXPECT_EQ(L"a--b--", QelReplaceString(L"a-b-", L"-", L"--"));
    EXPECT_EQ(L"abc", QelReplaceString(L"abc", L"", L"x"));
    EXPECT_EQ(L"a_b_", QelReplaceCharCopy(L"a b ", L' ', L'_'));
    wchar_t text[] = L"a.b.c";
    EXPECT_EQ(2, QelReplaceChar(text, L'.', L'/'));
    EXPECT_STREQ(L"a/b/c", text);
}

TEST(Strings, LineEnds)
{
    std::wstring text = L"a\rb\nc";
    QelNormalizeCRLF(text);
    EXPECT_EQ(L"ab\r\nc", text);

    std::wstring plain = L"abc";
    QelNormalizeCRLF(plain);
    EXPECT_EQ(L"abc", plain);

    std::wstring crlf = L"a\r\nb\r";
    QelRemoveCR(crlf);
    EXPECT_EQ(L"a\nb", crlf);
}

TEST(Strings, SearchingIgnoresCase)
{
    EXPECT_EQ(2, QelFindNoCase(L"abCDcd", L"cd", 0));
    EXPECT_EQ(4, QelFindNoCase(L"abCDcd", L"cd", 3));
    EXPECT_EQ(-1, QelFindNoCase(L"abc", L"c", 10));
    EXPECT_EQ(4, QelReverseFindNoCase(L"abCDcd", L"CD", 0));
    EXPECT_EQ(-1, QelReverseFindNoCase(L"abCDcd", L"ab", 1));
    EXPECT_EQ(3, QelFindNoCaseA("xyzABC", "abc", 0));
    EXPECT_EQ(3, QelReverseFindNoCaseA("abcABC", "abc", 0));
    EXPECT_EQ(-1, QelFindText(L"abc", L"B", TRUE));
    EXPECT_EQ(1, QelFindText(L"abc", L"B", FALSE));
    EXPECT_EQ(nullptr, QelStrStrI(L"abc", L""));

    const wchar_t buffer[] = {L'x', L'A', L'b', L'C'};
    EXPECT_EQ(buffer + 1, QelFindInBuffer(buffer, 4, L"abc"));
    EXPECT_EQ(nullptr, QelFindInBuffer(buffer, 3, L"abc"));

    EXPECT_TRUE(QelContainsAll(L"Hello World", {L"world", L"HELLO"}, FALSE));
    EXPECT_FALSE(QelContainsAll(L"Hello World", {L"world"}, TRUE));
    EXPECT_TRUE(QelContainsAll(L"anything", {}, TRUE));
}

TEST(Strings, Pieces)
{
    EXPECT_EQ(L"cd", QelSubString(L"abcdef", 2, 2));
    EXPECT_EQ(L"ef", QelSubString(L"abcdef", 4, 10));
    const BYTE bytes[] = {'a', 'b', 0, 'c'};
    std::string out;
    QelBytesToStringA(out, bytes, 1, 3);
    EXPECT_EQ("b", out);
    std::wstring text = L"abcdef";
    QelTruncate(text, 3);
    EXPECT_EQ(L"abc", text);
    std::wstring spaced = L" a\tb\r\n c ";
    QelRemoveSpaces(spaced);
    EXPECT_EQ(L"abc", spaced);
}

TEST(Strings, JoinAndLists)
{
    std::wstring joined;
    QelJoinText({L"a", L"b", L"c"}, joined, L", ");
    EXPECT_EQ(L"a, b, c", joined);
    QelJoinText({L"a", L"b"}, joined, nullptr);
    EXPECT_EQ(L"ab", joined);

    Items items{L" ", L"x ", L"", L"\t", L"y"};
    QelRemoveBlankItems(items);
    EXPECT_EQ((Items{L"x ", L"y"}), items);

    Items names{L"b", L"B", L"a", L"b", L"A"};
    EXPECT_EQ(0, QelFindInArray(names, L"B"));
    EXPECT_EQ(2, QelFindInArray(names, L"A"));
    EXPECT_EQ(1, QelFindExactInArray(names, L"B"));
    EXPECT_EQ(-1, QelFindExactInArray(names, L"c"));
    Items exact = names;
    QelRemoveDuplicates(exact);
    EXPECT_EQ(4u, exact.size());
    Items folded = names;
    QelRemoveDuplicatesNoCase(folded);
    EXPECT_EQ(2u, folded.size());
    Items sorted{L"b", L"C", L"a"};
    QelSortArray(sorted, FALSE);
    EXPECT_EQ((Items{L"C", L"b", L"a"}), sorted);
}

TEST(Strings, NamedValues)
{
    Items items{L"Type=text/xml", L"Charset=utf-8"};
    std::wstring value;
    EXPECT_TRUE(QelGetNamedValue(value, items, L"charset"));
    EXPECT_EQ(L"utf-8", value);
    EXPECT_FALSE(QelGetNamedValue(value, items, L"char"));
    EXPECT_EQ(L"", value);

    QelSetNamedValue(items, L"CHARSET", L"gb2312");
    QelSetNamedValue(items, L"q", L"1");
    EXPECT_EQ((Items{L"Type=text/xml", L"CHARSET=gb2312", L"q=1"}), items);

    Items names;
    QelGetNames({L"a=1", L"b", L"c=d=e"}, names);
    EXPECT_EQ((Items{L"a", L"b", L"c"}), names);
}

TEST(Strings, GuidTextsAndUrls)
{
    const std::wstring registry = QelCreateGuidText();
    ASSERT_EQ(38u, registry.size());
    EXPECT_EQ(L'{', registry.front());
    EXPECT_EQ(std::wstring::npos, registry.find_first_of(L"abcdef"));

    const std::wstring guid = QelCreateGuid();
    ASSERT_EQ(36u, guid.size());
    EXPECT_EQ(std::wstring::npos, guid.find_first_not_of(L"0123456789abcdef-"));
    EXPECT_NE(guid, QelCreateGuid());

    EXPECT_TRUE(QelIsUrl(L"  HTTPS://x.org/ "));
    EXPECT_TRUE(QelIsUrl(L"file://c/x"));
    EXPECT_FALSE(QelIsUrl(L"http://a\nb"));
    EXPECT_FALSE(QelIsUrl(L"ftp://x"));
    EXPECT_FALSE(QelIsUrl(L""));
}
