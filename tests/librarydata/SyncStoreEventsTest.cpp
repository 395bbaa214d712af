// The storing side of the sync events, on an account database of its own.

#include "NetTestSupport.h"
#include "foundation/TestFolder.h"
#include "foundation/Streams.h"
#include "librarydata/Database.h"
#include "librarydata/SyncStoreEvents.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <filesystem>

namespace {

// Answers the account questions from a list, and counts them.
class CScriptedStore : public CTessarySyncStoreEvents
{
public:
    using CTessarySyncStoreEvents::CTessarySyncStoreEvents;

    std::vector<std::pair<std::wstring, std::wstring>> answers;
    std::vector<std::pair<std::wstring, std::wstring>> asked;  // the values each question was pre-filled with

protected:
    BOOL AskUserAccount(std::wstring& userName, std::wstring& password) override
    {
        asked.emplace_back(userName, password);
        if (asked.size() > answers.size())
            return FALSE;
        userName = answers[asked.size() - 1].first;
        password = answers[asked.size() - 1].second;
        return TRUE;
    }
};

class SyncStoreEvents : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_database.Open(m_folder.c_str())); }

    // Asks as the engine does, with buffers pre-filled by the last answer.
    std::pair<std::wstring, std::wstring> Ask(CTessarySyncStoreEvents& store)
    {
        wchar_t user[TESSARY_SYNC_ACCOUNT_BUFFER] = L"previous";
        wchar_t password[TESSARY_SYNC_ACCOUNT_BUFFER] = L"previous";
        store.QueryUserAccount(user, password);
        return {user, password};
    }

    static TESSARYDOCUMENTDATA Document(const wchar_t* title)
    {
        TESSARYDOCUMENTDATA document;
        document.subscriptionGuid = L"2b8718a2-e8a3-5791-a9a9-ba1e991aad61";
        document.documentGuid = L"185c9e08-503d-5ccd-ab5e-fbb307f93d04";
        document.title = title;
        document.location = L"/Getting Started/";
        document.version = 101;
        document.dataMD5 = L"0123456789abcdef0123456789abcdef";
        return document;
    }

    TestFolder m_test;
    const std::wstring m_folder = m_test.Path();
    CTessaryDatabase m_database;
};

TEST_F(SyncStoreEvents, TheFirstQuestionIsAnsweredFromTheStoredCredentials)
{
    ASSERT_TRUE(m_database.SetAccountUserName(L"ann@example.com"));
    ASSERT_TRUE(m_database.SetAccountPassword(L"s3cret"));
    CScriptedStore store(&m_database);
    store.answers = {{L"ann@example.com", L"better"}};
    EXPECT_EQ(std::make_pair(std::wstring(L"ann@example.com"), std::wstring(L"s3cret")), Ask(store));
    EXPECT_TRUE(store.asked.empty());

    // Asked again in the same run: the last answer was refused.
    EXPECT_EQ(std::make_pair(std::wstring(L"ann@example.com"), std::wstring(L"better")), Ask(store));
    ASSERT_EQ(1u, store.asked.size());
    EXPECT_EQ(std::make_pair(std::wstring(L"ann@example.com"), std::wstring(L"s3cret")), store.asked[0]);
    EXPECT_EQ(L"better", m_database.GetAccountPassword());
    EXPECT_EQ(L"ann@example.com", m_database.GetAccountUserName());

    // A cancelled question empties both buffers and stores nothing.
    EXPECT_EQ(std::make_pair(std::wstring(), std::wstring()), Ask(store));
    EXPECT_EQ(L"better", m_database.GetAccountPassword());

    // A new run reads the stored values again.
    store.Reset();
    EXPECT_EQ(std::make_pair(std::wstring(L"ann@example.com"), std::wstring(L"better")), Ask(store));
    EXPECT_EQ(2u, store.asked.size());
}

TEST_F(SyncStoreEvents, StoredCredentialsLongerThanTheBuffersAreCutBeforeTheTerminator)
{
    const std::wstring longName(300, L'n');
    const std::wstring longPassword(TESSARY_SYNC_ACCOUNT_BUFFER, L'p');
    ASSERT_TRUE(m_database.SetAccountUserName(longName.c_str()));
    ASSERT_TRUE(m_database.SetAccountPassword(longPassword.c_str()));
    CScriptedStore store(&m_database);
    const auto answer = Ask(store);
    EXPECT_EQ(longName.substr(0, TESSARY_SYNC_ACCOUNT_BUFFER - 1), answer.first);
    EXPECT_EQ(longPassword.substr(0, TESSARY_SYNC_ACCOUNT_BUFFER - 1), answer.second);
}

TEST_F(SyncStoreEvents, NothingStoredAsksAtOnce)
{
    ASSERT_TRUE(m_database.SetAccountUserName(L"ann@example.com"));
    CScriptedStore store(&m_database);
    EXPECT_EQ(std::make_pair(std::wstring(), std::wstring()), Ask(store));
    ASSERT_EQ(1u, store.asked.size());
    EXPECT_EQ(L"ann@example.com", store.asked[0].first);
    EXPECT_EQ(L"", store.asked[0].second);

    store.Reset();
    store.answers = {{L"ann@example.com", L"first"}};
    store.asked.clear();
    EXPECT_EQ(std::make_pair(std::wstring(L"ann@example.com"), std::wstring(L"first")), Ask(store));
    EXPECT_EQ(L"first", m_database.GetAccountPassword());
}

TEST_F(SyncStoreEvents, AStoreThatFailsIsReportedToTheEngine)
{
    CTessarySyncStoreEvents store(&m_database);
    CLogCapture log;
    const TESSARYDOCUMENTDATA untitled = Document(L"");
    EXPECT_FALSE(store.UpdateDocument(&untitled, nullptr));
    EXPECT_TRUE(log.Contains(L"Failed to update document!")) << log.Text();

    TESSARYDOCUMENTATTACHMENTDATA attachment;
    attachment.subscriptionGuid = L"2b8718a2-e8a3-5791-a9a9-ba1e991aad61";
    attachment.attachmentGuid = L"3ddc59c4-d3fe-5a32-b6b6-70c131f63eca";
    attachment.documentGuid = L"185c9e08-503d-5ccd-ab5e-fbb307f93d04";
    EXPECT_FALSE(store.UpdateAttachment(&attachment, nullptr));  // no name
    EXPECT_TRUE(log.Contains(L"Failed to update attachment!")) << log.Text();
    EXPECT_FALSE(store.UpdateDocument(nullptr, nullptr));

    const TESSARYDOCUMENTDATA document = Document(L"Sowing Seeds Indoors");
    Microsoft::WRL::ComPtr<IStream> data;
    ASSERT_HRESULT_SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &data));
    ASSERT_TRUE(QelWriteStream(data.Get(), "PK\x05\x06", 4));
    ASSERT_TRUE(QelSeekStreamToBegin(data.Get()));
    EXPECT_TRUE(store.UpdateDocument(&document, data.Get()));
    EXPECT_TRUE(std::filesystem::exists(m_database.GetDocumentFileName(document)));

    // A store without a database stores nothing and says so.
    CTessarySyncStoreEvents detached(nullptr);
    EXPECT_FALSE(detached.UpdateDocument(&document, nullptr));
    __int64 documentVersion = -1;
    __int64 attachmentVersion = -1;
    EXPECT_FALSE(detached.GetLocalVersion(document.subscriptionGuid.c_str(), &documentVersion, &attachmentVersion));
}

TEST_F(SyncStoreEvents, RecordsVersionsAndBookNamesGoToTheDatabase)
{
    CTessarySyncStoreEvents store(&m_database);
    const TESSARYDOCUMENTDATA document = Document(L"Sowing Seeds Indoors");
    TESSARYDOCUMENTDATA found;
    found.title = L"untouched";
    store.GetDocument(document.subscriptionGuid.c_str(), document.documentGuid.c_str(), &found);
    EXPECT_EQ(L"untouched", found.title);
    ASSERT_TRUE(store.UpdateDocument(&document, nullptr));
    store.GetDocument(document.subscriptionGuid.c_str(), document.documentGuid.c_str(), &found);
    EXPECT_EQ(L"Sowing Seeds Indoors", found.title);
    EXPECT_EQ(document.dataMD5, found.dataMD5);

    const wchar_t* book = document.subscriptionGuid.c_str();
    __int64 documentVersion = -1;
    __int64 attachmentVersion = -1;
    ASSERT_TRUE(store.GetLocalVersion(book, &documentVersion, &attachmentVersion));
    EXPECT_EQ(-1, documentVersion);
    EXPECT_EQ(-1, attachmentVersion);
    ASSERT_TRUE(store.SetLocalVersion(book, 101, -1));
    ASSERT_TRUE(store.GetLocalVersion(book, &documentVersion, &attachmentVersion));
    EXPECT_EQ(101, documentVersion);
    EXPECT_EQ(-1, attachmentVersion);

    store.OnSubscriptionBegin(book, L"The Kitchen Garden Handbook", 1, 3);
    EXPECT_EQ(L"The Kitchen Garden Handbook", m_database.GetSubscriptionName(book));
    EXPECT_EQ(1, store.GetBookIndex());
    EXPECT_EQ(3, store.GetBookCount());
}

TEST_F(SyncStoreEvents, AListsRowsReachTheFileAPageAtATimeAndItsVersionOnlyAtItsEnd)
{
    CTessarySyncStoreEvents store(&m_database);
    const TESSARYDOCUMENTDATA first = Document(L"Sowing Seeds Indoors");
    TESSARYDOCUMENTDATA second = Document(L"Building a Compost Bin");
    second.documentGuid = L"a1f6308d-1a9f-50d3-8114-9891be7e0704";
    const wchar_t* book = first.subscriptionGuid.c_str();
    // What another reader of the file (a crash, for one) would find.
    const auto held = [&](const TESSARYDOCUMENTDATA& document) {
        CTessaryDatabase other;
        TESSARYDOCUMENTDATA found;
        return other.Open(m_folder.c_str()) &&
               other.GetDocumentByGuid(book, document.documentGuid.c_str(), found);
    };
    const auto version = [&] {
        CTessaryDatabase other;
        __int64 documentVersion = -2;
        __int64 attachmentVersion = -2;
        if (other.Open(m_folder.c_str()))
            other.GetLocalVersion(book, documentVersion, attachmentVersion);
        return documentVersion;
    };

    // A page of rows (100 without Tessary.ini) is committed as soon as it is full.
    ASSERT_TRUE(store.UpdateDocument(&first, nullptr));
    EXPECT_FALSE(held(first));
    for (int i = 1; i < 100; ++i) {
        TESSARYDOCUMENTDATA filler = Document(L"Filler");
        filler.documentGuid = L"f0000000-0000-4000-8000-" + std::to_wstring(100000000000 + i);
        ASSERT_TRUE(store.UpdateDocument(&filler, nullptr));
    }
    EXPECT_TRUE(held(first));
    ASSERT_TRUE(store.UpdateDocument(&second, nullptr));
    EXPECT_FALSE(held(second));
    EXPECT_EQ(-1, version());
    // The store itself reads its own rows.
    TESSARYDOCUMENTDATA found;
    store.GetDocument(book, second.documentGuid.c_str(), &found);
    EXPECT_EQ(L"Building a Compost Bin", found.title);

    ASSERT_TRUE(store.SetLocalVersion(book, 102, -1));
    EXPECT_TRUE(held(first));
    EXPECT_TRUE(held(second));
    EXPECT_EQ(102, version());

    // Rows that no version claims yet (a stopped run) are kept at the run's end.
    second.title = L"Compost";
    ASSERT_TRUE(store.UpdateDocument(&second, nullptr));
    ASSERT_TRUE(store.EndRun());
    CTessaryDatabase other;
    ASSERT_TRUE(other.Open(m_folder.c_str()));
    ASSERT_TRUE(other.GetDocumentByGuid(book, second.documentGuid.c_str(), found));
    EXPECT_EQ(L"Compost", found.title);
}

TEST_F(SyncStoreEvents, NoVersionIsStoredForRowsThatWereRolledBack)
{
    CTessarySyncStoreEvents store(&m_database);
    const TESSARYDOCUMENTDATA document = Document(L"Sowing Seeds Indoors");
    const wchar_t* book = document.subscriptionGuid.c_str();
    ASSERT_TRUE(store.UpdateDocument(&document, nullptr));
    // As SQLite ends a transaction on some errors, taking its rows with it.
    ASSERT_TRUE(m_database.ExecSQL(L"rollback transaction"));
    EXPECT_FALSE(store.SetLocalVersion(book, 101, -1));
    __int64 documentVersion = -2;
    __int64 attachmentVersion = -2;
    ASSERT_TRUE(m_database.GetLocalVersion(book, documentVersion, attachmentVersion));
    EXPECT_EQ(-1, documentVersion);
    TESSARYDOCUMENTDATA found;
    EXPECT_FALSE(m_database.GetDocumentByGuid(book, document.documentGuid.c_str(), found));

    // The next list begins afresh and stores its version.
    ASSERT_TRUE(store.UpdateDocument(&document, nullptr));
    EXPECT_TRUE(store.SetLocalVersion(book, 101, -1));
    ASSERT_TRUE(m_database.GetLocalVersion(book, documentVersion, attachmentVersion));
    EXPECT_EQ(101, documentVersion);
}

TEST_F(SyncStoreEvents, FailuresReachTheProgramLogAndStopIsAskedOfTheFlag)
{
    CTessarySyncStoreEvents store(&m_database);
    CLogCapture log;
    store.OnLog(0, L"Sowing Seeds Indoors");
    store.OnLog(1, L"Failed to get documents list!");
    store.OnLog(2, L"Failed to update document: Sowing");
    store.OnLog(3, L"level three");
    EXPECT_EQ((std::vector<std::wstring>{L"Failed to get documents list!", L"Failed to update document: Sowing"}),
              log.Lines());

    store.OnStepBegin(4);
    EXPECT_EQ(4, store.GetCurrentStep());
    EXPECT_FALSE(store.IsCanceled());
    store.SetStop(TRUE);
    EXPECT_TRUE(store.IsCanceled());
    EXPECT_EQ(0, store.OnHttpProgress(10, 20));
    store.Reset();
    EXPECT_FALSE(store.IsCanceled());
    EXPECT_EQ(0, store.GetCurrentStep());
}

}  // namespace
