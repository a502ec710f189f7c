// The pieces under the table routes: number cells, separator detection, the long-form pivot's
// category order and its duplicate check, and the --param name suggestions.
#include "apps/CellNumber.h"
#include "apps/CsvReader.h"
#include "apps/Failures.h"
#include "apps/ParamCheck.h"
#include "apps/Pivot.h"
#include "apps/Render.h"

#include <algorithm>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

namespace plotara::test {
namespace {

TEST(CellNumber, AcceptsPlainDecimalsAndRefusesEverythingElse) {
    struct Case {
        const char* cell;
        const char* expected; // nullptr: not a number
    };
    const Case cases[] = {
        {"42", "42"},        {" -1.5 ", "-1.5"}, {"+3", "3"},
        {".5", ".5"},        {"5.", "5."},       {"2e3", "2e3"},
        {"1E-07", "1E-07"},  {"1,234", "1234"},  {"12,345,678.9", "12345678.9"},
        {"1,5", nullptr},    {"1,23", nullptr},  {"0,125", nullptr},
        {"-0,125", nullptr}, {",123", nullptr},  {"1234,567", nullptr},
        {"1,,234", nullptr}, {"0x10", nullptr},  {"inf", nullptr},
        {"nan", nullptr},    {"1e999", nullptr}, {"-", nullptr},
        {"1e", nullptr},     {"3 4", nullptr},   {"5'/><set", nullptr},
        {"", nullptr},       {"1.2.3", nullptr}, {"e5", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell);
        const std::optional<std::string> number = apps::numberCell(c.cell);
        if (c.expected == nullptr) {
            EXPECT_FALSE(number.has_value()) << *number;
        } else {
            ASSERT_TRUE(number.has_value());
            EXPECT_EQ(*number, c.expected);
        }
    }
}

TEST(CellNumber, ReadsTheTextInPlaceUnlessItIsRewrittenAndSortsByValue) {
    // numberText gives the same text as numberCell: from the cell itself when it stands there,
    // from the scratch text when a "+" or thousands commas go.
    const std::string zeros(300, '0');
    struct Case {
        std::string cell;
        bool valid, inPlace;
    };
    const Case cases[] = {
        {" -1.5 ", true, true},
        {"2e3", true, true},
        {"+3", true, false},
        {"-1,234.5", true, false},
        {"1e+5", true, true},
        {"1" + zeros.substr(0, 299), true, true},        // 300 characters, no exponent
        {"1" + zeros + zeros.substr(0, 8), true, true},  // 1e308
        {"1" + zeros + zeros.substr(0, 9), false, true}, // 1e309: beyond a double
        {"0." + zeros + zeros + "1", false, true},       // below the smallest double
        {"0." + zeros, true, true},
        {"1e-400", false, true},
        {"abc", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell.substr(0, 20) + " (" + std::to_string(c.cell.size()) + ")");
        std::string scratch = "left over";
        const std::optional<std::string_view> text = apps::numberText(c.cell, scratch);
        const std::optional<std::string> copied = apps::numberCell(c.cell);
        ASSERT_EQ(text.has_value(), c.valid);
        ASSERT_EQ(copied.has_value(), c.valid);
        if (!c.valid) continue;
        EXPECT_EQ(*text, *copied);
        const bool inCell =
            text->data() >= c.cell.data() && text->data() < c.cell.data() + c.cell.size();
        EXPECT_EQ(inCell, c.inPlace);
    }
    const std::vector<std::string> cells{"b", "10", "2", "a", "-1", "2010-01-02", "2009-12-31"};
    std::vector<std::string> sorted;
    for (std::size_t i : apps::sortedOrder(cells))
        sorted.push_back(cells[i]);
    EXPECT_EQ(sorted,
              (std::vector<std::string>{"-1", "2", "10", "2009-12-31", "2010-01-02", "a", "b"}));
}

TEST(CsvDelimiter, DetectsTheSeparatorTheHeaderAndFirstRowShare) {
    struct Case {
        const char* name;
        std::string text;
        char expected;
    };
    const Case cases[] = {
        {"comma", "a,b,c\n1,2,3\n", ','},
        {"semicolon with decimal commas", "a;b\n1,5;2,5\n", ';'},
        {"tab", "a\tb\n1\t2\n", '\t'},
        {"bar", "a|b\n1|2\n", '|'},
        {"quoted commas do not count", "\"x,y\";z\n1;2\n", ';'},
        {"one column", "value\n1\n", ','},
        {"header only", "a;b;c\n", ';'},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "a\tb\n1\t2\n",
         '\t'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(apps::detectCsvDelimiter(c.text), c.expected);
    }
    const apps::CsvTable table = apps::parseCsv("m;v\n\"a;b\";\"1,5\"\n\nx;2\n", 0);
    EXPECT_EQ(table.header, (std::vector<std::string>{"m", "v"}));
    EXPECT_EQ(table.rowTexts(),
              (std::vector<std::vector<std::string>>{{"a;b", "1,5"}, {"x", "2"}}));
    EXPECT_EQ(table.where(1), "line 4"); // the blank line is skipped, not renumbered

    // Empty cells past the header (a trailing separator) are harmless; "1,234" with the
    // wrong separator and the default one both show up as a field too many.
    EXPECT_EQ(apps::parseCsv("m,v\nJan,1,,\n").rowCount(), 1u);
    EXPECT_EQ(apps::parseCsv("m,v\nJan,\"1,234\"\n").cell(0, 1), "1,234");
    EXPECT_THROW(apps::parseCsv("m,v\nJan,1,234\n"), apps::ChartFailure);

    EXPECT_EQ(apps::csvDelimiterOf("tab"), '\t');
    EXPECT_EQ(apps::csvDelimiterOf(";"), ';');
    EXPECT_EQ(apps::csvDelimiterOf(""), 0);
    for (const std::string bad : {"x", ";;", "\"", "\n"})
        EXPECT_THROW(apps::csvDelimiterOf(bad), apps::UsageFailure) << bad;
}

apps::CellTable longTable(const std::vector<std::vector<std::string>>& rows) {
    apps::CellTable table;
    table.header = {"category", "series", "value"};
    for (const std::vector<std::string>& row : rows)
        table.addRow(row);
    return table;
}

std::vector<std::string> categoriesOf(const std::vector<std::vector<std::string>>& rows,
                                      bool sorted = false) {
    return apps::pivotLongForm(longTable(rows), 0, 1, sorted).categories;
}

TEST(Pivot, OrdersCategoriesByEachSeriesOwnOrder) {
    // A series listed first that starts late does not put its categories first.
    EXPECT_EQ(categoriesOf({{"c", "A", "1"},
                            {"d", "A", "1"},
                            {"a", "B", "1"},
                            {"b", "B", "1"},
                            {"c", "B", "1"},
                            {"d", "B", "1"}}),
              (std::vector<std::string>{"a", "b", "c", "d"}));
    // A gap in one series is filled from another's order.
    EXPECT_EQ(categoriesOf({{"Jan", "A", "1"},
                            {"Mar", "A", "1"},
                            {"Feb", "B", "1"},
                            {"Mar", "B", "1"},
                            {"Jan", "C", "1"},
                            {"Feb", "C", "1"}}),
              (std::vector<std::string>{"Jan", "Feb", "Mar"}));
    // Series that disagree (a cycle) fall back to the order of first appearance.
    EXPECT_EQ(categoriesOf({{"x", "A", "1"}, {"y", "A", "1"}, {"y", "B", "1"}, {"x", "B", "1"}}),
              (std::vector<std::string>{"x", "y"}));
    // Sorted on request, numbers by value.
    EXPECT_EQ(categoriesOf({{"10", "A", "1"}, {"9", "A", "1"}, {"x", "A", "1"}}, true),
              (std::vector<std::string>{"9", "10", "x"}));
}

TEST(Pivot, PlacesEachRowAtItsCategoryAndRefusesTwoValuesForOneCell) {
    const apps::CellTable table = longTable(
        {{"2001", "B", "5"}, {"2000", "A", "1"}, {"2001", "A", "2"}, {" 2000 ", "B", "4"}});
    const apps::LongForm form = apps::pivotLongForm(table, 0, 1, false);
    EXPECT_EQ(form.series, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(form.categories, (std::vector<std::string>{"2001", "2000"}));
    using Cells = std::vector<std::pair<std::size_t, std::size_t>>;
    EXPECT_EQ(form.cells[0], (Cells{{0, 2}, {1, 1}}));
    EXPECT_EQ(form.cells[1], (Cells{{0, 0}, {1, 3}}));

    const auto duplicate = longTable({{"x", "A", "1"}, {"y", "A", "1"}, {"x", "A", "2"}});
    EXPECT_THAT([&] { apps::pivotLongForm(duplicate, 0, 1, false); },
                testing::ThrowsMessage<apps::ChartFailure>(
                    "two values for series 'A' at category 'x' (line 1 and line 3 of the CSV "
                    "file); aggregate them first"));
}

TEST(ParamCheck, SuggestsTheNearestDocumentedName) {
    EXPECT_EQ(apps::unknownAttributeWarning("yaxisminvalue"), std::nullopt);
    EXPECT_NE(apps::unknownAttributeWarning("yAxisMinValu")->find("(did you mean yAxisMinValue?)"),
              std::string::npos);
    EXPECT_NE(apps::unknownAttributeWarning("captoin")->find("(did you mean caption?)"),
              std::string::npos);
    EXPECT_EQ(apps::unknownAttributeWarning("frobnicateEverything")->find("did you mean"),
              std::string::npos);
    for (const std::string bad : {"", "1st", "a b", "a<b", "a'b", "a=b"})
        EXPECT_THROW(apps::requireAttributeName(bad), apps::UsageFailure) << bad;
    EXPECT_NO_THROW(apps::requireAttributeName("x-custom_attr.1"));
}

TEST(ParamCheck, KnowsEveryAttributeTheChartXmlDocumentLists) {
    std::ifstream file(std::string(PLOTARA_EXAMPLES) + "/../docs/chart-xml.md");
    ASSERT_TRUE(file) << "docs/chart-xml.md";
    std::stringstream all;
    all << file.rdbuf();
    const std::string text = all.str();
    const std::size_t start = text.find("## Chart attributes");
    const std::size_t end = text.find("\n## ", start + 1);
    ASSERT_NE(start, std::string::npos);
    std::istringstream section(text.substr(start, end - start));
    const std::vector<std::string>& known = apps::knownChartAttributes();
    std::size_t listed = 0;
    for (std::string line; std::getline(section, line);) {
        // The first cell of a table row names the attributes, each in backquotes.
        if (!line.starts_with("| `")) continue;
        const std::string cell = line.substr(1, line.find('|', 1) - 1);
        for (std::size_t open = cell.find('`'); open != std::string::npos;
             open = cell.find('`', cell.find('`', open + 1) + 1)) {
            const std::string name = cell.substr(open + 1, cell.find('`', open + 1) - open - 1);
            if (name.ends_with("...")) { // "PYAxis...": the row's names with that prefix
                const std::string prefix = name.substr(0, name.size() - 3);
                EXPECT_NE(std::find_if(known.begin(), known.end(),
                                       [&](const std::string& k) { return k.starts_with(prefix); }),
                          known.end())
                    << name;
            } else {
                EXPECT_NE(std::find(known.begin(), known.end(), name), known.end()) << name;
            }
            ++listed;
        }
    }
    EXPECT_GT(listed, 50u);
}

TEST(CommandLine, RepeatsTheTableOptions) {
    apps::RenderRequest request;
    request.type = "mscombidy2d";
    request.route = apps::InputRoute::Csv;
    request.csvFile = "sales 2024.csv";
    request.delimiter = ";";
    request.categoryColumn = "month";
    request.valueColumn = "Revenue;Units";
    request.sortCategories = true;
    request.secondary = "Units";
    request.renderAs = "Units=line";
    request.output = "dual.png";
    EXPECT_EQ(apps::commandLine(request),
              "plotara render --type mscombidy2d --csv 'sales 2024.csv' --delimiter ';' "
              "--category month --value 'Revenue;Units' --sort-categories --secondary Units "
              "--render-as Units=line --width 640 --height 480 -o dual.png");
}

} // namespace
} // namespace plotara::test
