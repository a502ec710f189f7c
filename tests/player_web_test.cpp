// The chart's web page: its structure as docs/web.md gives it (ids, hit elements named as the
// desktop names them, series groups, links as events or allowed addresses), hostile texts that
// stay text wherever they land, and the size of a 12-column page.
#include "player/ChartPlayer.h"
#include "player/ElementName.h"
#include "player/layout/JsonWriter.h"
#include "player/web/HtmlPage.h"
#include "player/web/PagePacking.h"
#include "player/web/PageScript.h"
#include "player_model_support.h"
#include "player_samples.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <set>
#include <tuple>

namespace plotara {
namespace {

std::string xmlEscaped(const std::string& text) {
    const char* const refs[] = {"&lt;", "&gt;", "&amp;", "&apos;", "&quot;"};
    std::string out;
    for (char c : text) {
        const std::size_t at = std::string_view("<>&'\"").find(c);
        out += at == std::string_view::npos ? std::string(1, c) : refs[at];
    }
    return out;
}

std::string between(const std::string& page, const std::string& from, const std::string& to) {
    const std::size_t a = page.find(from);
    const std::size_t b = page.find(to, a == std::string::npos ? 0 : a);
    if (a == std::string::npos || b == std::string::npos) return {};
    return page.substr(a, b - a + to.size());
}

player::Rect boxOf(const ChartPlayer& p, player::HitKind kind, int series, int point) {
    for (const HitInfo& h : p.hitRegions()) {
        if (h.kind == kind && h.seriesIndex == series && h.pointIndex == point) return h.box;
    }
    return {};
}

// The chart data the page's script reads.
nlohmann::json pageData(const std::string& page) {
    const std::string open = "<script type=\"application/json\" id=\"";
    const std::size_t at = page.find('>', page.find(open)) + 1;
    return nlohmann::json::parse(page.substr(at, page.find("</script>", at) - at));
}

std::string fromBase64(std::string_view text) {
    const std::string_view digits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::uint32_t bits = 0;
    int held = 0;
    for (char c : text) {
        if (c == '=') break;
        bits = bits << 6 | static_cast<std::uint32_t>(digits.find(c));
        if ((held += 6) >= 8) out += static_cast<char>(bits >> (held -= 8) & 0xff);
    }
    return out;
}

// A zlib stream inflated by zlib itself; empty when it is no whole stream.
std::string inflated(const std::string& packed) {
    z_stream z{};
    std::string out;
    if (inflateInit(&z) != Z_OK) return out;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    z.avail_in = static_cast<uInt>(packed.size());
    int status = Z_OK;
    while (status == Z_OK) {
        char chunk[65536];
        z.next_out = reinterpret_cast<Bytef*>(chunk);
        z.avail_out = sizeof chunk;
        status = inflate(&z, Z_NO_FLUSH);
        out.append(chunk, sizeof chunk - z.avail_out);
    }
    inflateEnd(&z);
    return status == Z_STREAM_END && z.avail_in == 0 ? out : std::string();
}

// The zoom windows a page carries, packed.
nlohmann::json zoomWindows(const std::string& page) {
    const std::string open = "<script type=\"application/zlib\" id=\"plotara-zoom\">";
    const std::size_t at = page.find(open) + open.size();
    return nlohmann::json::parse(
        inflated(fromBase64(page.substr(at, page.find("</script>", at) - at))));
}

TEST(PlayerWeb, PackedTextsReadBackAsWritten) {
    // RFC 4648's vectors, and bytes past 127.
    const std::pair<std::string, std::string> vectors[] = {{"", ""},
                                                           {"f", "Zg=="},
                                                           {"fo", "Zm8="},
                                                           {"foo", "Zm9v"},
                                                           {"foob", "Zm9vYg=="},
                                                           {"foobar", "Zm9vYmFy"},
                                                           {"\xff\xfe\x80", "//6A"}};
    for (const auto& [bytes, text] : vectors) {
        EXPECT_EQ(player::base64(bytes), text);
        EXPECT_EQ(fromBase64(text), bytes);
    }
    // What zlib inflates is the text itself, short or long and repetitive, script-like or not.
    std::string long_;
    for (int i = 0; i < 20000; ++i)
        long_ += "<text x=\"" + std::to_string(i % 997) + "\">\u00e9</script>" + "\n";
    for (const std::string& text : {std::string(), std::string("a"), long_}) {
        const std::string packed = player::deflatedBase64(text);
        EXPECT_EQ(packed.find_first_not_of(
                      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
                  std::string::npos);
        EXPECT_EQ(inflated(fromBase64(packed)), text);
        if (!text.empty()) {
            EXPECT_EQ(inflated(fromBase64(packed).substr(1)), "")
                << "not a stream without its head";
        }
    }
    EXPECT_LT(player::deflatedBase64(long_).size(), long_.size() / 10);
}

TEST(PlayerWeb, PageFollowsTheContractAndTheDesktopsNames) {
    auto player = testing::drawChart(11, testing::multiSeriesSample(false));
    const std::string page = player->html({false, "sales"});
    EXPECT_TRUE(page.starts_with("<!DOCTYPE html>"));
    EXPECT_NE(page.find("script-src '" + player::pageScriptHash() + "'"), std::string::npos);
    EXPECT_EQ(player::pageScriptHash().size(), 7u + 44u); // sha256- and 32 bytes in base64
    EXPECT_NE(page.find("<script>" + std::string(player::pageScript()) + "</script>"),
              std::string::npos);
    for (const char* id : {"id=\"sales\"", "id=\"sales-tip\" hidden", "id=\"sales-data\"",
                           "id=\"sales-table\"", "role=\"tooltip\"", ">data</button>"})
        EXPECT_NE(page.find(id), std::string::npos) << id;

    // The SVG part is XML: one element per hit region, named as the desktop names it, and a
    // group for each series a legend entry toggles.
    pugi::xml_document svg;
    ASSERT_TRUE(svg.load_string(between(page, "<svg", "</svg>").c_str()));
    const std::vector<HitInfo> hits = player->hitRegions();
    std::set<int> toggled;
    for (std::size_t i = 0; i < hits.size(); ++i) {
        const std::string at = "//*[@data-plotara-hit='" + std::to_string(i) + "']";
        const pugi::xml_node el = svg.select_node(at.c_str()).node();
        ASSERT_TRUE(el) << i;
        EXPECT_EQ(fromUtf8(el.attribute("aria-label").value()),
                  elementName(hits[i].label, hits[i].value, hits[i].toolText));
        if (hits[i].kind == player::HitKind::Legend) {
            EXPECT_STREQ(el.attribute("role").value(), "checkbox");
            EXPECT_STREQ(el.attribute("tabindex").value(), "0");
            toggled.insert(hits[i].seriesIndex);
        }
    }
    ASSERT_EQ(toggled, (std::set<int>{0, 1}));
    for (int s : toggled) {
        const std::string group = "//*[@data-plotara-series='" + std::to_string(s) + "']";
        EXPECT_GE(svg.select_nodes(group.c_str()).size(), 4u) << "a column each, series " << s;
    }
    // Every id of the picture carries the prefix, so two charts on a page do not clash.
    const pugi::xpath_node_set ids = svg.select_nodes("//*[@id]");
    EXPECT_FALSE(ids.empty());
    for (const pugi::xpath_node& n : ids)
        EXPECT_TRUE(std::string(n.node().attribute("id").value()).starts_with("sales-"));
    // The still SVG is the picture as before, without groups.
    EXPECT_EQ(player->svg().find("data-plotara-series"), std::string::npos);

    const std::string fragment = player->html({true, ""});
    EXPECT_TRUE(fragment.starts_with("<figure class=\"plotara\" id=\"plotara\""));
    EXPECT_EQ(fragment.find("<meta"), std::string::npos);
}

TEST(PlayerWeb, LinksBecomeDrillDownEventsOrAllowedAddresses) {
    const std::pair<std::string, nlohmann::json> cases[] = {
        {"host:Drill:a,,b", {{"call", {{"action", "Drill"}, {"parameter", {"a", "", "b"}}}}}},
        {"host:Name", {{"call", {{"action", "Name"}, {"parameter", nullptr}}}}},
        {"javascript:Show('x, y')", {{"call", {{"action", "Show"}, {"parameter", {"x", " y"}}}}}},
        {"https://example.com/a,b?q=1", {{"href", "https://example.com/a,b?q=1"}}},
        {"MAILTO:sales@example.com", {{"href", "MAILTO:sales@example.com"}}},
        {"data:text/html,<script>alert(1)</script>", nlohmann::json::object()},
        {"java\tscript:alert(1)", nlohmann::json::object()},
        {"vbscript:msgbox", nlohmann::json::object()},
        {"details.html", nlohmann::json::object()},
    };
    std::string xml = "<chart>";
    for (const auto& [link, expected] : cases)
        xml += "<set label='x' value='1' link='" + xmlEscaped(link) + "'/>";
    auto player = testing::drawChart(2, xml + "</chart>");
    const std::string page = player->html();
    std::size_t column = 0;
    const nlohmann::json data = pageData(page);
    for (const nlohmann::json& region : data["regions"]) {
        if (region["k"] != "column") continue;
        ASSERT_LT(column, std::size(cases));
        const auto& [link, expected] = cases[column++];
        nlohmann::json got = nlohmann::json::object();
        for (const char* key : {"call", "href"})
            if (region.contains(key)) got[key] = region[key];
        EXPECT_EQ(got, expected) << link;
    }
    EXPECT_EQ(column, std::size(cases));
}

TEST(PlayerWeb, HostileTextsStayTextWhereverTheyLand) {
    const std::string hostile[] = {"<img src=x onerror=alert(1)>",
                                   "</script><script>alert(1)</script>", "\"><svg onload=alert(1)>",
                                   "a\xE2\x80\xA8z & <!--"};
    for (const std::string& text : hostile) {
        const std::string x = xmlEscaped(text);
        auto player = testing::drawChart(
            2, "<chart caption='" + x + "'><set label='" + x + "' value='2' toolText='" + x +
                   "' link='host:F:" + x + "'/><set label='b' value='1'/></chart>");
        const std::string page = player->html({false, text});
        if (text.find('<') != std::string::npos) {
            EXPECT_EQ(page.find(text), std::string::npos) << "raw markup in the page: " << text;
        }
        const std::string json = between(page, "\">{", "</script>");
        EXPECT_EQ(json.find("\xE2\x80\xA8"), std::string::npos) << "unescaped U+2028";
        std::size_t scripts = 0;
        for (std::size_t at = page.find("<script"); at != std::string::npos;
             at = page.find("<script", at + 1))
            ++scripts;
        EXPECT_EQ(scripts, 2u) << text;
        // The texts arrive whole: as JSON data, as the caption and as the element's name.
        const nlohmann::json first = pageData(page)["regions"][0];
        EXPECT_EQ(first["t"], text);
        EXPECT_EQ(first["call"]["action"], "F");
        pugi::xml_document figcaption, svg;
        ASSERT_TRUE(figcaption.load_string(between(page, "<figcaption", "</figcaption>").c_str()));
        EXPECT_EQ(figcaption.first_child().child_value(), text);
        EXPECT_EQ(figcaption.first_child().attribute("id").value(), text + "-caption");
        ASSERT_TRUE(svg.load_string(between(page, "<svg", "</svg>").c_str()));
        EXPECT_EQ(
            svg.select_node("//*[@data-plotara-hit='0']").node().attribute("aria-label").value(),
            text);
        EXPECT_TRUE(svg.select_nodes("//img | //script | //*[@onload]").empty());
    }
}

// A dense chart's points come as runs of data, not elements; expanded as the script expands them
// they give every point's texts as the desktop has them.
TEST(PlayerWeb, DensePointsComeAsDataWithTheDesktopsTexts) {
    std::string xml = "<chart caption='Dense'><categories>";
    for (int i = 0; i < 700; ++i)
        xml += "<category label='C" + std::to_string(i) + "'/>";
    xml += "</categories>";
    for (const char* name : {"North", ""}) {
        xml += "<dataset seriesName='" + std::string(name) + "'>";
        for (int i = 0; i < 700; ++i)
            xml += "<set value='" + std::to_string(i % 97) + "'" +
                   (i == 5 ? " toolText='&lt;b&gt;five'" : "") +
                   (i % 300 == 7 ? " link='host:F:" + std::to_string(i) + "'" : "") + "/>";
        xml += "</dataset>";
    }
    auto player = testing::drawChart(12, xml + "</chart>");
    const std::string page = player->html();
    const std::vector<HitInfo> hits = player->hitRegions();
    std::size_t at = 0, points = 0;
    const nlohmann::json data = pageData(page);
    for (const nlohmann::json& r : data["regions"]) {
        for (int j = 0; j < r.value("n", 0); ++j, ++points) {
            const HitInfo& hit = hits.at(at + static_cast<std::size_t>(j));
            const std::string key = std::to_string(j), l = r["l"][j], v = r["v"][j];
            const std::string t = r["t"].contains(key) ? r["t"][key].get<std::string>()
                                                       : r["lead"].get<std::string>() +
                                                             (l.empty() ? "" : l + ", ") + v;
            EXPECT_EQ(std::make_tuple(fromUtf8(t), fromUtf8(l), fromUtf8(v)),
                      std::make_tuple(hit.toolText, hit.label, hit.value))
                << at + static_cast<std::size_t>(j);
            EXPECT_EQ(r["links"].contains(key), !hit.link.empty());
        }
        at += r.contains("n") ? r["n"].get<std::size_t>() : 1;
    }
    EXPECT_EQ(at, hits.size());
    EXPECT_EQ(points, 1400u);
    std::size_t elements = 0;
    for (std::size_t i = page.find("data-plotara-hit="); i != std::string::npos;
         i = page.find("data-plotara-hit=", i + 1))
        ++elements;
    EXPECT_LT(elements, 20u) << "an element per point";
    // Each run's one keyboard element starts on its first linked point (C7 in both series).
    std::size_t keyboard = 0;
    for (std::size_t i = page.find("<circle"); i != std::string::npos;
         i = page.find("<circle", i + 1)) {
        const std::string circle = page.substr(i, page.find("/>", i) - i);
        if (circle.find("role=\"link\"") == std::string::npos) continue;
        ++keyboard;
        const std::string name = circle.substr(circle.find("aria-label="));
        EXPECT_TRUE(name.find("C7, 7") != std::string::npos ||
                    name.find("C7: 7") != std::string::npos)
            << circle;
    }
    EXPECT_EQ(keyboard, 2u);
}

// A scroll chart's page holds its window at every start, each with the plot elements the player
// has when scrolled there, in XML whose ids all differ and carry the prefix.
TEST(PlayerWeb, ScrollPageHoldsEveryWindowAsThePlayerScrollsTo) {
    std::string xml = "<chart numVisiblePlot='5' animation='0'><categories>";
    for (int i = 0; i < 12; ++i)
        xml += "<category label='C" + std::to_string(i) + "'/>";
    xml += "</categories><dataset seriesName='S'>";
    for (int i = 0; i < 12; ++i)
        xml += "<set value='" + std::to_string(10 + i * 7 % 11) +
               "' link='host:F:" + std::to_string(i) + "'/>";
    // A long chart's page offers a bounded number of starts: both ends and the shown one.
    const std::vector<std::size_t> starts = player::pageScrollStarts(1000, 10, 7);
    EXPECT_LE(starts.size() * 10, player::pageWindowCategories + 20);
    EXPECT_GT(starts.size() * 10, player::pageWindowCategories / 2);
    EXPECT_TRUE(starts.front() == 0 && starts.back() == 1000 && std::ranges::is_sorted(starts));
    EXPECT_TRUE(std::ranges::binary_search(starts, std::size_t{7}));
    const std::vector<std::size_t> tiled = player::pageScrollStarts(100000, 10, 0);
    EXPECT_EQ(std::ranges::adjacent_find(tiled, [](auto a, auto b) { return b - a > 10; }),
              tiled.end())
        << "every category shows in a window";
    for (int type : {31, 32, 33}) { // scroll column, line, area
        auto chart = testing::drawChart(type, xml + "</dataset></chart>");
        ChartPlayer& player = *chart;
        const std::string page = player.html({false, "s"});
        const nlohmann::json data = pageData(page);
        ASSERT_EQ(data["scroll"]["starts"].size(), 8u) << type;
        pugi::xml_document svg;
        ASSERT_TRUE(svg.load_string(between(page, "<svg", "</svg>").c_str())) << type;
        std::set<std::string> ids;
        for (const pugi::xpath_node& n : svg.select_nodes("//*[@id]")) {
            EXPECT_TRUE(ids.insert(n.node().attribute("id").value()).second);
            EXPECT_TRUE(std::string(n.node().attribute("id").value()).starts_with("s-"));
        }
        for (const pugi::xpath_node& n :
             svg.select_nodes("//*[@data-plotara-window][not(@display)]"))
            EXPECT_STREQ(n.node().attribute("data-plotara-window").value(), "0");
        player::Rect right;
        for (const auto& h : player.scene().hits)
            if (h.kind == player::HitKind::ScrollRight) right = h.rect;
        for (std::size_t start = 0; start < 8; ++start) {
            std::vector<String> want, got;
            for (const HitInfo& h : player.hitRegions())
                if (h.pointIndex >= 0 && h.kind != player::HitKind::Legend)
                    want.push_back(h.toolText);
            for (const nlohmann::json& r : data["regions"])
                if (r.value("w", -1) == static_cast<int>(start))
                    got.push_back(fromUtf8(r["t"].get<std::string>()));
            EXPECT_EQ(got, want) << type << " at " << start;
            const std::string group = "//*[@data-plotara-window='" + std::to_string(start) + "']";
            EXPECT_GE(svg.select_nodes(group.c_str()).size(), 2u) << "picture and hit elements";
            player.clickAt(right.x + right.w / 2, right.y + right.h / 2);
        }
    }
}

// The windows of a dense line's page leave a line to the script only where the script draws
// exactly what the player does: the series' points (from the page's runs) through the window's
// map land where the player zoomed to the window has them, for every point of every window.
TEST(PlayerWeb, DenseLineWindowsLeaveOnlyExactLinesToTheScript) {
    struct Case {
        const char* name;
        int points;
        const char* dataset;             // the dataset's attributes
        std::string (*set)(int i);       // a set's own attributes
        bool (*drawn)(int from, int to); // by the window's points from - 1 .. to + 1
    };
    const auto always = [](int, int) { return true; };
    const auto plain = [](int i) { return "value='" + std::to_string(100 + i * 37 % 500) + "'"; };
    const Case cases[] = {
        {"dense", 1200, "", plain, always},
        {"dense, gaps", 1200, "",
         [](int i) {
             return i % 97 == 5 ? std::string()
                                : std::string("value='") + std::to_string(i % 41) + "'";
         },
         always},
        {"dashed", 1200, "dashed='1'", plain, always},
        {"colours of its points", 1200, "",
         [](int i) {
             return "value='" + std::to_string(i % 41) + (i % 50 == 0 ? "' color='FF0000'" : "'");
         },
         // Only a window of one colour: none of its points has its own.
         [](int from, int to) { return to / 50 == (from + 49) / 50 - 1; }},
        {"not dense", 600, "", plain, [](int, int) { return false; }},
    };
    for (const Case& c : cases) {
        std::string xml = "<chart animation='0'><categories>";
        for (int i = 0; i < c.points; ++i)
            xml += "<category label='C" + std::to_string(i) + "'/>";
        xml += std::string("</categories><dataset seriesName='S' ") + c.dataset + ">";
        for (int i = 0; i < c.points; ++i)
            xml += "<set " + c.set(i) + "/>";
        auto player = testing::drawChart(12, xml + "</dataset></chart>");
        const std::string page = player->html();
        const nlohmann::json windows = zoomWindows(page);
        std::map<int, std::pair<double, double>> points; // the page's centres by point
        const nlohmann::json data = pageData(page);
        for (const nlohmann::json& r : data["regions"])
            for (int j = 0; j < r.value("n", 0); ++j)
                points[r["p"].get<int>() + j] = {r["xy"][2 * j], r["xy"][2 * j + 1]};
        // Down to a 128th of the categories: 9 or 10 a window.
        ASSERT_EQ(windows.size(), 502u) << c.name;
        for (std::size_t k = 1; k < windows.size(); ++k) {
            const nlohmann::json& w = windows[k];
            const int from = std::max(w["r"][0].get<int>() - 1, 0);
            const int to = std::min(w["r"][1].get<int>() + 1, c.points - 1);
            const bool drawn = c.drawn(from, to);
            EXPECT_EQ(w["parts"].dump().find("data-plotara-line") != std::string::npos, drawn)
                << c.name << " window " << k;
            if (!drawn) continue;
            ASSERT_TRUE(player->setVisibleRange({w["r"][0], w["r"][1], 0, 0}));
            const std::vector<double> m = w["m"];
            const double tolerance = 0.01 + 1e-4 * std::max(m[0], std::abs(m[2]));
            std::size_t seen = 0;
            for (const player::HitRegion& h : player->scene().hits) {
                if (h.kind != player::HitKind::Anchor) continue;
                const auto [x, y] = points.at(h.pointIndex);
                EXPECT_NEAR(m[0] * x + m[1], h.center.x, tolerance) << c.name << " " << k;
                EXPECT_NEAR(m[2] * y + m[3], h.center.y, tolerance) << c.name << " " << k;
                ++seen;
            }
            // Every point the window shows, down to the windows of 9 or 10 categories.
            const auto inWindow = std::ranges::count_if(points, [&](const auto& point) {
                return point.first >= w["r"][0].get<double>() &&
                       point.first <= w["r"][1].get<double>();
            });
            EXPECT_EQ(static_cast<std::ptrdiff_t>(seen), inWindow) << c.name << " window " << k;
        }
    }
}

// A zoomed chart's page is the whole chart's page showing the zoomed window first: its picture
// inline, its map and range in the page data, the whole chart's parts among the windows, and
// every point of the chart in the data.
TEST(PlayerWeb, ZoomedChartsPageShowsItsWindowFirst) {
    std::string xml = "<chart animation='0'>";
    for (int i = 0; i < 1200; ++i)
        xml += "<set label='C" + std::to_string(i) + "' value='" +
               std::to_string(100 + i * 37 % 500) + "'/>";
    auto player = testing::drawChart(12, xml + "</chart>");
    const std::string whole = player->html();
    ASSERT_TRUE(player->setVisibleRange({100, 160, 0, 0}));
    const std::string page = player->html();
    EXPECT_NE(page.find("data-plotara-zooms=\"x\" data-plotara-range=\"100,160,0,0\""),
              std::string::npos);
    const nlohmann::json windows = zoomWindows(page), data = pageData(page);
    ASSERT_EQ(windows.size(), 503u) << "the whole chart, the ladder and the window shown";
    EXPECT_EQ(data["zoomed"]["k"], 502);
    EXPECT_EQ(data["zoomed"]["m"], windows[502]["m"]);
    EXPECT_EQ(windows[502]["r"], nlohmann::json::parse("[100, 160, 0, 0]"));
    EXPECT_FALSE(windows[502].contains("parts")) << "the picture's own";
    EXPECT_TRUE(windows[0].contains("parts"));
    EXPECT_EQ(data["drawIn"], 0);
    // The data and the ladder are the whole chart's; the picture is the window's, its line the
    // player's own.
    EXPECT_EQ(data["regions"], pageData(whole)["regions"]);
    EXPECT_EQ(data["plot"], pageData(whole)["plot"]);
    const std::string svg = between(page, "<svg", "</svg>");
    EXPECT_NE(svg.find(">C130</text>"), std::string::npos);
    EXPECT_EQ(svg.find("data-plotara-line"), std::string::npos);
    // The map takes the page's points into the window: 130 inside its plot, 50 left of it.
    const auto run = std::find_if(data["regions"].begin(), data["regions"].end(),
                                  [](const nlohmann::json& r) { return r.contains("n"); });
    ASSERT_NE(run, data["regions"].end());
    const std::vector<double> m = windows[502]["m"], plot = windows[502]["plot"];
    const auto x = [&](int point) {
        return m[0] * (*run)["xy"][2 * (point - (*run)["p"].get<int>())].get<double>() + m[1];
    };
    EXPECT_GT(x(130), plot[0]);
    EXPECT_LT(x(130), plot[0] + plot[2]);
    EXPECT_LT(x(50), plot[0]);

    // A window without points cannot be placed on the whole chart: the page of the window
    // alone, which does not zoom.
    auto corners = testing::drawChart(29, "<chart animation='0'><dataset seriesName='A'>"
                                          "<set x='0' y='0'/><set x='100' y='100'/>"
                                          "<set x='0' y='100'/></dataset></chart>");
    ASSERT_TRUE(corners->setVisibleRange({40, 60, 40, 60}));
    const std::string alone = corners->html();
    EXPECT_EQ(alone.find("data-plotara-zooms=\""), std::string::npos);
    EXPECT_FALSE(pageData(alone).contains("zoomed"));
    HtmlOptions still;
    still.zoom = false;
    EXPECT_EQ(alone, corners->html(still)) << "the page written without zoom windows";
}

// The draw-in's data: each series rests on its own value axis' zero line (bars on a vertical
// one), or on the axis' end when zero is off it; XY charts grow in place and need none.
TEST(PlayerWeb, DrawInDataRestsEachSeriesOnItsAxisZero) {
    using player::HitKind;
    const std::string mixed = "<set label='A' value='30'/><set label='B' value='-20'/>"
                              "<set label='C' value='40'/>";
    const std::string dual =
        "<chart><categories><category label='A'/><category label='B'/></categories>"
        "<dataset seriesName='C'><set value='30'/><set value='-10'/></dataset>"
        "<dataset seriesName='L' parentYAxis='S'><set value='25'/><set value='45'/></dataset>"
        "</chart>";
    struct Case {
        int type;
        std::string xml;
        HitKind kind; // of the first series' points, whose zero edge the rest must meet
        bool bars;
    };
    for (const Case& c : {Case{2, "<chart>" + mixed + "</chart>", HitKind::Column, false},
                          Case{9, "<chart>" + mixed + "</chart>", HitKind::Bar, true},
                          Case{23, dual, HitKind::Column, false}}) {
        SCOPED_TRACE(c.type);
        auto player = testing::drawChart(c.type, c.xml);
        const nlohmann::json data = pageData(player->html());
        ASSERT_EQ(data["drawIn"], 1);
        EXPECT_EQ(data["xy"], false);
        EXPECT_EQ(data["slots"], c.type == 23 ? 2 : 3);
        const player::Rect up = boxOf(*player, c.kind, 0, 0), down = boxOf(*player, c.kind, 0, 1);
        ASSERT_GT(up.w * down.w, 0);
        const double zero = c.bars ? up.x : up.bottom();
        EXPECT_NEAR(c.bars ? down.right() : down.y, zero, 0.01) << "the negative point hangs";
        EXPECT_NEAR(data["rest"][0].get<double>(), zero, 0.006);
        if (c.type == 23) { // the line's own axis holds no negative value: it rises from the base
            const nlohmann::json& plot = data["plot"];
            EXPECT_NEAR(data["rest"][1].get<double>(),
                        plot[1].get<double>() + plot[3].get<double>(), 0.006);
        }
    }
    const nlohmann::json xy = pageData(testing::drawChart(29, testing::sampleFor(29))->html());
    EXPECT_EQ(xy["xy"], true);
    EXPECT_FALSE(xy.contains("rest"));
}

TEST(PlayerWeb, PieDataHoldsEachSlicesAnglesAndCentre) {
    // The page opens a flat pie like a fan: each slice turns about the pie's centre and is cut
    // about its own, which a slice pulled out of the pie has apart.
    const nlohmann::json pie = pageData(
        testing::drawChart(4, "<chart><set label='A' value='30'/><set label='B' value='20'/>"
                              "<set label='C' value='50' isSliced='1'/></chart>")
            ->html())["pie"];
    ASSERT_EQ(pie["a"].size(), 3u);
    ASSERT_EQ(pie["o"].size(), 3u);
    for (std::size_t k = 1; k < 3; ++k)
        EXPECT_DOUBLE_EQ(pie["a"][k][0].get<double>(), pie["a"][k - 1][1].get<double>());
    EXPECT_EQ(pie["o"][0], pie["c"]);
    EXPECT_EQ(pie["o"][1], pie["c"]);
    const double dx = pie["o"][2][0].get<double>() - pie["c"][0].get<double>();
    const double dy = pie["o"][2][1].get<double>() - pie["c"][1].get<double>();
    const double middle = (pie["a"][2][0].get<double>() + pie["a"][2][1].get<double>()) / 2;
    EXPECT_GT(std::hypot(dx, dy), 2) << "C is pulled out";
    EXPECT_NEAR(std::atan2(dy, dx), std::remainder(middle, 2 * std::numbers::pi), 0.01)
        << "along its middle";
}

TEST(PlayerWeb, StackedPagesSayWhichStackEachSeriesLiesIn) {
    // The legend restacks a stacked chart also when it does not move: the page data then
    // holds each series' stack and base line though there is no draw-in.
    const std::string two = "<categories><category label='A'/><category label='B'/></categories>"
                            "<dataset seriesName='S'><set value='30'/><set value='-10'/></dataset>"
                            "<dataset seriesName='T'><set value='20'/><set value='25'/></dataset>";
    const nlohmann::json still =
        pageData(testing::drawChart(17, "<chart animation='0'>" + two + "</chart>")->html());
    EXPECT_EQ(still["drawIn"], 0);
    EXPECT_EQ(still["stacks"], nlohmann::json::parse("[0, 0]"));
    ASSERT_EQ(still["rest"].size(), 2u);
    EXPECT_EQ(still["rest"][0], still["rest"][1]);
    const nlohmann::json flat =
        pageData(testing::drawChart(10, "<chart animation='0'>" + two + "</chart>")->html());
    EXPECT_FALSE(flat.contains("stacks"));
    EXPECT_FALSE(flat.contains("rest"));
    // Two stacks a category, and a line that stacks with none.
    const nlohmann::json combined =
        pageData(testing::drawChart(27, testing::sampleFor(27))->html());
    EXPECT_EQ(combined["stacks"], nlohmann::json::parse("[0, 0, 1, 1, -1]"));
}

TEST(PlayerWeb, TwelveColumnPageIsSmall) {
    std::string xml = "<chart caption='Monthly revenue' numberPrefix='$'>";
    for (int m = 1; m <= 12; ++m)
        xml += "<set label='Month " + std::to_string(m) + "' value='" + std::to_string(m * 1000) +
               "' link='host:Month:" + std::to_string(m) + "'/>";
    auto player = testing::drawChart(2, xml + "</chart>");
    EXPECT_LE(player->html().size(), 40u * 1024);
    EXPECT_EQ(player->html().find("data-plotara-zooms=\""), std::string::npos)
        << "columns: no zoom";
    // A line's zoom windows hold only what differs from the whole chart: the caption once.
    const std::string line = testing::drawChart(7, xml + "</chart>")->html();
    EXPECT_NE(line.find("data-plotara-zooms=\"x\""), std::string::npos);
    HtmlOptions still;
    still.zoom = false;
    EXPECT_EQ(testing::drawChart(7, xml + "</chart>")->html(still).find("-zoom\""),
              std::string::npos);
    std::size_t captions = 0;
    for (const char* text : {"revenue</text>", "revenue\\u003c/text"})
        for (std::size_t at = line.find(text); at != std::string::npos;
             at = line.find(text, at + 1))
            ++captions;
    EXPECT_EQ(captions, 1u);
}

// The page data's numbers are the shortest texts that read back as the same doubles, its texts
// read back as written, and nothing in it can end the script element it stands in.
TEST(PlayerWeb, PageJsonReadsBackExactly) {
    const std::vector<std::pair<double, std::string>> numbers = {
        {0, "0"},
        {-0.0, "0"},
        {12.3, "12.3"},
        {-0.5, "-0.5"},
        {99999.9, "99999.9"},
        {100000, "1e+05"},
        {0.1 + 0.2, "0.30000000000000004"},
        {12.34, "12.34"},
        {-7, "-7"},
        {1e21, "1e+21"},
    };
    const std::vector<std::string> texts = {
        "plain",          "",
        "Q1 \"sales\"\n", "</script><b>",
        "a & b",          "line\xE2\x80\xA8sep",
        "\x01\t",         "caf\xC3\xA9 \xE4\xB8\xAD \xE2\x82\xAC"};
    player::JsonWriter json;
    json.setScriptSafe(true);
    json.object([&] {
        json.key("n").list(numbers, player::JsonWriter::Line::Same,
                           [&](const auto& n) { json.number(n.first); });
        json.key("t").list(texts, player::JsonWriter::Line::Same,
                           [&](const std::string& t) { json.string(t); });
    });
    const std::string text = json.text();
    std::string written;
    for (const auto& n : numbers)
        written += (written.empty() ? "" : ",") + n.second;
    EXPECT_NE(text.find("\"n\":[" + written + "]"), std::string::npos) << text;
    for (const char* unsafe : {"<", ">", "&", "\xE2\x80\xA8"})
        EXPECT_EQ(text.find(unsafe), std::string::npos) << unsafe;
    const nlohmann::json read = nlohmann::json::parse(text);
    ASSERT_EQ(read["n"].size(), numbers.size());
    for (std::size_t i = 0; i < numbers.size(); ++i)
        EXPECT_EQ(read["n"][i].get<double>(), numbers[i].first);
    EXPECT_EQ(read["t"].get<std::vector<std::string>>(), texts);

    // The whole-list forms a dense run uses write the same text, long lists and texts included.
    std::vector<double> values;
    std::vector<std::string> many;
    for (int i = 0; i < 300; ++i) {
        values.push_back(numbers[i % numbers.size()].first);
        many.push_back(texts[i % texts.size()] + std::string(i % 7 == 0 ? 300 : 0, 'x'));
    }
    player::JsonWriter one, whole;
    for (player::JsonWriter* w : {&one, &whole})
        w->setScriptSafe(true);
    one.object([&] {
        one.key("n").list(values, player::JsonWriter::Line::Same, [&](double v) { one.number(v); });
        one.key("t").list(many, player::JsonWriter::Line::Same,
                          [&](const std::string& t) { one.string(t); });
    });
    const std::vector<std::string_view> views(many.begin(), many.end());
    whole.object([&] {
        whole.key("n").numberList(values);
        whole.key("t").stringList(views);
    });
    EXPECT_EQ(whole.text(), one.text());
}

} // namespace
} // namespace plotara
