// The table routes of `plotara render` (--csv and --sql) end to end: long-form data pivoted by
// category whatever its row order, cells that stay data, the point limit, the choice of columns,
// separators, dual-axis and combination charts, and nothing printed by a failing run.
#include "apps_test_support.h"
#include "platform/sqlite/SqliteDatabase.h"

#include <algorithm>
#include <pugixml.hpp>
#include <random>

namespace plotara::test {
namespace {

struct PriceRow {
    std::string date, symbol, price;
};

// Three symbols; "AAA", first by name, is listed from 2004 only, the others from 2000.
std::vector<PriceRow> prices() {
    std::vector<PriceRow> rows;
    for (const auto& [symbol, start, base] :
         {std::tuple{"AAA", 2004, 30}, {"BBB", 2000, 15}, {"CCC", 2000, 10}})
        for (int year = start; year <= 2010; ++year)
            rows.push_back({std::to_string(year), symbol, std::to_string(base + year - 2000)});
    return rows;
}

std::string csvOf(const std::vector<PriceRow>& rows) {
    std::string text = "date,symbol,price\n";
    for (const PriceRow& row : rows)
        text += row.date + "," + row.symbol + "," + row.price + "\n";
    return text;
}

// A render run and what it must give: exit code 0 and the text in the printed document, or the
// code and the text on standard error with nothing printed.
struct PrintCase {
    const char* name;
    const char* args;
    int code;
    std::string expected; // in the document, or on standard error
};

class TablesTest : public AppsTest {
protected:
    RunResult render(std::vector<std::string> args) const {
        args.insert(args.begin(), "render");
        return plotara(args);
    }
    RunResult render(std::string_view line) const { return render(words(line)); }
    // Runs a case with the given arguments (its own, completed by the caller).
    void expectPrinted(const PrintCase& c, const std::vector<std::string>& args) const {
        SCOPED_TRACE(c.name);
        const RunResult run = render(args);
        EXPECT_EQ(run.code, c.code) << run.err;
        EXPECT_THAT((c.code == 0 ? run.out : run.err), HasSubstr(c.expected)) << run.out << run.err;
        if (c.code != 0) {
            EXPECT_EQ(run.out, "");
        }
    }
    // The values of each dataset of a document by category label ("" for a missing value).
    static std::map<std::string, std::map<std::string, std::string>> grid(const std::string& xml) {
        pugi::xml_document doc;
        EXPECT_TRUE(doc.load_string(xml.c_str())) << xml;
        std::vector<std::string> labels;
        for (pugi::xml_node category : doc.child("chart").child("categories").children())
            labels.push_back(category.attribute("label").value());
        std::map<std::string, std::map<std::string, std::string>> out;
        for (pugi::xml_node dataset : doc.child("chart").children("dataset")) {
            auto& values = out[dataset.attribute("seriesName").value()];
            std::size_t i = 0;
            for (pugi::xml_node set : dataset.children("set")) {
                EXPECT_LT(i, labels.size());
                if (i < labels.size()) values[labels[i]] = set.attribute("value").value();
                ++i;
            }
            EXPECT_EQ(i, labels.size()) << "a dataset without a set per category";
        }
        return out;
    }
};

TEST_F(TablesTest, LongFormGivesTheSameDocumentInAnyRowOrderAndEveryValueAtItsCategory) {
    std::vector<PriceRow> bySymbol = prices(), byDate = prices(), bySymbolDescending = prices();
    std::sort(byDate.begin(), byDate.end(), [](const PriceRow& a, const PriceRow& b) {
        return std::tie(a.date, a.symbol) < std::tie(b.date, b.symbol);
    });
    std::sort(bySymbolDescending.begin(), bySymbolDescending.end(),
              [](const PriceRow& a, const PriceRow& b) {
                  return std::tie(b.symbol, a.date) < std::tie(a.symbol, b.date);
              });
    std::vector<PriceRow> shuffled = prices();
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    struct Order {
        const char* name;
        std::vector<PriceRow> rows;
        bool sortCategories;
    };
    const Order orders[] = {{"by symbol", bySymbol, false},
                            {"by date", byDate, false},
                            {"by symbol descending", bySymbolDescending, false},
                            {"shuffled, sorted categories", shuffled, true}};
    std::vector<std::string> documents;
    for (const Order& order : orders) {
        SCOPED_TRACE(order.name);
        writeFile(path("long.csv"), csvOf(order.rows));
        std::vector<std::string> args{"--type",     "msline2d", "--csv",      "long.csv",
                                      "--category", "date",     "--series",   "symbol",
                                      "--value",    "price",    "--print-xml"};
        if (order.sortCategories) args.push_back("--sort-categories");
        const RunResult run = render(args);
        ASSERT_EQ(run.code, 0) << run.err;
        documents.push_back(run.out);
    }
    for (std::size_t i = 1; i < documents.size(); ++i)
        EXPECT_EQ(documents[i], documents[0]) << orders[i].name;

    // The late series is empty before 2004 and at its own values after; the axis runs in order.
    const auto values = grid(documents[0]);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values.at("AAA").at("2003"), "");
    EXPECT_EQ(values.at("AAA").at("2004"), "34");
    EXPECT_EQ(values.at("AAA").at("2010"), "40");
    EXPECT_EQ(values.at("BBB").at("2000"), "15");
    EXPECT_EQ(values.at("CCC").at("2010"), "20");
    EXPECT_THAT(documents[0],
                HasSubstr("<categories><category label='2000' /><category label='2001' />"));
    EXPECT_EQ(documents[0].find("<dataset seriesName='AAA'>"),
              documents[0].find("<dataset")); // datasets sorted by name
}

TEST_F(TablesTest, CellsAreDataNeverMarkupOrParameters) {
    // Labels with ";", "=" and quotes stay whole texts; a forged set in a value cell is refused.
    writeFile(path("labels.csv"), "name,value\n"
                                  "\"B;color=FF0000;link=javascript:evil(1)\",5\n"
                                  "\"Smith; John\",4\n"
                                  "\"O'Neil <b>\",3\n");
    const RunResult labels =
        render({"--type", "column2d", "--csv", "labels.csv", "--print-xml", "-o", "l.png"});
    ASSERT_EQ(labels.code, 0) << labels.err;
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(labels.out.c_str())) << labels.out;
    std::vector<std::string> seen;
    for (pugi::xml_node set : doc.child("chart").children("set")) {
        seen.push_back(set.attribute("label").value());
        EXPECT_FALSE(set.attribute("color")) << labels.out;
        EXPECT_FALSE(set.attribute("link")) << labels.out;
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"B;color=FF0000;link=javascript:evil(1)",
                                              "Smith; John", "O'Neil <b>"}));

    struct Forged {
        const char* name;
        const char* args;
        std::string message;
    };
    writeFile(path("forged.csv"),
              "label,value\nA,3\nB,\"5'/><set label='FAKE' value='1000' color='FF0000'/>"
              "<set label='C' value='7\"\n");
    writeFile(path("series.csv"), "month,North,South\nJan,1,2\nFeb,3,\"4' color='FF0000\"\n");
    auto db = SqliteDatabase::open(path("forged.db").wstring(), SqliteDatabase::Mode::Create);
    db->execute(L"CREATE TABLE t (label TEXT, value TEXT);"
                L"INSERT INTO t VALUES ('A', '3'), ('B', '5''/><set value=''1000');");
    const Forged cases[] = {
        {"single series", "--type column2d --csv forged.csv",
         "column 'value', line 3 of the CSV file: '5'/><set label='FAKE'"},
        {"multi series", "--type mscolumn2d --csv series.csv",
         "column 'South', line 3 of the CSV file: '4' color='FF0000' is not a number"},
        {"query",
         R"(--type column2d --db forged.db --sql "SELECT * FROM t" --category label --value value)",
         "column 'value', row 2 of the query result: '5'/><set value='1000' is not a number"},
        {"decimal comma", "--type column2d --csv comma.csv --delimiter ;",
         "column 'v', line 2 of the CSV file: '1,5' is not a number"},
    };
    writeFile(path("comma.csv"), "m;v\nJan;1,5\n");
    for (const Forged& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = words(c.args);
        args.insert(args.end(), {"--print-xml", "-o", "f.png"});
        const RunResult run = render(args);
        EXPECT_EQ(run.code, 1);
        EXPECT_THAT(run.err, HasSubstr(c.message));
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(fs::exists(path("f.png")));
    }
}

TEST_F(TablesTest, PointLimitIsAnErrorWithTheCountNeverATruncation) {
    auto rows = [](std::size_t n) {
        std::string text = "x,y\n";
        for (std::size_t i = 0; i < n; ++i)
            text += std::to_string(i) + "," + std::to_string(i % 97) + "\n";
        return text;
    };
    writeFile(path("fits.csv"), rows(32767));
    writeFile(path("over.csv"), rows(32768));
    for (const std::string type : {"line2d", "scatter"}) {
        SCOPED_TRACE(type);
        const RunResult fits = render({"--type", type, "--csv", "fits.csv", "--print-xml"});
        ASSERT_EQ(fits.code, 0) << fits.err;
        std::size_t sets = 0;
        for (std::size_t at = fits.out.find("<set "); at != std::string::npos;
             at = fits.out.find("<set ", at + 1))
            ++sets;
        EXPECT_EQ(sets, 32767u);
        EXPECT_THAT(fits.out, HasSubstr(type == "scatter" ? "X='32766'" : "label='32766'"));

        const RunResult over = render({"--type", type, "--csv", "over.csv", "-o", "o.png"});
        EXPECT_EQ(over.code, 1);
        EXPECT_THAT(over.err, HasSubstr("32768 points"));
        EXPECT_THAT(over.err, HasSubstr("32767"));
        EXPECT_FALSE(fs::exists(path("o.png")));
    }
    // A query is held to the same limit.
    const std::string numbers = "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n "
                                "WHERE i < 32767) SELECT i AS x, i % 97 AS y FROM n";
    const RunResult query = render(
        {"--type", "scatter", "--sql", numbers, "--category", "x", "--value", "y", "-o", "q.png"});
    EXPECT_EQ(query.code, 1);
    EXPECT_THAT(query.err, HasSubstr("32768 points"));

    // The long form counts every cell of its grid: 2 series x 16384 categories is too many.
    std::string sparse = "c,s,v\n";
    for (int i = 0; i < 16384; ++i)
        sparse += std::to_string(i) + "," + (i % 2 ? "a" : "b") + ",1\n";
    writeFile(path("sparse.csv"), sparse);
    const RunResult grid = render({"--type", "msline2d", "--csv", "sparse.csv", "--category", "c",
                                   "--series", "s", "--value", "v", "-o", "g.png"});
    EXPECT_EQ(grid.code, 1);
    EXPECT_THAT(grid.err, HasSubstr("32768 points (16384 categories x 2 series)"));
}

TEST_F(TablesTest, ColumnOptionsOnCsvWithWrongColumnsTypesAndEmptyInput) {
    writeFile(path("wide.csv"), "region,Units,Cost,Note\nNorth,1,2,x\nSouth,3,4,y\n");
    writeFile(path("empty.csv"), "region,Units,Cost\n");
    writeFile(path("semi.csv"), "load;ms;size\n10;50;3\n20;65;4\n");
    writeFile(path("tabs.csv"), "load\tms\n10\t50\n");
    writeFile(path("unsorted.csv"), "Units,Cost\n1,10\n2,9\n");
    writeFile(path("thousands.csv"), "m,v\nJan,\"1,234\"\nFeb,1,500\n");
    const PrintCase cases[] = {
        {"pie takes the named column", "--type pie2d --value Cost", 0,
         "<set value='2'  label='North' />"},
        {"pie without --value lists the columns", "--type pie2d", 1,
         "choose one with --value: Units, Cost, Note"},
        {"wrong column", "--type pie2d --value Price", 1,
         "no column 'Price' (--value) in the CSV file; its columns: region, Units, Cost, Note"},
        {"text column", "--type mscolumn2d --value Units;Note", 1,
         "column 'Note', line 2 of the CSV file: 'x' is not a number"},
        {"category chosen", "--type mscolumn2d --category Note --value Units", 0,
         "<category label='x' />"},
        {"letter case aside", "--type column2d --value units", 0, "value='3'"},
        {"empty input", "--type column2d --csv empty.csv --value Units", 1, "No data to display."},
        {"scatter x text", "--type scatter --category region --value Units", 1,
         "column 'region', line 2 of the CSV file: 'North' is not a number"},
        {"semicolons detected", "--type bubble --csv semi.csv", 0, "<set X='10' Y='50' Z='3'  />"},
        {"tabs detected", "--type scatter --csv tabs.csv", 0, "X='10' Y='50'"},
        {"delimiter chosen", "--type scatter --csv tabs.csv --delimiter ,", 1,
         "a scatter chart needs a y column"},
        {"unquoted separator in a value", "--type column2d --csv thousands.csv", 1,
         "CSV line 3 has 3 fields, the header 2: quote fields that hold the separator ','"},
        {"wrong delimiter", "--type column2d --csv thousands.csv --delimiter ;", 1,
         "no value column besides the category column; the columns of the CSV file: m,v"},
        {"wrong series column", "--type msline2d --category region --series Nope --value Units", 1,
         "no column 'Nope' (--series) in the CSV file; its columns: region, Units, Cost, Note"},
        {"wrong category column", "--type msline2d --category Month", 1,
         "no column 'Month' (--category)"},
        {"long form with a text value",
         "--type msline2d --category region --series Units --value Note", 1,
         "column 'Note', line 2 of the CSV file: 'x' is not a number"},
        {"long form, empty input",
         "--type msline2d --csv empty.csv --category region --series Units --value Cost", 1,
         "No data to display."},
        {"rows sorted by category",
         "--type column2d --value Units --category Cost --sort-categories --csv unsorted.csv", 0,
         "<set value='2'  label='9' /><set value='1'  label='10' />"},
        {"rows sorted by category, numbers by value",
         "--type mscolumn2d --category Cost --value Units --sort-categories --csv unsorted.csv", 0,
         "<category label='9' /><category label='10' />"},
        {"bad delimiter", "--type scatter --csv tabs.csv --delimiter x", 2, "--delimiter takes"},
        {"bubble y and size", "--type bubble --csv semi.csv --category load --value size;ms", 0,
         "<set X='10' Y='3' Z='50'  />"},
    };
    for (const PrintCase& c : cases) {
        std::vector<std::string> args = words(c.args);
        if (std::find(args.begin(), args.end(), "--csv") == args.end())
            args.insert(args.end(), {"--csv", "wide.csv"});
        args.push_back("--print-xml");
        expectPrinted(c, args);
    }
}

TEST_F(TablesTest, XYPointsSkipRowsWithABlankCellAndABadCellFailsTheWholeChart) {
    writeFile(path("xy.csv"), "x,a,b\n1,10,\n2,,20\n,5,6\n3,30,40\n");
    writeFile(path("groups.csv"), "x,s,y\n1,p,5\n2,q,\n3,p,7\n4,q,8\n");
    writeFile(path("late.csv"), "x,a,b\n1,10,11\n2,20,21\n3,30,oops\n");
    const PrintCase cases[] = {
        {"a series per y column", "--type scatter --csv xy.csv", 0,
         "<dataset seriesName='a' ><set X='1' Y='10'  /><set X='3' Y='30'  /></dataset>"
         "<dataset seriesName='b' ><set X='2' Y='20'  /><set X='3' Y='40'  /></dataset>"},
        {"a series per group", "--type scatter --csv groups.csv --category x --series s --value y",
         0,
         "<dataset seriesName='p' ><set X='1' Y='5'  /><set X='3' Y='7'  /></dataset>"
         "<dataset seriesName='q' ><set X='4' Y='8'  /></dataset>"},
        {"a bad cell in the last series", "--type scatter --csv late.csv", 1,
         "column 'b', line 4 of the CSV file: 'oops' is not a number"},
    };
    for (const PrintCase& c : cases) {
        std::vector<std::string> args = words(c.args);
        args.insert(args.end(), {"--print-xml", "-o", "xy.png"});
        expectPrinted(c, args);
    }
}

TEST_F(TablesTest, SecondaryAxisAndRenderAsReachTheirDatasets) {
    writeFile(path("combo.csv"), "month,Revenue,Units,Cost\nJan,100,7,60\nFeb,120,9,70\n");
    const RunResult dual = render("--type mscombidy2d --csv combo.csv --secondary Units "
                                  "--render-as Cost=area --print-xml -o dual.png");
    ASSERT_EQ(dual.code, 0) << dual.err;
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(dual.out.c_str())) << dual.out;
    std::vector<std::string> datasets;
    for (pugi::xml_node dataset : doc.child("chart").children("dataset"))
        datasets.push_back(std::string(dataset.attribute("seriesName").value()) + ":" +
                           dataset.attribute("parentYAxis").value() + ":" +
                           dataset.attribute("renderAs").value());
    EXPECT_EQ(datasets, (std::vector<std::string>{"Revenue::", "Units:S:", "Cost::area"}));

    // The secondary axis is drawn: the picture differs from the one without --secondary.
    ASSERT_EQ(render("--type mscombidy2d --csv combo.csv --render-as Cost=area -o single.png").code,
              0);
    EXPECT_NE(readAll(path("dual.png")), readAll(path("single.png")));
}

// Parameter names, colours, --secondary and --render-as: refused with their messages, or warned of.
TEST_F(TablesTest, ParameterNamesAndColoursAreChecked) {
    writeFile(path("ok.csv"), "m,v\nJan,1\n");
    writeFile(path("combo.csv"), "month,Revenue,Units,Cost\nJan,100,7,60\n");
    struct Case {
        const char* name;
        const char* args;
        int code;
        std::string err; // part of standard error ("" for no message of plotara's)
    };
    const Case cases[] = {
        {"unknown series", "--type mscombidy2d --csv combo.csv --secondary Price", 1,
         "no series 'Price' (--secondary); the chart's series: Revenue, Units, Cost"},
        {"no secondary axis", "--type mscolumn2d --csv combo.csv --secondary Units", 2,
         "--secondary needs a dual-axis chart type: mscombidy2d"},
        {"not a combination", "--type msline2d --csv combo.csv --render-as Units=line", 2,
         "--render-as needs a combination chart type"},
        {"unknown kind", "--type mscombi2d --csv combo.csv --render-as Units=pie", 2,
         "use column, line or area"},
        {"on a ready document", "--type mscombi2d --sample --render-as A=line", 2, "--render-as"},
        {"blank in a name", R"(--param "a b=1")", 2, "'a b' is not an attribute name"},
        {"markup in a name", "--param a<b=1", 2, "'a<b' is not an attribute name"},
        {"typo warns", "--param yAxisMinValu=0", 0, "(did you mean yAxisMinValue?)"},
        {"typo with --strict", "--param yAxisMinValu=0 --strict", 2, "yAxisMinValu"},
        {"any letter case", "--param CAPTION=x --strict", 0, ""},
        {"not a colour", "--colors ZZZZZZ", 2, "--colors takes colours"},
        {"attribute in a colour", R"(--colors "FF0000' bgColor='00FF00")", 2, "--colors takes"},
        {"colours", "--colors FF0000;00ff00", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = words(std::string("-o c.png ") + c.args);
        if (std::string(c.args).find("--type") == std::string::npos)
            args.insert(args.end(), {"--csv", "ok.csv"});
        const RunResult run = render(args);
        EXPECT_EQ(run.code, c.code) << run.err;
        if (c.err.empty()) {
            EXPECT_THAT(run.err, Not(HasSubstr("plotara:")));
        } else {
            EXPECT_THAT(run.err, HasSubstr(c.err));
        }
    }
}

} // namespace
} // namespace plotara::test
