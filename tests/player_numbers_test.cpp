// Number texts of the player: reading them with a document's separators, and showing values,
// ticks and percentages with enough digits to be true.
#include "player/layout/NumberFormat.h"
#include "player/model/ChartParser.h"
#include "player/util/TextUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace plotara::player {
namespace {

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
    for (const Case& c : cases) {
        auto v = parseNumber(c.text, c.syntax);
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
        {scaled(), 0.5e6, {0, 0.5e6, 2e6, 2.5e6}, {"0", "500K", "2M", "2.5M"}},
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

TEST(NumberFormat, NonZeroValuesNeverReadZero) {
    NumberFormat two{"", "", 2, true};
    EXPECT_EQ(two.format(0.00002), "0.00002");
    EXPECT_EQ(two.format(-0.0004), "-0.0004");
    EXPECT_EQ(two.format(0.004), "0.004");
    EXPECT_EQ(two.format(0), "0.00");
    EXPECT_EQ(NumberFormat{}.format(0.000123456), "0.00012");
    NumberFormat pie = NumberFormat{}.percent(1, false);
    EXPECT_EQ(pie.format(0.02), "0.02%");
    EXPECT_EQ(pie.format(12.34), "12.3%");
}

TEST(NumberFormat, SeparatorsAreAppliedOnce) {
    NumberFormat f{"", "", 2, true};
    f.decimalPoint = ",";
    f.thousandsSeparator = ".";
    EXPECT_EQ(f.format(1.5), "1,50");
    EXPECT_EQ(f.format(-1234567.891), "-1.234.567,89");
    EXPECT_EQ(f.percent(1, true).format(50), "50,0%");
    EXPECT_EQ(f.plain().format(1234.5), "1.234,5");
    f.thousands = false;
    EXPECT_EQ(f.format(1234.5), "1234,50");
}

} // namespace
} // namespace plotara::player
