// Number texts of the player: reading them with a document's separators, formatting them with
// prefix, suffix, decimals and scale, and showing values, ticks and percentages true.
#include "player/layout/NumberFormat.h"
#include "player/model/ChartParser.h"
#include "player/util/Decimals.h"
#include "player/util/TextUtil.h"
#include "player_model_support.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace plotara::player {
namespace {

using testing::drawChart;
using testing::singleSeries;

constexpr NumberSyntax cForm{};
constexpr NumberSyntax german{U',', U'.'};
constexpr NumberSyntax french{U',', U'\u202f'};
constexpr NumberSyntax noGrouping{U',', 0};

TEST(NumberSyntax, TextsReadWithTheDocumentSeparators) {
    struct Case {
        NumberSyntax syntax;
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {cForm, "1,234.5", 1234.5},
        {cForm, "1,234,567", 1234567},
        {cForm, "1,5", 1.5}, // not a grouping: the separator was meant as a decimal point
        {cForm, "1,5,3", {}},
        {cForm, "1,234.5,6", {}},
        {german, "1,5", 1.5},
        {german, "1.234,5", 1234.5},
        {german, "1,234", 1.234},
        {german, "1.234", 1234},
        {german, "2.4", 2.4}, // a sample written in the C form stays itself
        {german, "-1.234.567,25", -1234567.25},
        {german, "1.2.3", {}},
        {german, "1,2,3", {}},
        {german, "1,5e3", 1500},
        {french, "1\u202f234,5", 1234.5},
        {french, "1\u00a0234,5", 1234.5},
        {french, "1 234,5", 1234.5},
        {french, "1.5", 1.5},
        {french, "1,5", 1.5},
        {noGrouping, "1,5", 1.5},
        {noGrouping, "1.234", 1.234},
        {german, "12px", {}},
        {german, "\xe2\x80", {}}, // a cut UTF-8 sequence
        {german, "", {}},
        {german, "1e400", 1e300},
    };
    // Numbers as people write them, read with the C separators (the default).
    const std::pair<const char*, std::optional<double>> plain[] = {
        {"12.5", 12.5}, {"  -3e2 ", -300}, {"+7", 7},          {"1,234.5", 1234.5}, {".5", 0.5},
        {"5.", 5},      {"1e400", 1e300},  {"-1e400", -1e300}, {"1e-400", 0},       {"", {}},
        {"  ", {}},     {"abc", {}},       {"1.5.2", {}},      {"1e", {}},          {"+-5", {}},
        {"--5", {}},    {"nan", {}},       {"inf", {}},        {"0x10", {}},        {"12px", {}},
        {"-", {}},      {"+", {}},         {"1,2,3", {}},      {"\t42\n", 42},
    };
    std::vector<Case> all(std::begin(cases), std::end(cases));
    for (const auto& [text, value] : plain)
        all.push_back({cForm, text, value});
    for (const Case& c : all) {
        auto v = c.syntax == cForm ? parseNumber(c.text) : parseNumber(c.text, c.syntax);
        ASSERT_EQ(v.has_value(), c.value.has_value()) << "'" << c.text << "'";
        if (v) {
            EXPECT_DOUBLE_EQ(*v, *c.value) << "'" << c.text << "'";
        }
    }
}

TEST(NumberSyntax, DocumentNamesItsInputAndDisplaySeparators) {
    DocumentNumbers numbers{german, german};
    ParseResult own = parseChartXml("<chart><set value='1,5' label='1,5'/></chart>", numbers);
    ASSERT_TRUE(own.ok);
    EXPECT_EQ(own.model.datasets.at(0).points.at(0).value, 1.5);
    EXPECT_EQ(own.model.categories.at(0).label, "1,5") << "labels stay texts";

    ParseResult named = parseChartXml(
        "<chart inDecimalSeparator='.' inThousandSeparator=',' decimalSeparator=','"
        " thousandSeparator=' ' yAxisMaxValue='1,000.5'><set value='1,234.5'/></chart>",
        numbers);
    ASSERT_TRUE(named.ok);
    EXPECT_EQ(named.model.datasets.at(0).points.at(0).value, 1234.5);
    EXPECT_EQ(named.model.chart.number("yaxismaxvalue", 0), 1000.5);
    EXPECT_EQ(numberFormatOf(named.model.chart).format(1234.5), "1 234,5");

    ParseResult shown = parseChartXml("<chart><set value='1234.5'/></chart>", {cForm, french});
    EXPECT_EQ(numberFormatOf(shown.model.chart).format(1234.5), "1\u202f234,5");
}

NumberFormat scaled() {
    NumberFormat f;
    f.scale = true;
    return f;
}

TEST(NumberFormat, TicksAreDistinctAndTrue) {
    struct Case {
        NumberFormat f;
        double step;
        std::vector<double> ticks;
        std::vector<std::string> texts;
    } cases[] = {
        {scaled(), 0.5e6, {0, 0.5e6, 1e6, 2.5e6}, {"0", "500K", "1M", "2.5M"}},
        {scaled(), 0.25e9, {1e9, 1.25e9, 1.5e9}, {"1B", "1.25B", "1.5B"}},
        {scaled(), 0.1e3, {1e3, 1.1e3}, {"1K", "1.1K"}},
        {NumberFormat{}, 1e-5, {0, 1e-5, 2e-5}, {"0", "0.00001", "0.00002"}},
        {NumberFormat{}, 2.5e-7, {5e-7, 7.5e-7}, {"0.0000005", "0.00000075"}},
        {NumberFormat{"", "", 2, true}, 10, {0, 10}, {"0.00", "10.00"}},
    };
    for (const Case& c : cases) {
        for (std::size_t i = 0; i < c.ticks.size(); ++i)
            EXPECT_EQ(c.f.formatTick(c.ticks[i], c.step), c.texts[i]) << c.ticks[i];
    }
}

// Numbers on the chart read true: tick labels of scaled and tiny ranges are distinct and never
// "0" for a non-zero tick, and value labels and pie percentages of tiny values are not "0".
TEST(NumbersOnTheChart, TicksValuesAndPercentagesReadTrue) {
    struct Case {
        int type;
        std::string xml;
        TextKind role;      // a text of this role must read `wanted`
        std::string wanted; // (a pie label must contain it)
    } cases[] = {
        {2, singleSeries("formatNumberScale='1'", {2.5e6, 1e6, 1.7e6}), TextKind::Tick, "1.5M"},
        {2, singleSeries("formatNumberScale='1' yAxisMinValue='1000000000'", {1.1e9, 1.6e9}),
         TextKind::Tick, "1.2B"},
        {7, singleSeries("", {0.00001, 0.00003, 0.00002}), TextKind::Tick, "0.00002"},
        {2, singleSeries("decimals='2'", {0.00002, 5}), TextKind::ValueLabel, "0.00002"},
        {4, singleSeries("showPercentValues='1'", {9998, 2}), TextKind::PieLabel, "0.02%"},
    };
    for (const Case& c : cases) {
        auto player = drawChart(c.type, c.xml, 480, 360);
        const ChartLayout& l = player->scene().layout;
        for (const LayoutAxis& a : l.axes) {
            std::vector<std::string> labels;
            for (const LayoutTick& t : a.ticks) {
                if (t.label.empty()) continue;
                if (t.value != 0) {
                    EXPECT_NE(t.label, "0") << c.xml << " tick " << t.value;
                }
                EXPECT_EQ(std::count(labels.begin(), labels.end(), t.label), 0)
                    << c.xml << ": two ticks read " << t.label;
                labels.push_back(t.label);
            }
        }
        bool found = false;
        for (const LayoutText& t : l.texts) {
            if (t.tag.kind != c.role) continue;
            found |= c.role == TextKind::PieLabel ? t.text.find(c.wanted) != std::string::npos
                                                  : t.text == c.wanted;
            if (c.role == TextKind::PieLabel) {
                EXPECT_EQ(t.text.find(" 0%"), std::string::npos) << t.text;
            }
        }
        EXPECT_TRUE(found) << c.xml << ": no text reads " << c.wanted;
    }
}

// The format with a comma for the decimal point and dots between thousands.
NumberFormat commaDecimals(bool thousands = true) {
    NumberFormat f{"", "", 2, true};
    f.decimalPoint = ",";
    f.thousandsSeparator = ".";
    f.thousands = thousands;
    return f;
}

// Prefix, suffix, decimals and scale; non-zero values never read zero; separators applied once.
TEST(NumberFormat, PrefixSuffixDecimalsAndScale) {
    const NumberFormat two{"", "", 2, true}, pie = NumberFormat{}.percent(1, false);
    struct Case {
        NumberFormat f;
        double v;
        std::string text;
    } cases[] = {
        {{"$", "", -1, false, true, false}, 235000, "$235,000"},
        {{"$", "M", -1, false, true, false}, -12.5, "-$12.5M"},
        {{"", "", 1, false, true, false}, 2.45, "2.5"},
        {{"", "", 2, true, true, false}, 3, "3.00"},
        {{"", "", 2, false, true, false}, 3, "3"},
        {{"", "", -1, false, false, false}, 1234567, "1234567"},
        {{"", "", 1, false, true, true}, 1234567, "1.2M"},
        {{"", "", 1, false, true, true}, 1e6, "1M"}, // a million is the first "M"
        {{"", "%", -1, false, true, false}, 1e20, "1e+20%"},
        {{"", "", 0, false, true, false}, -0.2, "-0.2"},
        {two, 0.00002, "0.00002"},
        {two, -0.0004, "-0.0004"},
        {two, 0.004, "0.004"},
        {two, 0, "0.00"},
        {NumberFormat{}, 0.000123456, "0.00012"},
        {pie, 0.02, "0.02%"},
        {pie, 12.34, "12.3%"},
        {commaDecimals(), 1.5, "1,50"},
        {commaDecimals(), -1234567.891, "-1.234.567,89"},
        {commaDecimals().percent(1, true), 50, "50,0%"},
        {commaDecimals().plain(), 1234.5, "1.234,5"},
        {commaDecimals(false), 1234.5, "1234,50"},
        // Rounded from the double's exact value, a tie to the even digit.
        {{"", "", 2, true, true, false}, 0.125, "0.12"},
        {{"", "", 0, false, true, false}, -3.5, "-4"},
        {{"", "", 3, true, true, false}, 0.0055, "0.005"}, // 0.00549999...
        {{"", "", 15, true, true, false}, 123456.7, "123,456.699999999997090"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.f.format(c.v), c.text) << c.v;
    EXPECT_EQ(NumberFormat{}.format(missingValue), "");
    EXPECT_EQ(decimalsForStep(0.25), 2);
    EXPECT_EQ(decimalsForStep(50), 0);
}

// The fast decimals give std::to_chars's text whenever they give one, and give one for nearly
// every chart value; values on or beside halfway points included.
TEST(NumberFormat, FastDecimalsAreTheExactRounding) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> value(-1e6, 1e6);
    std::uniform_int_distribution<int> cents(-2000000, 2000000);
    int fast = 0, tries = 0;
    for (int i = 0; i < 300000; ++i) {
        const int decimals = i % 7;
        const bool keepZeros = i % 2 == 0;
        double v = value(random) / (i % 5 == 0 ? 1e4 : 1);
        if (i % 3 == 1) v = cents(random) / 100.0 + 0.005;
        if (i % 3 == 2) v = std::nextafter(cents(random) / 200.0, i % 4 < 2 ? 1e9 : -1e9);
        char exact[400], quick[maxDecimalsText];
        std::string_view want(
            exact, static_cast<std::size_t>(std::to_chars(exact, exact + sizeof exact, v,
                                                          std::chars_format::fixed, decimals)
                                                .ptr -
                                            exact));
        if (!keepZeros && want.find('.') != std::string_view::npos) {
            while (want.back() == '0')
                want.remove_suffix(1);
            if (want.back() == '.') want.remove_suffix(1);
        }
        if (want.starts_with('-') && want.find_first_not_of("-0.") == std::string_view::npos)
            want.remove_prefix(1);
        ++tries;
        const char* end = writeDecimals(quick, v, decimals, keepZeros);
        if (!end) continue;
        ++fast;
        ASSERT_EQ(std::string_view(quick, static_cast<std::size_t>(end - quick)), want)
            << std::hexfloat << v << " to " << decimals;
    }
    EXPECT_GT(fast, tries * 9 / 10);
    char buf[maxDecimalsText];
    EXPECT_EQ(writeDecimals(buf, 0.125, 2, false), nullptr); // a tie: only the exact digits tell
    EXPECT_EQ(writeDecimals(buf, 1e9, 0, false), nullptr);
    EXPECT_EQ(writeDecimals(buf, NAN, 0, false), nullptr);
    EXPECT_EQ(writeDecimals(buf, 1.5, 7, false), nullptr);
}

} // namespace
} // namespace plotara::player
