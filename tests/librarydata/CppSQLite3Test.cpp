#include "librarydata/CppSQLite3.h"

#include "DatabaseTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The exception's message for the code and detail, or "" when nothing was thrown.
template <typename F>
std::string ThrownMessage(F&& action, int* code = nullptr)
{
    try {
        action();
    } catch (const CppSQLite3Exception& e) {
        if (code)
            *code = e.ErrorCode();
        return e.ErrorMessage();
    }
    return std::string();
}

class CppSQLite3Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.Open((folder.Path() + L"test.db").c_str());
        db.ExecuteUpdate("create table T (ID int, NAME varchar(20), WHEN_ char(19), COLOUR char(6), DATA blob)");
    }

    TestFolder folder;
    CppSQLite3DB db;
};

}  // namespace

TEST(CppSQLite3Exception, MessageNamesTheCode)
{
    EXPECT_STREQ("SQLITE_CONSTRAINT[19]: boom", CppSQLite3Exception(19, "boom").ErrorMessage());
    EXPECT_STREQ("CPPSQLITE_ERROR[1000]: x", CppSQLite3Exception(1000, "x").ErrorMessage());
    EXPECT_STREQ("SQLITE_DONE[101]: ", CppSQLite3Exception(101, nullptr).ErrorMessage());
    EXPECT_STREQ("UNKNOWN_ERROR[26]: y", CppSQLite3Exception(26, "y").ErrorMessage());
    EXPECT_STREQ("SQLITE_RANGE", CppSQLite3Exception::ErrorCodeAsString(25));
    EXPECT_STREQ("SQLITE_ROW", CppSQLite3Exception::ErrorCodeAsString(100));
    const CppSQLite3Exception original(5, "busy");
    const CppSQLite3Exception copy(original);
    EXPECT_STREQ(original.ErrorMessage(), copy.ErrorMessage());
    EXPECT_EQ(5, copy.ErrorCode());
}

TEST(CppSQLite3DB, ClosedConnectionThrows)
{
    CppSQLite3DB closed;
    int code = 0;
    EXPECT_EQ("CPPSQLITE_ERROR[1000]: Database not open", ThrownMessage([&] { closed.ExecuteUpdate("select 1"); }, &code));
    EXPECT_EQ(1000, code);
    EXPECT_EQ("CPPSQLITE_ERROR[1000]: Database not open", ThrownMessage([&] { closed.ExecuteQuery("select 1"); }));
}

TEST_F(CppSQLite3Test, UpdatesQueriesAndFields)
{
    EXPECT_EQ(1, db.ExecuteUpdate(L"insert into T values (1, '\u4E2D\u6587', '2009-12-07 10:15:03', '0080FF', x'00FF')"));
    EXPECT_EQ(1, db.ExecuteUpdate("insert into T values (2, NULL, NULL, NULL, NULL)"));
    EXPECT_EQ(2, db.LastRowId());
    EXPECT_EQ(2, db.ExecuteScalar("select count(*) from T"));
    EXPECT_TRUE(db.TableExists(L"T"));
    EXPECT_FALSE(db.TableExists("U"));
    EXPECT_FALSE(db.TableExists("T' or 'a'='a"));

    CppSQLite3Query query = db.ExecuteQuery("select ID, NAME, WHEN_, COLOUR, DATA from T order by ID");
    ASSERT_FALSE(query.IsEof());
    EXPECT_EQ(5, query.FieldCount());
    EXPECT_STREQ("NAME", query.FieldName(1));
    EXPECT_EQ(L"NAME", query.FieldWideName(1));
    EXPECT_STREQ("varchar(20)", query.FieldDeclType(1));
    EXPECT_EQ(2, query.FieldIndex("WHEN_"));
    EXPECT_EQ(1, query.GetIntField("ID"));
    EXPECT_EQ(L"\u4E2D\u6587", query.GetStringField(1));
    EXPECT_EQ(LocalTime(2009, 12, 7, 10, 15, 3), query.GetTimeField(2));
    EXPECT_EQ(0x00FF8000u, query.GetColorField(3));
    int length = 0;
    const BYTE* blob = query.GetBlobField(4, length);
    ASSERT_EQ(2, length);
    EXPECT_EQ(0xFF, blob[1]);

    query.NextRow();
    ASSERT_FALSE(query.IsEof());
    EXPECT_TRUE(query.FieldIsNull(1));
    EXPECT_EQ(L"dflt", query.GetStringField(1, L"dflt"));
    EXPECT_EQ(7, query.GetIntField(1, 7));
    EXPECT_EQ(123, query.GetTimeField(2, 123));
    const __int64 before = _time64(nullptr);
    EXPECT_GE(query.GetTimeField(2, 0), before);
    EXPECT_EQ(0x123u, query.GetColorField(3, 0x123));
    EXPECT_TRUE(query.GetBoolField(1, true));

    query.NextRow();
    EXPECT_TRUE(query.IsEof());
}

TEST_F(CppSQLite3Test, WrapperErrorsCarryTheirOwnTexts)
{
    CppSQLite3Query query = db.ExecuteQuery("select ID from T");
    EXPECT_TRUE(query.IsEof());
    EXPECT_EQ("CPPSQLITE_ERROR[1000]: Invalid field index requested", ThrownMessage([&] { query.FieldValue(1); }));
    EXPECT_EQ("CPPSQLITE_ERROR[1000]: Invalid field name requested", ThrownMessage([&] { query.FieldIndex("id"); }));
    query.Finalize();
    EXPECT_EQ("CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer", ThrownMessage([&] { query.IsEof(); }));
    EXPECT_EQ("CPPSQLITE_ERROR[1000]: Invalid scalar query", ThrownMessage([&] { db.ExecuteScalar("select ID from T"); }));
}

TEST_F(CppSQLite3Test, SqliteErrorsCarryTheCodeAndText)
{
    int code = 0;
    // A prepare error names only the code.
    EXPECT_EQ("SQLITE_ERROR[1]: ", ThrownMessage([&] { db.ExecuteQuery("select nothing from nowhere"); }, &code));
    EXPECT_EQ(1, code);
    EXPECT_EQ("SQLITE_ERROR[1]: no such table: nowhere",
              ThrownMessage([&] { db.ExecuteUpdate("delete from nowhere"); }));

    db.ExecuteUpdate("create table K (A int not null primary key)");
    db.ExecuteUpdate("insert into K values (1)");
    const std::string duplicate = ThrownMessage([&] { db.ExecuteUpdate("insert into K values (1)"); }, &code);
    EXPECT_EQ(19, code);
    EXPECT_EQ(0u, duplicate.find("SQLITE_CONSTRAINT[19]: ")) << duplicate;
    EXPECT_EQ("SQLITE_CONSTRAINT[19]: NOT NULL constraint failed: K.A",
              ThrownMessage([&] { db.ExecuteQuery("insert into K values (NULL)"); }));
}

TEST_F(CppSQLite3Test, StatementsBindAndHandOverTheirStatement)
{
    CppSQLite3Statement insert = db.CompileStatement(L"insert into T (ID, NAME, DATA) values (?, ?, ?)");
    const BYTE bytes[] = {1, 2, 3};
    insert.BindInt(1, 10);
    insert.BindText(2, "ten");
    insert.BindBlob(3, bytes, 3);
    EXPECT_EQ(1, insert.ExecuteUpdate());
    insert.BindInt(1, 11);
    insert.BindNull(2);
    insert.BindNull(3);
    EXPECT_EQ(1, insert.ExecuteUpdate());
    EXPECT_EQ(0, ThrownMessage([&] { insert.BindInt(9, 1); }).find("SQLITE_RANGE[25]: Error binding int param"));

    CppSQLite3Statement moved(std::move(insert));
    EXPECT_EQ("CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer", ThrownMessage([&] { insert.Reset(); }));
    moved.Finalize();

    CppSQLite3Statement select = db.CompileStatement("select NAME from T where ID=?");
    select.BindInt(1, 10);
    CppSQLite3Query query = select.ExecuteQuery();
    ASSERT_FALSE(query.IsEof());
    EXPECT_EQ(L"ten", query.GetStringField(0));

    CppSQLite3Table table = db.GetTable("select ID, NAME from T order by ID");
    EXPECT_EQ(2, table.RowCount());
    EXPECT_EQ(2, table.FieldCount());
    EXPECT_STREQ("NAME", table.FieldName(1));
    EXPECT_EQ(10, table.GetIntField("ID"));
    EXPECT_STREQ("ten", table.FieldValue(1));
    table.SetRow(1);
    EXPECT_TRUE(table.FieldIsNull("NAME"));
    EXPECT_STREQ("-", table.GetStringField(1, "-"));
    EXPECT_EQ("CPPSQLITE_ERROR[1000]: Invalid row index requested", ThrownMessage([&] { table.SetRow(2); }));
    CppSQLite3Table other = std::move(table);
    EXPECT_EQ("CPPSQLITE_ERROR[1000]: Null Results pointer", ThrownMessage([&] { table.RowCount(); }));
    EXPECT_EQ(2, other.RowCount());
}

TEST(CppSQLite3Buffers, FormatAndHex)
{
    CppSQLite3FormatBuffer buffer;
    EXPECT_STREQ("a 'it''s' 3", buffer.Format("a %Q %d", "it's", 3));
    CppSQLite3HexBlob blob;
    const BYTE bytes[] = {0xDE, 0xAD, 0x01};
    blob.SetBinary(bytes, 3);
    EXPECT_STREQ("DEAD01", blob.GetEncoded());
    EXPECT_STREQ("DEAD01", blob.GetEncoded());
    EXPECT_EQ(3, blob.GetBinaryLength());
    const BYTE others[] = {0x00, 0x10};
    blob.SetBinary(others, 2);
    EXPECT_STREQ("0010", blob.GetEncoded());
    EXPECT_EQ(2, blob.GetBinaryLength());
    CppSQLite3HexBlob none;
    EXPECT_STREQ("", none.GetEncoded());
}
