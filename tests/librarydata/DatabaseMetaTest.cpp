#include "librarydata/Database.h"

#include "DatabaseTestSupport.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kBook[] = L"0f3a2c44-8d2e-4b77-9a0b-1c2d3e4f5a6b";

class DatabaseMeta : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db.Open(folder.Path().c_str())); }

    std::vector<std::string> RawMeta()
    {
        RawDatabase raw(folder.Path() + L"index.db");
        return raw.Cells("select META_NAME, META_KEY, META_VALUE from QEL_READER_META order by META_NAME, META_KEY");
    }

    TestFolder folder;
    CTessaryDatabase db;
};

}  // namespace

TEST_F(DatabaseMeta, NamesAndKeysAreUpperCased)
{
    ASSERT_TRUE(db.SetMeta(L"Account", L"UserName", L"Someone@Example.com"));
    ASSERT_TRUE(db.SetSubscriptionName(kBook, L"It's 100% a \"book\""));
    EXPECT_EQ((std::vector<std::string>{"0F3A2C44-8D2E-4B77-9A0B-1C2D3E4F5A6B", "SUBSCRIPTION", "It's 100% a \"book\"",
                                        "ACCOUNT", "USERNAME", "Someone@Example.com"}),
              RawMeta());
    {
        RawDatabase raw(folder.Path() + L"index.db");
        const std::string stamp = raw.Cell("select DT_MODIFIED from QEL_READER_META where META_NAME='ACCOUNT'");
        EXPECT_EQ(19u, stamp.size()) << stamp;
    }

    EXPECT_EQ(L"Someone@Example.com", db.GetMeta(L"ACCOUNT", L"username", L"none"));
    EXPECT_EQ(L"Someone@Example.com", db.GetAccountUserName());
    EXPECT_EQ(L"It's 100% a \"book\"", db.GetSubscriptionName(kBook));
    EXPECT_EQ(L"none", db.GetMeta(L"Account", L"Missing", L"none"));

    std::wstring value = L"untouched";
    BOOL found = TRUE;
    EXPECT_TRUE(db.GetMeta(L"Account", L"Missing", value, nullptr, &found));
    EXPECT_FALSE(found);
    EXPECT_EQ(L"", value);

    // Changing a value updates the row in place.
    ASSERT_TRUE(db.SetAccountUserName(L"other"));
    EXPECT_EQ(L"other", db.GetAccountUserName());
    EXPECT_EQ(6u, RawMeta().size());

    std::vector<TESSARYMETADATA> metas;
    EXPECT_TRUE(db.GetAllMetas(metas));
    EXPECT_EQ(2u, metas.size());
    metas.clear();
    EXPECT_TRUE(db.GetMetasByName(L"account", metas));
    ASSERT_EQ(1u, metas.size());
    EXPECT_EQ(L"USERNAME", metas[0].key);
    EXPECT_EQ(L"other", metas[0].value);
}

TEST_F(DatabaseMeta, EmptyNamesAndKeysAreRefused)
{
    CLogCapture log;
    std::wstring value;
    EXPECT_FALSE(db.GetMeta(L"", L"Key", value, nullptr));
    EXPECT_TRUE(log.Contains(L"Meta name is empty!"));
    EXPECT_FALSE(db.SetMeta(L"Name", nullptr, L"v"));
    EXPECT_TRUE(log.Contains(L"Meta key is empty!"));
    std::vector<TESSARYMETADATA> metas;
    EXPECT_FALSE(db.GetMetasByName(L"", metas));
    EXPECT_TRUE(RawMeta().empty());
}

TEST_F(DatabaseMeta, LocalVersionsOfABookNeverSynced)
{
    __int64 documents = 0;
    __int64 attachments = 0;
    EXPECT_TRUE(db.GetLocalVersion(kBook, documents, attachments));
    EXPECT_EQ(-1, documents);
    EXPECT_EQ(-1, attachments);

    ASSERT_TRUE(db.SetLocalVersion(kBook, 0, 0));
    EXPECT_TRUE(db.GetLocalVersion(kBook, documents, attachments));
    EXPECT_EQ(0, documents);
    EXPECT_EQ(0, attachments);

    ASSERT_TRUE(db.SetLocalVersion(kBook, 9876543210123LL, 42));
    EXPECT_TRUE(db.GetLocalVersion(L"0F3A2C44-8D2E-4B77-9A0B-1C2D3E4F5A6B", documents, attachments));
    EXPECT_EQ(9876543210123LL, documents);
    EXPECT_EQ(42, attachments);
    const std::vector<std::string> rows = RawMeta();
    EXPECT_EQ((std::vector<std::string>{"0F3A2C44-8D2E-4B77-9A0B-1C2D3E4F5A6B", "ATTACHMENTVERSION", "42",
                                        "0F3A2C44-8D2E-4B77-9A0B-1C2D3E4F5A6B", "DOCUMENTVERSION", "9876543210123"}),
              rows);
}

TEST_F(DatabaseMeta, PasswordIsStoredSealedAndReadBack)
{
    EXPECT_EQ(L"", db.GetAccountPassword());
    // An empty password on a missing row writes nothing.
    ASSERT_TRUE(db.SetAccountPassword(L""));
    EXPECT_TRUE(RawMeta().empty());

    ASSERT_TRUE(db.SetAccountPassword(L"p'%1\u00E9x!"));
    EXPECT_EQ(L"p'%1\u00E9x!", db.GetAccountPassword());
    const std::vector<std::string> rows = RawMeta();
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ("ACCOUNT", rows[0]);
    EXPECT_EQ("PASSWORD", rows[1]);
    // Sealed: 16 bytes of cipher text as Base64, never the password itself.
    EXPECT_EQ(24u, rows[2].size()) << rows[2];
    EXPECT_EQ(std::string::npos, rows[2].find("p'%1"));

    // Clearing it leaves the row with no value.
    ASSERT_TRUE(db.SetAccountPassword(L""));
    EXPECT_EQ(L"", db.GetAccountPassword());
    EXPECT_EQ((std::vector<std::string>{"ACCOUNT", "PASSWORD", "<NULL>"}), RawMeta());
}

TEST_F(DatabaseMeta, DownloadAllFlag)
{
    EXPECT_FALSE(db.GetDownloadAll());
    ASSERT_TRUE(db.SetDownloadAll(TRUE));
    EXPECT_TRUE(db.GetDownloadAll());
    ASSERT_TRUE(db.SetDownloadAll(FALSE));
    EXPECT_FALSE(db.GetDownloadAll());
    EXPECT_EQ((std::vector<std::string>{"SYNC", "DOWNLOADALL", "0"}), RawMeta());
}

TEST_F(DatabaseMeta, AFailedWriteIsLoggedWithTheTextsAsGiven)
{
    {
        RawDatabase raw(folder.Path() + L"index.db");
        raw.Exec("drop table QEL_READER_META");
    }
    CLogCapture log;
    EXPECT_FALSE(db.SetMeta(L"Na%1me", L"K%3", L"v%1%2"));
    EXPECT_TRUE(log.Contains(L"Failed tog get meta: Na%1me")) << log.Text();
    // Placeholders inside the values stay as they are.
    EXPECT_TRUE(log.Contains(L"Failed to update meta, meta name= Na%1me, meta key = K%3, meta value = v%1%2"))
        << log.Text();
    EXPECT_EQ(L"fallback", db.GetMeta(L"Account", L"UserName", L"fallback"));
}
