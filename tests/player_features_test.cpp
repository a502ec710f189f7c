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
    for (double dy = 0; dy < 80 && hit.kind != L"scroll-left"; dy += 2)
        hit = player->hoverAt(plot.x + 4, y = plot.bottom() + dy);
    ASSERT_EQ(hit.kind, L"scroll-left");
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
