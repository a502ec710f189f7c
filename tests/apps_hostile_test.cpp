// Hostile input to `plotara render`: texts that try to become URL syntax, queries that try to
// write, and empty data source names. Each reaches the chart literally or is refused, and no
// file is created or changed.
#include "apps_test_support.h"
#include "bmp_test_support.h"

namespace plotara::test {
namespace {

class HostileTest : public AppsTest {};

TEST_F(HostileTest, MessageTextsReachTheChartAsTyped) {
    writeFile(path("empty.csv"), "m,v\n");
    const std::string texts[] = {
        "R&D has no data",
        "x&dataXML=<chart><set value='5'/></chart>",
        "100% sure, %41 stays %41",
        "a=b&no-data=forged",
        "#hash?query",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const RunResult run = plotara(
            {"render", "--csv", "empty.csv", "--message", "no-data=" + text, "-o", "c.png"});
        EXPECT_EQ(run.code, 1);
        // The first line: a sanitizer build may add its report after it.
        EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), "plotara: " + text + "\n");
    }
}

TEST_F(HostileTest, AMessageCannotAddMovieParameters) {
    writeFile(path("ok.csv"), "m,v\nJan,1\n");
    const RunResult run = cli("render --csv ok.csv --message loading=x&BGColor=FF0000 --width 60 "
                              "--height 40 -o c.bmp --print-url");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_THAT(run.out, Not(HasSubstr("&BGColor=FF0000")));
    const auto image = readBmp(path("c.bmp").string());
    ASSERT_TRUE(image);
    EXPECT_NE(image->pixels.front(), 0xFF0000u); // the top left corner is the background
}

// Every route to a database: a SQLite file, the built-in sample, the same file through ODBC.
std::vector<std::vector<std::string>> databaseRoutes(const fs::path& db) {
    return {{"--db", db.string()},
            {},
            {"--odbc",
             "Driver=" + std::string(PLOTARA_SQLITE_ODBC_DRIVER) + ";Database=" + db.string()}};
}

TEST_F(HostileTest, QueriesThatWriteAreRefusedOnEveryRoute) {
    fs::copy_file(PLOTARA_SAMPLE_DB, path("sample.db"));
    const std::string before = readAll(path("sample.db"));
    const std::string writes[] = {
        "DROP TABLE months",
        "INSERT INTO months VALUES (13, 'Extra')",
        "CREATE TABLE extra (a)",
        "VACUUM INTO '" + path("copy.db").string() + "'",
        "ATTACH '" + path("attached.db").string() + "' AS other",
        "PRAGMA user_version = 7",
        "PRAGMA journal_mode = WAL",
        "WITH a AS (SELECT 1) DELETE FROM months",
        "UPDATE months SET month_no = 0",
    };
    for (const auto& route : databaseRoutes(path("sample.db"))) {
        for (const std::string& sql : writes) {
            SCOPED_TRACE(sql + (route.empty() ? " (sample)" : " " + route[0]));
            std::vector<std::string> args{"render", "-o", "c.png"};
            args.insert(args.end(), route.begin(), route.end());
            args.insert(args.end(), {"--sql", sql, "--value", "v"});
            const RunResult run = plotara(args);
            EXPECT_EQ(run.code, 1);
            EXPECT_THAT(run.err, HasSubstr("Only statements that read"));
        }
    }
    EXPECT_EQ(files(), (std::vector<std::string>{"sample.db"}));
    EXPECT_EQ(readAll(path("sample.db")), before);
}

TEST_F(HostileTest, ReadingQueriesStillWorkOnEveryRoute) {
    fs::copy_file(PLOTARA_SAMPLE_DB, path("sample.db"));
    for (const auto& route : databaseRoutes(path("sample.db"))) {
        SCOPED_TRACE(route.empty() ? "sample" : route[0]);
        const std::string sql = "-- the months\n/* in order */ WITH m AS (SELECT month_no, month "
                                "FROM months) SELECT month, month_no FROM m ORDER BY month_no";
        std::vector<std::string> args{"render",  "--print-xml", "--category", "month",
                                      "--value", "month_no",    "--sql",      sql};
        args.insert(args.end(), route.begin(), route.end());
        const RunResult run = plotara(args);
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_THAT(run.out, HasSubstr("value='12'"));
    }
}

TEST_F(HostileTest, DataSourcesThatAreMissingOrEmpty) {
    const RunResult run = plotara({"render", "-o", "c.png", "--odbc",
                                   "Driver=" + std::string(PLOTARA_SQLITE_ODBC_DRIVER) +
                                       ";Database=" + path("missing.db").string(),
                                   "--sql", "SELECT 1 AS v", "--value", "v"});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(fs::is_empty(dir_)) << files().front();
    for (const std::string option : {"--db", "--odbc"}) {
        const RunResult empty = plotara(
            {"render", "-o", "c.png", option, "", "--sql", "SELECT 1 AS v", "--value", "v"});
        EXPECT_EQ(empty.code, 2) << option;
        EXPECT_THAT(empty.err, HasSubstr(option + ": must not be empty"));
    }
}

} // namespace
} // namespace plotara::test
