// The SVG cairo writes of a chart (glyph outlines): scatter markers defined once and reused,
// long lines as one path of their points, a light line's edge, and the surface ids renumbered;
// and stamped raster markers landing on their points.
#include "player/ChartPlayer.h"
#include "player/draw/SvgIds.h"
#include "player_model_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <regex>
#include <sstream>

namespace plotara {
namespace {

using player::Rect;

TEST(PlayerSvg, LargeScatterWritesTheMarkerOnceAndReusesIt) {
    std::mt19937 rng(2);
    std::normal_distribution<double> d(50, 15);
    std::string xml = "<chart>";
    for (int s = 0; s < 2; ++s) {
        xml += std::string("<dataset seriesName='S") + char('0' + s) + "' color='" +
               (s == 0 ? "FF0000" : "0000FF") + "'" + (s == 1 ? " anchorSides='4'" : "") + ">";
        for (int i = 0; i < 15000; ++i)
            xml += "<set x='" + std::to_string(d(rng)) + "' y='" + std::to_string(d(rng)) + "'/>";
        xml += "</dataset>";
    }
    xml += "</chart>";
    auto player = testing::drawChart(29, xml);
    std::string svg = player->svg(player::SvgTextMode::Paths);
    // Before, cairo wrote every marker's outline: 4.7 MB for these 30,000 points.
    EXPECT_LT(svg.size(), 1'600'000u);
    EXPECT_EQ(svg.find("0.78125%"), std::string::npos) << "no placeholder is left";
    EXPECT_NE(svg.find("</svg>"), std::string::npos);

    // One definition per series, and one <use> per point inside the plot, in the series' group.
    std::size_t inside = 0;
    Rect clip;
    for (const auto& item : player->scene().items) {
        if (const auto* c = std::get_if<player::ClipPush>(&item)) clip = c->rect;
        if (const auto* m = std::get_if<player::MarkerItem>(&item)) {
            for (const auto& pt : m->points)
                inside += clip.contains(pt);
        }
    }
    ASSERT_GT(inside, 29000u);
    std::size_t uses = 0;
    for (std::size_t at = svg.find("<use xlink:href=\"#pm"); at != std::string::npos;
         at = svg.find("<use xlink:href=\"#pm", at + 1))
        ++uses;
    EXPECT_EQ(uses, inside);
    std::size_t first = svg.find("<path id=\"pm0\" d=\"M 3 0 A 3 3");
    std::size_t second = svg.find("<path id=\"pm1\" d=\"M 0 -3 L 3 0 L 0 3 L -3 0 Z");
    ASSERT_NE(first, std::string::npos) << "a circle of the anchor radius";
    ASSERT_NE(second, std::string::npos) << "a diamond of four sides";
    std::size_t group = svg.rfind("<g style=\"", first);
    const std::string redGroup = "<g style=\"fill:rgb(100%,0%,0%);";
    EXPECT_EQ(svg.compare(group, redGroup.size(), redGroup), 0) << "the series' colour";
    EXPECT_NE(svg.find("clip-path"), std::string::npos) << "the points stay clipped to the plot";
    EXPECT_LT(svg.rfind("<g clip-path", first), first);
}

// A line of 200 zigzagging points, 3 px thick; chartAttrs are added to the chart element.
std::string zigzagLine(const std::string& chartAttrs = "") {
    std::string xml = "<chart lineThickness='3'" + chartAttrs + ">";
    for (int i = 0; i < 200; ++i)
        xml += "<set label='" + std::to_string(i) + "' value='" +
               std::to_string(50 + (i * 37) % 41) + "'/>";
    return xml + "</chart>";
}

// A long line is written as one path of its points, clipped to the plot. A light line gets a
// wider, darker edge under it: the edge strokes the line's own path (one set of segments, two
// strokes); a dark line has no edge.
TEST(PlayerSvg, LongLinesAreOnePathAndALightLinesEdgeStrokesTheLinesOwnPath) {
    for (const std::string color : {"FFEE66", "0000AA"}) {
        SCOPED_TRACE(color);
        auto player = testing::drawChart(7, zigzagLine(" paletteColors='" + color + "'"));
        std::vector<const player::ShapeItem*> strokes;
        for (const auto& item : player->scene().items) {
            if (const auto* s = std::get_if<player::ShapeItem>(&item);
                s && s->stroked && s->path.segments().size() == 200)
                strokes.push_back(s);
        }
        ASSERT_EQ(strokes.size(), color == "0000AA" ? 1u : 2u) << "an edge under a light line";
        if (strokes.size() == 2) {
            EXPECT_TRUE(strokes[0]->path.shares(strokes[1]->path));
            EXPECT_DOUBLE_EQ(strokes[0]->stroke.width, strokes[1]->stroke.width + 1.5)
                << "the edge goes first, wider";
            EXPECT_FALSE(strokes[0]->stroke.color == strokes[1]->stroke.color);
        }
        const player::ShapeItem* line = strokes.back();
        std::string svg = player->svg(player::SvgTextMode::Paths);
        EXPECT_EQ(svg.find("0.78125%"), std::string::npos) << "no placeholder is left";
        static const std::regex path(
            R"re(<path style="fill:none;stroke:rgb\([^"]*stroke-width:3;[^"]*" d="([^"]*)"/>)re");
        std::smatch m;
        ASSERT_TRUE(std::regex_search(svg, m, path));
        std::istringstream d(m[1].str());
        std::string op;
        double x = 0, y = 0;
        std::size_t i = 0;
        while (d >> op >> x >> y) {
            ASSERT_LT(i, 200u);
            EXPECT_EQ(op, i == 0 ? "M" : "L");
            EXPECT_NEAR(x, line->path.segments()[i].x, 0.006);
            EXPECT_NEAR(y, line->path.segments()[i].y, 0.006);
            ++i;
        }
        EXPECT_EQ(i, 200u);
        EXPECT_LT(svg.rfind("<g clip-path", m.position(0)), static_cast<std::size_t>(m.position(0)))
            << "the line stays clipped to the plot";
    }
}

TEST(PlayerSurface, StampedMarkersLandOnTheirPoints) {
    // Enough points to be stamped; big square markers at known places, at two pixel ratios.
    std::string xml = "<chart xAxisMinValue='0' xAxisMaxValue='100' yAxisMinValue='0' "
                      "yAxisMaxValue='100' bgColor='FFFFFF' canvasBgColor='FFFFFF'>"
                      "<dataset color='00FF00' anchorSides='4' anchorRadius='6' "
                      "anchorBgColor='00FF00' anchorBorderColor='00FF00'>";
    for (int i = 0; i < 20; ++i)
        xml +=
            "<set x='" + std::to_string(5 + i * 4.5) + "' y='" + std::to_string(10 + i * 4) + "'/>";
    xml += "</dataset></chart>";
    auto player = testing::drawChart(29, xml, 400, 300);
    const player::MarkerItem* markers = nullptr;
    for (const auto& item : player->scene().items) {
        if (const auto* m = std::get_if<player::MarkerItem>(&item)) markers = m;
    }
    ASSERT_NE(markers, nullptr);
    ASSERT_EQ(markers->points.size(), 20u);
    for (double ratio : {1.0, 2.0}) {
        auto img = player->surface(ratio);
        for (const auto& pt : markers->points) {
            auto px = [&](double x, double y) {
                return img.pixel(static_cast<int>(std::floor(x * ratio)),
                                 static_cast<int>(std::floor(y * ratio)));
            };
            EXPECT_EQ(px(pt.x, pt.y), 0xFF00FF00u) << pt.x << "," << pt.y << " at " << ratio;
            EXPECT_EQ(px(pt.x + 2, pt.y + 2), 0xFF00FF00u) << "inside the diamond";
            EXPECT_NE(px(pt.x + 5, pt.y + 5), 0xFF00FF00u) << "outside the diamond";
        }
    }
}

TEST(SvgIdsTest, SurfaceIdsAndTheirReferencesCountFromOne) {
    const std::pair<std::string, std::string> cases[] = {
        {R"x(<g id="surface29"><path/></g>)x", R"x(<g id="surface1"><path/></g>)x"},
        // References follow their ids; a second surface gets 2 whatever its old number.
        {R"x(<g id="surface40"/><use xlink:href="#surface7"/><g id="surface7"/>)x"
         R"x(<rect fill="url(#surface40)"/>)x",
         R"x(<g id="surface1"/><use xlink:href="#surface2"/><g id="surface2"/>)x"
         R"x(<rect fill="url(#surface1)"/>)x"},
        // Chart text that merely looks like an id stays as written.
        {R"x(<text>surface12 #surface3</text><g id="surface5"/>)x",
         R"x(<text>surface12 #surface3</text><g id="surface1"/>)x"},
        {R"x(<g id="surfaceX"/>surface)x", R"x(<g id="surfaceX"/>surface)x"},
        {"", ""},
    };
    for (const auto& [input, expected] : cases) {
        std::string svg = input;
        player::renumberSurfaceIds(svg);
        EXPECT_EQ(svg, expected) << input;
    }
}

} // namespace
} // namespace plotara
