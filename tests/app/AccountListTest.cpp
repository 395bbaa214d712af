#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <functional>

#include "AccountFixture.h"
#include "DialogAnswer.h"
#include "app/startup/AccountList.h"
#include "app/startup/ChooseAccount.h"
#include "common/TestLog.h"
#include "resources/ResourceIds.h"

namespace {

std::vector<std::wstring> UserNames(const CTessaryAccountList& list)
{
    std::vector<std::wstring> names;
    for (const auto& account : list.Accounts())
        names.push_back(account.userName);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

using AccountList = AccountFixture;

TEST_F(AccountList, ListsFoldersNamedAfterTheirUserNameAndSkipsTheRestWithALogLine)
{
    ASSERT_TRUE(CreateAccount(L"ann@example.com", L"secret"));
    MakeFolder(L"BOB", L"bob");           // letter case aside, the same name
    MakeFolder(L"carol", L"someone");     // another account's database
    const std::wstring empty = QelGetDataFolder() + L"empty\\";
    QelCreateDirectoryTree(empty.c_str());
    const std::wstring hidden = MakeFolder(L"hidden", L"hidden");
    ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);

    const CLogCapture log;
    const CTessaryAccountList list;
    EXPECT_EQ((std::vector<std::wstring>{L"ann@example.com", L"bob"}), UserNames(list));
    for (const auto& account : list.Accounts()) {
        if (account.userName == L"ann@example.com") {
            EXPECT_EQ(QelGetDataFolder() + L"ann@example.com\\", account.folder);
            EXPECT_EQ(L"secret", account.password);
        }
    }
    EXPECT_TRUE(log.Contains(L"Failed to open database: folder name: carol, user name: someone")) << log.Text();
    // The empty folder got a database with no user name, and is left out each time.
    EXPECT_TRUE(::PathFileExistsW((empty + L"index.db").c_str()));
    EXPECT_TRUE(log.Contains(L"Failed to open database: folder name: empty, user name: ")) << log.Text();
    EXPECT_FALSE(log.Mentions(L"hidden"));
}

TEST_F(AccountList, ACreatedAccountTheListCannotFindIsReportedAsAFailure)
{
    // A hidden folder of the same name is reused by the creation and skipped by the list.
    const std::wstring hidden = GetAccountFolder(L"ann");
    QelCreateDirectoryTree(hidden.c_str());
    ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    const CDialogAnswer answer([](HWND dialog) {
        ::SetDlgItemTextW(dialog, IDC_NEW_ACCOUNT_USER_NAME, L"ann");
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    const CLogCapture log;
    std::wstring folder;
    EXPECT_FALSE(ChooseAccount(folder));
    EXPECT_TRUE(log.Mentions(L"Failed to create database!")) << log.Text();
}
