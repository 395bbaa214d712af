#include "librarydata/Database.h"

#include "foundation/Encoding.h"
#include "foundation/Files.h"
#include "foundation/Global.h"
#include "foundation/MD5.h"
#include "foundation/MessageFormat.h"
#include "foundation/Paths.h"
#include "foundation/Sealing.h"
#include "foundation/Streams.h"
#include "librarydata/AttachmentFileName.h"
#include "librarydata/DataFileCache.h"
#include "librarydata/DatabaseSchema.h"
#include "librarydata/SqlValues.h"

#include <shlwapi.h>

namespace {

// A data file that was replaced or removed must not be served from memory.
void ForgetCachedDataFile(const std::wstring& path)
{
    QelGetDataFileCache()->Remove(path.c_str());
}

std::wstring InsertSql(const wchar_t* table, const wchar_t* columns, const std::wstring& values)
{
    return L"insert into " + std::wstring(table) + L" (" + columns + L") values (" + values + L")";
}

}  // namespace

// The lookup that chooses between insert and update and the row's write form
// one transaction, so a row costs one round of file locks and flushes. Inside
// a transaction the caller opened, the rows simply join it.
class CTessaryDatabase::CWriteTransaction {
public:
    explicit CWriteTransaction(CTessaryDatabase& database)
        : m_database(database), m_joined(!database.m_db.IsAutoCommit()), m_open(!m_joined && database.BeginTransaction())
    {
    }
    ~CWriteTransaction()
    {
        if (m_open)
            m_database.ExecSQL(L"rollback transaction");
    }
    CWriteTransaction(const CWriteTransaction&) = delete;
    CWriteTransaction& operator=(const CWriteTransaction&) = delete;

    BOOL IsReady() const { return m_open || m_joined; }
    BOOL Commit()
    {
        if (m_joined)
            return TRUE;
        if (!m_open)
            return FALSE;
        m_open = FALSE;
        return m_database.CommitTransaction();
    }

private:
    CTessaryDatabase& m_database;
    const BOOL m_joined;
    BOOL m_open;
};

BOOL CTessaryDatabase::UpdateDocument(const TESSARYDOCUMENTDATA& document, IStream* data)
{
    CWriteTransaction transaction(*this);
    if (!transaction.IsReady())
        return FALSE;
    TESSARYDOCUMENTDATA old;
    const BOOL exists = GetDocumentByGuid(document.subscriptionGuid.c_str(), document.documentGuid.c_str(), old);
    const BOOL written = exists ? WriteModifiedDocument(old, document) : WriteNewDocument(document);
    if (!written || !transaction.Commit())
        return FALSE;
    return data ? StoreDocumentData(document, data) : TRUE;
}

BOOL CTessaryDatabase::UpdateAttachment(const TESSARYDOCUMENTATTACHMENTDATA& attachment, IStream* data)
{
    CWriteTransaction transaction(*this);
    if (!transaction.IsReady())
        return FALSE;
    const BOOL exists = AttachmentExists(attachment.subscriptionGuid.c_str(), attachment.attachmentGuid.c_str());
    const BOOL written = exists ? WriteModifiedAttachment(attachment) : WriteNewAttachment(attachment);
    if (!written || !transaction.Commit())
        return FALSE;
    return data ? StoreAttachmentData(attachment, data) : TRUE;
}

BOOL CTessaryDatabase::InsertDocument(const TESSARYDOCUMENTDATA& document, IStream* data)
{
    if (!WriteNewDocument(document))
        return FALSE;
    return data ? StoreDocumentData(document, data) : TRUE;
}

BOOL CTessaryDatabase::ModifyDocument(const TESSARYDOCUMENTDATA& document, IStream* data)
{
    TESSARYDOCUMENTDATA old;
    if (!GetDocumentByGuid(document.subscriptionGuid.c_str(), document.documentGuid.c_str(), old)) {
        TessaryWriteLog(QelFormatString1(L"Failed to get document by guid: %1", document.title.c_str()));
        return FALSE;
    }
    if (!WriteModifiedDocument(old, document))
        return FALSE;
    return data ? StoreDocumentData(document, data) : TRUE;
}

BOOL CTessaryDatabase::InsertAttachment(const TESSARYDOCUMENTATTACHMENTDATA& attachment, IStream* data)
{
    if (!WriteNewAttachment(attachment))
        return FALSE;
    return data ? StoreAttachmentData(attachment, data) : TRUE;
}

BOOL CTessaryDatabase::ModifyAttachment(const TESSARYDOCUMENTATTACHMENTDATA& attachment, IStream* data)
{
    if (!WriteModifiedAttachment(attachment))
        return FALSE;
    return data ? StoreAttachmentData(attachment, data) : TRUE;
}

BOOL CTessaryDatabase::WriteNewDocument(const TESSARYDOCUMENTDATA& document)
{
    const std::wstring values =
        QelSqlString(document.subscriptionGuid.c_str()) + L", " + QelSqlString(document.documentGuid.c_str()) + L", " +
        QelSqlString(document.title.c_str()) + L", " + QelSqlString(document.location.c_str()) + L", " +
        QelSqlTime(document.created) + L", " + QelSqlTime(document.modified) + L", " +
        std::to_wstring(document.iconIndex) + L", " + std::to_wstring(document.attachmentCount) + L", " +
        std::to_wstring(document.indexed) + L", " + std::to_wstring(document.version) + L", " +
        QelSqlString(document.dataMD5.c_str());
    return ExecSQL(InsertSql(kDocumentTable, kDocumentColumns, values).c_str());
}

BOOL CTessaryDatabase::WriteModifiedDocument(const TESSARYDOCUMENTDATA& old, const TESSARYDOCUMENTDATA& document)
{
    // Changed data leaves no stale data file behind, whether or not new data comes.
    if (old.dataMD5 != document.dataMD5) {
        const std::wstring path = GetDocumentFileName(old);
        if (PathFileExistsW(path.c_str()) && !DeleteFileW(path.c_str()))
            TessaryWriteLog(QelFormatString1(L"Failed to delete old document: %1", path.c_str()));
        ForgetCachedDataFile(path);
    }
    const std::wstring sql =
        L"update QEL_READER_DOCUMENT set DOCUMENT_TITLE=" + QelSqlString(document.title.c_str()) +
        L", DOCUMENT_LOCATION=" + QelSqlString(document.location.c_str()) + L", DT_CREATED=" +
        QelSqlTime(document.created) + L", DT_MODIFIED=" + QelSqlTime(document.modified) +
        L", DOCUMENT_ICON_INDEX=" + std::to_wstring(document.iconIndex) + L", DOCUMENT_ATTACHEMENT_COUNT=" +
        std::to_wstring(document.attachmentCount) + L", DOCUMENT_INDEXED=" + std::to_wstring(document.indexed) +
        L", QEL_VERSION=" + std::to_wstring(document.version) + L", DOCUMENT_DATA_MD5=" +
        QelSqlString(document.dataMD5.c_str()) + L" where SUBSCRIPTION_GUID=" +
        QelSqlString(document.subscriptionGuid.c_str()) + L" and DOCUMENT_GUID=" +
        QelSqlString(document.documentGuid.c_str());
    return ExecSQL(sql.c_str());
}

BOOL CTessaryDatabase::WriteNewAttachment(const TESSARYDOCUMENTATTACHMENTDATA& attachment)
{
    const std::wstring values =
        QelSqlString(attachment.subscriptionGuid.c_str()) + L", " + QelSqlString(attachment.attachmentGuid.c_str()) +
        L", " + QelSqlString(attachment.documentGuid.c_str()) + L", " + QelSqlString(attachment.name.c_str()) + L", " +
        QelSqlString(attachment.description.c_str()) + L", " + std::to_wstring(attachment.version) + L", " +
        QelSqlString(attachment.dataMD5.c_str());
    return ExecSQL(InsertSql(kAttachmentTable, kAttachmentColumns, values).c_str());
}

BOOL CTessaryDatabase::WriteModifiedAttachment(const TESSARYDOCUMENTATTACHMENTDATA& attachment)
{
    const std::wstring sql =
        L"update QEL_READER_DOCUMENT_ATTACHMENT set DOCUMENT_GUID=" + QelSqlString(attachment.documentGuid.c_str()) +
        L", ATTACHMENT_NAME=" + QelSqlString(attachment.name.c_str()) + L", ATTACHMENT_DESCRIPTION=" +
        QelSqlString(attachment.description.c_str()) + L", QEL_VERSION=" + std::to_wstring(attachment.version) +
        L", ATTACHMENT_DATA_MD5=" + QelSqlString(attachment.dataMD5.c_str()) + L" where SUBSCRIPTION_GUID=" +
        QelSqlString(attachment.subscriptionGuid.c_str()) + L" and ATTACHMENT_GUID=" +
        QelSqlString(attachment.attachmentGuid.c_str());
    return ExecSQL(sql.c_str());
}

BOOL CTessaryDatabase::StoreDocumentData(const TESSARYDOCUMENTDATA& document, IStream* data)
{
    if (SaveDocumentData(document, data))
        return TRUE;
    ClearDataMD5(kDocumentTable, L"DOCUMENT_GUID", document.subscriptionGuid.c_str(), document.documentGuid.c_str(),
                 L"DOCUMENT_DATA_MD5");
    return FALSE;
}

BOOL CTessaryDatabase::StoreAttachmentData(const TESSARYDOCUMENTATTACHMENTDATA& attachment, IStream* data)
{
    if (SaveAttachmentData(attachment, data))
        return TRUE;
    ClearDataMD5(kAttachmentTable, L"ATTACHMENT_GUID", attachment.subscriptionGuid.c_str(),
                 attachment.attachmentGuid.c_str(), L"ATTACHMENT_DATA_MD5");
    return FALSE;
}

BOOL CTessaryDatabase::ClearDataMD5(const wchar_t* table, const wchar_t* guidColumn, const wchar_t* subscriptionGuid,
                                    const wchar_t* guid, const wchar_t* md5Column)
{
    const std::wstring sql = L"update " + std::wstring(table) + L" set " + md5Column +
                             L"=NULL where SUBSCRIPTION_GUID=" + QelSqlString(subscriptionGuid) + L" and " +
                             guidColumn + L"=" + QelSqlString(guid);
    return ExecSQL(sql.c_str());
}

BOOL CTessaryDatabase::SaveDocumentData(const TESSARYDOCUMENTDATA& document, IStream* data)
{
    if (document.subscriptionGuid.empty() || document.documentGuid.empty()) {
        TessaryWriteLog(QelFormatString1(L"Document SubscriptionGUID or GUID is empty: %1", document.title.c_str()));
        return FALSE;
    }
    // Data files are enciphered under the computer's name, as the reader deciphers them.
    const std::string key = QelGetComputerNameAnsi();
    if (!QelEncryptStream(key.c_str(), data)) {
        TessaryWriteLog(QelFormatString1(L"Failed to encrypt document: %1", document.title.c_str()));
        return FALSE;
    }
    const std::wstring path = GetDocumentFileName(document);
    QelCreateDirectoryTree(QelExtractFilePath(path.c_str()).c_str());
    const BOOL saved = QelSaveStreamToFile(data, path.c_str());
    ForgetCachedDataFile(path);
    if (!saved) {
        TessaryWriteLog(QelFormatString1(L"Failed to save document: %1", document.title.c_str()));
        return FALSE;
    }
    return TRUE;
}

BOOL CTessaryDatabase::SaveAttachmentData(const TESSARYDOCUMENTATTACHMENTDATA& attachment, IStream* data)
{
    if (attachment.subscriptionGuid.empty() || attachment.attachmentGuid.empty()) {
        TessaryWriteLog(QelFormatString1(L"Failed to save attachment: %1", attachment.name.c_str()));
        return FALSE;
    }
    const std::wstring path = GetAttachmentFileName(attachment);
    QelCreateDirectoryTree(QelExtractFilePath(path.c_str()).c_str());
    if (!QelSaveStreamToFile(data, path.c_str())) {
        TessaryWriteLog(QelFormatString1(L"Failed to save attachment: %1", attachment.name.c_str()));
        return FALSE;
    }
    return TRUE;
}

std::wstring CTessaryDatabase::GetDocumentFileName(const wchar_t* subscriptionGuid, const wchar_t* documentGuid) const
{
    if (!documentGuid || !*documentGuid)
        return std::wstring();
    const std::wstring digest =
        QelMD5OfString((std::wstring(documentGuid) + L"_" + (subscriptionGuid ? subscriptionGuid : L"")).c_str());
    return Root() + digest.substr(0, 1) + L"\\" + digest + L".kvd";
}

std::wstring CTessaryDatabase::GetDocumentFileName(const TESSARYDOCUMENTDATA& document) const
{
    return GetDocumentFileName(document.subscriptionGuid.c_str(), document.documentGuid.c_str());
}

std::wstring CTessaryDatabase::GetAttachmentFileName(const TESSARYDOCUMENTATTACHMENTDATA& attachment) const
{
    const std::wstring folder = Root() + L"Attachments\\";
    QelCreateDirectoryTree(folder.c_str());
    return folder + TessaryAttachmentFileName(attachment.name.c_str(), attachment.documentGuid.c_str(), folder.size());
}
