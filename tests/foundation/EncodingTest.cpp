#include <gtest/gtest.h>

#include "TestFolder.h"
#include "foundation/Encoding.h"
#include "foundation/Folders.h"

namespace {

// Known encodings of the same texts, computed outside the program.
const std::string kZhongwenUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";
const std::string kZhongwen936 = "\xD6\xD0\xCE\xC4";
const std::string kZhongwen950 = "\xA4\xA4\xA4\xE5";
const std::string kNihongoEucJp = "\xC6\xFC\xCB\xDC\xB8\xEC";
const wchar_t kZhongwen[] = L"\u4E2D\u6587";
const wchar_t kNihongo[] = L"\u65E5\u672C\u8A9E";

}  // namespace

TEST(Encoding, RoundTripsThroughCodePages)
{
    const struct { UINT codePage; std::string bytes; } cases[] = {
        {CP_UTF8, kZhongwenUtf8}, {936, kZhongwen936}, {950, kZhongwen950}};
    for (const auto& c : cases) {
        std::string bytes;
        QelUnicodeToMultiByte(bytes, c.codePage, kZhongwen);
        EXPECT_EQ(c.bytes, bytes) << c.codePage;
        std::wstring text;
        QelMultiByteToUnicode(text, c.codePage, c.bytes);
        EXPECT_EQ(kZhongwen, text) << c.codePage;
    }
    std::string latin;
    QelUnicodeToMultiByte(latin, 1252, L"caf\u00E9");
    EXPECT_EQ("caf\xE9", latin);
}

TEST(Encoding, EucJapaneseGoesThroughTheLanguageLibrary)
{
    std::string bytes;
    QelUnicodeToMultiByte(bytes, QEL_CP_EUCJP, kNihongo);
    EXPECT_EQ(kNihongoEucJp, bytes);
    std::wstring text;
    QelMultiByteToUnicode(text, QEL_CP_EUCJP, kNihongoEucJp);
    EXPECT_EQ(kNihongo, text);
}

TEST(Encoding, Utf8MarkWinsOverTheCodePageAsked)
{
    std::wstring text;
    QelMultiByteToUnicode(text, 936, "\xEF\xBB\xBF" + kZhongwenUtf8);
    EXPECT_EQ(kZhongwen, text);
    // Three bytes alone are no marked text.
    QelMultiByteToUnicode(text, 1252, "\xEF\xBB\xBF");
    EXPECT_EQ(L"\u00EF\u00BB\u00BF", text);
}

TEST(Encoding, UnknownCodePageFallsBackToThreadAnsi)
{
    std::string bytes;
    QelUnicodeToMultiByte(bytes, 12345, L"plain text");
    EXPECT_EQ("plain text", bytes);
    std::wstring text;
    QelMultiByteToUnicode(text, 12345, "plain text");
    EXPECT_EQ(L"plain text", text);
    EXPECT_EQ("abc", QelToThreadAnsi(L"abc"));
    EXPECT_EQ(L"abc", QelFromThreadAnsi("abc"));

    std::string ansi;
    QelUnicodeToMultiByte(ansi, 0, L"xyz");
    EXPECT_EQ("xyz", ansi);
    QelUnicodeToAnsi(ansi, L"xyz");
    EXPECT_EQ("xyz", ansi);
    // The data files' key text: the NetBIOS name as the system gives it in ANSI.
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(GetComputerNameA(name, &size));
    EXPECT_EQ(std::string(name), QelGetComputerNameAnsi());
}

TEST(Encoding, Utf8HelpersKeepSurrogatePairs)
{
    std::string utf8;
    EXPECT_TRUE(QelUnicodeToUtf8(L"a\U0001F600\u00E9", utf8));
    EXPECT_EQ("a\xF0\x9F\x98\x80\xC3\xA9", utf8);
    std::wstring text;
    EXPECT_TRUE(QelUtf8ToUnicode(utf8.c_str(), text));
    EXPECT_EQ(L"a\U0001F600\u00E9", text);
    EXPECT_TRUE(QelUtf8ToUnicode("", text));
    EXPECT_EQ(L"", text);
}

TEST(Encoding, SubstitutionTableAppliesRulesInOrderUntilAnEmptyLine)
{
    // The table lies beside the program, which runs from a private folder.
    const std::wstring folder = QelGetExeFolder() + L"strconv\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring table = L"\uFEFFa=xyz\r\nx=Q\r\nb=b2\r\nc\td\r\n\u4E2D=\u6587\r\n\r\ne=never\r\n";
    std::vector<unsigned char> bytes(table.size() * 2);
    memcpy(bytes.data(), table.data(), bytes.size());
    ASSERT_TRUE(WriteBytes(folder + L"936.txt", bytes));

    std::string out;
    QelUnicodeToMultiByte(out, 936, L"abce\u4E2D");
    // a -> xyz -> Qyz; "b2" holds its own source, so b stays; the rule after the empty line never applies.
    EXPECT_EQ("Qyzbde\xCE\xC4", out);

    std::wstring text = L"abc";
    QelApplySubstitutionTable(1252, text);  // no table for this code page
    EXPECT_EQ(L"abc", text);
    QelApplySubstitutionRule(text, L"ab", L"z");  // source must be one character
    EXPECT_EQ(L"abc", text);
    QelApplySubstitutionRule(text, L"b", L"");
    EXPECT_EQ(L"abc", text);
    DeleteFileW((folder + L"936.txt").c_str());
}
