// Frames of a chart on its way: drawn in (columns grow, lines rise, pies sweep, bubbles grow,
// value labels appear when their point has arrived), moving from the chart shown before, and
// the still picture at the end.
#include "player/ChartPlayer.h"
#include "player/draw/Scene.h"
#include "player_model_support.h"
#include "player_samples.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <tuple>

namespace plotara {
namespace {

using player::TextKind;

using testing::loadChart;

// The box of the hit region of a kind for a series and point; an empty box when there is none.
player::Rect boxOf(const ChartPlayer& p, player::HitKind kind, int series, int point) {
    for (const HitInfo& h : p.hitRegions()) {
        if (h.kind == kind && h.seriesIndex == series && h.pointIndex == point) return h.box;
    }
    return {};
}

double middleY(const player::Rect& r) {
    return r.y + r.h / 2;
}

int textsOfKind(const ChartPlayer& p, TextKind kind, int index = -1) {
    int n = 0;
    for (const player::LayoutText& t : p.scene().layout.texts)
        n += t.tag.kind == kind && (index < 0 || t.tag.index == index);
    return n;
}

// Every chart type: a frame half-way differs from the still picture; going back to progress 1
// gives the still picture (EveryTypeGolden's) pixel for pixel; files are the still picture while
// a frame is shown.
TEST(PlayerAnimation, LastFrameIsTheStillPictureForEveryType) {
    for (int type = 1; type <= 37; ++type) {
        SCOPED_TRACE(testing::sampleTypeNames[type]);
        ChartPlayer p;
        loadChart(p, type, testing::sampleFor(type), 320, 240);
        ASSERT_EQ(p.animates(), type != 37) << "the grid is a table: it does not move";
        const player::ArgbImage still = p.surface(1);
        const std::string stillPng = p.png(1);
        p.setAnimationProgress(0.5);
        EXPECT_EQ(p.surface(1).pixels != still.pixels, type != 37) << "motion half-way";
        EXPECT_EQ(p.png(1), stillPng);
        p.setAnimationProgress(1);
        EXPECT_EQ(p.surface(1).pixels, still.pixels);
    }
}

// Columns grow from the zero line, each category a little after the one before; a column's
// value label shows once the column has arrived.
TEST(PlayerAnimation, ColumnsGrowAndTheirLabelsFollow) {
    ChartPlayer p;
    loadChart(p, 2, testing::singleSeriesSample);
    const double zero = boxOf(p, player::HitKind::Column, 0, 0).bottom();
    std::vector<double> still;
    for (int i = 0; i < 4; ++i)
        still.push_back(boxOf(p, player::HitKind::Column, 0, i).h);
    ASSERT_EQ(textsOfKind(p, TextKind::ValueLabel), 4);
    struct Case {
        double progress;
        int labels; // value labels shown
        bool firstArrived;
    };
    for (const Case& c : {Case{0, 0, false}, Case{0.5, 0, false}, Case{0.85, 2, true}}) {
        SCOPED_TRACE(c.progress);
        p.setAnimationProgress(c.progress);
        EXPECT_EQ(textsOfKind(p, TextKind::ValueLabel), c.labels);
        for (int i = 0; i < 4; ++i) {
            const player::Rect r = boxOf(p, player::HitKind::Column, 0, i);
            EXPECT_NEAR(r.bottom(), zero, 0.01);
            EXPECT_LE(r.h, still[i] + 1e-9);
            EXPECT_TRUE(c.progress > 0 || r.h < 0.01) << r.h;
        }
        // The first column is further on its way than the last.
        EXPECT_GE(boxOf(p, player::HitKind::Column, 0, 0).h / still[0],
                  boxOf(p, player::HitKind::Column, 0, 3).h / still[3]);
        EXPECT_EQ(textsOfKind(p, TextKind::ValueLabel, 0), c.firstArrived ? 1 : 0);
    }
    p.setAnimationProgress(1);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(boxOf(p, player::HitKind::Column, 0, i).h, still[i]);
    EXPECT_EQ(textsOfKind(p, TextKind::ValueLabel), 4);
}

// A line rises from the base line; the axes stay as the still picture has them.
TEST(PlayerAnimation, LineRisesFromTheBaseLine) {
    ChartPlayer p;
    loadChart(p, 7, testing::singleSeriesSample);
    const std::string stillAxes = p.layoutJson().substr(0, p.layoutJson().find("\"texts\""));
    const double base = p.scene().layout.plot->bottom();
    std::vector<double> still;
    for (int i = 0; i < 4; ++i)
        still.push_back(middleY(boxOf(p, player::HitKind::Anchor, 0, i)));
    p.setAnimationProgress(0);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(middleY(boxOf(p, player::HitKind::Anchor, 0, i)), base, 0.01);
    p.setAnimationProgress(0.5);
    EXPECT_EQ(p.layoutJson().substr(0, p.layoutJson().find("\"texts\"")), stillAxes);
    for (int i = 0; i < 4; ++i) {
        const double y = middleY(boxOf(p, player::HitKind::Anchor, 0, i));
        EXPECT_LT(y, base - 1);
        EXPECT_GT(y, still[i] + 0.5);
    }
}

// A pie sweeps round: half-way in time it covers the eased share of the disc, and a slice's
// label shows once the sweep has passed it. Bubbles grow from nothing.
TEST(PlayerAnimation, PiesSweepAndBubblesGrow) {
    ChartPlayer pie;
    loadChart(pie, 4, testing::singleSeriesSample);
    auto swept = [&] {
        double sum = 0;
        for (const player::HitRegion& h : pie.scene().hits)
            sum += h.kind == player::HitKind::Slice ? h.a1 - h.a0 : 0;
        return sum;
    };
    EXPECT_NEAR(swept(), 2 * std::numbers::pi, 1e-9);
    pie.setAnimationProgress(0.5);
    EXPECT_NEAR(swept(), 2 * std::numbers::pi * 0.875, 1e-9); // 1 - (1 - 0.5)^3
    // Slices A (18%) and B (10%) are passed by then, C and D (37%, 35%) are not.
    EXPECT_EQ(textsOfKind(pie, TextKind::PieLabel, 0), 1);
    EXPECT_EQ(textsOfKind(pie, TextKind::PieLabel, 3), 0);
    pie.setAnimationProgress(0);
    EXPECT_NEAR(swept(), 0, 1e-9);
    EXPECT_EQ(textsOfKind(pie, TextKind::PieLabel), 0);
    // On a transition a slice the new pie lacks (B) shrinks out from its old sweep.
    auto sweepOf = [&](int point) {
        for (const player::HitRegion& h : pie.scene().hits) {
            if (h.kind == player::HitKind::Slice && h.pointIndex == point) return h.a1 - h.a0;
        }
        return 0.0;
    };
    pie.setAnimationProgress(1);
    const double oldB = sweepOf(1);
    loadChart(
        pie, 4,
        "<chart><set label='Product A' value='2'/><set label='Product C' value='3'/></chart>");
    ASSERT_TRUE(pie.transitions());
    pie.setAnimationProgress(0);
    EXPECT_NEAR(sweepOf(-1), oldB, 1e-9);
    pie.setAnimationProgress(0.5);
    EXPECT_GT(sweepOf(-1), 0.01);
    EXPECT_LT(sweepOf(-1), oldB - 0.01);
    pie.setAnimationProgress(1);
    EXPECT_EQ(sweepOf(-1), 0);

    ChartPlayer bubble;
    loadChart(bubble, 30, testing::bubbleSampleEncoded);
    const double stillW = boxOf(bubble, player::HitKind::Bubble, 0, 0).w;
    ASSERT_GT(stillW, 4);
    bubble.setAnimationProgress(0);
    EXPECT_NEAR(boxOf(bubble, player::HitKind::Bubble, 0, 0).w, 0, 1e-9);
    bubble.setAnimationProgress(0.5);
    EXPECT_GT(boxOf(bubble, player::HitKind::Bubble, 0, 0).w, 0.5 * stillW);
    EXPECT_LT(boxOf(bubble, player::HitKind::Bubble, 0, 0).w, stillW);
}

std::string columns(const std::vector<std::string>& labels,
                    const std::vector<testing::Dataset>& datasets) {
    return testing::multiSeries("numberPrefix='$'", labels, datasets);
}

// A new document of the same type moves from the chart before: series by name and points by
// category label whatever their order, new points growing from the zero line, the axis easing
// from its old range to its new one.
TEST(PlayerAnimation, UpdateMovesFromTheChartBefore) {
    ChartPlayer p;
    loadChart(p, 11, columns({"A", "B"}, {{"North", {100, 200}}, {"South", {50, 80}}}));
    const player::Rect northB = boxOf(p, player::HitKind::Column, 0, 1),
                       southA = boxOf(p, player::HitKind::Column, 1, 0);
    const double oldMax = p.scene().layout.axis("y")->max;
    // Categories and series in another order, a new category C, values up to 900.
    loadChart(p, 11,
              columns({"B", "A", "C"}, {{"South", {80, 900, 10}}, {"North", {200, 300, 400}}}));
    ASSERT_TRUE(p.transitions());
    EXPECT_DOUBLE_EQ(p.animationDuration(), 0.3);
    const double newMax = p.scene().layout.axis("y")->max;
    ASSERT_GT(newMax, oldMax);
    p.setAnimationProgress(0);
    EXPECT_DOUBLE_EQ(p.scene().layout.axis("y")->max, oldMax);
    EXPECT_NEAR(boxOf(p, player::HitKind::Column, 1, 0).h, northB.h,
                0.01); // North at B, now series 1, index 0
    EXPECT_NEAR(boxOf(p, player::HitKind::Column, 0, 1).h, southA.h, 0.01); // South at A
    EXPECT_NEAR(boxOf(p, player::HitKind::Column, 1, 2).h, 0, 0.01);        // North at C is new
    EXPECT_EQ(textsOfKind(p, TextKind::ValueLabel), 0);
    p.setAnimationProgress(0.5);
    const double midMax = p.scene().layout.axis("y")->max;
    EXPECT_GT(midMax, oldMax);
    EXPECT_LT(midMax, newMax);
    EXPECT_GT(boxOf(p, player::HitKind::Column, 1, 2).h, 1);

    // Another chart type draws itself in instead.
    loadChart(p, 2, testing::singleSeriesSample);
    EXPECT_FALSE(p.transitions());
    EXPECT_DOUBLE_EQ(p.animationDuration(), 1.0);
}

// Points and series the new document lacks shrink out from their old height to the base line
// (a stack keeping its order), and are gone at the end; the value axis has no tick labels while
// its range moves, and keeps the still picture's plot.
TEST(PlayerAnimation, LeavingPointsShrinkOutAndMovingTicksAreUnlabelled) {
    const std::string before =
        columns({"A", "B"}, {{"North", {100, 200}}, {"South", {50, 80}}, {"West", {70, 60}}});
    struct Case {
        const char* what;
        int type;
        std::vector<testing::Dataset> after;
        int oldSeries, oldPoint; // the leaving point in the chart before
        int series, point;       // in the frames (-1: a series the new chart lacks)
        int below;               // the series it stands on in the frames, or -1
    };
    const Case cases[] = {
        {"a stacked series", 17, {{"North", {100, 200}}, {"West", {70, 600}}}, 1, 0, -1, 0, 0},
        {"a point of a kept series", 11, {{"North", {100}}, {"South", {50, 800}}}, 0, 1, 0, 1, -1},
        {"a line", 12, {{"North", {100, 900}}}, 1, 1, -1, 1, -1}, // South, the first leaving
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const bool line = c.type == 12;
        const player::HitKind kind = line ? player::HitKind::Anchor : player::HitKind::Column;
        ChartPlayer p;
        loadChart(p, c.type, before);
        // A column's height, or a line point's height over the base line.
        auto height = [&](int series, int point) {
            const player::Rect r = boxOf(p, kind, series, point);
            if (r.w == 0) return 0.0;
            return line ? p.scene().layout.plot->bottom() - middleY(r) : r.h;
        };
        const double old = height(c.oldSeries, c.oldPoint);
        ASSERT_GT(old, 10);
        loadChart(p, c.type, columns({"A", "B"}, c.after));
        ASSERT_TRUE(p.transitions());
        const player::Rect stillPlot = *p.scene().layout.plot;
        p.setAnimationProgress(0);
        EXPECT_NEAR(height(c.series, c.point), old, 1.5);
        p.setAnimationProgress(0.5);
        const double mid = height(c.series, c.point);
        EXPECT_GT(mid, 1);
        EXPECT_LT(mid, old - 1);
        if (c.below >= 0) {
            EXPECT_NEAR(boxOf(p, kind, c.series, c.point).bottom(),
                        boxOf(p, kind, c.below, c.point).y, 0.01);
        }
        const player::Rect plot = *p.scene().layout.plot;
        EXPECT_TRUE(plot.x == stillPlot.x && plot.y == stillPlot.y && plot.w == stillPlot.w &&
                    plot.h == stillPlot.h);
        for (const player::LayoutTick& t : p.scene().layout.axis("y")->ticks)
            EXPECT_EQ(t.label, "") << t.value;
        p.setAnimationProgress(1);
        EXPECT_EQ(boxOf(p, kind, c.series, c.point).w, 0);
        EXPECT_NE(p.scene().layout.axis("y")->ticks.front().label, "");
    }
}

// A category or a side-by-side series the new document lacks shrinks out where it stood while
// its slot narrows, so that the kept columns slide from their old places to their new ones; a
// new one widens from nothing. Its regions belong to no series (or, for a category, no point).
TEST(PlayerAnimation, LeavingCategoriesAndSideBySideSeriesNarrowOut) {
    struct Case {
        const char* what;
        int type;
        std::string before, after;
        int keptBefore[2], keptAfter[2];  // a kept column: series and point before and after
        int leavingBefore[2], leaving[2]; // the leaving column before and in the frames
    };
    const Case cases[] = {
        {"a category",
         2,
         "<chart><set label='A' value='10'/><set label='B' value='30'/><set label='C' "
         "value='20'/></chart>",
         "<chart><set label='A' value='10'/><set label='C' value='20'/><set label='D' "
         "value='15'/></chart>",
         {0, 2},
         {0, 1},
         {0, 1},
         {-1, -1}},
        {"a series side by side",
         11,
         columns({"A", "B"}, {{"N", {10, 20}}, {"S", {30, 25}}, {"W", {15, 5}}}),
         columns({"A", "B"}, {{"N", {10, 20}}, {"W", {15, 5}}}),
         {2, 0},
         {1, 0},
         {1, 0},
         {-1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChartPlayer p;
        loadChart(p, c.type, c.before);
        auto column = [&](const int(&at)[2]) {
            return boxOf(p, player::HitKind::Column, at[0], at[1]);
        };
        const player::Rect kept = column(c.keptBefore), leaving = column(c.leavingBefore);
        loadChart(p, c.type, c.after);
        const player::Rect keptStill = column(c.keptAfter);
        ASSERT_GT(std::fabs(keptStill.x - kept.x), 5);
        p.setAnimationProgress(0);
        EXPECT_NEAR(column(c.keptAfter).x, kept.x, 0.5);
        EXPECT_NEAR(column(c.leaving).h, leaving.h, 0.5);
        p.setAnimationProgress(0.5);
        const player::Rect mid = column(c.leaving);
        EXPECT_GT(mid.w, 1);
        EXPECT_LT(mid.w, leaving.w - 1);
        EXPECT_LT(mid.h, leaving.h - 1);
        const double x = column(c.keptAfter).x;
        EXPECT_GT(std::min(std::fabs(x - kept.x), std::fabs(x - keptStill.x)), 2);
        p.setAnimationProgress(1);
        EXPECT_EQ(column(c.leaving).w, 0);
        EXPECT_EQ(column(c.keptAfter).x, keptStill.x);
    }
}

// A load that interrupts a motion moves from the frame shown, not from the chart that motion
// was going to: mid-way (the host shows a frame at 0.5) and before any frame of it (0: two loads
// in one turn of the host's event loop).
TEST(PlayerAnimation, AnInterruptedMotionStartsFromTheFrameShown) {
    auto doc = [](double a, double b) { return columns({"A", "B"}, {{"N", {a, b}}}); };
    for (double shown : {0.5, 0.0}) {
        SCOPED_TRACE(shown);
        ChartPlayer p;
        loadChart(p, 11, doc(100, 900));
        loadChart(p, 11, doc(800, 50));
        p.setAnimationProgress(shown);
        const double a = boxOf(p, player::HitKind::Column, 0, 0).h,
                     b = boxOf(p, player::HitKind::Column, 0, 1).h;
        const double yMax = p.scene().layout.axis("y")->max;
        loadChart(p, 11, doc(400, 400));
        p.setAnimationProgress(0);
        EXPECT_NEAR(boxOf(p, player::HitKind::Column, 0, 0).h, a, 0.5);
        EXPECT_NEAR(boxOf(p, player::HitKind::Column, 0, 1).h, b, 0.5);
        EXPECT_NEAR(p.scene().layout.axis("y")->max, yMax, 1e-9);
    }
}

// An axis whose range stays keeps its tick labels while the points move; a stack's total (the
// sum of its series, shown with showSum) shows once its stack has arrived on a draw-in.
TEST(PlayerAnimation, FixedAxesKeepTheirTicksAndTotalsFollowTheirStacks) {
    const std::string fixed = "<chart yAxisMaxValue='1000' yAxisMinValue='0'>";
    ChartPlayer p;
    loadChart(p, 2, fixed + "<set label='A' value='100'/><set label='B' value='200'/></chart>");
    loadChart(p, 2, fixed + "<set label='A' value='400'/><set label='B' value='300'/></chart>");
    const std::vector<player::LayoutTick> still = p.scene().layout.axis("y")->ticks;
    p.setAnimationProgress(0.5);
    ASSERT_EQ(p.scene().layout.axis("y")->ticks.size(), still.size());
    for (std::size_t i = 0; i < still.size(); ++i)
        EXPECT_EQ(p.scene().layout.axis("y")->ticks[i].label, still[i].label);

    ChartPlayer stacks;
    loadChart(stacks, 26, testing::msStackedSample(false)); // series values hidden: totals only
    ASSERT_EQ(textsOfKind(stacks, TextKind::ValueLabel), 8);
    // Categories set off 0.1 apart and take 0.7: the first two have arrived at 0.85.
    for (const auto& [progress, totals] : {std::pair{0.5, 0}, {0.85, 4}, {1.0, 8}}) {
        stacks.setAnimationProgress(progress);
        EXPECT_EQ(textsOfKind(stacks, TextKind::ValueLabel), totals) << progress;
    }
    // 2008: Product A + B = 42, Service A + B = 44; 2005: 43 + 34 = 77, 26 + 16 = 42.
    std::multiset<std::string> texts;
    for (const player::LayoutText& t : stacks.scene().layout.texts)
        if (t.tag.kind == TextKind::ValueLabel) texts.insert(t.text);
    for (const char* total : {"$44M", "$77M", "$35M", "$40M"})
        EXPECT_EQ(texts.count(total), 1u) << total;
    EXPECT_EQ(texts.count("$42M"), 2u);
}

// Scatter and bubble points move from their place in the chart before (by series name and
// position); points the chart before had beyond the new ones shrink out where they stood, and
// points it lacked grow.
TEST(PlayerAnimation, XYPointsMoveFromTheirOldPlaces) {
    struct Case {
        int type;
        player::HitKind kind;
        const char* before;
        const char* after;
    };
    const std::string axes = "<chart xAxisMinValue='0' xAxisMaxValue='100' yAxisMinValue='0' "
                             "yAxisMaxValue='10'><dataSet seriesName='S' anchorRadius='6'>";
    const Case cases[] = {
        {29, player::HitKind::Point, "<set x='10' y='2'/><set x='60' y='8'/>",
         "<set x='40' y='6'/>"},
        {30, player::HitKind::Bubble, "<set x='10' y='2' z='10'/><set x='60' y='8' z='30'/>",
         "<set x='40' y='6' z='20'/>"},
        {30, player::HitKind::Bubble, "<set x='10' y='2' z='10'/>",
         "<set x='40' y='6' z='20'/><set x='90' y='5' z='30'/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after);
        ChartPlayer p;
        auto centre = [&](int point) {
            const player::Rect r = boxOf(p, c.kind, 0, point);
            return player::Point{r.x + r.w / 2, middleY(r)};
        };
        loadChart(p, c.type, axes + c.before + "</dataSet></chart>");
        const player::Point from = centre(0), gone = centre(1);
        loadChart(p, c.type, axes + c.after + "</dataSet></chart>");
        const player::Point to = centre(0);
        const double grown = boxOf(p, c.kind, 0, 1).w;
        const player::ArgbImage still = p.surface(1);
        p.setAnimationProgress(0);
        EXPECT_NEAR(centre(0).x, from.x, 0.5);
        EXPECT_NEAR(centre(0).y, from.y, 0.5);
        p.setAnimationProgress(0.25);
        if (grown > 0) {
            EXPECT_GT(boxOf(p, c.kind, 0, 1).w, 1);
            EXPECT_LT(boxOf(p, c.kind, 0, 1).w, 0.9 * grown);
        } else {
            const auto x = static_cast<int>(gone.x), y = static_cast<int>(gone.y);
            EXPECT_NE(p.surface(1).pixel(x, y), still.pixel(x, y)) << "shrinking out";
        }
        p.setAnimationProgress(0.5);
        EXPECT_GT(centre(0).x, from.x + 1);
        EXPECT_LT(centre(0).x, to.x - 1);
        EXPECT_LT(centre(0).y, from.y - 1);
        EXPECT_GT(centre(0).y, to.y + 1);
    }
}

// Scatter and bubble axes ease from their old range to the new on a data change, their tick
// labels hidden while they move; logarithmic axes and points move in their logarithms (half-way
// in time, 0.875 of the way eased, the ends are the geometric blend of the old and the new, and
// points scaled tenfold with their axes keep their places).
TEST(PlayerAnimation, XYAxesEaseToTheirNewRange) {
    struct Case {
        int type;
        const char* z;
        bool log;
    };
    for (const Case& c : {Case{29, "", false}, {30, " z='5'", false}, {29, "", true}}) {
        SCOPED_TRACE(c.type + 100 * c.log);
        auto doc = [&c](int scale) {
            std::string sets;
            for (int i = 1; i <= 4; ++i)
                sets += "<set x='" + std::to_string(i * scale) + "' y='" +
                        std::to_string(i * i * scale) + "'" + c.z + "/>";
            return std::string("<chart") + (c.log ? " logScale='1'" : "") +
                   "><dataSet seriesName='S'>" + sets + "</dataSet></chart>";
        };
        ChartPlayer p;
        loadChart(p, c.type, doc(1));
        const player::LayoutAxis x0 = *p.scene().layout.axis("x"), y0 = *p.scene().layout.axis("y");
        loadChart(p, c.type, doc(10));
        const player::LayoutAxis x1 = *p.scene().layout.axis("x"), y1 = *p.scene().layout.axis("y");
        ASSERT_GT(x1.max, x0.max * 2);
        const player::Rect point = boxOf(p, player::HitKind::Point, 0, 2);
        p.setAnimationProgress(0);
        EXPECT_NEAR(p.scene().layout.axis("x")->max, x0.max, 1e-9 * x0.max);
        EXPECT_NEAR(p.scene().layout.axis("y")->max, y0.max, 1e-9 * y0.max);
        p.setAnimationProgress(0.5);
        for (const auto& [id, from, to] : {std::tuple{"x", x0, x1}, {"y", y0, y1}}) {
            const player::LayoutAxis& a = *p.scene().layout.axis(id);
            EXPECT_GT(a.max, from.max + 1) << id;
            EXPECT_LT(a.max, to.max - 1) << id;
            if (c.log) {
                EXPECT_NEAR(a.max, std::pow(from.max, 0.125) * std::pow(to.max, 0.875),
                            1e-6 * to.max)
                    << id;
                const player::Rect now = boxOf(p, player::HitKind::Point, 0, 2);
                EXPECT_NEAR(*id == 'x' ? now.x : now.y, *id == 'x' ? point.x : point.y, 0.5);
            }
            for (const player::LayoutTick& t : a.ticks)
                EXPECT_EQ(t.label, "") << id;
        }
        p.setAnimationProgress(1);
        EXPECT_EQ(p.scene().layout.axis("y")->max, y1.max);
        EXPECT_EQ(p.scene().layout.axis("y")->ticks.front().label, y1.ticks.front().label);
    }
}

std::string manyPoints(std::size_t n) {
    std::string doc = "<chart>";
    for (std::size_t i = 0; i < n; ++i)
        doc += "<set value='" + std::to_string(i % 7) + "'/>";
    return doc + "</chart>";
}

// What turns motion off: the document, too many values, the host; the still picture shows.
TEST(PlayerAnimation, MotionIsOffWhenTheDocumentTheSizeOrTheHostSaysSo) {
    struct Case {
        const char* what;
        std::string doc;
        bool enabled;
        bool animates;
    };
    const std::string sample = testing::singleSeriesSample;
    const Case cases[] = {
        {"animation='1'", "<chart animation='1'" + sample.substr(6), true, true},
        {"animation='0'", "<chart animation='0'" + sample.substr(6), true, false},
        {"2,000 values", manyPoints(2000), true, true},
        {"2,001 values", manyPoints(2001), true, false},
        {"the host's reduced motion", sample, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChartPlayer p;
        p.setAnimationEnabled(c.enabled);
        loadChart(p, 7, c.doc);
        EXPECT_EQ(p.animates(), c.animates);
        EXPECT_EQ(p.animationDuration(), c.animates ? 1.0 : 0.0);
        const auto still = p.surface(1).pixels;
        p.setAnimationProgress(0.3);
        EXPECT_EQ(p.surface(1).pixels == still, !c.animates);
        // The host turning motion off mid-way shows the still picture at once.
        p.setAnimationEnabled(false);
        EXPECT_EQ(p.surface(1).pixels, still);
        EXPECT_EQ(p.animationProgress(), 1.0);
    }
}

} // namespace
} // namespace plotara
