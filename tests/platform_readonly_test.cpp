// Connections that must only read: the statement classifier used for ODBC, and a SQLite
// connection restricted to reading, which refuses every write, file creation included.
#include "core/Error.h"
#include "database_test_support.h"
#include "platform/detail/ReadingStatement.h"
#include "platform/sqlite/SqliteDatabase.h"
#include "platform/sqlite/SqliteRecordset.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace plotara {
namespace {

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

TEST_F(SqliteReadingTest, ReadOnlyAndRestrictedConnectionsRefuseEveryWrite) {
    const std::filesystem::path file = toUtf8(dir.file("t.db"));
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
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"t.db"});
}

TEST_F(SqliteReadingTest, AWritableConnectionStillWrites) {
    auto db = SqliteDatabase::open(dir.file("t.db"), SqliteDatabase::Mode::ReadWrite);
    db->execute(L"INSERT INTO t VALUES (3)");
    EXPECT_EQ(db->query(L"SELECT count(*) AS n FROM t")->field(L"n").asLong(), 3);
}

} // namespace
} // namespace plotara
