#include "librarydata/CppSQLite3.h"

#include "librarydata/SqlValues.h"

#include <sqlite3.h>

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <utility>

namespace {

[[noreturn]] void ThrowWrapperError(const char* detail)
{
    throw CppSQLite3Exception(CPPSQLITE_ERROR, detail);
}

// Column names compare case-sensitively, as SQLite reports them.
bool SameName(const char* a, const char* b)
{
    return a && b && strcmp(a, b) == 0;
}

}  // namespace

// ---------------------------------------------------------------- exception

CppSQLite3Exception::CppSQLite3Exception(int errorCode, char* detail, bool releaseDetail)
    : CppSQLite3Exception(errorCode, static_cast<const char*>(detail))
{
    if (releaseDetail && detail)
        sqlite3_free(detail);
}

CppSQLite3Exception::CppSQLite3Exception(int errorCode, const char* detail) : m_errorCode(errorCode)
{
    char* text = sqlite3_mprintf("%s[%d]: %s", ErrorCodeAsString(errorCode), errorCode, detail ? detail : "");
    if (text) {
        m_message = text;
        sqlite3_free(text);
    }
}

const char* CppSQLite3Exception::ErrorCodeAsString(int errorCode)
{
    static const char* const names[] = {
        "SQLITE_OK",       "SQLITE_ERROR",    "SQLITE_INTERNAL", "SQLITE_PERM",     "SQLITE_ABORT",
        "SQLITE_BUSY",     "SQLITE_LOCKED",   "SQLITE_NOMEM",    "SQLITE_READONLY", "SQLITE_INTERRUPT",
        "SQLITE_IOERR",    "SQLITE_CORRUPT",  "SQLITE_NOTFOUND", "SQLITE_FULL",     "SQLITE_CANTOPEN",
        "SQLITE_PROTOCOL", "SQLITE_EMPTY",    "SQLITE_SCHEMA",   "SQLITE_TOOBIG",   "SQLITE_CONSTRAINT",
        "SQLITE_MISMATCH", "SQLITE_MISUSE",   "SQLITE_NOLFS",    "SQLITE_AUTH",     "SQLITE_FORMAT",
        "SQLITE_RANGE",
    };
    if (errorCode >= 0 && errorCode < static_cast<int>(sizeof(names) / sizeof(names[0])))
        return names[errorCode];
    switch (errorCode) {
    case 100: return "SQLITE_ROW";
    case 101: return "SQLITE_DONE";
    case CPPSQLITE_ERROR: return "CPPSQLITE_ERROR";
    default: return "UNKNOWN_ERROR";
    }
}

// ---------------------------------------------------------------- query

CppSQLite3Query::CppSQLite3Query(sqlite3* db, sqlite3_stmt* statement, bool eof, bool ownStatement)
    : m_db(db), m_statement(statement), m_eof(eof), m_columns(sqlite3_column_count(statement)),
      m_ownStatement(ownStatement)
{
}

CppSQLite3Query::CppSQLite3Query(CppSQLite3Query&& other) noexcept
    : m_db(other.m_db), m_statement(std::exchange(other.m_statement, nullptr)), m_eof(other.m_eof),
      m_columns(other.m_columns), m_ownStatement(other.m_ownStatement)
{
}

CppSQLite3Query& CppSQLite3Query::operator=(CppSQLite3Query&& other) noexcept
{
    if (this != &other) {
        Release();
        m_db = other.m_db;
        m_statement = std::exchange(other.m_statement, nullptr);
        m_eof = other.m_eof;
        m_columns = other.m_columns;
        m_ownStatement = other.m_ownStatement;
    }
    return *this;
}

CppSQLite3Query::~CppSQLite3Query()
{
    Release();
}

void CppSQLite3Query::Release() noexcept
{
    if (m_statement && m_ownStatement)
        sqlite3_finalize(m_statement);
    m_statement = nullptr;
}

void CppSQLite3Query::CheckStatement() const
{
    if (!m_statement)
        ThrowWrapperError("Null Virtual Machine pointer");
}

void CppSQLite3Query::CheckField(int field) const
{
    CheckStatement();
    if (field < 0 || field >= m_columns)
        ThrowWrapperError("Invalid field index requested");
}

int CppSQLite3Query::FieldCount() const
{
    CheckStatement();
    return m_columns;
}

int CppSQLite3Query::FieldIndex(const char* name) const
{
    CheckStatement();
    for (int field = 0; name && field < m_columns; ++field) {
        if (SameName(name, sqlite3_column_name(m_statement, field)))
            return field;
    }
    ThrowWrapperError("Invalid field name requested");
}

const char* CppSQLite3Query::FieldName(int field) const
{
    CheckField(field);
    return sqlite3_column_name(m_statement, field);
}

std::wstring CppSQLite3Query::FieldWideName(int field) const
{
    CheckField(field);
    const void* name = sqlite3_column_name16(m_statement, field);
    return name ? std::wstring(static_cast<const wchar_t*>(name)) : std::wstring();
}

const char* CppSQLite3Query::FieldDeclType(int field) const
{
    CheckField(field);
    return sqlite3_column_decltype(m_statement, field);
}

int CppSQLite3Query::FieldDataType(int field) const
{
    CheckField(field);
    return sqlite3_column_type(m_statement, field);
}

int CppSQLite3Query::FieldBytes(int field) const
{
    CheckField(field);
    return sqlite3_column_bytes(m_statement, field);
}

const char* CppSQLite3Query::FieldValue(int field) const
{
    CheckField(field);
    return reinterpret_cast<const char*>(sqlite3_column_text(m_statement, field));
}

const char* CppSQLite3Query::FieldValue(const char* name) const
{
    return FieldValue(FieldIndex(name));
}

bool CppSQLite3Query::FieldIsNull(int field) const
{
    return FieldDataType(field) == SQLITE_NULL;
}

bool CppSQLite3Query::FieldIsNull(const char* name) const
{
    return FieldIsNull(FieldIndex(name));
}

int CppSQLite3Query::GetIntField(int field, int defaultValue) const
{
    return FieldIsNull(field) ? defaultValue : sqlite3_column_int(m_statement, field);
}

int CppSQLite3Query::GetIntField(const char* name, int defaultValue) const
{
    return GetIntField(FieldIndex(name), defaultValue);
}

__int64 CppSQLite3Query::GetInt64Field(int field, __int64 defaultValue) const
{
    return FieldIsNull(field) ? defaultValue : sqlite3_column_int64(m_statement, field);
}

__int64 CppSQLite3Query::GetInt64Field(const char* name, __int64 defaultValue) const
{
    return GetInt64Field(FieldIndex(name), defaultValue);
}

double CppSQLite3Query::GetFloatField(int field, double defaultValue) const
{
    return FieldIsNull(field) ? defaultValue : sqlite3_column_double(m_statement, field);
}

double CppSQLite3Query::GetFloatField(const char* name, double defaultValue) const
{
    return GetFloatField(FieldIndex(name), defaultValue);
}

bool CppSQLite3Query::GetBoolField(int field, bool defaultValue) const
{
    return GetIntField(field, defaultValue ? 1 : 0) != 0;
}

bool CppSQLite3Query::GetBoolField(const char* name, bool defaultValue) const
{
    return GetBoolField(FieldIndex(name), defaultValue);
}

std::wstring CppSQLite3Query::GetStringField(int field, const wchar_t* defaultValue) const
{
    if (FieldIsNull(field))
        return defaultValue ? defaultValue : L"";
    const void* text = sqlite3_column_text16(m_statement, field);
    const int bytes = sqlite3_column_bytes16(m_statement, field);
    return text ? std::wstring(static_cast<const wchar_t*>(text), bytes / sizeof(wchar_t)) : std::wstring();
}

std::wstring CppSQLite3Query::GetStringField(const char* name, const wchar_t* defaultValue) const
{
    return GetStringField(FieldIndex(name), defaultValue);
}

const char* CppSQLite3Query::GetTextField(int field, const char* defaultValue) const
{
    if (FieldIsNull(field))
        return defaultValue;
    return reinterpret_cast<const char*>(sqlite3_column_text(m_statement, field));
}

const char* CppSQLite3Query::GetTextField(const char* name, const char* defaultValue) const
{
    return GetTextField(FieldIndex(name), defaultValue);
}

const BYTE* CppSQLite3Query::GetBlobField(int field, int& length) const
{
    CheckField(field);
    const BYTE* bytes = static_cast<const BYTE*>(sqlite3_column_blob(m_statement, field));
    length = sqlite3_column_bytes(m_statement, field);
    return bytes;
}

const BYTE* CppSQLite3Query::GetBlobField(const char* name, int& length) const
{
    return GetBlobField(FieldIndex(name), length);
}

__int64 CppSQLite3Query::GetTimeField(int field, __int64 defaultValue) const
{
    const std::wstring text = GetStringField(field, L"");
    if (text.empty())
        return defaultValue == 0 ? static_cast<__int64>(_time64(nullptr)) : defaultValue;
    return QelSqlTextToTime(text.c_str());
}

__int64 CppSQLite3Query::GetTimeField(const char* name, __int64 defaultValue) const
{
    return GetTimeField(FieldIndex(name), defaultValue);
}

COLORREF CppSQLite3Query::GetColorField(int field, COLORREF defaultValue) const
{
    const std::wstring text = GetStringField(field, L"");
    return text.empty() ? defaultValue : QelHexToColor(text.c_str());
}

COLORREF CppSQLite3Query::GetColorField(const char* name, COLORREF defaultValue) const
{
    return GetColorField(FieldIndex(name), defaultValue);
}

bool CppSQLite3Query::IsEof() const
{
    CheckStatement();
    return m_eof;
}

void CppSQLite3Query::NextRow()
{
    CheckStatement();
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_DONE) {
        m_eof = true;
        return;
    }
    if (result == SQLITE_ROW)
        return;
    // A statement that a compiled statement lends is reset, not finalised: its owner finalises it.
    const int code = m_ownStatement ? sqlite3_finalize(m_statement) : sqlite3_reset(m_statement);
    m_statement = nullptr;
    throw CppSQLite3Exception(code, sqlite3_errmsg(m_db));
}

void CppSQLite3Query::Finalize()
{
    if (m_statement && m_ownStatement) {
        const int result = sqlite3_finalize(m_statement);
        m_statement = nullptr;
        if (result != SQLITE_OK)
            throw CppSQLite3Exception(result, sqlite3_errmsg(m_db));
    }
}

// ---------------------------------------------------------------- table

CppSQLite3Table::CppSQLite3Table(char** results, int rows, int columns)
    : m_columns(columns), m_rows(rows), m_results(results)
{
}

CppSQLite3Table::CppSQLite3Table(CppSQLite3Table&& other) noexcept
    : m_columns(other.m_columns), m_rows(other.m_rows), m_currentRow(other.m_currentRow),
      m_results(std::exchange(other.m_results, nullptr))
{
}

CppSQLite3Table& CppSQLite3Table::operator=(CppSQLite3Table&& other) noexcept
{
    if (this != &other) {
        if (m_results)
            sqlite3_free_table(m_results);
        m_columns = other.m_columns;
        m_rows = other.m_rows;
        m_currentRow = other.m_currentRow;
        m_results = std::exchange(other.m_results, nullptr);
    }
    return *this;
}

CppSQLite3Table::~CppSQLite3Table()
{
    if (m_results)
        sqlite3_free_table(m_results);
}

void CppSQLite3Table::CheckResults() const
{
    if (!m_results)
        ThrowWrapperError("Null Results pointer");
}

int CppSQLite3Table::IndexOf(const char* name) const
{
    CheckResults();
    for (int field = 0; name && field < m_columns; ++field) {
        if (SameName(name, m_results[field]))
            return field;
    }
    ThrowWrapperError("Invalid field name requested");
}

const char* CppSQLite3Table::Cell(int field) const
{
    CheckResults();
    if (field < 0 || field >= m_columns)
        ThrowWrapperError("Invalid field index requested");
    return m_results[(m_currentRow + 1) * m_columns + field];
}

int CppSQLite3Table::FieldCount() const
{
    CheckResults();
    return m_columns;
}

int CppSQLite3Table::RowCount() const
{
    CheckResults();
    return m_rows;
}

const char* CppSQLite3Table::FieldName(int field) const
{
    CheckResults();
    if (field < 0 || field >= m_columns)
        ThrowWrapperError("Invalid field index requested");
    return m_results[field];
}

const char* CppSQLite3Table::FieldValue(int field) const
{
    return Cell(field);
}

const char* CppSQLite3Table::FieldValue(const char* name) const
{
    return Cell(IndexOf(name));
}

int CppSQLite3Table::GetIntField(int field, int defaultValue) const
{
    const char* cell = Cell(field);
    return cell ? atoi(cell) : defaultValue;
}

int CppSQLite3Table::GetIntField(const char* name, int defaultValue) const
{
    return GetIntField(IndexOf(name), defaultValue);
}

double CppSQLite3Table::GetFloatField(int field, double defaultValue) const
{
    const char* cell = Cell(field);
    return cell ? atof(cell) : defaultValue;
}

double CppSQLite3Table::GetFloatField(const char* name, double defaultValue) const
{
    return GetFloatField(IndexOf(name), defaultValue);
}

const char* CppSQLite3Table::GetStringField(int field, const char* defaultValue) const
{
    const char* cell = Cell(field);
    return cell ? cell : defaultValue;
}

const char* CppSQLite3Table::GetStringField(const char* name, const char* defaultValue) const
{
    return GetStringField(IndexOf(name), defaultValue);
}

bool CppSQLite3Table::FieldIsNull(int field) const
{
    return Cell(field) == nullptr;
}

bool CppSQLite3Table::FieldIsNull(const char* name) const
{
    return FieldIsNull(IndexOf(name));
}

void CppSQLite3Table::SetRow(int row)
{
    CheckResults();
    if (row < 0 || row >= m_rows)
        ThrowWrapperError("Invalid row index requested");
    m_currentRow = row;
}

void CppSQLite3Table::Finalize()
{
    if (m_results) {
        sqlite3_free_table(m_results);
        m_results = nullptr;
    }
}

// ---------------------------------------------------------------- statement

CppSQLite3Statement::CppSQLite3Statement(sqlite3* db, sqlite3_stmt* statement) : m_db(db), m_statement(statement)
{
}

CppSQLite3Statement::CppSQLite3Statement(CppSQLite3Statement&& other) noexcept
    : m_db(other.m_db), m_statement(std::exchange(other.m_statement, nullptr))
{
}

CppSQLite3Statement& CppSQLite3Statement::operator=(CppSQLite3Statement&& other) noexcept
{
    if (this != &other) {
        if (m_statement)
            sqlite3_finalize(m_statement);
        m_db = other.m_db;
        m_statement = std::exchange(other.m_statement, nullptr);
    }
    return *this;
}

CppSQLite3Statement::~CppSQLite3Statement()
{
    if (m_statement)
        sqlite3_finalize(m_statement);
}

void CppSQLite3Statement::Check() const
{
    if (!m_db)
        ThrowWrapperError("Database not open");
    if (!m_statement)
        ThrowWrapperError("Null Virtual Machine pointer");
}

int CppSQLite3Statement::ExecuteUpdate()
{
    Check();
    if (sqlite3_step(m_statement) != SQLITE_DONE) {
        const int result = sqlite3_reset(m_statement);
        throw CppSQLite3Exception(result, sqlite3_errmsg(m_db));
    }
    const int changes = sqlite3_changes(m_db);
    const int result = sqlite3_reset(m_statement);
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, sqlite3_errmsg(m_db));
    return changes;
}

CppSQLite3Query CppSQLite3Statement::ExecuteQuery()
{
    Check();
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_DONE || result == SQLITE_ROW)
        return CppSQLite3Query(m_db, m_statement, result == SQLITE_DONE, false);
    const int code = sqlite3_reset(m_statement);
    throw CppSQLite3Exception(code, sqlite3_errmsg(m_db));
}

void CppSQLite3Statement::BindText(int parameter, const char* text)
{
    Check();
    const int result = sqlite3_bind_text(m_statement, parameter, text, -1, SQLITE_TRANSIENT);
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, "Error binding string param");
}

void CppSQLite3Statement::BindInt(int parameter, int value)
{
    Check();
    const int result = sqlite3_bind_int(m_statement, parameter, value);
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, "Error binding int param");
}

void CppSQLite3Statement::BindDouble(int parameter, double value)
{
    Check();
    const int result = sqlite3_bind_double(m_statement, parameter, value);
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, "Error binding double param");
}

void CppSQLite3Statement::BindBlob(int parameter, const BYTE* bytes, int length)
{
    Check();
    const int result = sqlite3_bind_blob(m_statement, parameter, bytes, length, SQLITE_TRANSIENT);
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, "Error binding blob param");
}

void CppSQLite3Statement::BindNull(int parameter)
{
    Check();
    const int result = sqlite3_bind_null(m_statement, parameter);
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, "Error binding NULL param");
}

void CppSQLite3Statement::Reset()
{
    Check();
    const int result = sqlite3_reset(m_statement);
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, sqlite3_errmsg(m_db));
}

void CppSQLite3Statement::Finalize()
{
    Check();
    const int result = sqlite3_finalize(m_statement);
    m_statement = nullptr;
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, sqlite3_errmsg(m_db));
}

// ---------------------------------------------------------------- connection

CppSQLite3DB::~CppSQLite3DB()
{
    Close();
}

void CppSQLite3DB::Open(const char* path)
{
    Close();
    const int result = sqlite3_open(path, &m_db);
    if (result != SQLITE_OK) {
        const std::string message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(result);
        Close();
        throw CppSQLite3Exception(result, message.c_str());
    }
    SetBusyTimeout(m_busyTimeoutMs);
}

void CppSQLite3DB::Open(const wchar_t* path)
{
    Open(QelStringToUtf8(path).c_str());
}

void CppSQLite3DB::Close()
{
    if (m_db) {
        sqlite3_close(m_db);
        m_db = nullptr;
    }
}

bool CppSQLite3DB::IsAutoCommit() const
{
    return !m_db || sqlite3_get_autocommit(m_db) != 0;
}

void CppSQLite3DB::CheckDB() const
{
    if (!m_db)
        ThrowWrapperError("Database not open");
}

bool CppSQLite3DB::TableExists(const char* name)
{
    const std::wstring literal = QelSqlString(QelUtf8ToString(name).c_str());
    const std::wstring sql = L"select count(*) from sqlite_master where type='table' and name=" + literal;
    return ExecuteScalar(sql.c_str()) > 0;
}

bool CppSQLite3DB::TableExists(const wchar_t* name)
{
    return TableExists(QelStringToUtf8(name).c_str());
}

int CppSQLite3DB::ExecuteUpdate(const char* sql)
{
    CheckDB();
    char* error = nullptr;
    const int result = sqlite3_exec(m_db, sql, nullptr, nullptr, &error);
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, error, true);
    return sqlite3_changes(m_db);
}

int CppSQLite3DB::ExecuteUpdate(const wchar_t* sql)
{
    return ExecuteUpdate(QelStringToUtf8(sql).c_str());
}

CppSQLite3Query CppSQLite3DB::ExecuteQuery(const char* sql)
{
    CheckDB();
    sqlite3_stmt* statement = Prepare(sql);
    const int result = sqlite3_step(statement);
    if (result == SQLITE_DONE || result == SQLITE_ROW)
        return CppSQLite3Query(m_db, statement, result == SQLITE_DONE);
    const int code = sqlite3_finalize(statement);
    throw CppSQLite3Exception(code, sqlite3_errmsg(m_db));
}

CppSQLite3Query CppSQLite3DB::ExecuteQuery(const wchar_t* sql)
{
    return ExecuteQuery(QelStringToUtf8(sql).c_str());
}

int CppSQLite3DB::ExecuteScalar(const char* sql)
{
    CppSQLite3Query query = ExecuteQuery(sql);
    if (query.IsEof() || query.FieldCount() < 1)
        ThrowWrapperError("Invalid scalar query");
    const char* value = query.FieldValue(0);
    return value ? atoi(value) : 0;
}

int CppSQLite3DB::ExecuteScalar(const wchar_t* sql)
{
    return ExecuteScalar(QelStringToUtf8(sql).c_str());
}

CppSQLite3Table CppSQLite3DB::GetTable(const char* sql)
{
    CheckDB();
    char** results = nullptr;
    int rows = 0;
    int columns = 0;
    char* error = nullptr;
    const int result = sqlite3_get_table(m_db, sql, &results, &rows, &columns, &error);
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, error, true);
    return CppSQLite3Table(results, rows, columns);
}

CppSQLite3Table CppSQLite3DB::GetTable(const wchar_t* sql)
{
    return GetTable(QelStringToUtf8(sql).c_str());
}

CppSQLite3Statement CppSQLite3DB::CompileStatement(const char* sql)
{
    CheckDB();
    return CppSQLite3Statement(m_db, Prepare(sql));
}

CppSQLite3Statement CppSQLite3DB::CompileStatement(const wchar_t* sql)
{
    return CompileStatement(QelStringToUtf8(sql).c_str());
}

__int64 CppSQLite3DB::LastRowId()
{
    CheckDB();
    return sqlite3_last_insert_rowid(m_db);
}

void CppSQLite3DB::SetBusyTimeout(int milliseconds)
{
    m_busyTimeoutMs = milliseconds;
    if (m_db)
        sqlite3_busy_timeout(m_db, milliseconds);
}

sqlite3_stmt* CppSQLite3DB::Prepare(const char* sql)
{
    CheckDB();
    sqlite3_stmt* statement = nullptr;
    const int result = sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr);
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, nullptr);
    if (!statement)  // text that holds no statement (only blanks or a comment)
        ThrowWrapperError("Invalid statement");
    return statement;
}

// ---------------------------------------------------------------- buffers

CppSQLite3FormatBuffer::~CppSQLite3FormatBuffer()
{
    sqlite3_free(m_text);
}

const char* CppSQLite3FormatBuffer::Format(const char* format, ...)
{
    sqlite3_free(m_text);
    va_list arguments;
    va_start(arguments, format);
    m_text = sqlite3_vmprintf(format, arguments);
    va_end(arguments);
    return m_text;
}

void CppSQLite3HexBlob::SetBinary(const BYTE* bytes, int length)
{
    const int count = length > 0 ? length : 0;
    try {
        m_buffer.assign(bytes, bytes + count);
    } catch (const std::bad_alloc&) {
        ThrowWrapperError("Cannot allocate memory");
    }
    m_binaryLength = count;
    m_encoded = false;
}

const char* CppSQLite3HexBlob::GetEncoded()
{
    if (!m_encoded) {
        std::vector<BYTE> hex(2 * m_buffer.size() + 1);
        QelBytesToHex(m_buffer.data(), m_binaryLength, reinterpret_cast<char*>(hex.data()));
        m_buffer.swap(hex);
        m_encoded = true;
    }
    return reinterpret_cast<const char*>(m_buffer.data());
}
