#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "AccountFixture.h"
#include "DialogAnswer.h"
#include "app/startup/AccountList.h"
#include "app/startup/ChooseAccount.h"
#include "common/TestLog.h"
#include "foundation/MessageBox.h"
#include "resources/ResourceIds.h"

namespace {

std::string FileBytes(const std::wstring& path)
{
    std::string bytes;
    if (FILE* file = _wfopen(path.c_str(), L"rb")) {
        char buffer[4096];
        for (size_t read; (read = fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, read);
        fclose(file);
    }
    return bytes;
}

std::wstring WriteDatabaseFile(const wchar_t* folderName, const std::string& bytes)
{
    const std::wstring folder = QelGetDataFolder() + folderName + L"\\";
    QelCreateDirectoryTree(folder.c_str());
    QelSaveBytesToFile(bytes.data(), static_cast<DWORD>(bytes.size()), (folder + L"index.db").c_str());
    return folder;
}

// The longest text of a dialog's statics: a message box's message.
std::wstring MessageText(HWND box)
{
    std::wstring longest;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16]{};
        ::GetClassNameW(child, className, 16);
        std::wstring text(::GetWindowTextLengthW(child) + 1, L'\0');
        text.resize(::GetWindowTextW(child, &text[0], static_cast<int>(text.size())));
        if (_wcsicmp(className, L"Static") == 0 && text.size() > longest.size())
            longest = text;
    }
    return longest;
}

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

TEST_F(AccountList, FoldersWhoseDatabaseDoesNotOpenAreNamedInOneBoxBeforeTheChoiceAndLeftAsTheyAre)
{
    ASSERT_TRUE(CreateAccount(L"ann@example.com", L"secret"));
    // Random bytes, a database cut short inside its tables, a folder in place of the file.
    std::string noise(8192, '\0');
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919 + 13) % 251);
    const std::wstring noisy = WriteDatabaseFile(L"noise", noise);
    const std::wstring whole = MakeFolder(L"whole", L"whole");
    const std::string cut = FileBytes(whole + L"index.db").substr(0, 5000);
    QelDeleteFolder(whole.c_str());
    const std::wstring truncated = WriteDatabaseFile(L"cut", cut);
    const std::wstring blocked = QelGetDataFolder() + L"blocked\\";
    QelCreateDirectoryTree((blocked + L"index.db\\").c_str());

    const CLogCapture log;
    std::wstring folder;
    EXPECT_TRUE(ChooseAccount(folder));
    EXPECT_EQ(GetAccountFolder(L"ann@example.com"), folder);
    std::vector<std::wstring> boxes;
    for (const std::wstring& line : log.Lines()) {
        if (line.rfind(L"Message box not shown: ", 0) == 0)
            boxes.push_back(line);
    }
    ASSERT_EQ(1u, boxes.size()) << log.Text();
    const std::wstring& box = boxes.front();
    EXPECT_NE(std::wstring::npos, box.find(L"These account folders could not be opened and are left out:")) << box;
    // Each folder as the user finds it, without the trailing backslash.
    for (const std::wstring& line : {QelGetDataFolder() + L"noise: the database is damaged.",
                                     QelGetDataFolder() + L"cut: the database is damaged.",
                                     QelGetDataFolder() + L"blocked: the database cannot be opened."})
        EXPECT_NE(std::wstring::npos, box.find(line)) << box;
    EXPECT_EQ(std::wstring::npos, box.find(L"ann@example.com")) << box;
    // Nothing was written over the damage.
    EXPECT_EQ(noise, FileBytes(noisy + L"index.db"));
    EXPECT_EQ(cut, FileBytes(truncated + L"index.db"));
    EXPECT_TRUE(::PathIsDirectoryW((blocked + L"index.db").c_str()));

    // Forty of them: the box names ten and counts the rest, so that it and its button fit a
    // 1024 x 768 screen; the log names every one.
    std::vector<std::wstring> damaged = {noisy, truncated, blocked};
    for (int i = 0; damaged.size() < 40; ++i) {
        const std::wstring name = L"first.last.name." + std::to_wstring(i) + L"@example.com";
        damaged.push_back(WriteDatabaseFile(name.c_str(), noise));
    }
    const HWND owner = ::CreateWindowExW(0, L"Static", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                         nullptr);
    ::SetActiveWindow(owner);  // the box's owner, rather than another program's window
    ASSERT_EQ(owner, ::GetActiveWindow());
    const CLogCapture manyLog;
    std::wstring text;
    RECT boxRect{}, okRect{};
    QelEnableMessageBoxes(TRUE);
    {
        const CDialogAnswer answer([&](HWND dialog) {
            text = MessageText(dialog);
            ::GetWindowRect(dialog, &boxRect);
            ::GetWindowRect(::GetDlgItem(dialog, IDOK), &okRect);
            ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        folder.clear();
        EXPECT_TRUE(ChooseAccount(folder));
    }
    QelEnableMessageBoxes(FALSE);
    ::DestroyWindow(owner);
    EXPECT_EQ(GetAccountFolder(L"ann@example.com"), folder);
    size_t named = 0;
    for (size_t at = 0; (at = text.find(QelGetDataFolder(), at)) != std::wstring::npos; at += 1)
        ++named;
    EXPECT_EQ(10u, named) << text;
    EXPECT_NE(std::wstring::npos, text.find(L"\nand 30 more (see Tessary.log)")) << text;
    EXPECT_LE(boxRect.right - boxRect.left, 1024);
    EXPECT_LE(boxRect.bottom - boxRect.top, 768);
    EXPECT_TRUE(okRect.top >= boxRect.top && okRect.bottom <= boxRect.bottom && okRect.bottom > okRect.top);
    for (const std::wstring& logged : damaged)
        EXPECT_TRUE(manyLog.Contains(L"Failed to open database: " + logged)) << logged;
}
