// Colours: lines that stand out from the canvas of every palette, a background made transparent
// by its alpha alone, and a set's own colour on a line or area: the stretch of the shape nearest
// its point, halfway to each neighbour, takes it; sets without one (or with one that cannot be
// read) keep the series' colour. Checked on the stretches themselves and on the drawn pixels.
#include "player/cartesian/PointColors.h"
#include "player/layout/ChartLayout.h"
#include "player_model_support.h"

#include "player_pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace plotara {
namespace {

using namespace player;
using testing::drawChart;

TEST(PointColors, StretchesOfOneColourRunHalfwayToTheirNeighbours) {
    const Color r = rgb(0xFF0000), g = rgb(0x00A000);
    const std::vector<Point> chain{{0, 0}, {10, 0}, {20, 10}, {30, 10}};
    const struct {
        std::vector<Color> colors;
        std::vector<std::vector<Point>> stretches;
    } cases[] = {
        {{}, {}},
        {{r, r, r, r}, {{{0, 0}, {10, 0}, {20, 10}, {30, 10}}}},
        {{r, r, g, r},
         {{{0, 0}, {10, 0}, {15, 5}}, {{15, 5}, {20, 10}, {25, 10}}, {{25, 10}, {30, 10}}}},
        {{g, r, r, r}, {{{0, 0}, {5, 0}}, {{5, 0}, {10, 0}, {20, 10}, {30, 10}}}},
    };
    for (const auto& c : cases) {
        const std::vector<ColorStretch> stretches = colorStretches(c.colors);
        ASSERT_EQ(stretches.size(), c.stretches.size());
        for (std::size_t k = 0; k < stretches.size(); ++k) {
            EXPECT_EQ(stretches[k].color, c.colors[stretches[k].first]) << k;
            const std::vector<Point> points = stretchPoints(chain, stretches[k]);
            ASSERT_EQ(points.size(), c.stretches[k].size()) << k;
            for (std::size_t p = 0; p < points.size(); ++p) {
                EXPECT_EQ(points[p].x, c.stretches[k][p].x) << k << " " << p;
                EXPECT_EQ(points[p].y, c.stretches[k][p].y) << k << " " << p;
            }
        }
    }
}

std::string threePoints(const std::string& chartAttrs, const std::string (&colors)[3]) {
    const char* values[] = {"30", "60", "40"};
    std::string xml = "<chart " + chartAttrs + ">";
    for (int i = 0; i < 3; ++i) {
        xml += "<set label='P" + std::to_string(i) + "' value='" + values[i] + "'";
        if (!colors[i].empty()) xml += " color='" + colors[i] + "'";
        xml += "/>";
    }
    return xml + "</chart>";
}

// Samples a quarter and three quarters of the way along each of the two segments: on the line
// itself, and for an area halfway down from its top to the plot's bottom.
TEST(SetColors, SingleLinesAndAreasTakeTheirSetsColours) {
    const struct {
        std::string colors[3];
        std::string expected; // the colour at the four samples
    } cases[] = {
        {{"FF0000", "00A000", "0000FF"}, "rggb"},
        {{"", "0000FF", "nonsense"}, "rbbr"}, // the series' colour where a set gives none
        {{"", "", ""}, "rrrr"},
    };
    for (const int type : {7, 8}) {
        for (const auto& c : cases) {
            SCOPED_TRACE("type " + std::to_string(type) + " expecting " + c.expected);
            const std::string attrs = "paletteColors='FF0000' lineThickness='5' showValues='0' "
                                      "drawAnchors='0' showPlotBorder='0' bgColor='FFFFFF' "
                                      "canvasBgColor='FFFFFF'";
            auto player = testing::drawChart(type, threePoints(attrs, c.colors), 480, 320);
            std::vector<Point> points(3);
            for (const HitInfo& hit : player->hitRegions()) {
                if (hit.pointIndex >= 0 && hit.pointIndex < 3 &&
                    (hit.kind == player::HitKind::Anchor || hit.kind == player::HitKind::Point))
                    points[static_cast<std::size_t>(hit.pointIndex)] = {hit.box.x + hit.box.w / 2,
                                                                        hit.box.y + hit.box.h / 2};
            }
            ASSERT_GT(points[2].x, points[0].x);
            const std::optional<Rect>& plot = player->scene().layout.plot;
            ASSERT_TRUE(plot.has_value());
            const ArgbImage image = player->surface(1);
            std::string seen;
            for (int segment = 0; segment < 2; ++segment) {
                for (const double t : {0.25, 0.75}) {
                    const Point& a = points[static_cast<std::size_t>(segment)];
                    const Point& b = points[static_cast<std::size_t>(segment + 1)];
                    const double x = a.x + (b.x - a.x) * t;
                    double y = a.y + (b.y - a.y) * t;
                    if (type == 8) y = (y + plot->bottom()) / 2;
                    seen += testing::dominantChannel(image.pixel(static_cast<int>(std::lround(x)),
                                                                 static_cast<int>(std::lround(y))));
                }
            }
            EXPECT_EQ(seen, c.expected);
        }
    }
}

// Every line series has a stroke, and every anchor set a border, with at least 3:1 contrast
// against the canvas, whatever its palette colour.
TEST(Contrast, EveryLineStandsOutFromTheCanvas) {
    EXPECT_NEAR(contrast(rgb(0xFFFFFF), rgb(0x000000)), 21, 1e-9);
    EXPECT_NEAR(contrast(rgb(0x777777), rgb(0x777777)), 1, 1e-9);
    EXPECT_GE(contrast(legibleOn(rgb(0xAFD8F8), rgb(0xFFFFFF)), rgb(0xFFFFFF)), 3);
    EXPECT_GE(contrast(legibleOn(rgb(0x202040), rgb(0x101010)), rgb(0x101010)), 3);
    EXPECT_EQ(legibleOn(rgb(0x333333), rgb(0xFFFFFF)), rgb(0x333333));

    std::vector<testing::Dataset> sets;
    for (int d = 0; d < 8; ++d)
        sets.push_back({"S" + std::to_string(d), {10.0 + d, 20.0 + d, 15.0 + d}});
    for (int palette = 1; palette <= 5; ++palette) {
        auto player =
            drawChart(12, testing::multiSeries("palette='" + std::to_string(palette) + "'",
                                               {"A", "B", "C"}, sets));
        const Scene& s = player->scene();
        Color canvas = paletteTheme(palette).canvas;
        std::size_t legibleLines = 0, markerSets = 0;
        for (const SceneItem& item : s.items) {
            if (const auto* shape = std::get_if<ShapeItem>(&item)) {
                if (shape->stroked && !shape->filled && shape->stroke.width >= 2 &&
                    contrast(shape->stroke.color, canvas) >= 3)
                    ++legibleLines;
            } else if (const auto* m = std::get_if<MarkerItem>(&item)) {
                ++markerSets;
                EXPECT_GE(contrast(m->border.color, canvas), 3) << "palette " << palette;
            }
        }
        EXPECT_GE(legibleLines, 8u) << "palette " << palette;
        EXPECT_EQ(markerSets, 8u) << "palette " << palette;
    }
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

} // namespace
} // namespace plotara
