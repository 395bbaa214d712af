#include "librarydata/Database.h"

#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Paths.h"
#include "librarydata/DatabaseSchema.h"
#include "librarydata/RecordOrder.h"
#include "librarydata/SqlValues.h"

#include <sqlite3.h>

#include <algorithm>
#include <ctime>

CTessaryDatabase::~CTessaryDatabase()
{
    Close();
}

BOOL CTessaryDatabase::Open(const wchar_t* folder)
{
    std::wstring path = folder ? folder : L"";
    QelAppendPathSeparator(path);
    path += L"index.db";
    m_fileName = path;
    try {
        m_db.Open(path.c_str());
    } catch (const CppSQLite3Exception& e) {
        return LogSQLiteError(e, L"open database");
    }
    // Queries read the file through a mapping, which spares a read call per
    // page; it belongs to this connection, not to the file, and where no
    // mapping can be had SQLite reads as usual.
    ExecSQL(L"pragma mmap_size=134217728");
    ExecSQL(L"pragma cache_size=-8192");
    for (const TessaryTableDefinition& table : kTessaryTables) {
        if (!CreateTableIfMissing(table.name, table.createSql))
            return FALSE;
    }
    // A file that cannot take an index still serves every query, only slower.
    for (std::size_t i = 0; i < kTessaryIndexCount; ++i)
        ExecSQL(kTessaryIndexes[i]);
    return TRUE;
}

void CTessaryDatabase::Close()
{
    m_db.Close();
}

BOOL CTessaryDatabase::ExecSQL(const wchar_t* sql)
{
    try {
        m_db.ExecuteUpdate(sql);
        return TRUE;
    } catch (const CppSQLite3Exception& e) {
        return LogSQLiteError(e, sql);
    }
}

BOOL CTessaryDatabase::CreateTableIfMissing(const wchar_t* table, const wchar_t* createSql)
{
    try {
        if (m_db.TableExists(table))
            return TRUE;
    } catch (const CppSQLite3Exception& e) {
        return LogSQLiteError(e, L"open database");
    }
    return ExecSQL(createSql);
}

BOOL CTessaryDatabase::LogSQLiteError(const CppSQLite3Exception& e, const wchar_t* sql)
{
    m_lastErrorCode = e.ErrorCode();
    TessaryWriteLog(QelUtf8ToString(e.ErrorMessage()));
    TessaryWriteLog(sql ? sql : L"");
    return FALSE;
}

BOOL CTessaryDatabase::IsLastErrorDamage() const
{
    return m_lastErrorCode == SQLITE_CORRUPT || m_lastErrorCode == SQLITE_NOTADB;
}

__int64 CTessaryDatabase::ReadTimeField(const CppSQLite3Query& query, int field, const wchar_t* column)
{
    try {
        return query.GetTimeField(field, 0);
    } catch (const CppSQLite3Exception&) {
        // An earlier version could store a time that reads back as nothing
        // valid; such a time counts as missing rather than failing the read.
        TessaryWriteLog(QelFormatString2(L"Invalid time in %1 read as missing: %2", column,
                                         query.GetStringField(field, L"").c_str()));
        return _time64(nullptr);
    }
}

BOOL CTessaryDatabase::ReadRows(const wchar_t* sql, const std::function<void(const CppSQLite3Query&)>& readRow)
{
    try {
        CppSQLite3Query query = m_db.ExecuteQuery(sql);
        while (!query.IsEof()) {
            readRow(query);
            query.NextRow();
        }
        return TRUE;
    } catch (const CppSQLite3Exception& e) {
        return LogSQLiteError(e, sql);
    }
}

BOOL CTessaryDatabase::SQLToDocuments(const wchar_t* sql, std::vector<TESSARYDOCUMENTDATA>& documents)
{
    return ReadRows(sql, [&](const CppSQLite3Query& query) {
        TESSARYDOCUMENTDATA document;
        document.subscriptionGuid = query.GetStringField(0, L"");
        document.documentGuid = query.GetStringField(1, L"");
        document.title = query.GetStringField(2, L"");
        document.location = query.GetStringField(3, L"");
        document.created = ReadTimeField(query, 4, L"DT_CREATED");
        document.modified = ReadTimeField(query, 5, L"DT_MODIFIED");
        document.iconIndex = query.GetIntField(6, 0);
        document.attachmentCount = query.GetIntField(7, 0);
        document.indexed = query.GetIntField(8, 0);
        document.version = query.GetInt64Field(9, 0);
        document.dataMD5 = query.GetStringField(10, L"");
        documents.push_back(std::move(document));
    });
}

BOOL CTessaryDatabase::SQLToAttachments(const wchar_t* sql, std::vector<TESSARYDOCUMENTATTACHMENTDATA>& attachments)
{
    const BOOL read = ReadRows(sql, [&](const CppSQLite3Query& query) {
        TESSARYDOCUMENTATTACHMENTDATA attachment;
        attachment.subscriptionGuid = query.GetStringField(0, L"");
        attachment.attachmentGuid = query.GetStringField(1, L"");
        attachment.documentGuid = query.GetStringField(2, L"");
        attachment.name = query.GetStringField(3, L"");
        attachment.description = query.GetStringField(4, L"");
        attachment.version = query.GetInt64Field(5, 0);
        attachment.dataMD5 = query.GetStringField(6, L"");
        attachments.push_back(std::move(attachment));
    });
    if (read)
        std::sort(attachments.begin(), attachments.end(), TessaryCompareAttachmentNames);
    return read;
}

BOOL CTessaryDatabase::SQLToStrings(const wchar_t* sql, int field, std::vector<std::wstring>& strings)
{
    return ReadRows(sql, [&](const CppSQLite3Query& query) { strings.push_back(query.GetStringField(field, L"")); });
}

BOOL CTessaryDatabase::SQLToString(const wchar_t* sql, int field, std::wstring& text)
{
    try {
        CppSQLite3Query query = m_db.ExecuteQuery(sql);
        if (query.IsEof())
            return FALSE;
        text = query.GetStringField(field, L"");
        return TRUE;
    } catch (const CppSQLite3Exception& e) {
        return LogSQLiteError(e, sql);
    }
}

BOOL CTessaryDatabase::SQLToMetas(const wchar_t* sql, std::vector<TESSARYMETADATA>& metas)
{
    return ReadRows(sql, [&](const CppSQLite3Query& query) {
        TESSARYMETADATA meta;
        meta.name = query.GetStringField(0, L"");
        meta.key = query.GetStringField(1, L"");
        meta.value = query.GetStringField(2, L"");
        meta.modified = ReadTimeField(query, 3, L"DT_MODIFIED");
        metas.push_back(std::move(meta));
    });
}

std::wstring CTessaryDatabase::Root() const
{
    return QelExtractFilePath(m_fileName.c_str());
}
