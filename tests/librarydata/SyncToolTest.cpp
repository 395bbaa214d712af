// Whole sync runs of tessary-sync.exe against the services stand-in: what the
// run stored (rows, data files, attachment files, versions, book names,
// advertisements), what it asked the services, and what it printed.

#include "SyncToolSupport.h"

#include "DatabaseTestSupport.h"
#include "NetTestSupport.h"
#include "foundation/Files.h"
#include "foundation/TextFiles.h"
#include "librarydata/AdList.h"
#include "librarydata/Database.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const char kGarden[] = "a0000000-0000-4000-8000-00000000000a";
const char kCycling[] = "b0000000-0000-4000-8000-00000000000b";
const wchar_t kUser[] = L"reader@example.com";

// One column of the first row of a query on the account's index.db, as stored.
std::wstring StoredText(const std::wstring& accountFolder, const std::string& sql)
{
    return FromUtf8(RawDatabase(accountFolder + L"index.db").Cell(sql));
}

int RowCount(const std::wstring& accountFolder, const char* table)
{
    return std::stoi(RawDatabase(accountFolder + L"index.db").Cell(std::string("select count(*) from ") + table));
}

std::vector<std::string> XmlRpcMethods(const std::vector<CStandInRequest>& requests)
{
    std::vector<std::string> methods;
    for (const CStandInRequest& request : requests)
        methods.push_back(request.xmlrpcMethod.empty() ? request.method + " " + request.path : request.xmlrpcMethod);
    return methods;
}

// The first request of the method; an empty one when there is none.
CStandInRequest FirstRequest(const std::vector<CStandInRequest>& requests, const char* method)
{
    for (const CStandInRequest& request : requests) {
        if (request.xmlrpcMethod == method)
            return request;
    }
    return CStandInRequest();
}

size_t CountOf(const std::vector<std::string>& items, const std::string& item)
{
    return size_t(std::count(items.begin(), items.end(), item));
}

std::vector<std::string> DataRequestGuids(const std::vector<CStandInRequest>& requests, const char* method,
                                          const char* member)
{
    std::vector<std::string> guids;
    for (const CStandInRequest& request : requests) {
        if (request.xmlrpcMethod == method)
            guids.push_back(request.params[size_t(0)][member].text);
    }
    return guids;
}

class SyncTool : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.Ready()); }

    bool StartServices(const CScenario& scenario)
    {
        m_scenario = scenario;
        const bool started = m_standIn.Start(scenario.Json());
        EXPECT_TRUE(started) << m_standIn.Error();
        return started;
    }

    CSyncToolResult Sync(std::vector<std::wstring> arguments = {kUser, L"reader"})
    {
        return m_folder.Run(arguments);
    }

    std::wstring Account() const { return m_folder.AccountFolder(kUser); }

    // The row, the data file that unseals to the served archive, and its entries.
    void ExpectDocumentStored(CTessaryDatabase& database, const CScenarioBook& book,
                              const CScenarioDocument& document)
    {
        SCOPED_TRACE(document.title);
        TESSARYDOCUMENTDATA row;
        ASSERT_TRUE(database.GetDocumentByGuid(FromUtf8(book.guid).c_str(), FromUtf8(document.guid).c_str(), row));
        EXPECT_EQ(FromUtf8(document.title), row.title);
        EXPECT_EQ(FromUtf8(document.category), row.location);
        EXPECT_EQ(document.version, row.version);
        EXPECT_EQ(32u, row.dataMD5.size());
        const std::string where = "from QEL_READER_DOCUMENT where DOCUMENT_GUID='" + document.guid + "'";
        EXPECT_EQ(FromUtf8(document.created), StoredText(Account(), "select DT_CREATED " + where));
        EXPECT_EQ(FromUtf8(document.modified), StoredText(Account(), "select DT_MODIFIED " + where));
        const Bytes archive = UnsealDataFile(database.GetDocumentFileName(row));
        ASSERT_FALSE(archive.empty());
        // The server named the MD5 of the archive it sent.
        EXPECT_EQ(row.dataMD5, Md5Hex(archive));
        for (const auto& file : document.files) {
            std::string content;
            EXPECT_TRUE(ZipEntry(archive, FromUtf8(file.first).c_str(), content)) << file.first;
            EXPECT_EQ(file.second, content);
        }
    }

    void ExpectAttachmentStored(CTessaryDatabase& database, const CScenarioBook& book,
                                const CScenarioAttachment& attachment)
    {
        SCOPED_TRACE(attachment.name);
        TESSARYDOCUMENTATTACHMENTDATA row;
        ASSERT_TRUE(database.GetAttachmentByGuid(FromUtf8(book.guid).c_str(), FromUtf8(attachment.guid).c_str(), row));
        EXPECT_EQ(FromUtf8(attachment.documentGuid), row.documentGuid);
        EXPECT_EQ(FromUtf8(attachment.name), row.name);
        EXPECT_EQ(FromUtf8(attachment.description), row.description);
        EXPECT_EQ(attachment.version, row.version);
        const std::wstring path = database.GetAttachmentFileName(row);
        EXPECT_EQ(0u, path.find(Account() + L"Attachments\\")) << path;
        const Bytes bytes = ReadBytes(path);
        EXPECT_EQ(attachment.content, std::string(bytes.begin(), bytes.end()));
    }

    void ExpectVersions(CTessaryDatabase& database, const char* book, __int64 documents, __int64 attachments)
    {
        __int64 documentVersion = 0;
        __int64 attachmentVersion = 0;
        ASSERT_TRUE(database.GetLocalVersion(FromUtf8(book).c_str(), documentVersion, attachmentVersion));
        EXPECT_EQ(documents, documentVersion) << book;
        EXPECT_EQ(attachments, attachmentVersion) << book;
    }

    void ExpectEverythingStored()
    {
        CTessaryDatabase database;
        ASSERT_TRUE(database.Open(Account().c_str()));
        for (const CScenarioBook& book : m_scenario.books) {
            for (const CScenarioDocument& document : book.documents)
                ExpectDocumentStored(database, book, document);
            for (const CScenarioAttachment& attachment : book.attachments)
                ExpectAttachmentStored(database, book, attachment);
        }
    }

    CComScope m_com;
    CServicesStandIn m_standIn;
    CSyncToolFolder m_folder;
    CScenario m_scenario;
};

TEST_F(SyncTool, FirstSyncOfANewAccountStoresEverythingTheServicesHold)
{
    ASSERT_TRUE(StartServices(StandardScenario()));
    const CSyncToolResult run = Sync();
    ASSERT_EQ(0u, run.exitCode) << run.output;

    // The account was created as the reader creates one.
    CTessaryDatabase database;
    ASSERT_TRUE(database.Open(Account().c_str()));
    EXPECT_EQ(kUser, database.GetAccountUserName());
    EXPECT_EQ(L"reader", database.GetAccountPassword());
    EXPECT_NE(L"reader", StoredText(Account(), "select META_VALUE from QEL_READER_META where META_KEY='PASSWORD'"));

    ExpectEverythingStored();
    EXPECT_EQ(4, RowCount(Account(), "QEL_READER_DOCUMENT"));
    EXPECT_EQ(3, RowCount(Account(), "QEL_READER_DOCUMENT_ATTACHMENT"));
    ExpectVersions(database, kGarden, 7, 4);
    ExpectVersions(database, kCycling, 11, 21);
    EXPECT_EQ(L"Garden Notes", database.GetSubscriptionName(FromUtf8(kGarden).c_str()));
    EXPECT_EQ(L"Bicycle Care", database.GetSubscriptionName(FromUtf8(kCycling).c_str()));

    std::vector<QELADDATA> ads;
    // The refresh fails quietly for the user: its reason is only in the program log.
    std::wstring log;
    QelLoadTextFile((m_folder.DataFolder() + L"Tessary.log").c_str(), log);
    ASSERT_TRUE(QelLoadADListFromXmlFile((m_folder.DataFolder() + L"Tessary.xml").c_str(), L"Tessary", ads))
        << Utf8(log) << Utf8(run.output) << ::testing::PrintToString(XmlRpcMethods(m_standIn.Requests()));
    ASSERT_EQ(2u, ads.size());
    EXPECT_EQ(L"Winter edition", ads[0].title);
    EXPECT_EQ(L"http://www.example.com/books/cycling", ads[1].url);
    // The advertisement query names the tool's own file version.
    const std::wstring version = QelGetFileVersionString((m_folder.Path() + L"tessary-sync.exe").c_str());
    EXPECT_FALSE(version.empty());
    EXPECT_EQ(Utf8(version), m_standIn.Requests().back().api["v"].text);
    // The downloaded answer does not stay behind.
    for (const std::wstring& file : FilesBelow(m_folder.TempFolder()))
        EXPECT_NE(L".xml", file.substr(file.size() > 4 ? file.size() - 4 : 0)) << file;

    const std::vector<CStandInRequest> requests = m_standIn.Requests();
    const std::vector<std::string> expected = {
        "accounts.clientLogin",           "subscription.getList",           "subscription.getDocumentList",
        "subscription.getDocumentData",   "subscription.getDocumentData",   "subscription.getDocumentData",
        "subscription.getAttachmentList", "subscription.getAttachmentData", "subscription.getAttachmentData",
        "subscription.getDocumentList",   "subscription.getDocumentData",   "subscription.getAttachmentList",
        "subscription.getAttachmentData", "accounts.clientLogout",          "GET /api/"};
    EXPECT_EQ(expected, XmlRpcMethods(requests));
    EXPECT_EQ("md5.1de9b0a30075ae8c303eb420c103c320", requests[0].params[size_t(0)]["password"].text);
    EXPECT_EQ("/garden/xmlrpc", requests[2].path);
    EXPECT_EQ("0", requests[2].params[size_t(0)]["version"].text);
    EXPECT_EQ("/cycling/xmlrpc", requests[9].path);
    // Documents in version order: 5, 6, 7.
    const std::vector<std::string> order = {"a1000000-0000-4000-8000-000000000001",
                                            "a3000000-0000-4000-8000-000000000003",
                                            "a2000000-0000-4000-8000-000000000002",
                                            "b1000000-0000-4000-8000-000000000001"};
    EXPECT_EQ(order, DataRequestGuids(requests, "subscription.getDocumentData", "document_guid"));

    // The events, one line each, in the order the engine raises them.
    const std::vector<CEventLine> steps = run.Events(L"OnStepBegin");
    ASSERT_EQ(12u, steps.size()) << run.output;
    EXPECT_EQ((CEventLine{L"OnStepBegin", L"0", L"Login"}), steps[0]);
    EXPECT_EQ((CEventLine{L"OnStepBegin", L"6", L"Sync Attachments"}), steps[11]);
    const std::vector<CEventLine> books = run.Events(L"OnSubscriptionBegin");
    ASSERT_EQ(2u, books.size());
    EXPECT_EQ((CEventLine{L"OnSubscriptionBegin", L"1", L"2", FromUtf8(kCycling), L"Bicycle Care"}), books[1]);
    EXPECT_EQ(4u, run.Events(L"UpdateDocument").size());
    EXPECT_TRUE(run.HasLog(0, L"Start Version: 0"));
    EXPECT_TRUE(run.HasLog(0, L"Sowing Seeds"));
    EXPECT_EQ((CEventLine{L"SetLocalVersion", FromUtf8(kGarden), L"7", L"4", L"TRUE"}),
              run.Events(L"SetLocalVersion")[1]);
    EXPECT_EQ(L"answered", run.Events(L"QueryUserAccount").at(0).at(2));
    EXPECT_EQ(std::wstring::npos, run.output.find(L"\treader\t")) << "the password is never printed";
}

std::string ListMember(const char* name, const char* type, const std::string& value)
{
    return std::string("<member><name>") + name + "</name><value><" + type + ">" + value + "</" + type +
           "></value></member>\n";
}

std::string DocumentListItem(const CScenarioDocument& document, const std::string& dataMd5)
{
    return "<value><struct>\n" + ListMember("document_guid", "string", document.guid) +
           ListMember("document_category", "string", document.category) +
           ListMember("document_title", "string", document.title) +
           ListMember("dt_created", "dateTime.iso8601", "20091102T09:15:00") +
           ListMember("dt_modified", "dateTime.iso8601", "20091120T17:40:12") +
           ListMember("version", "string", std::to_string(document.version)) +
           ListMember("data_md5", "string", dataMd5) + "</struct></value>\n";
}

TEST_F(SyncTool, SecondSyncFetchesOnlyWhatChangedAndDataOnlyWhenItsDigestDiffers)
{
    // The services name the data digests themselves here, so that the second
    // run's list can name the same digest for a renamed document.
    const std::string sowingMd5 = "0123456789abcdef0123456789abcdef";
    const std::string compostMd5 = "00112233445566778899aabbccddeeff";
    CScenario scenario = StandardScenario();
    CScenarioBook& garden = scenario.Book(kGarden);
    CScenarioDocument renamed = garden.documents[0];
    renamed.title = "Sowing Seeds Indoors";
    renamed.version = 8;
    CScenarioDocument changed = garden.documents[1];
    changed.version = 9;
    // The third list call is the garden's in the second run: a new title for
    // the first document (same data), new data for the second.
    const std::string list = "<?xml version='1.0'?>\n<methodResponse>\n<params>\n<param>\n<value><array><data>\n" +
                             DocumentListItem(renamed, sowingMd5) +
                             DocumentListItem(changed, "ffeeddccbbaa99887766554433221100") +
                             "</data></array></value>\n</param>\n</params>\n</methodResponse>\n";
    std::string escaped;
    for (const char c : list)
        escaped += c == '\n' ? std::string("\\n") : std::string(1, c);
    scenario.faults = R"({"subscription.getDocumentList": [{"kind": "normal", "times": 2},
        {"kind": "raw", "times": 1, "body": ")" + escaped + "\"}]}";
    std::string json = scenario.Json();
    // Explicit digests for the first run's answers.
    const auto setMd5 = [&](const std::string& guid, const std::string& md5) {
        const size_t at = json.find("{\"guid\": \"" + guid + "\"");
        json.insert(at + 1, "\"data_md5\": \"" + md5 + "\", ");
    };
    setMd5(garden.documents[0].guid, sowingMd5);
    setMd5(garden.documents[1].guid, compostMd5);
    m_scenario = scenario;
    ASSERT_TRUE(m_standIn.Start(json)) << m_standIn.Error();
    ASSERT_EQ(0u, Sync().exitCode);
    const size_t firstRun = m_standIn.Requests().size();

    const CSyncToolResult run = Sync();
    ASSERT_EQ(0u, run.exitCode) << run.output;
    std::vector<CStandInRequest> requests = m_standIn.Requests();
    requests.erase(requests.begin(), requests.begin() + std::ptrdiff_t(firstRun));
    EXPECT_EQ(std::vector<std::string>{changed.guid},
              DataRequestGuids(requests, "subscription.getDocumentData", "document_guid"));
    EXPECT_EQ(0u, CountOf(XmlRpcMethods(requests), "subscription.getAttachmentData"));
    EXPECT_EQ("8", FirstRequest(requests, "subscription.getDocumentList").params[size_t(0)]["version"].text);
    EXPECT_EQ("5", FirstRequest(requests, "subscription.getAttachmentList").params[size_t(0)]["version"].text);
    const std::vector<CEventLine> updates = run.Events(L"UpdateDocument");
    ASSERT_EQ(2u, updates.size());
    EXPECT_EQ(L"-", updates[0][5]) << "the renamed document came without data";
    EXPECT_NE(L"-", updates[1][5]);

    CTessaryDatabase database;
    ASSERT_TRUE(database.Open(Account().c_str()));
    TESSARYDOCUMENTDATA row;
    ASSERT_TRUE(database.GetDocumentByGuid(FromUtf8(kGarden).c_str(), FromUtf8(renamed.guid).c_str(), row));
    EXPECT_EQ(L"Sowing Seeds Indoors", row.title);
    EXPECT_EQ(8, row.version);
    EXPECT_EQ(FromUtf8(sowingMd5), row.dataMD5);
    std::string page;
    EXPECT_TRUE(ZipEntry(UnsealDataFile(database.GetDocumentFileName(row)), L"index.htm", page));
    EXPECT_EQ(garden.documents[0].files[0].second, page) << "its data file was kept";
    ASSERT_TRUE(database.GetDocumentByGuid(FromUtf8(kGarden).c_str(), FromUtf8(changed.guid).c_str(), row));
    EXPECT_EQ(L"ffeeddccbbaa99887766554433221100", row.dataMD5);
    EXPECT_TRUE(ZipEntry(UnsealDataFile(database.GetDocumentFileName(row)), L"index.htm", page));
    ExpectVersions(database, kGarden, 9, 4);
    ExpectVersions(database, kCycling, 11, 21);
}

TEST_F(SyncTool, ListsArriveInPagesOfTheIniCount)
{
    CScenario scenario = StandardScenario();
    CScenarioBook& garden = scenario.Book(kGarden);
    garden.documents.push_back({"a6000000-0000-4000-8000-000000000006", "Pruning", "/Trees/", "2009-11-12 11:30:00",
                                "2009-12-03 19:22:05", 1, {{"index.htm", "<p>Pruning</p>"}}});
    garden.documents.push_back({"a7000000-0000-4000-8000-000000000007", "Mulching", "/Soil/", "2009-11-12 11:30:00",
                                "2009-12-03 19:22:05", 2, {{"index.htm", "<p>Mulch</p>"}}});
    ASSERT_TRUE(StartServices(scenario));
    ASSERT_TRUE(m_folder.SetCountPerPage(2));
    const CSyncToolResult run = Sync();
    ASSERT_EQ(0u, run.exitCode) << run.output;

    // Versions 1, 2 | 5, 6 | 7: each page from one above the highest seen.
    std::vector<std::string> starts;
    for (const CStandInRequest& request : m_standIn.Requests()) {
        if (request.xmlrpcMethod == "subscription.getDocumentList" && request.path == "/garden/xmlrpc") {
            starts.push_back(request.params[size_t(0)]["version"].text);
            EXPECT_EQ("2", request.params[size_t(0)]["count"].text);
        }
    }
    EXPECT_EQ((std::vector<std::string>{"0", "3", "7"}), starts);
    EXPECT_TRUE(run.HasLog(0, L"Start Version: 3"));
    ExpectEverythingStored();
    CTessaryDatabase database;
    ASSERT_TRUE(database.Open(Account().c_str()));
    ExpectVersions(database, kGarden, 7, 4);
}

TEST_F(SyncTool, AWrongStoredPasswordIsAskedAgainAndTheGoodOneStoredSealed)
{
    ASSERT_TRUE(StartServices(StandardScenario()));
    const CSyncToolResult run = Sync({kUser, L"wrong", L"also wrong", L"reader"});
    ASSERT_EQ(0u, run.exitCode) << run.output;

    const std::vector<CEventLine> questions = run.Events(L"QueryUserAccount");
    ASSERT_EQ(3u, questions.size());
    for (const CEventLine& question : questions)
        EXPECT_EQ((CEventLine{L"QueryUserAccount", kUser, L"answered"}), question);
    EXPECT_TRUE(run.HasLog(1, L"Invalid user name or password!"));
    const std::vector<CStandInRequest> requests = m_standIn.Requests();
    EXPECT_EQ(3u, CountOf(XmlRpcMethods(requests), "accounts.clientLogin"));
    EXPECT_EQ("md5.1de9b0a30075ae8c303eb420c103c320", requests[2].params[size_t(0)]["password"].text);

    CTessaryDatabase database;
    ASSERT_TRUE(database.Open(Account().c_str()));
    EXPECT_EQ(L"reader", database.GetAccountPassword());
    EXPECT_EQ(kUser, database.GetAccountUserName());
    ExpectEverythingStored();
}

TEST_F(SyncTool, ARefusedPasswordWithNoRetryLeftCancelsTheSignIn)
{
    CScenario scenario = StandardScenario();
    scenario.faults = R"({"accounts.clientLogin": [{"kind": "fault", "code": 301, "string": "Wrong password"}]})";
    ASSERT_TRUE(StartServices(scenario));
    const CSyncToolResult run = Sync();
    EXPECT_EQ(1u, run.exitCode) << run.output;
    EXPECT_TRUE(run.HasLog(1, L"Invalid user name or password!"));
    EXPECT_TRUE(run.HasLog(1, L"The operation has been canceled at the user's request!"));
    EXPECT_TRUE(run.HasLog(1, L"Failed to login!"));
    EXPECT_EQ(L"canceled", run.Events(L"QueryUserAccount").back().at(2));
    EXPECT_EQ(std::vector<std::string>{"accounts.clientLogin"}, XmlRpcMethods(m_standIn.Requests()));
    EXPECT_EQ(0, RowCount(Account(), "QEL_READER_DOCUMENT"));
    // The stored password is kept: nothing was answered in its place.
    CTessaryDatabase database;
    ASSERT_TRUE(database.Open(Account().c_str()));
    EXPECT_EQ(L"reader", database.GetAccountPassword());
}

TEST_F(SyncTool, ExistingAccountKeepsItsStoredPassword)
{
    ASSERT_TRUE(StartServices(StandardScenario()));
    ASSERT_EQ(0u, Sync().exitCode);
    const CSyncToolResult run = Sync({kUser, L"not used"});
    EXPECT_EQ(0u, run.exitCode) << run.output;
    CTessaryDatabase database;
    ASSERT_TRUE(database.Open(Account().c_str()));
    EXPECT_EQ(L"reader", database.GetAccountPassword());
}

TEST_F(SyncTool, CancelPartWayKeepsWhatWasStoredAndTheBooksVersions)
{
    ASSERT_TRUE(StartServices(StandardScenario()));
    // Questions: before the first book, before its first list page, before
    // its first document, before its second document.
    const CSyncToolResult run = Sync({L"--cancel-after", L"4", kUser, L"reader"});
    ASSERT_EQ(0u, run.exitCode) << run.output;
    const std::vector<CEventLine> questions = run.Events(L"IsCanceled");
    ASSERT_EQ(4u, questions.size());
    EXPECT_EQ(L"FALSE", questions[2][1]);
    EXPECT_EQ(L"TRUE", questions[3][1]);

    CTessaryDatabase database;
    ASSERT_TRUE(database.Open(Account().c_str()));
    CScenarioBook& garden = m_scenario.Book(kGarden);
    ExpectDocumentStored(database, garden, garden.documents[0]);
    EXPECT_EQ(1, RowCount(Account(), "QEL_READER_DOCUMENT"));
    ExpectVersions(database, kGarden, -1, -1);
    ExpectVersions(database, kCycling, -1, -1);
    const std::vector<std::string> methods = XmlRpcMethods(m_standIn.Requests());
    EXPECT_EQ("GET /api/", methods.back());
    EXPECT_EQ(1u, CountOf(methods, "accounts.clientLogout"));
    database.Close();

    const CSyncToolResult again = Sync();
    ASSERT_EQ(0u, again.exitCode) << again.output;
    ExpectEverythingStored();
    ASSERT_TRUE(database.Open(Account().c_str()));
    ExpectVersions(database, kGarden, 7, 4);
    ExpectVersions(database, kCycling, 11, 21);
    // The document held already was not fetched again.
    const std::vector<std::string> fetched =
        DataRequestGuids(m_standIn.Requests(), "subscription.getDocumentData", "document_guid");
    EXPECT_EQ(1u, CountOf(fetched, "a1000000-0000-4000-8000-000000000001"));
    EXPECT_EQ(4u, fetched.size());
}

TEST_F(SyncTool, AUserNameThatCannotBeAFolderOfItsOwnIsRefusedBeforeAnythingIsAsked)
{
    ASSERT_TRUE(StartServices(StandardScenario()));
    for (const wchar_t* name : {L"..\\outside", L"../outside", L"ann:stream", L"CON", L"ann."}) {
        const CSyncToolResult run = Sync({name, L"reader"});
        EXPECT_EQ(1u, run.exitCode) << run.output;
        EXPECT_NE(std::wstring::npos, run.output.find(L"the user name cannot name an account folder")) << run.output;
    }
    EXPECT_TRUE(m_standIn.Requests().empty());
    for (const std::wstring& file : FilesBelow(m_folder.Path())) {
        const bool expected = file == L"tessary-sync.exe" || file == L"Data\\Tessary.log";
        EXPECT_TRUE(expected) << file;
    }
}

TEST_F(SyncTool, StoppingAtTheFirstQuestionEndsRightAfterTheBookList)
{
    ASSERT_TRUE(StartServices(StandardScenario()));
    const CSyncToolResult run = Sync({L"--cancel-after", L"1", kUser, L"reader"});
    EXPECT_EQ(0u, run.exitCode) << run.output;
    EXPECT_EQ((std::vector<std::string>{"accounts.clientLogin", "subscription.getList", "accounts.clientLogout",
                                        "GET /api/"}),
              XmlRpcMethods(m_standIn.Requests()));
    EXPECT_EQ(0, RowCount(Account(), "QEL_READER_DOCUMENT"));
}

TEST_F(SyncTool, AStoreFailingMidPageFailsItsBookAndTheRunAndTheNextRunCompletes)
{
    ASSERT_TRUE(StartServices(StandardScenario()));
    // A folder where the second document's data file belongs makes its store fail.
    std::wstring obstacle;
    {
        ASSERT_TRUE(QelCreateDirectoryTree(Account().c_str()));
        CTessaryDatabase database;
        ASSERT_TRUE(database.Open(Account().c_str()));
        obstacle = database.GetDocumentFileName(FromUtf8(kGarden).c_str(), L"a3000000-0000-4000-8000-000000000003");
    }
    ASSERT_TRUE(QelCreateDirectoryTree(obstacle.c_str()));
    const CSyncToolResult run = Sync();
    EXPECT_EQ(1u, run.exitCode) << run.output;
    EXPECT_TRUE(run.HasLog(1, L"Failed to update document!"));
    EXPECT_TRUE(run.HasLog(2, L"Failed to update document: Growing Tomatoes"));

    CTessaryDatabase database;
    ASSERT_TRUE(database.Open(Account().c_str()));
    CScenarioBook& garden = m_scenario.Book(kGarden);
    ExpectDocumentStored(database, garden, garden.documents[0]);
    // The failed document's row stays without a data digest, so its data is fetched again.
    TESSARYDOCUMENTDATA failed;
    ASSERT_TRUE(database.GetDocumentByGuid(FromUtf8(kGarden).c_str(), L"a3000000-0000-4000-8000-000000000003", failed));
    EXPECT_EQ(L"Growing Tomatoes", failed.title);
    EXPECT_TRUE(failed.dataMD5.empty());
    TESSARYDOCUMENTDATA after;
    EXPECT_FALSE(database.GetDocumentByGuid(FromUtf8(kGarden).c_str(), L"a2000000-0000-4000-8000-000000000002", after));
    ExpectVersions(database, kGarden, -1, -1);
    // The failed book does not hold back the next one.
    CScenarioBook& cycling = m_scenario.Book(kCycling);
    ExpectDocumentStored(database, cycling, cycling.documents[0]);
    ExpectVersions(database, kCycling, 11, 21);
    database.Close();

    ASSERT_TRUE(RemoveDirectoryW(obstacle.c_str()));
    const CSyncToolResult again = Sync();
    ASSERT_EQ(0u, again.exitCode) << again.output;
    ExpectEverythingStored();
    ASSERT_TRUE(database.Open(Account().c_str()));
    ExpectVersions(database, kGarden, 7, 4);
}

TEST_F(SyncTool, InvalidItemsAreLoggedAndSkippedWithoutBlockingTheirBook)
{
    CScenario scenario = StandardScenario();
    CScenarioBook& garden = scenario.Book(kGarden);
    garden.documents.push_back({"a8000000-0000-4000-8000-000000000008", "", "/Soil/", "2009-11-12 11:30:00",
                                "2009-12-03 19:22:05", 8, {{"index.htm", "<p>untitled</p>"}}});
    garden.documents.push_back({"a9000000-0000-4000-8000-000000000009", "Empty Data", "/Soil/", "2009-11-12 11:30:00",
                                "2009-12-03 19:22:05", 9, {{"index.htm", "<p>empty</p>"}}});
    garden.attachments.push_back({"aa000000-0000-4000-8000-00000000000a", "", "orphan.txt", "", 5, "alone"});
    // A zip without entries (its end record alone), and bytes that are no zip.
    const std::string document = garden.documents[0].guid;
    garden.attachments.push_back({"ab000000-0000-4000-8000-00000000000b", document, "empty.zip", "", 6, "",
                                  "UEsFBgAAAAAAAAAAAAAAAAAAAAAAAA=="});
    garden.attachments.push_back({"ac000000-0000-4000-8000-00000000000c", document, "plain.txt", "", 7, "",
                                  "bm90IGEgemlw"});
    // Versions that are no whole number within 64 bits: 2^63, and text after digits.
    garden.documents.push_back({"ad000000-0000-4000-8000-00000000000d", "Past The Range", "/Soil/",
                                "2009-11-12 11:30:00", "2009-12-03 19:22:05", 10, {{"index.htm", "<p>far</p>"}},
                                "9223372036854775808"});
    garden.attachments.push_back({"ae000000-0000-4000-8000-00000000000e", document, "eighth.txt", "", 8, "eight",
                                  "", "8th"});
    // The fifth document data answer (the one for "Empty Data") carries no bytes.
    scenario.faults = R"({"subscription.getDocumentData": [{"kind": "normal", "times": 3}, {"kind": "raw", "times": 1,
        "body": "<?xml version='1.0'?>\n<methodResponse>\n<params>\n<param>\n<value><struct>\n<member>\n<name>document_zip_data</name>\n<value><base64>\n</base64></value>\n</member>\n</struct></value>\n</param>\n</params>\n</methodResponse>\n"}]})";
    ASSERT_TRUE(StartServices(scenario));
    const CSyncToolResult run = Sync();
    ASSERT_EQ(0u, run.exitCode) << run.output;
    EXPECT_TRUE(run.HasLog(2, L"Skipped a document without a title: a8000000-0000-4000-8000-000000000008"));
    EXPECT_TRUE(run.HasLog(2, L"Skipped a document without data: Empty Data"));
    EXPECT_TRUE(run.HasLog(2, L"Skipped an attachment without its document: orphan.txt"));
    EXPECT_TRUE(run.HasLog(2, L"Skipped an attachment whose data is not a readable archive: empty.zip"));
    EXPECT_TRUE(run.HasLog(2, L"Skipped an attachment whose data is not a readable archive: plain.txt"));
    EXPECT_TRUE(run.HasLog(2, L"Skipped a document whose version is not a whole number: Past The Range"));
    EXPECT_TRUE(run.HasLog(2, L"Skipped an attachment whose version is not a whole number: eighth.txt"));

    CTessaryDatabase database;
    ASSERT_TRUE(database.Open(Account().c_str()));
    for (size_t i = 0; i < 3; ++i)
        ExpectDocumentStored(database, garden, garden.documents[i]);
    EXPECT_EQ(4, RowCount(Account(), "QEL_READER_DOCUMENT"));
    EXPECT_EQ(3, RowCount(Account(), "QEL_READER_DOCUMENT_ATTACHMENT"));
    // The book's versions went past the skipped items, so they block nothing,
    // and no version that could not be read moved them.
    ExpectVersions(database, kGarden, 9, 7);
    database.Close();
    const CSyncToolResult again = Sync();
    ASSERT_EQ(0u, again.exitCode) << again.output;
    EXPECT_EQ(0u, again.Events(L"UpdateDocument").size());
    EXPECT_EQ(0u, again.Events(L"UpdateAttachment").size());
}

// A document data answer carrying these bytes.
std::string DocumentDataAnswer(const char* base64)
{
    return std::string(R"({"kind": "raw", "times": 1, "body": "<?xml version='1.0'?><methodResponse><params><param>)"
                       R"(<value><struct><member><name>document_zip_data</name><value><base64>)") +
           base64 + R"(</base64></value></member></struct></value></param></params></methodResponse>"})";
}

TEST_F(SyncTool, DocumentDataNoReaderCouldOpenNeverReplacesWhatIsStored)
{
    CScenario scenario = StandardScenario();
    // After the first run's four documents: a cut zip, one with a bad CRC, and
    // one whose entry claims far more than the archive holds.
    scenario.faults =
        R"({"subscription.getDocumentData": [{"kind": "normal", "times": 4}, )" +
        DocumentDataAnswer("UEsDBBQAAAAIAI9ShDvuNM5IJAAAACsAAAAJAAAAaW5kZXguaHRts8koyc2xs0nKT6m0s8kwtAtKLchJTE5NsdEHcmz0"
                           "IeL6YEUAUA==") + ", " +
        DocumentDataAnswer("UEsDBBQAAAAIAI9ShDsRyzG3JAAAACsAAAAJAAAAaW5kZXguaHRts8koyc2xs0nKT6m0s8kwtAtKLchJTE5NsdEHcmz0"
                           "IeL6YEUAUEsBAhQDFAAAAAgAj1KEOxHLMbckAAAAKwAAAAkAAAAAAAAAAAAAAIABAAAAAGluZGV4Lmh0bVBLBQYAAAAAA"
                           "QABADcAAABLAAAAAAA=") + ", " +
        DocumentDataAnswer("UEsDBBQAAAAIAI9ShDvuNM5IJAAAAPD//38JAAAAaW5kZXguaHRts8koyc2xs0nKT6m0s8kwtAtKLchJTE5NsdEHcmz0"
                           "IeL6YEUAUEsBAhQDFAAAAAgAj1KEO+40zkgkAAAA8P//fwkAAAAAAAAAAAAAAIABAAAAAGluZGV4Lmh0bVBLBQYAAAAAA"
                           "QABADcAAABLAAAAAAA=") + "]}";
    ASSERT_TRUE(StartServices(scenario));
    ASSERT_EQ(0u, Sync().exitCode);
    // The book's documents changed on the server since: their digests differ
    // from the stored ones, and the book lists them again.
    const CScenarioBook& garden = m_scenario.Book(kGarden);
    std::vector<Bytes> files;
    {
        CTessaryDatabase database;
        ASSERT_TRUE(database.Open(Account().c_str()));
        for (const CScenarioDocument& document : garden.documents)
            files.push_back(ReadBytes(database.GetDocumentFileName(FromUtf8(kGarden).c_str(),
                                                                   FromUtf8(document.guid).c_str())));
        ASSERT_TRUE(database.SetLocalVersion(FromUtf8(kGarden).c_str(), -1, 4));
    }
    RawDatabase(Account() + L"index.db").Exec("update QEL_READER_DOCUMENT set DOCUMENT_DATA_MD5='older'");

    const CSyncToolResult run = Sync();
    ASSERT_EQ(0u, run.exitCode) << run.output;
    CTessaryDatabase database;
    ASSERT_TRUE(database.Open(Account().c_str()));
    for (size_t i = 0; i < garden.documents.size(); ++i) {
        const CScenarioDocument& document = garden.documents[i];
        SCOPED_TRACE(document.title);
        EXPECT_TRUE(run.HasLog(2, L"Skipped a document whose data is not a readable archive: " +
                                      FromUtf8(document.title)));
        TESSARYDOCUMENTDATA row;
        ASSERT_TRUE(database.GetDocumentByGuid(FromUtf8(kGarden).c_str(), FromUtf8(document.guid).c_str(), row));
        EXPECT_EQ(L"older", row.dataMD5);
        EXPECT_EQ(files[i], ReadBytes(database.GetDocumentFileName(row)));
    }
    ExpectVersions(database, kGarden, 7, 4);
}

struct CServiceFault
{
    const char* method;
    const char* kind;
};

void PrintTo(const CServiceFault& fault, std::ostream* out)
{
    *out << fault.method << " " << fault.kind;
}

class SyncToolServiceFault : public SyncTool, public ::testing::WithParamInterface<CServiceFault>
{
};

// Every method once with an HTTP error page and once with an answer that is
// not XML, on every call; a book server's method fails for the first book only.
TEST_P(SyncToolServiceFault, EachFailingMethodEndsOrSkipsAsTheEngineDecides)
{
    const CServiceFault fault = GetParam();
    const std::string method = fault.method;
    const bool bookMethod = method.rfind("subscription.get", 0) == 0 && method != "subscription.getList";
    CScenario scenario = StandardScenario();
    scenario.faults = "{\"" + method + "\": {\"kind\": \"" + fault.kind + "\"" +
                      (bookMethod ? std::string(", \"book\": \"") + kGarden + "\"" : std::string()) + "}}";
    ASSERT_TRUE(StartServices(scenario));
    const CSyncToolResult run = Sync();
    const std::vector<std::string> methods = XmlRpcMethods(m_standIn.Requests());

    CTessaryDatabase database;
    ASSERT_TRUE(database.Open(Account().c_str()));
    const CScenarioBook& garden = m_scenario.Book(kGarden);
    const CScenarioBook& cycling = m_scenario.Book(kCycling);
    if (method == "accounts.clientLogin") {
        EXPECT_EQ(1u, run.exitCode);
        EXPECT_TRUE(run.HasLog(1, L"Login failure!"));
        EXPECT_TRUE(run.HasLog(1, L"Failed to login!"));
        EXPECT_EQ(std::vector<std::string>{"accounts.clientLogin"}, methods);
        EXPECT_FALSE(QelFileExists((m_folder.DataFolder() + L"Tessary.xml").c_str()));
        EXPECT_EQ(0, RowCount(Account(), "QEL_READER_DOCUMENT"));
    } else if (method == "subscription.getList") {
        EXPECT_EQ(1u, run.exitCode);
        EXPECT_TRUE(run.HasLog(1, L"Failed to get remote users!"));
        EXPECT_EQ(1u, CountOf(methods, "accounts.clientLogout"));
        EXPECT_EQ("GET /api/", methods.back());
        EXPECT_EQ(0, RowCount(Account(), "QEL_READER_DOCUMENT"));
    } else if (method == "subscription.getDocumentList") {
        EXPECT_EQ(1u, run.exitCode);
        EXPECT_TRUE(run.HasLog(1, L"Failed to get documents list!"));
        EXPECT_EQ(2u, CountOf(methods, "subscription.getDocumentList"));
        EXPECT_EQ(1, RowCount(Account(), "QEL_READER_DOCUMENT"));
        ExpectVersions(database, kGarden, -1, -1);
    } else if (method == "subscription.getDocumentData") {
        // The failed book keeps its versions; the book after it is synced.
        EXPECT_EQ(1u, run.exitCode);
        EXPECT_TRUE(run.HasLog(2, L"Failed to download document data: Sowing Seeds"));
        EXPECT_EQ(1, RowCount(Account(), "QEL_READER_DOCUMENT"));
        ExpectVersions(database, kGarden, -1, -1);
        database.Close();
        // A lasting fault fails each run the same way and loses nothing of the other book.
        const CSyncToolResult again = Sync();
        EXPECT_EQ(1u, again.exitCode) << again.output;
        EXPECT_EQ(0u, again.Events(L"UpdateDocument").size());
        ASSERT_TRUE(database.Open(Account().c_str()));
        ExpectVersions(database, kGarden, -1, -1);
        // A stop after the failed book still ends the run as a success: the
        // fourth question comes before the second book.
        const CSyncToolResult stopped = Sync({L"--cancel-after", L"4", kUser, L"reader"});
        EXPECT_EQ(0u, stopped.exitCode) << stopped.output;
        EXPECT_EQ(1u, stopped.Events(L"OnSubscriptionBegin").size());
    } else if (method == "subscription.getAttachmentList") {
        // Only the rest of the book is skipped; its new document version stays.
        EXPECT_EQ(0u, run.exitCode);
        EXPECT_TRUE(run.HasLog(1, L"Failed to get attachments list!"));
        for (const CScenarioDocument& document : garden.documents)
            ExpectDocumentStored(database, garden, document);
        ExpectVersions(database, kGarden, 7, -1);
        EXPECT_EQ(1, RowCount(Account(), "QEL_READER_DOCUMENT_ATTACHMENT"));
    } else if (method == "subscription.getAttachmentData") {
        EXPECT_EQ(1u, run.exitCode);
        EXPECT_TRUE(run.HasLog(2, L"Failed to download attachment data: planting-calendar.csv"));
        for (const CScenarioDocument& document : garden.documents)
            ExpectDocumentStored(database, garden, document);
        ExpectVersions(database, kGarden, 7, -1);
    } else if (method == "accounts.clientLogout" || method == "api.ad") {
        // Neither the sign-out nor the advertisements decide the run.
        EXPECT_EQ(0u, run.exitCode);
        ExpectEverythingStored();
        ExpectVersions(database, kCycling, 11, 21);
        std::vector<QELADDATA> ads;
        const bool stored =
            QelLoadADListFromXmlFile((m_folder.DataFolder() + L"Tessary.xml").c_str(), L"Tessary", ads) != FALSE;
        EXPECT_EQ(method == "accounts.clientLogout", stored);
    }
    if (bookMethod) {
        ExpectDocumentStored(database, cycling, cycling.documents[0]);
        ExpectAttachmentStored(database, cycling, cycling.attachments[0]);
        ExpectVersions(database, kCycling, 11, 21);
    }
    if (method != "accounts.clientLogin") {
        EXPECT_EQ(1u, CountOf(methods, "accounts.clientLogout")) << "signed out after every run past the sign-in";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Methods, SyncToolServiceFault,
    ::testing::Values(CServiceFault{"accounts.clientLogin", "http500"}, CServiceFault{"accounts.clientLogin", "not_xml"},
                      CServiceFault{"subscription.getList", "http500"}, CServiceFault{"subscription.getList", "not_xml"},
                      CServiceFault{"subscription.getDocumentList", "http500"},
                      CServiceFault{"subscription.getDocumentList", "not_xml"},
                      CServiceFault{"subscription.getDocumentData", "http500"},
                      CServiceFault{"subscription.getDocumentData", "not_xml"},
                      CServiceFault{"subscription.getAttachmentList", "http500"},
                      CServiceFault{"subscription.getAttachmentList", "not_xml"},
                      CServiceFault{"subscription.getAttachmentData", "http500"},
                      CServiceFault{"subscription.getAttachmentData", "not_xml"},
                      CServiceFault{"accounts.clientLogout", "http500"}, CServiceFault{"accounts.clientLogout", "not_xml"},
                      CServiceFault{"api.ad", "http500"}, CServiceFault{"api.ad", "not_xml"}),
    [](const ::testing::TestParamInfo<CServiceFault>& info) {
        std::string name = std::string(info.param.method) + "_" + info.param.kind;
        for (char& c : name) {
            if (!isalnum(static_cast<unsigned char>(c)))
                c = '_';
        }
        return name;
    });

class SyncToolCharset : public SyncTool, public ::testing::WithParamInterface<const char*>
{
};

// Chinese book names and titles, answered as UTF-8 without a declared
// encoding, and as gb2312 declared in the answer.
TEST_P(SyncToolCharset, ChineseNamesAndTitlesArriveIntact)
{
    CScenario scenario = StandardScenario();
    CScenarioBook& garden = scenario.Book(kGarden);
    garden.name = "\xE8\x8F\x9C\xE5\x9B\xAD\xE6\x89\x8B\xE5\x86\x8C";                       // 菜园手册
    garden.documents[0].title = "\xE6\x92\xAD\xE7\xA7\x8D\xEF\xBC\x9A\xE5\xAE\xA4\xE5\x86\x85";  // 播种：室内
    garden.documents[0].category = "/\xE5\x85\xA5\xE9\x97\xA8/";                           // /入门/
    garden.attachments[0].name = "\xE6\x97\xA5\xE5\x8E\x86.csv";                            // 日历.csv
    const std::string encoding = GetParam();
    if (encoding != "utf-8") {
        const std::string charset = R"({"kind": "charset", "encoding": ")" + encoding + R"(", "declaration": ")" +
                                    encoding + R"("})";
        scenario.faults = "{\"subscription.getList\": " + charset + ", \"subscription.getDocumentList\": " + charset +
                          ", \"subscription.getAttachmentList\": " + charset + "}";
    }
    ASSERT_TRUE(StartServices(scenario));
    const CSyncToolResult run = Sync();
    ASSERT_EQ(0u, run.exitCode) << run.output;
    ExpectEverythingStored();
    CTessaryDatabase database;
    ASSERT_TRUE(database.Open(Account().c_str()));
    EXPECT_EQ(L"\u83DC\u56ED\u624B\u518C", database.GetSubscriptionName(FromUtf8(kGarden).c_str()));
    EXPECT_EQ(L"\u64AD\u79CD\uFF1A\u5BA4\u5185",
              StoredText(Account(), "select DOCUMENT_TITLE from QEL_READER_DOCUMENT where DOCUMENT_GUID like 'a1%'"));
    EXPECT_TRUE(run.HasLog(0, L"\u64AD\u79CD\uFF1A\u5BA4\u5185")) << "printed as UTF-8";
}

INSTANTIATE_TEST_SUITE_P(Answers, SyncToolCharset, ::testing::Values("utf-8", "gb2312"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param) == "utf-8" ? std::string("Utf8") : std::string("Gb2312");
                         });

TEST_F(SyncTool, HostileAndOverlongAttachmentNamesStayInsideTheAttachmentsFolder)
{
    CScenario scenario = StandardScenario();
    CScenarioBook& garden = scenario.Book(kGarden);
    const std::string document = garden.documents[0].guid;
    // Titles too long for one name component (in UTF-8 bytes, in UTF-16 units) and for MAX_PATH;
    // the first two differ only in their documents.
    const std::string chinese = Repeated(std::string("\xE8\x8F\x9C"), 200) + ".txt";
    garden.attachments.push_back({"a6000000-0000-4000-8000-000000000006", document, chinese, "", 8, "chinese 1"});
    garden.attachments.push_back({"a7000000-0000-4000-8000-000000000007", garden.documents[1].guid, chinese, "", 9,
                                  "chinese 2"});
    garden.attachments.push_back({"a8000000-0000-4000-8000-000000000008", document, std::string(250, 'l') + ".txt",
                                  "", 10, "latin"});
    garden.attachments.push_back({"ab000000-0000-4000-8000-00000000000b", document, "..\\..\\..\\evil.txt", "", 10, "a"});
    garden.attachments.push_back({"ac000000-0000-4000-8000-00000000000c", document, "../../evil2.txt", "", 11, "b"});
    garden.attachments.push_back({"ad000000-0000-4000-8000-00000000000d", document, "Q&A: chapter 1.pdf", "", 12, "c"});
    garden.attachments.push_back({"ae000000-0000-4000-8000-00000000000e", "..\\..\\x", "report.txt", "", 13, "d"});
    garden.attachments.push_back({"af000000-0000-4000-8000-00000000000f", document, "C:\\evil3.txt", "", 14, "e"});
    ASSERT_TRUE(StartServices(scenario));
    const CSyncToolResult run = Sync();
    ASSERT_EQ(0u, run.exitCode) << run.output;

    CTessaryDatabase database;
    ASSERT_TRUE(database.Open(Account().c_str()));
    std::vector<std::wstring> named;
    for (const CScenarioAttachment& attachment : garden.attachments) {
        ExpectAttachmentStored(database, garden, attachment);
        TESSARYDOCUMENTATTACHMENTDATA row;
        if (database.GetAttachmentByGuid(FromUtf8(kGarden).c_str(), FromUtf8(attachment.guid).c_str(), row))
            named.push_back(database.GetAttachmentFileName(row).substr(Account().size()));
    }
    // Each file lies under the very name its row gives (Wine would cut an overlong one on its own).
    std::vector<std::wstring> listed;
    for (const std::wstring& file : FilesBelow(Account() + L"Attachments\\"))
        listed.push_back(L"Attachments\\" + file);
    named.push_back(L"Attachments\\puncture-kit_b1000000-0000-4000-8000-000000000001.txt");
    std::sort(named.begin(), named.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(named, listed);
    // Nothing outside the account's own files and Attachments\.
    for (const std::wstring& file : FilesBelow(m_folder.Path())) {
        const bool expected = file == L"tessary-sync.exe" || file.rfind(L"temp\\", 0) == 0 ||
                              file == L"Data\\Tessary.xml" || file == L"Data\\Tessary.log" ||
                              file.rfind(L"Data\\reader@example.com\\", 0) == 0;
        EXPECT_TRUE(expected) << file;
    }
    for (const std::wstring& file : FilesBelow(Account())) {
        EXPECT_EQ(std::wstring::npos, file.find(L':')) << file;
        EXPECT_LT(Account().size() + file.size(), size_t(MAX_PATH)) << file;
        const bool inside = file == L"index.db" || file.rfind(L"Attachments\\", 0) == 0 ||
                            (file.size() == 38 && file[1] == L'\\' && file.substr(34) == L".kvd");
        EXPECT_TRUE(inside) << file;
    }
}

}  // namespace
