// XY points kept compactly: which points the compact table takes, that the documents written from
// it are the ones the keyed store gives for the same calls, and what the table costs per point.
// Robustness of the documents: long random sequences of recording calls on every chart type
// (nothing crashes or leaks under the sanitizers, a document read twice is the same text), and
// a generated document, URL-decoded once as the chart movie decodes it, is XML that a real parser
// reads, with labels that need escaping coming through unchanged.
#include "core/Error.h"
#include "core/SafeArray.h"
#include "core/String.h"
#include "data/ArrayClass.h"
#include "data/detail/ArrayClassTestAccess.h"
#include "data_test_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <pugixml.hpp>
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

// Which points the table takes: given as addChartData (x and a parameter text) or narrow through
// addXYPointText (x, y and z, nullptr for none); either way the document is the store's.
TEST(CompactXYPoints, TheTableTakesOnlyPointsItWritesBackTheSame) {
    struct Case {
        bool narrow;
        const char *x, *paramsOrY, *z;
        bool compact;
    };
    const Case cases[] = {
        {false, "1.5", "Y=2.25", nullptr, true},
        {false, " 7 ", " y = 3 ", nullptr, true},
        {false, "30", "Y=1.3;Z=116", nullptr, true},
        {false, "30", "z=4;Y=1", nullptr, true},
        {false, "5", "", nullptr, true},
        {false, "", "Y=1", nullptr, true},
        {false, "5", "Y=", nullptr, true},
        {false, "5", "Y=1;name=Traders", nullptr, false}, // another attribute
        {false, "5", "Y=1;y=2", nullptr, false},          // a second y
        {false, "5", "x=6;Y=1", nullptr, false},          // x given again
        {false, "5", "Y=<1>", nullptr, false},            // the value is escaped
        {false, "5", "Y=\xC3\xA9", nullptr, false},       // not ASCII
        {false, "\xC3\xA9", "Y=1", nullptr, false},
        {false, "5", "\tY=1", nullptr, false}, // a tab is kept in the name
        {false, "5", "YY=1", nullptr, false},
        {true, "1.5", "2.25", nullptr, true},
        {true, " 7 ", " 3 ", "  4", true}, // y and z trimmed, x written trimmed
        {true, "", "1", nullptr, true},
        {true, "-0.5", "", "", true},
        {true, "1", "1e+5", nullptr, false}, // "+" is escaped
        {true, "1", "2", "a;b", true},       // the general way: "b" is no parameter
        {true, "1", "2=3", nullptr, true},
        {true, "1", "\t2", nullptr, true},
        {true, "\xC3\xA9", "1", nullptr, false}, // not ASCII
        {true, "1", "<2>", nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.narrow ? "narrow " : "") + c.x + " / " + c.paramsOrY);
        TwoRecords records(30);
        records.both([](PlotaraData& data) { data.addDataset(L"S"); });
        if (c.narrow) {
            records.point(c.x, c.paramsOrY, c.z ? std::optional<std::string>(c.z) : std::nullopt);
        } else {
            records.both([&](PlotaraData& data) {
                data.addChartData(fromUtf8(c.x), fromUtf8(c.paramsOrY));
            });
        }
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

TEST(CompactXYPoints, AScatterOf30000PointsTakesUnder64BytesAPointAndPackingFreesThePoints) {
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
    auto bubbles = chart(30);
    bubbles->addDataset(L"A");
    for (int i = 0; i < 2000; ++i)
        bubbles->addChartData(std::to_wstring(i), L"Y=1;Z=" + std::to_wstring(i));
    const String written = bubbles->getXML();
    bubbles->packDocument();
    EXPECT_EQ(bubbles->engine().xyPoints().bytes(), 0u);
    EXPECT_EQ(bubbles->getXML(), written);
    // The next point starts a new record, which has no dataset yet.
    bubbles->addChartData(L"7", L"Y=8");
    EXPECT_EQ(bubbles->getXML(), test::lines({L"<chart>", L"</chart>"}));
    bubbles->addDataset(L"B");
    bubbles->addChartData(L"7", L"Y=8;Z=9");
    EXPECT_EQ(bubbles->engine().xyPoints().count(0), 1u);
}

class RandomHost {
public:
    explicit RandomHost(unsigned seed) : random_(seed) {}

    String text() {
        static const wchar_t* pieces[] = {L"a", L"Jan",        L" ",     L"",      L"=",     L";",
                                          L"|", L"'",          L"<",     L">",     L"&",     L"+",
                                          L"%", L"seriesname", L"color", L"value", L"label", L"x",
                                          L"Y", L"z",          L"12",    L"-3.5",  L"\u00e9"};
        String out;
        const int count = pick(4);
        for (int i = 0; i < count; ++i)
            out += pieces[pick(std::size(pieces))];
        return out;
    }

    String params() {
        String out;
        const int count = pick(3);
        for (int i = 0; i < count; ++i)
            out += text() + L"=" + text() + (pick(2) ? L";" : L"|");
        return out;
    }

    // One random call; errors that the rules allow (16-bit overflow, wrong array shapes) are
    // fine, anything else fails the test.
    void step(PlotaraData& data) {
        try {
            call(data);
        } catch (const Error& e) {
            ASSERT_TRUE(e.number() == 6 || e.number() == 9 || e.number() == 13 || e.number() == 94)
                << toUtf8(e.description());
        }
    }

    int pick(std::size_t n) { return static_cast<int>(random_() % n); }

private:
    // The recording members, one of which each step calls (addChartData twice as often).
    void call(PlotaraData& data) {
        using Call = void (*)(RandomHost&, PlotaraData&);
        static constexpr Call calls[] = {
            [](RandomHost& h, PlotaraData& d) { d.setChartParam(h.text(), h.text()); },
            [](RandomHost& h, PlotaraData& d) { d.setChartParams(h.params()); },
            [](RandomHost& h, PlotaraData& d) { d.setCategoriesParams(h.params()); },
            [](RandomHost& h, PlotaraData& d) {
                d.addCategory(h.text(), h.params(), h.pick(4) ? L"" : h.params());
            },
            [](RandomHost& h, PlotaraData& d) { d.addDataset(h.text(), h.params()); },
            [](RandomHost& h, PlotaraData& d) {
                d.addChartData(h.text(), h.params(), h.pick(4) ? L"" : h.params());
            },
            [](RandomHost& h, PlotaraData& d) { d.addChartData(h.text(), h.params()); },
            [](RandomHost& h, PlotaraData& d) { d.addVLine(h.params()); },
            [](RandomHost& h, PlotaraData& d) { d.defineStyle(h.text(), h.text(), h.params()); },
            [](RandomHost& h, PlotaraData& d) { d.applyStyle(h.text(), h.text()); },
            [](RandomHost& h, PlotaraData& d) { d.addTrendLine(h.params()); },
            [](RandomHost& h, PlotaraData& d) { d.addVTrendLine(h.params()); },
            [](RandomHost&, PlotaraData& d) { d.createMSStDataset(); },
            [](RandomHost& h, PlotaraData& d) { d.addMSStSubDataset(h.text(), h.params()); },
            [](RandomHost& h, PlotaraData& d) { d.addMSLineset(h.text(), h.params()); },
            [](RandomHost& h, PlotaraData& d) { d.addMSLinesetData(h.text(), h.params()); },
            [](RandomHost& h, PlotaraData& d) {
                d.addColors(h.pick(3) ? L"FF0000;00FF00" : h.text());
            },
            [](RandomHost&, PlotaraData& d) { d.clearUserColor(); },
            [](RandomHost& h, PlotaraData& d) {
                d.setParamDelimiter(h.pick(2) ? L";" : (h.pick(2) ? L"|" : L""));
            },
            [](RandomHost& h, PlotaraData& d) {
                d.addCategoryFromArray(
                    Variant(SafeArray::of2D({{h.text(), h.text()}, {h.text(), h.text()}})));
            },
            [](RandomHost& h, PlotaraData& d) {
                d.addChartDataFromArray(
                    Variant(SafeArray::of2D({{h.text(), h.params(), h.text(), h.text()}})));
            },
            [](RandomHost& h, PlotaraData& d) {
                d.setChartTypeNumber(std::to_wstring(h.pick(39)));
            },
        };
        calls[pick(std::size(calls))](*this, data);
    }

    std::mt19937 random_;
};

TEST(RandomSequences, NeverCrashAndReadTwiceTheSame) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        RandomHost host(seed);
        PlotaraData data;
        data.setChartTypeNumber(std::to_wstring(seed % 38));
        for (int i = 0; i < 400; ++i) {
            host.step(data);
            if (host.pick(25) == 0) {
                String first, second;
                try {
                    first = data.getXML();
                    second = data.getXML();
                } catch (const Error& e) {
                    // Only the trend-line and style sections raise to the caller.
                    ADD_FAILURE() << "seed " << seed << ": " << toUtf8(e.description());
                }
                ASSERT_EQ(first, second) << "seed " << seed;
            }
        }
    }
}

// Query-string decoding: "+" is a blank, "%XX" a byte.
std::string urlDecode(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() + 0 &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

TEST(WellFormed, DecodedDocumentsParseAndLabelsSurvive) {
    const String awkward = L"R&D's <best> 50% a+b \u00e9";
    auto single = chart(1);
    single->setChartParams(L"caption=" + awkward);
    single->addCategory(awkward, L"toolText=" + awkward);
    single->addChartData(L"1");

    auto multi = chart(11);
    multi->addCategory(awkward);
    multi->addDataset(awkward, L"toolText=" + awkward);
    multi->addChartData(L"1", L"toolText=" + awkward);
    multi->addTrendLine(L"displayValue=" + awkward);
    multi->defineStyle(L"S", L"font", L"font=" + awkward);
    multi->applyStyle(L"CAPTION", L"S");

    for (PlotaraData* data : {single.get(), multi.get()}) {
        const std::string decoded = urlDecode(toUtf8(data->getXML()));
        pugi::xml_document document;
        const pugi::xml_parse_result parsed = document.load_string(decoded.c_str());
        ASSERT_TRUE(parsed) << parsed.description() << "\n" << decoded;
        const std::string expected = toUtf8(awkward);
        int checked = 0;
        for (const pugi::xpath_node& node :
             document.select_nodes("//@label | //@seriesName | //@toolText | //@caption | "
                                   "//@displayValue | //@font")) {
            EXPECT_EQ(node.attribute().value(), expected) << node.attribute().name();
            ++checked;
        }
        EXPECT_GE(checked, 3);
    }
}

} // namespace
} // namespace plotara
