// The ODBC recordset, tested for real through the SQLite ODBC driver with DSN-less connection
// strings, and the same imports through both recordsets giving the same documents.
#include "core/Error.h"
#include "core/SafeArray.h"
#include "data/PlotaraData.h"
#include "database_test_support.h"
#include "platform/sqlite/SqliteDatabase.h"
#include "platform/sqlite/SqliteRecordset.h"

#include <gtest/gtest.h>

#ifdef PLOTARA_HAVE_ODBC
#include "platform/odbc/OdbcConnection.h"
#include "platform/odbc/OdbcRecordset.h"

namespace plotara {
namespace {

using test::TempDir;

// The driver library's path when the build found it, otherwise the name the driver package
// registers in odbcinst.ini.
String connectionTo(const String& file, const String& extra = L"") {
    return L"Driver=" + fromUtf8(PLOTARA_SQLITE_ODBC_DRIVER) + L";Database=" + file + L";" + extra;
}

class OdbcRecordsetTest : public testing::Test {
protected:
    void SetUp() override {
        auto db = SqliteDatabase::open(dir.file("t.db"), SqliteDatabase::Mode::Create);
        db->execute(
            L"CREATE TABLE t (id INTEGER, name TEXT, price REAL, raw BLOB);"
            L"INSERT INTO t VALUES (1, 'Zürich', 2.5, x'00ff'), (2, '東京 𝄞', NULL, NULL);");
        connection = OdbcConnection::open(connectionTo(dir.file("t.db")));
    }

    TempDir dir;
    std::shared_ptr<OdbcConnection> connection;
};

// Beyond what every recordset does (platform_recordset_test.cpp): the driver describes a
// binary column, so its fields are refused even where they hold Null.
TEST_F(OdbcRecordsetTest, BinaryColumnIsRefusedOnEveryRow) {
    auto binary = connection->query(L"SELECT raw FROM t ORDER BY id");
    EXPECT_EQ(test::fieldTextsCheckedAgainstField(*binary, {L"raw"}),
              (std::vector<std::vector<String>>{{L"error 13"}, {L"error 13"}}));
}

TEST_F(OdbcRecordsetTest, LongTextAndBoundParameters) {
    const String longText(3000, L'é');
    connection->execute(L"CREATE TABLE notes (id INTEGER, body TEXT)");
    auto insert = connection->query(L"INSERT INTO notes VALUES (?, ?)",
                                    {Variant(Long{7}), Variant(longText)});
    EXPECT_TRUE(insert->eof());
    auto rs = connection->query(L"SELECT body FROM notes WHERE id = ?", {Variant(Integer{7})});
    EXPECT_EQ(rs->field(L"body"), Variant(longText));
    EXPECT_EQ(connection->query(L"SELECT id FROM t WHERE price = ?", {Variant(2.5)})->field(L"id"),
              Variant(Long{1}));
    EXPECT_THROW(connection->query(L"SELECT id FROM t WHERE id = ?"), Error);
}

TEST_F(OdbcRecordsetTest, ConnectionsThatCannotOpen) {
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

} // namespace
} // namespace plotara

#else

TEST(OdbcRecordset, NotBuilt) {
    GTEST_SKIP() << "unixODBC was not found when this build was configured";
}

#endif
