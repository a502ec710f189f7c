// The shapes of the data: 3D columns and bars with their end faces at the value end, bubbles
// that stay apart, and charts whose data outnumber the pixels (pie slices under a pixel drawn as
// one "Other" slice that keeps the total, bubbles hidden under others skipped and noted).
#include "player/ChartPlayer.h"
#include "player_model_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>
#include <tuple>
#include <variant>

namespace plotara {
namespace {

using namespace player;
using testing::drawChart;
using testing::hasNote;
using testing::singleSeries;

constexpr double twoPi = 2 * std::numbers::pi;

// Copies: the scene keeps point regions compactly and hands them out by value.
std::vector<HitRegion> hitsOfKind(const ChartPlayer& p, player::HitKind kind) {
    std::vector<HitRegion> out;
    for (HitRegion h : p.scene().hits)
        if (h.kind == kind) out.push_back(std::move(h));
    return out;
}

// The colour of a device pixel as 0xRRGGBB (the pictures here are opaque).
std::uint32_t rgbAt(const ArgbImage& img, double x, double y) {
    return img.pixel(static_cast<int>(x), static_cast<int>(y)) & 0xFFFFFF;
}

// Three large slices of fixed colours, then n slivers of 1 to 5.
std::string manySlices(int n, double& slivers) {
    std::string xml = "<chart showValues='0'><set label='A' value='300000' color='CC0000'/>"
                      "<set label='B' value='200000' color='00AA00'/>"
                      "<set label='C' value='100000' color='0000DD'/>";
    slivers = 0;
    for (int i = 0; i < n; ++i) {
        const int v = 1 + i % 5;
        slivers += v;
        xml += "<set label='s" + std::to_string(i) + "' value='" + std::to_string(v) + "'/>";
    }
    return xml + "</chart>";
}

// 100,000 slices on pies and doughnuts, flat and 3D: the three large ones keep their sizes and
// colours, the rest is one "Other" slice of their sum, and the wedges close the circle.
TEST(DegeneratePie, SlicesUnderAPixelBecomeOneOtherSliceOfTheirTotal) {
    double sliverSum = 0;
    const std::string doc = manySlices(100000 - 3, sliverSum);
    const double total = 600000 + sliverSum;
    for (int type : {4, 3, 6, 5}) {
        SCOPED_TRACE(type);
        ChartPlayer p;
        testing::loadChart(p, type, doc);
        const ChartLayout& layout = p.scene().layout;
        ASSERT_EQ(layout.series.size(), 1u);
        EXPECT_EQ(layout.series[0].points, 100000u);
        EXPECT_EQ(layout.series[0].drawn, 3u);
        EXPECT_TRUE(hasNote(layout, "99997 slices under a pixel wide drawn as one \"Other\""));

        const auto wedges = hitsOfKind(p, player::HitKind::Slice);
        ASSERT_EQ(wedges.size(), 4u);
        double swept = 0;
        for (const HitRegion& w : wedges)
            swept += w.a1 - w.a0;
        EXPECT_NEAR(swept, twoPi, 1e-9);
        const double expected[] = {300000, 200000, 100000, sliverSum};
        for (std::size_t k = 0; k < 4; ++k)
            EXPECT_NEAR(wedges[k].a1 - wedges[k].a0, twoPi * expected[k] / total, 1e-9) << k;
        EXPECT_EQ(wedges[3].label, "Other");
        EXPECT_EQ(wedges[3].pointIndex, -1);

        // The middle of each large slice's face shows its colour.
        const ArgbImage img = p.surface();
        const std::uint32_t colors[] = {0xCC0000, 0x00AA00, 0x0000DD};
        for (std::size_t k = 0; k < 3; ++k) {
            const HitRegion& w = wedges[k];
            const double mid = (w.a0 + w.a1) / 2, at = (w.radius + w.inner) / 2;
            EXPECT_EQ(rgbAt(img, w.center.x + at * std::cos(mid),
                            w.center.y + at * w.yScale * std::sin(mid)),
                      colors[k])
                << k;
        }
    }
}

// Slices an arc of a pixel or more stay slices of their own; zero and negative ones are still
// noted apart from the merged ones.
TEST(DegeneratePie, OnlyTheSlicesUnderAPixelAreMerged) {
    ChartPlayer p;
    testing::loadChart(p, 4,
                       "<chart><set label='big' value='1000'/><set label='thin' value='0.001'/>"
                       "<set label='seen' value='20'/><set label='none' value='0'/></chart>");
    const ChartLayout& layout = p.scene().layout;
    EXPECT_EQ(layout.series[0].drawn, 2u);
    EXPECT_TRUE(hasNote(layout, "1 slices under a pixel wide")) << layout.notes.front();
    EXPECT_TRUE(hasNote(layout, "1 slices not drawn: missing, zero or negative values"));
    std::vector<std::string> labels;
    for (const HitRegion& w : hitsOfKind(p, player::HitKind::Slice))
        labels.push_back(w.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"big", "seen", "Other"}));
}

// Thousands of visible slices: the labels that fit beside the pie are those of the largest
// slices, none overlaps another, and the layout says how many were left out.
TEST(DegeneratePie, LabelsBeyondTheColumnsRoomAreLeftOutLargestFirst) {
    std::string xml = "<chart><set label='Largest' value='1000'/>";
    for (int i = 0; i < 400; ++i)
        xml += "<set label='n" + std::to_string(i) + "' value='10'/>";
    auto p = drawChart(4, xml + "</chart>");
    const ChartLayout& layout = p->scene().layout;
    EXPECT_EQ(layout.series[0].drawn, 401u);
    EXPECT_TRUE(hasNote(layout, "slice labels not shown: no room beside the pie"));
    std::vector<const LayoutText*> labels;
    for (const LayoutText& t : layout.texts)
        if (t.tag.kind == TextKind::PieLabel) labels.push_back(&t);
    ASSERT_GT(labels.size(), 10u);
    ASSERT_LT(labels.size(), 200u);
    // The largest slice's label is shown, whole or as its (shortened) name and its value side by
    // side.
    std::string largest;
    for (const LayoutText* t : labels)
        if (t->tag.index == 0)
            largest += (largest.empty() ? "" : " ") + (t->fullText.empty() ? t->text : t->fullText);
    EXPECT_EQ(largest, "Largest, 1,000");
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_GE(labels[i]->box.y, 0);
        EXPECT_LE(labels[i]->box.bottom(), 480);
        for (std::size_t j = i + 1; j < labels.size(); ++j)
            EXPECT_FALSE(labels[i]->box.overlaps(labels[j]->box))
                << labels[i]->text << " / " << labels[j]->text;
    }
}

// n bubbles spread over the axes 0 to 100, the largest z last; fixed axis limits keep the
// scales of documents that differ only in which bubbles they hold.
std::string bubbles(const std::vector<std::array<double, 3>>& points,
                    const std::string& chartExtra = "", const std::string& datasetExtra = "") {
    std::string xml = "<chart xAxisMinValue='0' xAxisMaxValue='100' yAxisMinValue='0' "
                      "yAxisMaxValue='100'" +
                      chartExtra + "><dataset seriesName='S' color='3366CC'" + datasetExtra + ">";
    char buf[96];
    for (const auto& [x, y, z] : points) {
        std::snprintf(buf, sizeof buf, "<set x='%.3f' y='%.3f' z='%.3f'/>", x, y, z);
        xml += buf;
    }
    return xml + "</dataset></chart>";
}

std::vector<std::array<double, 3>> randomBubbles(int n) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> at(0, 100), size(0, 40);
    std::vector<std::array<double, 3>> points;
    for (int i = 0; i < n; ++i)
        points.push_back({at(random), at(random), i == n - 1 ? 50 : size(random)});
    return points;
}

// More bubbles than the plot has pixels: those that would not show are skipped and every point
// is accounted for. The picture is compared with the same visible bubbles drawn in full: bubbles
// far outside the axes (drawn first, clipped away) add only to the count that turns the
// skipping on.
TEST(DegenerateBubbles, BubblesThatCannotShowAreSkippedWithoutChangingThePicture) {
    const auto visible = randomBubbles(15000);
    auto withOutside = visible;
    withOutside.insert(withOutside.begin(), 15000, std::array<double, 3>{900, 900, 10});
    const std::string large = " bubbleScale='3'";
    ChartPlayer all, skipping;
    testing::loadChart(all, 30, bubbles(visible, large), 240, 180);
    testing::loadChart(skipping, 30, bubbles(withOutside, large), 240, 180);
    const ChartLayout& layout = skipping.scene().layout;
    ASSERT_TRUE(layout.plot && all.scene().layout.plot);
    const Rect plot = *layout.plot, allPlot = *all.scene().layout.plot;
    ASSERT_EQ(std::tie(plot.x, plot.y, plot.w, plot.h),
              std::tie(allPlot.x, allPlot.y, allPlot.w, allPlot.h));
    ASSERT_LT(15000, layout.plot->w * layout.plot->h);
    ASSERT_GT(30000, layout.plot->w * layout.plot->h);
    EXPECT_EQ(hitsOfKind(all, player::HitKind::Bubble).size(), 15000u);

    const auto drawn = hitsOfKind(skipping, player::HitKind::Bubble);
    EXPECT_EQ(layout.series[0].drawn, drawn.size());
    EXPECT_LT(drawn.size(), 15000u * 3 / 4);
    EXPECT_TRUE(hasNote(layout, "S: " + std::to_string(15000 - drawn.size()) +
                                    " bubbles not drawn: more bubbles than the plot has pixels"))
        << (layout.notes.empty() ? "" : layout.notes.front());
    EXPECT_TRUE(hasNote(layout, "S: 15000 points not drawn: missing values, outside the axis"));

    const ArgbImage a = all.surface(), b = skipping.surface();
    int worst = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            for (int s = 0; s < 32; s += 8)
                worst = std::max(worst, std::abs(static_cast<int>((a.pixel(x, y) >> s) & 0xFF) -
                                                 static_cast<int>((b.pixel(x, y) >> s) & 0xFF)));
    EXPECT_LE(worst, 1);
}

// Opaque bubbles hide more of those below than translucent ones; unclipped bubbles at the
// plot's edge still reach outside it and stay; a chart with fewer bubbles than pixels draws all.
// Scatter markers are stamped, so every point is drawn; with more points than pixels the layout
// says they cover one another.
TEST(DegenerateBubbles, WhatIsSkippedFollowsAlphaClippingAndCount) {
    const auto points = randomBubbles(20000);
    auto drawnWith = [&](const char* chartExtra, const char* datasetExtra, int width, int height) {
        return drawChart(30, bubbles(points, chartExtra, datasetExtra), width, height)
            ->scene()
            .layout.series.at(0)
            .drawn;
    };
    const std::size_t translucent = drawnWith("", "", 200, 150);
    const std::size_t opaque = drawnWith("", " alpha='100'", 200, 150);
    EXPECT_LT(translucent, 20000u);
    EXPECT_LT(opaque, translucent);
    EXPECT_GT(drawnWith(" clipBubbles='0'", "", 200, 150), translucent);
    EXPECT_EQ(drawnWith("", "", 800, 600), 20000u);

    auto p = drawChart(29, bubbles(points), 200, 150);
    const ChartLayout& layout = p->scene().layout;
    EXPECT_EQ(layout.series[0].drawn, 20000u);
    EXPECT_TRUE(hasNote(layout, "20000 points on a plot of "));
}

TEST(Bubbles, ManyBubblesStayApart) {
    struct Case {
        int bubbles;
        double maxShare; // the largest radius as a share of the plot's smaller side
    } cases[] = {{5, 0.1}, {300, 0.03}};
    for (const Case& c : cases) {
        std::string xml = "<chart><dataset seriesName='A'>";
        for (int i = 0; i < c.bubbles; ++i) {
            xml += "<set x='" + std::to_string(i % 37) + "' y='" + std::to_string((i * 7) % 41) +
                   "' z='" + std::to_string(1 + i % 13) + "'/>";
        }
        xml += "</dataset></chart>";
        auto player = drawChart(30, xml);
        const Scene& s = player->scene();
        double largest = 0;
        std::size_t bubbles = 0;
        for (const HitRegion& h : s.hits) {
            if (h.kind != player::HitKind::Bubble) continue;
            largest = std::max(largest, h.radius);
            ++bubbles;
        }
        EXPECT_EQ(bubbles, static_cast<std::size_t>(c.bubbles));
        double side = std::min(s.layout.plot->w, s.layout.plot->h);
        EXPECT_LE(largest, side * c.maxShare) << c.bubbles << " bubbles";
        EXPECT_GT(largest, side * 0.01) << c.bubbles << " bubbles";
    }
}

// The end faces of 3D columns (bars): parallelograms whose first and last corners lie on one
// horizontal (vertical) edge of the front and whose middle corners lie on the back edge.
std::vector<const PathSeg*> endFaces(const Scene& scene, bool bars) {
    std::vector<const PathSeg*> faces;
    for (const SceneItem& item : scene.items) {
        const auto* shape = std::get_if<ShapeItem>(&item);
        if (!shape || !shape->filled || shape->path.segments().size() < 4) continue;
        const PathSeg* s = shape->path.segments().data();
        if (bars ? s[0].x != s[1].x && s[0].y != s[1].y && s[1].x == s[2].x && s[0].x == s[3].x
                 : s[0].y != s[1].y && s[1].y == s[2].y && s[0].y == s[3].y)
            faces.push_back(s);
    }
    return faces;
}

// Two series across zero: P 30, -20 and Q -15, 25.
const std::string acrossZero =
    testing::multiSeries("", {"A", "B"}, {{"P", {30, -20}}, {"Q", {-15, 25}}});

// A 3D column's or bar's end face sits at its value end: the top of a column above zero and the
// bottom of one below it, the right end of a bar running right from the zero line and the left
// end of one running left, side by side or stacked; a bar's extent (its hit box) reaches from
// that end past the zero line.
TEST(Prisms3D, EndFaceSitsAtTheValueEnd) {
    const std::vector<double> across{30, -20, -15, 25}; // by series, then point
    const struct Case {
        int type;
        std::string xml;
        std::vector<double> values;
    } cases[] = {
        {1, singleSeries("", {40, -30, 20, -10}), {40, -30, 20, -10}},
        {10, acrossZero, across},
        {14, acrossZero, across},
        {19, acrossZero, across},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type));
        const bool bars = c.type == 14 || c.type == 19;
        auto player = drawChart(c.type, c.xml, 480, 320);
        const Scene& scene = player->scene();
        double zero = -1;
        for (const LayoutTick& t : scene.layout.axis("y")->ticks)
            if (t.value == 0) zero = t.box.x + t.box.w / 2;
        const std::vector<const PathSeg*> faces = endFaces(scene, bars);
        std::size_t prisms = 0;
        for (const HitRegion& hit : scene.hits) {
            if (hit.kind != (bars ? player::HitKind::Bar : player::HitKind::Column)) continue;
            ++prisms;
            const double v =
                c.values[static_cast<std::size_t>(c.type == 1 ? 0 : hit.seriesIndex) * 2 +
                         static_cast<std::size_t>(hit.pointIndex)];
            auto face = std::find_if(faces.begin(), faces.end(), [&](const PathSeg* f) {
                return bars ? std::fabs(f[3].y - hit.rect.bottom()) < 0.01 &&
                                  f[0].x >= hit.rect.x - 0.01 && f[0].x <= hit.rect.right() + 0.01
                            : std::fabs(f[0].x - hit.rect.x) < 0.01;
            });
            ASSERT_NE(face, faces.end()) << v;
            if (!bars && v < 0) {
                EXPECT_NEAR((*face)[0].y, hit.rect.bottom(), 0.01) << v;
            }
            if (!bars && v > 0) {
                EXPECT_LT((*face)[0].y, hit.rect.bottom() - 10) << v;
            }
            if (bars && v < 0) {
                EXPECT_NEAR((*face)[0].x, hit.rect.x, 0.01) << v;
                EXPECT_LT(hit.rect.x, zero - 10) << v;
            }
            if (bars && v > 0) {
                EXPECT_GT((*face)[0].x, hit.rect.x + 10) << v;
                EXPECT_GT(hit.rect.right(), zero + 10) << v;
            }
        }
        EXPECT_EQ(prisms, c.values.size());
    }
}

} // namespace
} // namespace plotara
