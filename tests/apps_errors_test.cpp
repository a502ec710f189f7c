// Bad input ends `plotara render` with the right exit code and message and leaves no output
// file behind: neither a partial one nor a temporary one, and an existing file stays as it was.
#include "apps_test_support.h"

namespace plotara::test {
namespace {

struct BadInput {
    const char* name;
    const char* args; // after "render -o chart.png"
    int code;
    std::string message; // part of standard error
};

class ErrorsTest : public AppsTest {};

TEST_F(ErrorsTest, BadInputGivesItsExitCodeAndMessageAndWritesNothing) {
    const BadInput cases[] = {
        {"unknown type", "--type column4d --csv ok.csv", 2, "unknown chart type"},
        {"type out of range", "--type 38 --csv ok.csv", 2, "unknown chart type"},
        {"no data option", "--type column2d", 2, "no data"},
        {"two data options", "--csv ok.csv --xml ok.xml", 2, "excludes"},
        {"width zero", "--csv ok.csv --width 0", 2, "--width"},
        {"parameter without =", "--csv ok.csv --param caption", 2, "name=value"},
        {"unknown message kind", "--csv ok.csv --message oops=x", 2, "no-data"},
        {"column option on a ready document", "--xml ok.xml --value v", 2, "--csv"},
        {"parameters on a ready document", "--xml ok.xml --param caption=x", 2, "--param"},
        {"missing CSV file", "--csv missing.csv", 1, "cannot read missing.csv"},
        {"CSV quote never closed", "--csv open-quote.csv", 1, "is not closed"},
        {"CSV without values", "--type column2d --csv header-only.csv", 1, "No data to display."},
        {"own no-data message", R"(--csv header-only.csv --message "no-data=Nothing yet")", 1,
         "Nothing yet"},
        {"invalid XML", "--xml broken.xml", 1, "Invalid XML data."},
        {"missing data file", "--url missing.xml", 1, "XML file not found"},
        {"missing column",
         R"(--sql "SELECT region, units FROM monthly_sales" --category region --value nope)", 1,
         "no column 'nope' (--value) in the query result; its columns: region, units"},
        {"SQL syntax error", R"(--sql "SELEC 1" --value v)", 1, "syntax error"},
        {"missing database", R"(--db missing.db --sql "SELECT 1 AS v" --value v)", 1,
         "unable to open database file"},
        {"query without rows",
         R"(--sql "SELECT region, units FROM monthly_sales WHERE 0")"
         " --category region --value units",
         1, "No data to display."},
        {"ODBC driver missing",
         "--odbc Driver=/nonexistent/libnothing.so;Database=x.db"
         R"( --sql "SELECT 1 AS v" --value v)",
         1, "ODBC"},
    };
    writeFile(path("ok.csv"), "m,v\nJan,1\n");
    writeFile(path("ok.xml"), "<chart><set value='1'/></chart>");
    writeFile(path("open-quote.csv"), "m,v\n\"Jan,1\n");
    writeFile(path("header-only.csv"), "m,v\n");
    writeFile(path("broken.xml"), "<chart><set value='1'></chart>");
    writeFile(path("chart.png"), "the previous picture"); // stays as it was
    const std::vector<std::string> inputs = files();

    for (const BadInput& c : cases) {
        SCOPED_TRACE(c.name);
        const RunResult run = plotara(words(std::string("render -o chart.png ") + c.args));
        EXPECT_EQ(run.code, c.code) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_EQ(files(), inputs);
        EXPECT_EQ(readAll(path("chart.png")), "the previous picture");
    }
}

TEST_F(ErrorsTest, AnOutputThatCannotBeWrittenIsAChartErrorWithoutLeftovers) {
    writeFile(path("ok.csv"), "m,v\nJan,1\n");
    fs::create_directory(path("locked"));
    fs::permissions(path("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    struct Case {
        std::string output, message;
    };
    // Root may write into a read-only folder; a missing folder fails for everyone.
    std::vector<Case> cases{{"no-such-folder/chart.png", "cannot write no-such-folder/chart.png"}};
    if (::geteuid() != 0) cases.push_back({"locked/chart.png", "Permission denied"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        const RunResult run = plotara({"render", "--csv", "ok.csv", "-o", c.output});
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_TRUE(fs::is_empty(path("locked")));
    fs::permissions(path("locked"), fs::perms::owner_all);
}

TEST_F(ErrorsTest, UsageErrorsAndHelp) {
    const struct {
        const char* args;
        std::string message;
    } usage[] = {{"", "subcommand"},
                 {"render --colour red", "--colour"},
                 {"render --sample -o chart.gif", "use .png, .svg, .pdf, .bmp or .html"},
                 {"render --sample --svg-text outlines -o chart.svg", "--svg-text"},
                 {"types --csv data.csv", "--csv"}}; // another command's option
    for (const auto& c : usage) {
        const RunResult run = cli(c.args);
        EXPECT_EQ(run.code, 2) << c.args;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << run.err;
    }
    EXPECT_FALSE(fs::exists(path("chart.svg")));

    // Each command's help has its own options and examples.
    const struct {
        const char* command;
        const char* option;
    } commands[] = {{"render", "--csv"},
                    {"gallery", "--output"},
                    {"view", "--snapshot"},
                    {"batch", "JOBS"},
                    {"types", "--help"}};
    for (const auto& c : commands) {
        const RunResult help = plotara({c.command, "--help"});
        EXPECT_EQ(help.code, 0) << c.command;
        EXPECT_NE(help.out.find("Example"), std::string::npos) << c.command << help.out;
        EXPECT_NE(help.out.find(c.option), std::string::npos) << c.command << help.out;
    }
    const RunResult topHelp = cli("--help");
    for (const std::string command : {"render", "gallery", "view", "batch", "types"})
        EXPECT_NE(topHelp.out.find("  " + command), std::string::npos) << topHelp.out;
    // The help speaks of chart attributes and the player's chart files, not of movies.
    const RunResult render = cli("render --help");
    for (const std::string text :
         {"docs/chart-xml.md", "caption=Sales", "numberPrefix=$", "yAxisMinValue=0",
          "the address the control hands to the player"})
        EXPECT_NE(render.out.find(text), std::string::npos) << text;
    const RunResult types = cli("types");
    EXPECT_TRUE(types.out.starts_with("No  Name")) << types.out;
    EXPECT_NE(types.out.find("Player chart files (full, light)"), std::string::npos) << types.out;
    for (const RunResult& run : {render, types, cli("--help")})
        EXPECT_EQ(run.out.find("movie"), std::string::npos) << run.out;
}

} // namespace
} // namespace plotara::test
