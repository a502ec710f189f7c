// What every database recordset does alike, run over SQLite and over ODBC (through the SQLite
// ODBC driver, on the same file): navigation, typed values, column look-up, the imports' text
// path, bound parameters and database errors; then what the ODBC recordset does beyond that, and
// the same imports through both recordsets giving the same documents. SQLite's own behaviour is
// tested in platform_sqlite_test.cpp.
#include "core/Error.h"
#include "core/SafeArray.h"
#include "data/PlotaraData.h"
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
// The driver library's path when the build found it, otherwise the name the driver package
// registers in odbcinst.ini.
String connectionTo(const String& file, const String& extra = L"") {
    return L"Driver=" + fromUtf8(PLOTARA_SQLITE_ODBC_DRIVER) + L";Database=" + file + L";" + extra;
}

struct OdbcBackend {
    static constexpr const char* name = "Odbc";
    static constexpr const wchar_t* source = L"ODBC";
    explicit OdbcBackend(const String& file) : db(OdbcConnection::open(connectionTo(file))) {}
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

#ifdef PLOTARA_HAVE_ODBC
// The same file as the contract tests, over ODBC.
using OdbcRecordsetTest = RecordsetContract<OdbcBackend>;

// Beyond what every recordset does: a binary column refused on every row, even where it holds
// Null (the driver describes the column), long texts, and connections that cannot open.
TEST_F(OdbcRecordsetTest, BeyondTheContract) {
    auto binary = backend->db->query(L"SELECT raw FROM t ORDER BY id");
    EXPECT_EQ(test::fieldTextsCheckedAgainstField(*binary, {L"raw"}),
              (std::vector<std::vector<String>>{{L"error 13"}, {L"error 13"}}));
    const String longText(3000, L'é');
    backend->db->execute(L"CREATE TABLE notes (id INTEGER, body TEXT)");
    auto insert = backend->db->query(L"INSERT INTO notes VALUES (?, ?)",
                                     {Variant(Long{7}), Variant(longText)});
    EXPECT_TRUE(insert->eof());
    auto rs = backend->db->query(L"SELECT body FROM notes WHERE id = ?", {Variant(Integer{7})});
    EXPECT_EQ(rs->field(L"body"), Variant(longText));
    EXPECT_EQ(backend->db->query(L"SELECT id FROM t WHERE price = ?", {Variant(2.5)})->field(L"id"),
              Variant(Long{1}));
    EXPECT_THROW(backend->db->query(L"SELECT id FROM t WHERE id = ?"), Error);
    EXPECT_THROW(OdbcConnection::open(connectionTo(dir.file("absent.db"), L"NoCreat=1")), Error);
    EXPECT_THROW(OdbcConnection::open(L"Driver=/nonexistent/libnothing.so;Database=x"), Error);
}

// The same imports through both recordsets over the sample database give identical documents.
TEST(SameImportBothWays, IdenticalDocuments) {
    const String sample = fromUtf8(PLOTARA_SAMPLE_DB);
    auto sqlite = SqliteDatabase::open(sample);
    auto odbc = OdbcConnection::open(connectionTo(sample));

    using Query = std::function<std::shared_ptr<RecordsetObject>(const String&)>;
    auto build = [](const Query& query) {
        std::vector<String> documents;
        auto data = std::make_shared<PlotaraData>();
        data->setChartTypeNumber(L"1");
        data->addDataFromDatabase(
            *query(L"SELECT month, revenue FROM monthly_sales JOIN months USING (month_no)"
                   L" WHERE product = 'Laptops' AND region = 'North' ORDER BY month_no"),
            L"revenue", L"month", L"color=1D8BD1");
        documents.push_back(data->getXML());

        data->setChartTypeNumber(L"11");
        data->setChartParams(L"caption=Revenue by region;numberPrefix=$");
        data->addCategoryFromDatabase(*query(L"SELECT month FROM months ORDER BY month_no"),
                                      L"month");
        data->addDatasetsFromDatabase(*query(L"SELECT * FROM revenue_by_region"), L"region",
                                      L"revenue", Variant(SafeArray::of({L"color=AFD8F8"})));
        documents.push_back(data->getXML());

        data->addDatasetsFromDatabase(*query(L"SELECT * FROM revenue_by_product"),
                                      L"Laptops;Tablets;Phones", L"month",
                                      Variant(L"[color=AFD8F8][color=F6BD0F][color=8BBA00]"));
        documents.push_back(data->getXML());

        data->setChartTypeNumber(L"29");
        data->addCategoryFromDatabase(
            *query(L"SELECT endpoint, load_rps FROM response_times ORDER BY sample_id"),
            L";load_rps");
        data->addDataset(L"p95");
        data->addChartData(L"1", L"y=2");
        documents.push_back(data->getXML());
        return documents;
    };
    const auto viaSqlite = build([&](const String& sql) { return sqlite->query(sql); });
    const auto viaOdbc = build([&](const String& sql) { return odbc->query(sql); });
    ASSERT_EQ(viaSqlite.size(), viaOdbc.size());
    auto count = [](const String& text, const String& what) {
        std::size_t n = 0;
        for (auto at = text.find(what); at != String::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    };
    // What each document must hold, so that two equally broken documents cannot pass.
    EXPECT_EQ(count(viaSqlite[0], L"<set value="), 12u);
    EXPECT_EQ(count(viaSqlite[1], L"<dataset "), 4u);
    EXPECT_EQ(count(viaSqlite[1], L"<set value="), 48u);
    EXPECT_EQ(count(viaSqlite[2], L"<dataset "), 3u);
    EXPECT_EQ(count(viaSqlite[3], L"<category x="), 36u);
    for (std::size_t i = 0; i < viaSqlite.size(); ++i) {
        EXPECT_GT(viaSqlite[i].size(), 200u) << i; // a real document, not an empty one
        EXPECT_EQ(viaSqlite[i], viaOdbc[i]) << "document " << i;
    }
}
#else
TEST(OdbcRecordset, NotBuilt) {
    GTEST_SKIP() << "unixODBC was not found when this build was configured";
}
#endif

} // namespace
} // namespace plotara
