// Robustness of the documents: long random sequences of recording calls on every chart type
// (nothing crashes or leaks under the sanitizers, a document read twice is the same text), and
// a generated document, URL-decoded once as the chart movie decodes it, is XML that a real parser
// reads, with labels that need escaping coming through unchanged.
#include "core/Error.h"
#include "core/SafeArray.h"
#include "core/String.h"
#include "data/ArrayClass.h"
#include "data_test_support.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <random>
#include <string>

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

using test::chart;

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
