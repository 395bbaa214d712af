#pragma once
// Raw SQLite access, local times, files and streams for the database tests.
// The raw access goes straight to SQLite, so stored values are checked as they
// lie in the file, not as the code under test reads them back.

#include <gtest/gtest.h>
#include <objidl.h>
#include <sqlite3.h>
#include <windows.h>
#include <wrl/client.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "common/TestLog.h"
#include "common/TestText.h"
#include "foundation/TestFolder.h"
#include "foundation/TestStreams.h"

// Plain SQLite on the file, outside the code under test.
class RawDatabase {
public:
    explicit RawDatabase(const std::wstring& path)
    {
        EXPECT_EQ(SQLITE_OK, sqlite3_open(Utf8(path).c_str(), &db_));
    }
    ~RawDatabase() { sqlite3_close(db_); }
    RawDatabase(const RawDatabase&) = delete;
    RawDatabase& operator=(const RawDatabase&) = delete;

    void Exec(const std::string& sql)
    {
        char* error = nullptr;
        EXPECT_EQ(SQLITE_OK, sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error)) << (error ? error : "") << sql;
        sqlite3_free(error);
    }

    // Every cell of the result, row by row; NULL cells as "<NULL>".
    std::vector<std::string> Cells(const std::string& sql)
    {
        std::vector<std::string> cells;
        sqlite3_stmt* statement = nullptr;
        EXPECT_EQ(SQLITE_OK, sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr)) << sql;
        while (statement && sqlite3_step(statement) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                const unsigned char* text = sqlite3_column_text(statement, i);
                cells.push_back(text ? reinterpret_cast<const char*>(text) : "<NULL>");
            }
        }
        sqlite3_finalize(statement);
        return cells;
    }

    std::string Cell(const std::string& sql)
    {
        const std::vector<std::string> cells = Cells(sql);
        return cells.empty() ? std::string("<none>") : cells.front();
    }

private:
    sqlite3* db_ = nullptr;
};

// Seconds of the given local time, as the stored time text means it.
inline __int64 LocalTime(int year, int month, int day, int hour, int minute, int second)
{
    tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    return _mktime64(&fields);
}

// A file's bytes as a string, for comparing with the texts the tests store.
inline std::string FileBytes(const std::wstring& path)
{
    const std::vector<unsigned char> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// A memory stream holding the bytes, read from its start.
inline Microsoft::WRL::ComPtr<IStream> NewStream(const std::string& bytes)
{
    Microsoft::WRL::ComPtr<IStream> stream = StreamWith(bytes);
    const LARGE_INTEGER start{};
    if (stream)
        stream->Seek(start, STREAM_SEEK_SET, nullptr);
    return stream;
}
