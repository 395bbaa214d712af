#pragma once
// A data folder without accounts for each test, and accounts made as the program makes them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "foundation/Files.h"
#include "foundation/Folders.h"
#include "framework/ComInitialize.h"
#include "librarydata/AccountFolder.h"
#include "librarydata/Database.h"

class AccountFixture : public ::testing::Test {
protected:
    void SetUp() override { RemoveAccounts(); }
    void TearDown() override { RemoveAccounts(); }

    static void RemoveAccounts()
    {
        std::vector<std::wstring> folders;
        QelEnumFolders(QelGetDataFolder().c_str(), folders, QEL_ENUM_HIDDEN);
        for (const std::wstring& folder : folders) {
            ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
            QelDeleteFolder(folder.c_str());
        }
    }

    // A folder under Data\ whose database stores this user name.
    static std::wstring MakeFolder(const wchar_t* folderName, const wchar_t* userName)
    {
        const std::wstring folder = QelGetDataFolder() + folderName + L"\\";
        QelCreateDirectoryTree(folder.c_str());
        CTessaryDatabase database;
        EXPECT_TRUE(database.Open(folder.c_str()));
        EXPECT_TRUE(database.SetAccountUserName(userName));
        return folder;
    }

private:
    // The settings file is read and written through COM, as the program does on its one thread.
    CComInitialize m_com;
};
