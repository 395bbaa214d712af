#include <gtest/gtest.h>

#include "foundation/Folders.h"
#include "foundation/TextFiles.h"
#include "foundation/TranslationTable.h"

namespace {

std::wstring Translated(const CQelTranslationsStringTable& table, const wchar_t* source)
{
    std::wstring out = L"untouched";
    table.Translate(source, out);
    return out;
}

} // namespace

TEST(TranslationTable, LinesFollowTheTableRules)
{
    CQelTranslationsStringTable table;
    EXPECT_TRUE(table.LoadFromText(L"&Open=\u6253\u5f00(&O)\n"
                                   L"  ; Zoom=commented out\n"
                                   L"\n"
                                   L"   \t\n"
                                   L"no separator here\n"
                                   L"100%=\n"
                                   L"Twice=first\n"
                                   L"Twice=second\n"
                                   L"Key =with blank\n"
                                   L"Equals=a=b\n"
                                   L"  Padded=  lead\t \n"
                                   L"Last=final"));
    std::wstring out;
    EXPECT_TRUE(table.Translate(L"&Open", out));
    EXPECT_EQ(L"\u6253\u5f00(&O)", out);
    // Matching is exact: no ampersand folding, letter case counts.
    EXPECT_FALSE(table.Translate(L"Open", out));
    EXPECT_EQ(L"Open", out);
    EXPECT_EQ(L"&open", Translated(table, L"&open"));
    EXPECT_EQ(L"&Open ", Translated(table, L"&Open "));

    EXPECT_FALSE(table.Translate(L"100%", out));
    EXPECT_EQ(L"100%", out);
    EXPECT_EQ(L"Zoom", Translated(table, L"Zoom"));
    EXPECT_EQ(L"; Zoom", Translated(table, L"; Zoom"));
    EXPECT_EQ(L"second", Translated(table, L"Twice"));
    EXPECT_EQ(L"Key", Translated(table, L"Key"));
    EXPECT_EQ(L"with blank", Translated(table, L"Key "));
    EXPECT_EQ(L"a=b", Translated(table, L"Equals"));
    EXPECT_EQ(L"  lead", Translated(table, L"Padded"));
    EXPECT_EQ(L"final", Translated(table, L"Last"));

    EXPECT_FALSE(table.Translate(L"", out));
    EXPECT_EQ(L"", out);
    EXPECT_FALSE(table.Translate(nullptr, out));
    EXPECT_EQ(L"", out);
}

TEST(TranslationTable, LoadingAddsToWhatIsThere)
{
    CQelTranslationsStringTable table;
    table.LoadFromLines({L"A=1", L"B=2"});
    table.LoadFromLines({L"B=3"});
    EXPECT_EQ(L"1", Translated(table, L"A"));
    EXPECT_EQ(L"3", Translated(table, L"B"));
    table.Clear();
    EXPECT_TRUE(table.IsEmpty());
    EXPECT_EQ(L"A", Translated(table, L"A"));
}

TEST(TranslationTable, EscapesBothWays)
{
    std::wstring text = L"a\\b\r\n\t\"q\"";
    CQelTranslationsStringTable::EscapeText(text);
    EXPECT_EQ(L"a\\\\b\\r\\n\\t\"\"q\"\"", text);
    CQelTranslationsStringTable::UnescapeText(text);
    EXPECT_EQ(L"a\\b\r\n\t\"q\"", text);

    // A backslash before anything else stays, with that character.
    text = L"\\x\\\"\"";
    CQelTranslationsStringTable::UnescapeText(text);
    EXPECT_EQ(L"\\x\\\"\"", text);
    text = L"end\\";
    CQelTranslationsStringTable::UnescapeText(text);
    EXPECT_EQ(L"end\\", text);
    text = L"\\";
    CQelTranslationsStringTable::UnescapeText(text);
    EXPECT_EQ(L"\\", text);
    text = L"\"\"\"";
    CQelTranslationsStringTable::UnescapeText(text);
    EXPECT_EQ(L"\"\"", text);

    // Sources with line breaks are found under their escaped form.
    CQelTranslationsStringTable table;
    table.LoadFromText(L"Update\\nUpdate=\u66f4\u65b0\\n\u66f4\u65b0\r\n"
                       L"Close Tab\\tDbl Click=\u5173\u95ed\\t\u53cc\u51fb\r\n"
                       L"Say \"\"hi\"\"=\"\"hi\"\" said\r\n"
                       L"C:\\\\x=path");
    EXPECT_EQ(L"\u66f4\u65b0\n\u66f4\u65b0", Translated(table, L"Update\nUpdate"));
    EXPECT_EQ(L"Update\\nUpdate", Translated(table, L"Update\\nUpdate"));
    EXPECT_EQ(L"\u5173\u95ed\t\u53cc\u51fb", Translated(table, L"Close Tab\tDbl Click"));
    EXPECT_EQ(L"\"hi\" said", Translated(table, L"Say \"hi\""));
    EXPECT_EQ(L"path", Translated(table, L"C:\\x"));
}

TEST(TranslationTable, LoadsFromAFile)
{
    const std::wstring path = QelGetTempPath() + L"TessaryTranslationTableTest.ini";
    ASSERT_TRUE(QelSaveUnicodeTextFile(path.c_str(), L"; shared texts\nZoom=\u7f29\u653e\nTools=\u5de5\u5177"));
    CQelTranslationsStringTable table;
    EXPECT_TRUE(table.LoadFromFile(path.c_str()));
    DeleteFileW(path.c_str());
    EXPECT_EQ(L"\u7f29\u653e", Translated(table, L"Zoom"));
    EXPECT_EQ(L"\u5de5\u5177", Translated(table, L"Tools"));
    EXPECT_FALSE(table.LoadFromFile(path.c_str()));
    EXPECT_EQ(L"\u7f29\u653e", Translated(table, L"Zoom"));
}
