// Long random sequences of recording calls on every chart type: nothing crashes or leaks (the
// sanitizer build runs this too), and a document read twice in a row is the same text.
#include "core/Error.h"
#include "core/SafeArray.h"
#include "data/ArrayClass.h"
#include "data_test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace plotara {
namespace {

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

} // namespace
} // namespace plotara
