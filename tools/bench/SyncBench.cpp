// Sync benchmark: one book of 10,000 documents of about 10 KB (a page and a
// picture each) and 2,000 attachments, synced from the services stand-in into
// a fresh account; then the same requests sent again by a plain WinINet
// client that only reads the answers. Prints documents per second, the ratio
// of the two times, and where the sync spends the rest.
//
// Run under Wine from the build folder, e.g.
//   tools/under-wine.sh build wine build/tools/bench/SyncBench.exe [documents attachments]

#include "ServicesStandIn.h"  // winsock2.h before windows.h

#include "BenchScenario.h"
#include "framework/ComInitialize.h"
#include "foundation/Charsets.h"
#include "foundation/Folders.h"
#include "librarydata/Database.h"
#include "librarydata/HttpServer.h"
#include "librarydata/SyncEngine.h"
#include "librarydata/SubscriptionServers.h"
#include "librarydata/SyncStoreEvents.h"
#include "librarydata/UnZipFile.h"
#include "librarydata/XmlRpcRequest.h"
#include "librarydata/XmlRpcResult.h"

#include <wininet.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

// The store's side of the sync, timed; each document's download is split
// by its progress calls into asking (the request built and sent, the server
// working) and reading, and the time from the last byte to the store is the
// answer's decoding.
class CTimedStore : public CTessarySyncStoreEvents
{
public:
    using CTessarySyncStoreEvents::CTessarySyncStoreEvents;

    int OnHttpProgress(DWORD, DWORD) override
    {
        const double now = m_clock.Now();
        if (m_firstByte == 0)
            m_firstByte = now;
        m_lastByte = now;
        return 0;
    }
    BOOL UpdateDocument(const TESSARYDOCUMENTDATA* document, IStream* data) override
    {
        const double start = m_clock.Now();
        if (data && m_firstByte != 0) {
            asking += m_firstByte - m_lookedUp;
            reading += m_lastByte - m_firstByte;
            decoding += start - m_lastByte;
        }
        const BOOL result = CTessarySyncStoreEvents::UpdateDocument(document, data);
        storing += m_clock.Now() - start;
        ++documents;
        return result;
    }
    BOOL UpdateAttachment(const TESSARYDOCUMENTATTACHMENTDATA* attachment, IStream* data) override
    {
        const double start = m_clock.Now();
        const BOOL result = CTessarySyncStoreEvents::UpdateAttachment(attachment, data);
        storing += m_clock.Now() - start;
        ++attachments;
        return result;
    }
    void GetDocument(const wchar_t* subscriptionGuid, const wchar_t* documentGuid,
                     TESSARYDOCUMENTDATA* document) override
    {
        const double start = m_clock.Now();
        CTessarySyncStoreEvents::GetDocument(subscriptionGuid, documentGuid, document);
        m_lookedUp = m_clock.Now();
        m_firstByte = 0;
        lookups += m_lookedUp - start;
    }
    void GetAttachment(const wchar_t* subscriptionGuid, const wchar_t* attachmentGuid,
                       TESSARYDOCUMENTATTACHMENTDATA* attachment) override
    {
        const double start = m_clock.Now();
        CTessarySyncStoreEvents::GetAttachment(subscriptionGuid, attachmentGuid, attachment);
        lookups += m_clock.Now() - start;
    }
    BOOL SetLocalVersion(const wchar_t* subscriptionGuid, __int64 documentVersion, __int64 attachmentVersion) override
    {
        const double start = m_clock.Now();
        const BOOL result = CTessarySyncStoreEvents::SetLocalVersion(subscriptionGuid, documentVersion,
                                                                     attachmentVersion);
        storing += m_clock.Now() - start;
        return result;
    }
    void OnLog(int level, const wchar_t* text) override
    {
        CTessarySyncStoreEvents::OnLog(level, text);
        if (level > 0)
            fwprintf(stderr, L"sync: %ls\n", text);
    }

    double storing = 0;
    double lookups = 0;
    double asking = 0;
    double reading = 0;
    double decoding = 0;
    unsigned documents = 0;
    unsigned attachments = 0;

private:
    CStopwatch m_clock;
    double m_lookedUp = 0;
    double m_firstByte = 0;
    double m_lastByte = 0;
};

// Building one document data request as the book server client does, alone.
double RequestBuildSeconds(int count)
{
    CStopwatch clock;
    const double start = clock.Now();
    for (int i = 0; i < count; ++i) {
        CQelHttpXmlRpcFormData request(L"subscription.getDocumentData");
        CQelXMLNode members;
        COskanReaderXmlRpcParamGetData param;
        param.token = L"token-0123456789abcdef";
        param.itemGuid = L"d0c00000-0000-4000-8000-000000000001";
        param.subscriptionGuid = L"c0000000-0000-4000-8000-00000000000c";
        if (request.AppendParamNode(L"param/value/struct", members))
            param.AppendMembers(request, members);
        std::string body;
        request.GetBody(body);
    }
    return (clock.Now() - start) / count;
}

// Parsing one document data answer and decoding its data, alone.
double AnswerParseSeconds(const std::wstring& answer, int count)
{
    CStopwatch clock;
    const double start = clock.Now();
    for (int i = 0; i < count; ++i) {
        Microsoft::WRL::ComPtr<IStream> data;
        CreateStreamOnHGlobal(nullptr, TRUE, &data);
        CQelHttpXmlRpcResult result;
        COskanReaderXmlRpcReturnGetDocumentData receiver(data.Get());
        if (!result.LoadFromText(answer.c_str()) || !result.GetResultData(receiver))
            return 0;
    }
    return (clock.Now() - start) / count;
}

// Checking that one document's data is an archive a reader can open (every
// entry unzipped), alone.
double ArchiveCheckSeconds(const std::wstring& answer, int count)
{
    Microsoft::WRL::ComPtr<IStream> data;
    CreateStreamOnHGlobal(nullptr, TRUE, &data);
    CQelHttpXmlRpcResult result;
    COskanReaderXmlRpcReturnGetDocumentData receiver(data.Get());
    if (!data || !result.LoadFromText(answer.c_str()) || !result.GetResultData(receiver))
        return 0;
    CStopwatch clock;
    const double start = clock.Now();
    for (int i = 0; i < count; ++i) {
        if (!QelIsReadableZipArchive(data.Get()))
            return 0;
    }
    return (clock.Now() - start) / count;
}

// The logged requests sent again, one connection per host as the sync holds
// them, each answer read to its end and dropped.
bool Replay(const std::vector<CStandInRequest>& requests, double& seconds, size_t& answerBytes,
            std::string& documentAnswer)
{
    CStopwatch clock;
    const CInternetHandle session(InternetOpenW(L"Replay", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session)
        return false;
    std::map<std::string, CInternetHandle> connections;
    std::vector<char> buffer(1024);
    bool ok = true;
    const double start = clock.Now();
    for (const CStandInRequest& request : requests) {
        CInternetHandle& connection = connections[request.host];
        if (!connection) {
            const std::wstring host(request.host.begin(), request.host.end());
            connection.Attach(
                InternetConnectW(session.Get(), host.c_str(), 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
        }
        const std::wstring verb(request.method.begin(), request.method.end());
        std::string object = request.path;
        const size_t query = request.url.find('?');
        if (query != std::string::npos)
            object += request.url.substr(query);
        const std::wstring wideObject(object.begin(), object.end());
        const CInternetHandle handle(HttpOpenRequestW(connection.Get(), verb.c_str(), wideObject.c_str(), nullptr,
                                                      nullptr, nullptr,
                                                      INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD, 0));
        const wchar_t headers[] = L"Content-Type: text/xml\r\n";
        if (!handle || !HttpSendRequestW(handle.Get(), request.method == "POST" ? headers : nullptr, DWORD(-1),
                                         const_cast<char*>(request.body.data()), DWORD(request.body.size()))) {
            ok = false;
        } else {
            const bool keep = documentAnswer.empty() && request.xmlrpcMethod == "subscription.getDocumentData";
            DWORD read = 0;
            while (InternetReadFile(handle.Get(), buffer.data(), DWORD(buffer.size()), &read) && read > 0) {
                answerBytes += read;
                if (keep)
                    documentAnswer.append(buffer.data(), read);
            }
        }
    }
    seconds = clock.Now() - start;
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    const unsigned documents = argc > 2 ? unsigned(std::atoi(argv[1])) : 10000;
    const unsigned attachments = argc > 2 ? unsigned(std::atoi(argv[2])) : 2000;
    if (documents == 0) {
        fprintf(stderr, "usage: SyncBench.exe [documents attachments], at least one document\n");
        return 1;
    }
    const CComInitialize com;
    CStopwatch clock;

    printf("Building the scenario: %u documents, %u attachments...\n", documents, attachments);
    CServicesStandIn standIn;
    double start = clock.Now();
    if (!standIn.Start(BenchScenario(documents, attachments))) {
        fprintf(stderr, "The stand-in did not start: %s\n", standIn.Error().c_str());
        return 1;
    }
    printf("  stand-in ready after %.1f s\n", clock.Now() - start);

    const std::wstring account = QelGetDataFolder() + L"bench@example.com\\";
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(account), ignored);
    std::filesystem::create_directories(std::filesystem::path(account), ignored);
    CTessaryDatabase database;
    if (!database.Open(account.c_str()) || !database.SetAccountUserName(L"bench@example.com") ||
        !database.SetAccountPassword(L"bench")) {
        fprintf(stderr, "Cannot create the account in %ls\n", account.c_str());
        return 1;
    }

    CTimedStore store(&database);
    start = clock.Now();
    const BOOL synced = TessarySyncAccount(&store, TRUE);
    store.EndRun();
    const double syncSeconds = clock.Now() - start;
    if (!synced) {
        fprintf(stderr, "The sync failed\n");
        return 1;
    }

    const std::vector<CStandInRequest> requests = standIn.Requests();
    double replaySeconds = 0;
    size_t answerBytes = 0;
    std::string documentAnswer;
    if (!Replay(requests, replaySeconds, answerBytes, documentAnswer)) {
        fprintf(stderr, "The plain client failed\n");
        return 1;
    }

    const double documentsPerSecond = store.documents / syncSeconds;
    printf("\nSync of %u documents and %u attachments: %.1f s, %.0f documents/s\n", store.documents,
           store.attachments, syncSeconds, documentsPerSecond);
    printf("The same %zu requests by a plain client: %.1f s (%.1f MB of answers), %.0f documents/s\n",
           requests.size(), replaySeconds, answerBytes / 1048576.0, documents / replaySeconds);
    printf("Ratio sync / transfers alone: %.2f (goal: at most 2)\n", syncSeconds / replaySeconds);
    printf("\nWhere the sync's time goes:\n");
    printf("  transfers (as the plain client measured them)      %6.1f s\n", replaySeconds);
    printf("  storing rows, data files and versions              %6.1f s\n", store.storing);
    printf("  looking up the rows held                           %6.1f s\n", store.lookups);
    printf("  the rest (requests built, answers parsed, lists)   %6.1f s\n",
           syncSeconds - replaySeconds - store.storing - store.lookups);
    printf("Each document's download in the sync:\n");
    printf("  asking (request built and sent, server at work)    %6.2f ms\n", store.asking * 1000 / documents);
    printf("  reading the answer                                 %6.2f ms\n", store.reading * 1000 / documents);
    printf("  parsing the answer and decoding the data           %6.2f ms\n", store.decoding * 1000 / documents);
    printf("  storing                                            %6.2f ms\n", store.storing * 1000 / store.documents);
    printf("  the plain client's whole request                   %6.2f ms\n", replaySeconds * 1000 / requests.size());
    std::wstring answer;
    QelXmlBytesToText(documentAnswer, answer);
    printf("Client pieces alone: a data request built %.2f ms, a %zu-byte answer parsed and decoded %.2f ms, "
           "its archive checked whole %.2f ms\n",
           RequestBuildSeconds(1000) * 1000, documentAnswer.size(), AnswerParseSeconds(answer, 1000) * 1000,
           ArchiveCheckSeconds(answer, 1000) * 1000);
    return 0;
}
