#include "librarydata/SubscriptionServers.h"

#include "librarydata/UnZipFile.h"
#include "foundation/Folders.h"
#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Numbers.h"
#include "foundation/Streams.h"

#include <wrl/client.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

constexpr int kDefaultCountPerPage = 100;

// Replaces an attachment's zip archive in the stream by its first entry,
// whatever its name. `readable` turns FALSE when the bytes are no zip archive
// or hold no entry that can be extracted, which no later request mends.
BOOL UnpackFirstEntry(IStream* stream, BOOL& readable)
{
    readable = TRUE;
    ComPtr<IStream> entry;
    {
        CQelUnZipStream zip;
        if (!QelSeekStreamToBegin(stream))
            return FALSE;
        if (!zip.Open(stream)) {
            readable = FALSE;
            return FALSE;
        }
        entry = QelCreateMemoryStream();
        if (!entry) {
            TessaryWriteLog(L"Failed to create stream!");
            return FALSE;
        }
        BYTE* data = nullptr;
        DWORD size = 0;
        const BOOL extracted = zip.ExtractItem(0, &data, &size);
        const std::unique_ptr<BYTE, decltype(&free)> owned(data, &free);
        readable = extracted;
        if (!extracted || (size != 0 && !QelWriteStream(entry.Get(), data, size))) {
            TessaryWriteLog(L"Failed to extract attachment from zip file!");
            return FALSE;
        }
    }
    return QelCopyStream(entry.Get(), stream);
}

// A missing version stays 0, as the server meant none; one that is there but
// no whole number within 64 bits marks the item invalid.
void ReadVersion(const CQelHttpXmlRpcStruct& value, __int64& version)
{
    if (!value.GetInt64(L"version", version) && value.HasMember(L"version"))
        version = TESSARY_INVALID_VERSION;
}

// The request for the data of one document or attachment of a book.
COskanReaderXmlRpcParamGetData DataRequest(const std::wstring& token, const wchar_t* itemMember,
                                           const std::wstring& itemGuid, const wchar_t* subscriptionGuid)
{
    COskanReaderXmlRpcParamGetData param;
    param.token = token;
    param.itemMember = itemMember;
    param.itemGuid = itemGuid;
    param.subscriptionGuid = subscriptionGuid ? subscriptionGuid : L"";
    return param;
}

}  // namespace

int TessaryReadCountPerPage(const wchar_t* iniPath)
{
    const int count =
        static_cast<int>(GetPrivateProfileIntW(L"Common", L"CountPerPage", kDefaultCountPerPage, iniPath));
    // 0 or less would ask for empty pages for ever.
    return count < 1 ? kDefaultCountPerPage : count;
}

int TessaryGetCountPerPage()
{
    static const int count = TessaryReadCountPerPage((QelGetExeFolder() + L"Tessary.ini").c_str());
    return count;
}

BOOL TessaryConnectServer(CQelHttpXmlRpcServerBase& server)
{
    CQelHttpServer& http = server.GetHttpServer();
    if (http.IsOpen() || http.Open())
        return TRUE;
    TessaryWriteLog(QelFormatString1(L"Failed to connect to server: %1", http.GetServer().c_str()));
    return FALSE;
}

BOOL COskanReaderXmlRpcParamGetSubscriptions::AppendMembers(CQelHttpXmlRpcFormData& request,
                                                            CQelXMLNode& members) const
{
    return COskanXmlRpcParamToken::AppendMembers(request, members) &&
           request.AddStructMemberInt(members, L"count", count);
}

BOOL COskanReaderXmlRpcParamGetList::AppendMembers(CQelHttpXmlRpcFormData& request, CQelXMLNode& members) const
{
    return COskanXmlRpcParamToken::AppendMembers(request, members) &&
           request.AddStructMemberString(members, L"subscription_guid", subscriptionGuid.c_str()) &&
           request.AddStructMemberInt(members, L"count", count) &&
           request.AddStructMemberString(members, L"version", QelInt64ToStr(version).c_str());
}

BOOL COskanReaderXmlRpcParamGetData::AppendMembers(CQelHttpXmlRpcFormData& request, CQelXMLNode& members) const
{
    return request.AddStructMemberString(members, itemMember, itemGuid.c_str()) &&
           request.AddStructMemberString(members, L"subscription_guid", subscriptionGuid.c_str()) &&
           COskanXmlRpcParamToken::AppendMembers(request, members);
}

BOOL COskanReaderXmlRpcReturnGetSubscribedUsers::LoadStruct(const CQelHttpXmlRpcStruct& value)
{
    value.GetString(L"subscription_guid", guid);
    value.GetString(L"subscription_name", name);
    value.GetString(L"server_url", serverUrl);
    return !guid.empty() && !name.empty() && !serverUrl.empty();
}

BOOL COskanReaderXmlRpcReturnGetDocumentList::LoadStruct(const CQelHttpXmlRpcStruct& value)
{
    value.GetString(L"document_guid", documentGuid);
    value.GetString(L"document_category", location);
    value.GetString(L"document_title", title);
    value.GetTime(L"dt_created", created);
    value.GetTime(L"dt_modified", modified);
    value.GetInt(L"document_iconindex", iconIndex);
    value.GetInt(L"document_attachment_count", attachmentCount);
    ReadVersion(value, version);
    value.GetString(L"data_md5", dataMD5);
    return !documentGuid.empty();
}

BOOL COskanReaderXmlRpcReturnGetAttachmentList::LoadStruct(const CQelHttpXmlRpcStruct& value)
{
    value.GetString(L"attachment_guid", attachmentGuid);
    value.GetString(L"attachment_document_guid", documentGuid);
    value.GetString(L"attachment_name", name);
    value.GetString(L"attachment_description", description);
    ReadVersion(value, version);
    value.GetString(L"data_md5", dataMD5);
    return !attachmentGuid.empty();
}

BOOL COskanReaderXmlRpcReturnGetData::LoadStruct(const CQelHttpXmlRpcStruct& value)
{
    if (value.GetBase64(m_member, m_stream))
        return TRUE;
    TessaryWriteLog(m_missingMessage);
    return FALSE;
}

CTessaryServerBase::CTessaryServerBase(const wchar_t* token, ITessarySyncEvents* events, const wchar_t* agent,
                                       const wchar_t* host, INTERNET_PORT port, const wchar_t* path)
    : CQelHttpXmlRpcServerBase(events, agent, host, port, path), m_events(events), m_token(token ? token : L"")
{
}

BOOL CTessaryServerBase::GetLocalVersion(const wchar_t* subscriptionGuid, __int64& documentVersion,
                                         __int64& attachmentVersion)
{
    return m_events->GetLocalVersion(subscriptionGuid, &documentVersion, &attachmentVersion);
}

BOOL CTessaryServerBase::SetLocalVersion(const wchar_t* subscriptionGuid, __int64 documentVersion,
                                         __int64 attachmentVersion)
{
    return m_events->SetLocalVersion(subscriptionGuid, documentVersion, attachmentVersion);
}

template <class TParam, class TReceiver, class TItem>
BOOL CTessaryServerBase::CallList(const wchar_t* method, const TParam& param, std::vector<TItem>& items)
{
    CQelHttpXmlRpcFormData request(method);
    FillRequest(request, param);
    CQelHttpXmlRpcResult result;
    CQelHttpXmlRpcStructArray answer;
    bool ok = false;
    if (!QelHttpXmlRpcPost(m_server, m_path.c_str(), request, m_progress, result)) {
        TessaryWriteLog(L"Failed to call xm-rpc.");
    } else if (!result.GetStructArray(answer)) {
        TessaryWriteLog(L"Failed to get strcut");
    } else {
        ok = true;
        for (const auto& item : answer) {
            TReceiver receiver;
            if (!receiver.LoadStruct(item)) {
                TessaryWriteLog(L"Failed to load struct data!");
                ok = false;
                break;
            }
            items.push_back(static_cast<const TItem&>(receiver));
        }
    }
    if (ok)
        return TRUE;
    OnError(QelFormatString1(L"Failed to call %1", method).c_str());
    return FALSE;
}

template <class TParam>
BOOL CTessaryServerBase::CallData(const wchar_t* method, const TParam& param, CQelHttpXmlRcpResultData& receiver)
{
    CQelHttpXmlRpcFormData request(method);
    FillRequest(request, param);
    if (QelHttpXmlRpcCall(m_server, m_path.c_str(), request, m_progress, receiver))
        return TRUE;
    OnError(QelFormatString1(L"Failed to call %1", method).c_str());
    return FALSE;
}

CQelSubscriptionsServer::CQelSubscriptionsServer(const wchar_t* token, ITessarySyncEvents* events,
                                                 const wchar_t* host, INTERNET_PORT port, const wchar_t* path)
    : CTessaryServerBase(token, events, L"OskanSubscriptionsServer", host, port, path)
{
}

BOOL CQelSubscriptionsServer::GetSubscriptions(std::vector<TESSARYSUBSCRIPTIONDATA>& books)
{
    COskanReaderXmlRpcParamGetSubscriptions param;
    param.token = m_token;
    if (CallList<COskanReaderXmlRpcParamGetSubscriptions, COskanReaderXmlRpcReturnGetSubscribedUsers>(
            L"subscription.getList", param, books))
        return TRUE;
    m_events->OnLog(TESSARY_SYNC_LOG_STEP_FAILURE, L"GetSubscriptions failure!");
    return FALSE;
}

CQelSubscriptionServer::CQelSubscriptionServer(const wchar_t* token, ITessarySyncEvents* events,
                                               const wchar_t* host, INTERNET_PORT port, const wchar_t* path)
    : CTessaryServerBase(token, events, L"OskanSubscriptionServer", host, port, path)
{
}

template <class TReceiver, class TItem>
BOOL CQelSubscriptionServer::GetPages(const wchar_t* method, const wchar_t* subscriptionGuid, __int64 version,
                                      std::vector<TItem>& items)
{
    const int count = TessaryGetCountPerPage();
    // Versions end at the top of their range: there is no page after it.
    constexpr __int64 kLastVersion = std::numeric_limits<__int64>::max();
    __int64 start = version < kLastVersion ? version + 1 : kLastVersion;
    for (;;) {
        if (m_events->IsCanceled())
            return TRUE;
        m_events->OnLog(TESSARY_SYNC_LOG_PROGRESS,
                        QelFormatString1(L"Start Version: %1", QelInt64ToStr(start).c_str()).c_str());
        COskanReaderXmlRpcParamGetList param;
        param.token = m_token;
        param.subscriptionGuid = subscriptionGuid;
        param.count = count;
        param.version = start;
        std::vector<TItem> page;
        if (!CallList<COskanReaderXmlRpcParamGetList, TReceiver>(method, param, page))
            return FALSE;
        const bool full = static_cast<int>(page.size()) >= count;
        // A server that answers a full page of older items would be asked
        // again and again, one version further each time.
        const auto reaches = [start](const TItem& item) { return item.version >= start; };
        if (full && std::none_of(page.begin(), page.end(), reaches)) {
            TessaryWriteLog(QelFormatString2(L"%1: no item of a full page reaches version %2; the list ends here",
                                             method, QelInt64ToStr(start).c_str()));
            return TRUE;
        }
        for (auto& item : page) {
            item.subscriptionGuid = subscriptionGuid;
            start = std::max(start, item.version);
            items.push_back(std::move(item));
        }
        if (!full || start == kLastVersion)
            return TRUE;
        start = start + 1;
    }
}

BOOL CQelSubscriptionServer::GetDocumentList(const wchar_t* subscriptionGuid, __int64 version,
                                             std::vector<TESSARYDOCUMENTDATA>& items)
{
    if (GetPages<COskanReaderXmlRpcReturnGetDocumentList>(L"subscription.getDocumentList", subscriptionGuid, version,
                                                          items))
        return TRUE;
    TessaryWriteLog(L"get document list failure!");
    return FALSE;
}

BOOL CQelSubscriptionServer::GetAttachmentList(const wchar_t* subscriptionGuid, __int64 version,
                                               std::vector<TESSARYDOCUMENTATTACHMENTDATA>& items)
{
    if (GetPages<COskanReaderXmlRpcReturnGetAttachmentList>(L"subscription.getAttachmentList", subscriptionGuid,
                                                            version, items))
        return TRUE;
    TessaryWriteLog(L"get attachment list failure!");
    return FALSE;
}

BOOL CQelSubscriptionServer::DownloadDocumentData(const wchar_t* subscriptionGuid,
                                                  const TESSARYDOCUMENTDATA& document, IStream* stream)
{
    if (!stream) {
        TessaryWriteLog(L"NULL Pointer: DownloadDocumentData::pStream");
        return FALSE;
    }
    const COskanReaderXmlRpcParamGetData param = DataRequest(m_token, L"document_guid", document.documentGuid, subscriptionGuid);
    COskanReaderXmlRpcReturnGetDocumentData receiver(stream);
    if (CallData(L"subscription.getDocumentData", param, receiver))
        return TRUE;
    TessaryWriteLog(L"getDocumentData failure!");
    return FALSE;
}

BOOL CQelSubscriptionServer::DownloadAttachmentData(const wchar_t* subscriptionGuid,
                                                    const TESSARYDOCUMENTATTACHMENTDATA& attachment, IStream* stream,
                                                    BOOL& readable)
{
    readable = TRUE;
    if (!stream) {
        TessaryWriteLog(L"NULL Pointer: DownloadAttachmentData::pStream");
        return FALSE;
    }
    const COskanReaderXmlRpcParamGetData param = DataRequest(m_token, L"attachment_guid", attachment.attachmentGuid, subscriptionGuid);
    COskanReaderXmlRpcReturnGetAttachmentData receiver(stream);
    if (!CallData(L"subscription.getAttachmentData", param, receiver)) {
        TessaryWriteLog(L"getAttachmentData failure!");
        return FALSE;
    }
    if (!UnpackFirstEntry(stream, readable)) {
        TessaryWriteLog(L"Failed to uncompress attachment stream!");
        return FALSE;
    }
    return TRUE;
}
