// What a viewer changes on a shown chart: series hidden from the legend (the axes refit, the hit
// regions and the legend follow, a second toggle gives the chart back exactly), a zoomed range
// (ticks, label thinning and value labels of the range; back to the whole chart exactly) and the
// crosshair's category under a point.
#include "player/ChartPlayer.h"
#include "player/draw/Scene.h"
#include "player_model_support.h"
#include "player_samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace plotara {
namespace {

using player::TextKind;

using testing::loadChart;

const player::LayoutAxis& axis(const ChartPlayer& p, const char* id) {
    const player::LayoutAxis* a = p.scene().layout.axis(id);
    EXPECT_NE(a, nullptr) << id;
    static const player::LayoutAxis none;
    return a ? *a : none;
}

// Two series of 24 categories, the first far larger than the second.
std::string twoSeries(const std::string& attrs = "") {
    std::vector<double> big, small;
    for (int i = 0; i < 24; ++i)
        big.push_back(800 + 10 * i), small.push_back(20 + i);
    return testing::multiSeries(attrs, testing::numbered("M", 24),
                                {{"Big", big}, {"Small", small}});
}

std::string twoScatterSeries() {
    return "<chart><dataset seriesName='Far'><set x='10' y='900'/><set x='90' y='700'/></dataset>"
           "<dataset seriesName='Near'><set x='2' y='3'/><set x='8' y='9'/><set x='5' y='6'/>"
           "</dataset></chart>";
}

// The shapes, rectangles and markers drawn (texts left aside).
std::size_t shapesDrawn(const ChartPlayer& p) {
    std::size_t n = p.scene().rects.size();
    for (const player::SceneItem& item : p.scene().items) {
        const auto* marker = std::get_if<player::MarkerItem>(&item);
        n += marker ? marker->points.size() : std::holds_alternative<player::ShapeItem>(item);
    }
    return n;
}

// Hiding the large series refits the value axis to the small one, takes its regions and value
// labels away, keeps its legend entry marked hidden (a legend region still answers for it);
// showing it again gives the layout and the regions back exactly.
TEST(PlayerInteraction, HiddenSeriesLeaveTheChartAndComeBackExactly) {
    struct Case {
        int type;
        std::string doc;
        const wchar_t* first;       // the name of series 0
        double maxBefore, maxAfter; // the y axis' top with and without series 0
    } cases[] = {
        {11, twoSeries(), L"Big", 1250, 50},        // columns
        {12, twoSeries(), L"Big", 1250, 45},        // lines fit their data
        {13, twoSeries(), L"Big", 1250, 50},        // areas
        {29, twoScatterSeries(), L"Far", 1000, 10}, // scatter
        {31, twoSeries(), L"Big", 1250, 50},        // scroll columns
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::sampleTypeNames[c.type]);
        ChartPlayer p;
        loadChart(p, c.type, c.doc);
        ASSERT_TRUE(p.legendToggles());
        const std::string before = p.layoutJson();
        const std::size_t regions = p.hitRegions().size();
        EXPECT_EQ(axis(p, "y").max, c.maxBefore);

        ASSERT_TRUE(p.setSeriesVisible(c.first, false));
        EXPECT_FALSE(p.seriesVisible(0));
        EXPECT_TRUE(p.seriesVisible(1));
        EXPECT_EQ(axis(p, "y").max, c.maxAfter);
        bool legendRegion = false;
        for (const HitInfo& h : p.hitRegions()) {
            if (h.kind == player::HitKind::Legend) {
                legendRegion |= h.seriesIndex == 0 && h.series == c.first;
            } else {
                EXPECT_NE(h.seriesIndex, 0) << player::kindName(h.kind);
            }
        }
        EXPECT_TRUE(legendRegion);
        const auto& legend = p.scene().layout.legend;
        ASSERT_EQ(legend.size(), 2u);
        EXPECT_TRUE(legend[0].hidden);
        EXPECT_FALSE(legend[1].hidden);
        EXPECT_NE(p.layoutJson().find("\"hidden\":true"), std::string::npos);
        for (const player::LayoutText& t : p.scene().layout.texts)
            EXPECT_FALSE(t.tag.kind == TextKind::ValueLabel && t.tag.series == 0);
        EXPECT_TRUE(p.transitions()) << "the chart before is the transition's start";
        // The hidden series shrinks out (drawn until the last frame) while the axis eases, and
        // comes back the same way.
        for (bool shown : {false, true}) {
            if (shown) {
                ASSERT_TRUE(p.setSeriesVisible(0, true));
            }
            const std::size_t still = shapesDrawn(p);
            p.setAnimationProgress(0.5);
            EXPECT_GT(axis(p, "y").max, c.maxAfter) << shown;
            EXPECT_LT(axis(p, "y").max, c.maxBefore) << shown;
            if (!shown) {
                EXPECT_GT(shapesDrawn(p), still);
            }
            p.setAnimationProgress(1);
        }
        EXPECT_EQ(p.layoutJson(), before);
        EXPECT_EQ(p.hitRegions().size(), regions);
    }
}

// Toggling stays off where it does not apply; a new document shows every series again.
TEST(PlayerInteraction, LegendTogglingLimits) {
    ChartPlayer p;
    loadChart(p, 11, twoSeries("interactiveLegend='0'"));
    EXPECT_FALSE(p.legendToggles());
    EXPECT_FALSE(p.setSeriesVisible(0, false));
    loadChart(p, 4, testing::singleSeriesSample);
    EXPECT_FALSE(p.setSeriesVisible(0, false)) << "a pie's legend lists slices";
    loadChart(p, 29, twoScatterSeries());
    EXPECT_TRUE(p.setSeriesVisible(0, false));
    EXPECT_FALSE(p.setSeriesVisible(1, false)) << "the last scatter series stays";
    EXPECT_TRUE(p.seriesVisible(1));
    EXPECT_FALSE(p.setSeriesVisible(7, false));
    EXPECT_FALSE(p.setSeriesVisible(L"Nobody", false));
    loadChart(p, 29, twoScatterSeries());
    EXPECT_TRUE(p.seriesVisible(0));
    EXPECT_EQ(p.scene().layout.legend.size(), 2u);
    EXPECT_FALSE(p.scene().layout.legend[0].hidden);
}

std::set<int> indexesOf(const ChartPlayer& p, TextKind kind) {
    std::set<int> out;
    for (const player::LayoutText& t : p.scene().layout.texts) {
        if (t.tag.kind == kind) out.insert(t.tag.index);
    }
    return out;
}

// A zoomed category chart lays out the range only: every category label of the range (the
// whole chart had to thin them), value labels of the range, the series' window; a scroll chart
// scrolls within the range's width. The value axis fits the values of the range (on a
// logarithmic axis with powers of its base for ticks). Back to the whole chart, the layout is
// exactly as before.
TEST(PlayerInteraction, ZoomedCategoriesAreLaidOutForTheRange) {
    struct Case {
        int type;
        double first, last;
        std::size_t shownFirst, shownCount;
        const char* attrs = "";
    } cases[] = {
        {12, 6, 13, 6, 8},   // lines
        {13, 6, 13, 6, 8},   // areas
        {32, 6, 13, 6, 8},   // scroll lines
        {12, 20, 40, 3, 21}, // past the end: the range keeps its width, slid inside
        {12, -5, 3, 0, 9},   {12, 0, 3, 0, 4, " logScale='1'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " " + std::to_string(c.first) + c.attrs);
        ChartPlayer p;
        loadChart(p, c.type, twoSeries(std::string("showValues='1'") + c.attrs), 320, 240);
        ASSERT_TRUE(p.zooms());
        const std::string before = p.layoutJson();
        const VisibleRange whole = p.visibleRange();
        ASSERT_TRUE(p.setVisibleRange({c.first, c.last, 0, 0}));
        EXPECT_TRUE(p.zoomed());
        const VisibleRange shown = p.visibleRange();
        EXPECT_EQ(shown.xMin, static_cast<double>(c.shownFirst));
        EXPECT_EQ(shown.xMax, static_cast<double>(c.shownFirst + c.shownCount - 1));
        const double last = static_cast<double>(c.shownFirst + c.shownCount - 1);
        EXPECT_GE(shown.yMax, 800 + 10 * last); // Big's largest value shown
        EXPECT_LE(shown.yMax, whole.yMax);
        if (last < 20) {
            EXPECT_LT(shown.yMax, whole.yMax) << "the axis fits the range";
        }
        EXPECT_LE(shown.yMin, 20 + static_cast<double>(c.shownFirst)); // Small's least
        for (const player::LayoutTick& t : axis(p, "y").ticks) {
            const double power = std::log10(t.value);
            if (*c.attrs != '\0') {
                EXPECT_NEAR(power, std::round(power), 1e-9) << t.value;
            }
        }
        std::set<int> range;
        for (std::size_t i = 0; i < c.shownCount; ++i)
            range.insert(static_cast<int>(c.shownFirst + i));
        const std::set<int> labels = indexesOf(p, TextKind::CategoryLabel);
        if (c.shownCount <= 10) {
            EXPECT_EQ(labels, range);
        } else {
            EXPECT_TRUE(std::includes(range.begin(), range.end(), labels.begin(), labels.end()));
            EXPECT_LT(labels.size(), range.size()) << "a wide range thins its labels again";
        }
        for (int i : indexesOf(p, TextKind::ValueLabel))
            EXPECT_TRUE(range.count(i)) << i;
        for (const HitInfo& h : p.hitRegions()) {
            if (h.pointIndex >= 0 && h.kind != player::HitKind::Legend) {
                EXPECT_TRUE(range.count(h.pointIndex));
            }
        }
        p.resetVisibleRange();
        EXPECT_FALSE(p.zoomed());
        EXPECT_EQ(p.layoutJson(), before);
    }
    ChartPlayer line;
    loadChart(line, 12, twoSeries(), 320, 240);
    EXPECT_LT(indexesOf(line, TextKind::CategoryLabel).size(), 24u) << "the whole chart thins";
    EXPECT_FALSE(line.setVisibleRange({5, 5, 0, 0})) << "an empty range";
    EXPECT_TRUE(line.setVisibleRange({0, 23, 0, 0}));
    EXPECT_FALSE(line.zoomed()) << "every category is the whole chart";
}

// The first path a series strokes (a line) or fills (an area).
const player::Path* seriesPath(const ChartPlayer& p, bool filled) {
    bool inSeries = false;
    for (const player::SceneItem& item : p.scene().items) {
        if (const auto* mark = std::get_if<player::SeriesMark>(&item)) inSeries = mark->series == 0;
        const auto* shape = std::get_if<player::ShapeItem>(&item);
        if (inSeries && shape && (filled ? shape->filled : shape->stroked && !shape->filled))
            return &shape->path;
    }
    return nullptr;
}

// A line or an area runs to a value off the value axis (the category just outside a zoomed
// range, a value past the document's axis limit) where that value lies, so the plot's clip cuts
// it at the edge at its own slope; drawn to a point just past the plot instead, the line would
// cross the edge tens of pixels from where its values put it.
TEST(PlayerInteraction, LinesRunToValuesOffTheAxisAtTheirOwnSlope) {
    std::string sets; // 10, 11, ... with one value far above them all
    for (int i = 0; i < 12; ++i)
        sets += "<set label='C" + std::to_string(i) + "' value='" +
                std::to_string(i == 5 ? 1000 : 10 + i) + "'/>";
    struct Case {
        int type;
        const char* attrs;
        double first, last; // the range zoomed to; the whole chart when first > last
        int a, b;           // two points shown, whose places give the axis' scale
    } cases[] = {
        {12, "", 6, 11, 6, 11},                  // the line into a zoomed range
        {12, " yAxisMaxValue='30'", 1, 0, 4, 6}, // past the axis' limit
        {13, "", 6, 11, 6, 11},                  // an area's edge
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + c.attrs);
        ChartPlayer p;
        loadChart(p, c.type,
                  std::string("<chart animation='0'") + c.attrs + ">" + sets + "</chart>", 640,
                  480);
        if (c.first <= c.last) {
            ASSERT_TRUE(p.setVisibleRange({c.first, c.last, 0, 0}));
        }
        player::Point at[12];
        for (const HitInfo& h : p.hitRegions()) {
            if (h.seriesIndex == 0 && h.pointIndex >= 0 && h.kind != player::HitKind::Legend)
                at[h.pointIndex] = {h.box.x + h.box.w / 2, h.box.y + h.box.h / 2};
        }
        const player::Point a = at[c.a], b = at[c.b];
        ASSERT_NE(a.y, b.y);
        // Where the far value lies: the axis is linear through the two points shown.
        const double slot = (b.x - a.x) / (c.b - c.a);
        const player::Point far{a.x + (5 - c.a) * slot,
                                a.y + (1000.0 - 10 - c.a) * (b.y - a.y) / (c.b - c.a)};
        const player::Point next{a.x + (6 - c.a) * slot,
                                 a.y + (6 - c.a) * (b.y - a.y) / (c.b - c.a)};
        const player::Path* path = seriesPath(p, c.type == 13);
        ASSERT_NE(path, nullptr);
        // Every corner of the line or the area's top edge left of the point after the far one
        // lies on the segment from the far value to it (the area's are cut to the window).
        std::size_t corners = 0;
        for (const player::PathSeg& seg : path->segments()) {
            if (seg.op == player::PathOp::Close || seg.x < far.x - 0.01 || seg.x > next.x - 0.5 ||
                seg.y > next.y)
                continue;
            const double along = next.y + (seg.x - next.x) * (far.y - next.y) / (far.x - next.x);
            EXPECT_NEAR(seg.y, along, 0.05) << seg.x;
            ++corners;
        }
        EXPECT_GE(corners, 1u);
    }
}

// A zoomed scatter chart's axes run over the range, with ticks inside it; points outside answer
// no hits; the whole chart comes back exactly.
TEST(PlayerInteraction, ZoomedScatterAxesFollowTheRange) {
    ChartPlayer p;
    loadChart(p, 29, twoScatterSeries());
    const std::string before = p.layoutJson();
    const VisibleRange whole = p.fullRange();
    EXPECT_EQ(whole.yMax, 1000);
    ASSERT_TRUE(p.setVisibleRange({0, 10, 0, 10}));
    const VisibleRange shown = p.visibleRange();
    EXPECT_EQ(shown.xMin, 0);
    EXPECT_EQ(shown.xMax, 10);
    EXPECT_EQ(shown.yMax, 10);
    for (const char* id : {"x", "y"}) {
        for (const player::LayoutTick& t : axis(p, id).ticks) {
            EXPECT_GE(t.value, 0) << id;
            EXPECT_LE(t.value, 10) << id;
        }
    }
    for (const HitInfo& h : p.hitRegions())
        EXPECT_NE(h.seriesIndex == 0 && h.kind == player::HitKind::Point, true)
            << "Far lies outside";
    EXPECT_EQ(p.fullRange().yMax, 1000);
    p.resetVisibleRange();
    EXPECT_EQ(p.layoutJson(), before);

    // Logarithmic axes run over the powers of ten around the range, ticks on the powers.
    ChartPlayer log;
    loadChart(log, 29,
              "<chart logScale='1'><dataset><set x='1' y='1'/><set x='50000' y='20000'/>"
              "</dataset></chart>");
    ASSERT_TRUE(log.setVisibleRange({3, 70, 3, 70}));
    for (const char* id : {"x", "y"}) {
        ASSERT_FALSE(axis(log, id).ticks.empty()) << id;
        EXPECT_NEAR(axis(log, id).ticks.front().value, 1, 1e-9) << id;
        EXPECT_NEAR(axis(log, id).ticks.back().value, 100, 1e-9) << id;
        for (const player::LayoutTick& t : axis(log, id).ticks)
            EXPECT_NEAR(std::log10(t.value), std::round(std::log10(t.value)), 1e-9) << id;
    }
}

// The crosshair finds the category whose slot holds the point and every shown series' value.
TEST(PlayerInteraction, CategoryAtGivesEverySeriesValue) {
    ChartPlayer p;
    loadChart(p, 12, testing::multiSeriesSample(false));
    const player::Rect plot = *p.scene().layout.plot;
    const double y = plot.y + plot.h / 2;
    CategoryValues at = p.categoryAt(plot.x + plot.w * 0.6, y);
    ASSERT_TRUE(at.found);
    EXPECT_EQ(at.index, 2);
    EXPECT_EQ(at.label, L"Product C");
    EXPECT_NEAR(at.x, plot.x + plot.w * 2.5 / 4, 1e-9);
    EXPECT_EQ(at.top, plot.y);
    EXPECT_EQ(at.bottom, plot.bottom());
    ASSERT_EQ(at.values.size(), 2u);
    EXPECT_EQ(at.values[0].value, L"$464,200");
    EXPECT_EQ(at.values[1].series, L"2007");
    EXPECT_EQ(at.toolText, L"Product C\n2008: $464,200\n2007: $253,600");
    EXPECT_EQ(p.categoryAt(plot.x + 1, y).index, 0);
    EXPECT_FALSE(p.categoryAt(plot.x - 2, y).found);
    p.setSeriesVisible(0, false);
    EXPECT_EQ(p.categoryAt(plot.x + plot.w * 0.6, y).values.size(), 1u);
    loadChart(p, 11, testing::multiSeriesSample(false));
    EXPECT_FALSE(p.categoryAt(plot.x + plot.w * 0.6, y).found) << "columns have their regions";
}

} // namespace
} // namespace plotara
