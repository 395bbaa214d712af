// The subscriptions service client (the books an account subscribes to) and
// the book server client (document and attachment lists in pages, and the
// data of one document or attachment).
#pragma once

#include "librarydata/DatabaseRecords.h"
#include "librarydata/SyncEvents.h"
#include "librarydata/XmlRpcServerBase.h"

#include <limits>
#include <string>
#include <vector>

// Items per list page: "CountPerPage" of section "Common" in Tessary.ini
// beside the program, read once per process; missing or below 1 gives 100.
int TessaryGetCountPerPage();
int TessaryReadCountPerPage(const wchar_t* iniPath);

// The version of a list item whose version is no whole number within 64 bits:
// below every real one, so that it moves neither a page's start nor a book's
// version. Such an item can never be stored.
constexpr __int64 TESSARY_INVALID_VERSION = std::numeric_limits<__int64>::min();

// Opens the endpoint's connection unless it is open already.
BOOL TessaryConnectServer(CQelHttpXmlRpcServerBase& server);

struct COskanReaderXmlRpcParamGetSubscriptions : COskanXmlRpcParamToken
{
    int count = 1000;

    BOOL AppendMembers(CQelHttpXmlRpcFormData& request, CQelXMLNode& members) const;
};

// The document and attachment lists: one page from a version on.
struct COskanReaderXmlRpcParamGetList : COskanXmlRpcParamToken
{
    std::wstring subscriptionGuid;
    int count = 0;
    __int64 version = 0;

    BOOL AppendMembers(CQelHttpXmlRpcFormData& request, CQelXMLNode& members) const;
};

// The data of one document ("document_guid") or attachment ("attachment_guid").
struct COskanReaderXmlRpcParamGetData : COskanXmlRpcParamToken
{
    const wchar_t* itemMember = L"document_guid";
    std::wstring itemGuid;
    std::wstring subscriptionGuid;

    BOOL AppendMembers(CQelHttpXmlRpcFormData& request, CQelXMLNode& members) const;
};

class COskanReaderXmlRpcReturnGetSubscribedUsers : public CQelHttpXmlRcpResultData_Strcut,
                                                   public TESSARYSUBSCRIPTIONDATA
{
public:
    BOOL LoadStruct(const CQelHttpXmlRpcStruct& value) override;
};

class COskanReaderXmlRpcReturnGetDocumentList : public CQelHttpXmlRcpResultData_Strcut, public TESSARYDOCUMENTDATA
{
public:
    BOOL LoadStruct(const CQelHttpXmlRpcStruct& value) override;
};

class COskanReaderXmlRpcReturnGetAttachmentList : public CQelHttpXmlRcpResultData_Strcut,
                                                  public TESSARYDOCUMENTATTACHMENTDATA
{
public:
    BOOL LoadStruct(const CQelHttpXmlRpcStruct& value) override;
};

// Decodes one base64 member into the caller's stream.
class COskanReaderXmlRpcReturnGetData : public CQelHttpXmlRcpResultData_Strcut
{
public:
    COskanReaderXmlRpcReturnGetData(const wchar_t* member, const wchar_t* missingMessage, IStream* stream)
        : m_member(member), m_missingMessage(missingMessage), m_stream(stream)
    {
    }
    BOOL LoadStruct(const CQelHttpXmlRpcStruct& value) override;

private:
    const wchar_t* m_member;
    const wchar_t* m_missingMessage;
    IStream* m_stream;
};

class COskanReaderXmlRpcReturnGetDocumentData : public COskanReaderXmlRpcReturnGetData
{
public:
    explicit COskanReaderXmlRpcReturnGetDocumentData(IStream* stream)
        : COskanReaderXmlRpcReturnGetData(L"document_zip_data", L"Failed to get document data!", stream)
    {
    }
};

class COskanReaderXmlRpcReturnGetAttachmentData : public COskanReaderXmlRpcReturnGetData
{
public:
    explicit COskanReaderXmlRpcReturnGetAttachmentData(IStream* stream)
        : COskanReaderXmlRpcReturnGetData(L"attachment_zip_data", L"Failed to get attachment data!", stream)
    {
    }
};

class CTessaryServerBase : public CQelHttpXmlRpcServerBase
{
public:
    CTessaryServerBase(const wchar_t* token, ITessarySyncEvents* events, const wchar_t* agent, const wchar_t* host,
                       INTERNET_PORT port, const wchar_t* path);

    BOOL GetLocalVersion(const wchar_t* subscriptionGuid, __int64& documentVersion, __int64& attachmentVersion);
    BOOL SetLocalVersion(const wchar_t* subscriptionGuid, __int64 documentVersion, __int64 attachmentVersion);

protected:
    // One call whose answer is an array of structs, each loaded by a TReceiver
    // (which is also the record appended to `items`).
    template <class TParam, class TReceiver, class TItem>
    BOOL CallList(const wchar_t* method, const TParam& param, std::vector<TItem>& items);
    // One call whose answer goes to the receiver.
    template <class TParam>
    BOOL CallData(const wchar_t* method, const TParam& param, CQelHttpXmlRcpResultData& receiver);

    ITessarySyncEvents* m_events;
    std::wstring m_token;
};

class CQelSubscriptionsServer : public CTessaryServerBase
{
public:
    CQelSubscriptionsServer(const wchar_t* token, ITessarySyncEvents* events, const wchar_t* host,
                            INTERNET_PORT port, const wchar_t* path);

    // Appends every subscribed book in the service's order.
    BOOL GetSubscriptions(std::vector<TESSARYSUBSCRIPTIONDATA>& books);
};

class CQelSubscriptionServer : public CTessaryServerBase
{
public:
    CQelSubscriptionServer(const wchar_t* token, ITessarySyncEvents* events, const wchar_t* host,
                           INTERNET_PORT port, const wchar_t* path);

    // Every item from version + 1 on, fetched in pages.
    BOOL GetDocumentList(const wchar_t* subscriptionGuid, __int64 version, std::vector<TESSARYDOCUMENTDATA>& items);
    BOOL GetAttachmentList(const wchar_t* subscriptionGuid, __int64 version,
                           std::vector<TESSARYDOCUMENTATTACHMENTDATA>& items);
    // The stream receives the document's zip archive.
    BOOL DownloadDocumentData(const wchar_t* subscriptionGuid, const TESSARYDOCUMENTDATA& document, IStream* stream);
    // The stream receives the attachment file's bytes (the first entry of the
    // zip sent). `readable` is FALSE when the answer came but its data is no
    // zip archive or holds no entry.
    BOOL DownloadAttachmentData(const wchar_t* subscriptionGuid, const TESSARYDOCUMENTATTACHMENTDATA& attachment,
                                IStream* stream, BOOL& readable);

private:
    template <class TReceiver, class TItem>
    BOOL GetPages(const wchar_t* method, const wchar_t* subscriptionGuid, __int64 version, std::vector<TItem>& items);
};
