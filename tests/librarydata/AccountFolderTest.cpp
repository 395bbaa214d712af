// Account folders under Data\ beside this test program (a private copy per test).

#include "librarydata/AccountFolder.h"

#include "DatabaseTestSupport.h"
#include "foundation/Files.h"
#include "foundation/Folders.h"
#include "foundation/Paths.h"
#include "librarydata/Database.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Every entry of the folder but the log, names only.
std::vector<std::wstring> Entries(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().filename() != L"Tessary.log")
            names.push_back(it->path().filename().wstring());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class AccountFolder : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (const std::wstring& name : m_created) {
            std::error_code ignored;
            std::filesystem::remove_all(std::filesystem::path(GetAccountFolder(name.c_str())), ignored);
        }
    }
    BOOL Create(const std::wstring& userName, const wchar_t* password)
    {
        m_created.push_back(userName);
        return CreateAccount(userName.c_str(), password);
    }

    std::vector<std::wstring> m_created;
};

TEST_F(AccountFolder, NamesThatWorkKeepTheirOwnFolders)
{
    const std::wstring data = QelGetDataFolder();
    for (const std::wstring name : {L"reader@example.com", L"o'brien, 50% off@example.com", L"\u8BFB\u8005 two",
                                    L".hidden@example.com", L"con@example.com", L"a%2b@example.com"}) {
        SCOPED_TRACE(Utf8(name));
        EXPECT_TRUE(IsValidAccountName(name.c_str()));
        ASSERT_TRUE(Create(name, L"s3cret"));
        const std::wstring folder = GetAccountFolder(name.c_str());
        EXPECT_EQ(data + name + L"\\", folder);
        EXPECT_TRUE(IsAccountFolder(folder.c_str()));
        CTessaryDatabase database;
        ASSERT_TRUE(database.Open(folder.c_str()));
        EXPECT_EQ(name, database.GetAccountUserName());
        EXPECT_EQ(L"s3cret", database.GetAccountPassword());
    }
    // The same name again reuses the folder and replaces the password.
    ASSERT_TRUE(Create(L"reader@example.com", L"better"));
    CTessaryDatabase database;
    ASSERT_TRUE(database.Open(GetAccountFolder(L"reader@example.com").c_str()));
    EXPECT_EQ(L"better", database.GetAccountPassword());
}

TEST_F(AccountFolder, NamesThatCannotBeAFolderOfTheirOwnAreRefused)
{
    const std::wstring data = QelGetDataFolder();
    const std::wstring parent = QelExtractFilePath(data.substr(0, data.size() - 1).c_str());
    const std::vector<std::wstring> parentBefore = Entries(parent);
    const std::vector<std::wstring> dataBefore = Entries(data);
    const std::vector<std::wstring> hostile = {
        L"..\\x",     L"../x",      L"..",       L".",          L"",          L"a\\b",     L"a/b",
        L"C:\\x",     L"ann:stream", L"a*b",     L"a?b",        L"a\"b",      L"a<b",      L"a>b",
        L"a|b",       L"a\tb",      L"a\rb",     L"ann.",       L"ann ",      L"CON",      L"nul.txt",
        L"Com1",      L"lpt9 .x",   L"\\\\server\\share"};
    for (const std::wstring& name : hostile) {
        SCOPED_TRACE(Utf8(name));
        EXPECT_FALSE(IsValidAccountName(name.c_str()));
        CLogCapture log;
        EXPECT_FALSE(CreateAccount(name.c_str(), L"s3cret"));
        // The log turns control characters into blanks.
        if (name.find_first_of(L"\t\r") == std::wstring::npos) {
            EXPECT_TRUE(log.Contains(L"The user name cannot name an account folder: " + name)) << Utf8(log.Text());
        } else {
            EXPECT_TRUE(log.Mentions(L"The user name cannot name an account folder: ")) << Utf8(log.Text());
        }
    }
    EXPECT_FALSE(IsValidAccountName(nullptr));
    EXPECT_FALSE(CreateAccount(nullptr, L"s3cret"));
    EXPECT_EQ(parentBefore, Entries(parent));
    EXPECT_EQ(dataBefore, Entries(data));
}

TEST_F(AccountFolder, AFailedUserNameWriteIsLoggedWithTheFolderAndTheNameAsTheyAre)
{
    // "%2" in the user name stands in the folder too: it must not take the name.
    ASSERT_TRUE(Create(L"a%2b@example.com", L"s3cret"));
    {
        RawDatabase raw(GetAccountFolder(L"a%2b@example.com") + L"index.db");
        raw.Exec("create trigger refuse_insert before insert on QEL_READER_META begin select raise(abort, 'no'); end");
        raw.Exec("create trigger refuse_update before update on QEL_READER_META begin select raise(abort, 'no'); end");
    }
    // The same folder under another letter case, so that the name is written anew.
    const std::wstring name = L"A%2B@example.com";
    const std::wstring folder = GetAccountFolder(name.c_str());
    CLogCapture log;
    EXPECT_FALSE(Create(name, L"other"));
    EXPECT_TRUE(log.Contains(L"Failed to set user name: " + folder + L", " + name)) << Utf8(log.Text());
}

TEST_F(AccountFolder, AFailedPasswordWriteLeavesNoUserNameBehind)
{
    // A database ready for the account that refuses the password's row.
    const std::wstring name = L"ann@example.com";
    const std::wstring folder = GetAccountFolder(name.c_str());
    m_created.push_back(name);
    ASSERT_TRUE(QelCreateDirectoryTree(folder.c_str()));
    {
        CTessaryDatabase database;
        ASSERT_TRUE(database.Open(folder.c_str()));
    }
    {
        RawDatabase raw(folder + L"index.db");
        raw.Exec("create trigger refuse_password before insert on QEL_READER_META when new.META_KEY='PASSWORD' "
                 "begin select raise(abort, 'no'); end");
    }
    CLogCapture log;
    EXPECT_FALSE(CreateAccount(name.c_str(), L"s3cret"));
    EXPECT_TRUE(log.Contains(L"Failed to set password: " + folder)) << Utf8(log.Text());
    EXPECT_FALSE(IsAccountFolder(folder.c_str()));
    EXPECT_EQ("0", RawDatabase(folder + L"index.db").Cell("select count(*) from QEL_READER_META"));
}

}  // namespace
