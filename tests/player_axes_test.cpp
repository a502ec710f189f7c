// The value and category axes: round scales that fit their own data, dual axes that align zero
// only when both cross it, logarithmic axes, the scroll window and calendar labels.
#include "player/cartesian/CalendarLabels.h"
#include "player/layout/ChartLayout.h"
#include "player/layout/NiceScale.h"
#include "player_model_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <variant>

namespace plotara {
namespace {

using namespace player;
using testing::drawChart;
using testing::singleSeries;

std::string dualAxis(const std::string& attrs, const std::vector<double>& primary,
                     const std::vector<double>& secondary = {-20, 35, 48}) {
    return testing::multiSeries(attrs, {"A", "B", "C"},
                                {{"P", primary}, {"S", secondary, "parentYAxis='S'"}});
}

TEST(AxisRanges, LinesFitTheirDataAndColumnsKeepZero) {
    const std::vector<double> high{310, 420, 355, 398};
    struct Case {
        int type;
        std::string xml;
        double min, max;
    } cases[] = {
        {7, singleSeries("", high), 300, 425},                    // line
        {12, singleSeries("", high), 300, 425},                   // multi-series line
        {32, singleSeries("", high), 300, 425},                   // scroll line
        {7, singleSeries("setAdaptiveYMin='0'", high), 0, 500},   // zero asked for
        {7, singleSeries("yAxisMinValue='250'", high), 250, 450}, // the document's minimum
        {7, singleSeries("", {12, 95, 40}), 0, 100},              // data close to zero
        {2, singleSeries("", high), 0, 500},                      // columns
        {9, singleSeries("", high), 0, 500},                      // bars
        {8, singleSeries("", high), 0, 500},                      // areas
        {8, singleSeries("", {-3, 7, 2}), -4, 8},                 // across zero
        {2, singleSeries("yAxisMaxValue='20' yAxisMinValue='-10'", {5, 6}), -10, 20},
        {29, "<chart><dataset><set x='1' y='310'/><set x='5' y='420'/></dataset></chart>", 300,
         425}, // scatter
        {29,
         "<chart setAdaptiveYMin='0'><dataset><set x='1' y='310'/><set x='5' y='420'/>"
         "</dataset></chart>",
         0, 500},
    };
    for (const Case& c : cases) {
        auto player = drawChart(c.type, c.xml);
        const LayoutAxis* y = player->scene().layout.axis("y");
        ASSERT_NE(y, nullptr) << c.xml;
        EXPECT_DOUBLE_EQ(y->min, c.min) << "type " << c.type << ": " << c.xml;
        EXPECT_DOUBLE_EQ(y->max, c.max) << "type " << c.type << ": " << c.xml;
    }
}

TEST(AxisRanges, DualAxesFitTheirOwnDataAndAlignZeroOnlyWhenBothCrossIt) {
    const std::vector<double> primary{235000, 125100, 464200};
    struct Case {
        std::string xml;
        double pMin, pMax, sMin, sMax;
    } cases[] = {
        // A negative secondary series leaves the primary axis alone.
        {dualAxis("", primary), 0, 500000, -20, 60},
        // Both cross zero: zero on the same tick, round ticks on both.
        {dualAxis("", {-100000, 125100, 464200}), -200000, 600000, -20, 60},
        // The document's limits win.
        {dualAxis("PYAxisMinValue='100000' PYAxisMaxValue='600000'", primary), 100000, 600000, -20,
         60},
        {dualAxis("SYAxisMinValue='-100' SYAxisMaxValue='100'", primary), 0, 500000, -100, 100},
    };
    for (const Case& c : cases) {
        auto player = drawChart(23, c.xml);
        const ChartLayout& l = player->scene().layout;
        const LayoutAxis* p = l.axis("y");
        const LayoutAxis* s = l.axis("y2");
        ASSERT_TRUE(p && s) << c.xml;
        EXPECT_DOUBLE_EQ(p->min, c.pMin) << c.xml;
        EXPECT_DOUBLE_EQ(p->max, c.pMax) << c.xml;
        EXPECT_DOUBLE_EQ(s->min, c.sMin) << c.xml;
        EXPECT_DOUBLE_EQ(s->max, c.sMax) << c.xml;
        if (p->min < 0 && s->min < 0) {
            EXPECT_NEAR(-p->min / (p->max - p->min), -s->min / (s->max - s->min), 1e-9);
        }
        // Every tick is a round multiple of its axis' step: no "-145,000" in between. (Limits
        // from the document are kept as given, and their ticks divide the range evenly.)
        if (c.xml.find("AxisM") != std::string::npos) continue;
        for (const LayoutAxis* a : {p, s}) {
            double step = a->ticks[1].value - a->ticks[0].value;
            for (const LayoutTick& t : a->ticks) {
                double k = t.value / step;
                EXPECT_NEAR(k, std::round(k), 1e-6) << a->id << " " << t.value << ": " << c.xml;
            }
        }
    }
}

// A dual-axis chart with nothing on its secondary axis leaves that axis out (no 0 to 1 scale of
// nothing, no name or tick labels right of the plot) and notes it; with a value there it stays.
TEST(AxisRanges, AnEmptySecondaryAxisIsLeftOutAndNoted) {
    const std::string level = "<dataset seriesName='Level'><set value='158000'/>"
                              "<set value='158300'/><set value='158400'/></dataset>";
    const std::string change = "<set value='-140'/><set value='300'/><set value='100'/>";
    const std::string onPrimary = "<dataset seriesName='Change'>" + change + "</dataset>";
    const std::string onSecondary =
        "<dataset seriesName='Change' parentYAxis='S'>" + change + "</dataset>";
    struct Case {
        int type;
        std::string body;
        bool secondary; // whether Change is drawn on a secondary axis
    } cases[] = {
        {23, level + onPrimary, false},
        {25, level + onPrimary, false},
        {28, level + onPrimary, false},
        {36, level + onPrimary, false},
        {27, "<dataset>" + level + onPrimary + "</dataset>", false}, // no lineset
        {23, level + "<dataset seriesName='Change' parentYAxis='S'><set/><set/></dataset>", false},
        {23, level + onSecondary, true},
        {28, level + onSecondary, true},
        {27,
         "<dataset>" + level + "</dataset><lineset seriesName='Change'>" + change + "</lineset>",
         true},
    };
    const std::string note = "secondary axis left out: no series is drawn on it";
    for (const Case& c : cases) {
        const std::string xml = "<chart SYAxisName='Monthly change'><categories><category "
                                "label='A'/><category label='B'/><category label='C'/>"
                                "</categories>" +
                                c.body + "</chart>";
        SCOPED_TRACE(std::to_string(c.type) + ": " + xml);
        auto player = drawChart(c.type, xml);
        const ChartLayout& l = player->scene().layout;
        const LayoutAxis* y = l.axis("y");
        ASSERT_TRUE(y && l.plot);
        EXPECT_EQ(l.axis("y2") != nullptr, c.secondary);
        EXPECT_EQ(std::count(l.notes.begin(), l.notes.end(), note), c.secondary ? 0 : 1);
        bool named = false, ticksRight = false;
        for (const LayoutText& t : l.texts) {
            named |= t.text == "Monthly change";
            ticksRight |= t.tag.kind == TextKind::Tick && t.box.x > l.plot->right();
        }
        EXPECT_EQ(named, c.secondary);
        EXPECT_EQ(ticksRight, c.secondary);
        for (const LayoutSeries& s : l.series)
            EXPECT_EQ(s.axis, s.name == "Change" && c.secondary ? "y2" : "y") << s.name;
        // The change's values lie on the scale of the axis they are drawn on, and are drawn.
        const LayoutAxis* own = c.secondary ? l.axis("y2") : y;
        ASSERT_NE(own, nullptr);
        if (c.body.find("<set/>") != std::string::npos) continue;
        EXPECT_TRUE(own->min <= -140 && own->max >= 300) << own->min << " " << own->max;
        EXPECT_EQ(l.series.back().drawn, 3u);
    }
}

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

std::string scrollDocument(const std::string& attrs) {
    return testing::multiSeries("numVisiblePlot='4' " + attrs, testing::numbered("M", 10),
                                {{"A", {10, 11, 12, 13, 14, 15, 16, 17, 18, 19}}});
}

TEST(ScrollPosition, PicksTheWindowDrawnFirst) {
    struct Case {
        std::string attrs;
        std::size_t first;
    } cases[] = {{"", 0},
                 {"scrollPosition='start'", 0},
                 {"scrollPosition='end'", 6},
                 {"scrollPosition='3'", 3},
                 {"scrollPosition='42'", 6},
                 {"scrollPosition='-2'", 0},
                 {"scrollPosition='middle'", 0}};
    for (const Case& c : cases) {
        for (int type : {31, 32, 34}) {
            auto player = drawChart(type, scrollDocument(c.attrs));
            const ChartLayout& l = player->scene().layout;
            ASSERT_FALSE(l.series.empty());
            ASSERT_TRUE(l.series[0].window.has_value()) << c.attrs;
            EXPECT_EQ(l.series[0].window->first, c.first) << type << " " << c.attrs;
            EXPECT_EQ(l.series[0].window->second, 4u) << type << " " << c.attrs;
            EXPECT_EQ(l.series[0].points, 10u);
            EXPECT_EQ(l.series[0].drawn, 4u);
            EXPECT_TRUE(testing::hasNote(l, "outside the scroll window")) << type << " " << c.attrs;
            // The category labels are those of the window.
            for (const LayoutText& t : l.texts) {
                if (t.tag.kind != TextKind::CategoryLabel) continue;
                EXPECT_GE(t.tag.index, static_cast<int>(c.first)) << c.attrs;
                EXPECT_LT(t.tag.index, static_cast<int>(c.first + 4)) << c.attrs;
            }
        }
    }
}

TEST(ScrollPosition, ScrollingMovesOnFromIt) {
    auto player = drawChart(31, scrollDocument("scrollPosition='end'"));
    const Rect plot = *player->scene().layout.plot;
    // The left arrow of the scroll bar, under the plot's left end.
    HitInfo hit = player->hoverAt(plot.x + 4, plot.bottom() + 30);
    double y = plot.bottom() + 30;
    for (double dy = 0; dy < 80 && hit.kind != player::HitKind::ScrollLeft; dy += 2)
        hit = player->hoverAt(plot.x + 4, y = plot.bottom() + dy);
    ASSERT_EQ(hit.kind, player::HitKind::ScrollLeft);
    player->clickAt(plot.x + 4, y);
    EXPECT_EQ(player->scene().layout.series[0].window->first, 5u);
}

std::vector<std::string> tickLabels(const LayoutAxis& a) {
    std::vector<std::string> out;
    for (const LayoutTick& t : a.ticks)
        out.push_back(t.label);
    return out;
}

TEST(LogScale, ValueAxesOfEveryFamily) {
    using Labels = std::vector<std::string>;
    struct Case {
        int type;
        std::string xml;
        const char* axis;
        double min, max;
        Labels labels;
        std::size_t drawn, points;
    } cases[] = {
        {2, testing::singleSeries("logScale='1'", {3, 40, 500, 7000}), "y", 1, 10000,
         Labels{"1", "10", "100", "1,000", "10,000"}, 4, 4},
        {9, testing::singleSeries("logScale='1'", {3, 40, 500, 7000}), "y", 1, 10000,
         Labels{"1", "10", "100", "1,000", "10,000"}, 4, 4},
        {7, testing::singleSeries("logScale='1' logBase='2'", {1, 3, 16}), "y", 1, 16,
         Labels{"1", "2", "4", "8", "16"}, 3, 3},
        {8, testing::singleSeries("logScale='1'", {0.002, 0.05, 0.09}), "y", 0.001, 0.1,
         Labels{"0.001", "0.01", "0.1"}, 3, 3},
        {2, testing::singleSeries("logScale='1'", {0, -5, 10, 100}), "y", 10, 100,
         Labels{"10", "100"}, 2, 4},
        {29,
         "<chart logScale='1'><dataset><set x='0.5' y='20'/><set x='2000' y='900'/>"
         "<set x='-1' y='5'/></dataset></chart>",
         "x", 0.1, 10000, Labels{"0.1", "1", "10", "100", "1,000", "10,000"}, 2, 3},
    };
    for (const Case& c : cases) {
        auto player = drawChart(c.type, c.xml);
        const ChartLayout& l = player->scene().layout;
        const LayoutAxis* a = l.axis(c.axis);
        ASSERT_NE(a, nullptr) << c.xml;
        EXPECT_TRUE(a->log) << c.xml;
        EXPECT_DOUBLE_EQ(a->min, c.min) << c.xml;
        EXPECT_NEAR(a->max, c.max, c.max * 1e-12) << c.xml;
        if (c.type != 29) {
            EXPECT_EQ(tickLabels(*a), c.labels) << c.xml;
        }
        ASSERT_FALSE(l.series.empty());
        EXPECT_EQ(l.series[0].drawn, c.drawn) << c.xml;
        EXPECT_EQ(l.series[0].points, c.points) << c.xml;
        if (c.drawn < c.points) {
            EXPECT_FALSE(l.notes.empty()) << c.xml;
        }
    }
}

// Equal ratios take equal room: the tops of columns 1, 10, 100 and 1000 are evenly spaced.
TEST(LogScale, ColumnsStandAtTheirLogarithm) {
    auto player = drawChart(2, testing::singleSeries("logScale='1'", {1, 10, 100, 1000}));
    const Scene& s = player->scene();
    std::vector<double> tops;
    for (const HitRegion& h : s.hits) {
        if (h.kind == player::HitKind::Column) tops.push_back(h.rect.y);
    }
    ASSERT_EQ(tops.size(), 4u);
    const Rect plot = *s.layout.plot;
    EXPECT_NEAR(tops[3], plot.y, 0.5);
    for (std::size_t i = 1; i < 4; ++i)
        EXPECT_NEAR(tops[i - 1] - tops[i], plot.h / 3, 0.5) << i;
}

std::vector<std::string> months(int fromYear, int count) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
        char buf[48];
        std::snprintf(buf, sizeof buf, "%04d-%02d", fromYear + i / 12, i % 12 + 1);
        out.push_back(buf);
    }
    return out;
}

std::vector<std::string> years(int from, int count) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i)
        out.push_back(std::to_string(from + i));
    return out;
}

std::vector<std::string> days(int year, int count) {
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::vector<std::string> out;
    int month = 0, day = 1;
    for (int i = 0; i < count; ++i) {
        char buf[48];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month + 1, day);
        out.push_back(buf);
        if (++day > lengths[month]) day = 1, month = (month + 1) % 12;
    }
    return out;
}

TEST(CalendarLabels, ThinAtCalendarBoundaries) {
    using Shown = std::vector<std::string>;
    struct Case {
        std::vector<std::string> labels;
        std::size_t first, step;
        const char* period;
        Shown shown;
    } cases[] = {
        {months(2001, 12), 0, 2, "quarter", {"2001-01", "2001-04", "2001-07", "2001-10"}},
        {months(2001, 36),
         0,
         5,
         "half year",
         {"2001-01", "2001-07", "2002-01", "2002-07", "2003-01", "2003-07"}},
        {months(2001, 36), 0, 7, "year", {"2001-01", "2002-01", "2003-01"}},
        // A window starting mid-quarter shows the next quarter first.
        {months(2001, 12), 1, 3, "quarter", {"2001-04", "2001-07", "2001-10"}},
        {days(2001, 90), 0, 20, "month", {"2001-01-01", "2001-02-01", "2001-03-01"}},
        {days(2001, 365),
         0,
         40,
         "quarter",
         {"2001-01-01", "2001-04-01", "2001-07-01", "2001-10-01"}},
        // Years alone: round years, the first one only when it is round itself.
        {years(1871, 30), 0, 3, "5 years", {"1875", "1880", "1885", "1890", "1895", "1900"}},
        {years(1870, 41), 0, 6, "10 years", {"1870", "1880", "1890", "1900", "1910"}},
        {years(1999, 4), 0, 1, "year", {"1999", "2000", "2001", "2002"}},
    };
    for (const Case& c : cases) {
        const std::vector<std::string_view> labels(c.labels.begin(), c.labels.end());
        auto picks = calendarLabels(labels, c.first, c.labels.size(), c.step);
        ASSERT_TRUE(picks.has_value()) << c.period;
        EXPECT_EQ(picks->period, c.period);
        Shown shown;
        for (std::size_t i : picks->shown)
            shown.push_back(c.labels[i]);
        EXPECT_EQ(shown, c.shown) << c.period;
    }
    // Not dates, or dates among other texts: no calendar thinning.
    for (std::vector<std::string> labels :
         {std::vector<std::string>{"Jan", "Feb", "Mar"},
          std::vector<std::string>{"2001-01", "total"}, std::vector<std::string>{"2001-13"},
          std::vector<std::string>{"2001-01-32"}, std::vector<std::string>{"", ""},
          // Four digits out of order are codes, not years.
          std::vector<std::string>{"1880", "1870", "1890"},
          std::vector<std::string>{"2001", "2001", "2002"}, std::vector<std::string>{"20x1"}}) {
        const std::vector<std::string_view> views(labels.begin(), labels.end());
        EXPECT_FALSE(calendarLabels(views, 0, labels.size(), 2).has_value()) << labels[0];
    }
}

TEST(CalendarLabels, MonthlyChartShowsQuartersOrYears) {
    std::vector<std::string> labels = months(1990, 120);
    std::string xml = "<chart showValues='0'>";
    for (std::size_t i = 0; i < labels.size(); ++i)
        xml += "<set label='" + labels[i] + "' value='" + std::to_string(100 + i % 17) + "'/>";
    xml += "</chart>";
    auto player = drawChart(7, xml, 480, 300);
    const ChartLayout& l = player->scene().layout;
    std::size_t shown = 0;
    for (const LayoutText& t : l.texts) {
        if (t.tag.kind != TextKind::CategoryLabel) continue;
        ++shown;
        // Every label drawn starts a quarter at least.
        int month = std::stoi(t.text.substr(5, 2));
        EXPECT_EQ((month - 1) % 3, 0) << t.text;
    }
    EXPECT_GT(shown, 3u);
    EXPECT_LT(shown, 120u);
    bool noted = false;
    for (const std::string& n : l.notes)
        noted |= n.find("category labels thinned: one label a") != std::string::npos;
    EXPECT_TRUE(noted);
}

} // namespace
} // namespace plotara
