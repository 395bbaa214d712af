#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <utility>

#include "ProgramDriver.h"
#include "common/LanguageValue.h"
#include "foundation/Files.h"
#include "foundation/Settings.h"
#include "framework/ComInitialize.h"
#include "resources/ResourceIds.h"

namespace {

// -1 as a process's exit code.
constexpr DWORD kRefused = 0xFFFFFFFF;

std::vector<std::wstring> SubFolders(const std::wstring& folder)
{
    std::vector<std::wstring> folders;
    QelEnumFolders(folder.c_str(), folders, QEL_ENUM_HIDDEN);
    return folders;
}

}  // namespace

TEST(Program, WithoutAccountAsksForOneAndCancelCreatesNothing)
{
    CProgramRun run;
    ASSERT_TRUE(run.Start());
    const HWND dialog = run.WaitForWindow(nullptr, L"New Account");
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(run.IsEnabled(dialog, IDOK));
    EXPECT_EQ(run.DataFolder(), CProgramRun::GetText(dialog, IDC_NEW_ACCOUNT_PATH));

    CProgramRun::SetText(dialog, IDC_NEW_ACCOUNT_USER_NAME, L"ann@example.com");
    EXPECT_TRUE(run.IsEnabled(dialog, IDOK));
    EXPECT_EQ(run.DataFolder() + L"ann@example.com\\", CProgramRun::GetText(dialog, IDC_NEW_ACCOUNT_PATH));
    CProgramRun::SetText(dialog, IDC_NEW_ACCOUNT_PASSWORD, L"secret");
    CProgramRun::SetText(dialog, IDC_NEW_ACCOUNT_USER_NAME, L"");
    EXPECT_FALSE(run.IsEnabled(dialog, IDOK));
    CProgramRun::SetText(dialog, IDC_NEW_ACCOUNT_USER_NAME, L"ann@example.com");

    CProgramRun::Press(dialog, IDCANCEL);
    EXPECT_EQ(kRefused, run.WaitForExit());
    EXPECT_TRUE(SubFolders(run.DataFolder()).empty());
}

TEST(Program, TheNewAccountIsOpenedWithoutAnotherDialog)
{
    CProgramRun run;
    ASSERT_TRUE(run.Start());
    const HWND dialog = run.WaitForWindow(nullptr, L"New Account");
    ASSERT_TRUE(dialog);
    CProgramRun::SetText(dialog, IDC_NEW_ACCOUNT_USER_NAME, L"ann");
    CProgramRun::Press(dialog, IDOK);
    const HWND frame = run.WaitForWindow(L"ATL:", L"Tessary");
    ASSERT_TRUE(frame);
    EXPECT_EQ(1u, run.Windows().size());
    EXPECT_TRUE(::PathFileExistsW((run.DataFolder() + L"ann\\index.db").c_str()));
    ::PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(1u, run.WaitForExit());
}

TEST(Program, OneAccountOpensTheFrameASecondInstanceEndsAtOnceAndACloseSavesTheStates)
{
    const CComInitialize com;
    CProgramRun run;
    ASSERT_TRUE(run.AddAccount(L"ann", L"secret"));
    ASSERT_TRUE(run.Start());
    const HWND frame = run.WaitForWindow(L"ATL:", L"Tessary");
    ASSERT_TRUE(frame);
    EXPECT_EQ(1u, run.Windows().size());  // no dialog beside it

    CProgramRun second;
    ASSERT_TRUE(second.AddAccount(L"ann", L""));
    ASSERT_TRUE(second.Start());
    EXPECT_EQ(kRefused, second.WaitForExit());

    ::PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(1u, run.WaitForExit());
    CQelSettings settings((run.DataFolder() + L"Tessary.xml").c_str(), L"Tessary");
    for (const wchar_t* section : {L"Reader_CatalogSplitter", L"Reader_CatalogChooserSplitter",
                                   L"Reader_DocumentsSplitter"})
        EXPECT_LT(0, settings.GetInt(section, L"SplitterPos", -1)) << section;
    EXPECT_EQ(0, settings.GetInt(L"CatalogChooserState", L"Index", -1));
    EXPECT_EQ(L"0", settings.GetString(L"MainFrame_State", L"Maximized", L""));
}

TEST(Program, TwoAccountsAreOfferedForChoice)
{
    CProgramRun run;
    ASSERT_TRUE(run.AddAccount(L"ann", L""));
    ASSERT_TRUE(run.AddAccount(L"bob", L""));
    ASSERT_TRUE(run.Start());
    const HWND dialog = run.WaitForWindow(nullptr, L"Select Account");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(2, ::SendMessageW(::GetDlgItem(dialog, IDC_CHOOSE_ACCOUNT_LIST), LVM_GETITEMCOUNT, 0, 0));
    EXPECT_FALSE(run.IsEnabled(dialog, IDOK));
    CProgramRun::Press(dialog, IDCANCEL);
    EXPECT_EQ(kRefused, run.WaitForExit());
}

TEST(Program, TheLanguageValueTranslatesItsWindowsAndTraditionalChineseIsEnglish)
{
    const std::pair<DWORD, const wchar_t*> languages[] = {{2052, L"\u6570\u636e\u5e93\u8def\u5f84(&D):"},
                                                          {1028, L"&Database Path:"}};
    for (const auto& [language, label] : languages) {
        const LanguageValue value(L"Tessary", language);
        CProgramRun run;
        ASSERT_TRUE(run.Start());
        const HWND dialog = run.WaitForWindow(L"#32770", nullptr);
        ASSERT_TRUE(dialog);
        // The label stands before the path's box.
        wchar_t text[256]{};
        ::GetWindowTextW(::GetWindow(::GetDlgItem(dialog, IDC_NEW_ACCOUNT_PATH), GW_HWNDPREV), text, 256);
        EXPECT_EQ(label, std::wstring(text)) << language;
        CProgramRun::Press(dialog, IDCANCEL);
        EXPECT_EQ(kRefused, run.WaitForExit());
    }
}
