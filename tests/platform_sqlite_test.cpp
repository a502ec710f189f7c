// The SQLite recordset over real files: navigation, fields, values, parameters and errors; and
// connections that must only read: the statement classifier used for ODBC, and a SQLite
// connection restricted to reading, which refuses every write, file creation included.
#include "core/Error.h"
#include "core/SafeArray.h"
#include "database_test_support.h"
#include "platform/detail/ReadingStatement.h"
#include "platform/sqlite/SqliteDatabase.h"
#include "platform/sqlite/SqliteRecordset.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace plotara {
namespace {

using test::errorOf;
using test::errorTextOf;
using test::TempDir;

class SqliteRecordsetTest : public testing::Test {
protected:
    void SetUp() override {
        db = SqliteDatabase::open(dir.file("t.db"), SqliteDatabase::Mode::Create);
        db->execute(L"CREATE TABLE t (id INTEGER, Name TEXT, name2 TEXT, price REAL, big INTEGER,"
                    L" raw BLOB);"
                    L"INSERT INTO t VALUES (1, 'Zürich', NULL, 2.5, 9007199254740993, x'00ff'),"
                    L" (2, '東京 ', 'b', NULL, -5, NULL);");
    }

    TempDir dir;
    std::shared_ptr<SqliteDatabase> db;
};

// Beyond what every recordset does (platform_recordset_test.cpp): the names as the statement
// gives them, integers past 32 bits as their digits, and blobs refused by value, not by column.
TEST_F(SqliteRecordsetTest, ColumnNamesLargeIntegersAndBlobs) {
    auto rs = db->query(L"SELECT * FROM t ORDER BY id");
    EXPECT_EQ(rs->columnNames(),
              (std::vector<String>{L"id", L"Name", L"name2", L"price", L"big", L"raw"}));
    EXPECT_EQ(rs->field(L"name"), Variant(L"Zürich")); // case-insensitive when not exact
    EXPECT_TRUE(rs->field(L"name2").isNull());
    EXPECT_EQ(rs->field(L"big"), Variant(L"9007199254740993")); // beyond 32 bits: every digit
    EXPECT_TRUE(errorTextOf([&] { rs->field(L"raw"); }).starts_with(L"13 "));
    EXPECT_NE(errorTextOf([&] { rs->field(L"raw"); }).find(L"'raw' holds binary data"),
              String::npos);
    rs->MoveNext();
    EXPECT_EQ(rs->field(L"big"), Variant(Long{-5}));
    EXPECT_TRUE(rs->field(L"raw").isNull()); // a Null blob column is just Null
}

TEST_F(SqliteRecordsetTest, ExactColumnNameWinsOverOtherCase) {
    auto rs = db->query(L"SELECT 1 AS value, 2 AS Value");
    EXPECT_EQ(rs->field(L"Value"), Variant(Long{2}));
    EXPECT_EQ(rs->field(L"value"), Variant(Long{1}));
    EXPECT_EQ(rs->field(L"VALUE"), Variant(Long{1}));
    EXPECT_EQ(errorOf([&] { rs->field(L"values"); }), 3265);
}

// The text path of the imports gives what toText gives for the Variant, converted straight from
// the statement: every integer width, reals on both sides of the general form's shortcut, Nulls,
// text with characters outside ASCII and malformed bytes.
TEST_F(SqliteRecordsetTest, FieldTextAgreesWithTheVariantsText) {
    const struct {
        const wchar_t* sql;
        const wchar_t* text;
    } cases[] = {
        {L"0", L"0"},
        {L"-5", L"-5"},
        {L"2147483647", L"2147483647"},
        {L"2147483648", L"2147483648"}, // past 32 bits: text in the Variant, same digits
        {L"-9223372036854775808", L"-9223372036854775808"},
        {L"2.5", L"2.5"},
        {L"0.1", L"0.1"},
        {L"-1234.5678", L"-1234.5678"},
        {L"1.0 / 3", L"0.333333333333333"},
        {L"999999999999999.9", L"1E+15"},
        {L"123456789012345.6", L"123456789012346"},
        {L"0.0001", L"0.0001"},
        {L"0.00001", L"1E-05"},
        {L"1e300", L"1E+300"},
        {L"-0.0", L"0"},
        {L"NULL", L""},
        {L"''", L""},
        {L"'  padded  '", L"  padded  "}, // trimming is the import's business
        {L"'12.50'", L"12.50"},           // text stays as written
        {L"'Zürich'", L"Zürich"},
        {L"'東京 😀'", L"東京 😀"},
        {L"CAST(x'41C328' AS TEXT)", L"A\uFFFD("},
    };
    db->execute(L"CREATE TABLE mixed (id INTEGER PRIMARY KEY, v)");
    for (const auto& c : cases)
        db->execute(String(L"INSERT INTO mixed (v) VALUES (") + c.sql + L")");
    auto rs = db->query(L"SELECT id, v AS Value FROM mixed ORDER BY id");
    const auto rows = test::fieldTextsCheckedAgainstField(*rs, {L"value", L"id", L"missing"});
    ASSERT_EQ(rows.size(), std::size(cases));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][0], cases[i].text) << toUtf8(cases[i].sql);
        EXPECT_EQ(rows[i][1], std::to_wstring(i + 1));
        EXPECT_EQ(rows[i][2], L"error 3265");
    }

    auto blob = db->query(L"SELECT raw FROM t WHERE id = 1");
    EXPECT_EQ(test::fieldTextsCheckedAgainstField(*blob, {L"raw"})[0][0], L"error 13");
    // Past the last row, by position as well.
    String text;
    EXPECT_EQ(errorOf([&] { rs->fieldText(L"value", rs->columnIndex(L"value"), text); }), 3021);
    EXPECT_EQ(rs->columnIndex(L"VALUE"), 1);
    EXPECT_EQ(rs->columnIndex(L"missing"), -1);
}

// A Null parameter, and the error numbers of a wrong count or kind of parameters.
TEST_F(SqliteRecordsetTest, NullAndWrongParameters) {
    EXPECT_TRUE(db->query(L"SELECT ? IS NULL AS n", {Variant::null()})->field(L"n").asBool());

    struct Case {
        std::vector<Variant> params;
        Long number;
    };
    const Case wrong[] = {
        {{}, 5},
        {{Variant(Long{1}), Variant(Long{2})}, 5},
        {{Variant(SafeArray::of({Variant(Long{1})}))}, 13},
    };
    for (const Case& c : wrong)
        EXPECT_EQ(errorOf([&] { db->query(L"SELECT id FROM t WHERE id = ?", c.params); }), c.number)
            << c.params.size();
}

TEST_F(SqliteRecordsetTest, DatabaseErrorsCarryTheDatabasesMessage) {
    struct Case {
        const wchar_t* sql;
        const wchar_t* message;
    };
    const Case cases[] = {
        {L"SELEC id FROM t", L"near \"SELEC\": syntax error"},
        {L"SELECT nope FROM t", L"no such column: nope"},
        {L"  -- nothing", L"holds no statement"},
    };
    for (const Case& c : cases) {
        try {
            db->query(c.sql);
            ADD_FAILURE() << c.sql;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), errors::component(3000, L"").number());
            EXPECT_EQ(e.source(), L"SQLite");
            EXPECT_NE(e.description().find(c.message), String::npos) << e.what();
        }
    }
}

TEST_F(SqliteRecordsetTest, MissingLockedAndForeignFiles) {
    EXPECT_THROW(SqliteDatabase::open(dir.file("absent.db")), Error);
    EXPECT_FALSE(std::filesystem::exists(toUtf8(dir.file("absent.db"))));
    EXPECT_NE(errorTextOf([&] {
                  SqliteDatabase::open(dir.file("absent.db"), SqliteDatabase::Mode::ReadWrite);
              }).find(L"unable to open database file"),
              String::npos);

    auto reader = SqliteDatabase::open(dir.file("t.db"));
    db->execute(L"BEGIN EXCLUSIVE");
    EXPECT_NE(errorTextOf([&] { reader->query(L"SELECT id FROM t"); }).find(L"database is locked"),
              String::npos);
    db->execute(L"ROLLBACK");
    EXPECT_EQ(reader->query(L"SELECT COUNT(*) AS n FROM t")->field(L"n"), Variant(Long{2}));
    EXPECT_THROW(reader->execute(L"DELETE FROM t"), Error); // read-only by default

    std::ofstream(toUtf8(dir.file("text.db"))) << "this is not a database, just some text\n";
    auto foreign = SqliteDatabase::open(dir.file("text.db"));
    EXPECT_THROW(foreign->query(L"SELECT name FROM sqlite_master"), Error);
}

TEST(SampleDatabase, HoldsTheDemoTables) {
    auto db = SqliteDatabase::open(fromUtf8(PLOTARA_SAMPLE_DB));
    struct Case {
        const wchar_t* table;
        Long rows;
    };
    const Case cases[] = {{L"monthly_sales", 144},
                          {L"response_times", 36},
                          {L"customer_segments", 8},
                          {L"revenue_by_region", 48},
                          {L"revenue_by_product", 12}};
    for (const Case& c : cases)
        EXPECT_EQ(db->query(String(L"SELECT COUNT(*) AS n FROM ") + c.table)->field(L"n"),
                  Variant(c.rows))
            << c.table;
}

TEST(ReadingStatement, TellsReadingStatementsFromOthers) {
    struct Case {
        const wchar_t* sql;
        bool reads;
    };
    const Case cases[] = {
        {L"SELECT 1", true},
        {L"  select a FROM t WHERE b = 'DROP TABLE t'", true},
        {L"-- DROP TABLE t\nSELECT 1", true},
        {L"/* delete */ WITH x AS (SELECT 1) SELECT * FROM x", true},
        {L"VALUES (1), (2)", true},
        {L"(SELECT 1) UNION (SELECT 2)", true},
        {L"SELECT \"update\", [insert], `into` FROM t;", true},
        {L"SELECT 'it''s; DROP TABLE t' AS v", true},
        {L"SELECT replace(a, 'x', 'y') FROM t", true},
        {L"", false},
        {L"-- only a comment", false},
        {L"DROP TABLE t", false},
        {L"insert into t values (1)", false},
        {L"WITH x AS (SELECT 1) DELETE FROM t", false},
        {L"WITH x AS (SELECT 1) UPDATE t SET a = 1", false},
        {L"SELECT * INTO copy FROM t", false},
        {L"SELECT 1; DROP TABLE t", false},
        {L"SELECT 1;; -- done", true},
        {L"SELECT 1 /* unclosed", true},
        {L"ATTACH 'x.db' AS x", false},
        {L"PRAGMA user_version = 3", false},
        {L"VACUUM INTO '/tmp/x.db'", false},
        {L"EXEC sp_who", false},
        {L"SELECT 'unclosed", true},
        {L"(((", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isReadingStatement(c.sql), c.reads) << toUtf8(c.sql);
}

class SqliteReadingTest : public testing::Test {
protected:
    void SetUp() override {
        auto db = SqliteDatabase::open(dir.file("t.db"), SqliteDatabase::Mode::Create);
        db->execute(L"CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1), (2);");
    }
    // Raises, with the refusal's words, and leaves the file as it was.
    void expectRefused(SqliteDatabase& db, const String& sql) {
        SCOPED_TRACE(toUtf8(sql));
        const String error = test::errorTextOf([&] { db.query(sql); });
        EXPECT_NE(error.find(L"Only statements that read"), String::npos) << toUtf8(error);
    }

    test::TempDir dir;
};

TEST_F(SqliteReadingTest, OnlyAWritableConnectionWrites) {
    const String writes[] = {
        L"DROP TABLE t",
        L"INSERT INTO t VALUES (3)",
        L"CREATE TABLE u (b)",
        L"CREATE TEMP TABLE u (b)",
        L"VACUUM INTO '" + dir.file("copy.db") + L"'",
        L"ATTACH '" + dir.file("new.db") + L"' AS n",
        L"PRAGMA user_version = 9",
        L"PRAGMA temp_store_directory = '/tmp'",
        L"WITH x AS (SELECT 1) DELETE FROM t",
        L"BEGIN",
    };
    auto readOnly = SqliteDatabase::open(dir.file("t.db"));
    auto restricted = SqliteDatabase::open(dir.file("t.db"), SqliteDatabase::Mode::ReadWrite);
    restricted->restrictToReading();
    auto memory = SqliteDatabase::open(L":memory:", SqliteDatabase::Mode::Create);
    memory->execute(L"CREATE TABLE t (a INTEGER)");
    memory->restrictToReading();
    for (SqliteDatabase* db : {readOnly.get(), restricted.get(), memory.get()}) {
        for (const String& sql : writes)
            expectRefused(*db, sql);
        EXPECT_THROW(db->execute(L"DELETE FROM t"), Error);
        EXPECT_EQ(db->query(L"SELECT count(*) AS n FROM t")->field(L"n").asLong(),
                  db == memory.get() ? 0 : 2);
        EXPECT_NO_THROW(db->query(L"PRAGMA user_version"));
    }
    EXPECT_EQ(test::fileNames(dir.path()), std::vector<std::string>{"t.db"});
    // A writable connection still writes.
    auto db = SqliteDatabase::open(dir.file("t.db"), SqliteDatabase::Mode::ReadWrite);
    db->execute(L"INSERT INTO t VALUES (3)");
    EXPECT_EQ(db->query(L"SELECT count(*) AS n FROM t")->field(L"n").asLong(), 3);
}

} // namespace
} // namespace plotara
