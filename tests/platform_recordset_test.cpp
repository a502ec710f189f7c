// What every database recordset does alike, run over SQLite and over ODBC (through the SQLite
// ODBC driver, on the same file): navigation, typed values, column look-up, the imports' text
// path, bound parameters and database errors. Each backend's own behaviour is tested in its file.
#include "core/Error.h"
#include "database_test_support.h"
#include "platform/sqlite/SqliteDatabase.h"
#include "platform/sqlite/SqliteRecordset.h"
#ifdef PLOTARA_HAVE_ODBC
#include "platform/odbc/OdbcConnection.h"
#include "platform/odbc/OdbcRecordset.h"
#endif

#include <gtest/gtest.h>

namespace plotara {
namespace {

using test::TempDir;

// Opens a database file the way a host would through one backend.
struct SqliteBackend {
    static constexpr const char* name = "Sqlite";
    static constexpr const wchar_t* source = L"SQLite";
    explicit SqliteBackend(const String& file) : db(SqliteDatabase::open(file)) {}
    std::shared_ptr<RecordsetObject> query(const String& sql,
                                           const std::vector<Variant>& params = {}) {
        return db->query(sql, params);
    }
    std::shared_ptr<SqliteDatabase> db;
};

#ifdef PLOTARA_HAVE_ODBC
struct OdbcBackend {
    static constexpr const char* name = "Odbc";
    static constexpr const wchar_t* source = L"ODBC";
    explicit OdbcBackend(const String& file)
        : db(OdbcConnection::open(L"Driver=" + fromUtf8(PLOTARA_SQLITE_ODBC_DRIVER) +
                                  L";Database=" + file + L";")) {}
    std::shared_ptr<RecordsetObject> query(const String& sql,
                                           const std::vector<Variant>& params = {}) {
        return db->query(sql, params);
    }
    std::shared_ptr<OdbcConnection> db;
};
using Backends = testing::Types<SqliteBackend, OdbcBackend>;
#else
using Backends = testing::Types<SqliteBackend>;
#endif

template <class Backend>
class RecordsetContract : public testing::Test {
protected:
    void SetUp() override {
        const String file = dir.file("t.db");
        SqliteDatabase::open(file, SqliteDatabase::Mode::Create)
            ->execute(L"CREATE TABLE t (id INTEGER, name TEXT, price REAL, raw BLOB);"
                      L"INSERT INTO t VALUES (1, 'Zürich', 2.5, x'00ff'), (2, '東京 𝄞', NULL, "
                      L"NULL);"
                      L"CREATE TABLE kinds (n INTEGER PRIMARY KEY, i INTEGER, r REAL, t TEXT,"
                      L" big INTEGER);"
                      L"INSERT INTO kinds (i, r, t, big) VALUES"
                      L" (-7, 0.1, ' Zürich 東京 ', 9007199254740993),"
                      L" (NULL, 1.0 / 3, NULL, NULL), (2147483647, 1e-5, '', -1);");
        backend.emplace(file);
    }

    TempDir dir;
    std::optional<Backend> backend;
};

// Test names by backend: RecordsetContract/Sqlite.ForwardNavigationWithBofAndEof.
struct BackendName {
    template <class Backend>
    static std::string GetName(int) {
        return Backend::name;
    }
};

TYPED_TEST_SUITE(RecordsetContract, Backends, BackendName);

TYPED_TEST(RecordsetContract, ForwardNavigationWithBofAndEof) {
    auto rs = this->backend->query(L"SELECT id FROM t ORDER BY id");
    EXPECT_FALSE(rs->bof() || rs->eof());
    EXPECT_EQ(rs->field(L"id"), Variant(Long{1}));
    rs->MoveNext();
    EXPECT_EQ(rs->field(L"id"), Variant(Long{2}));
    rs->MoveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_FALSE(rs->bof());
    EXPECT_EQ(test::errorOf([&] { rs->field(L"id"); }), 3021);
    EXPECT_EQ(test::errorOf([&] { rs->MoveNext(); }), 3021);
    rs->MoveFirst();
    EXPECT_EQ(rs->field(L"id"), Variant(Long{1}));

    auto empty = this->backend->query(L"SELECT id FROM t WHERE id > 9");
    EXPECT_TRUE(empty->bof() && empty->eof());
    empty->MoveFirst();
    EXPECT_TRUE(empty->bof() && empty->eof());
}

TYPED_TEST(RecordsetContract, TypedValuesAndColumnLookUp) {
    auto rs = this->backend->query(L"SELECT id, name, price, raw FROM t ORDER BY id");
    EXPECT_EQ(rs->field(L"ID"), Variant(Long{1})); // names match in any letter case
    EXPECT_EQ(rs->field(L"name"), Variant(L"Zürich"));
    EXPECT_EQ(rs->field(L"name"), Variant(L"Zürich")); // a field can be read again
    EXPECT_EQ(rs->field(L"price"), Variant(2.5));
    EXPECT_EQ(test::errorOf([&] { rs->field(L"raw"); }), 13); // binary data is no value
    EXPECT_EQ(test::errorOf([&] { rs->field(L"nothing"); }), 3265);
    rs->MoveNext();
    EXPECT_EQ(rs->field(L"name"), Variant(L"東京 𝄞"));
    EXPECT_TRUE(rs->field(L"price").isNull());
}

// The text path of the imports gives what toText gives for the Variant of the row, for each
// kind of column, Nulls, integers past 32 bits and binary columns included.
TYPED_TEST(RecordsetContract, FieldTextAgreesWithTheVariantsText) {
    auto rs = this->backend->query(L"SELECT i, r, t, big FROM kinds ORDER BY n");
    const auto texts = test::fieldTextsCheckedAgainstField(*rs, {L"I", L"r", L"t", L"big", L"x"});
    const std::vector<std::vector<String>> expected = {
        {L"-7", L"0.1", L" Zürich 東京 ", L"9007199254740993", L"error 3265"},
        {L"", L"0.333333333333333", L"", L"", L"error 3265"},
        {L"2147483647", L"1E-05", L"", L"-1", L"error 3265"},
    };
    EXPECT_EQ(texts, expected);

    auto binary = this->backend->query(L"SELECT raw FROM t WHERE id = 1");
    EXPECT_EQ(test::fieldTextsCheckedAgainstField(*binary, {L"raw"}),
              (std::vector<std::vector<String>>{{L"error 13"}}));
}

TYPED_TEST(RecordsetContract, BoundParameters) {
    auto rs = this->backend->query(L"SELECT id FROM t WHERE name = ? AND price = ? AND ? = 1",
                                   {Variant(L"Zürich"), Variant(2.5), Variant(true)});
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(rs->field(L"id"), Variant(Long{1}));
    rs->MoveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_EQ(
        this->backend->query(L"SELECT id FROM t WHERE id = ?", {Variant(Integer{2})})->field(L"id"),
        Variant(Long{2}));
    EXPECT_NE(test::errorOf([&] { this->backend->query(L"SELECT id FROM t WHERE id = ?"); }), 0);
}

TYPED_TEST(RecordsetContract, DatabaseErrorsCarryTheDatabasesMessage) {
    struct Case {
        const wchar_t* sql;
        const wchar_t* message;
    };
    const Case cases[] = {{L"SELEC id FROM t", L"syntax error"},
                          {L"SELECT id FROM missing", L"no such table: missing"}};
    for (const Case& c : cases) {
        try {
            this->backend->query(c.sql);
            ADD_FAILURE() << toUtf8(c.sql);
        } catch (const Error& e) {
            EXPECT_EQ(e.source(), TypeParam::source);
            EXPECT_NE(e.description().find(c.message), String::npos) << e.what();
        }
    }
}

} // namespace
} // namespace plotara
