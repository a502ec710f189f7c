// Options of the chart document, checked on the layout model: the scroll window drawn first,
// a transparent background, and where the legend goes.
#include "player/layout/ChartLayout.h"
#include "player_model_support.h"

#include <gtest/gtest.h>

namespace plotara {
namespace {

using namespace player;
using testing::drawChart;

std::string scrollDocument(const std::string& attrs) {
    std::string xml = "<chart numVisiblePlot='4' " + attrs + "><categories>";
    for (int i = 0; i < 10; ++i)
        xml += "<category label='M" + std::to_string(i) + "'/>";
    xml += "</categories><dataset seriesName='A'>";
    for (int i = 0; i < 10; ++i)
        xml += "<set value='" + std::to_string(10 + i) + "'/>";
    return xml + "</dataset></chart>";
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

TEST(Background, BgAlphaAloneMakesItTransparent) {
    struct Case {
        std::string attrs;
        double alpha;
    } cases[] = {{"bgAlpha='0'", 0}, {"bgAlpha='50'", 0.5}, {"", 1}, {"bgColor='FF0000'", 1}};
    for (const Case& c : cases) {
        auto player = drawChart(2, testing::singleSeries(c.attrs, {1, 2, 3}));
        EXPECT_NEAR(player->scene().background.a, c.alpha, 1e-9) << c.attrs;
    }
    auto clear = drawChart(2, testing::singleSeries("bgAlpha='0'", {1, 2, 3}), 200, 150);
    auto image = clear->surface(1);
    EXPECT_EQ(image.pixel(1, 1) >> 24, 0u) << "the corner is transparent";
}

TEST(LegendPosition, BottomOrRight) {
    for (int type : {11, 12, 4, 29}) {
        std::string xml = testing::sampleFor(type);
        if (type == 4) xml.insert(6, " showLegend='1' ");
        auto bottom = drawChart(type, xml);
        xml.insert(6, " legendPosition='right' ");
        auto right = drawChart(type, xml);
        for (const auto* p : {bottom.get(), right.get()}) {
            const ChartLayout& l = p->scene().layout;
            ASSERT_FALSE(l.legend.empty()) << type;
            const Rect plot = *l.plot;
            for (const LayoutText& t : l.texts) {
                if (t.tag.kind != TextKind::Legend) continue;
                if (p == bottom.get()) {
                    EXPECT_GT(t.box.y, plot.bottom()) << type << " " << t.text;
                } else {
                    EXPECT_GT(t.box.x, plot.right()) << type << " " << t.text;
                    EXPECT_LT(t.box.y, plot.bottom()) << type << " " << t.text;
                }
            }
        }
        // A plot with its legend beside it keeps the height the legend took below it (a pie,
        // sized by the narrower side, does not).
        if (type != 4) {
            EXPECT_GT(right->scene().layout.plot->h, bottom->scene().layout.plot->h) << type;
        }
        EXPECT_EQ(right->scene().layout.legend.size(), bottom->scene().layout.legend.size());
    }
}

} // namespace
} // namespace plotara

namespace plotara {
namespace {

using namespace player;

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

} // namespace
} // namespace plotara

#include "player/cartesian/CalendarLabels.h"

namespace plotara {
namespace {

using namespace player;

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
