// XY points kept compactly: which points the compact table takes, that the documents written from
// it are the ones the keyed store gives for the same calls, and what the table costs per point.
#include "core/Error.h"
#include "data/ArrayClass.h"
#include "data/detail/ArrayClassTestAccess.h"
#include "data_test_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

namespace plotara {
namespace {

using test::chart;

// Two data objects that receive the same calls: one keeps XY points compactly, the other keeps
// every point in the keyed store, as the builder did before the table existed.
struct TwoRecords {
    std::unique_ptr<PlotaraData> compact, keyed;

    explicit TwoRecords(int chartType) : compact(chart(chartType)), keyed(chart(chartType)) {
        ArrayClassTestAccess::setCompactXY(keyed->engine(), false);
    }
    template <class Call>
    void both(Call&& call) {
        std::optional<int> compactError, keyedError;
        try {
            call(*compact);
        } catch (const Error& e) {
            compactError = e.number();
        }
        try {
            call(*keyed);
        } catch (const Error& e) {
            keyedError = e.number();
        }
        ASSERT_EQ(compactError, keyedError);
    }
    // A point given narrow to the compact record and as addChartData to the keyed one.
    void point(const std::string& x, const std::string& y, std::optional<std::string> z) {
        both([&](PlotaraData& data) {
            if (&data == compact.get()) {
                data.addXYPointText(x, y, z ? std::optional<std::string_view>(*z) : std::nullopt);
                return;
            }
            String params = L"Y=" + fromUtf8(y);
            if (z) params += L";Z=" + fromUtf8(*z);
            data.addChartData(fromUtf8(x), params);
        });
    }
    // Both documents, compared; the compact one is returned.
    String documents() {
        String a, b;
        both([&](PlotaraData& data) { (&data == compact.get() ? a : b) = data.getXML(); });
        EXPECT_EQ(a, b);
        return a;
    }
};

TEST(CompactXYPoints, TheTableTakesOnlyPointsItWritesBackTheSame) {
    struct Case {
        const wchar_t* value;
        const wchar_t* params;
        bool compact;
    };
    const Case cases[] = {
        {L"1.5", L"Y=2.25", true},
        {L" 7 ", L" y = 3 ", true},
        {L"30", L"Y=1.3;Z=116", true},
        {L"30", L"z=4;Y=1", true},
        {L"5", L"", true},
        {L"", L"Y=1", true},
        {L"5", L"Y=", true},
        {L"5", L"Y=1;name=Traders", false}, // another attribute
        {L"5", L"Y=1;y=2", false},          // a second y
        {L"5", L"x=6;Y=1", false},          // x given again
        {L"5", L"Y=<1>", false},            // the value is escaped
        {L"5", L"Y=\u00e9", false},         // not ASCII
        {L"\u00e9", L"Y=1", false},
        {L"5", L"\tY=1", false}, // a tab is kept in the name
        {L"5", L"YY=1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(toUtf8(String(c.value) + L" / " + c.params));
        TwoRecords records(30);
        records.both([](PlotaraData& data) { data.addDataset(L"S"); });
        records.both([&](PlotaraData& data) { data.addChartData(c.value, c.params); });
        EXPECT_EQ(records.compact->engine().xyPoints().count(0), c.compact ? 1u : 0u);
        records.documents();
    }
}

TEST(CompactXYPoints, ASeriesMovesToTheStoreWholeAtItsFirstOtherPoint) {
    TwoRecords records(29);
    records.both([](PlotaraData& data) {
        data.addDataset(L"A");
        data.addChartData(L"1", L"Y=1");
        data.addChartData(L"2", L"Y=2");
        data.addDataset(L"B");
        data.addChartData(L"3", L"Y=3");
    });
    EXPECT_EQ(records.compact->engine().xyPoints().count(1), 1u);
    records.both([](PlotaraData& data) {
        data.addChartData(L"4", L"Y=4;toolText=four");
        data.addChartData(L"5", L"Y=5");
    });
    const ArrayClass& engine = records.compact->engine();
    EXPECT_EQ(engine.xyPoints().count(0), 2u); // the first series is untouched
    EXPECT_FALSE(engine.xyPoints().holds(1));
    EXPECT_EQ(records.documents(),
              test::lines({L"<chart>", L"<categories>", L"</categories>",
                           L"<dataset seriesName='A' >", L"<set X='1' Y='1'  />",
                           L"<set X='2' Y='2'  />", L"</dataset>", L"<dataset seriesName='B' >",
                           L"<set X='3' Y='3'  />", L"<set X='4' Y='4'  toolText='four' />",
                           L"<set X='5' Y='5'  />", L"</dataset>", L"</chart>"}));
}

TEST(CompactXYPoints, ChartTypeChangesAndPointsBeforeADatasetWriteAsTheStoreDoes) {
    // Points recorded on a scatter chart and written as another kind (and the reverse) are read
    // through the store's series nodes.
    for (const int writtenAs : {1, 11, 29, 30, 37}) {
        SCOPED_TRACE(writtenAs);
        TwoRecords records(29);
        records.both([&](PlotaraData& data) {
            data.addChartData(L"9", L"Y=9");
            data.addDataset(L"A");
            data.addChartData(L"1", L"Y=1;Z=2");
            data.addChartData(L" ", L"Y=3");
            data.addChartData(L"", L"Y=4");
            data.addChartData(L"5", L"Y=5");
            data.setChartTypeNumber(std::to_wstring(writtenAs));
        });
        records.documents();
    }
}

TEST(CompactXYPoints, ThePointCountersOverflowAsInTheStore) {
    // Past 32,767 points the counters overflow: the points after that are not added.
    TwoRecords records(29);
    records.both([](PlotaraData& data) { data.addDataset(L"A"); });
    for (int i = 0; i < 32770; ++i) {
        const String x = std::to_wstring(i);
        records.both([&](PlotaraData& data) { data.addChartData(x, L"Y=" + x); });
    }
    EXPECT_EQ(records.compact->engine().xyPoints().count(0), 32767u);
    const String document = records.documents();
    EXPECT_NE(document.find(L"<set X='32766' Y='32766'  />\r\n</dataset>"), String::npos);
}

// Random XY recordings, with the pieces that decide between the table and the store.
class RandomXY {
public:
    // narrow: a third of the points go to the compact record through addXYPointText.
    explicit RandomXY(unsigned seed, bool narrow = false) : random_(seed), narrow_(narrow) {}

    void step(TwoRecords& records) {
        // Every random choice is made before the call, so both records see the same call.
        const int kind = pick(14);
        if (narrow_ && kind >= 10) {
            const std::string x = toUtf8(pickOf(values)), y = toUtf8(pickOf(values));
            const std::string z = toUtf8(pickOf(values));
            records.point(x, y, pick(2) ? std::optional<std::string>(z) : std::nullopt);
            return;
        }
        const String value = pickOf(values), params = paramsText();
        const String datasetParams = pick(2) ? L"" : L"color=FF0000";
        const String delimiter = pick(2) ? L";" : L"|";
        static constexpr const wchar_t* types[] = {L"29", L"30", L"1", L"11"};
        const String type = pickOf(types);
        records.both([&](PlotaraData& data) {
            switch (kind) {
            case 0:
                data.addDataset(value, datasetParams);
                break;
            case 1:
                data.setParamDelimiter(delimiter);
                break;
            case 2:
                data.addCategory(value, L"x=" + value);
                break;
            case 3:
                // Points recorded under one kind of chart and read under another.
                data.setChartTypeNumber(type);
                break;
            default:
                data.addChartData(value, params);
                break;
            }
        });
    }
    int pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

private:
    template <std::size_t N>
    const wchar_t* pickOf(const wchar_t* const (&list)[N]) {
        return list[pick(static_cast<int>(N))];
    }
    String paramsText() {
        String out;
        const int pairs = pick(4);
        for (int i = 0; i < pairs; ++i)
            out += String(pickOf(names)) + L"=" + pickOf(values) + (pick(3) ? L";" : L"|");
        return out;
    }

    static constexpr const wchar_t* values[] = {L"1",   L"-2.5",   L" 3 ",  L"",    L" ",
                                                L"<4>", L"\u00e9", L"1e+5", L"a;b", L"\t7"};
    static constexpr const wchar_t* names[] = {L"Y", L"y", L"Z", L"z", L" Y ", L"x", L"name", L""};
    std::mt19937 random_;
    bool narrow_;
};

// Against a record that keeps every point in the keyed store: the documents, the counters and
// the errors are the same, whichever way each point went (narrow: a third through addXYPointText).
TEST(CompactXYPoints, RandomRecordingsWriteTheDocumentsOfTheStore) {
    for (const bool narrow : {false, true}) {
        for (unsigned seed = 1; seed <= 60; ++seed) {
            SCOPED_TRACE(std::to_string(seed) + (narrow ? " narrow" : " wide"));
            RandomXY host(seed, narrow);
            TwoRecords records(seed % 2 ? 29 : 30);
            for (int i = 0; i < 300; ++i) {
                host.step(records);
                // A document now and then; the next call starts a new record.
                if (host.pick(40) == 0) records.documents();
            }
            records.documents();
            const auto a = ArrayClassTestAccess::counters(records.compact->engine());
            const auto b = ArrayClassTestAccess::counters(records.keyed->engine());
            EXPECT_EQ(a.dataPointCount, b.dataPointCount);
            EXPECT_EQ(a.datasetPointIndex, b.datasetPointIndex);
        }
    }
}

TEST(CompactXYPoints, NarrowPointsLandInTheTableOrTheStoreAsAddChartDataPutsThem) {
    struct Case {
        const char* x;
        const char* y;
        std::optional<const char*> z;
        bool compact;
    };
    const Case cases[] = {
        {"1.5", "2.25", std::nullopt, true},
        {" 7 ", " 3 ", "  4", true}, // y and z trimmed, x written trimmed
        {"", "1", std::nullopt, true},
        {"-0.5", "", "", true},
        {"1", "1e+5", std::nullopt, false}, // "+" is escaped
        {"1", "2", "a;b", true},            // the general way: "b" is no parameter
        {"1", "2=3", std::nullopt, true},
        {"1", "\t2", std::nullopt, true},
        {"\xC3\xA9", "1", std::nullopt, false}, // not ASCII
        {"1", "<2>", std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.x) + " / " + c.y);
        TwoRecords records(30);
        records.both([](PlotaraData& data) { data.addDataset(L"S"); });
        records.point(c.x, c.y,
                      c.z ? std::optional<std::string>(*c.z) : std::optional<std::string>());
        EXPECT_EQ(records.compact->engine().xyPoints().count(0), c.compact ? 1u : 0u);
        records.documents();
    }
}

TEST(CompactXYPoints, NarrowPointsTakeTheGeneralWayWhereTheTableCannotServe) {
    // Another delimiter, a chart that is not XY, a series already in the store, a listening host.
    TwoRecords records(29);
    std::vector<String> reports[2];
    records.compact->setDiagnostics([&](const Diagnostic& d) { reports[0].push_back(d.text); });
    records.keyed->setDiagnostics([&](const Diagnostic& d) { reports[1].push_back(d.text); });
    records.both([](PlotaraData& data) { data.addDataset(L"A"); });
    records.point("abc", "1", std::nullopt); // not a number: reported
    records.both([](PlotaraData& data) { data.setDiagnostics(nullptr); });
    records.point("2", "2", std::nullopt);
    EXPECT_EQ(reports[0], reports[1]);
    EXPECT_EQ(reports[0].size(), 1u);
    records.both([](PlotaraData& data) { data.setParamDelimiter(L"Y"); });
    records.point("3", "3", std::nullopt);
    records.both([](PlotaraData& data) {
        data.setParamDelimiter(L";");
        data.addDataset(L"B");
        data.addChartData(L"4", L"Y=4;toolText=four");
    });
    records.point("5", "5", std::nullopt); // B lives in the store now
    EXPECT_EQ(records.compact->engine().xyPoints().count(1), 0u);
    records.documents();
    TwoRecords column(1);
    column.point("6", "6", std::nullopt);
    column.documents();
}

TEST(CompactXYPoints, AScatterOf30000PointsTakesUnder64BytesAPoint) {
    auto data = chart(29);
    for (const wchar_t* name : {L"a", L"b"}) {
        data->addDataset(name);
        for (int i = 0; i < 15000; ++i) {
            const String number = std::to_wstring(10000 + i) + L".125";
            data->addChartData(number, L"Y=" + number);
        }
    }
    const std::size_t bytes = data->engine().xyPoints().bytes();
    EXPECT_LT(bytes, 30000u * 64u); // a keyed node each took about 280
    EXPECT_EQ(data->engine().xyPoints().count(0) + data->engine().xyPoints().count(1), 30000u);
    const String document = data->getXML();
    EXPECT_NE(document.find(L"<set X='24999.125' Y='24999.125'  />\r\n</dataset>"), String::npos);
}

TEST(CompactXYPoints, PackingTheDocumentGivesThePointsBackAndKeepsTheDocument) {
    auto data = chart(30);
    data->addDataset(L"A");
    for (int i = 0; i < 2000; ++i)
        data->addChartData(std::to_wstring(i), L"Y=1;Z=" + std::to_wstring(i));
    const String document = data->getXML();
    data->packDocument();
    EXPECT_EQ(data->engine().xyPoints().bytes(), 0u);
    EXPECT_EQ(data->getXML(), document);
    // The next point starts a new record, which has no dataset yet.
    data->addChartData(L"7", L"Y=8");
    EXPECT_EQ(data->getXML(), test::lines({L"<chart>", L"</chart>"}));
    data->addDataset(L"B");
    data->addChartData(L"7", L"Y=8;Z=9");
    EXPECT_EQ(data->engine().xyPoints().count(0), 1u);
}

} // namespace
} // namespace plotara
