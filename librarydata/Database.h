#pragma once
// The account's local catalogue: index.db in the account folder, with the
// document data files and attachment files beside it. Every method runs on the
// user-interface thread; SQL failures are logged (message, then the SQL text)
// and reported as FALSE.

#include "librarydata/CppSQLite3.h"
#include "librarydata/DatabaseRecords.h"

#include <objidl.h>
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class CTessaryDatabase {
public:
    CTessaryDatabase() = default;
    CTessaryDatabase(const CTessaryDatabase&) = delete;
    CTessaryDatabase& operator=(const CTessaryDatabase&) = delete;
    ~CTessaryDatabase();

    // Opens (or creates) folder\index.db and creates whichever tables are missing.
    BOOL Open(const wchar_t* folder);
    void Close();

    BOOL ExecSQL(const wchar_t* sql);
    // Groups the writes that follow, until the commit, into one transaction
    // (one round of locks and flushes); each write joins it. FALSE when a
    // transaction is open already or cannot be begun.
    BOOL BeginTransaction();
    // A commit that fails is rolled back, so that each write stands alone again.
    BOOL CommitTransaction();
    BOOL CreateTableIfMissing(const wchar_t* table, const wchar_t* createSql);
    BOOL LogSQLiteError(const CppSQLite3Exception& e, const wchar_t* sql);
    // After a failure: whether SQLite found the file to be no database or a broken one,
    // rather than one it could not open at all (a folder in its place, no access, a lock).
    BOOL IsLastErrorDamage() const;

    // Row readers: append what the query gives; rows read before a failure stay.
    BOOL SQLToDocuments(const wchar_t* sql, std::vector<TESSARYDOCUMENTDATA>& documents);
    BOOL SQLToAttachments(const wchar_t* sql, std::vector<TESSARYDOCUMENTATTACHMENTDATA>& attachments);
    BOOL SQLToStrings(const wchar_t* sql, int field, std::vector<std::wstring>& strings);
    BOOL SQLToString(const wchar_t* sql, int field, std::wstring& text);
    BOOL SQLToMetas(const wchar_t* sql, std::vector<TESSARYMETADATA>& metas);

    // Catalogue queries.
    BOOL GetSubscriptions(std::vector<TESSARYSUBSCRIPTIONDATA>& subscriptions);
    std::wstring GetSubscriptionName(const wchar_t* subscriptionGuid);
    BOOL GetLocations(const wchar_t* subscriptionGuid, std::vector<std::wstring>& locations);
    BOOL GetLocationsWithCount(const wchar_t* subscriptionGuid,
                               std::vector<std::pair<std::wstring, int>>& locations);
    BOOL GetDocumentsByLocation(const wchar_t* subscriptionGuid, const wchar_t* location,
                                std::vector<TESSARYDOCUMENTDATA>& documents);
    // Every blank-separated word must occur in the title; a non-empty location
    // must occur in the document's location (anywhere, or at its end).
    BOOL SearchDocuments(const wchar_t* keywords, const wchar_t* location, BOOL locationAnywhere,
                         std::vector<TESSARYDOCUMENTDATA>& documents);
    BOOL GetQuickViews(std::vector<std::wstring>& names);
    BOOL GetQuickViewDocuments(const wchar_t* name, std::vector<TESSARYDOCUMENTDATA>& documents);
    BOOL GetRecentDocuments(std::vector<TESSARYDOCUMENTDATA>& documents, int limit);
    BOOL GetAttachments(const TESSARYDOCUMENTDATA& document,
                        std::vector<TESSARYDOCUMENTATTACHMENTDATA>& attachments);
    int GetAttachmentCount(const TESSARYDOCUMENTDATA& document);
    BOOL GetDocumentByGuid(const wchar_t* subscriptionGuid, const wchar_t* documentGuid,
                           TESSARYDOCUMENTDATA& document);
    BOOL GetAttachmentByGuid(const wchar_t* subscriptionGuid, const wchar_t* attachmentGuid,
                             TESSARYDOCUMENTATTACHMENTDATA& attachment);
    BOOL DocumentExists(const wchar_t* subscriptionGuid, const wchar_t* documentGuid);
    BOOL AttachmentExists(const wchar_t* subscriptionGuid, const wchar_t* attachmentGuid);

    // Rows and their files. A row whose file cannot be written keeps no data
    // MD5, so that the next sync fetches the data again.
    BOOL UpdateDocument(const TESSARYDOCUMENTDATA& document, IStream* data);
    BOOL UpdateAttachment(const TESSARYDOCUMENTATTACHMENTDATA& attachment, IStream* data);
    BOOL InsertDocument(const TESSARYDOCUMENTDATA& document, IStream* data);
    BOOL ModifyDocument(const TESSARYDOCUMENTDATA& document, IStream* data);
    BOOL InsertAttachment(const TESSARYDOCUMENTATTACHMENTDATA& attachment, IStream* data);
    BOOL ModifyAttachment(const TESSARYDOCUMENTATTACHMENTDATA& attachment, IStream* data);
    // Enciphers the stream in place, then writes it to the document's data file.
    BOOL SaveDocumentData(const TESSARYDOCUMENTDATA& document, IStream* data);
    BOOL SaveAttachmentData(const TESSARYDOCUMENTATTACHMENTDATA& attachment, IStream* data);
    std::wstring GetDocumentFileName(const wchar_t* subscriptionGuid, const wchar_t* documentGuid) const;
    std::wstring GetDocumentFileName(const TESSARYDOCUMENTDATA& document) const;
    // Creates the Attachments folder when it is missing.
    std::wstring GetAttachmentFileName(const TESSARYDOCUMENTATTACHMENTDATA& attachment) const;

    // Meta values; names and keys are upper-cased before every read and write.
    BOOL GetMeta(const wchar_t* name, const wchar_t* key, std::wstring& value, const wchar_t* defaultValue,
                 BOOL* found = nullptr);
    std::wstring GetMeta(const wchar_t* name, const wchar_t* key, const wchar_t* defaultValue);
    BOOL SetMeta(const wchar_t* name, const wchar_t* key, const wchar_t* value);
    BOOL GetAllMetas(std::vector<TESSARYMETADATA>& metas);
    BOOL GetMetasByName(const wchar_t* name, std::vector<TESSARYMETADATA>& metas);

    BOOL SetSubscriptionName(const wchar_t* subscriptionGuid, const wchar_t* name);
    // A book never synced gives -1 for both versions.
    BOOL GetLocalVersion(const wchar_t* subscriptionGuid, __int64& documentVersion, __int64& attachmentVersion);
    BOOL SetLocalVersion(const wchar_t* subscriptionGuid, __int64 documentVersion, __int64 attachmentVersion);
    std::wstring GetAccountUserName();
    BOOL SetAccountUserName(const wchar_t* userName);
    std::wstring GetAccountPassword();
    BOOL SetAccountPassword(const wchar_t* password);
    BOOL GetDownloadAll();
    BOOL SetDownloadAll(BOOL downloadAll);

private:
    class CWriteTransaction;

    // Runs the query and hands each row to readRow; the rows read before a
    // failure stay read, and the failure is logged.
    BOOL ReadRows(const wchar_t* sql, const std::function<void(const CppSQLite3Query&)>& readRow);

    // The row statements alone; the callers handle the data and its failure.
    BOOL WriteNewDocument(const TESSARYDOCUMENTDATA& document);
    BOOL WriteModifiedDocument(const TESSARYDOCUMENTDATA& old, const TESSARYDOCUMENTDATA& document);
    BOOL WriteNewAttachment(const TESSARYDOCUMENTATTACHMENTDATA& attachment);
    BOOL WriteModifiedAttachment(const TESSARYDOCUMENTATTACHMENTDATA& attachment);
    // Saves the data of a row just written; when that fails the row loses its data MD5.
    BOOL StoreDocumentData(const TESSARYDOCUMENTDATA& document, IStream* data);
    BOOL StoreAttachmentData(const TESSARYDOCUMENTATTACHMENTDATA& attachment, IStream* data);
    __int64 ReadTimeField(const CppSQLite3Query& query, int field, const wchar_t* column);
    BOOL ClearDataMD5(const wchar_t* table, const wchar_t* guidColumn, const wchar_t* subscriptionGuid,
                      const wchar_t* guid, const wchar_t* md5Column);
    std::wstring Root() const;

    std::wstring m_fileName;
    CppSQLite3DB m_db;
    int m_lastErrorCode = 0;
};
