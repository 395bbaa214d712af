#include "librarydata/SyncEngine.h"

#include "foundation/MessageFormat.h"
#include "foundation/Streams.h"
#include "librarydata/AdList.h"
#include "librarydata/ServiceHosts.h"
#include "librarydata/SubscriptionServers.h"
#include "librarydata/UnZipFile.h"

#include <wrl/client.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

constexpr int kFaultWrongPassword = 301;

enum class EOutcome
{
    Done,      // go on
    Skipped,   // a book or an item left out, the run goes on
    Failed,    // the run ends as failed
    Canceled,  // the user stopped the run
};

// What every book of one run shares.
struct CSyncRun
{
    ITessarySyncEvents* events;
    std::wstring token;
    IStream* stream;
    BOOL downloadAll;
};

void Log(ITessarySyncEvents* events, int level, const wchar_t* text)
{
    events->OnLog(level, text);
}

void Log(ITessarySyncEvents* events, int level, const wchar_t* templateText, const std::wstring& argument)
{
    events->OnLog(level, QelFormatString1(templateText, argument.c_str()).c_str());
}

BOOL ResetStream(IStream* stream)
{
    return QelSeekStreamToBegin(stream) && QelSetStreamSize(stream, 0);
}

// Port 0 and ports beyond 65535 would reach another server than the one named.
BOOL ToPort(DWORD value, INTERNET_PORT& port)
{
    if (value == 0 || value > 0xFFFF)
        return FALSE;
    port = INTERNET_PORT(value);
    return TRUE;
}

const std::wstring& DocumentName(const TESSARYDOCUMENTDATA& document)
{
    return document.title.empty() ? document.documentGuid : document.title;
}

const std::wstring& AttachmentName(const TESSARYDOCUMENTATTACHMENTDATA& attachment)
{
    return attachment.name.empty() ? attachment.attachmentGuid : attachment.name;
}

// The downloaded data, rewound for the store; an empty download is no data at all.
BOOL TakeDownloadedData(IStream* stream)
{
    return QelGetStreamSize(stream) > 0 && QelSeekStreamToBegin(stream);
}

// The book's server, connected, with the book announced; null (logged) when
// its URL is unusable or the server cannot be reached.
std::unique_ptr<CQelSubscriptionServer> ConnectBook(ITessarySyncEvents* events, const std::wstring& token,
                                                    const TESSARYSUBSCRIPTIONDATA& book, int index, int count)
{
    std::wstring host;
    std::wstring path;
    DWORD value = 0;
    INTERNET_PORT port = 0;
    if (!QelXmlRpcGetServerParts(book.serverUrl.c_str(), host, value, path) || !ToPort(value, port)) {
        Log(events, TESSARY_SYNC_LOG_STEP_FAILURE, L"Failed to get database server: %1", book.name);
        return nullptr;
    }
    auto server = std::make_unique<CQelSubscriptionServer>(token.c_str(), events, host.c_str(), port, path.c_str());
    events->OnSubscriptionBegin(book.guid.c_str(), book.name.c_str(), index, count);
    if (!TessaryConnectServer(*server)) {
        Log(events, TESSARY_SYNC_LOG_STEP_FAILURE, L"Failed to connect to database server: %1", host);
        return nullptr;
    }
    return server;
}

// An item the server sent invalid can never be stored: it is logged and
// skipped, so that it does not block its book for ever. A valid item whose
// download or store fails ends its book before the book's version moves past it.
bool IsStorableDocument(ITessarySyncEvents* events, const TESSARYDOCUMENTDATA& document)
{
    if (document.title.empty()) {
        Log(events, TESSARY_SYNC_LOG_ITEM_FAILURE, L"Skipped a document without a title: %1",
            DocumentName(document));
        return false;
    }
    if (document.version == TESSARY_INVALID_VERSION) {
        Log(events, TESSARY_SYNC_LOG_ITEM_FAILURE, L"Skipped a document whose version is not a whole number: %1",
            document.title);
        return false;
    }
    return true;
}

// The document's data into the stream, rewound for the store.
EOutcome DownloadDocument(CQelSubscriptionServer& server, ITessarySyncEvents* events, IStream* stream,
                          const std::wstring& bookGuid, const TESSARYDOCUMENTDATA& document)
{
    if (!ResetStream(stream) || !server.DownloadDocumentData(bookGuid.c_str(), document, stream)) {
        Log(events, TESSARY_SYNC_LOG_ITEM_FAILURE, L"Failed to download document data: %1", document.title);
        return EOutcome::Failed;
    }
    if (!TakeDownloadedData(stream)) {
        Log(events, TESSARY_SYNC_LOG_ITEM_FAILURE, L"Skipped a document without data: %1", document.title);
        return EOutcome::Skipped;
    }
    // Data the reader could not open never replaces what is stored.
    if (!QelIsReadableZipArchive(stream)) {
        Log(events, TESSARY_SYNC_LOG_ITEM_FAILURE, L"Skipped a document whose data is not a readable archive: %1",
            document.title);
        return EOutcome::Skipped;
    }
    if (!QelSeekStreamToBegin(stream)) {
        Log(events, TESSARY_SYNC_LOG_ITEM_FAILURE, L"Failed to download document data: %1", document.title);
        return EOutcome::Failed;
    }
    return EOutcome::Done;
}

EOutcome SyncDocument(CQelSubscriptionServer& server, const CSyncRun& run, const TESSARYSUBSCRIPTIONDATA& book,
                      const TESSARYDOCUMENTDATA& document)
{
    ITessarySyncEvents* events = run.events;
    if (!IsStorableDocument(events, document))
        return EOutcome::Skipped;
    TESSARYDOCUMENTDATA local;
    events->GetDocument(document.subscriptionGuid.c_str(), document.documentGuid.c_str(), &local);
    IStream* data = nullptr;
    if (local.dataMD5 != document.dataMD5 && run.downloadAll) {
        const EOutcome downloaded = DownloadDocument(server, events, run.stream, book.guid, document);
        if (downloaded != EOutcome::Done)
            return downloaded;
        data = run.stream;
    }
    if (!events->UpdateDocument(&document, data)) {
        Log(events, TESSARY_SYNC_LOG_ITEM_FAILURE, L"Failed to update document: %1", document.title);
        return EOutcome::Failed;
    }
    return EOutcome::Done;
}

EOutcome SyncAttachment(CQelSubscriptionServer& server, const CSyncRun& run, const TESSARYSUBSCRIPTIONDATA& book,
                        const TESSARYDOCUMENTATTACHMENTDATA& attachment)
{
    ITessarySyncEvents* events = run.events;
    if (attachment.name.empty()) {
        Log(events, TESSARY_SYNC_LOG_ITEM_FAILURE, L"Skipped an attachment without a name: %1",
            AttachmentName(attachment));
        return EOutcome::Skipped;
    }
    if (attachment.documentGuid.empty()) {
        Log(events, TESSARY_SYNC_LOG_ITEM_FAILURE, L"Skipped an attachment without its document: %1",
            attachment.name);
        return EOutcome::Skipped;
    }
    if (attachment.version == TESSARY_INVALID_VERSION) {
        Log(events, TESSARY_SYNC_LOG_ITEM_FAILURE, L"Skipped an attachment whose version is not a whole number: %1",
            attachment.name);
        return EOutcome::Skipped;
    }
    TESSARYDOCUMENTATTACHMENTDATA local;
    events->GetAttachment(attachment.subscriptionGuid.c_str(), attachment.attachmentGuid.c_str(), &local);
    IStream* data = nullptr;
    if (local.dataMD5 != attachment.dataMD5 && run.downloadAll) {
        BOOL readable = TRUE;
        if (!ResetStream(run.stream) ||
            !server.DownloadAttachmentData(book.guid.c_str(), attachment, run.stream, readable)) {
            if (!readable) {
                Log(events, TESSARY_SYNC_LOG_ITEM_FAILURE,
                    L"Skipped an attachment whose data is not a readable archive: %1", attachment.name);
                return EOutcome::Skipped;
            }
            Log(events, TESSARY_SYNC_LOG_ITEM_FAILURE, L"Failed to download attachment data: %1", attachment.name);
            return EOutcome::Failed;
        }
        // An attachment may be an empty file.
        QelSeekStreamToBegin(run.stream);
        data = run.stream;
    }
    if (!events->UpdateAttachment(&attachment, data)) {
        Log(events, TESSARY_SYNC_LOG_ITEM_FAILURE, L"Failed to update attachment: %1", attachment.name);
        return EOutcome::Failed;
    }
    return EOutcome::Done;
}

// Runs SyncItem over the list; the version rises to the largest version handled.
template <class TItem, class TSyncItem>
EOutcome SyncItems(const CSyncRun& run, const std::vector<TItem>& items, __int64& version, TSyncItem syncItem)
{
    const int count = int(items.size());
    for (int j = 0; j < count; ++j) {
        if (run.events->IsCanceled())
            return EOutcome::Canceled;
        if (syncItem(items[j]) == EOutcome::Failed)
            return EOutcome::Failed;
        run.events->OnStepProgress(j + 1, count);
        version = std::max(version, items[j].version);
    }
    return EOutcome::Done;
}

EOutcome StoreVersions(CQelSubscriptionServer& server, ITessarySyncEvents* events, const std::wstring& bookGuid,
                       __int64 documentVersion, __int64 attachmentVersion)
{
    if (server.SetLocalVersion(bookGuid.c_str(), documentVersion, attachmentVersion))
        return EOutcome::Done;
    Log(events, TESSARY_SYNC_LOG_STEP_FAILURE, L"Failed to set local version!");
    return EOutcome::Failed;
}

EOutcome SyncBook(const CSyncRun& run, const TESSARYSUBSCRIPTIONDATA& book, int index, int count)
{
    ITessarySyncEvents* events = run.events;
    const std::unique_ptr<CQelSubscriptionServer> connected = ConnectBook(events, run.token, book, index, count);
    if (!connected)
        return EOutcome::Skipped;
    CQelSubscriptionServer& server = *connected;

    events->OnStepBegin(TESSARY_SYNC_STEP_GET_LOCAL_VERSION);
    __int64 documentVersion = -1;
    __int64 attachmentVersion = -1;
    if (!server.GetLocalVersion(book.guid.c_str(), documentVersion, attachmentVersion)) {
        Log(events, TESSARY_SYNC_LOG_STEP_FAILURE, L"Failed to get local version!");
        return EOutcome::Skipped;
    }

    events->OnStepBegin(TESSARY_SYNC_STEP_DOCUMENT_LIST);
    std::vector<TESSARYDOCUMENTDATA> documents;
    if (!server.GetDocumentList(book.guid.c_str(), documentVersion, documents)) {
        Log(events, TESSARY_SYNC_LOG_STEP_FAILURE, L"Failed to get documents list!");
        return EOutcome::Failed;
    }
    events->OnStepBegin(TESSARY_SYNC_STEP_SYNC_DOCUMENTS);
    const EOutcome documentsDone = SyncItems(run, documents, documentVersion, [&](const TESSARYDOCUMENTDATA& item) {
        Log(events, TESSARY_SYNC_LOG_PROGRESS, DocumentName(item).c_str());
        return SyncDocument(server, run, book, item);
    });
    if (documentsDone != EOutcome::Done)
        return documentsDone;
    if (StoreVersions(server, events, book.guid, documentVersion, attachmentVersion) == EOutcome::Failed)
        return EOutcome::Failed;

    events->OnStepBegin(TESSARY_SYNC_STEP_ATTACHMENT_LIST);
    std::vector<TESSARYDOCUMENTATTACHMENTDATA> attachments;
    if (!server.GetAttachmentList(book.guid.c_str(), attachmentVersion, attachments)) {
        Log(events, TESSARY_SYNC_LOG_STEP_FAILURE, L"Failed to get attachments list!");
        return EOutcome::Skipped;
    }
    events->OnStepBegin(TESSARY_SYNC_STEP_SYNC_ATTACHMENTS);
    const EOutcome attachmentsDone =
        SyncItems(run, attachments, attachmentVersion, [&](const TESSARYDOCUMENTATTACHMENTDATA& item) {
            Log(events, TESSARY_SYNC_LOG_PROGRESS, AttachmentName(item).c_str());
            return SyncAttachment(server, run, book, item);
        });
    if (attachmentsDone != EOutcome::Done)
        return attachmentsDone;
    return StoreVersions(server, events, book.guid, documentVersion, attachmentVersion);
}

// The subscribed books and the run's stream. FALSE ends the run, with `result`
// as its outcome (TRUE for an account without subscriptions).
BOOL GetSubscribedBooks(COskanAccountsServer& accounts, ITessarySyncEvents* events,
                        std::vector<TESSARYSUBSCRIPTIONDATA>& books, ComPtr<IStream>& stream, BOOL& result)
{
    result = FALSE;
    std::wstring host;
    std::wstring path;
    DWORD value = 0;
    INTERNET_PORT port = 0;
    if (!accounts.GetServerParts(host, value, path) || !ToPort(value, port)) {
        Log(events, TESSARY_SYNC_LOG_STEP_FAILURE, L"Failed to get subscriptions server information!");
        return FALSE;
    }
    CQelSubscriptionsServer subscriptions(accounts.GetToken().c_str(), events, host.c_str(), port, path.c_str());
    events->OnStepBegin(TESSARY_SYNC_STEP_GET_SUBSCRIPTIONS);
    if (!TessaryConnectServer(subscriptions)) {
        Log(events, TESSARY_SYNC_LOG_STEP_FAILURE, L"Failed to connect to subscriptions server!");
        return FALSE;
    }
    if (!subscriptions.GetSubscriptions(books)) {
        Log(events, TESSARY_SYNC_LOG_STEP_FAILURE, L"Failed to get remote users!");
        return FALSE;
    }
    if (books.empty()) {
        Log(events, TESSARY_SYNC_LOG_STEP_FAILURE, L"You are not subscribed to any books in this account.");
        result = TRUE;
        return FALSE;
    }
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream))) {
        Log(events, TESSARY_SYNC_LOG_STEP_FAILURE, L"Failed to create stream!");
        return FALSE;
    }
    return TRUE;
}

BOOL ConnectAndLogin(COskanAccountsServer& accounts, ITessarySyncEvents* events)
{
    events->OnStepBegin(TESSARY_SYNC_STEP_LOGIN);
    if (!TessaryConnectServer(accounts)) {
        Log(events, TESSARY_SYNC_LOG_STEP_FAILURE, L"Failed to connect to accounts server!");
        return FALSE;
    }
    if (!TessaryLoginAccount(accounts, events)) {
        Log(events, TESSARY_SYNC_LOG_STEP_FAILURE, L"Failed to login!");
        return FALSE;
    }
    return TRUE;
}

BOOL FetchOneDocument(COskanAccountsServer& accounts, ITessarySyncEvents* events,
                      const TESSARYDOCUMENTDATA& document)
{
    std::vector<TESSARYSUBSCRIPTIONDATA> books;
    ComPtr<IStream> stream;
    BOOL result = FALSE;
    if (!GetSubscribedBooks(accounts, events, books, stream, result))
        return FALSE;
    const auto book = std::find_if(books.begin(), books.end(), [&](const TESSARYSUBSCRIPTIONDATA& item) {
        return _wcsicmp(item.guid.c_str(), document.subscriptionGuid.c_str()) == 0;
    });
    if (book == books.end()) {
        Log(events, TESSARY_SYNC_LOG_STEP_FAILURE, L"The book of the document is not subscribed: %1",
            document.subscriptionGuid);
        return FALSE;
    }
    const std::unique_ptr<CQelSubscriptionServer> server =
        ConnectBook(events, accounts.GetToken(), *book, int(book - books.begin()), int(books.size()));
    if (!server || !IsStorableDocument(events, document) ||
        DownloadDocument(*server, events, stream.Get(), book->guid, document) != EOutcome::Done)
        return FALSE;
    if (!events->UpdateDocument(&document, stream.Get())) {
        Log(events, TESSARY_SYNC_LOG_ITEM_FAILURE, L"Failed to update document: %1", document.title);
        return FALSE;
    }
    return TRUE;
}

}  // namespace

BOOL TessarySyncAccount(ITessarySyncEvents* events, BOOL downloadAll)
{
    if (!events)
        return FALSE;
    COskanAccountsServer accounts(events, TESSARY_ACCOUNTS_HOST, TESSARY_ACCOUNTS_PORT, TESSARY_ACCOUNTS_PATH);
    if (!ConnectAndLogin(accounts, events))
        return FALSE;
    const BOOL result = TessarySyncSubscriptions(accounts, events, downloadAll);
    accounts.Logout();
    TessaryDownloadAds(L"");
    return result;
}

BOOL TessaryLoginAccount(COskanAccountsServer& accounts, ITessarySyncEvents* events)
{
    // Kept across attempts, so that each question shows the values just refused.
    std::wstring userName;
    std::wstring password;
    for (;;) {
        wchar_t userBuffer[TESSARY_SYNC_ACCOUNT_BUFFER] = {};
        wchar_t passwordBuffer[TESSARY_SYNC_ACCOUNT_BUFFER] = {};
        TessaryCopyToAccountBuffer(userName, userBuffer);
        TessaryCopyToAccountBuffer(password, passwordBuffer);
        events->QueryUserAccount(userBuffer, passwordBuffer);
        userBuffer[TESSARY_SYNC_ACCOUNT_BUFFER - 1] = L'\0';
        passwordBuffer[TESSARY_SYNC_ACCOUNT_BUFFER - 1] = L'\0';
        userName = userBuffer;
        password = passwordBuffer;
        ::SecureZeroMemory(passwordBuffer, sizeof passwordBuffer);
        if (userName.empty() || password.empty()) {
            Log(events, TESSARY_SYNC_LOG_STEP_FAILURE, L"The operation has been canceled at the user's request!");
            return FALSE;
        }
        if (accounts.Login(userName.c_str(), password.c_str(), L"reader"))
            return TRUE;
        if (accounts.GetHttpServer().GetLastFaultCode() != kFaultWrongPassword) {
            Log(events, TESSARY_SYNC_LOG_STEP_FAILURE, L"Login failure!");
            return FALSE;
        }
        Log(events, TESSARY_SYNC_LOG_STEP_FAILURE, L"Invalid user name or password!");
    }
}

BOOL TessarySyncSubscriptions(COskanAccountsServer& accounts, ITessarySyncEvents* events, BOOL downloadAll)
{
    if (!events)
        return FALSE;
    std::vector<TESSARYSUBSCRIPTIONDATA> books;
    ComPtr<IStream> stream;
    BOOL result = FALSE;
    if (!GetSubscribedBooks(accounts, events, books, stream, result))
        return result;
    const CSyncRun run{events, accounts.GetToken(), stream.Get(), downloadAll};
    const int count = int(books.size());
    result = TRUE;
    for (int i = 0; i < count; ++i) {
        if (events->IsCanceled())
            return TRUE;
        switch (SyncBook(run, books[i], i, count)) {
        case EOutcome::Failed:
            // The book keeps its versions and fails again on the next run: a
            // lasting failure there must not keep the books after it from syncing.
            result = FALSE;
            break;
        case EOutcome::Canceled:
            return TRUE;
        case EOutcome::Done:
        case EOutcome::Skipped:
            break;
        }
    }
    return result;
}

BOOL TessarySyncDocument(ITessarySyncEvents* events, const TESSARYDOCUMENTDATA& document)
{
    if (!events)
        return FALSE;
    COskanAccountsServer accounts(events, TESSARY_ACCOUNTS_HOST, TESSARY_ACCOUNTS_PORT, TESSARY_ACCOUNTS_PATH);
    if (!ConnectAndLogin(accounts, events))
        return FALSE;
    const BOOL result = FetchOneDocument(accounts, events, document);
    accounts.Logout();
    return result;
}
