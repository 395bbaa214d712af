#include "ServicesStandIn.h"

#include "FakeSyncEvents.h"
#include "NetTestSupport.h"

#include "librarydata/AccountsServer.h"
#include "librarydata/ServiceHosts.h"
#include "librarydata/SubscriptionServers.h"
#include "foundation/Folders.h"
#include "foundation/MD5.h"
#include "foundation/Streams.h"

#include <gtest/gtest.h>

#include <wrl/client.h>

#include <memory>

using Microsoft::WRL::ComPtr;

namespace {

// Book b1 ("中文") holds five documents; b2 holds attachments.
const char kBooks[] = R"(
 "accounts": [{"email": "ann@example.com", "password": "s3cret", "kb_guid": "kb-1", "token": "tok-ann",
               "books": ["b1", "b2"]}],
 "subscriptions_server": "subs.tessary.test/oskan",
 "books": [
  {"guid": "b1", "name": "\u4e2d\u6587", "server": "books.tessary.test/one/",
   "documents": [
    {"guid": "d1", "title": "One", "category": "/A/", "version": 1, "created": "2009-12-04 10:20:30",
     "modified": "2009-12-05 11:00:00", "icon_index": 3, "files": {"index.htm": "<html>one</html>"}},
    {"guid": "d2", "title": "Two", "version": 2},
    {"guid": "d3", "title": "Three", "version": 3},
    {"guid": "d4", "title": "Four", "version": 4},
    {"guid": "d5", "title": "Five", "version": 12345678901}]},
  {"guid": "b2", "name": "Second", "server": "books.tessary.test/two",
   "documents": [{"guid": "e1", "title": "Only", "version": 7}],
   "attachments": [
    {"guid": "a1", "document_guid": "e1", "name": "notes.txt", "description": "Notes", "version": 9,
     "content": "hello"},
    {"guid": "a2", "document_guid": "e1", "name": "pair.txt", "version": 10,
     "zip_entries": [{"name": "first.txt", "content": "one"}, {"name": "second.txt", "content": "two"}]}]}])";

std::string Scenario(const std::string& faults = "{}")
{
    return std::string("{") + kBooks + R"(, "faults": )" + faults + "}";
}

std::wstring RequestMember(const CStandInRequest& request, const char* name)
{
    return request.params[size_t(0)][name].AsWide();
}

std::vector<std::string> MemberNames(const CStandInRequest& request)
{
    std::vector<std::string> names;
    for (const auto& member : request.params[size_t(0)].members)
        names.push_back(member.first);
    return names;
}

class SubscriptionServersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Pages of two, for the process's first list request (the size is read once).
        WritePrivateProfileStringW(L"Common", L"CountPerPage", L"2", (QelGetExeFolder() + L"Tessary.ini").c_str());
    }

    void Start(const std::string& scenario)
    {
        ASSERT_TRUE(m_standIn.Start(scenario)) << m_standIn.Error();
        m_subscriptions =
            std::make_unique<CQelSubscriptionsServer>(L"tok-ann", &m_events, L"subs.tessary.test", 80,
                                                      L"/oskan/xmlrpc");
        m_one = std::make_unique<CQelSubscriptionServer>(L"tok-ann", &m_events, L"books.tessary.test", 80,
                                                         L"/one/xmlrpc");
        m_two = std::make_unique<CQelSubscriptionServer>(L"tok-ann", &m_events, L"books.tessary.test", 80,
                                                         L"/two/xmlrpc");
        ASSERT_TRUE(TessaryConnectServer(*m_subscriptions));
        ASSERT_TRUE(TessaryConnectServer(*m_one));
        ASSERT_TRUE(TessaryConnectServer(*m_two));
    }

    static bool PagesOfTwo() { return TessaryGetCountPerPage() == 2; }

    CComScope m_com;
    CServicesStandIn m_standIn;
    CFakeSyncEvents m_events;
    std::unique_ptr<CQelSubscriptionsServer> m_subscriptions;
    std::unique_ptr<CQelSubscriptionServer> m_one;
    std::unique_ptr<CQelSubscriptionServer> m_two;
};

}  // namespace

TEST(CountPerPage, MissingOrBelowOneIsAHundred)
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring ini = std::wstring(folder) + L"count-per-page-test.ini";
    DeleteFileW(ini.c_str());
    EXPECT_EQ(100, TessaryReadCountPerPage(ini.c_str()));
    for (const auto& value : {std::make_pair(L"0", 100), std::make_pair(L"-3", 100), std::make_pair(L"7", 7)}) {
        WritePrivateProfileStringW(L"Common", L"CountPerPage", value.first, ini.c_str());
        EXPECT_EQ(value.second, TessaryReadCountPerPage(ini.c_str())) << value.first;
    }
    DeleteFileW(ini.c_str());
}

TEST_F(SubscriptionServersTest, TheSubscriptionsListSendsItsMembersAndKeepsTheServiceOrder)
{
    ASSERT_NO_FATAL_FAILURE(Start(Scenario(R"({"subscription.getList": [{"kind": "charset", "encoding": "gb2312",
        "content_type": "text/xml; charset=gb2312", "declaration": "gb2312", "times": 1}]})")));
    for (int i = 0; i < 2; ++i) {  // once in GB2312, once in UTF-8
        std::vector<TESSARYSUBSCRIPTIONDATA> books;
        ASSERT_TRUE(m_subscriptions->GetSubscriptions(books));
        ASSERT_EQ(2u, books.size());
        EXPECT_EQ(L"b1", books[0].guid);
        EXPECT_EQ(L"\x4e2d\x6587", books[0].name);
        EXPECT_EQ(L"books.tessary.test/one/", books[0].serverUrl);
        EXPECT_EQ(L"Second", books[1].name);
    }
    const auto requests = m_standIn.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("http://subs.tessary.test:80/oskan/xmlrpc", requests[0].url);
    EXPECT_EQ("OskanSubscriptionsServer", requests[0].Header("User-Agent"));
    EXPECT_EQ(std::to_string(requests[0].body.size()), requests[0].Header("Content-length"));
    EXPECT_EQ(0u, requests[0].body.find("<?xml version=\"1.0\"?>\r\n<methodCall>\r\n"
                                        "\t<methodName>subscription.getList</methodName>\r\n"));
    EXPECT_NE(std::string::npos, requests[0].body.find("<name>count</name>\r\n\t\t\t\t\t\t<value>\r\n"
                                                       "\t\t\t\t\t\t\t<int>1000</int>"));
    EXPECT_EQ((std::vector<std::string>{"client_type", "token", "count"}), MemberNames(requests[0]));
    EXPECT_EQ(L"tok-ann", RequestMember(requests[0], "token"));
}

TEST_F(SubscriptionServersTest, ABookWithoutServerFailsTheWholeList)
{
    ASSERT_NO_FATAL_FAILURE(Start(Scenario(R"({"subscription.getList": [{"kind": "raw", "body":
        "<methodResponse><params><param><value>
        <array><data><value><struct><member><name>subscription_guid</name><value>g</value></member>
        <member><name>subscription_name</name><value>n</value></member></struct></value></data></array>
        </value></param></params></methodResponse>"}]})")));
    CLogCapture log;
    std::vector<TESSARYSUBSCRIPTIONDATA> books;
    EXPECT_FALSE(m_subscriptions->GetSubscriptions(books));
    EXPECT_TRUE(log.ContainsInOrder({L"Failed to find struct member server_url", L"Failed to load struct data!",
                                     L"Failed to call subscription.getList"}))
        << log.Text();
    ASSERT_FALSE(m_events.logs.empty());
    EXPECT_EQ(std::make_pair(1, std::wstring(L"GetSubscriptions failure!")), m_events.logs.back());
}

TEST_F(SubscriptionServersTest, TheDocumentListIsFetchedInPagesFromVersionPlusOne)
{
    ASSERT_NO_FATAL_FAILURE(Start(Scenario()));
    if (!PagesOfTwo())
        GTEST_SKIP() << "this process fixed its page size before the test could set it";
    std::vector<TESSARYDOCUMENTDATA> documents;
    ASSERT_TRUE(m_one->GetDocumentList(L"b1", -1, documents));
    ASSERT_EQ(5u, documents.size());
    const auto requests = m_standIn.Requests();
    ASSERT_EQ(3u, requests.size());
    std::vector<std::wstring> versions;
    for (const auto& request : requests) {
        versions.push_back(RequestMember(request, "version"));
        EXPECT_EQ("2", request.params[size_t(0)]["count"].text);
        EXPECT_EQ("OskanSubscriptionServer", request.Header("User-Agent"));
        EXPECT_EQ("http://books.tessary.test:80/one/xmlrpc", request.url);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"0", L"3", L"5"}), versions);
    EXPECT_EQ((std::vector<std::string>{"client_type", "token", "subscription_guid", "count", "version"}),
              MemberNames(requests[0]));
    EXPECT_EQ((std::vector<std::pair<int, std::wstring>>{
                  {0, L"Start Version: 0"}, {0, L"Start Version: 3"}, {0, L"Start Version: 5"}}),
              m_events.logs);

    const auto& first = documents[0];
    EXPECT_EQ(L"b1", first.subscriptionGuid);
    EXPECT_EQ(L"d1", first.documentGuid);
    EXPECT_EQ(L"/A/", first.location);
    EXPECT_EQ(L"One", first.title);
    EXPECT_EQ(3, first.iconIndex);
    EXPECT_EQ(86400 + 2370, first.modified - first.created);
    EXPECT_EQ(32u, first.dataMD5.size());
    EXPECT_EQ(12345678901LL, documents[4].version);
    EXPECT_EQ(L"b1", documents[4].subscriptionGuid);

    std::vector<TESSARYDOCUMENTDATA> later;
    ASSERT_TRUE(m_one->GetDocumentList(L"b1", 3, later));  // a full page asks once more, here for nothing
    ASSERT_EQ(2u, later.size());
    EXPECT_EQ(L"d4", later[0].documentGuid);
    const auto all = m_standIn.Requests();
    ASSERT_EQ(5u, all.size());
    EXPECT_EQ(L"4", RequestMember(all[3], "version"));
    EXPECT_EQ(L"12345678902", RequestMember(all[4], "version"));
}

TEST_F(SubscriptionServersTest, AFullPageThatGetsNowhereEndsTheList)
{
    ASSERT_NO_FATAL_FAILURE(Start(Scenario(R"({"subscription.getDocumentList": [{"kind": "raw", "body":
        "<methodResponse><params><param>
        <value><array><data>
        <value><struct><member><name>document_guid</name><value>x1</value></member>
        <member><name>version</name><value>1</value></member></struct></value>
        <value><struct><member><name>document_guid</name><value>x2</value></member>
        <member><name>version</name><value>2</value></member></struct></value>
        </data></array></value></param></params></methodResponse>"}]})")));
    if (!PagesOfTwo())
        GTEST_SKIP() << "this process fixed its page size before the test could set it";
    CLogCapture log;
    std::vector<TESSARYDOCUMENTDATA> documents;
    ASSERT_TRUE(m_one->GetDocumentList(L"b1", -1, documents));
    EXPECT_EQ(2u, documents.size());
    EXPECT_EQ(2u, m_standIn.Requests().size());
    EXPECT_TRUE(log.Contains(L"subscription.getDocumentList: no item of a full page reaches version 3; "
                             L"the list ends here"))
        << log.Text();
}

TEST_F(SubscriptionServersTest, AFullPageAtTheLastVersionEndsTheList)
{
    ASSERT_NO_FATAL_FAILURE(Start(Scenario(R"({"subscription.getDocumentList": [{"kind": "raw", "body":
        "<methodResponse><params><param>
        <value><array><data>
        <value><struct><member><name>document_guid</name><value>x1</value></member>
        <member><name>version</name><value>9223372036854775806</value></member></struct></value>
        <value><struct><member><name>document_guid</name><value>x2</value></member>
        <member><name>version</name><value>9223372036854775807</value></member></struct></value>
        </data></array></value></param></params></methodResponse>"}]})")));
    if (!PagesOfTwo())
        GTEST_SKIP() << "this process fixed its page size before the test could set it";
    std::vector<TESSARYDOCUMENTDATA> documents;
    ASSERT_TRUE(m_one->GetDocumentList(L"b1", -1, documents));
    EXPECT_EQ(2u, documents.size());
    EXPECT_EQ(1u, m_standIn.Requests().size());
    // A book held up to the last version asks from that version, once.
    std::vector<TESSARYDOCUMENTDATA> again;
    ASSERT_TRUE(m_one->GetDocumentList(L"b1", 9223372036854775807LL, again));
    const auto requests = m_standIn.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ(L"9223372036854775807", RequestMember(requests[1], "version"));
}

TEST_F(SubscriptionServersTest, AStopRequestEndsTheListWithWhatWasFetched)
{
    ASSERT_NO_FATAL_FAILURE(Start(Scenario()));
    if (!PagesOfTwo())
        GTEST_SKIP() << "this process fixed its page size before the test could set it";
    m_events.cancelAfter = 1;
    std::vector<TESSARYDOCUMENTDATA> documents;
    EXPECT_TRUE(m_one->GetDocumentList(L"b1", -1, documents));
    EXPECT_EQ(2u, documents.size());
    EXPECT_EQ(1u, m_standIn.Requests().size());
}

TEST_F(SubscriptionServersTest, AnItemWithoutItsGuidFailsTheList)
{
    ASSERT_NO_FATAL_FAILURE(Start(Scenario(R"({"subscription.getDocumentList": [{"kind": "raw", "body":
        "<methodResponse><params><param>
        <value><array><data><value><struct><member><name>document_title</name><value>t</value></member>
        </struct></value></data></array></value></param></params></methodResponse>"}]})")));
    CLogCapture log;
    std::vector<TESSARYDOCUMENTDATA> documents;
    EXPECT_FALSE(m_one->GetDocumentList(L"b1", -1, documents));
    EXPECT_TRUE(log.ContainsInOrder({L"Failed to load struct data!", L"Failed to call subscription.getDocumentList",
                                     L"get document list failure!"}))
        << log.Text();
}

TEST_F(SubscriptionServersTest, AttachmentListsCarryTheirDocumentAndVersion)
{
    ASSERT_NO_FATAL_FAILURE(Start(Scenario()));
    std::vector<TESSARYDOCUMENTATTACHMENTDATA> attachments;
    ASSERT_TRUE(m_two->GetAttachmentList(L"b2", -1, attachments));
    ASSERT_EQ(2u, attachments.size());
    EXPECT_EQ(L"b2", attachments[0].subscriptionGuid);
    EXPECT_EQ(L"a1", attachments[0].attachmentGuid);
    EXPECT_EQ(L"e1", attachments[0].documentGuid);
    EXPECT_EQ(L"notes.txt", attachments[0].name);
    EXPECT_EQ(L"Notes", attachments[0].description);
    EXPECT_EQ(9, attachments[0].version);
    EXPECT_EQ("subscription.getAttachmentList", m_standIn.Requests()[0].xmlrpcMethod);
}

TEST_F(SubscriptionServersTest, DocumentDataIsTheZipTheListDescribes)
{
    ASSERT_NO_FATAL_FAILURE(Start(Scenario()));
    std::vector<TESSARYDOCUMENTDATA> documents;
    ASSERT_TRUE(m_two->GetDocumentList(L"b2", -1, documents));
    ASSERT_EQ(1u, documents.size());
    ComPtr<IStream> stream;
    ASSERT_TRUE(SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)));
    ASSERT_TRUE(m_two->DownloadDocumentData(L"b2", documents[0], stream.Get()));
    const ULONG size = static_cast<ULONG>(QelGetStreamSize(stream.Get()));
    std::vector<BYTE> bytes(size);
    ASSERT_TRUE(QelSeekStreamToBegin(stream.Get()));
    ASSERT_TRUE(QelReadStream(stream.Get(), bytes.data(), size));
    EXPECT_EQ(documents[0].dataMD5, QelMD5ByteHex(bytes.data(), size));
    EXPECT_EQ('P', bytes[0]);
    const auto request = m_standIn.Requests().back();
    EXPECT_EQ((std::vector<std::string>{"document_guid", "subscription_guid", "client_type", "token"}),
              MemberNames(request));
    EXPECT_EQ(0u, request.body.find("<?xml version=\"1.0\"?>\r\n<methodCall>\r\n"
                                    "\t<methodName>subscription.getDocumentData</methodName>\r\n"));
}

TEST_F(SubscriptionServersTest, AttachmentDataIsTheFirstEntryOfItsZip)
{
    ASSERT_NO_FATAL_FAILURE(Start(Scenario()));
    ComPtr<IStream> stream;
    ASSERT_TRUE(SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)));
    TESSARYDOCUMENTATTACHMENTDATA attachment;
    attachment.attachmentGuid = L"a2";
    BOOL readable = FALSE;
    ASSERT_TRUE(m_two->DownloadAttachmentData(L"b2", attachment, stream.Get(), readable));
    EXPECT_TRUE(readable);
    char text[8] = {};
    ASSERT_EQ(3u, QelGetStreamSize(stream.Get()));
    ASSERT_TRUE(QelSeekStreamToBegin(stream.Get()));
    ASSERT_TRUE(QelReadStream(stream.Get(), text, 3));
    EXPECT_STREQ("one", text);
    EXPECT_EQ((std::vector<std::string>{"attachment_guid", "subscription_guid", "client_type", "token"}),
              MemberNames(m_standIn.Requests()[0]));
}

TEST_F(SubscriptionServersTest, DataCallsFailCleanly)
{
    ASSERT_NO_FATAL_FAILURE(Start(Scenario(R"({"subscription.getDocumentData": [{"kind": "raw", "body":
        "<methodResponse><params><param>
        <value><struct><member><name>other</name><value>x</value></member></struct></value>
        </param></params></methodResponse>"}],
        "subscription.getAttachmentData": [{"kind": "raw", "body":
        "<methodResponse><params><param>
        <value><struct><member><name>attachment_zip_data</name><value><base64>bm90IGEgemlw</base64></value>
        </member></struct></value></param></params></methodResponse>"}]})")));
    CLogCapture log;
    TESSARYDOCUMENTDATA document;
    document.documentGuid = L"e1";
    EXPECT_FALSE(m_two->DownloadDocumentData(L"b2", document, nullptr));
    EXPECT_TRUE(m_standIn.Requests().empty());
    ComPtr<IStream> stream;
    ASSERT_TRUE(SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)));
    EXPECT_FALSE(m_two->DownloadDocumentData(L"b2", document, stream.Get()));
    TESSARYDOCUMENTATTACHMENTDATA attachment;
    attachment.attachmentGuid = L"a1";
    BOOL readable = TRUE;
    EXPECT_FALSE(m_two->DownloadAttachmentData(L"b2", attachment, stream.Get(), readable));
    EXPECT_FALSE(readable) << "bytes that are no zip can never be stored";
    EXPECT_TRUE(log.ContainsInOrder({L"NULL Pointer: DownloadDocumentData::pStream",
                                     L"Failed to find struct member document_zip_data",
                                     L"Failed to get document data!", L"Failed to call subscription.getDocumentData",
                                     L"getDocumentData failure!", L"Failed to uncompress attachment stream!"}))
        << log.Text();
}

TEST(DemoScenario, SignsInAndServesTwoBooksWithDocumentsAndAttachments)
{
    CComScope com;
    const std::string folder = StandInDemoFolder();
    std::string demo;
    {
        const std::wstring path = L"Z:" + std::wstring(folder.begin(), folder.end()) + L"/scenario.json";
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        std::vector<char> buffer(1 << 20);
        DWORD read = 0;
        ReadFile(file, buffer.data(), DWORD(buffer.size()), &read, nullptr);
        CloseHandle(file);
        demo.assign(buffer.data(), read);
    }
    demo.insert(demo.find('{') + 1, "\"base\": \"" + folder + "\", ");
    CServicesStandIn standIn;
    ASSERT_TRUE(standIn.Start(demo)) << standIn.Error();
    CFakeSyncEvents events;

    COskanAccountsServer accounts(&events, TESSARY_ACCOUNTS_HOST, TESSARY_ACCOUNTS_PORT, TESSARY_ACCOUNTS_PATH);
    ASSERT_TRUE(TessaryConnectServer(accounts));
    ASSERT_TRUE(accounts.Login(L"reader@example.com", L"reader", L"reader"));
    std::wstring host;
    std::wstring path;
    DWORD port = 0;
    ASSERT_TRUE(accounts.GetServerParts(host, port, path));
    CQelSubscriptionsServer subscriptions(accounts.GetToken().c_str(), &events, host.c_str(), INTERNET_PORT(port),
                                          path.c_str());
    ASSERT_TRUE(TessaryConnectServer(subscriptions));
    std::vector<TESSARYSUBSCRIPTIONDATA> books;
    ASSERT_TRUE(subscriptions.GetSubscriptions(books));
    ASSERT_EQ(2u, books.size());
    for (const auto& book : books) {
        ASSERT_TRUE(QelXmlRpcGetServerParts(book.serverUrl.c_str(), host, port, path));
        CQelSubscriptionServer server(accounts.GetToken().c_str(), &events, host.c_str(), INTERNET_PORT(port),
                                      path.c_str());
        ASSERT_TRUE(TessaryConnectServer(server));
        std::vector<TESSARYDOCUMENTDATA> documents;
        std::vector<TESSARYDOCUMENTATTACHMENTDATA> attachments;
        ASSERT_TRUE(server.GetDocumentList(book.guid.c_str(), -1, documents));
        ASSERT_TRUE(server.GetAttachmentList(book.guid.c_str(), -1, attachments));
        EXPECT_EQ(3u, documents.size()) << book.name.c_str();
        EXPECT_EQ(2u, attachments.size());
        ComPtr<IStream> stream;
        ASSERT_TRUE(SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)));
        ASSERT_TRUE(server.DownloadDocumentData(book.guid.c_str(), documents[0], stream.Get()));
        EXPECT_GT(QelGetStreamSize(stream.Get()), 1000u);  // a page with its picture and style sheet
    }
    EXPECT_TRUE(accounts.Logout());
}
