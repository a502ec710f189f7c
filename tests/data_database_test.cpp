// Categories, series and datasets imported from recordsets: over an in-memory recordset for the
// rules, and over a real SQLite file for a lock taken between the passes of an import. (The same
// imports over real SQLite and ODBC recordsets: SameImportBothWays, and the command line's routes.)
#include "core/Error.h"
#include "core/SafeArray.h"
#include "core/Text.h"
#include "data/ArrayClass.h"
#include "data/detail/ArrayClassTestAccess.h"
#include "data/detail/DatabaseParams.h"
#include "data_test_support.h"
#include "database_test_support.h"
#include "platform/sqlite/SqliteDatabase.h"
#include "platform/sqlite/SqliteRecordset.h"

#include <gtest/gtest.h>

namespace plotara {
namespace {

using test::chart;
using test::lines;
using test::RecordingSink;
using test::TableRecordset;
using test::TempDir;

using Rows = std::vector<std::vector<Variant>>;

TableRecordset regions(Rows rows) {
    return TableRecordset({L"Region", L"Sales"}, std::move(rows));
}

TEST(DatabaseParams, BracketListItemsAndJoinedPairs) {
    struct Case {
        const wchar_t* text;
        std::vector<String> items;
    };
    const Case cases[] = {
        {L"", {}},
        {L"[a][b][c]", {L"a", L"b", L"c"}},
        {L"[color = FF0000 ][ alpha=50]", {L"color=FF0000", L"alpha=50"}},
        {L"x[a]tail", {L"xa"}},  // before the first "[" joins, after the last "]" drops
        {L"no brackets", {}},    // nothing was closed
        {L"[][b]", {L"", L"b"}}, // an empty item stays in its place
        {L"[a\tb]", {L"a\tb"}},  // only blanks vanish
        {L"[[a]]", {L"a", L""}}, // "]" always closes an item
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseBracketList(c.text), c.items) << c.text;
    EXPECT_EQ(buildParamString({}), L"");
    EXPECT_EQ(buildParamString({{L"color", L"FF0000"}, {L"alpha", L"50"}}),
              L" color=FF0000; alpha=50; ");
    EXPECT_EQ(buildParamString({{L"", L"x"}}), L" ");
}

TEST(DataFromDatabase, OnePointPerRowNullReadsAsEmptyAndAFailureEndsTheImport) {
    auto data = chart(1);
    TableRecordset rs({L"v"}, {{Long{10}}, {Variant::null()}, {L" 30 "}});
    rs.moveTo(3); // the import rewinds first
    data->addDataFromDatabase(rs, L"v");
    EXPECT_TRUE(data->get_isDataAdded());
    EXPECT_EQ(data->getXML(), lines({L"<chart>", L"<set value='10'  />", L"<set  />",
                                     L"<set value='30'  />", L"</chart>"}));
    auto failing = chart(1);
    TableRecordset broken({L"v"}, {{Long{1}}, {Long{2}}, {Long{3}}});
    broken.failAtRow = 2;
    EXPECT_NO_THROW(failing->addDataFromDatabase(broken, L"v"));
    EXPECT_EQ(ArrayClassTestAccess::counters(failing->engine()).dataPointCount, 2);
    TableRecordset other({L"v"}, {{Long{1}}});
    EXPECT_NO_THROW(failing->addDataFromDatabase(other, L"missing"));
    EXPECT_EQ(ArrayClassTestAccess::counters(failing->engine()).dataPointCount, 2);
}

// The keyed record as text: keys, texts and nested nodes in their order.
String recordText(const KeyedNode& node) {
    String out;
    for (const KeyedNode::Item& item : node.items()) {
        out += item.first;
        if (item.second.isNode())
            out += L"{" + recordText(item.second.node()) + L"}";
        else
            out += L"=" + String(item.second.text()) + L";";
    }
    return out;
}

// A label can skip the composed "label=<label>;" text and go onto the point directly; the record
// and the document must stay what the addChartData calls of the general rule give, on every kind
// of point, with labels that need escaping and labels that cannot take the short way.
TEST(DataFromDatabase, LabelsAreRecordedAsTheEquivalentCallsRecordThem) {
    struct Setup {
        const char* name;
        int chartType;
        std::function<void(PlotaraData&)> prepare;
    };
    const Setup setups[] = {
        {"single series", 1, [](PlotaraData&) {}},
        {"single series with categories", 1,
         [](PlotaraData& d) {
             for (int c = 0; c < 8; ++c)
                 d.addCategory(L"C" + std::to_wstring(c));
         }},
        {"a dataset", 11, [](PlotaraData& d) { d.addDataset(L"S"); }},
        {"series by rounds of categories", 11,
         [](PlotaraData& d) {
             d.addCategory(L"Q1");
             d.addCategory(L"Q2");
             d.addChartData(L"1");
             d.addChartData(L"2"); // the import starts the next series
         }},
        {"line set", 11,
         [](PlotaraData& d) {
             d.addDataset(L"S");
             d.addMSLineset(L"L");
         }},
        {"scatter", 29, [](PlotaraData& d) { d.addDataset(L"XY"); }},
    };
    const Rows rows = {
        {Long{1}, L" Jan "},    {2.5, L"a<b & c+d%'"},    {Variant::null(), Variant::null()},
        {L" 4 ", L"x;color=1"}, {Long{5}, L"k=v"},        {6.0, L""},
        {Long{7}, L"   "},      {-0.125, L"Zürich 東京"},
    };
    for (const Setup& setup : setups) {
        for (const wchar_t* delimiter : {L";", L"|"}) {
            for (const wchar_t* params : {L"", L"color=FF0000 "}) {
                SCOPED_TRACE(std::string(setup.name) + " delimiter " + toUtf8(delimiter) +
                             " params '" + toUtf8(params) + "'");
                auto imported = chart(setup.chartType), called = chart(setup.chartType);
                for (PlotaraData* d : {imported.get(), called.get()}) {
                    d->setParamDelimiter(delimiter);
                    setup.prepare(*d);
                }
                TableRecordset rs({L"v", L"m"}, rows);
                imported->addDataFromDatabase(rs, L"v", L"m", params);

                auto text = [](const Variant& v) { return v.isNull() ? String() : toText(v); };
                const Integer categories =
                    ArrayClassTestAccess::counters(called->engine()).categoryCount;
                for (std::size_t r = 0; r < rows.size(); ++r) {
                    called->addChartData(text::trim(text(rows[r][0])),
                                         L"label=" + text::trim(text(rows[r][1]) + L";" + params));
                    if (categories > 0 && r + 1 == static_cast<std::size_t>(categories)) break;
                }
                EXPECT_EQ(recordText(imported->engine().items()),
                          recordText(called->engine().items()));
                const String document = imported->getXML();
                EXPECT_EQ(document, called->getXML());
            }
        }
    }
    // The short way was taken and escaped its label.
    auto data = chart(1);
    TableRecordset rs({L"v", L"m"}, rows);
    data->addDataFromDatabase(rs, L"v", L"m");
    EXPECT_NE(data->getXML().find(L"<set value='2.5'  label='a%26lt;b %26 c%2bd%25%26apos;' />"),
              String::npos)
        << toUtf8(data->getXML());
}

TEST(DataFromDatabase, StopsAfterAsManyRowsAsCategories) {
    auto data = chart(1);
    data->addCategory(L"Q1");
    data->addCategory(L"Q2");
    TableRecordset rs({L"v", L"m"}, {{Long{10}, L"Jan"}, {Long{20}, L"Feb"}, {Long{30}, L"Mar"}});
    int yields = 0;
    data->setYieldHandler([&] { ++yields; });
    data->addDataFromDatabase(rs, L"v", L"m");
    EXPECT_EQ(ArrayClassTestAccess::counters(data->engine()).dataPointCount, 2);
    EXPECT_EQ(yields, 1); // the import ends on the second row, before its yield
    EXPECT_EQ(data->getXML(), lines({L"<chart>", L"<set label='Q1'  Value='10' label='Jan' />",
                                     L"<set label='Q2'  Value='20' label='Feb' />", L"</chart>"}));
}

TEST(CategoryFromDatabase, OneCategoryPerRowWithAYieldEach) {
    auto data = chart(11);
    TableRecordset rs({L"Month"}, {{L" Jan "}, {Variant::null()}, {Long{3}}});
    int yields = 0;
    data->setYieldHandler([&] { ++yields; });
    data->addCategoryFromDatabase(rs, L"Month");
    EXPECT_EQ(yields, 3);
    data->addDataset(L"S");
    EXPECT_EQ(data->getXML(), lines({L"<chart>", L"<categories>", L"<category label='Jan' />",
                                     L"<category />", L"<category label='3' />", L"</categories>",
                                     L"<dataset seriesName='S'>", L"</dataset>", L"</chart>"}));
}

TEST(CategoryFromDatabase, ScatterCategoriesTakeLabelAndXColumns) {
    auto data = chart(29);
    TableRecordset rs({L"Name", L"XPos"}, {{L"A", 1.5}, {L"B", Long{4}}});
    data->addCategoryFromDatabase(rs, L"Name;XPos");
    data->addCategoryFromDatabase(rs, L";XPos"); // a fresh document, now without labels
    data->addDataset(L"S");
    data->addChartData(L"1", L"y=2");
    EXPECT_EQ(data->getXML(),
              lines({L"<chart>", L"<categories>", L"<category label='A' x='1.5' />",
                     L"<category label='B' x='4' />", L"<category x='1.5' />",
                     L"<category x='4' />", L"</categories>", L"<dataset seriesName='S' >",
                     L"<set X='1' Y='2'  />", L"</dataset>", L"</chart>"}));
}

TEST(CategoryFromDatabase, FailuresGoToTheMessageSinkOrStandardError) {
    struct Case {
        int chartType;
        const wchar_t* column;
        std::optional<std::size_t> failAtRow;
        const wchar_t* message;
        Integer categories;
    };
    const Case cases[] = {
        {1, L"Mon", {}, L"Mon: The query result has no column named 'Mon'", 0},
        {1, L"Month", 1, L"Month: disk I/O error", 1},
        {29, L"Month", {}, L"Month: Subscript out of range", 0},
        {29, L"Month;X", {}, L"Month;X: The query result has no column named 'X'", 0},
    };
    for (const Case& c : cases) {
        auto data = chart(c.chartType);
        auto sink = std::make_shared<RecordingSink>();
        data->setMessageSink(sink);
        TableRecordset rs({L"Month"}, {{L"Jan"}, {L"Feb"}});
        rs.failAtRow = c.failAtRow;
        EXPECT_NO_THROW(data->addCategoryFromDatabase(rs, c.column));
        EXPECT_EQ(sink->messages, std::vector<String>{c.message}) << c.column;
        EXPECT_EQ(ArrayClassTestAccess::counters(data->engine()).categoryCount, c.categories)
            << c.column;
        EXPECT_TRUE(data->get_isDataAdded());
    }
    // Without a sink of the host's, the message goes to standard error.
    auto data = chart(1);
    TableRecordset rs({L"Month"}, {{L"Jan"}});
    testing::internal::CaptureStderr();
    data->addCategoryFromDatabase(rs, L"Day");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Day: The query result has no column named 'Day'\n");
}

TEST(DatasetsFromDatabase, GroupedFormStartsADatasetAtEveryChangeOfTheControlValue) {
    struct Case {
        Rows rows;
        const wchar_t* body;
    };
    const Case cases[] = {
        {{{L"East", Long{5}}, {L"East", Long{7}}, {L"West", Long{3}}},
         L"<dataset seriesName='East'>\r\n<set value='5'  />\r\n<set value='7'  />\r\n"
         L"</dataset>\r\n<dataset seriesName='West'>\r\n<set value='3'  />\r\n</dataset>"},
        {{{L"East", Long{5}}, {L"West", Long{3}}, {L"East", Long{7}}},
         L"<dataset seriesName='East'>\r\n<set value='5'  />\r\n</dataset>\r\n"
         L"<dataset seriesName='West'>\r\n<set value='3'  />\r\n</dataset>\r\n"
         L"<dataset seriesName='East'>\r\n<set value='7'  />\r\n</dataset>"},
    };
    for (const Case& c : cases) {
        auto data = chart(11);
        TableRecordset rs = regions(c.rows);
        data->addDatasetsFromDatabase(rs, L"Region", L"Sales");
        EXPECT_EQ(rs.rewinds, 0);
        EXPECT_EQ(data->getXML(), String(L"<chart>\r\n<categories>\r\n</categories>\r\n") + c.body +
                                      L"\r\n</chart>");
    }
}

TEST(DatasetsFromDatabase, GroupedFormReadsFromTheCurrentRowOnXYChartsIgnoreIt) {
    auto data = chart(11);
    TableRecordset rs = regions({{L"East", Long{5}}, {L"West", Long{3}}});
    rs.moveTo(1);
    data->addDatasetsFromDatabase(rs, L"Region", L"Sales");
    EXPECT_EQ(ArrayClassTestAccess::counters(data->engine()).datasetCount, 1);
    TableRecordset empty = regions({});
    data->addDatasetsFromDatabase(empty, L"Region", L"Sales");
    EXPECT_EQ(ArrayClassTestAccess::counters(data->engine()).datasetCount, 1);
    auto xy = chart(29);
    xy->addCategory(L"old");
    (void)xy->getXML();
    TableRecordset east = regions({{L"East", Long{5}}});
    xy->addDatasetsFromDatabase(east, L"Region", L"Sales");
    EXPECT_EQ(ArrayClassTestAccess::counters(xy->engine()).datasetCount, 0);
    EXPECT_EQ(ArrayClassTestAccess::counters(xy->engine()).categoryCount, 0);
}

TEST(DatasetsFromDatabase, GroupedFormHandsOutParametersOnePerDataset) {
    const Rows rows = {{L"A", Long{1}}, {L"B", Long{2}}, {L"C", Long{3}}};
    auto arrayData = chart(11);
    TableRecordset rs = regions(rows);
    arrayData->addDatasetsFromDatabase(
        rs, L"Region", L"Sales",
        Variant(SafeArray::of({L"color=FF0000;alpha = 50", L"color=00FF00"}, 1)));
    const String xml = arrayData->getXML();
    EXPECT_NE(xml.find(L"<dataset seriesName='A' color='FF0000' alpha='50'>"), String::npos);
    EXPECT_NE(xml.find(L"<dataset seriesName='B' color='00FF00'>"), String::npos);
    EXPECT_NE(xml.find(L"<dataset seriesName='C'>"), String::npos);

    auto textData = chart(11);
    TableRecordset again = regions(rows);
    textData->addDatasetsFromDatabase(again, L"Region", L"Sales", Variant(L"color=FF0000"));
    const String text = textData->getXML();
    EXPECT_NE(text.find(L"<dataset seriesName='A' color='FF0000'>"), String::npos);
    EXPECT_NE(text.find(L"<dataset seriesName='B'>"), String::npos);
}

TEST(DatasetsFromDatabase, ColumnFormNamesAndParameters) {
    // "[Sales]" is a column of its own: brackets are stripped from series names only.
    const Rows rows = {{L"Jan", Long{10}, Long{4}, Long{10}},
                       {L"Feb", Long{12}, Variant::null(), Long{12}}};
    const String categories = L"<categories>\r\n<category label='Jan' />\r\n"
                              L"<category label='Feb' />\r\n</categories>\r\n";
    const String sets = L"\r\n<set value='10'  />\r\n<set value='12'  />\r\n</dataset>\r\n";
    // A Null imports as an empty value, which the engine stores as one blank.
    const String costSets = L"\r\n<set value='4'  />\r\n<set  />\r\n</dataset>";
    struct Case {
        const wchar_t* name;
        const wchar_t* ctrlField;
        Variant params;
        const wchar_t* sales;
        const wchar_t* cost;
    };
    const Case cases[] = {
        {L"default text", L"Sales;Cost", Variant(L""), L"<dataset seriesName='Sales'>",
         L"<dataset seriesName='Cost'>"},
        {L"missing: brackets stripped", L"[Sales];Cost", Variant::missing(),
         L"<dataset seriesName='Sales'>", L"<dataset seriesName='Cost'>"},
        {L"bracket list", L"Sales;Cost", Variant(L"[color=FF0000][color=00FF00]"),
         L"<dataset seriesName='Sales' color='FF0000'>",
         L"<dataset seriesName='Cost' color='00FF00'>"},
        {L"array, one short", L"Sales;Cost", Variant(SafeArray::of({L"seriesName=Revenue"})),
         L"<dataset seriesName='Revenue'>", L"<dataset seriesName='Cost'>"},
        {L"blank items skipped", L"Sales; ;Cost;", Variant(L""), L"<dataset seriesName='Sales'>",
         L"<dataset seriesName='Cost'>"},
    };
    for (const Case& c : cases) {
        auto data = chart(11);
        TableRecordset rs({L"Month", L"Sales", L"Cost", L"[Sales]"}, rows);
        data->addDatasetsFromDatabase(rs, c.ctrlField, L"Month", c.params);
        EXPECT_EQ(rs.rewinds, 3) << c.name; // categories, then one pass per column
        EXPECT_EQ(data->getXML(), L"<chart>\r\n" + categories + c.sales + sets + c.cost + costSets +
                                      L"\r\n</chart>")
            << c.name;
    }
}

TEST(DatasetsFromDatabase, ErrorsReachTheCallerAndKeepWhatWasRecorded) {
    auto missingGroup = chart(11);
    TableRecordset rs = regions({{L"East", Long{5}}});
    EXPECT_EQ(
        test::errorTextOf([&] { missingGroup->addDatasetsFromDatabase(rs, L"Area", L"Sales"); }),
        L"3265 The query result has no column named 'Area'");
    EXPECT_TRUE(missingGroup->get_isDataAdded());

    auto missingValue = chart(11);
    EXPECT_EQ(
        test::errorTextOf([&] { missingValue->addDatasetsFromDatabase(rs, L"Region", L"Amount"); }),
        L"3265 The query result has no column named 'Amount'");
    EXPECT_EQ(ArrayClassTestAccess::counters(missingValue->engine()).datasetCount,
              1); // the dataset came first

    auto shortList = chart(11);
    TableRecordset months({L"Month", L"A", L"B"}, {{L"Jan", Long{1}, Long{2}}});
    EXPECT_EQ(test::errorTextOf([&] {
                  shortList->addDatasetsFromDatabase(months, L"A;B", L"Month", Variant(L"[x=1]"));
              }),
              L"9 Subscript out of range");
    EXPECT_EQ(ArrayClassTestAccess::counters(shortList->engine()).datasetCount, 1);

    // The category pass of the column form reports through the sink, the value passes raise.
    auto missingColumn = chart(11);
    auto sink = std::make_shared<RecordingSink>();
    missingColumn->setMessageSink(sink);
    EXPECT_EQ(
        test::errorTextOf([&] { missingColumn->addDatasetsFromDatabase(months, L"A;C", L"Day"); }),
        L"3265 The query result has no column named 'C'");
    EXPECT_EQ(sink->messages,
              std::vector<String>{L"Day: The query result has no column named 'Day'"});
}

TEST(DatabaseDispatch, RecordsetsArriveAsObjects) {
    auto data = chart(1);
    auto rs = std::make_shared<TableRecordset>(std::vector<String>{L"v"}, Rows{{Long{7}}});
    callByName(*data, L"addDataFromDatabase", InvokeKind::Method,
               {Variant(std::shared_ptr<Dispatch>(rs)), Variant(L"v")});
    EXPECT_EQ(data->getXML(), lines({L"<chart>", L"<set value='7'  />", L"</chart>"}));
    // Late-bound callers see the recordset's own members too.
    EXPECT_EQ(callByName(*rs, L"eof", InvokeKind::PropertyGet), Variant(true));
    EXPECT_EQ(callByName(*rs, L"bof", InvokeKind::PropertyGet), Variant(false));
    EXPECT_EQ(test::errorTextOf([&] {
                  callByName(*data, L"addCategoryFromDatabase", InvokeKind::Method,
                             {Variant(std::shared_ptr<Dispatch>(data.get(), [](Dispatch*) {})),
                              Variant(L"v")});
              }),
              L"13 Type mismatch");
}

TEST(SqliteImport, ALockTakenBetweenPassesIsADatabaseError) {
    TempDir dir;
    SqliteDatabase::open(dir.file("sales.db"), SqliteDatabase::Mode::Create)
        ->execute(L"CREATE TABLE sales (month TEXT, amount REAL); INSERT INTO sales VALUES"
                  L" ('Jan', 10.5), ('Feb', NULL), ('Jan', 7), ('Feb', 8.25), ('Mar', 9);");
    auto reader = SqliteDatabase::open(dir.file("sales.db"));
    auto rs = reader->query(L"SELECT month, amount FROM sales");
    while (!rs->eof())
        rs->MoveNext(); // the statement is done and holds no lock any more
    auto writer = SqliteDatabase::open(dir.file("sales.db"), SqliteDatabase::Mode::ReadWrite);
    writer->execute(L"BEGIN EXCLUSIVE");

    auto data = chart(11);
    auto sink = std::make_shared<RecordingSink>();
    data->setMessageSink(sink);
    EXPECT_NO_THROW(data->addDataFromDatabase(*rs, L"amount"));
    data->addCategoryFromDatabase(*rs, L"month");
    ASSERT_EQ(sink->messages.size(), 1u);
    EXPECT_NE(sink->messages[0].find(L"month: database is locked"), String::npos);
    EXPECT_NE(test::errorTextOf([&] {
                  data->addDatasetsFromDatabase(*rs, L"amount;month", L"month");
              }).find(L"database is locked"),
              String::npos);
    writer->execute(L"ROLLBACK");
    data->addCategoryFromDatabase(*rs, L"month"); // the same recordset works again
    EXPECT_EQ(ArrayClassTestAccess::counters(data->engine()).categoryCount, 5);
}

} // namespace
} // namespace plotara
