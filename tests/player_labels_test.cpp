// Labels and markers that must stay readable whole: value labels over their own points, crowded
// category labels, legends below or beside the plot, trend zone names over the series that cover
// their band, trend labels on the right clear of the secondary axis' ticks, and scatter and
// bubble markers inside the plot at the axes' edges.
#include "player/layout/ChartLayout.h"
#include "player/xy/MarkerRoom.h"
#include "player_model_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace plotara {
namespace {

using namespace player;
using testing::drawChart;
using testing::singleSeries;

// The box a path's segments reach (arcs by their whole ellipse).
Rect pathBounds(const Path& path) {
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (const PathSeg& s : path.segments()) {
        if (s.op == PathOp::Close) continue;
        double rx = s.op == PathOp::Move || s.op == PathOp::Line ? 0 : s.rx;
        double ry = s.op == PathOp::Move || s.op == PathOp::Line ? 0 : s.ry;
        x0 = std::min(x0, s.x - rx), x1 = std::max(x1, s.x + rx);
        y0 = std::min(y0, s.y - ry), y1 = std::max(y1, s.y + ry);
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

// A filled shape of the scene, where it stands in painting order.
struct Painted {
    std::size_t order;
    Rect box;
    Color fill;
};

std::vector<Painted> filledShapes(const Scene& scene) {
    std::vector<Painted> out;
    for (std::size_t i = 0; i < scene.items.size(); ++i) {
        if (const auto* shape = std::get_if<ShapeItem>(&scene.items[i])) {
            if (shape->filled && shape->fill.a > 0)
                out.push_back({i, pathBounds(shape->path), shape->fill});
        } else if (const auto* run = std::get_if<RectRun>(&scene.items[i])) {
            for (std::size_t k = run->first; k < run->first + run->count; ++k)
                out.push_back({i, scene.rects[k].rect, scene.rectLooks[scene.rects[k].look].fill});
        }
    }
    return out;
}

bool sameRgb(Color a, Color b) {
    return std::fabs(a.r - b.r) < 1e-6 && std::fabs(a.g - b.g) < 1e-6 &&
           std::fabs(a.b - b.b) < 1e-6;
}

// Twelve months around 25 as an area (single series charts take the sets alone; with `multi`
// a line series joins it), with a zone from 19 to 23 named at its right end, where the area of
// the last months reaches.
std::string zoneChart(bool multi) {
    const std::string zone = "<trendlines><line startValue='19' endValue='23' isTrendZone='1' "
                             "color='00AA00' displayvalue='Comfort zone'/></trendlines>";
    std::vector<double> temp, rain;
    for (int i = 0; i < 12; ++i)
        temp.push_back(24 + i % 3), rain.push_back(5 + i % 4);
    if (!multi) {
        std::string xml = singleSeries("showValues='0'", temp, "M");
        return xml.insert(xml.size() - 8, zone);
    }
    return testing::multiSeries(
        "showValues='0'", testing::numbered("M", 12),
        {{"Temp", temp, "renderAs='Area'"}, {"Rain", rain, "renderAs='Line'"}}, zone);
}

TEST(TrendLabels, ZoneNamesAreDrawnOverTheSeriesAndTheirBandsBehind) {
    struct Case {
        int type;
        bool multi;
    } cases[] = {{8, false}, {13, true}, {18, true}, {21, true}, {22, true}, {33, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type));
        auto player = drawChart(c.type, zoneChart(c.multi));
        const Scene& scene = player->scene();
        std::optional<std::size_t> label;
        Rect box;
        for (std::size_t i = 0; i < scene.items.size(); ++i) {
            const auto* text = std::get_if<TextItem>(&scene.items[i]);
            if (text && text->tag.kind == TextKind::Trend && text->text == "Comfort zone") {
                label = i;
                box = text->box;
            }
        }
        ASSERT_TRUE(label);
        std::size_t band = scene.items.size(), covering = 0;
        for (const Painted& p : filledShapes(scene)) {
            if (sameRgb(p.fill, rgb(0x00AA00))) band = std::min(band, p.order);
            if (!p.box.overlaps(box) || sameRgb(p.fill, rgb(0x00AA00))) continue;
            ++covering;
            EXPECT_LT(p.order, *label)
                << "a shape at " << p.box.x << "," << p.box.y << " is painted over the zone's name";
        }
        // The series reach the name's place (else the order would not matter), and the band
        // lies behind them.
        EXPECT_GE(covering, 1u);
        EXPECT_LT(band, *label);
        std::size_t firstSeries = scene.items.size();
        for (const Painted& p : filledShapes(scene)) {
            if (p.box.overlaps(box) && p.order > band && !sameRgb(p.fill, rgb(0x00AA00)))
                firstSeries = std::min(firstSeries, p.order);
        }
        EXPECT_LT(band, firstSeries);
    }
}

// A chart with a trend line labelled on its right or inside the plot: a scatter chart, or a
// dual-axis (or single-axis) chart of three categories.
std::string rightLabelChart(int type, bool dual, const std::string& label, bool onRight) {
    const std::string trend = "<trendlines><line startValue='" +
                              std::string(type == 29 ? "5" : "300000") +
                              "' color='FF0000' displayvalue='" + label + "' valueOnRight='" +
                              (onRight ? "1" : "0") + "'/></trendlines>";
    if (type == 29)
        return "<chart><dataset><set x='1' y='2'/><set x='4' y='7'/></dataset>" + trend +
               "</chart>";
    std::vector<testing::Dataset> sets = {{"P", {235000, 125100, 464200}}};
    if (dual) sets.push_back({"S", {20, 35, 48}, "parentYAxis='S' renderAs='Line'"});
    return testing::multiSeries("SYAxisName='Rate'", {"A", "B", "C"}, sets, trend);
}

const LayoutText* trendText(const ChartLayout& l) {
    for (const LayoutText& t : l.texts) {
        if (t.tag.kind == TextKind::Trend) return &t;
    }
    return nullptr;
}

TEST(TrendLabels, RightHandLabelsKeepClearOfTheTicksAndStayInThePicture) {
    struct Case {
        int type;
        bool dual;
        std::string label = "Right target";
    } cases[] = {
        {23, true},           {25, true},
        {27, true},           {36, true},
        {11, false},          {24, false},
        {29, false, "Check"}, {29, false, "Service level objective for the response time"}};
    for (const Case& c : cases) {
        for (int width : {640, 420}) {
            auto right =
                drawChart(c.type, rightLabelChart(c.type, c.dual, c.label, true), width, 360);
            auto inside =
                drawChart(c.type, rightLabelChart(c.type, c.dual, c.label, false), width, 360);
            SCOPED_TRACE(std::to_string(c.type) + " " + c.label + " at " + std::to_string(width));
            const ChartLayout& l = right->scene().layout;
            const LayoutText* label = trendText(l);
            const LayoutText* whole = trendText(inside->scene().layout);
            ASSERT_TRUE(label && whole);
            EXPECT_GE(label->box.x, l.plot->right());
            EXPECT_LE(label->box.right(), l.width);
            // A short label is whole, as wide as inside the plot; a long one is shortened to a
            // quarter of the chart.
            if (whole->box.w < width * 0.2) {
                EXPECT_NEAR(label->box.w, whole->box.w, 0.5);
            } else {
                EXPECT_LT(label->box.w, whole->box.w);
                EXPECT_GT(label->box.w, width * 0.15);
            }
            for (const LayoutText& t : l.texts) {
                EXPECT_TRUE(&t == label || !t.box.overlaps(label->box))
                    << "the trend label overlaps '" << t.text << "'";
            }
            if (c.dual) {
                const LayoutAxis* y2 = l.axis("y2");
                ASSERT_NE(y2, nullptr);
                EXPECT_GE(y2->ticks.size(), 2u);
            }
        }
    }
}

struct Marker {
    double u, r; // centre in axis units, radius in pixels
};

std::pair<double, double> limitsFor(const std::vector<Marker>& markers, double pixels, double span,
                                    std::optional<double> lo = {}, std::optional<double> hi = {}) {
    return markerLimits(
        [&](auto visit) {
            for (const Marker& m : markers)
                visit(m.u, m.r);
        },
        pixels, span, lo, hi);
}

TEST(MarkerRoom, TheSpanFoundHoldsEveryMarkerAndNoMore) {
    struct Case {
        std::vector<Marker> markers;
        double pixels, span;
        std::optional<double> fixedLo, fixedHi;
        double lo, hi;
    } cases[] = {
        // Equal radii: S = 100 / (1 - 20 / 500).
        {{{0, 10}, {100, 10}}, 500, 100, {}, {}, -100.0 / 48, 100 + 100.0 / 48},
        // Unequal ends: S = 100 / (1 - 25 / 250).
        {{{0, 20}, {100, 5}}, 250, 100, {}, {}, -80.0 / 9, 100 + 20.0 / 9},
        // A big marker in the middle asks nothing of the ends.
        {{{0, 2}, {50, 100}, {100, 2}}, 400, 100, {}, {}, -50.0 / 99, 100 + 50.0 / 99},
        // The document's minimum stays: S = 100 / (1 - 10 / 500).
        {{{0, 10}, {100, 10}}, 500, 100, 0.0, {}, 0, 100 + 100.0 / 49},
        // A span that already suffices is kept: the reaches at that span.
        {{{0, 10}, {100, 10}}, 500, 200, {}, {}, -4, 104},
        // Radii past 45 % of the axis count as 45 %: S = 100 / (1 - 0.9).
        {{{0, 300}, {100, 300}}, 400, 100, {}, {}, -450, 550},
    };
    for (const Case& c : cases) {
        auto [lo, hi] = limitsFor(c.markers, c.pixels, c.span, c.fixedLo, c.fixedHi);
        EXPECT_NEAR(lo, c.lo, 1e-6) << c.pixels << " " << c.span;
        EXPECT_NEAR(hi, c.hi, 1e-6) << c.pixels << " " << c.span;
        for (const Marker& m : c.markers) {
            double reach = std::min(m.r, c.pixels * 0.45) * (hi - lo) / c.pixels;
            if (!c.fixedLo) {
                EXPECT_LE(lo, m.u - reach + 1e-9);
            }
            EXPECT_GE(hi, m.u + reach - 1e-9);
        }
    }
    auto [lo, hi] = limitsFor({}, 500, 100);
    EXPECT_GT(lo, hi) << "no marker asks for no range";
}

TEST(MarkerRoom, WideningKeepsTheDocumentsLimits) {
    AxisScale linear{0, 100, 20, 5};
    AxisScale log = logScale(1, 1000, 10);
    struct Case {
        AxisScale axis;
        std::optional<double> userMin, userMax;
        double lo, hi; // asked, in axis units
        bool changed;
        double dataMin, dataMax;
    } cases[] = {
        {linear, {}, {}, -2, 103, true, -2, 103},
        {linear, {}, {}, 1, 99, false, 0, 100},
        {linear, 0.0, {}, -2, 103, true, 0, 103},
        {linear, 0.0, 100.0, -2, 103, false, 0, 100},
        {log, {}, {}, std::log(0.5), std::log(1000.0), true, 0.5, 1000},
        {linear, {}, {}, 5, -5, false, 0, 100}, // nothing asked
    };
    for (const Case& c : cases) {
        ScaleRequest r;
        r.dataMin = c.axis.min;
        r.dataMax = c.axis.max;
        r.userMin = c.userMin;
        r.userMax = c.userMax;
        EXPECT_EQ(widenRange(r, c.axis, c.lo, c.hi), c.changed) << c.lo << ".." << c.hi;
        EXPECT_NEAR(r.dataMin, c.dataMin, 1e-9) << c.lo << ".." << c.hi;
        EXPECT_NEAR(r.dataMax, c.dataMax, 1e-9) << c.lo << ".." << c.hi;
    }
}

// Scatter and bubble points on round values, so that unpadded axes end exactly at them.
std::string edgePoints(const std::string& attrs, bool bubble) {
    const double pts[][3] = {{0, 0, 30}, {50, 100, 50}, {100, 40, 20}, {20, 60, 10}};
    std::string xml = "<chart " + attrs + "><dataset seriesName='S'>";
    for (const auto& p : pts) {
        xml += "<set x='" + std::to_string(p[0]) + "' y='" + std::to_string(p[1]) + "'";
        if (bubble) xml += " z='" + std::to_string(p[2]) + "'";
        xml += "/>";
    }
    return xml + "</dataset></chart>";
}

// The drawn markers as circles (centre, radius with the border): scatter anchors or bubbles.
struct Disc {
    Point c;
    double r;
};

std::vector<Disc> markers(const Scene& scene) {
    std::vector<Disc> out;
    for (const SceneItem& item : scene.items) {
        if (const auto* m = std::get_if<MarkerItem>(&item)) {
            for (const Point& p : m->points)
                out.push_back({p, m->radius + 0.5});
        }
    }
    for (const HitRegion& h : scene.hits) {
        if (h.kind == player::HitKind::Bubble) out.push_back({h.center, h.radius + 0.5});
    }
    return out;
}

TEST(XYMarkers, EveryMarkerLiesWholeInsideThePlot) {
    struct Case {
        int type;
        std::string xml;
        std::optional<double> xMin = {}, xMax = {}, yMin = {}; // the document's, kept as given
        bool roundEnds = false; // points on 0 and 100 keep them as the outer ticks
    } cases[] = {
        {29, edgePoints("", false), {}, {}, {}, true},
        {29, edgePoints("anchorRadius='10'", false), {}, {}},
        {29, edgePoints("anchorRadius='3' yAxisMinValue='-10'", false), {}, {}, -10},
        {30, edgePoints("", true), {}, {}},
        {30, edgePoints("bubbleScale='2'", true), {}, {}},
        {30, edgePoints("bubbleScale='5'", true), {}, {}}, // bubbles near half the plot
        {29,
         "<chart logScale='1'><dataset><set x='1' y='10'/><set x='100' y='1000'/>"
         "<set x='10' y='100'/></dataset></chart>",
         {},
         {}},
        {29, edgePoints("xAxisMinValue='-10' xAxisMaxValue='110'", false), -10, 110},
    };
    for (const Case& c : cases)
        for (const int width : {480, 640}) {
            SCOPED_TRACE(c.xml + " at " + std::to_string(width));
            auto player = drawChart(c.type, c.xml, width, 360);
            const Scene& scene = player->scene();
            const ChartLayout& l = scene.layout;
            ASSERT_TRUE(l.plot);
            const Rect p = *l.plot;
            const std::vector<Disc> drawn = markers(scene);
            EXPECT_GE(drawn.size(), 3u);
            for (const Disc& d : drawn) {
                EXPECT_TRUE(d.c.x - d.r >= p.x - 1e-6 && d.c.x + d.r <= p.right() + 1e-6 &&
                            d.c.y - d.r >= p.y - 1e-6 && d.c.y + d.r <= p.bottom() + 1e-6)
                    << "a marker at " << d.c.x << "," << d.c.y << " of radius " << d.r;
            }
            for (const LayoutSeries& s : l.series)
                EXPECT_EQ(s.drawn, s.points);
            const LayoutAxis* x = l.axis("x");
            const LayoutAxis* y = l.axis("y");
            ASSERT_TRUE(x && y);
            EXPECT_DOUBLE_EQ(x->min, c.xMin.value_or(x->min));
            EXPECT_DOUBLE_EQ(x->max, c.xMax.value_or(x->max));
            EXPECT_DOUBLE_EQ(y->min, c.yMin.value_or(y->min));
            // The ticks the layout chose are round (whole steps, powers on a log axis) and the
            // plot reaches past the outer ticks by less than a step: room for the markers, not a
            // limit rounded out by a whole step.
            for (const LayoutAxis* a : {x, y}) {
                if ((a == x && c.xMin) || (a == y && c.yMin)) continue;
                ASSERT_GE(a->ticks.size(), 2u) << a->id;
                auto units = [&](double v) { return a->log ? std::log10(v) : v; };
                const double first = units(a->ticks.front().value);
                const double last = units(a->ticks.back().value);
                const double step = units(a->ticks[1].value) - first;
                for (const LayoutTick& t : a->ticks)
                    EXPECT_NEAR(units(t.value) / step, std::round(units(t.value) / step), 1e-6)
                        << a->id << " " << t.value;
                EXPECT_LE(units(a->min), first + 1e-9) << a->id;
                EXPECT_GE(units(a->max), last - 1e-9) << a->id;
                EXPECT_LT(first - units(a->min), step) << a->id;
                EXPECT_LT(units(a->max) - last, step) << a->id;
                if (c.roundEnds) {
                    EXPECT_EQ(a->ticks.front().value, 0) << a->id;
                    EXPECT_EQ(a->ticks.back().value, 100) << a->id;
                }
            }
        }
}

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
    EXPECT_TRUE(testing::hasNote(l, "names are thinned"));
}

// Every value label of a line or area point sits just above that point's own anchor, centred
// on it: a label offered for one point never lands at another's.
TEST(ValueLabels, LineAndAreaLabelsSitOverTheirOwnPoints) {
    const std::string ms =
        testing::multiSeries("", {"A", "B", "C"}, {{"P", {10, 12, 11}}, {"Q", {90, NAN, 95}}});
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
        {7, singleSeries("", {5, 90, 7, 88, 6, 91, 5, 89, 7, 90, 6, 92}), 12}, // zigzag
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

TEST(LegendPosition, BottomOrRight) {
    for (int type : {11, 12, 4, 29}) {
        std::string xml = testing::sampleFor(type);
        if (type == 4) xml.insert(6, " showLegend='1' ");
        auto bottom = drawChart(type, xml);
        xml.insert(6, " legendPosition='right' ");
        auto right = drawChart(type, xml);
        for (const auto* p : {bottom.get(), right.get()}) {
            const ChartLayout& l = p->scene().layout;
            ASSERT_FALSE(l.legend.empty()) << type;
            const Rect plot = *l.plot;
            for (const LayoutText& t : l.texts) {
                if (t.tag.kind != TextKind::Legend) continue;
                if (p == bottom.get()) {
                    EXPECT_GT(t.box.y, plot.bottom()) << type << " " << t.text;
                } else {
                    EXPECT_GT(t.box.x, plot.right()) << type << " " << t.text;
                    EXPECT_LT(t.box.y, plot.bottom()) << type << " " << t.text;
                }
            }
        }
        // A plot with its legend beside it keeps the height the legend took below it (a pie,
        // sized by the narrower side, does not).
        if (type != 4) {
            EXPECT_GT(right->scene().layout.plot->h, bottom->scene().layout.plot->h) << type;
        }
        EXPECT_EQ(right->scene().layout.legend.size(), bottom->scene().layout.legend.size());
    }
}

// Labels too wide for two staggered rows but not too crowded to slant: they turn by 45 degrees,
// all of them, parallel lines of text at least a line apart, inside the chart.
TEST(PlayerLayout, CrowdedLabelsSlantBeforeTheyTurnUpright) {
    std::string xml = "<chart xAxisName='Month of the year'>";
    for (int i = 0; i < 12; ++i)
        xml += "<set label='Month number " + std::to_string(i + 1) + " of 2008' value='" +
               std::to_string(i % 5 + 1) + "'/>";
    xml += "</chart>";
    struct Case {
        std::string attrs;
        double angle;
    } cases[] = {{"", -45},
                 {" slantLabels='0'", -90},
                 {" rotateNames='1'", -90},
                 {" rotateNames='1' slantLabels='1'", -45}};
    TextEngine engine;
    for (const Case& c : cases) {
        auto p = drawChart(2, std::string(xml).insert(6, c.attrs));
        std::vector<const TextItem*> labels;
        const TextItem* axisName = nullptr;
        for (const TextItem* t : p->scene().texts()) {
            const std::string& whole = t->fullText.empty() ? t->text : t->fullText;
            if (whole.rfind("Month number", 0) == 0) labels.push_back(t);
            if (t->text == "Month of the year") axisName = t;
        }
        ASSERT_EQ(labels.size(), 12u) << c.attrs << ": every label is shown";
        ASSERT_NE(axisName, nullptr);
        double line = engine.measure("Ag", labels[0]->font).h;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i]->angle, c.angle) << c.attrs;
            EXPECT_GE(labels[i]->box.x, 0) << c.attrs << ": inside the chart";
            EXPECT_FALSE(labels[i]->box.overlaps(axisName->box)) << c.attrs;
            if (i > 0) {
                // Parallel texts: their distance across the lines is dx times sin(angle).
                double dx = labels[i]->x - labels[i - 1]->x;
                EXPECT_GE(dx * std::fabs(std::sin(c.angle * std::acos(-1.0) / 180)), line)
                    << c.attrs;
            }
        }
    }
    // Roomy categories keep horizontal labels.
    auto wide = drawChart(2, singleSeries("", {1, 2}, "Month number "));
    for (const TextItem* t : wide->scene().texts()) {
        if (t->text.rfind("Month number", 0) == 0) {
            EXPECT_EQ(t->angle, 0);
        }
    }
}

// Crowded charts: pie labels with leader lines, legends that wrap and many long category labels
// (turned or thinned) keep their texts apart.
TEST(PlayerLayout, CrowdedTextsDoNotOverlap) {
    std::vector<double> slices{500}, bars;
    std::vector<testing::Dataset> series;
    for (int i = 1; i < 24; ++i)
        slices.push_back(3 + i % 4);
    for (int i = 0; i < 60; ++i)
        bars.push_back(i % 7 + 1);
    for (int i = 0; i < 30; ++i)
        series.push_back({"Series with a long name " + std::to_string(i), {i + 1.0}});
    const std::string pie = singleSeries("showLegend='1'", slices, "Slice number "),
                      legend = testing::multiSeries("", {"a"}, series);
    const std::pair<int, std::string> cases[] = {
        {4, pie},
        {3, pie},
        {6, pie},
        {11, legend},
        {12, legend},
        {2, singleSeries("", bars, "Category number ")},
        {2, singleSeries("rotateNames='0'", bars, "Category number ")}};
    for (const auto& [type, doc] : cases) {
        const auto player = drawChart(type, doc, 600, 400); // the texts point into its scene
        const auto texts = player->scene().texts();
        std::size_t categories = 0;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            categories += texts[i]->text.starts_with("Category");
            for (std::size_t j = i + 1; j < texts.size(); ++j) {
                Rect a = texts[i]->box, b = texts[j]->box;
                a = {a.x + 0.5, a.y + 0.5, a.w - 1, a.h - 1};
                b = {b.x + 0.5, b.y + 0.5, b.w - 1, b.h - 1};
                EXPECT_FALSE(a.overlaps(b))
                    << type << ": '" << texts[i]->text << "' / '" << texts[j]->text << "'";
            }
        }
        EXPECT_TRUE(type != 2 || categories >= 3) << "some category labels remain";
    }
}

} // namespace
} // namespace plotara
