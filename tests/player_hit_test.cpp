// Talking back: hit testing with clickAt and hoverAt, links that call the host, scrolling,
// printing through the spooler command, and the picture at several device pixel ratios.
#include "core/Error.h"
#include "player/ChartPlayer.h"
#include "player/Invoke.h"
#include "player_samples.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace plotara {
namespace {

const player::HitRegion* firstHit(const ChartPlayer& p, const std::string& kind, int point) {
    for (const auto& h : p.scene().hits) {
        if (h.kind == kind && h.pointIndex == point) return &h;
    }
    return nullptr;
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
    p.put_Movie(fromUtf8(testing::movieUrl(
        2, "<chart><set label='A' value='10' link='host:drill:A,10'/><set label='B' value='20' "
           "toolText='Bee'/></chart>")));
    calls.clear();
    const auto* a = firstHit(p, "column", 0);
    ASSERT_NE(a, nullptr);
    auto pa = centreOf(*a);
    HitInfo info = p.clickAt(pa.x, pa.y);
    EXPECT_TRUE(info.hit);
    EXPECT_EQ(info.label, L"A");
    EXPECT_EQ(info.value, L"10");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(toUtf8(calls[0]), player::buildInvokeRequest("drill", "A,10"));

    const auto* b = firstHit(p, "column", 1);
    ASSERT_NE(b, nullptr);
    auto pb = centreOf(*b);
    HitInfo hover = p.hoverAt(pb.x, pb.y);
    EXPECT_EQ(hover.toolText, L"Bee");
    p.clickAt(pb.x, pb.y);
    EXPECT_EQ(calls.size(), 1u) << "no link, no call";
    EXPECT_FALSE(p.hoverAt(1, 1).hit);
    EXPECT_FALSE(p.clickAt(-50, 1e9).hit);
}

TEST(PlayerHits, SlicesAnchorsAndBubblesAreFound) {
    struct Case {
        int type;
        std::string kind;
        std::wstring tool;
    } cases[] = {
        {4, "slice", L"Product C, $464,200"}, {6, "slice", L"Product C, $464,200"},
        {3, "slice", L"Product C, $464,200"}, {7, "anchor", L"Product C, $464,200"},
        {8, "point", L"Product C, $464,200"}, {37, "row", L"Product C, $464,200"},
    };
    for (const Case& c : cases) {
        ChartPlayer p;
        p.put_Movie(fromUtf8(testing::movieUrl(c.type, testing::singleSeriesSample)));
        const auto* h = firstHit(p, c.kind, 2);
        ASSERT_NE(h, nullptr) << c.type;
        player::Point at = centreOf(*h);
        if (h->shape == player::HitRegion::Shape::Wedge) {
            double mid = (h->a0 + h->a1) / 2, r = (h->radius + h->inner) / 2;
            at = {h->center.x + r * std::cos(mid), h->center.y + r * h->yScale * std::sin(mid)};
        }
        HitInfo info = p.hoverAt(at.x, at.y);
        EXPECT_EQ(toUtf8(info.kind), c.kind) << c.type;
        EXPECT_EQ(info.toolText, c.tool) << c.type;
    }
    ChartPlayer bubble;
    bubble.put_Movie(fromUtf8(testing::movieUrl(30, testing::bubbleSampleEncoded)));
    const auto* h = firstHit(bubble, "bubble", 0);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(bubble.hoverAt(h->center.x, h->center.y).label, L"Traders");
}

TEST(PlayerHits, ScrollBarMovesTheWindow) {
    std::string xml = "<chart numVisiblePlot='5'><categories>";
    for (int i = 0; i < 20; ++i)
        xml += "<category label='C" + std::to_string(i) + "'/>";
    xml += "</categories><dataset seriesName='s'>";
    for (int i = 0; i < 20; ++i)
        xml += "<set value='" + std::to_string(i + 1) + "'/>";
    xml += "</dataset></chart>";
    ChartPlayer p;
    p.put_Movie(fromUtf8(testing::movieUrl(31, xml)));
    auto visibleColumns = [&] {
        std::vector<int> idx;
        for (const auto& h : p.scene().hits) {
            if (h.kind == "column") idx.push_back(h.pointIndex);
        }
        return idx;
    };
    EXPECT_EQ(visibleColumns(), (std::vector<int>{0, 1, 2, 3, 4}));
    const player::HitRegion* right = nullptr;
    for (const auto& h : p.scene().hits) {
        if (h.kind == "scroll-right") right = &h;
    }
    ASSERT_NE(right, nullptr);
    auto at = centreOf(*right);
    p.clickAt(at.x, at.y);
    p.clickAt(at.x, at.y);
    EXPECT_EQ(visibleColumns(), (std::vector<int>{2, 3, 4, 5, 6}));
    for (int i = 0; i < 40; ++i)
        p.clickAt(at.x, at.y);
    EXPECT_EQ(visibleColumns(), (std::vector<int>{15, 16, 17, 18, 19})) << "stops at the end";
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
    for (double ratio : {1.0, 1.5, 2.0}) {
        auto img = p.surface(ratio);
        EXPECT_EQ(img.width, static_cast<int>(200 * ratio));
        EXPECT_EQ(img.height, static_cast<int>(150 * ratio));
    }
    // The first column's interior has the palette colour at every ratio.
    const auto* h = firstHit(p, "column", 0);
    ASSERT_NE(h, nullptr);
    auto c = centreOf(*h);
    for (double ratio : {1.0, 1.5, 2.0}) {
        auto img = p.surface(ratio);
        EXPECT_EQ(img.pixel(static_cast<int>(c.x * ratio), static_cast<int>(c.y * ratio)),
                  0xFFAFD8F8u)
            << ratio;
    }
}

// A golden picture with a tolerance: the fonts are the pinned DejaVu fonts, so only
// anti-aliasing noise may differ between machines.
TEST(PlayerGolden, Column2dMatchesTheReferencePicture) {
    std::string golden = std::string(PLOTARA_TEST_DATA) + "/player/column2d-320x240.png";
    ChartPlayer p;
    p.put_Movie(fromUtf8(testing::movieUrl(2, testing::singleSeriesSample, 320, 240)));
    if (std::getenv("PLOTARA_UPDATE_GOLDEN")) {
        ASSERT_TRUE(p.savePng(golden));
    }
    cairo_surface_t* ref = cairo_image_surface_create_from_png(golden.c_str());
    ASSERT_EQ(cairo_surface_status(ref), CAIRO_STATUS_SUCCESS) << golden;
    auto img = p.surface(1);
    ASSERT_EQ(cairo_image_surface_get_width(ref), img.width);
    ASSERT_EQ(cairo_image_surface_get_height(ref), img.height);
    const unsigned char* data = cairo_image_surface_get_data(ref);
    int stride = cairo_image_surface_get_stride(ref);
    long differing = 0;
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            std::uint32_t a = img.pixel(x, y), b;
            std::memcpy(&b, data + y * stride + x * 4, 4);
            int worst = 0;
            for (int s = 0; s < 32; s += 8)
                worst = std::max(worst, std::abs(static_cast<int>((a >> s) & 0xFF) -
                                                 static_cast<int>((b >> s) & 0xFF)));
            differing += worst > 48;
        }
    }
    cairo_surface_destroy(ref);
    EXPECT_LT(differing, img.width * img.height / 200) << "more than 0.5% of the pixels differ";
}

} // namespace
} // namespace plotara
