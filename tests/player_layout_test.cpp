// Layout rules: round axis ticks, aligned zeros, number texts, the parsed chart model, and
// crowded charts (many slices, many series) whose texts must still not collide.
#include "player/ChartPlayer.h"
#include "player/draw/TextEngine.h"
#include "player/layout/NiceScale.h"
#include "player/layout/NumberFormat.h"
#include "player/model/ChartParser.h"
#include "player/util/TextUtil.h"
#include "player_samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace plotara {
namespace {

using namespace player;

TEST(NiceScale, CoversTheDataWithRoundSteps) {
    struct Case {
        double lo, hi;
        bool zero;
        std::optional<int> divLines;
        double min, max, step;
    } cases[] = {
        {125100, 464200, true, {}, 0, 500000, 100000},
        {1.0, 4.9, false, 13, 0, 7, 0.5},
        {-3, 7, true, {}, -4, 8, 2},
        {23, 46, true, 3, 0, 50, 12.5},
        {5, 5, true, {}, 0, 5, 1},
        {0.001, 0.004, true, {}, 0, 0.004, 0.001},
    };
    for (const Case& c : cases) {
        ScaleRequest r;
        r.dataMin = c.lo;
        r.dataMax = c.hi;
        r.includeZero = c.zero;
        r.numDivLines = c.divLines;
        if (c.step == 0.5) r.userMax = 7;
        AxisScale s = niceScale(r);
        EXPECT_NEAR(s.min, c.min, 1e-9) << c.lo << ".." << c.hi;
        EXPECT_NEAR(s.max, c.max, 1e-9) << c.lo << ".." << c.hi;
        EXPECT_NEAR(s.step, c.step, 1e-9) << c.lo << ".." << c.hi;
        EXPECT_LE(s.min, c.lo);
        EXPECT_GE(s.max, c.hi);
        if (c.divLines) {
            EXPECT_EQ(s.divisions, *c.divLines + 1);
        }
    }
}

TEST(NiceScale, SurvivesExtremeInput) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    for (auto [lo, hi] : {std::pair{-1e300, 1e300}, std::pair{1e300, 1e300}, std::pair{nan, 1.0},
                          std::pair{inf, -inf}}) {
        ScaleRequest r;
        r.dataMin = lo;
        r.dataMax = hi;
        AxisScale s = niceScale(r);
        EXPECT_TRUE(std::isfinite(s.min) && std::isfinite(s.max) && s.max > s.min);
        EXPECT_GE(s.divisions, 1);
        EXPECT_LE(s.divisions, 200);
    }
}

TEST(NiceScale, AlignZeroOnlyWhenBothAxesCrossIt) {
    struct Case {
        AxisScale p, q;
        AxisScale wantP, wantQ;
    } cases[] = {
        // Both cross zero: the same steps below and above zero on both, round ticks kept.
        {{-100, 400, 100, 5}, {-30, 20, 10, 5}, {-300, 400, 100, 7}, {-30, 40, 10, 7}},
        {{-2, 8, 2, 5}, {-50, 50, 25, 4}, {-4, 8, 2, 6}, {-50, 100, 25, 6}},
        // One axis stays above zero: each keeps its own range.
        {{-100, 400, 100, 5}, {0, 60, 10, 6}, {-100, 400, 100, 5}, {0, 60, 10, 6}},
        {{0, 500000, 100000, 5}, {-20, 50, 10, 7}, {0, 500000, 100000, 5}, {-20, 50, 10, 7}},
    };
    for (Case c : cases) {
        alignZero(c.p, c.q);
        for (auto [got, want] : {std::pair{c.p, c.wantP}, std::pair{c.q, c.wantQ}}) {
            EXPECT_DOUBLE_EQ(got.min, want.min);
            EXPECT_DOUBLE_EQ(got.max, want.max);
            EXPECT_DOUBLE_EQ(got.step, want.step);
            EXPECT_EQ(got.divisions, want.divisions);
        }
        if (c.p.min < 0 && c.q.min < 0) {
            EXPECT_NEAR(c.p.fraction(0), c.q.fraction(0), 1e-9);
        }
    }
}

TEST(NumberFormat, PrefixSuffixDecimalsAndScale) {
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
        {{"", "%", -1, false, true, false}, 1e20, "1e+20%"},
        {{"", "", 0, false, true, false}, -0.2, "-0.2"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.f.format(c.v), c.text);
    EXPECT_EQ(NumberFormat{}.format(missingValue), "");
    EXPECT_EQ(decimalsForStep(0.25), 2);
    EXPECT_EQ(decimalsForStep(50), 0);
}

TEST(TextUtil, NumbersAsPeopleWriteThem) {
    struct Case {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"12.5", 12.5}, {"  -3e2 ", -300}, {"+7", 7},          {"1,234.5", 1234.5}, {".5", 0.5},
        {"5.", 5},      {"1e400", 1e300},  {"-1e400", -1e300}, {"1e-400", 0},       {"", {}},
        {"  ", {}},     {"abc", {}},       {"1.5.2", {}},      {"1e", {}},          {"+-5", {}},
        {"--5", {}},    {"nan", {}},       {"inf", {}},        {"0x10", {}},        {"12px", {}},
        {"-", {}},      {"+", {}},         {"1,2,3", {}},      {"\t42\n", 42},
    };
    for (const Case& c : cases) {
        auto v = parseNumber(c.text);
        ASSERT_EQ(v.has_value(), c.value.has_value()) << "'" << c.text << "'";
        if (v) {
            EXPECT_DOUBLE_EQ(*v, *c.value) << "'" << c.text << "'";
        }
    }
}

TEST(ChartParser, SetsKeepTheirCoordinatesAsNumbersAndTheirOtherAttributes) {
    ParseResult r = parseChartXml(
        "<chart><dataset seriesName='s'><set X='1.5' y='2' Z='3' label='p' link='a&amp;b'/>"
        "<set value='4' color='F00'/><set x='' y='5'/></dataset></chart>");
    ASSERT_TRUE(r.ok);
    const Series& s = r.model.datasets.at(0);
    ASSERT_EQ(s.points.size(), 3u);
    ASSERT_EQ(s.xy.size(), 2u);
    EXPECT_EQ(s.xy[0].x, 1.5);
    EXPECT_EQ(s.xy[0].z, 3);
    EXPECT_EQ(s.points[0].value, 2) << "a positioned set's value is its y";
    EXPECT_EQ(s.attrsOf(s.xy[0]).text("label"), "p");
    EXPECT_EQ(s.attrsOf(s.xy[0]).text("link"), "a&b");
    EXPECT_FALSE(s.points[0].attrs.has("x"));
    EXPECT_EQ(s.points[1].value, 4);
    EXPECT_EQ(s.points[1].attrs.text("color"), "F00");
    EXPECT_TRUE(isMissing(s.xy[1].x));
    EXPECT_EQ(s.xy[1].point, 2u);

    std::string text = "<chart><set value='1'/></chart>";
    ParseResult inPlace = parseChartXmlInPlace(text);
    ASSERT_TRUE(inPlace.ok);
    EXPECT_EQ(inPlace.model.datasets.at(0).points.at(0).value, 1);
}

TEST(ChartParser, ReadsStacksLinesetsTrendsAndStyles) {
    ParseResult r = parseChartXml(testing::msStackedSample(true));
    ASSERT_TRUE(r.ok);
    const ChartModel& m = r.model;
    ASSERT_EQ(m.datasets.size(), 4u);
    EXPECT_EQ(m.stackCount, 2);
    EXPECT_EQ(m.datasets[1].stack, 0);
    EXPECT_EQ(m.datasets[2].stack, 1);
    EXPECT_EQ(m.datasets[3].name, "Service B");
    ASSERT_EQ(m.linesets.size(), 1u);
    EXPECT_EQ(m.linesets[0].points[3].value, 45);
    EXPECT_EQ(m.chart.text("yaxisname"), "Sales in M$");

    ParseResult s = parseChartXml(
        "<chart><set label='a' value='1,250'/><vLine color='F00'/><set name='b' value='x'/>"
        "<styles><definition><style name='Big' type='font' size='14'/></definition>"
        "<application><apply toObject='Caption' styles='Big, Other'/></application></styles>"
        "</chart>");
    ASSERT_TRUE(s.ok);
    ASSERT_EQ(s.model.categories.size(), 2u);
    EXPECT_EQ(s.model.categories[1].label, "b");
    EXPECT_EQ(s.model.datasets[0].points[0].value, 1250);
    EXPECT_TRUE(isMissing(s.model.datasets[0].points[1].value));
    ASSERT_EQ(s.model.vlines.size(), 1u);
    EXPECT_EQ(s.model.vlines[0].after, 0u);
    ASSERT_EQ(s.model.applications.size(), 2u);
    EXPECT_EQ(s.model.applications[1].second, "other");

    ParseResult bad = parseChartXml("<chart><set value='1'></chart>");
    EXPECT_FALSE(bad.ok);
    EXPECT_NE(bad.error.find("offset"), std::string::npos);
}

// The sets directly under the chart name its categories: the label (any letter case, the last
// of repeated ones), else the name; a document with datasets takes its categories from its
// categories element and leaves those sets out.
TEST(ChartParser, SetsUnderTheChartNameTheCategories) {
    struct Case {
        const char* name;
        const char* xml;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {"label",
         "<chart><set label='a' value='1'/><set label='b' value='2'/></chart>",
         {"a", "b"}},
        {"letter case", "<chart><set LABEL='A' value='1'/><set Label='B'/></chart>", {"A", "B"}},
        {"name when no label",
         "<chart><set name='n' value='1'/><set value='2'/></chart>",
         {"n", ""}},
        {"label before name", "<chart><set name='n' label='l' value='1'/></chart>", {"l"}},
        {"repeated label", "<chart><set label='first' label='last' value='1'/></chart>", {"last"}},
        {"entities", "<chart><set label='R&amp;D' value='1'/></chart>", {"R&D"}},
        {"datasets win",
         "<chart><categories><category label='c1'/></categories><set label='x' value='1'/>"
         "<dataset><set value='2'/></dataset></chart>",
         {"c1"}},
    };
    for (const Case& c : cases) {
        ParseResult r = parseChartXml(c.xml);
        ASSERT_TRUE(r.ok) << c.name << ": " << r.error;
        std::vector<std::string> labels;
        for (const Category& cat : r.model.categories)
            labels.push_back(cat.label);
        EXPECT_EQ(labels, c.labels) << c.name;
        // The label lives in the category only; the set's other attributes stay its own.
        for (const DataPoint& p : r.model.datasets.at(0).points)
            EXPECT_FALSE(p.attrs.has("label")) << c.name;
    }
    ParseResult named = parseChartXml("<chart><set name='n' color='F00' value='1'/></chart>");
    ASSERT_TRUE(named.ok);
    EXPECT_EQ(named.model.datasets.at(0).points.at(0).attrs.text("name"), "n");
    EXPECT_EQ(named.model.datasets.at(0).points.at(0).attrs.text("color"), "F00");
}

// Labels too wide for two staggered rows but not too crowded to slant: they turn by 45 degrees,
// all of them, parallel lines of text at least a line apart, inside the chart.
TEST(PlayerLayout, CrowdedLabelsSlantBeforeTheyTurnUpright) {
    std::string xml = "<chart xAxisName='Month of the year'>";
    for (int i = 0; i < 12; ++i)
        xml += "<set label='Month number " + std::to_string(i + 1) + " of 2008' value='" +
               std::to_string(i % 5 + 1) + "'/>";
    xml += "</chart>";
    struct Case {
        std::string attrs;
        double angle;
    } cases[] = {{"", -45},
                 {" slantLabels='0'", -90},
                 {" rotateNames='1'", -90},
                 {" rotateNames='1' slantLabels='1'", -45}};
    TextEngine engine;
    for (const Case& c : cases) {
        std::string doc = xml;
        doc.insert(6, c.attrs);
        ChartPlayer p;
        p.put_Movie(fromUtf8(testing::movieUrl(2, doc)));
        ASSERT_EQ(p.state(), PlayerState::Chart);
        std::vector<const TextItem*> labels;
        const TextItem* axisName = nullptr;
        for (const TextItem* t : p.scene().texts()) {
            const std::string& whole = t->fullText.empty() ? t->text : t->fullText;
            if (whole.rfind("Month number", 0) == 0) labels.push_back(t);
            if (t->text == "Month of the year") axisName = t;
        }
        ASSERT_EQ(labels.size(), 12u) << c.attrs << ": every label is shown";
        ASSERT_NE(axisName, nullptr);
        double line = engine.measure("Ag", labels[0]->font).h;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i]->angle, c.angle) << c.attrs;
            EXPECT_GE(labels[i]->box.x, 0) << c.attrs << ": inside the chart";
            EXPECT_FALSE(labels[i]->box.overlaps(axisName->box)) << c.attrs;
            if (i > 0) {
                // Parallel texts: their distance across the lines is dx times sin(angle).
                double dx = labels[i]->x - labels[i - 1]->x;
                EXPECT_GE(dx * std::fabs(std::sin(c.angle * std::acos(-1.0) / 180)), line)
                    << c.attrs;
            }
        }
    }
    // Roomy categories keep horizontal labels.
    ChartPlayer wide;
    wide.put_Movie(fromUtf8(testing::movieUrl(
        2, "<chart><set label='Month number 1' value='1'/><set label='Month number 2' "
           "value='2'/></chart>")));
    for (const TextItem* t : wide.scene().texts()) {
        if (t->text.rfind("Month number", 0) == 0) {
            EXPECT_EQ(t->angle, 0);
        }
    }
}

TEST(PlayerLayout, StylesChangeTheCaptionFont) {
    ChartPlayer p;
    p.put_Movie(fromUtf8(testing::movieUrl(
        2, "<chart caption='Cap'><set value='1'/><styles><definition><style name='F' "
           "type='font' font='DejaVu Serif' size='20' color='FF0000' bold='0'/></definition>"
           "<application><apply toObject='CAPTION' styles='F'/></application></styles></chart>")));
    const TextItem* caption = nullptr;
    for (const TextItem* t : p.scene().texts()) {
        if (t->text == "Cap") caption = t;
    }
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->font.family, "DejaVu Serif");
    EXPECT_EQ(caption->font.size, 20);
    EXPECT_FALSE(caption->font.bold);
    EXPECT_EQ(hexOf(caption->font.color), "FF0000");
}

TEST(PlayerLayout, ShowSumWritesTheTotalOfEveryStack) {
    ChartPlayer p;
    p.put_Movie(fromUtf8(testing::movieUrl(26, testing::msStackedSample(false))));
    std::vector<std::string> texts;
    for (const TextItem* t : p.scene().texts())
        texts.push_back(t->text);
    // 2008: Product A + B = 42, Service A + B = 44; 2005: 43 + 34 = 77, 26 + 16 = 42.
    for (const char* total : {"$42M", "$44M", "$77M", "$35M", "$40M"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), total), texts.end()) << total;
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "$42M"), 2);
}

// Crowded charts: pie labels with leader lines and legends that wrap keep their texts apart.
TEST(PlayerLayout, CrowdedPieAndLegendTextsDoNotOverlap) {
    std::string pie = "<chart showLegend='1'>";
    for (int i = 0; i < 24; ++i)
        pie += "<set label='Slice number " + std::to_string(i) + "' value='" +
               std::to_string(i == 0 ? 500 : 3 + i % 4) + "'/>";
    pie += "</chart>";
    std::string series = "<chart><categories><category label='a'/></categories>";
    for (int i = 0; i < 30; ++i)
        series += "<dataset seriesName='Series with a long name " + std::to_string(i) +
                  "'><set value='" + std::to_string(i + 1) + "'/></dataset>";
    series += "</chart>";
    for (auto [type, doc] : {std::pair{4, pie}, std::pair{3, pie}, std::pair{6, pie},
                             std::pair{11, series}, std::pair{12, series}}) {
        ChartPlayer p;
        p.put_Movie(fromUtf8(testing::movieUrl(type, doc, 600, 400)));
        ASSERT_EQ(p.state(), PlayerState::Chart) << type;
        auto texts = p.scene().texts();
        for (std::size_t i = 0; i < texts.size(); ++i) {
            for (std::size_t j = i + 1; j < texts.size(); ++j) {
                Rect a = texts[i]->box, b = texts[j]->box;
                a = {a.x + 0.5, a.y + 0.5, a.w - 1, a.h - 1};
                b = {b.x + 0.5, b.y + 0.5, b.w - 1, b.h - 1};
                EXPECT_FALSE(a.overlaps(b))
                    << type << ": '" << texts[i]->text << "' / '" << texts[j]->text << "'";
            }
        }
    }
}

} // namespace
} // namespace plotara
