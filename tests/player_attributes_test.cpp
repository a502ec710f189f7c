// Every family of chart attributes changes the picture: for each, one attribute is set on a
// sample (or a set's colour or a style given in the document) and the scene or its layout must
// show it. An attribute that silently does nothing (as paletteColors did when its list was read
// from a string already gone) fails here.
#include "player/layout/ChartLayout.h"
#include "player_model_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

namespace plotara {
namespace {

using namespace player;

bool hasFill(const Scene& s, std::uint32_t color, double alpha = 100) {
    bool found = false;
    s.forEachShape([&](const ShapeItem& shape) {
        if (shape.filled && shape.fill == withAlpha(rgb(color), alpha)) found = true;
    });
    return found;
}

const TextItem* firstText(const Scene& s, TextKind kind) {
    for (const TextItem* t : s.texts()) {
        if (t->tag.kind == kind) return t;
    }
    return nullptr;
}

std::size_t countTexts(const Scene& s, TextKind kind) {
    std::size_t n = 0;
    for (const TextItem* t : s.texts())
        n += t->tag.kind == kind;
    return n;
}

// The document with extra attributes on its chart element.
std::string withAttributes(std::string xml, const std::string& attrs) {
    return xml.insert(xml.find("<chart") + 6, " " + attrs + " ");
}

TEST(ChartAttributes, EveryFamilyChangesThePicture) {
    using Check = std::function<bool(const Scene& base, const Scene& changed)>;
    const std::string plain =
        testing::singleSeries("caption='Sales'", {235000, 125100, 464200, 434500});
    struct Case {
        const char* family;
        int type;
        std::string xml;
        std::string attrs;
        Check check;
    } cases[] = {
        {"series colours", 11, testing::multiSeriesSample(false), "paletteColors='FF0000,00AA00'",
         [](const Scene&, const Scene& s) {
             return hasFill(s, 0xFF0000) && hasFill(s, 0x00AA00) && s.layout.legend.size() == 2 &&
                    s.layout.legend[0].color == rgb(0xFF0000) &&
                    s.layout.legend[1].color == rgb(0x00AA00);
         }},
        {"single-series colours", 4, testing::singleSeriesSample, "paletteColors='123456'",
         [](const Scene&, const Scene& s) { return hasFill(s, 0x123456); }},
        {"short colours", 4, testing::singleSeriesSample, "paletteColors='F00,#0a0'",
         [](const Scene&, const Scene& s) { return hasFill(s, 0xFF0000) && hasFill(s, 0x00AA00); }},
        {"palette", 11, testing::multiSeriesSample(false), "palette='3'",
         [](const Scene& b, const Scene& s) {
             return !(b.layout.legend[0].color == s.layout.legend[0].color);
         }},
        {"set colours", 2,
         "<chart><set label='a' value='1' color='FF0000'/><set label='b' value='2' "
         "color='00FF00' alpha='50'/></chart>",
         "",
         [](const Scene&, const Scene& s) {
             return hasFill(s, 0xFF0000) && hasFill(s, 0x00FF00, 50) && !hasFill(s, 0x00FF00);
         }},
        {"background", 2, testing::singleSeriesSample, "bgColor='112233'",
         [](const Scene&, const Scene& s) { return s.background == rgb(0x112233); }},
        {"canvas", 2, testing::singleSeriesSample, "canvasBgColor='445566'",
         [](const Scene&, const Scene& s) { return hasFill(s, 0x445566); }},
        {"font size", 2, testing::singleSeriesSample, "baseFontSize='16'",
         [](const Scene& b, const Scene& s) {
             return firstText(s, TextKind::Caption)->box.h >
                    firstText(b, TextKind::Caption)->box.h + 3;
         }},
        {"font colour", 2, testing::singleSeriesSample, "baseFontColor='AA0000'",
         [](const Scene&, const Scene& s) {
             return firstText(s, TextKind::Tick)->font.color == rgb(0xAA0000);
         }},
        {"number prefix", 2, plain,
         "numberPrefix='£' numberSuffix=' kg' decimals='2' forceDecimals='1'",
         [](const Scene&, const Scene& s) {
             return firstText(s, TextKind::Tick)->text.starts_with("£") &&
                    firstText(s, TextKind::ValueLabel)->text == "£235,000.00 kg";
         }},
        {"number scale", 2, testing::singleSeriesSample, "formatNumberScale='1'",
         [](const Scene&, const Scene& s) {
             return firstText(s, TextKind::ValueLabel)->text.ends_with("K");
         }},
        {"div lines", 2, testing::singleSeriesSample, "numDivLines='9'",
         [](const Scene&, const Scene& s) { return s.layout.axis("y")->ticks.size() == 11; }},
        {"value visibility", 2, testing::singleSeriesSample, "showValues='0'",
         [](const Scene& b, const Scene& s) {
             return countTexts(b, TextKind::ValueLabel) == 4 &&
                    countTexts(s, TextKind::ValueLabel) == 0;
         }},
        {"legend visibility", 11, testing::multiSeriesSample(false), "showLegend='0'",
         [](const Scene&, const Scene& s) { return s.layout.legend.empty(); }},
        {"margins", 2, testing::singleSeriesSample, "chartLeftMargin='90'",
         [](const Scene& b, const Scene& s) { return s.layout.plot->x > b.layout.plot->x + 60; }},
        {"anchors", 7, testing::singleSeriesSample, "anchorRadius='8'",
         [](const Scene&, const Scene& s) {
             for (const SceneItem& item : s.items) {
                 if (const auto* m = std::get_if<MarkerItem>(&item)) return m->radius == 8;
             }
             return false;
         }},
        {"styles", 2,
         "<chart caption='Cap'><set value='1'/><styles><definition><style name='F' type='font' "
         "font='DejaVu Serif' size='20' color='FF0000' bold='0'/></definition><application>"
         "<apply toObject='CAPTION' styles='F'/></application></styles></chart>",
         "",
         [](const Scene&, const Scene& s) {
             const Font& f = firstText(s, TextKind::Caption)->font;
             return f.family == "DejaVu Serif" && f.size == 20 && !f.bold &&
                    f.color == rgb(0xFF0000);
         }},
        {"titles", 2, plain, "subCaption='Another line'",
         [](const Scene&, const Scene& s) {
             return firstText(s, TextKind::SubCaption)->text == "Another line";
         }},
    };
    for (const Case& c : cases) {
        auto base = testing::drawChart(c.type, c.xml);
        auto changed = testing::drawChart(c.type, withAttributes(c.xml, c.attrs));
        EXPECT_TRUE(c.check(base->scene(), changed->scene())) << c.family << ": " << c.attrs;
    }
}

// The sweep: every chart attribute the documentation lists, set alone (with telling values,
// flags both ways) on a dozen small charts at 640 x 400. Each run must draw a chart whose texts
// lie inside the picture, none over another, each drawn text listed by the layout and nothing
// listed that is not drawn; and each attribute must change the SVG of some chart, unless it is
// one of those the documentation says cannot change these charts.

// The chart attributes named in the documentation's table (names in its first column, and
// mixed-case names in its second: sNumberPrefix, PYAxisName, logBase, ...).
std::set<std::string> documentedAttributes() {
    std::ifstream in(std::string(PLOTARA_EXAMPLES) + "/../docs/chart-xml.md");
    EXPECT_TRUE(in) << "docs/chart-xml.md";
    std::set<std::string> names;
    std::string line;
    bool inTable = false;
    const std::regex quoted("`([^`]*)`");
    while (std::getline(in, line)) {
        if (line.starts_with("## ")) inTable = line == "## Chart attributes";
        if (!inTable || !line.starts_with("| ")) continue;
        const std::size_t split = line.find(" | ", 2);
        for (std::sregex_iterator m(line.begin(), line.end(), quoted), end; m != end; ++m) {
            std::string name = (*m)[1].str();
            name = name.substr(0, name.find('='));
            const bool firstColumn = static_cast<std::size_t>(m->position()) < split;
            const bool word = !name.empty() && std::all_of(name.begin(), name.end(), [&](char c) {
                return std::isalpha(static_cast<unsigned char>(c)) ||
                       (firstColumn && std::isdigit(static_cast<unsigned char>(c)));
            });
            const bool mixed = std::any_of(name.begin(), name.end(), ::isupper) &&
                               std::any_of(name.begin(), name.end(), ::islower);
            if (word && (firstColumn || mixed)) names.insert(name);
        }
    }
    return names;
}

struct SweepBase {
    const char* name;
    int type;
    std::string xml;
};

// Six months with a value written with a thousands comma and one written "1.250", so that the
// separators of the document's numbers tell.
std::string sweepSets(bool sliced) {
    return "<set label='Jan' value='1250.5'/><set label='Feb' value='2,125'/><set label='Mar' "
           "value='3250.25'/><set label='Apr' value='1.250'/><set label='May' value='4500.5'/>"
           "<set label='Jun' value='3100'" +
           std::string(sliced ? " isSliced='1'" : "") + "/>";
}

std::string sweepSeries(int months, bool dual) {
    static const char* names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::string xml = "<chart><categories>", north, south;
    for (int i = 0; i < months; ++i) {
        xml += "<category label='" + std::string(names[i]) + "'/>";
        north += i == 1   ? "<set value='2,125'/>"
                 : i == 3 ? "<set value='1.250'/>"
                          : "<set value='" + std::to_string(1200 + 530 * ((i * 7) % 6)) + ".5'/>";
        south += "<set value='" + std::to_string(dual ? 12 + (i * 5) % 40 : 900 + 210 * i) + "'/>";
    }
    return xml + "</categories><dataset seriesName='North'>" + north +
           "</dataset><dataset seriesName='South'" +
           (dual ? " parentYAxis='S' renderAs='Line'" : "") + ">" + south + "</dataset></chart>";
}

// Points from 2,100 up (so the y axis fits them rather than starting at zero); the scatter
// chart labels its x axis with categories, the bubble chart with numbers.
std::string sweepPoints(bool bubbles) {
    std::string xml = "<chart>";
    if (!bubbles) {
        xml += "<categories>";
        for (int x = 10; x <= 50; x += 10)
            xml += "<category label='" + std::to_string(x) + "' x='" + std::to_string(x) + "'/>";
        xml += "</categories>";
    }
    for (int s = 0; s < 2; ++s) {
        xml += "<dataset seriesName='" + std::string(s ? "East" : "West") + "'>";
        for (int i = 0; i < 5; ++i)
            xml += "<set x='" + std::to_string(12 + 9 * i + 3 * s) + "' y='" +
                   std::to_string(2100 + 500 * ((i + 2 * s) % 5)) + ".5'" +
                   (bubbles ? " z='" + std::to_string(10 + 7 * i) + "' name='P" +
                                  std::to_string(i) + "'"
                            : "") +
                   "/>";
        xml += "</dataset>";
    }
    return xml + "</chart>";
}

const std::vector<SweepBase>& sweepBases() {
    static const std::vector<SweepBase> bases = {
        {"column", 2, "<chart>" + sweepSets(false) + "</chart>"},
        {"bar", 9, "<chart>" + sweepSets(false) + "</chart>"},
        {"3D column", 1, "<chart>" + sweepSets(false) + "</chart>"},
        {"stacked", 17, sweepSeries(6, false)},
        {"dual-axis combination", 23, sweepSeries(6, true)},
        {"line", 7, "<chart>" + sweepSets(false) + "</chart>"},
        {"scroll line", 32, sweepSeries(12, false)},
        {"scatter", 29, sweepPoints(false)},
        {"bubble", 30, sweepPoints(true)},
        {"pie", 4, "<chart>" + sweepSets(true) + "</chart>"},
        {"3D pie", 3, "<chart>" + sweepSets(true) + "</chart>"},
        {"doughnut", 6, "<chart>" + sweepSets(true) + "</chart>"},
    };
    return bases;
}

// Whether two texts' turned boxes overlap by more than half a pixel: their rectangles (the
// unturned size, recovered from the box and the angle) are tested on the four edge directions.
bool textsOverlap(const TextItem& a, const TextItem& b) {
    struct Box {
        double cx, cy, w, h, c, s;
    };
    auto box = [](const TextItem& t) {
        const double rad = t.angle * 3.14159265358979 / 180;
        const double c = std::fabs(std::cos(rad)), s = std::fabs(std::sin(rad));
        double w = t.box.w, h = t.box.h;
        if (s > 0.99)
            std::swap(w, h);
        else if (s > 0.01) { // 45 degrees: the line is a font size high at least
            h = t.font.size;
            w = t.box.w / std::max(c, s) - h;
        }
        return Box{t.box.x + t.box.w / 2, t.box.y + t.box.h / 2, w - 1, h - 1,
                   std::cos(rad),         std::sin(rad)};
    };
    const Box p = box(a), q = box(b);
    const double dx = q.cx - p.cx, dy = q.cy - p.cy;
    for (const Box& axes : {p, q}) {
        for (const auto& [ux, uy] : {std::pair{axes.c, axes.s}, std::pair{-axes.s, axes.c}}) {
            auto reach = [&](const Box& r) {
                return (std::fabs(r.c * ux + r.s * uy) * r.w +
                        std::fabs(-r.s * ux + r.c * uy) * r.h) /
                       2;
            };
            if (std::fabs(dx * ux + dy * uy) >= reach(p) + reach(q)) return false;
        }
    }
    return true;
}

// The texts of one run: inside the picture, apart, whole, and each drawn one listed by the
// layout.
void checkTexts(const Scene& scene, const std::string& run) {
    const std::vector<const TextItem*> drawn = scene.texts();
    std::multiset<std::tuple<int, long, long>> listed, painted;
    auto key = [](TextKind kind, const Rect& r) {
        return std::tuple{static_cast<int>(kind), std::lround(r.x * 10), std::lround(r.y * 10)};
    };
    for (const LayoutText& t : scene.layout.texts)
        listed.insert(key(t.tag.kind, t.box));
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const TextItem& t = *drawn[i];
        painted.insert(key(t.tag.kind, t.box));
        EXPECT_TRUE(t.box.x >= -0.5 && t.box.y >= -0.5 && t.box.right() <= scene.width + 0.5 &&
                    t.box.bottom() <= scene.height + 0.5)
            << run << ": '" << t.text << "' outside the picture";
        for (std::size_t j = i + 1; j < drawn.size(); ++j)
            EXPECT_FALSE(textsOverlap(t, *drawn[j]))
                << run << ": '" << t.text << "' over '" << drawn[j]->text << "'";
    }
    EXPECT_EQ(listed, painted) << run << ": the layout lists other texts than are drawn";
    // The labels of these small charts fit whole: a shortened one means room was not made.
    for (const std::string& note : scene.layout.notes)
        EXPECT_EQ(note.find("shortened"), std::string::npos) << run << ": " << note;
}

// One run of the sweep: the chart drawn, its texts checked on the layout and in the SVG, and the
// SVG (the picture the attribute must change).
std::string sweepRun(const SweepBase& base, const std::string& attrs) {
    const std::string run = std::string(base.name) + " with " + attrs;
    auto player = testing::drawChart(base.type, withAttributes(base.xml, attrs), 640, 400);
    if (player->state() != PlayerState::Chart) return "failed: " + run;
    checkTexts(player->scene(), run);
    std::string svg = player->svg();
    testing::expectSvgTextsMatchLayout(svg, player->scene().layout, run);
    return svg;
}

struct SweepCase {
    std::vector<const char*> attributes; // each set alone, to each of the values
    std::vector<const char*> values;
    std::string context = {}; // set on the base and the changed chart alike
};

TEST(ChartAttributes, EveryDocumentedAttributeChangesSomeChartAndKeepsItsTextsApart) {
    const std::vector<SweepCase> cases = {
        {{"caption", "subCaption", "xAxisName", "yAxisName", "PYAxisName", "SYAxisName"},
         {"Sales by month"}},
        {{"numberPrefix", "sNumberPrefix", "xNumberPrefix"}, {"$"}},
        {{"numberSuffix", "sNumberSuffix", "xNumberSuffix"}, {" kg"}},
        {{"decimals", "decimalPrecision"}, {"3", "0"}},
        {{"forceDecimals"}, {"1", "0"}, "decimals='3'"},
        // Flags, both ways.
        {{"formatNumber",
          "formatNumberScale",
          "logScale",
          "setAdaptiveYMin",
          "rotateNames",
          "rotateLabels",
          "showNames",
          "showLabels",
          "showValues",
          "showLegend",
          "showYAxisValues",
          "showLimits",
          "showSum",
          "showPercentValues",
          "divLineIsDashed",
          "showAlternateHGridColor",
          "is3D",
          "showPlotBorder",
          "drawAnchors",
          "animation",
          "interactiveLegend"},
         {"0", "1"}},
        {{"slantLabels"}, {"1", "0"}, "rotateNames='1'"},
        {{"clipBubbles"}, {"0", "1"}, "yAxisMaxValue='3000'"},
        {{"decimalSeparator", "inDecimalSeparator"}, {","}},
        {{"thousandSeparator"}, {" "}},
        {{"inThousandSeparator"}, {"."}},
        {{"numDivLines", "numVDivLines"}, {"9", "0"}},
        {{"yAxisMinValue", "PYAxisMinValue"}, {"-2000"}},
        {{"yAxisMaxValue", "PYAxisMaxValue"}, {"9000"}},
        {{"SYAxisMinValue"}, {"-50"}},
        {{"SYAxisMaxValue", "xAxisMaxValue"}, {"200"}},
        {{"xAxisMinValue"}, {"-20"}},
        {{"logBase"}, {"2"}, "logScale='1'"},
        {{"labelDisplay"}, {"ROTATE", "STAGGER", "NONE", "AUTO"}},
        {{"palette"}, {"3"}},
        {{"paletteColors"}, {"FF0000,00AA00,0000FF"}},
        {{"bgColor", "canvasBgColor", "canvasBorderColor", "divLineColor", "baseFontColor",
          "anchorBgColor", "anchorBorderColor"},
         {"AA3300"}},
        {{"alternateHGridColor"}, {"EEEE00"}, "showAlternateHGridColor='1'"},
        {{"bgAlpha", "canvasBgAlpha"}, {"0"}},
        {{"chartLeftMargin", "chartRightMargin", "chartTopMargin", "chartBottomMargin",
          "pieRadius"},
         {"60"}},
        {{"baseFont"}, {"DejaVu Serif"}},
        {{"baseFontSize"}, {"14"}},
        {{"lineThickness"}, {"5"}},
        {{"anchorSides", "numVisiblePlot"}, {"4"}},
        {{"anchorRadius"}, {"7"}},
        {{"anchorBorderThickness"}, {"3"}},
        {{"bubbleScale"}, {"2"}},
        {{"doughnutRadius"}, {"30"}},
        {{"slicingDistance"}, {"40"}},
        {{"startingAngle"}, {"45"}},
        {{"scrollPosition"}, {"end", "3", "elsewhere"}},
        {{"legendPosition"}, {"right", "bottom"}, "PYAxisName='Revenue' SYAxisName='Share'"},
    };
    // Attributes no still picture can show: they act on motion and clicks in a window
    // (docs/chart-xml.md says so).
    const std::set<std::string> unchanging = {"animation", "interactiveLegend"};

    std::set<std::string> swept;
    std::map<std::pair<std::size_t, std::string>, std::string> plain; // base, context: SVG
    std::set<std::string> changing;
    for (const SweepCase& c : cases) {
        for (const char* attribute : c.attributes) {
            swept.insert(attribute);
            for (std::size_t b = 0; b < sweepBases().size(); ++b) {
                const SweepBase& base = sweepBases()[b];
                auto [at, fresh] = plain.try_emplace({b, c.context});
                if (fresh) at->second = sweepRun(base, c.context);
                for (const char* value : c.values) {
                    const std::string attrs = c.context + " " + attribute + "='" + value + "'";
                    if (sweepRun(base, attrs) != at->second) changing.insert(attribute);
                }
            }
        }
    }
    for (const std::string& name : documentedAttributes())
        EXPECT_TRUE(swept.contains(name)) << name << " is documented but not swept";
    std::set<std::string> still;
    for (const std::string& name : swept)
        if (!changing.contains(name)) still.insert(name);
    EXPECT_EQ(still, unchanging) << "attributes that changed no chart of the sweep";
}

} // namespace
} // namespace plotara
