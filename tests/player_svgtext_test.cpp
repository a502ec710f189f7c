// The SVG the player writes itself, texts as <text> elements: a well-formed document that holds
// every text of the layout where the layout put it, label text that stays text whatever it holds,
// and a picture that rasterises like the glyph-outline SVG cairo writes of the same scene.
#include "player/ChartPlayer.h"
#include "player/draw/Output.h"
#include "player/draw/SvgCanvas.h"
#include "player/draw/SvgMarkup.h"
#include "player/draw/SvgText.h"
#include "player_model_support.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <numbers>
#include <random>
#include <unistd.h>

namespace plotara {
namespace {

using player::SvgTextMode;

pugi::xml_document parse(const std::string& svg) {
    pugi::xml_document doc;
    const pugi::xml_parse_result result = doc.load_buffer(svg.data(), svg.size());
    EXPECT_TRUE(result) << result.description() << " at byte " << result.offset;
    return doc;
}

std::vector<pugi::xml_node> textsOf(const pugi::xml_document& doc) {
    std::vector<pugi::xml_node> out;
    for (const pugi::xpath_node& n : doc.select_nodes("//*[local-name()='text']"))
        out.push_back(n.node());
    return out;
}

TEST(SvgText, PathsModeDrawsOutlinesAndNoTextElements) {
    auto player = testing::drawChart(2, testing::singleSeriesSample);
    const std::string paths = player->svg(SvgTextMode::Paths);
    const pugi::xml_document doc = parse(paths);
    EXPECT_TRUE(textsOf(doc).empty());
    EXPECT_NE(paths.find("glyph"), std::string::npos) << "cairo's glyph outlines";
    EXPECT_EQ(paths.find("Product-wise"), std::string::npos);
    const std::string text = player->svg();
    EXPECT_NE(text.find(">Product-wise sales</text>"), std::string::npos);
    EXPECT_LT(text.size() * 5, paths.size()) << "texts as text are much smaller than outlines";
}

// A scene of one text per hostile label; the parsed document must give back the label's
// characters (what XML cannot carry as U+FFFD) and nothing else.
TEST(SvgText, HostileLabelsComeOutAsText) {
    const std::string fffd = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"a<b>&c", "a<b>&c"},
        {"\"double\" 'single'", "\"double\" 'single'"},
        {"]]> <![CDATA[x]]>", "]]> <![CDATA[x]]>"},
        {"</text><script>alert(1)</script>", "</text><script>alert(1)</script>"},
        {"&amp; &#60; &lt;", "&amp; &#60; &lt;"},
        {"x\x01y\x1Fz\x7F", "x" + fffd + "y" + fffd + "z\x7F"},
        {"tab\there\nline\rend", "tab\there\nline\rend"},
        {"bad\xFF\xFE utf8 \xC3", "bad" + fffd + fffd + " utf8 " + fffd},
        {"overlong \xC0\xAF surrogate \xED\xA0\x80",
         "overlong " + fffd + fffd + " surrogate " + fffd + fffd + fffd},
        {"non-character \xEF\xBF\xBF kept \xE2\x82\xAC \xF0\x9F\x93\x88",
         "non-character " + fffd + " kept \xE2\x82\xAC \xF0\x9F\x93\x88"},
    };
    player::Scene scene;
    scene.width = 300;
    scene.height = 200;
    for (const auto& [label, expected] : cases) {
        player::TextItem item;
        item.text = label;
        item.y = 10.0 * static_cast<double>(scene.items.size());
        scene.add(item);
    }
    player::TextEngine engine;
    const std::string svg = player::renderSvg(scene, engine);
    const pugi::xml_document doc = parse(svg);
    const std::vector<pugi::xml_node> texts = textsOf(doc);
    ASSERT_EQ(texts.size(), std::size(cases));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i].child_value(), cases[i].second) << "label " << i;
        EXPECT_FALSE(texts[i].first_child().next_sibling()) << "one text node, no markup";
    }
    EXPECT_TRUE(doc.select_nodes("//*[local-name()='script']").empty());
}

TEST(SvgText, HostileLabelThroughTheChartDocument) {
    auto player = testing::drawChart(
        2, "<chart caption='&lt;/text&gt;&lt;svg onload=&quot;x&quot;&gt; ]]&gt; &amp;amp;'>"
           "<set label='A &lt;b&gt;' value='1'/><set label='B' value='2'/></chart>");
    const pugi::xml_document doc = parse(player->svg());
    std::vector<std::string> contents;
    for (const pugi::xml_node& t : textsOf(doc))
        contents.push_back(t.child_value());
    EXPECT_NE(std::find(contents.begin(), contents.end(), "</text><svg onload=\"x\"> ]]> &amp;"),
              contents.end());
    EXPECT_NE(std::find(contents.begin(), contents.end(), "A <b>"), contents.end());
    EXPECT_EQ(doc.select_nodes("//*[local-name()='svg']").size(), 1u);
}

TEST(SvgText, FontFamilyIsThePinnedFontAsAQuotedCssList) {
    const std::pair<std::string, std::string> cases[] = {
        {"DejaVu Sans", "DejaVu Sans, sans-serif"},
        {"", "DejaVu Sans, sans-serif"},
        {"DejaVu Sans Mono", "DejaVu Sans Mono, monospace"},
        {"DejaVu Serif", "DejaVu Serif, serif"},
        {"Font 2000", "'Font 2000', sans-serif"},
        {"O'Neil\\Sans", "'O\\'Neil\\\\Sans', sans-serif"},
        {"a;\nb\"<c>", "'a; b\"<c>', sans-serif"},
    };
    for (const auto& [family, css] : cases)
        EXPECT_EQ(player::svgFontFamily(family), css) << family;
    // A chart font is written as the pinned family the picture draws it with, so that the SVG
    // shows the same font as the PNG.
    player::TextEngine engine;
    for (const auto& [family, css] : {std::pair{"Arial", "DejaVu Sans, sans-serif"},
                                      {"Times New Roman", "DejaVu Serif, serif"},
                                      {"Courier New", "DejaVu Sans Mono, monospace"}}) {
        player::TextItem item;
        item.text = "Label";
        item.font.family = family;
        item.font.size = 10;
        std::string out;
        player::appendSvgText(out, item, engine);
        EXPECT_NE(out.find("font-family=\"" + std::string(css) + "\""), std::string::npos)
            << family << out;
    }
}

// The number the standard library gives with the decimals, trailing zeros and "-0" dropped.
std::string exactDecimal(double v, int decimals) {
    char buf[400];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    EXPECT_EQ(ec, std::errc{});
    std::string s(buf, end);
    if (decimals > 0) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

// Numbers are short and always valid, and otherwise the exact decimal rounding.
TEST(SvgText, NumbersAreShortValidAndTheExactDecimalRounding) {
    const std::tuple<double, int, std::string> cases[] = {
        {-0.001, 2, "0"},
        {1e20, 2, "1e+20"},
        {NAN, 2, "0"},
        {INFINITY, 2, "0"},
        // Halfway in binary goes to the even decimal.
        {0.125, 2, "0.12"},
        {0.375, 2, "0.38"},
        {-2.5, 0, "-2"},
        {-0.0049, 2, "0"},
        {999999999.999, 2, "1000000000"},
        {1e-7, 9, "0.0000001"},
    };
    for (const auto& [value, decimals, text] : cases) {
        std::string out;
        player::appendSvgNumber(out, value, decimals);
        EXPECT_EQ(out, text) << value;
    }
    // Chart coordinates, their hundredths and halves, and values near the halfway points.
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> coordinate(-2000, 2000);
    std::uniform_int_distribution<int> hundredths(-200000, 200000);
    for (int i = 0; i < 200000; ++i) {
        const int decimals = i % 5;
        double v = coordinate(random);
        if (i % 3 == 1) v = hundredths(random) / 100.0 + 0.005; // on or beside a halfway point
        if (i % 3 == 2) v = std::nextafter(hundredths(random) / 200.0, i % 2 ? 1e9 : -1e9);
        std::string out;
        player::appendSvgNumber(out, v, decimals);
        ASSERT_EQ(out, exactDecimal(v, decimals)) << std::hexfloat << v << " with " << decimals;
    }
}

// Placing shortens a text to its width, keeps the whole text beside it, and the SVG writes the
// text as placed; placing again (another width) starts from the whole text.
TEST(SvgText, ShortenedTextsAreWrittenAsPlaced) {
    player::TextEngine engine;
    player::TextItem item;
    const std::string whole = "A long category name that cannot fit";
    item.text = whole;
    item.maxWidth = engine.measure("A long cat", item.font).w + 1;
    engine.place(item);
    EXPECT_EQ(item.fullText, whole);
    const std::string& shown = item.text;
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), "\xE2\x80\xA6");
    const std::string start = shown.substr(0, shown.size() - 3);
    EXPECT_EQ(whole.rfind(start, 0), 0u) << "a start of the text";
    EXPECT_LE(engine.measure(shown, item.font).w, item.maxWidth);
    const std::string longer = whole.substr(0, start.size() + 1) + "\xE2\x80\xA6";
    EXPECT_GT(engine.measure(longer, item.font).w, item.maxWidth) << "the longest that fits";
    EXPECT_DOUBLE_EQ(item.box.w, item.maxWidth) << "a shortened line fills its width";
    std::string svg;
    player::appendSvgText(svg, item, engine);
    EXPECT_NE(svg.find(">" + shown + "</text>"), std::string::npos) << svg;

    item.maxWidth = 1;
    engine.place(item);
    EXPECT_EQ(item.text, "\xE2\x80\xA6");
    item.maxWidth = 1000;
    engine.place(item);
    EXPECT_EQ(item.text, whole);
    EXPECT_EQ(item.fullText, "");
}

// The pictures of both modes, rasterised by rsvg-convert, differ at most in anti-aliasing.
struct Raster {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
};

std::filesystem::path pictureDir() {
    return std::filesystem::temp_directory_path() /
           ("plotara-svgtext-" + std::to_string(::getpid()));
}

Raster rasterise(const std::string& svg, const std::string& name) {
    const std::filesystem::path dir = pictureDir();
    std::filesystem::create_directories(dir);
    const std::filesystem::path in = dir / (name + ".svg"), out = dir / (name + ".png");
    std::ofstream(in, std::ios::binary) << svg;
    const std::string command =
        "rsvg-convert -b white -o '" + out.string() + "' '" + in.string() + "'";
    Raster raster;
    if (std::system(command.c_str()) != 0) {
        ADD_FAILURE() << "rsvg-convert failed (Debian librsvg2-bin): " << command;
        return raster;
    }
    cairo_surface_t* png = cairo_image_surface_create_from_png(out.c_str());
    if (cairo_surface_status(png) == CAIRO_STATUS_SUCCESS) {
        raster.width = cairo_image_surface_get_width(png);
        raster.height = cairo_image_surface_get_height(png);
        const int stride = cairo_image_surface_get_stride(png);
        const unsigned char* data = cairo_image_surface_get_data(png);
        for (int y = 0; y < raster.height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
            raster.pixels.insert(raster.pixels.end(), row, row + raster.width);
        }
    }
    cairo_surface_destroy(png);
    return raster;
}

// Pixels whose channels differ by more than a quarter.
std::size_t differing(const Raster& a, const Raster& b) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i) {
        for (int shift : {0, 8, 16}) {
            const int ca = static_cast<int>((a.pixels[i] >> shift) & 0xFF);
            const int cb = static_cast<int>((b.pixels[i] >> shift) & 0xFF);
            if (std::abs(ca - cb) > 64) {
                ++n;
                break;
            }
        }
    }
    return n;
}

void expectSamePicture(const std::string& text, const std::string& paths, const std::string& name) {
    const Raster a = rasterise(text, name + "-text"), b = rasterise(paths, name + "-paths");
    ASSERT_GT(a.width, 0);
    ASSERT_EQ(a.width, b.width);
    ASSERT_EQ(a.height, b.height);
    const std::size_t n = differing(a, b);
    EXPECT_LE(n, a.pixels.size() / 2000) << name << ": the pictures are kept in " << pictureDir();
    if (n <= a.pixels.size() / 2000) {
        for (const char* mode : {"-text", "-paths"}) {
            std::filesystem::remove(pictureDir() / (name + mode + ".svg"));
            std::filesystem::remove(pictureDir() / (name + mode + ".png"));
        }
    }
}

TEST(SvgTextPicture, ChartsLookTheSameAsTheirOutlines) {
    // Turned axis names and labels, centred and right-aligned texts, wedges, markers, legends.
    std::vector<double> values;
    for (int i = 0; i < 30; ++i)
        values.push_back(1 + i % 7);
    const std::string many = testing::singleSeries(
        "caption='Turned' xAxisName='Categories' yAxisName='Values' rotateNames='1' "
        "slantLabels='1'",
        values, "Category ");
    const std::pair<int, std::string> charts[] = {{2, many},
                                                  {4, testing::sampleFor(4)},
                                                  {6, testing::sampleFor(6)},
                                                  {12, testing::sampleFor(12)},
                                                  {29, testing::sampleFor(29)},
                                                  {19, testing::sampleFor(19)}};
    for (const auto& [type, xml] : charts) {
        auto player = testing::drawChart(type, xml);
        expectSamePicture(player->svg(), player->svg(SvgTextMode::Paths),
                          testing::sampleTypeNames[type]);
    }
}

TEST(SvgTextPicture, ShapesLookTheSameAsCairoDrawsThem) {
    using player::Path;
    constexpr double pi = std::numbers::pi;
    player::Scene scene;
    scene.width = 320;
    scene.height = 240;
    const player::Stroke thick{player::rgb(0x202080), 4, 0, 0};
    Path wrap; // an end angle before the start: cairo goes on by whole turns
    wrap.moveTo(60, 60);
    wrap.arc(60, 60, 40, 25, 0, -pi / 2);
    wrap.close();
    scene.fillStroke(std::move(wrap), player::withAlpha(player::rgb(0xFF8000), 60), thick);
    Path negative; // a doughnut slice: outer arc forwards, inner arc back
    negative.arc(200, 70, 60, 60, -pi / 4, pi / 3);
    negative.arcNegative(200, 70, 30, 30, pi / 3, -pi / 4);
    negative.close();
    scene.fillPath(std::move(negative), player::rgb(0x40A040));
    Path turns; // more than a turn, then a line from where the arc ended
    turns.arc(70, 170, 30, 30, 0, 5 * pi);
    turns.lineTo(140, 220);
    scene.strokePath(std::move(turns), {player::rgb(0xA00000), 3, 6, 3});
    scene.add(player::ClipPush{{150, 140, 120, 70}});
    player::MarkerItem markers;
    markers.sides = 3;
    markers.radius = 5;
    markers.fill = player::rgb(0x0060FF);
    markers.border = {player::rgb(0x000000), 1, 0, 0};
    for (int i = 0; i < 40; ++i)
        markers.points.push_back({140.0 + 4 * i, 130.0 + (i * 17) % 90});
    scene.add(markers);
    scene.add(player::ClipPop{});
    player::TextEngine engine;
    expectSamePicture(player::renderSvg(scene, engine),
                      player::renderSvg(scene, engine, SvgTextMode::Paths), "shapes");
}

// A polyline of n points, shifted down by dy.
player::Path polyline(int n, double dy = 0) {
    player::Path p;
    for (int i = 0; i < n; ++i) {
        if (i == 0)
            p.moveTo(10, 50 + dy);
        else
            p.lineTo(10 + i * 0.5, 50 + dy + (i * 7) % 13);
    }
    return p;
}

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(SvgText, AnOutlineStrokedAgainIsWrittenOnceAndUsed) {
    // Each case: the items after a long outline (a series' border) of 300 points.
    enum Next { SameLine, SameFilled, OtherPoints, Text };
    struct Case {
        const char* name;
        std::vector<Next> next;
        int shortOutline; // > 0: the outlines have this many points instead
        std::size_t defs, uses, paths;
    };
    const Case cases[] = {
        {"border then line", {SameLine}, 0, 1, 2, 0},
        {"shadow, border and line", {SameLine, SameLine}, 0, 1, 3, 0},
        {"an area filled along the same points", {SameFilled}, 0, 0, 0, 2},
        {"another series", {OtherPoints}, 0, 0, 0, 2},
        {"a text in between", {Text, SameLine}, 0, 0, 0, 2},
        {"short outlines stay paths", {SameLine}, 20, 0, 0, 2},
        {"a second pair after the first", {SameLine, OtherPoints, SameLine}, 0, 2, 4, 0},
    };
    player::TextEngine engine;
    const player::Stroke border{{0.5, 0.5, 0.5, 1}, 3.5}, line{{1, 0, 0, 1}, 2};
    for (const Case& c : cases) {
        const int n = c.shortOutline > 0 ? c.shortOutline : 300;
        player::Scene scene;
        scene.width = 400;
        scene.height = 200;
        scene.strokePath(polyline(n), border);
        double dy = 0;
        for (Next next : c.next) {
            if (next == SameLine) scene.strokePath(polyline(n, dy), line);
            if (next == SameFilled) scene.fillStroke(polyline(n, dy), {0, 0, 1, 1}, line);
            if (next == Text) {
                player::TextItem t;
                t.text = "between";
                scene.add(t);
            }
            if (next == OtherPoints) {
                dy += 40;
                scene.strokePath(polyline(n, dy), border);
            }
        }
        const std::string svg = player::writeSvgDocument(scene, engine);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(occurrences(svg, "<defs><path id="), c.defs) << svg;
        EXPECT_EQ(occurrences(svg, "<use xlink:href="), c.uses);
        // Paths other than the background rectangle.
        EXPECT_EQ(occurrences(svg, "<path d=\"M10 50") + occurrences(svg, "<path d=\"M10 90"),
                  c.paths);
        // The strokes keep their order and paint: the wide grey border under the red line.
        const std::size_t grey = svg.find("stroke=\"rgb(128,128,128)\" stroke-width=\"3.5\"");
        ASSERT_NE(grey, std::string::npos);
        if (c.next[0] == SameLine) {
            const std::size_t red = svg.find("stroke=\"rgb(255,0,0)\" stroke-width=\"2\"");
            ASSERT_NE(red, std::string::npos);
            EXPECT_LT(grey, red);
        }
        // A shared outline is defined before its first use, inside the document.
        if (c.defs > 0) {
            EXPECT_LT(svg.find("<defs><path id=\"p"), svg.find("<use xlink:href=\"#p"));
            EXPECT_NE(svg.find("fill=\"none\" stroke="), std::string::npos);
        }
        ASSERT_TRUE(pugi::xml_document().load_string(svg.c_str())) << "well-formed";
    }
}

TEST(SvgText, TheCanvasKeepsItsOwnCopyOfAWaitingOutline) {
    // Items handed to the canvas one at a time and gone after each call (the sanitizer build
    // sees a use of a freed item).
    player::TextEngine engine;
    player::SvgCanvas canvas(400, 200, engine);
    for (double width : {3.5, 2.0}) {
        auto item = std::make_unique<player::ShapeItem>();
        item->path = polyline(300);
        item->stroked = true;
        item->stroke.width = width;
        canvas.shape(*item);
    }
    const std::string svg = canvas.finish();
    EXPECT_EQ(occurrences(svg, "<defs><path id="), 1u);
    EXPECT_EQ(occurrences(svg, "<use xlink:href="), 2u);
    EXPECT_NE(svg.find("d=\"M10 50L10.5 57L11 51"), std::string::npos) << svg.substr(0, 400);
}

// The points of every path of the document but the background, one list per path.
std::vector<std::vector<player::Point>> linePieces(const std::string& svg) {
    std::vector<std::vector<player::Point>> pieces;
    for (std::size_t at = svg.find("d=\"M"); at != std::string::npos;
         at = svg.find("d=\"M", at + 1)) {
        if (svg.compare(at, 6, "d=\"M0 ") == 0) continue;
        std::vector<player::Point>& points = pieces.emplace_back();
        for (const char* p = svg.c_str() + at + 3; *p == 'M' || *p == 'L';) {
            char* end = nullptr;
            const double x = std::strtod(p + 1, &end);
            const double y = std::strtod(end, &end);
            points.push_back({x, y});
            p = end;
        }
    }
    return pieces;
}

// A page strokes a dense line's points thinned to the pixel columns: each kept point is one of
// the line's, in order, and each column keeps its highest and lowest point; an opaque line comes
// in pieces that share a segment (so every join is drawn whole). The SVG file keeps every point,
// and so does the page for short and dashed lines.
TEST(SvgText, APageThinsDenseLinesToThePixelColumns) {
    struct Case {
        const char* name;
        int points;
        double alpha, dash;
        bool edge; // stroked twice (an edge under the line), through a shared outline
        bool thinned, pieces;
    };
    const Case cases[] = {
        {"opaque line with its edge", 4000, 1, 0, true, true, true},
        {"opaque line alone", 4000, 1, 0, false, true, true},
        {"translucent line: one path", 4000, 0.5, 0, false, true, false},
        {"dashed line: every point", 4000, 1, 4, false, false, false},
        {"short line: every point", 200, 1, 0, true, false, false},
    };
    player::TextEngine engine;
    const auto same = [](player::Point a, player::Point b) { return a.x == b.x && a.y == b.y; };
    const auto widen = [](auto& spans, player::Point p) {
        const auto [it, added] = spans.try_emplace(static_cast<int>(std::floor(p.x)), p.y, p.y);
        it->second = {std::min(it->second.first, p.y), std::max(it->second.second, p.y)};
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<player::Point> line;
        player::Path path;
        std::map<int, std::pair<double, double>> spans, keptSpans;
        for (int i = 0; i < c.points; ++i) {
            // 20 points a pixel column, swinging up and down.
            line.push_back(
                {20 + i * 0.05, std::round((100 + 30 * std::sin(i * 1.3) + i * 0.01) * 100) / 100});
            i ? path.lineTo(line[i].x, line[i].y) : path.moveTo(line[i].x, line[i].y);
            widen(spans, line[i]);
        }
        player::Scene scene;
        scene.width = 400;
        scene.height = 200;
        if (c.edge) scene.strokePath(path, {{0.5, 0.5, 0.5, 1}, 3.5});
        scene.strokePath(path, {{1, 0, 0, c.alpha}, 2, c.dash});
        const auto file = linePieces(player::writeSvgDocument(scene, engine));
        ASSERT_EQ(file.size(), 1u) << "one path, used by every stroke";
        EXPECT_EQ(file[0].size(), line.size()) << "the file keeps every point";
        const std::string page = player::writeGroupedSvgDocument(scene, engine, "");
        ASSERT_TRUE(pugi::xml_document().load_string(page.c_str())) << "well-formed";
        const auto pieces = linePieces(page);
        ASSERT_FALSE(pieces.empty());
        EXPECT_EQ(pieces.size() > 1, c.pieces);
        std::vector<player::Point> kept = pieces[0];
        for (std::size_t k = 1; k < pieces.size(); ++k) {
            // A piece starts with the last segment of the piece before it.
            ASSERT_GE(pieces[k].size(), 2u);
            EXPECT_TRUE(std::equal(pieces[k].begin(), pieces[k].begin() + 2,
                                   pieces[k - 1].end() - 2, same));
            kept.insert(kept.end(), pieces[k].begin() + 2, pieces[k].end());
        }
        EXPECT_EQ(kept.size() < line.size(), c.thinned);
        EXPECT_LE(kept.size(), c.thinned ? 4u * 201 : line.size());
        std::size_t from = 0;
        for (const player::Point& p : kept) {
            while (from < line.size() &&
                   (std::fabs(line[from].x - p.x) > 0.006 || line[from].y != p.y))
                ++from;
            ASSERT_LT(from, line.size()) << "a point of the line, in order: " << p.x << "," << p.y;
            widen(keptSpans, line[from]);
        }
        EXPECT_EQ(keptSpans, spans);
    }
}

} // namespace
} // namespace plotara
