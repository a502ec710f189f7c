// Hit regions kept as runs of coordinates: every region reads back as it was added, and the
// topmost region at a point is the one a plain walk over the regions finds, in dense charts
// with links, missing values and several series as well.
#include "player/ChartPlayer.h"
#include "player/draw/HitList.h"
#include "player_model_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace plotara {
namespace {

using player::HitRegion;
using Shape = HitRegion::Shape;

HitRegion rectRegion(int series, int point, player::Rect r,
                     player::HitKind kind = player::HitKind::Column) {
    HitRegion h;
    h.rect = r;
    h.kind = kind;
    h.seriesIndex = series;
    h.pointIndex = point;
    h.lazyText = true;
    return h;
}

HitRegion circleRegion(int series, int point, player::Point c, double radius) {
    HitRegion h = rectRegion(series, point, {}, player::HitKind::Anchor);
    h.shape = Shape::Circle;
    h.center = c;
    h.radius = radius;
    return h;
}

void expectSame(const HitRegion& got, const HitRegion& want, std::size_t i) {
    const auto fields = [](const HitRegion& h) {
        return std::tuple(h.shape, h.kind, h.link, h.series, h.seriesIndex, h.pointIndex,
                          h.lazyText);
    };
    const auto place = [](const HitRegion& h) {
        return h.shape == Shape::Rect ? std::vector{h.rect.x, h.rect.y, h.rect.w, h.rect.h}
                                      : std::vector{h.center.x, h.center.y, h.radius};
    };
    EXPECT_EQ(fields(got), fields(want)) << i;
    EXPECT_EQ(place(got), place(want)) << i;
}

// The last of the regions that holds p, by a plain walk.
long lastHolding(const std::vector<HitRegion>& regions, player::Point p) {
    for (std::size_t i = regions.size(); i-- > 0;)
        if (regions[i].contains(p)) return static_cast<long>(i);
    return -1;
}

TEST(HitStoreRuns, RegionsReadBackAsAddedWhereverRunsBreak) {
    struct Case {
        const char* what;
        std::vector<HitRegion> regions;
        std::size_t segments;  // runs and whole regions the store keeps
        std::size_t whole = 0; // regions kept whole: with a link, a name, texts or another shape
    };
    HitRegion linked = rectRegion(0, 2, {20, 0, 10, 50});
    linked.link = "host:drill:C";
    HitRegion texts = rectRegion(0, 1, {10, 20, 10, 30}), named = circleRegion(0, 2, {45, 20}, 4);
    texts.lazyText = false;
    named.series = "S";
    HitRegion wedge = circleRegion(0, 3, {20, 30}, 15), polygon = rectRegion(0, 4, {});
    wedge.shape = Shape::Wedge;
    wedge.kind = player::HitKind::Slice;
    wedge.a0 = 0.5;
    wedge.a1 = 2;
    wedge.inner = 5;
    polygon.shape = Shape::Polygon;
    polygon.kind = player::HitKind::Area;
    polygon.polygon = {{0, 0}, {50, 0}, {25, 40}};
    const std::vector<Case> cases = {
        {"consecutive columns",
         {rectRegion(0, 0, {0, 10, 10, 40}), rectRegion(0, 1, {10, 20, 10, 30}),
          rectRegion(0, 2, {20, 0, 10, 50})},
         1},
        {"a missing value breaks the run",
         {rectRegion(0, 0, {0, 10, 10, 40}), rectRegion(0, 2, {20, 0, 10, 50})},
         2},
        {"series side by side alternate",
         {rectRegion(0, 0, {0, 10, 5, 40}), rectRegion(1, 0, {5, 20, 5, 30}),
          rectRegion(0, 1, {10, 0, 5, 50}), rectRegion(1, 1, {15, 5, 5, 45})},
         4},
        {"a linked column is kept whole between runs",
         {rectRegion(0, 0, {0, 10, 10, 40}), rectRegion(0, 1, {10, 20, 10, 30}), linked,
          rectRegion(0, 3, {30, 5, 10, 45})},
         3,
         1},
        {"texts given, a name, a wedge and a polygon are kept whole",
         {rectRegion(0, 0, {0, 10, 10, 40}), texts, named, wedge, polygon},
         5,
         4},
        {"another kind ends the run",
         {rectRegion(0, 0, {0, 10, 10, 40}),
          rectRegion(0, 1, {0, 10, 40, 10}, player::HitKind::Bar)},
         2},
        {"anchors of one radius",
         {circleRegion(0, 0, {5, 40}, 5), circleRegion(0, 1, {15, 30}, 5),
          circleRegion(0, 2, {25, 45}, 5)},
         1},
        {"circles of their own radii stay one run",
         {circleRegion(0, 0, {10, 10}, 3), circleRegion(0, 1, {20, 20}, 8),
          circleRegion(0, 2, {30, 30}, 8), circleRegion(0, 3, {40, 30}, 1.5)},
         1},
        {"a run of one radius ends at another radius",
         {circleRegion(0, 0, {10, 10}, 5), circleRegion(0, 1, {20, 20}, 5),
          circleRegion(0, 2, {30, 30}, 7), circleRegion(0, 3, {40, 30}, 7)},
         2},
        {"columns then anchors over them",
         {rectRegion(0, 0, {0, 10, 10, 40}), rectRegion(0, 1, {10, 20, 10, 30}),
          circleRegion(1, 0, {5, 12}, 5), circleRegion(1, 1, {15, 22}, 5)},
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        player::HitStore store;
        store.reserve(2, 2);
        for (const HitRegion& r : c.regions)
            store.push_back(r);
        ASSERT_EQ(store.size(), c.regions.size());
        EXPECT_EQ(store.segmentCount(), c.segments);
        EXPECT_EQ(store.wholeCount(), c.whole);
        for (std::size_t i = 0; i < c.regions.size(); ++i)
            expectSame(store[i], c.regions[i], i);
        // Every slice made in one walk, as the page makes them.
        for (std::size_t b = 0; b <= c.regions.size(); ++b) {
            for (std::size_t e = b; e <= c.regions.size() + 1; ++e) {
                std::vector<HitRegion> slice;
                store.appendRegions(slice, b, e);
                ASSERT_EQ(slice.size(), std::min(e, c.regions.size()) - b) << b << "-" << e;
                for (std::size_t i = 0; i < slice.size(); ++i)
                    expectSame(slice[i], c.regions[b + i], b + i);
            }
        }
        for (double x = -6; x <= 52; x += 0.5) {
            for (double y = -6; y <= 56; y += 0.5) {
                ASSERT_EQ(store.lastContaining({x, y}), lastHolding(c.regions, {x, y}))
                    << x << "," << y;
            }
        }
        // The same regions with the plain circles added without making a region.
        player::HitStore direct;
        for (const HitRegion& r : c.regions) {
            const bool plain = r.shape == Shape::Circle && r.lazyText && r.series.empty();
            if (plain)
                direct.pushLazyCircle(r.center, r.radius, r.kind, r.seriesIndex, r.pointIndex);
            else
                direct.push_back(r);
        }
        EXPECT_EQ(direct.segmentCount(), c.segments);
        for (std::size_t i = 0; i < c.regions.size(); ++i)
            expectSame(direct[i], c.regions[i], i);
        store.clear();
        EXPECT_TRUE(store.empty());
        EXPECT_EQ(store.wholeCount(), 0u);
    }
}

// Charts of many points: the scene answers every point as a walk over all its regions does,
// and the dense series are kept as a few runs.
TEST(HitStoreRuns, DenseChartsAnswerEveryPointAsAWalkOverTheirRegions) {
    std::mt19937 random(11);
    auto sets = [&](int n, bool links) {
        std::string xml;
        for (int i = 0; i < n; ++i) {
            xml += "<set label='L" + std::to_string(i) + "'";
            if (i % 97 != 13) xml += " value='" + std::to_string(random() % 900 + 50) + "'";
            if (links && i % 50 == 7) xml += " link='host:drill:" + std::to_string(i) + "'";
            xml += "/>";
        }
        return xml;
    };
    struct Case {
        int type;
        std::string xml;
    };
    const std::vector<Case> cases = {
        {2, "<chart>" + sets(3000, true) + "</chart>"},                // column
        {7, "<chart drawAnchors='1'>" + sets(600, true) + "</chart>"}, // line
        {9, "<chart>" + sets(400, false) + "</chart>"},                // bar
        {7, "<chart>" + sets(2000, false) + "</chart>"},               // dense line
        {17, testing::multiSeries("", {"a", "b", "c"}, {{"S1", {3, 5, 4}}, {"S2", {6, 2, 7}}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        ChartPlayer p;
        p.put_Movie(fromUtf8(testing::movieUrl(c.type, c.xml)));
        const player::Scene& scene = p.scene();
        ASSERT_GT(scene.hits.size(), 0u);
        std::vector<HitRegion> regions(scene.hits.begin(), scene.hits.end());
        EXPECT_LT(scene.hits.segmentCount(), 200u) << "points are runs, not one region each";
        std::uniform_real_distribution<double> x(0, scene.width), y(0, scene.height);
        for (int k = 0; k < 4000; ++k) {
            const player::Point at{x(random), y(random)};
            const long want = lastHolding(regions, at);
            const auto got = scene.hitAt(at);
            ASSERT_EQ(got.has_value(), want >= 0) << at.x << "," << at.y;
            if (got) expectSame(*got, regions[static_cast<std::size_t>(want)], k);
        }
        // The centre of every point's region answers for that point or one drawn above it.
        for (std::size_t i = 0; i < regions.size(); ++i) {
            const HitRegion& r = regions[i];
            if (r.pointIndex < 0) continue;
            const player::Point centre =
                r.shape == Shape::Rect
                    ? player::Point{r.rect.x + r.rect.w / 2, r.rect.y + r.rect.h / 2}
                    : r.center;
            ASSERT_GE(scene.hits.lastContaining(centre), static_cast<long>(i)) << i;
        }
    }
}

} // namespace
} // namespace plotara
