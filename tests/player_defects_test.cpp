// Charts that used to come out quietly wrong, checked on the layout model: axes that fit their
// own data, texts kept inside the picture, bubbles that stay apart and lines that stand out.
#include "player/layout/ChartLayout.h"
#include "player_model_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <variant>

namespace plotara {
namespace {

using namespace player;
using testing::drawChart;
using testing::singleSeries;

std::string dualAxis(const std::string& attrs, const std::string& primary,
                     const std::string& secondary) {
    return "<chart " + attrs +
           "><categories><category label='A'/><category label='B'/><category label='C'/>"
           "</categories><dataset seriesName='P'>" +
           primary + "</dataset><dataset seriesName='S' parentYAxis='S'>" + secondary +
           "</dataset></chart>";
}

TEST(AxisRanges, LinesFitTheirDataAndColumnsKeepZero) {
    const std::vector<double> high{310, 420, 355, 398};
    struct Case {
        int type;
        std::string xml;
        double min, max;
    } cases[] = {
        {7, singleSeries("", high), 300, 425},                    // line
        {12, singleSeries("", high), 300, 425},                   // multi-series line
        {32, singleSeries("", high), 300, 425},                   // scroll line
        {7, singleSeries("setAdaptiveYMin='0'", high), 0, 500},   // zero asked for
        {7, singleSeries("yAxisMinValue='250'", high), 250, 450}, // the document's minimum
        {7, singleSeries("", {12, 95, 40}), 0, 100},              // data close to zero
        {2, singleSeries("", high), 0, 500},                      // columns
        {9, singleSeries("", high), 0, 500},                      // bars
        {8, singleSeries("", high), 0, 500},                      // areas
        {29, "<chart><dataset><set x='1' y='310'/><set x='5' y='420'/></dataset></chart>", 300,
         425}, // scatter
        {29,
         "<chart setAdaptiveYMin='0'><dataset><set x='1' y='310'/><set x='5' y='420'/>"
         "</dataset></chart>",
         0, 500},
    };
    for (const Case& c : cases) {
        auto player = drawChart(c.type, c.xml);
        const LayoutAxis* y = player->scene().layout.axis("y");
        ASSERT_NE(y, nullptr) << c.xml;
        EXPECT_DOUBLE_EQ(y->min, c.min) << "type " << c.type << ": " << c.xml;
        EXPECT_DOUBLE_EQ(y->max, c.max) << "type " << c.type << ": " << c.xml;
    }
}

TEST(AxisRanges, DualAxesFitTheirOwnDataAndAlignZeroOnlyWhenBothCrossIt) {
    const std::string primary = "<set value='235000'/><set value='125100'/><set value='464200'/>";
    struct Case {
        std::string xml;
        double pMin, pMax, sMin, sMax;
    } cases[] = {
        // A negative secondary series leaves the primary axis alone.
        {dualAxis("", primary, "<set value='-20'/><set value='35'/><set value='48'/>"), 0, 500000,
         -20, 60},
        // Both cross zero: zero on the same tick, round ticks on both.
        {dualAxis("", "<set value='-100000'/><set value='125100'/><set value='464200'/>",
                  "<set value='-20'/><set value='35'/><set value='48'/>"),
         -200000, 600000, -20, 60},
        // The document's limits win.
        {dualAxis("PYAxisMinValue='100000' PYAxisMaxValue='600000'", primary,
                  "<set value='-20'/><set value='35'/><set value='48'/>"),
         100000, 600000, -20, 60},
        {dualAxis("SYAxisMinValue='-100' SYAxisMaxValue='100'", primary,
                  "<set value='-20'/><set value='35'/><set value='48'/>"),
         0, 500000, -100, 100},
    };
    for (const Case& c : cases) {
        auto player = drawChart(23, c.xml);
        const ChartLayout& l = player->scene().layout;
        const LayoutAxis* p = l.axis("y");
        const LayoutAxis* s = l.axis("y2");
        ASSERT_TRUE(p && s) << c.xml;
        EXPECT_DOUBLE_EQ(p->min, c.pMin) << c.xml;
        EXPECT_DOUBLE_EQ(p->max, c.pMax) << c.xml;
        EXPECT_DOUBLE_EQ(s->min, c.sMin) << c.xml;
        EXPECT_DOUBLE_EQ(s->max, c.sMax) << c.xml;
        if (p->min < 0 && s->min < 0) {
            EXPECT_NEAR(-p->min / (p->max - p->min), -s->min / (s->max - s->min), 1e-9);
        }
        // Every tick is a round multiple of its axis' step: no "-145,000" in between. (Limits
        // from the document are kept as given, and their ticks divide the range evenly.)
        if (c.xml.find("AxisM") != std::string::npos) continue;
        for (const LayoutAxis* a : {p, s}) {
            double step = a->ticks[1].value - a->ticks[0].value;
            for (const LayoutTick& t : a->ticks) {
                double k = t.value / step;
                EXPECT_NEAR(k, std::round(k), 1e-6) << a->id << " " << t.value << ": " << c.xml;
            }
        }
    }
}

// A dual-axis chart with nothing on its secondary axis leaves that axis out (no 0 to 1 scale of
// nothing, no name or tick labels right of the plot) and notes it; with a value there it stays.
TEST(AxisRanges, AnEmptySecondaryAxisIsLeftOutAndNoted) {
    const std::string level = "<dataset seriesName='Level'><set value='158000'/>"
                              "<set value='158300'/><set value='158400'/></dataset>";
    const std::string change = "<set value='-140'/><set value='300'/><set value='100'/>";
    const std::string onPrimary = "<dataset seriesName='Change'>" + change + "</dataset>";
    const std::string onSecondary =
        "<dataset seriesName='Change' parentYAxis='S'>" + change + "</dataset>";
    struct Case {
        int type;
        std::string body;
        bool secondary; // whether Change is drawn on a secondary axis
    } cases[] = {
        {23, level + onPrimary, false},
        {25, level + onPrimary, false},
        {28, level + onPrimary, false},
        {36, level + onPrimary, false},
        {27, "<dataset>" + level + onPrimary + "</dataset>", false}, // no lineset
        {23, level + "<dataset seriesName='Change' parentYAxis='S'><set/><set/></dataset>", false},
        {23, level + onSecondary, true},
        {28, level + onSecondary, true},
        {27,
         "<dataset>" + level + "</dataset><lineset seriesName='Change'>" + change + "</lineset>",
         true},
    };
    const std::string note = "secondary axis left out: no series is drawn on it";
    for (const Case& c : cases) {
        const std::string xml = "<chart SYAxisName='Monthly change'><categories><category "
                                "label='A'/><category label='B'/><category label='C'/>"
                                "</categories>" +
                                c.body + "</chart>";
        SCOPED_TRACE(std::to_string(c.type) + ": " + xml);
        auto player = drawChart(c.type, xml);
        const ChartLayout& l = player->scene().layout;
        const LayoutAxis* y = l.axis("y");
        ASSERT_TRUE(y && l.plot);
        EXPECT_EQ(l.axis("y2") != nullptr, c.secondary);
        EXPECT_EQ(std::count(l.notes.begin(), l.notes.end(), note), c.secondary ? 0 : 1);
        bool named = false, ticksRight = false;
        for (const LayoutText& t : l.texts) {
            named |= t.text == "Monthly change";
            ticksRight |= t.tag.kind == TextKind::Tick && t.box.x > l.plot->right();
        }
        EXPECT_EQ(named, c.secondary);
        EXPECT_EQ(ticksRight, c.secondary);
        for (const LayoutSeries& s : l.series)
            EXPECT_EQ(s.axis, s.name == "Change" && c.secondary ? "y2" : "y") << s.name;
        // The change's values lie on the scale of the axis they are drawn on, and are drawn.
        const LayoutAxis* own = c.secondary ? l.axis("y2") : y;
        ASSERT_NE(own, nullptr);
        if (c.body.find("<set/>") != std::string::npos) continue;
        EXPECT_TRUE(own->min <= -140 && own->max >= 300) << own->min << " " << own->max;
        EXPECT_EQ(l.series.back().drawn, 3u);
    }
}

TEST(TextsInside, LongNumbersOnBarChartsStayInThePicture) {
    for (int type : {9, 15, 20}) {
        auto player =
            drawChart(type, singleSeries("", {123456789, 987654321, 555555555}), 400, 300);
        const ChartLayout& l = player->scene().layout;
        ASSERT_FALSE(l.texts.empty());
        for (const LayoutText& t : l.texts) {
            EXPECT_GE(t.box.x, -0.5) << type << " '" << t.text << "'";
            EXPECT_LE(t.box.right(), l.width + 0.5) << type << " '" << t.text << "'";
        }
        const LayoutAxis* y = l.axis("y");
        ASSERT_NE(y, nullptr);
        std::size_t labelled = 0;
        for (const LayoutTick& t : y->ticks)
            labelled += !t.label.empty();
        EXPECT_GE(labelled, 2u) << type;
    }
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

// Every line series has a stroke, and every anchor set a border, with at least 3:1 contrast
// against the canvas, whatever its palette colour.
TEST(Contrast, EveryLineStandsOutFromTheCanvas) {
    EXPECT_NEAR(contrast(rgb(0xFFFFFF), rgb(0x000000)), 21, 1e-9);
    EXPECT_NEAR(contrast(rgb(0x777777), rgb(0x777777)), 1, 1e-9);
    EXPECT_GE(contrast(legibleOn(rgb(0xAFD8F8), rgb(0xFFFFFF)), rgb(0xFFFFFF)), 3);
    EXPECT_GE(contrast(legibleOn(rgb(0x202040), rgb(0x101010)), rgb(0x101010)), 3);
    EXPECT_EQ(legibleOn(rgb(0x333333), rgb(0xFFFFFF)), rgb(0x333333));

    std::string xml = "<chart><categories><category label='A'/><category label='B'/>"
                      "<category label='C'/></categories>";
    for (int d = 0; d < 8; ++d) {
        xml += "<dataset seriesName='S" + std::to_string(d) + "'><set value='" +
               std::to_string(10 + d) + "'/><set value='" + std::to_string(20 + d) +
               "'/><set value='" + std::to_string(15 + d) + "'/></dataset>";
    }
    xml += "</chart>";
    for (int palette = 1; palette <= 5; ++palette) {
        std::string doc = xml;
        doc.insert(6, " palette='" + std::to_string(palette) + "'");
        auto player = drawChart(12, doc);
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

} // namespace
} // namespace plotara

namespace plotara {
namespace {

using namespace player;

// When a bar chart thins its row names, values stay only on rows that show their name, so no
// value reads as a neighbour's.
TEST(ValueLabels, ThinnedBarRowsKeepValuesOnlyBesideTheirNames) {
    std::vector<double> values;
    for (int i = 0; i < 90; ++i)
        values.push_back(50000 + 431.0 * ((i * 13) % 90));
    auto player =
        testing::drawChart(9, testing::singleSeries("showValues='1'", values, "Row "), 480, 300);
    const ChartLayout& l = player->scene().layout;
    std::vector<int> named;
    for (const LayoutText& t : l.texts) {
        if (t.tag.kind == TextKind::CategoryLabel) named.push_back(t.tag.index);
    }
    ASSERT_LT(named.size(), 90u) << "the row names are thinned";
    std::size_t shown = 0;
    for (const LayoutText& t : l.texts) {
        if (t.tag.kind != TextKind::ValueLabel) continue;
        ++shown;
        EXPECT_NE(std::find(named.begin(), named.end(), t.tag.index), named.end())
            << "'" << t.text << "' of row " << t.tag.index << " has no name beside it";
    }
    EXPECT_GT(shown, 0u);
    bool noted = false;
    for (const std::string& n : l.notes)
        noted |= n.find("names are thinned") != std::string::npos;
    EXPECT_TRUE(noted);
}

} // namespace
} // namespace plotara

namespace plotara {
namespace {

using namespace player;

// The lit end face of each 3D column: a parallelogram whose first and last corners lie on one
// horizontal edge of the front and whose middle corners lie on the back edge.
std::vector<const PathSeg*> endFaces(const Scene& scene) {
    std::vector<const PathSeg*> faces;
    for (const SceneItem& item : scene.items) {
        const auto* shape = std::get_if<ShapeItem>(&item);
        if (!shape || !shape->filled) continue;
        const std::vector<PathSeg>& s = shape->path.segments();
        if (s.size() < 4 || s[0].y == s[1].y || s[1].y != s[2].y || s[0].y != s[3].y) continue;
        faces.push_back(s.data());
    }
    return faces;
}

// A 3D column's end face sits at its value end: the top of a column above zero, the bottom of
// one below it, never the zero line for both.
TEST(Columns3D, EndFaceSitsAtTheValueEnd) {
    struct Case {
        int type;
        std::string xml;
        std::vector<double> values; // by series, then point
    };
    std::string ms = "<chart><categories><category label='A'/><category label='B'/>"
                     "</categories><dataset seriesName='P'><set value='30'/><set value='-20'/>"
                     "</dataset><dataset seriesName='Q'><set value='-15'/><set value='25'/>"
                     "</dataset></chart>";
    std::vector<Case> cases = {
        {1, singleSeries("", {40, -30, 20, -10}), {40, -30, 20, -10}},
        {10, ms, {30, -20, -15, 25}},
    };
    for (const Case& c : cases) {
        auto player = drawChart(c.type, c.xml, 320, 240);
        const Scene& scene = player->scene();
        std::vector<const PathSeg*> faces = endFaces(scene);
        std::size_t columns = 0;
        for (const HitRegion& hit : scene.hits) {
            if (hit.kind != player::HitKind::Column) continue;
            ++columns;
            double v = c.values[static_cast<std::size_t>(hit.seriesIndex) * 2 +
                                static_cast<std::size_t>(hit.pointIndex)];
            if (c.type == 1) v = c.values[static_cast<std::size_t>(hit.pointIndex)];
            auto face = std::find_if(faces.begin(), faces.end(), [&](const PathSeg* f) {
                return std::fabs(f[0].x - hit.rect.x) < 0.01;
            });
            ASSERT_NE(face, faces.end()) << "type " << c.type << " value " << v;
            if (v < 0) {
                EXPECT_NEAR((*face)[0].y, hit.rect.bottom(), 0.01) << "type " << c.type << " " << v;
            } else {
                EXPECT_LT((*face)[0].y, hit.rect.bottom() - 10) << "type " << c.type << " " << v;
            }
        }
        EXPECT_EQ(columns, c.values.size()) << "type " << c.type;
    }
}

// Numbers on the chart read true: tick labels of scaled and tiny ranges are distinct and never
// "0" for a non-zero tick, and value labels and pie percentages of tiny values are not "0".
TEST(NumbersOnTheChart, TicksValuesAndPercentagesReadTrue) {
    struct Case {
        int type;
        std::string xml;
        TextKind role;      // a text of this role must read `wanted`
        std::string wanted; // (a pie label must contain it)
    } cases[] = {
        {2, singleSeries("formatNumberScale='1'", {2.5e6, 1e6, 1.7e6}), TextKind::Tick, "1.5M"},
        {2, singleSeries("formatNumberScale='1' yAxisMinValue='1000000000'", {1.1e9, 1.6e9}),
         TextKind::Tick, "1.2B"},
        {7, singleSeries("", {0.00001, 0.00003, 0.00002}), TextKind::Tick, "0.00002"},
        {2, singleSeries("decimals='2'", {0.00002, 5}), TextKind::ValueLabel, "0.00002"},
        {4, singleSeries("showPercentValues='1'", {9998, 2}), TextKind::PieLabel, "0.02%"},
    };
    for (const Case& c : cases) {
        auto player = drawChart(c.type, c.xml, 480, 360);
        const ChartLayout& l = player->scene().layout;
        for (const LayoutAxis& a : l.axes) {
            std::vector<std::string> labels;
            for (const LayoutTick& t : a.ticks) {
                if (t.label.empty()) continue;
                if (t.value != 0) {
                    EXPECT_NE(t.label, "0") << c.xml << " tick " << t.value;
                }
                EXPECT_EQ(std::count(labels.begin(), labels.end(), t.label), 0)
                    << c.xml << ": two ticks read " << t.label;
                labels.push_back(t.label);
            }
        }
        bool found = false;
        for (const LayoutText& t : l.texts) {
            if (t.tag.kind != c.role) continue;
            found |= c.role == TextKind::PieLabel ? t.text.find(c.wanted) != std::string::npos
                                                  : t.text == c.wanted;
            if (c.role == TextKind::PieLabel) {
                EXPECT_EQ(t.text.find(" 0%"), std::string::npos) << t.text;
            }
        }
        EXPECT_TRUE(found) << c.xml << ": no text reads " << c.wanted;
    }
}

// The end face of each 3D bar: a parallelogram whose first and last corners lie on one
// vertical edge of the front and whose middle corners lie on the back edge.
std::vector<const PathSeg*> barEndFaces(const Scene& scene) {
    std::vector<const PathSeg*> faces;
    for (const SceneItem& item : scene.items) {
        const auto* shape = std::get_if<ShapeItem>(&item);
        if (!shape || !shape->filled) continue;
        const std::vector<PathSeg>& s = shape->path.segments();
        if (s.size() < 4 || s[0].x == s[1].x || s[0].y == s[1].y || s[1].x != s[2].x ||
            s[0].x != s[3].x)
            continue;
        faces.push_back(s.data());
    }
    return faces;
}

// A 3D bar's end face sits at its value end: the right end of a bar running right from the
// zero line, the left end of one running left, side by side or stacked; the bar's extent
// (its hit box) reaches from that end to the zero line and its depth.
TEST(Bars3D, EndFaceSitsAtTheValueEnd) {
    std::string ms = "<chart><categories><category label='A'/><category label='B'/>"
                     "</categories><dataset seriesName='P'><set value='30'/><set value='-20'/>"
                     "</dataset><dataset seriesName='Q'><set value='-15'/><set value='25'/>"
                     "</dataset></chart>";
    const std::vector<double> values{30, -20, -15, 25}; // by series, then point
    for (int type : {14, 19}) {
        auto player = drawChart(type, ms, 480, 320);
        const Scene& scene = player->scene();
        const LayoutAxis* axis = scene.layout.axis("y");
        ASSERT_NE(axis, nullptr);
        std::vector<const PathSeg*> faces = barEndFaces(scene);
        double zero = -1;
        for (const LayoutTick& t : axis->ticks) {
            if (t.value == 0) zero = t.box.x + t.box.w / 2;
        }
        ASSERT_GT(zero, 0) << "type " << type;
        std::size_t bars = 0;
        for (const HitRegion& hit : scene.hits) {
            if (hit.kind != player::HitKind::Bar) continue;
            ++bars;
            double v = values[static_cast<std::size_t>(hit.seriesIndex) * 2 +
                              static_cast<std::size_t>(hit.pointIndex)];
            auto face = std::find_if(faces.begin(), faces.end(), [&](const PathSeg* f) {
                return std::fabs(f[3].y - hit.rect.bottom()) < 0.01 &&
                       f[0].x >= hit.rect.x - 0.01 && f[0].x <= hit.rect.right() + 0.01;
            });
            ASSERT_NE(face, faces.end()) << "type " << type << " value " << v;
            if (v < 0) {
                EXPECT_NEAR((*face)[0].x, hit.rect.x, 0.01) << "type " << type << " " << v;
                EXPECT_LT(hit.rect.x, zero - 10) << "type " << type << " " << v;
            } else {
                EXPECT_GT((*face)[0].x, hit.rect.x + 10) << "type " << type << " " << v;
                EXPECT_GT(hit.rect.right(), zero + 10) << "type " << type << " " << v;
            }
        }
        EXPECT_EQ(bars, values.size()) << "type " << type;
    }
}

// Every value label of a line or area point sits just above that point's own anchor, centred
// on it: a label offered for one point never lands at another's.
TEST(ValueLabels, LineAndAreaLabelsSitOverTheirOwnPoints) {
    std::string ms = "<chart><categories><category label='A'/><category label='B'/>"
                     "<category label='C'/></categories><dataset seriesName='P'><set value='10'/>"
                     "<set value='12'/><set value='11'/></dataset><dataset seriesName='Q'>"
                     "<set value='90'/><set/><set value='95'/></dataset></chart>";
    struct Case {
        int type;
        std::string xml;
        std::size_t labels;
    };
    std::vector<Case> cases = {
        {7, singleSeries("", {10, 30, 20, 40}), 4},
        {8, singleSeries("", {10, 30, 20, 40}), 4},
        {12, ms, 5},
        {13, ms, 5},
    };
    for (const Case& c : cases) {
        auto player = drawChart(c.type, c.xml, 480, 360);
        const Scene& scene = player->scene();
        std::size_t labels = 0;
        for (const LayoutText& t : scene.layout.texts) {
            if (t.tag.kind != TextKind::ValueLabel || t.tag.series < 0) continue;
            ++labels;
            auto hit = std::find_if(scene.hits.begin(), scene.hits.end(), [&](const HitRegion& h) {
                return h.shape == HitRegion::Shape::Circle && h.seriesIndex == t.tag.series &&
                       h.pointIndex == t.tag.index;
            });
            ASSERT_NE(hit, scene.hits.end()) << "type " << c.type << " " << t.text;
            EXPECT_NEAR(t.box.x + t.box.w / 2, hit->center.x, 1) << "type " << c.type << t.text;
            EXPECT_LE(t.box.bottom(), hit->center.y) << "type " << c.type << " " << t.text;
            EXPECT_GT(t.box.bottom(), hit->center.y - 12) << "type " << c.type << " " << t.text;
        }
        EXPECT_EQ(labels, c.labels) << "type " << c.type;
    }
}

} // namespace
} // namespace plotara
