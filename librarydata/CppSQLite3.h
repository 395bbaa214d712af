#pragma once
// A thin object layer over SQLite. Every failure throws CppSQLite3Exception;
// nothing here writes to the log. SQL text and file names go to SQLite as
// UTF-8 (each has a wide overload); string fields come back as UTF-16.

#include <windows.h>

#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

constexpr int CPPSQLITE_ERROR = 1000;

class CppSQLite3Exception {
public:
    // With releaseDetail set, a detail that SQLite allocated is freed here.
    CppSQLite3Exception(int errorCode, char* detail, bool releaseDetail);
    CppSQLite3Exception(int errorCode, const char* detail);
    CppSQLite3Exception(const CppSQLite3Exception&) = default;
    CppSQLite3Exception& operator=(const CppSQLite3Exception&) = default;
    virtual ~CppSQLite3Exception() = default;

    int ErrorCode() const { return m_errorCode; }
    // "<code name>[<code>]: <detail>", UTF-8.
    const char* ErrorMessage() const { return m_message.c_str(); }

    static const char* ErrorCodeAsString(int errorCode);

private:
    int m_errorCode;
    std::string m_message;
};

// A forward-only cursor. Moving hands the statement over; the source is left empty.
class CppSQLite3Query {
public:
    CppSQLite3Query() = default;
    CppSQLite3Query(sqlite3* db, sqlite3_stmt* statement, bool eof, bool ownStatement = true);
    CppSQLite3Query(CppSQLite3Query&& other) noexcept;
    CppSQLite3Query& operator=(CppSQLite3Query&& other) noexcept;
    CppSQLite3Query(const CppSQLite3Query&) = delete;
    CppSQLite3Query& operator=(const CppSQLite3Query&) = delete;
    virtual ~CppSQLite3Query();

    int FieldCount() const;
    int FieldIndex(const char* name) const;
    const char* FieldName(int field) const;
    std::wstring FieldWideName(int field) const;
    const char* FieldDeclType(int field) const;
    int FieldDataType(int field) const;
    int FieldBytes(int field) const;

    const char* FieldValue(int field) const;
    const char* FieldValue(const char* name) const;
    bool FieldIsNull(int field) const;
    bool FieldIsNull(const char* name) const;

    int GetIntField(int field, int defaultValue = 0) const;
    int GetIntField(const char* name, int defaultValue = 0) const;
    __int64 GetInt64Field(int field, __int64 defaultValue = 0) const;
    __int64 GetInt64Field(const char* name, __int64 defaultValue = 0) const;
    double GetFloatField(int field, double defaultValue = 0.0) const;
    double GetFloatField(const char* name, double defaultValue = 0.0) const;
    bool GetBoolField(int field, bool defaultValue = false) const;
    bool GetBoolField(const char* name, bool defaultValue = false) const;
    std::wstring GetStringField(int field, const wchar_t* defaultValue = L"") const;
    std::wstring GetStringField(const char* name, const wchar_t* defaultValue = L"") const;
    const char* GetTextField(int field, const char* defaultValue = "") const;
    const char* GetTextField(const char* name, const char* defaultValue = "") const;
    const BYTE* GetBlobField(int field, int& length) const;
    const BYTE* GetBlobField(const char* name, int& length) const;
    // Empty text gives the default, or the current time when the default is 0.
    __int64 GetTimeField(int field, __int64 defaultValue = 0) const;
    __int64 GetTimeField(const char* name, __int64 defaultValue = 0) const;
    COLORREF GetColorField(int field, COLORREF defaultValue = 0) const;
    COLORREF GetColorField(const char* name, COLORREF defaultValue = 0) const;

    bool IsEof() const;
    void NextRow();
    void Finalize();

private:
    void CheckStatement() const;
    void CheckField(int field) const;
    void Release() noexcept;

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    bool m_eof = true;
    int m_columns = 0;
    bool m_ownStatement = false;
};

// A whole result held in memory. Moving hands the result over.
class CppSQLite3Table {
public:
    CppSQLite3Table() = default;
    CppSQLite3Table(char** results, int rows, int columns);
    CppSQLite3Table(CppSQLite3Table&& other) noexcept;
    CppSQLite3Table& operator=(CppSQLite3Table&& other) noexcept;
    CppSQLite3Table(const CppSQLite3Table&) = delete;
    CppSQLite3Table& operator=(const CppSQLite3Table&) = delete;
    virtual ~CppSQLite3Table();

    int FieldCount() const;
    int RowCount() const;
    const char* FieldName(int field) const;
    const char* FieldValue(int field) const;
    const char* FieldValue(const char* name) const;
    int GetIntField(int field, int defaultValue = 0) const;
    int GetIntField(const char* name, int defaultValue = 0) const;
    double GetFloatField(int field, double defaultValue = 0.0) const;
    double GetFloatField(const char* name, double defaultValue = 0.0) const;
    const char* GetStringField(int field, const char* defaultValue = "") const;
    const char* GetStringField(const char* name, const char* defaultValue = "") const;
    bool FieldIsNull(int field) const;
    bool FieldIsNull(const char* name) const;
    void SetRow(int row);
    void Finalize();

private:
    void CheckResults() const;
    int IndexOf(const char* name) const;
    const char* Cell(int field) const;

    int m_columns = 0;
    int m_rows = 0;
    int m_currentRow = 0;
    char** m_results = nullptr;
};

// A compiled statement with bound parameters. Moving hands the statement over.
class CppSQLite3Statement {
public:
    CppSQLite3Statement() = default;
    CppSQLite3Statement(sqlite3* db, sqlite3_stmt* statement);
    CppSQLite3Statement(CppSQLite3Statement&& other) noexcept;
    CppSQLite3Statement& operator=(CppSQLite3Statement&& other) noexcept;
    CppSQLite3Statement(const CppSQLite3Statement&) = delete;
    CppSQLite3Statement& operator=(const CppSQLite3Statement&) = delete;
    virtual ~CppSQLite3Statement();

    int ExecuteUpdate();
    CppSQLite3Query ExecuteQuery();
    void BindText(int parameter, const char* text);
    void BindInt(int parameter, int value);
    void BindDouble(int parameter, double value);
    void BindBlob(int parameter, const BYTE* bytes, int length);
    void BindNull(int parameter);
    void Reset();
    void Finalize();

private:
    void Check() const;

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
};

class CppSQLite3DB {
public:
    CppSQLite3DB() = default;
    CppSQLite3DB(const CppSQLite3DB&) = delete;
    CppSQLite3DB& operator=(const CppSQLite3DB&) = delete;
    virtual ~CppSQLite3DB();

    void Open(const char* path);
    void Open(const wchar_t* path);
    void Close();
    bool IsOpen() const { return m_db != nullptr; }
    // False while an explicit transaction is open.
    bool IsAutoCommit() const;

    bool TableExists(const char* name);
    bool TableExists(const wchar_t* name);
    int ExecuteUpdate(const char* sql);
    int ExecuteUpdate(const wchar_t* sql);
    CppSQLite3Query ExecuteQuery(const char* sql);
    CppSQLite3Query ExecuteQuery(const wchar_t* sql);
    int ExecuteScalar(const char* sql);
    int ExecuteScalar(const wchar_t* sql);
    CppSQLite3Table GetTable(const char* sql);
    CppSQLite3Table GetTable(const wchar_t* sql);
    CppSQLite3Statement CompileStatement(const char* sql);
    CppSQLite3Statement CompileStatement(const wchar_t* sql);
    __int64 LastRowId();
    void SetBusyTimeout(int milliseconds);

private:
    void CheckDB() const;
    sqlite3_stmt* Prepare(const char* sql);

    sqlite3* m_db = nullptr;
    int m_busyTimeoutMs = 60000;
};

// One text made by sqlite3_vmprintf, freed on the next Format and on destruction.
class CppSQLite3FormatBuffer {
public:
    CppSQLite3FormatBuffer() = default;
    CppSQLite3FormatBuffer(const CppSQLite3FormatBuffer&) = delete;
    CppSQLite3FormatBuffer& operator=(const CppSQLite3FormatBuffer&) = delete;
    ~CppSQLite3FormatBuffer();

    const char* Format(const char* format, ...);
    operator const char*() const { return m_text; }

private:
    char* m_text = nullptr;
};

// Bytes as upper-case hex text.
class CppSQLite3HexBlob {
public:
    CppSQLite3HexBlob() = default;
    CppSQLite3HexBlob(const CppSQLite3HexBlob&) = delete;
    CppSQLite3HexBlob& operator=(const CppSQLite3HexBlob&) = delete;
    ~CppSQLite3HexBlob() = default;

    void SetBinary(const BYTE* bytes, int length);
    // The bytes as hex text; they are replaced by it, once.
    const char* GetEncoded();
    int GetBinaryLength() const { return m_binaryLength; }

private:
    // The bytes until the first GetEncoded, their hex text with its NUL after it.
    std::vector<BYTE> m_buffer;
    int m_binaryLength = 0;
    bool m_encoded = false;
};
