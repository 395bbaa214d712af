#include <gtest/gtest.h>

#include "foundation/MessageFormat.h"
#include "foundation/Registry.h"
#include "foundation/Translations.h"
#include "TranslationTestIds.h"
#include "common/LanguageValue.h"

#include <shlwapi.h>

#include <cwctype>

#include <string>
#include <vector>

namespace {

void LoadTable(WORD language)
{
    QelGetTranslations().LoadFromText(L"");
    ASSERT_TRUE(QelLoadTranslationsResource(L"QELLANGUAGE", language));
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

std::wstring MenuText(HMENU menu, UINT position)
{
    wchar_t text[1024] = {};
    GetMenuStringW(menu, position, text, 1024, MF_BYPOSITION);
    return text;
}

// The raw lines of a table resource, split at CR LF after the mark.
std::vector<std::wstring> TableLines(WORD id)
{
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), L"QELLANGUAGE");
    if (!resource)
        return {};
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
    const DWORD size = SizeofResource(module, resource);
    if (size < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE || size % 2 != 0)
        return {};
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes + 2), (size - 2) / 2);
    std::vector<std::wstring> lines;
    for (size_t start = 0;;) {
        const size_t end = text.find(L"\r\n", start);
        lines.push_back(text.substr(start, end == std::wstring::npos ? end : end - start));
        if (end == std::wstring::npos)
            break;
        start = end + 2;
    }
    return lines;
}

} // namespace

TEST(Translations, TablesHoldTheSameSourcesInOneFormat)
{
    const std::vector<std::wstring> chinese = TableLines(2052);
    const std::vector<std::wstring> traditional = TableLines(1028);
    ASSERT_EQ(117u, chinese.size());
    ASSERT_EQ(117u, traditional.size());
    int translated = 0;
    for (size_t i = 0; i < chinese.size(); ++i) {
        const size_t equals = chinese[i].find(L'=');
        ASSERT_NE(std::wstring::npos, equals) << i;
        EXPECT_EQ(chinese[i].substr(0, equals + 1), traditional[i]) << i;
        if (equals + 1 < chinese[i].size())
            ++translated;
        // Accelerators keep their letter as "(&X)".
        const size_t amp = chinese[i].find(L'&');
        if (amp < equals && equals + 1 < chinese[i].size()) {
            const std::wstring marker = {L'(', L'&', towupper(chinese[i][amp + 1]), L')'};
            EXPECT_NE(std::wstring::npos, chinese[i].find(marker, equals)) << i;
        }
    }
    EXPECT_EQ(106, translated);
    EXPECT_EQ(L"%1 hours ago=%1 \u5c0f\u65f6\u524d", chinese.front());
    EXPECT_EQ(L"Zoom Out=\u7f29\u5c0f", chinese.back());
    EXPECT_EQ(L"Close Tab\\tDbl Click=\u5173\u95ed\u6807\u7b7e\\t\u53cc\u51fb", chinese[35]);
    EXPECT_EQ(L"Tessary=", chinese[112]);
}

TEST(Translations, LanguageComesFromTheProductsRegistryValue)
{
    const LCID userDefault = QelMapTranslationsLanguage(GetUserDefaultLCID());
    EXPECT_EQ(userDefault, QelGetTranslationsLanguage(L"TessaryTestNoValue"));
    {
        LanguageValue value(L"TessaryTestZero", 0);
        EXPECT_EQ(userDefault, QelGetTranslationsLanguage(L"TessaryTestZero"));
    }
    {
        LanguageValue value(L"TessaryTestSingapore", 0x1004);
        EXPECT_EQ(0x0804u, QelGetTranslationsLanguage(L"TessaryTestSingapore"));
    }
    {
        LanguageValue value(L"TessaryTestHongKong", 0x0C04);
        EXPECT_EQ(0x0404u, QelGetTranslationsLanguage(L"TessaryTestHongKong"));
    }
    EXPECT_EQ(0x0404u, QelMapTranslationsLanguage(0x1404));
    EXPECT_EQ(0x0404u, QelMapTranslationsLanguage(0x0404));
    EXPECT_EQ(0x0804u, QelMapTranslationsLanguage(0x0804));
    EXPECT_EQ(1033u, QelMapTranslationsLanguage(1033));
    EXPECT_EQ(0u, QelMapTranslationsLanguage(0));
    // Without translations.ini beside the program the product name is the default one.
    EXPECT_EQ(L"Fennora", QelGetTranslationsProductName());
}

TEST(Translations, LoadsTheTableOfTheChosenLanguage)
{
    QelGetTranslations().LoadFromText(L"");
    {
        LanguageValue value(L"TessaryTestLoad", 0x1004);
        EXPECT_TRUE(QelLoadTranslations(L"TessaryTestLoad", L"QELLANGUAGE"));
        EXPECT_EQ(L"\u7f29\u653e", QelTranslateText(L"Zoom"));
    }
    QelGetTranslations().LoadFromText(L"");
    {
        // No table for English, even where the system is Chinese.
        LanguageValue value(L"TessaryTestEnglish", 1033);
        EXPECT_FALSE(QelLoadTranslations(L"TessaryTestEnglish", L"QELLANGUAGE"));
        EXPECT_EQ(L"Zoom", QelTranslateText(L"Zoom"));
    }
    {
        LanguageValue value(L"TessaryTestTraditional", 0x0C04);
        EXPECT_TRUE(QelLoadTranslations(L"TessaryTestTraditional", L"QELLANGUAGE"));
        EXPECT_EQ(L"Zoom", QelTranslateText(L"Zoom"));
        EXPECT_EQ(L"&Open", QelTranslateText(L"&Open"));
    }
    EXPECT_FALSE(QelLoadTranslationsResource(L"QELLANGUAGE", 1041));
    EXPECT_FALSE(QelLoadTranslationsResource(L"NOSUCHTYPE", 2052));
}

TEST(Translations, LoaderReadsAnsiAndUtf8Tables)
{
    LoadTable(IDL_TEST_ANSI_TABLE);
    EXPECT_EQ(L"Zoom (ansi)", QelTranslateText(L"Zoom"));
    EXPECT_EQ(L"OK", QelTranslateText(L"OK"));
    EXPECT_EQ(L" Okay", QelTranslateText(L"OK "));
    LoadTable(IDL_TEST_UTF8_TABLE);
    EXPECT_EQ(L"\u7f29\u653e", QelTranslateText(L"Zoom"));
    EXPECT_EQ(L"\u5de5\u5177", QelTranslateText(L"Tools"));
    EXPECT_EQ(L"OK", QelTranslateText(L"OK"));
}

TEST(Translations, StringResourcesAndTheirTemplates)
{
    LoadTable(2052);
    EXPECT_EQ(L"\u66f4\u65b0\n\u66f4\u65b0", QelTranslateStringResource(IDS_TEST_UPDATE));
    EXPECT_EQ(L"\u5173\u4e8e", QelLoadTranslatedString(IDS_TEST_ABOUT));
    EXPECT_EQ(L"", QelTranslateStringResource(IDS_TEST_MISSING));
    EXPECT_EQ(L"Failed to open a.db in C:\\x",
              QelFormatStringId2(IDS_TEST_TEMPLATE, L"a.db", L"C:\\x"));
    EXPECT_EQ(L"", QelFormatStringId1(IDS_TEST_MISSING, L"lost"));

    QelGetTranslations().LoadFromText(L"Failed to open %1 in %2=%2: %1 fail");
    EXPECT_EQ(L"C:\\x: a.db fail", QelFormatStringId2(IDS_TEST_TEMPLATE, L"a.db", L"C:\\x"));
    EXPECT_EQ(L"Update\nUpdate", QelLoadTranslatedString(IDS_TEST_UPDATE));
}

TEST(Translations, DialogTextsAreTranslatedButEditsKeepTheirs)
{
    LoadTable(2052);
    const HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr),
                                           MAKEINTRESOURCEW(IDD_TEST_TRANSLATION), nullptr,
                                           PlainDialogProc, 0);
    ASSERT_NE(nullptr, dialog);
    SetDlgItemTextW(dialog, IDC_TEST_EDIT, L"&Open");
    SetDlgItemTextW(dialog, IDC_TEST_COMBO, L"Zoom");

    QelTranslateWindow(dialog);

    EXPECT_EQ(L"\u9009\u62e9\u8d26\u6237", WindowText(dialog));
    EXPECT_EQ(L"\u7535\u5b50\u90ae\u4ef6(&E):", WindowText(GetDlgItem(dialog, IDC_TEST_EMAIL)));
    EXPECT_EQ(L"&Open", WindowText(GetDlgItem(dialog, IDC_TEST_EDIT)));
    const HWND combo = GetDlgItem(dialog, IDC_TEST_COMBO);
    EXPECT_EQ(L"Zoom", WindowText(combo));
    const HWND comboEdit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
    ASSERT_NE(nullptr, comboEdit);
    EXPECT_EQ(L"Zoom", WindowText(comboEdit));
    EXPECT_EQ(L"\u9009\u9879", WindowText(GetDlgItem(dialog, IDC_TEST_GROUP)));
    EXPECT_EQ(L"Hidden Commands", WindowText(GetDlgItem(dialog, IDC_TEST_HIDDEN)));
    EXPECT_EQ(L"Not in the table", WindowText(GetDlgItem(dialog, IDC_TEST_UNKNOWN)));
    EXPECT_EQ(L"\u786e\u5b9a", WindowText(GetDlgItem(dialog, IDOK)));
    EXPECT_EQ(L"\u53d6\u6d88", WindowText(GetDlgItem(dialog, IDCANCEL)));
    DestroyWindow(dialog);
}

TEST(Translations, EachWindowIsTranslatedOnce)
{
    // A translation that is itself a source text shows every extra visit.
    QelGetTranslations().LoadFromText(L"One=Two\r\nTwo=Three\r\nThree=Four\r\nFour=Five");
    const auto make = [](const wchar_t* text, HWND parent) {
        return CreateWindowExW(0, L"Static", text, (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE, 0,
                               0, 200, 100, parent, nullptr, nullptr, nullptr);
    };
    const HWND top = make(L"One", nullptr);
    ASSERT_NE(nullptr, top);
    const HWND depth1 = make(L"One", top);
    const HWND depth2 = make(L"One", depth1);
    const HWND depth3 = make(L"One", depth2);
    const HWND depth4 = make(L"One", depth3);
    const HWND sibling = make(L"Two", depth2);

    QelTranslateWindow(top);

    EXPECT_EQ(L"Two", WindowText(top));
    EXPECT_EQ(L"Two", WindowText(depth1));
    EXPECT_EQ(L"Two", WindowText(depth2));
    EXPECT_EQ(L"Two", WindowText(depth3));
    EXPECT_EQ(L"Two", WindowText(depth4));
    EXPECT_EQ(L"Three", WindowText(sibling));
    DestroyWindow(top);
}

TEST(Translations, MenusAndTheirSubmenus)
{
    LoadTable(2052);
    const HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TEST_MENU));
    ASSERT_NE(nullptr, menu);

    QelTranslateMenu(menu);

    EXPECT_EQ(L"\u5de5\u5177", MenuText(menu, 0));
    const HMENU tools = GetSubMenu(menu, 0);
    ASSERT_NE(nullptr, tools);
    EXPECT_EQ(L"\u6253\u5f00(&O)", MenuText(tools, 0));
    EXPECT_EQ(static_cast<UINT>(ID_TEST_OPEN), GetMenuItemID(tools, 0));
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(tools, 1, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_SEPARATOR);
    EXPECT_EQ(L"\u7f29\u653e", MenuText(tools, 2));
    const HMENU zoom = GetSubMenu(tools, 2);
    ASSERT_NE(nullptr, zoom);
    EXPECT_EQ(L"\u653e\u5927", MenuText(zoom, 0));
    EXPECT_EQ(L"100%", MenuText(zoom, 1));
    EXPECT_EQ(L"\u5173\u95ed\u6807\u7b7e\t\u53cc\u51fb", MenuText(tools, 3));
    EXPECT_EQ(static_cast<UINT>(ID_TEST_CLOSE_TAB), GetMenuItemID(tools, 3));
    EXPECT_EQ(L"Unknown", MenuText(tools, 4));
    DestroyMenu(menu);
}

TEST(Translations, LongMenuTranslationsAreCutToTheBuffer)
{
    const std::wstring fits(259, L'f');
    const std::wstring tooLong = std::wstring(258, L'x') + L"yz" + std::wstring(40, L'z');
    // A cut that would split a surrogate pair drops the whole pair.
    const std::wstring pair = std::wstring(258, L'p') + L"\U0001F600" + L"tail";
    QelGetTranslations().LoadFromText(L"Fits=" + fits + L"\r\nLong=" + tooLong + L"\r\nPair=" +
                                      pair);
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"Fits");
    AppendMenuW(menu, MF_STRING, 2, L"Long");
    AppendMenuW(menu, MF_STRING, 3, L"Pair");

    QelTranslateMenu(menu);

    EXPECT_EQ(fits, MenuText(menu, 0));
    EXPECT_EQ(tooLong.substr(0, 259), MenuText(menu, 1));
    EXPECT_EQ(pair.substr(0, 258), MenuText(menu, 2));
    DestroyMenu(menu);
}

// ctest runs the ChineseLocale tests once more with LC_ALL=zh_CN.UTF-8.
TEST(ChineseLocale, UserLanguageChoosesTheTableUnlessTheRegistrySaysOtherwise)
{
    if (GetUserDefaultLCID() != 0x0804) {
        if (GetEnvironmentVariableA("QEL_EXPECT_ACP", nullptr, 0))
            FAIL() << "LC_ALL=zh_CN.UTF-8 gave LCID " << GetUserDefaultLCID();
        GTEST_SKIP() << "user LCID is " << GetUserDefaultLCID();
    }
    QelGetTranslations().LoadFromText(L"");
    EXPECT_TRUE(QelLoadTranslations(L"TessaryTestChineseDefault", L"QELLANGUAGE"));
    EXPECT_EQ(L"\u7f29\u653e", QelTranslateText(L"Zoom"));

    QelGetTranslations().LoadFromText(L"");
    LanguageValue value(L"TessaryTestChineseEnglish", 1033);
    EXPECT_FALSE(QelLoadTranslations(L"TessaryTestChineseEnglish", L"QELLANGUAGE"));
    EXPECT_EQ(L"Zoom", QelTranslateText(L"Zoom"));
}
