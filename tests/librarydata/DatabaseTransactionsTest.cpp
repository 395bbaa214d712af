#include "librarydata/Database.h"

#include "DatabaseTestSupport.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kBook[] = L"0f3a2c44-8d2e-4b77-9a0b-1c2d3e4f5a6b";

TEST(DatabaseTransactions, WritesReachTheFileOnlyWithTheCommit)
{
    TestFolder folder;
    CTessaryDatabase database;
    ASSERT_TRUE(database.Open(folder.Path().c_str()));
    EXPECT_FALSE(database.CommitTransaction()) << "nothing is open";

    ASSERT_TRUE(database.BeginTransaction());
    EXPECT_FALSE(database.BeginTransaction()) << "one at a time";
    ASSERT_TRUE(database.SetLocalVersion(kBook, 7, 4));
    TESSARYDOCUMENTDATA document;
    document.subscriptionGuid = kBook;
    document.documentGuid = L"5b1f0e3a-aaaa-4bbb-8ccc-0123456789ab";
    document.title = L"A title";
    ASSERT_TRUE(database.UpdateDocument(document, nullptr));
    {
        RawDatabase raw(folder.Path() + L"index.db");
        EXPECT_EQ("0", raw.Cell("select count(*) from QEL_READER_META where META_KEY='DOCUMENTVERSION'"));
        EXPECT_EQ("0", raw.Cell("select count(*) from QEL_READER_DOCUMENT"));
    }
    ASSERT_TRUE(database.CommitTransaction());
    RawDatabase raw(folder.Path() + L"index.db");
    EXPECT_EQ("7", raw.Cell("select META_VALUE from QEL_READER_META where META_KEY='DOCUMENTVERSION'"));
    EXPECT_EQ("A title", raw.Cell("select DOCUMENT_TITLE from QEL_READER_DOCUMENT"));
    // Each write stands alone again.
    ASSERT_TRUE(database.SetLocalVersion(kBook, 8, 4));
    EXPECT_EQ("8", raw.Cell("select META_VALUE from QEL_READER_META where META_KEY='DOCUMENTVERSION'"));
}

}  // namespace
