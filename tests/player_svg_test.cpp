// Structural checks on the SVG a chart is written as: the rectangles of the columns, their
// heights against the values, their colours, and the label boxes of the layout.
#include "player/ChartPlayer.h"
#include "player_samples.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <regex>

namespace plotara {
namespace {

using player::Rect;
using player::TextItem;

struct SvgRect {
    std::string fill;
    double x0, y0, x1, y1;
};

// Filled paths that are axis-aligned rectangles ("M a b L c b L c d L a d Z").
std::vector<SvgRect> filledRects(const std::string& svg) {
    static const std::regex path(
        R"re(<path style="[^"]*fill:(rgb\([^)]*\))[^"]*" d="M ([-\d.]+) ([-\d.]+) L ([-\d.]+) ([-\d.]+) L ([-\d.]+) ([-\d.]+) L ([-\d.]+) ([-\d.]+) Z)re");
    std::vector<SvgRect> out;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), path); it != std::sregex_iterator();
         ++it) {
        const auto& m = *it;
        double ax = std::stod(m[2]), ay = std::stod(m[3]), bx = std::stod(m[4]),
               by = std::stod(m[5]), cx = std::stod(m[6]), cy = std::stod(m[7]);
        if (ay != by || bx != cx) continue;
        if (std::fabs(cx - ax) <= 10.5 && std::fabs(cy - ay) <= 10.5) continue; // legend box
        out.push_back(
            {m[1], std::min(ax, cx), std::min(ay, cy), std::max(ax, cx), std::max(ay, cy)});
    }
    return out;
}

// cairo writes colours as per-cent triples.
std::string svgColor(unsigned rgb) {
    char buf[96];
    auto pct = [](unsigned v) {
        char b[32];
        std::snprintf(b, sizeof b, "%.6f", v * 100.0 / 255);
        std::string s = b;
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.') s.pop_back();
        return s + "%";
    };
    std::snprintf(buf, sizeof buf, "rgb(%s,%s,%s)", pct(rgb >> 16).c_str(),
                  pct((rgb >> 8) & 0xFF).c_str(), pct(rgb & 0xFF).c_str());
    return buf;
}

ChartPlayer& play(ChartPlayer& player, int type, const std::string& xml, int w = 640, int h = 480) {
    player.put_Movie(fromUtf8(testing::movieUrl(type, xml, w, h)));
    return player;
}

TEST(PlayerSvg, ColumnHeightsFollowTheValuesAndPaletteColours) {
    ChartPlayer player;
    play(player, 2, testing::singleSeriesSample);
    ASSERT_EQ(player.state(), PlayerState::Chart);
    auto rects = filledRects(player.svg());
    const unsigned palette[] = {0xAFD8F8, 0xF6BD0F, 0x8BBA00, 0xFF8E46};
    const double values[] = {235000, 125100, 464200, 434500};
    std::vector<SvgRect> columns;
    for (unsigned c : palette) {
        std::vector<SvgRect> found;
        for (const SvgRect& r : rects) {
            if (r.fill == svgColor(c)) found.push_back(r);
        }
        ASSERT_EQ(found.size(), 1u) << "one column in " << svgColor(c);
        columns.push_back(found[0]);
    }
    // All columns stand on the same base and their heights are proportional to the values.
    for (std::size_t i = 1; i < 4; ++i) {
        EXPECT_NEAR(columns[i].y1, columns[0].y1, 0.01);
        double ratio = (columns[i].y1 - columns[i].y0) / (columns[0].y1 - columns[0].y0);
        EXPECT_NEAR(ratio, values[i] / values[0], 0.01);
        EXPECT_GT(columns[i].x0, columns[i - 1].x1) << "columns side by side, left to right";
    }
}

TEST(PlayerSvg, BarsGrowToTheRightInProportion) {
    ChartPlayer player;
    play(player, 9, testing::singleSeriesSample);
    auto rects = filledRects(player.svg());
    std::vector<SvgRect> bars;
    for (unsigned c : {0xAFD8F8u, 0xF6BD0Fu}) {
        for (const SvgRect& r : rects) {
            if (r.fill == svgColor(c)) bars.push_back(r);
        }
    }
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_NEAR(bars[0].x0, bars[1].x0, 0.01);
    EXPECT_NEAR((bars[1].x1 - bars[1].x0) / (bars[0].x1 - bars[0].x0), 125100.0 / 235000, 0.01);
    EXPECT_LT(bars[0].y1, bars[1].y0) << "the first category is on top";
}

TEST(PlayerSvg, StackedColumnsSitOnEachOther) {
    ChartPlayer player;
    play(player, 17, testing::multiSeriesSample(false));
    auto rects = filledRects(player.svg());
    std::vector<SvgRect> first, second;
    for (const SvgRect& r : rects) {
        if (r.fill == svgColor(0xAFD8F8)) first.push_back(r);
        if (r.fill == svgColor(0xF6BD0F)) second.push_back(r);
    }
    ASSERT_EQ(first.size(), 4u);
    ASSERT_EQ(second.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(second[i].y1, first[i].y0, 0.01) << "2007 sits on top of 2008";
        EXPECT_NEAR(second[i].x0, first[i].x0, 0.01);
    }
}

TEST(PlayerSvg, UserColoursAndAlphaTakeEffect) {
    ChartPlayer player;
    play(player, 2,
         "<chart><set label='a' value='1' color='FF0000'/><set label='b' value='2' "
         "color='00FF00' alpha='50'/></chart>");
    std::string svg = player.svg();
    auto rects = filledRects(svg);
    int red = 0, green = 0;
    for (const SvgRect& r : rects) {
        red += r.fill == "rgb(100%,0%,0%)";
        green += r.fill == "rgb(0%,100%,0%)";
    }
    EXPECT_EQ(red, 1);
    EXPECT_EQ(green, 1);
    EXPECT_NE(svg.find("fill:rgb(0%,100%,0%);fill-opacity:0.5"), std::string::npos);
}

// Labels of every sample: present and never overlapping one another.
class LabelLayout : public ::testing::TestWithParam<int> {};

TEST_P(LabelLayout, TextsDoNotOverlap) {
    int type = GetParam();
    for (auto [w, h] : {std::pair{640, 480}, std::pair{300, 220}}) {
        ChartPlayer player;
        play(player, type, testing::sampleFor(type), w, h);
        ASSERT_EQ(player.state(), PlayerState::Chart);
        auto texts = player.scene().texts();
        ASSERT_FALSE(texts.empty());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            for (std::size_t j = i + 1; j < texts.size(); ++j) {
                Rect a = texts[i]->box, b = texts[j]->box;
                // Shrink by half a pixel: glyph boxes that merely touch are fine.
                a = {a.x + 0.5, a.y + 0.5, a.w - 1, a.h - 1};
                b = {b.x + 0.5, b.y + 0.5, b.w - 1, b.h - 1};
                EXPECT_FALSE(a.overlaps(b)) << w << "x" << h << ": '" << texts[i]->text
                                            << "' overlaps '" << texts[j]->text << "'";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, LabelLayout,
                         ::testing::Values(1, 2, 3, 4, 7, 9, 11, 14, 17, 19, 23, 26, 27, 29, 30,
                                           37));

TEST(PlayerLayout, ManyLongLabelsRotateOrThinWithoutOverlap) {
    std::string xml = "<chart>";
    for (int i = 0; i < 60; ++i)
        xml += "<set label='Category number " + std::to_string(i) + "' value='" +
               std::to_string(i % 7 + 1) + "'/>";
    xml += "</chart>";
    for (const char* rotate : {"", " rotateNames='0'"}) {
        std::string doc = xml;
        doc.insert(6, rotate);
        ChartPlayer player;
        play(player, 2, doc);
        ASSERT_EQ(player.state(), PlayerState::Chart);
        std::vector<Rect> boxes;
        for (const TextItem* t : player.scene().texts()) {
            if (t->text.rfind("Category", 0) == 0) boxes.push_back(t->box);
        }
        ASSERT_GE(boxes.size(), 3u) << "some labels remain";
        for (std::size_t i = 1; i < boxes.size(); ++i)
            EXPECT_FALSE(boxes[i].overlaps(boxes[i - 1])) << rotate;
    }
}

TEST(PlayerLayout, NumbersUsePrefixSuffixAndDecimals) {
    ChartPlayer player;
    play(player, 2,
         "<chart numberPrefix='£' numberSuffix=' kg' decimals='2' forceDecimals='1'><set "
         "label='a' value='1234.5'/></chart>");
    bool found = false;
    for (const TextItem* t : player.scene().texts())
        found = found || t->text == "£1,234.50 kg";
    EXPECT_TRUE(found);
}

} // namespace
} // namespace plotara
