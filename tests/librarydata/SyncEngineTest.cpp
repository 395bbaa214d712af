// The sync engine in this process, against the services stand-in: the parts
// that the headless tool does not reach (no data downloads, one document,
// versions that cannot be read or stored, an account without books).

#include "SyncToolSupport.h"

#include "FakeSyncEvents.h"
#include "NetTestSupport.h"
#include "foundation/TestFolder.h"
#include "foundation/NetTimeout.h"
#include "foundation/Settings.h"
#include "librarydata/AdList.h"
#include "librarydata/Database.h"
#include "librarydata/SyncEngine.h"
#include "librarydata/SyncStoreEvents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

// Records the log lines and stops at the chosen question.
class CRecordingStore : public CTessarySyncStoreEvents
{
public:
    using CTessarySyncStoreEvents::CTessarySyncStoreEvents;

    void OnLog(int level, const wchar_t* text) override
    {
        CTessarySyncStoreEvents::OnLog(level, text);
        lines.emplace_back(level, text ? text : L"");
    }
    bool Logged(int level, const std::wstring& text) const
    {
        return std::find(lines.begin(), lines.end(), std::make_pair(level, text)) != lines.end();
    }

    std::vector<std::pair<int, std::wstring>> lines;
};

class SyncEngine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_database.Open(m_folder.c_str()));
        ASSERT_TRUE(m_database.SetAccountUserName(L"reader@example.com"));
        ASSERT_TRUE(m_database.SetAccountPassword(L"reader"));
    }
    // One stand-in per test: this process's WinINet keeps the first proxy it saw.
    void StartServices(const CScenario& scenario = StandardScenario())
    {
        ASSERT_TRUE(m_standIn.Start(scenario.Json())) << m_standIn.Error();
    }

    std::vector<std::string> Methods() const
    {
        std::vector<std::string> methods;
        for (const CStandInRequest& request : m_standIn.Requests())
            methods.push_back(request.xmlrpcMethod.empty() ? request.method : request.xmlrpcMethod);
        return methods;
    }

    CComScope m_com;
    TestFolder m_test;
    const std::wstring m_folder = m_test.Path();
    CTessaryDatabase m_database;
    CServicesStandIn m_standIn;
};

TEST_F(SyncEngine, WithoutDownloadAllRowsAreStoredWithoutData)
{
    StartServices();
    CRecordingStore store(&m_database);
    ASSERT_TRUE(TessarySyncAccount(&store, FALSE));
    for (const std::string& method : Methods()) {
        EXPECT_NE("subscription.getDocumentData", method);
        EXPECT_NE("subscription.getAttachmentData", method);
    }
    TESSARYDOCUMENTDATA document;
    ASSERT_TRUE(m_database.GetDocumentByGuid(L"a0000000-0000-4000-8000-00000000000a",
                                             L"a1000000-0000-4000-8000-000000000001", document));
    EXPECT_EQ(L"Sowing Seeds", document.title);
    EXPECT_EQ(32u, document.dataMD5.size());
    EXPECT_FALSE(std::filesystem::exists(m_database.GetDocumentFileName(document)));
    __int64 documentVersion = 0;
    __int64 attachmentVersion = 0;
    ASSERT_TRUE(m_database.GetLocalVersion(L"a0000000-0000-4000-8000-00000000000a", documentVersion,
                                           attachmentVersion));
    EXPECT_EQ(7, documentVersion);
    EXPECT_EQ(4, attachmentVersion);
}

TEST_F(SyncEngine, OneDocumentIsFetchedWithoutListsVersionsOrAdvertisements)
{
    StartServices();
    CRecordingStore store(&m_database);
    TESSARYDOCUMENTDATA document;
    document.subscriptionGuid = L"b0000000-0000-4000-8000-00000000000b";
    document.documentGuid = L"b1000000-0000-4000-8000-000000000001";
    document.title = L"Fixing a Puncture";
    document.location = L"/Roadside/";
    document.version = 11;
    document.dataMD5 = L"fedcba9876543210fedcba9876543210";
    ASSERT_TRUE(TessarySyncDocument(&store, document));
    EXPECT_EQ((std::vector<std::string>{"accounts.clientLogin", "subscription.getList",
                                        "subscription.getDocumentData", "accounts.clientLogout"}),
              Methods());
    TESSARYDOCUMENTDATA stored;
    ASSERT_TRUE(m_database.GetDocumentByGuid(document.subscriptionGuid.c_str(), document.documentGuid.c_str(),
                                             stored));
    std::string page;
    EXPECT_TRUE(ZipEntry(UnsealDataFile(m_database.GetDocumentFileName(stored)), L"index.htm", page));
    EXPECT_EQ("<html><body><h1>Puncture</h1></body></html>", page);
    EXPECT_EQ(L"Bicycle Care", m_database.GetSubscriptionName(document.subscriptionGuid.c_str()));
    __int64 documentVersion = 0;
    __int64 attachmentVersion = 0;
    ASSERT_TRUE(m_database.GetLocalVersion(document.subscriptionGuid.c_str(), documentVersion, attachmentVersion));
    EXPECT_EQ(-1, documentVersion);

    // A document of a book the account does not subscribe to.
    document.subscriptionGuid = L"c0000000-0000-4000-8000-00000000000c";
    EXPECT_FALSE(TessarySyncDocument(&store, document));
    EXPECT_FALSE(TessarySyncDocument(nullptr, document));
}

std::string SubscriptionMember(const char* name, const char* value)
{
    return std::string("<member><name>") + name + "</name><value><string>" + value + "</string></value></member>";
}

TEST_F(SyncEngine, ABookWithAnUnusableServerIsSkippedAndTheNextBookSynced)
{
    CScenario scenario = StandardScenario();
    const std::string garden = SubscriptionMember("subscription_guid", "a0000000-0000-4000-8000-00000000000a") +
                               SubscriptionMember("subscription_name", "Garden Notes") +
                               SubscriptionMember("server_url", "books.tessary.test:99999/garden/");
    const std::string cycling = SubscriptionMember("subscription_guid", "b0000000-0000-4000-8000-00000000000b") +
                                SubscriptionMember("subscription_name", "Bicycle Care") +
                                SubscriptionMember("server_url", "books.tessary.test/cycling/");
    const std::string answer = "<?xml version='1.0'?><methodResponse><params><param><value><array><data>"
                               "<value><struct>" + garden + "</struct></value><value><struct>" + cycling +
                               "</struct></value></data></array></value></param></params></methodResponse>";
    scenario.faults = "{\"subscription.getList\": {\"kind\": \"raw\", \"body\": \"" + answer + "\"}}";
    StartServices(scenario);
    CRecordingStore store(&m_database);
    EXPECT_TRUE(TessarySyncAccount(&store, TRUE));
    EXPECT_TRUE(store.Logged(1, L"Failed to get database server: Garden Notes"));
    TESSARYDOCUMENTDATA document;
    EXPECT_FALSE(m_database.GetDocumentByGuid(L"a0000000-0000-4000-8000-00000000000a",
                                              L"a1000000-0000-4000-8000-000000000001", document));
    EXPECT_TRUE(m_database.GetDocumentByGuid(L"b0000000-0000-4000-8000-00000000000b",
                                             L"b1000000-0000-4000-8000-000000000001", document));
}

TEST_F(SyncEngine, AStalledDataAnswerFailsTheRunAfterTheTimeOutAndKeepsWhatWasStored)
{
    QelSetNetTimeoutForTests(2000);
    CScenario scenario = StandardScenario();
    scenario.faults = R"({"subscription.getDocumentData": [{"kind": "normal", "times": 1},
        {"kind": "stall", "book": "a0000000-0000-4000-8000-00000000000a"}]})";
    StartServices(scenario);
    CRecordingStore store(&m_database);
    EXPECT_FALSE(TessarySyncAccount(&store, TRUE));
    store.EndRun();
    EXPECT_TRUE(store.Logged(2, L"Failed to download document data: Growing Tomatoes"));
    TESSARYDOCUMENTDATA stored;
    ASSERT_TRUE(m_database.GetDocumentByGuid(L"a0000000-0000-4000-8000-00000000000a",
                                             L"a1000000-0000-4000-8000-000000000001", stored));
    EXPECT_FALSE(UnsealDataFile(m_database.GetDocumentFileName(stored)).empty());
    // The run went on with the next book, as after any failed request.
    EXPECT_TRUE(m_database.GetDocumentByGuid(L"b0000000-0000-4000-8000-00000000000b",
                                             L"b1000000-0000-4000-8000-000000000001", stored));
    const std::vector<std::string> methods = Methods();
    EXPECT_EQ("accounts.clientLogout", methods[methods.size() - 2]);
    QelSetNetTimeoutForTests(QEL_NET_TIMEOUT_MS);
}

// Answers the sign-in with the stand-in's account.
class CSignedInEvents : public CFakeSyncEvents
{
public:
    CSignedInEvents()
    {
        answerUser = L"reader@example.com";
        answerPassword = L"reader";
    }
    bool Logged(int level, const std::wstring& text) const
    {
        return std::count(logs.begin(), logs.end(), std::make_pair(level, text)) > 0;
    }
};

TEST_F(SyncEngine, AnAccountWithoutBooksSucceedsAndStillSignsOutAndRefreshesTheAdvertisements)
{
    CScenario scenario = StandardScenario();
    scenario.books.clear();
    StartServices(scenario);
    CSignedInEvents events;
    EXPECT_TRUE(TessarySyncAccount(&events, TRUE));
    EXPECT_TRUE(events.Logged(1, L"You are not subscribed to any books in this account."));
    EXPECT_EQ((std::vector<std::string>{"accounts.clientLogin", "subscription.getList", "accounts.clientLogout", "GET"}),
              Methods());
    std::vector<QELADDATA> ads;
    ASSERT_TRUE(QelLoadADListFromXmlFile(QelGetSettingsFileName().c_str(), L"Tessary", ads));
    EXPECT_EQ(2u, ads.size());
}

TEST_F(SyncEngine, ABookWhoseVersionsCannotBeReadIsSkipped)
{
    StartServices();
    CSignedInEvents events;
    events.versionResult = FALSE;
    EXPECT_TRUE(TessarySyncAccount(&events, TRUE));
    EXPECT_EQ(2, std::count(events.logs.begin(), events.logs.end(),
                            std::make_pair(1, std::wstring(L"Failed to get local version!"))));
    EXPECT_EQ(2u, events.books.size());
    EXPECT_TRUE(events.updatedDocuments.empty());
    EXPECT_TRUE(events.storedVersions.empty());
    EXPECT_EQ((std::vector<std::string>{"accounts.clientLogin", "subscription.getList", "accounts.clientLogout", "GET"}),
              Methods());
}

TEST_F(SyncEngine, VersionsThatCannotBeStoredFailTheRunAndEndEachBookAfterItsDocuments)
{
    class CVersionsRefused : public CSignedInEvents
    {
    public:
        BOOL SetLocalVersion(const wchar_t* guid, __int64 documentVersion, __int64 attachmentVersion) override
        {
            CSignedInEvents::SetLocalVersion(guid, documentVersion, attachmentVersion);
            return FALSE;
        }
    };
    StartServices();
    CVersionsRefused events;
    EXPECT_FALSE(TessarySyncAccount(&events, TRUE));
    EXPECT_TRUE(events.Logged(1, L"Failed to set local version!"));
    EXPECT_EQ(2u, events.books.size());
    EXPECT_EQ(4u, events.updatedDocuments.size());
    ASSERT_EQ(2u, events.storedVersions.size());
    EXPECT_EQ(7, events.storedVersions[0].second.first);
    EXPECT_EQ(-1, events.storedVersions[0].second.second);
    EXPECT_EQ(11, events.storedVersions[1].second.first);
    EXPECT_EQ((std::vector<std::string>{"accounts.clientLogin", "subscription.getList", "subscription.getDocumentList",
                                        "subscription.getDocumentData", "subscription.getDocumentData",
                                        "subscription.getDocumentData", "subscription.getDocumentList",
                                        "subscription.getDocumentData", "accounts.clientLogout", "GET"}),
              Methods());
}

}  // namespace
