// Talking back: hit testing with clickAt and hoverAt, links that call the host, scrolling,
// printing through the spooler command, and the picture at several device pixel ratios.
#include "core/Error.h"
#include "player/ChartPlayer.h"
#include "player/detail/Invoke.h"
#include "player/draw/HitList.h"
#include "player_model_support.h"
#include "player_pixels.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>

namespace plotara {
namespace {

// The first region of the kind (for the point, when one is given).
std::optional<player::HitRegion> firstHit(const ChartPlayer& p, player::HitKind kind,
                                          std::optional<int> point = {}) {
    for (const auto& h : p.scene().hits) {
        if (h.kind == kind && (!point || h.pointIndex == *point)) return h;
    }
    return std::nullopt;
}

player::Point centreOf(const player::HitRegion& h) {
    if (h.shape == player::HitRegion::Shape::Rect)
        return {h.rect.x + h.rect.w / 2, h.rect.y + h.rect.h / 2};
    return h.center;
}

TEST(LinkSyntax, HostCallsScriptCallsAndAddresses) {
    struct Case {
        std::string link, name, argument;
    } cases[] = {
        {"host:showDetail:Product A,2008", "showDetail", "Product A,2008"},
        {"host:refresh", "refresh", ""},
        {"  JavaScript:myFunc('a,b')", "myFunc", "a,b"},
        {"javascript:f(\"x\")", "f", "x"},
        {"http://example.com/a?b=1", "PT_Link", "http://example.com/a?b=1"},
        {"detail.htm", "PT_Link", "detail.htm"},
        {"http://x.org/list?ids=4,7,9", "PT_Link", "http://x.org/list?ids=4%2C7%2C9"},
        {"   ", "", ""},
        {"host:", "", ""},
    };
    for (const Case& c : cases) {
        auto call = player::callForLink(c.link);
        EXPECT_EQ(call.name, c.name) << c.link;
        EXPECT_EQ(call.argument, c.argument) << c.link;
    }
    auto back = player::parseInvokeRequest(player::buildInvokeRequest("f", "a,b"));
    EXPECT_EQ(back.name, "f");
    EXPECT_EQ(back.argument, "a,b");
    EXPECT_EQ(player::parseInvokeRequest("<invoke name='print'><arguments><string/>").name,
              "print");
}

TEST(PlayerHits, ClickOnALinkedColumnCallsTheHost) {
    ChartPlayer p;
    std::vector<String> calls;
    p.onFlashCall([&](const String& r) { calls.push_back(r); });
    testing::loadChart(p, 2,
                       "<chart><set label='A' value='10' link='host:drill:A,10'/><set label='B' "
                       "value='20' toolText='Bee'/></chart>");
    calls.clear();
    // The region list: the columns in order, with their links and boxes as tall as their values.
    std::vector<HitInfo> listed;
    for (const HitInfo& h : p.hitRegions())
        if (h.kind == player::HitKind::Column) listed.push_back(h);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].link, L"host:drill:A,10");
    for (int i = 0; i < 2; ++i) {
        const HitInfo& c = listed[static_cast<std::size_t>(i)];
        EXPECT_EQ(c.pointIndex, i);
        EXPECT_EQ(p.hoverAt(c.box.x + c.box.w / 2, c.box.y + c.box.h / 2).value, c.value);
    }
    EXPECT_NEAR(listed[1].box.h / listed[0].box.h, 2.0, 0.02);
    EXPECT_LT(listed[0].box.right(), listed[1].box.x);
    const auto a = firstHit(p, player::HitKind::Column, 0);
    ASSERT_TRUE(a);
    auto pa = centreOf(*a);
    HitInfo info = p.clickAt(pa.x, pa.y);
    EXPECT_TRUE(info.hit);
    EXPECT_EQ(info.label, L"A");
    EXPECT_EQ(info.value, L"10");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(toUtf8(calls[0]), player::buildInvokeRequest("drill", "A,10"));

    const auto b = firstHit(p, player::HitKind::Column, 1);
    ASSERT_TRUE(b);
    auto pb = centreOf(*b);
    HitInfo hover = p.hoverAt(pb.x, pb.y);
    EXPECT_EQ(hover.toolText, L"Bee");
    p.clickAt(pb.x, pb.y);
    EXPECT_EQ(calls.size(), 1u) << "no link, no call";
    EXPECT_FALSE(p.hoverAt(1, 1).hit);
    EXPECT_FALSE(p.clickAt(-50, 1e9).hit);
}

TEST(PlayerHits, SlicesAnchorsAndBubblesAreFound) {
    using enum player::HitKind;
    const std::pair<int, player::HitKind> cases[] = {{4, Slice},  {6, Slice}, {3, Slice},
                                                     {7, Anchor}, {8, Point}, {37, Row}};
    for (const auto& [type, kind] : cases) {
        ChartPlayer p;
        testing::loadChart(p, type, testing::singleSeriesSample);
        const auto h = firstHit(p, kind, 2);
        ASSERT_TRUE(h) << type;
        player::Point at = centreOf(*h);
        if (h->shape == player::HitRegion::Shape::Wedge) {
            double mid = (h->a0 + h->a1) / 2, r = (h->radius + h->inner) / 2;
            at = {h->center.x + r * std::cos(mid), h->center.y + r * h->yScale * std::sin(mid)};
        }
        HitInfo info = p.hoverAt(at.x, at.y);
        EXPECT_EQ(info.kind, kind) << type;
        EXPECT_EQ(info.toolText, L"Product C, $464,200") << type;
    }
    auto bubble = testing::drawChart(30, testing::bubbleSampleEncoded);
    const auto h = firstHit(*bubble, player::HitKind::Bubble, 0);
    ASSERT_TRUE(h);
    EXPECT_EQ(bubble->hoverAt(h->center.x, h->center.y).label, L"Traders");
}

// A scatter of two clouds of points (the benchmark's size), with three lone points in the
// corners (the last sets of the second series) and one point beyond the x axis maximum.
std::string bigScatter() {
    std::mt19937 rng(7);
    std::normal_distribution<double> d(50, 10);
    std::string x = "<chart xAxisMinValue='0' xAxisMaxValue='100' yAxisMinValue='0' "
                    "yAxisMaxValue='100' anchorRadius='3'>";
    for (int s = 0; s < 2; ++s) {
        x += "<dataset seriesName='S" + std::to_string(s) + "'>";
        for (int i = 0; i < 15000; ++i)
            x += "<set x='" + std::to_string(d(rng)) + "' y='" + std::to_string(d(rng)) + "'/>";
        if (s == 0) x += "<set x='150' y='50'/>";
        if (s == 1)
            x += "<set x='2' y='98' toolText='top left' link='host:corner:1'/><set x='98' "
                 "y='2'/><set x='98' y='98'/>";
        x += "</dataset>";
    }
    return x + "</chart>";
}

// The markers in drawing order: (series, point number, centre).
struct DrawnPoint {
    int series, point;
    player::Point at;
};
std::vector<DrawnPoint> drawnPoints(const player::Scene& scene) {
    std::vector<DrawnPoint> out;
    int series = 0;
    for (const auto& item : scene.items) {
        if (const auto* m = std::get_if<player::MarkerItem>(&item)) {
            for (std::size_t i = 0; i < m->points.size(); ++i)
                out.push_back({series, static_cast<int>(i), m->points[i]});
            ++series;
        }
    }
    return out;
}

TEST(PlayerHits, ScatterPointsAreFoundAsTheTopmostWithinTheirRadius) {
    ChartPlayer p;
    std::vector<String> calls;
    p.onFlashCall([&](const String& r) { calls.push_back(r); });
    testing::loadChart(p, 29, bigScatter());
    EXPECT_LT(p.scene().hits.size(), 16u) << "points are not kept as one region each";
    EXPECT_EQ(p.scene().pointHits.size(), 30003u) << "every point in the plot, not the one beyond";
    std::vector<DrawnPoint> drawn = drawnPoints(p.scene());
    ASSERT_EQ(drawn.size(), 30004u);

    // The lone points: found with their own texts; a click on a linked one calls the host.
    const DrawnPoint& corner = drawn[drawn.size() - 3];
    HitInfo info = p.hoverAt(corner.at.x + 1, corner.at.y - 1);
    ASSERT_TRUE(info.hit);
    EXPECT_EQ(info.kind, player::HitKind::Point);
    EXPECT_EQ(info.series, L"S1");
    EXPECT_EQ(info.seriesIndex, 1);
    EXPECT_EQ(info.pointIndex, 15000);
    EXPECT_EQ(info.toolText, L"top left");
    calls.clear();
    p.clickAt(corner.at.x, corner.at.y);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(toUtf8(calls[0]), player::buildInvokeRequest("corner", "1"));
    const DrawnPoint& last = drawn.back();
    EXPECT_EQ(p.hoverAt(last.at.x, last.at.y).pointIndex, 15002);
    EXPECT_EQ(p.hoverAt(last.at.x, last.at.y).toolText, L"S1, 98, 98");
    EXPECT_FALSE(p.hoverAt(last.at.x + 6, last.at.y).hit) << "beyond the point's radius";
    // The point beyond the axis maximum is not drawn, so it is not found either.
    const DrawnPoint& beyond = drawn[15000];
    HitInfo outside = p.hoverAt(beyond.at.x, beyond.at.y);
    EXPECT_FALSE(outside.hit && outside.kind == player::HitKind::Point &&
                 outside.pointIndex == 15000);

    // Anywhere in the cloud: the answer is the last drawn point within 4 pixels (anchor radius
    // plus one), as a search through every point finds it.
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> u(0, 1);
    auto plotPoint = [&](double fx, double fy) {
        return player::Point{
            drawn.back().at.x + (drawn[drawn.size() - 3].at.x - drawn.back().at.x) * fx,
            drawn.back().at.y + (drawn[drawn.size() - 2].at.y - drawn.back().at.y) * fy};
    };
    int found = 0;
    for (int probe = 0; probe < 400; ++probe) {
        player::Point at = plotPoint(0.2 + 0.6 * u(rng), 0.2 + 0.6 * u(rng));
        const DrawnPoint* expected = nullptr;
        for (const DrawnPoint& d : drawn) {
            double dx = d.at.x - at.x, dy = d.at.y - at.y;
            if (dx * dx + dy * dy <= 16) expected = &d;
        }
        HitInfo h = p.hoverAt(at.x, at.y);
        if (!expected) {
            EXPECT_FALSE(h.hit && h.kind == player::HitKind::Point) << at.x << "," << at.y;
            continue;
        }
        ++found;
        EXPECT_EQ(h.seriesIndex, expected->series) << at.x << "," << at.y;
        EXPECT_EQ(h.pointIndex, expected->point) << at.x << "," << at.y;
    }
    EXPECT_GT(found, 100) << "most probes land on the cloud";
}

// The point store alone: of two points within reach, the one of the set added last answers.
TEST(PlayerHits, TheLastDrawnScatterPointIsOnTop) {
    player::PointHits hits;
    hits.beginSet(player::HitKind::Point, "A", 0, 0);
    hits.add({10, 10}, 4, 0);
    hits.beginSet(player::HitKind::Point, "B", 1, 0);
    hits.add({12, 10}, 4, 7);
    hits.finish();
    std::size_t set = 9;
    EXPECT_EQ(hits.find({11, 10}, set), 1);
    EXPECT_EQ(set, 1u);
    EXPECT_EQ(hits.find({7, 10}, set), 0);
    EXPECT_EQ(set, 0u);
    EXPECT_EQ(hits.find({21, 10}, set), -1);
    EXPECT_EQ(hits.find({std::nan(""), 10}, set), -1);
}

// Twenty categories, five of them in the scroll window.
std::string scrollChart(int (*value)(int)) {
    std::vector<double> values;
    for (int i = 0; i < 20; ++i)
        values.push_back(value(i));
    return testing::multiSeries("numVisiblePlot='5'", testing::numbered("C", 20), {{"s", values}});
}

TEST(PlayerHits, ScrollBarMovesTheWindow) {
    ChartPlayer p;
    testing::loadChart(p, 31, scrollChart([](int i) { return i + 1; }));
    auto visibleColumns = [&] {
        std::vector<int> idx;
        for (const auto& h : p.scene().hits) {
            if (h.kind == player::HitKind::Column) idx.push_back(h.pointIndex);
        }
        return idx;
    };
    EXPECT_EQ(visibleColumns(), (std::vector<int>{0, 1, 2, 3, 4}));
    const auto right = firstHit(p, player::HitKind::ScrollRight);
    ASSERT_TRUE(right);
    auto at = centreOf(*right);
    p.clickAt(at.x, at.y);
    p.clickAt(at.x, at.y);
    EXPECT_EQ(visibleColumns(), (std::vector<int>{2, 3, 4, 5, 6}));
    for (int i = 0; i < 40; ++i)
        p.clickAt(at.x, at.y);
    EXPECT_EQ(visibleColumns(), (std::vector<int>{15, 16, 17, 18, 19})) << "stops at the end";
}

TEST(PlayerScroll, LinesAndAreasRunOnToTheEdgesOfTheWindow) {
    const std::string xml = scrollChart([](int i) { return 10 + (i * 7) % 11; });
    for (int type : {32, 33}) {
        ChartPlayer p;
        testing::loadChart(p, type, xml);
        const auto right = firstHit(p, player::HitKind::ScrollRight);
        ASSERT_TRUE(right);
        auto at = centreOf(*right);
        for (int i = 0; i < 3; ++i)
            p.clickAt(at.x, at.y);
        // The plot's clip, and the widest stroked or filled shape drawn under it.
        player::Rect plot;
        double x0 = 1e9, x1 = -1e9;
        bool clipped = false;
        for (const auto& item : p.scene().items) {
            if (const auto* c = std::get_if<player::ClipPush>(&item)) {
                plot = c->rect;
                clipped = true;
            } else if (std::holds_alternative<player::ClipPop>(item)) {
                clipped = false;
            } else if (const auto* s = std::get_if<player::ShapeItem>(&item); s && clipped) {
                if (s->path.segments().size() < 6) continue; // grid lines, the plot's canvas
                for (const auto& seg : s->path.segments()) {
                    x0 = std::min(x0, seg.x);
                    x1 = std::max(x1, seg.x);
                }
            }
        }
        EXPECT_LT(x0, plot.x) << type << ": the line comes in from the category before";
        EXPECT_GT(x1, plot.right()) << type << ": and goes on to the one after";
        // Hit regions stay inside the plot.
        for (const auto& h : p.scene().hits) {
            for (const auto& pt : h.polygon)
                EXPECT_TRUE(pt.x >= plot.x - 0.01 && pt.x <= plot.right() + 0.01) << type;
        }
    }
}

TEST(PlayerPrint, SpoolsAPdfOrReportsTheMissingSpooler) {
    ChartPlayer p;
    p.put_Movie(fromUtf8(testing::movieUrl(2, testing::singleSeriesSample)));
    std::string copy = ::testing::TempDir() + "/printed.pdf";
    p.setPrintCommand({"sh", "-c", "cp \"$0\" " + copy});
    EXPECT_EQ(p.CallFunction(L"<invoke name=\"print\" returntype=\"xml\"><arguments>"
                             L"<string></string></arguments></invoke>"),
              L"<true/>");
    std::ifstream in(copy, std::ios::binary);
    std::string head(5, '\0');
    in.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");

    p.setPrintCommand({"/nonexistent/lp"});
    try {
        p.CallFunction(L"<invoke name='print'><arguments><string/></arguments></invoke>");
        ADD_FAILURE() << "no spooler must raise an error";
    } catch (const Error& e) {
        EXPECT_NE(e.description().find(L"/nonexistent/lp"), String::npos);
    }
    p.setPrintCommand({"false"});
    EXPECT_THROW(p.CallFunction(L"<invoke name=\"print\"/>"), Error);
    EXPECT_THROW(p.CallFunction(L"<invoke name=\"explode\"/>"), Error);
}

TEST(PlayerSurface, ScalesWithTheDevicePixelRatio) {
    ChartPlayer p;
    p.put_Movie(fromUtf8(testing::movieUrl(2, testing::singleSeriesSample, 200, 150)));
    // The first column's interior has the palette colour at every ratio.
    const auto h = firstHit(p, player::HitKind::Column, 0);
    ASSERT_TRUE(h);
    auto c = centreOf(*h);
    for (double ratio : {1.0, 1.5, 2.0}) {
        auto img = p.surface(ratio);
        EXPECT_EQ(img.width, static_cast<int>(200 * ratio));
        EXPECT_EQ(img.height, static_cast<int>(150 * ratio));
        EXPECT_EQ(img.pixel(static_cast<int>(c.x * ratio), static_cast<int>(c.y * ratio)),
                  0xFFAFD8F8u)
            << ratio;
    }
}

} // namespace
} // namespace plotara
