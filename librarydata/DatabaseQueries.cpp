#include "librarydata/Database.h"

#include "foundation/Global.h"
#include "foundation/Strings.h"
#include "foundation/Translations.h"
#include "librarydata/DatabaseSchema.h"
#include "librarydata/RecordOrder.h"
#include "librarydata/SqlText.h"
#include "librarydata/SqlValues.h"

#include <algorithm>
#include <ctime>

namespace {

constexpr wchar_t kQuickViews[] = L"Quick Views";

std::wstring GuidCondition(const wchar_t* guidColumn, const wchar_t* subscriptionGuid, const wchar_t* guid)
{
    return L"SUBSCRIPTION_GUID=" + QelSqlString(subscriptionGuid) + L" and " + guidColumn + L"=" +
           QelSqlString(guid);
}

// The document's location contains the folder's (anywhere) or ends with it. No like pattern:
// SQLite refuses patterns over 50,000 bytes, and a book server decides how long a location is.
// Both forms ignore the letter case of ASCII alone, as like does (lower() knows nothing else
// without ICU), and take "%" and "_" as themselves.
std::wstring LocationCondition(const wchar_t* location, BOOL anywhere)
{
    const std::wstring literal = QelSqlString(location);
    if (anywhere)
        return L"instr(lower(DOCUMENT_LOCATION), lower(" + literal + L")) > 0";
    return L"substr(DOCUMENT_LOCATION, -length(" + literal + L"))=" + literal + L" collate nocase";
}

}  // namespace

BOOL CTessaryDatabase::GetSubscriptions(std::vector<TESSARYSUBSCRIPTIONDATA>& subscriptions)
{
    std::vector<std::wstring> guids;
    // Steps from one book to the next through the key's index instead of
    // reading every document's key.
    const wchar_t* const sql =
        L"with recursive BOOKS(GUID) as (select min(SUBSCRIPTION_GUID) from QEL_READER_DOCUMENT union all "
        L"select (select min(SUBSCRIPTION_GUID) from QEL_READER_DOCUMENT where SUBSCRIPTION_GUID > GUID) "
        L"from BOOKS where GUID is not null) select GUID from BOOKS where GUID is not null";
    if (!SQLToStrings(sql, 0, guids)) {
        TessaryWriteLog(L"Failed to get subscriptions!");
        return FALSE;
    }
    for (const std::wstring& guid : guids) {
        TESSARYSUBSCRIPTIONDATA subscription;
        subscription.guid = guid;
        subscription.name = GetSubscriptionName(guid.c_str());
        subscriptions.push_back(std::move(subscription));
    }
    return TRUE;
}

std::wstring CTessaryDatabase::GetSubscriptionName(const wchar_t* subscriptionGuid)
{
    std::wstring name = subscriptionGuid ? subscriptionGuid : L"";
    GetMeta(subscriptionGuid, L"Subscription", name, subscriptionGuid);
    return name;
}

BOOL CTessaryDatabase::GetLocations(const wchar_t* subscriptionGuid, std::vector<std::wstring>& locations)
{
    const std::wstring sql = L"select distinct DOCUMENT_LOCATION from QEL_READER_DOCUMENT where SUBSCRIPTION_GUID like " +
                             QelSqlLikeString(subscriptionGuid);
    return SQLToStrings(sql.c_str(), 0, locations);
}

BOOL CTessaryDatabase::GetLocationsWithCount(const wchar_t* subscriptionGuid,
                                             std::vector<std::pair<std::wstring, int>>& locations)
{
    const std::wstring sql =
        L"select DOCUMENT_LOCATION, count(*) as DOCUMENT_COUNT from QEL_READER_DOCUMENT where SUBSCRIPTION_GUID like " +
        QelSqlLikeString(subscriptionGuid) + L" group by DOCUMENT_LOCATION order by DOCUMENT_LOCATION";
    return ReadRows(sql.c_str(), [&](const CppSQLite3Query& query) {
        locations.emplace_back(query.GetStringField(0, L""), query.GetIntField(1, 0));
    });
}

BOOL CTessaryDatabase::GetDocumentsByLocation(const wchar_t* subscriptionGuid, const wchar_t* location,
                                              std::vector<TESSARYDOCUMENTDATA>& documents)
{
    // An equality, not a like pattern: SQLite refuses patterns over 50,000 bytes, and a book
    // server decides how long a location is. Both ignore the letter case of ASCII alone.
    const std::wstring condition = L"SUBSCRIPTION_GUID like " + QelSqlLikeString(subscriptionGuid) +
                                   L" and DOCUMENT_LOCATION=" + QelSqlString(location) + L" collate nocase";
    return SQLToDocuments(TessarySelectSql(kDocumentColumns, kDocumentTable, condition.c_str()).c_str(), documents);
}

BOOL CTessaryDatabase::SearchDocuments(const wchar_t* keywords, const wchar_t* location, BOOL locationAnywhere,
                                       std::vector<TESSARYDOCUMENTDATA>& documents)
{
    std::vector<std::wstring> words;
    QelSplitTextCopy(keywords ? keywords : L"", L' ', words);
    QelRemoveBlankItems(words);
    // Nothing to look for finds nothing.
    if (words.empty())
        return TRUE;

    const wchar_t* const searchedColumns[] = {L"DOCUMENT_TITLE"};
    std::wstring condition;
    for (const std::wstring& word : words) {
        std::wstring term;
        for (const wchar_t* column : searchedColumns) {
            if (!term.empty())
                term += L" OR ";
            term += L"(" + std::wstring(column) + L" like " + QelSqlLikeString(word.c_str(), TRUE, TRUE) + L")";
        }
        if (!condition.empty())
            condition += L" AND ";
        condition += L"(" + term + L")";
    }
    if (location && *location)
        condition += L" AND " + LocationCondition(location, locationAnywhere);
    return SQLToDocuments(TessarySelectSql(kDocumentColumns, kDocumentTable, condition.c_str()).c_str(), documents);
}

BOOL CTessaryDatabase::GetQuickViews(std::vector<std::wstring>& names)
{
    names.push_back(QelTranslateText(kQuickViews));
    return TRUE;
}

BOOL CTessaryDatabase::GetQuickViewDocuments(const wchar_t* name, std::vector<TESSARYDOCUMENTDATA>& documents)
{
    if (!name)
        return TRUE;
    if (_wcsicmp(name, kQuickViews) == 0 || _wcsicmp(name, QelTranslateText(kQuickViews).c_str()) == 0)
        return GetRecentDocuments(documents, 50);
    return TRUE;
}

BOOL CTessaryDatabase::GetRecentDocuments(std::vector<TESSARYDOCUMENTDATA>& documents, int limit)
{
    const std::wstring count = std::to_wstring(limit);
    std::vector<TESSARYDOCUMENTDATA> byCreated;
    std::vector<TESSARYDOCUMENTDATA> byModified;
    // A failed read is logged; the other list still counts.
    SQLToDocuments((TessarySelectSql(kDocumentColumns, kDocumentTable) + L" order by DT_CREATED desc limit 0, " + count)
                       .c_str(),
                   byCreated);
    SQLToDocuments((TessarySelectSql(kDocumentColumns, kDocumentTable) + L" order by DT_MODIFIED desc limit 0, " + count)
                       .c_str(),
                   byModified);

    std::vector<TESSARYDOCUMENTDATA> recent = std::move(byModified);
    recent.insert(recent.end(), byCreated.begin(), byCreated.end());
    TessaryRemoveDuplicateDocuments(recent);
    std::sort(recent.begin(), recent.end(), TessaryCompareDocumentDates);
    if (limit >= 0 && recent.size() > static_cast<std::size_t>(limit))
        recent.resize(limit);
    TessaryRemoveOldDocuments(recent, _time64(nullptr));
    documents.insert(documents.end(), recent.begin(), recent.end());
    return TRUE;
}

BOOL CTessaryDatabase::GetAttachments(const TESSARYDOCUMENTDATA& document,
                                      std::vector<TESSARYDOCUMENTATTACHMENTDATA>& attachments)
{
    const std::wstring condition =
        GuidCondition(L"DOCUMENT_GUID", document.subscriptionGuid.c_str(), document.documentGuid.c_str());
    return SQLToAttachments(TessarySelectSql(kAttachmentColumns, kAttachmentTable, condition.c_str()).c_str(),
                            attachments);
}

int CTessaryDatabase::GetAttachmentCount(const TESSARYDOCUMENTDATA& document)
{
    std::vector<TESSARYDOCUMENTATTACHMENTDATA> attachments;
    GetAttachments(document, attachments);
    return static_cast<int>(attachments.size());
}

BOOL CTessaryDatabase::GetDocumentByGuid(const wchar_t* subscriptionGuid, const wchar_t* documentGuid,
                                         TESSARYDOCUMENTDATA& document)
{
    const std::wstring condition = GuidCondition(L"DOCUMENT_GUID", subscriptionGuid, documentGuid);
    std::vector<TESSARYDOCUMENTDATA> documents;
    if (!SQLToDocuments(TessarySelectSql(kDocumentColumns, kDocumentTable, condition.c_str()).c_str(), documents) ||
        documents.empty())
        return FALSE;
    document = documents.front();
    return TRUE;
}

BOOL CTessaryDatabase::GetAttachmentByGuid(const wchar_t* subscriptionGuid, const wchar_t* attachmentGuid,
                                           TESSARYDOCUMENTATTACHMENTDATA& attachment)
{
    const std::wstring condition = GuidCondition(L"ATTACHMENT_GUID", subscriptionGuid, attachmentGuid);
    std::vector<TESSARYDOCUMENTATTACHMENTDATA> attachments;
    if (!SQLToAttachments(TessarySelectSql(kAttachmentColumns, kAttachmentTable, condition.c_str()).c_str(),
                          attachments) ||
        attachments.empty())
        return FALSE;
    attachment = attachments.front();
    return TRUE;
}

BOOL CTessaryDatabase::DocumentExists(const wchar_t* subscriptionGuid, const wchar_t* documentGuid)
{
    TESSARYDOCUMENTDATA document;
    return GetDocumentByGuid(subscriptionGuid, documentGuid, document);
}

BOOL CTessaryDatabase::AttachmentExists(const wchar_t* subscriptionGuid, const wchar_t* attachmentGuid)
{
    TESSARYDOCUMENTATTACHMENTDATA attachment;
    return GetAttachmentByGuid(subscriptionGuid, attachmentGuid, attachment);
}
