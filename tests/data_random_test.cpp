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
    void call(PlotaraData& data) {
        switch (pick(22)) {
        case 0:
            data.setChartParam(text(), text());
            break;
        case 1:
            data.setChartParams(params());
            break;
        case 2:
            data.setCategoriesParams(params());
            break;
        case 3:
            data.addCategory(text(), params(), pick(4) ? L"" : params());
            break;
        case 4:
            data.addDataset(text(), params());
            break;
        case 5:
        case 6:
            data.addChartData(text(), params(), pick(4) ? L"" : params());
            break;
        case 7:
            data.addVLine(params());
            break;
        case 8:
            data.defineStyle(text(), text(), params());
            break;
        case 9:
            data.applyStyle(text(), text());
            break;
        case 10:
            data.addTrendLine(params());
            break;
        case 11:
            data.addVTrendLine(params());
            break;
        case 12:
            data.createMSStDataset();
            break;
        case 13:
            data.addMSStSubDataset(text(), params());
            break;
        case 14:
            data.addMSLineset(text(), params());
            break;
        case 15:
            data.addMSLinesetData(text(), params());
            break;
        case 16:
            data.addColors(pick(3) ? L"FF0000;00FF00" : text());
            break;
        case 17:
            data.clearUserColor();
            break;
        case 18:
            data.setParamDelimiter(pick(2) ? L";" : (pick(2) ? L"|" : L""));
            break;
        case 19:
            data.addCategoryFromArray(
                Variant(SafeArray::of2D({{text(), text()}, {text(), text()}})));
            break;
        case 20:
            data.addChartDataFromArray(
                Variant(SafeArray::of2D({{text(), params(), text(), text()}})));
            break;
        case 21:
            data.setChartTypeNumber(std::to_wstring(pick(39)));
            break;
        }
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
