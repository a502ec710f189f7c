// The cartesian chart: builds the plot series from the document, finds the value scales, lays
// out titles, legend, axes and labels around the plot, then lets the column, line and area
// families draw.
#include "player/cartesian/CartesianFrame.h"
#include "player/cartesian/CategoryLabels.h"
#include "player/cartesian/SeriesDrawing.h"
#include "player/detail/Families.h"
#include "player/util/TextUtil.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>

namespace plotara::player {

namespace {

// The categories [first, end) whose values the value axes fit: all but on a zoomed chart.
struct CategorySpan {
    std::size_t first = 0, end = 0;
};

PlotKind kindOfFamily(Family f) {
    if (f == Family::Line) return PlotKind::Line;
    if (f == Family::Area) return PlotKind::Area;
    return PlotKind::Column;
}

std::vector<PlotSeries> buildSeries(const ChartContext& ctx, const ChartMovie& movie,
                                    std::size_t categories) {
    const ChartModel& m = ctx.model;
    std::vector<PlotSeries> out;
    PlotKind familyKind = kindOfFamily(movie.family);
    bool chartShowValues = m.chart.flag("showvalues", true);
    auto fill = [&](PlotSeries& ps, const Series& s) {
        ps.source = &s;
        ps.values.assign(categories, missingValue);
        for (std::size_t i = 0; i < s.points.size() && i < categories; ++i)
            ps.values[i] = s.points[i].value;
        ps.alpha = std::clamp(s.attrs.number("alpha", 100), 0.0, 100.0);
        ps.showValues = s.attrs.flag("showvalues", chartShowValues);
    };
    std::size_t colorIndex = 0;
    for (std::size_t d = 0; d < m.datasets.size(); ++d) {
        const Series& s = m.datasets[d];
        PlotSeries ps;
        ps.name = s.name;
        ps.index = static_cast<int>(d);
        ps.color = parseColor(s.attrs.text("color"), ctx.style.seriesColor(colorIndex++));
        fill(ps, s);
        ps.kind = familyKind;
        bool secondaryAsked = equalsNoCase(trimSpace(s.attrs.text("parentyaxis")), "s");
        ps.secondary = movie.dualY && secondaryAsked;
        if (movie.combination) {
            std::string as = lowerAscii(trimSpace(s.attrs.text("renderas")));
            if (as == "line")
                ps.kind = PlotKind::Line;
            else if (as == "area")
                ps.kind = PlotKind::Area;
            else if (as == "column" || as == "bar")
                ps.kind = PlotKind::Column;
            else if (ps.secondary)
                ps.kind = PlotKind::Line;
        }
        bool stackable = ps.kind != PlotKind::Line && !ps.secondary;
        if (movie.series == SeriesMode::Stacked && stackable) ps.stack = 0;
        if (movie.series == SeriesMode::MultiStacked && stackable) ps.stack = std::max(0, s.stack);
        ps.perPointColors = movie.series == SeriesMode::Single && m.datasets.size() == 1 &&
                            ps.kind == PlotKind::Column && !s.attrs.has("color");
        out.push_back(std::move(ps));
    }
    for (std::size_t l = 0; l < m.linesets.size(); ++l) {
        const Series& s = m.linesets[l];
        PlotSeries ps;
        ps.name = s.name;
        ps.index = static_cast<int>(m.datasets.size() + l);
        ps.color = parseColor(s.attrs.text("color"), ctx.style.seriesColor(colorIndex++));
        fill(ps, s);
        ps.kind = PlotKind::Line;
        ps.secondary = movie.dualY;
        out.push_back(std::move(ps));
    }
    // Too many values to label legibly: values stay in the tool texts only.
    std::size_t total = 0;
    for (const PlotSeries& ps : out)
        total += ps.values.size();
    if (total > 200 && !m.chart.has("showvalues")) {
        for (PlotSeries& ps : out)
            ps.showValues = false;
    }
    return out;
}

// A logarithmic axis has no place for zero or negative values: they are left out, with a note.
void skipNonPositive(ChartLayout& layout, std::vector<PlotSeries>& series) {
    std::size_t skipped = 0;
    for (PlotSeries& s : series) {
        for (double& v : s.values) {
            if (!isMissing(v) && v <= 0) {
                v = missingValue;
                ++skipped;
            }
        }
    }
    if (skipped > 0)
        layout.notes.push_back(std::to_string(skipped) +
                               " values not drawn: zero or negative on a logarithmic axis");
}

} // namespace

int arrangeStacks(std::vector<PlotSeries>& series, std::size_t categories) {
    std::vector<int> stackSlot;
    int slots = 0;
    for (PlotSeries& s : series) {
        if (s.kind != PlotKind::Column) continue;
        if (s.stack < 0) {
            s.slot = slots++;
            continue;
        }
        if (static_cast<std::size_t>(s.stack) >= stackSlot.size())
            stackSlot.resize(static_cast<std::size_t>(s.stack) + 1, -1);
        int& slot = stackSlot[static_cast<std::size_t>(s.stack)];
        if (slot < 0) slot = slots++;
        s.slot = slot;
    }
    // Positive values stack upwards and negative downwards, per stack and per kind.
    for (PlotKind kind : {PlotKind::Column, PlotKind::Area}) {
        std::size_t groups = stackSlot.size() + 1;
        std::vector<double> pos(groups * categories, 0), neg(groups * categories, 0);
        for (PlotSeries& s : series) {
            if (s.kind != kind || s.stack < 0) continue;
            std::size_t g = static_cast<std::size_t>(s.stack) % groups;
            s.base.assign(categories, 0);
            for (std::size_t i = 0; i < categories; ++i) {
                double v = s.values[i];
                if (isMissing(v)) continue;
                double& acc = (v >= 0 || kind == PlotKind::Area ? pos : neg)[g * categories + i];
                s.base[i] = acc;
                acc += v;
            }
        }
    }
    return std::max(slots, 1);
}

namespace {

void rangeOf(const std::vector<PlotSeries>& series, bool secondary, const CategorySpan& span,
             double& lo, double& hi, bool& any) {
    for (const PlotSeries& s : series) {
        if (s.secondary != secondary) continue;
        for (std::size_t i = span.first; i < std::min(s.values.size(), span.end); ++i) {
            double v = s.values[i];
            if (isMissing(v)) continue;
            // A line's base is not drawn: only a stacked shape spans from its base.
            double b = s.baseAt(i) + v;
            double a = s.kind == PlotKind::Line ? b : s.baseAt(i);
            lo = std::min({lo, a, b});
            hi = std::max({hi, a, b});
            any = true;
        }
    }
}

// The smallest and largest positive values (tops and bases) on one axis: a logarithmic axis
// shows nothing else.
void positiveRangeOf(const std::vector<PlotSeries>& series, bool secondary,
                     const CategorySpan& span, double& lo, double& hi) {
    lo = 1e308, hi = -1e308;
    for (const PlotSeries& s : series) {
        if (s.secondary != secondary) continue;
        for (std::size_t i = span.first; i < std::min(s.values.size(), span.end); ++i) {
            if (isMissing(s.values[i])) continue;
            for (double v : {s.baseAt(i), s.baseAt(i) + s.values[i]}) {
                if (v > 0) lo = std::min(lo, v), hi = std::max(hi, v);
            }
        }
    }
}

AxisScale scaleFor(const ChartContext& ctx, const std::vector<PlotSeries>& series, bool secondary,
                   const CategorySpan& span, bool& any) {
    const Attributes& c = ctx.model.chart;
    double lo = 1e308, hi = -1e308;
    any = false;
    rangeOf(series, secondary, span, lo, hi, any);
    if (c.flag("logscale", false)) {
        positiveRangeOf(series, secondary, span, lo, hi);
        const char* minName = secondary ? "syaxisminvalue" : "yaxisminvalue";
        const char* maxName = secondary ? "syaxismaxvalue" : "yaxismaxvalue";
        return logScale(lo, hi, c.number("logbase", 10), c.optionalNumber(minName),
                        c.optionalNumber(maxName));
    }
    bool includeZero = false;
    for (const PlotSeries& s : series) {
        if (s.secondary == secondary && s.kind != PlotKind::Line) includeZero = true;
    }
    if (!secondary) {
        for (const TrendLine& t : ctx.model.trendlines) {
            if (equalsNoCase(trimSpace(t.attrs.text("parentyaxis")), "s")) continue;
            lo = std::min({lo, t.start, t.end});
            hi = std::max({hi, t.start, t.end});
        }
    }
    if (lo > hi) lo = 0, hi = 1;
    // Lines fit their data; zero joins the axis when the data nearly reaches it anyway, or when
    // the document turns adaptive limits off.
    if (!includeZero && lo > 0 && lo < hi * 0.35) includeZero = true;
    if (!c.flag("setadaptiveymin", true)) includeZero = true;
    ScaleRequest r;
    r.dataMin = lo;
    r.dataMax = hi;
    r.includeZero = includeZero;
    if (auto n = c.optionalNumber("numdivlines")) r.numDivLines = static_cast<int>(*n);
    const char* minName = secondary ? "syaxisminvalue" : "yaxisminvalue";
    const char* maxName = secondary ? "syaxismaxvalue" : "yaxismaxvalue";
    r.userMin = c.optionalNumber(minName);
    r.userMax = c.optionalNumber(maxName);
    if (!secondary) {
        if (!r.userMin) r.userMin = c.optionalNumber("pyaxisminvalue");
        if (!r.userMax) r.userMax = c.optionalNumber("pyaxismaxvalue");
    }
    return niceScale(r);
}

const char* renderAsName(const PlotSeries& s, bool horizontal) {
    switch (s.kind) {
    case PlotKind::Line:
        return "line";
    case PlotKind::Area:
        return "area";
    case PlotKind::Column:
        break;
    }
    return horizontal ? "bar" : "column";
}

// The plot, the value axes' limits and per series how many of its values were drawn.
void recordLayout(ChartLayout& layout, const PlotGeometry& g, const std::vector<PlotSeries>& series,
                  bool scrolling, bool zoomed) {
    layout.plot = g.plot;
    LayoutAxis& y = layout.axisFor("y");
    y.min = g.primary.min;
    y.max = g.primary.max;
    y.log = g.primary.log;
    if (g.hasSecondary) {
        LayoutAxis& y2 = layout.axisFor("y2");
        y2.min = g.secondary.min;
        y2.max = g.secondary.max;
        y2.log = g.secondary.log;
    }
    std::size_t outside = 0;
    for (const PlotSeries& s : series) {
        if (s.index < 0) continue; // leaving the chart (a frame on its way)
        LayoutSeries out;
        out.name = s.name;
        const bool secondary = s.secondary && g.hasSecondary;
        out.axis = secondary ? "y2" : "y";
        out.renderAs = renderAsName(s, g.horizontal);
        out.stack = s.stack;
        const AxisScale& a = secondary ? g.secondary : g.primary;
        // Points the document holds, also those a logarithmic axis had to leave out.
        if (s.source) {
            for (const DataPoint& p : s.source->points)
                out.points += !isMissing(p.value);
        }
        for (std::size_t i = 0; i < s.values.size(); ++i) {
            double v = s.values[i];
            if (isMissing(v)) continue;
            if (!s.source) ++out.points;
            double top = s.baseAt(i) + v;
            if (!g.visible(i)) continue;
            if (top < a.min - 1e-9 * std::fabs(a.min) || top > a.max + 1e-9 * std::fabs(a.max)) {
                ++outside;
                continue;
            }
            ++out.drawn;
        }
        if (scrolling || zoomed) out.window = std::pair{g.first, g.count};
        layout.series.push_back(std::move(out));
    }
    if (scrolling)
        layout.notes.push_back("categories " + std::to_string(g.first) + " to " +
                               std::to_string(g.first + g.count - 1) +
                               " shown: the others are outside the scroll window");
    else if (zoomed)
        layout.notes.push_back("categories " + std::to_string(g.first) + " to " +
                               std::to_string(g.first + g.count - 1) + " shown: zoomed in");
    if (outside > 0)
        layout.notes.push_back(std::to_string(outside) +
                               " values outside the axis limits are cut at the plot's edge");
}

// The first category of the window a scroll chart shows first: scrollPosition 'start'
// (default), 'end', or a category index (from 0) that the window begins at.
std::size_t initialScroll(const Attributes& chart, std::size_t categories, std::size_t visible) {
    const std::string text = chart.text("scrollposition");
    std::string_view asked = trimSpace(text);
    std::size_t last = categories - visible;
    if (equalsNoCase(asked, "end")) return last;
    if (auto index = parseNumber(asked); index && *index >= 0)
        return std::min(static_cast<std::size_t>(std::min(*index, 1e9)), last);
    return 0;
}

// The value scales; on dual-axis charts zero is aligned unless the document sets limits, which
// are kept as given. A secondary axis with no value drawn on it would show a scale of nothing
// (0 to 1, or the document's limits): it is left out, and the notes say so.
void setScales(ChartContext& ctx, const ChartMovie& movie, const std::vector<PlotSeries>& series,
               PlotGeometry& g, const CategorySpan& span) {
    bool anyPrimary = false, anySecondary = false;
    g.primary = scaleFor(ctx, series, false, span, anyPrimary);
    if (!movie.dualY) return;
    g.secondary = scaleFor(ctx, series, true, span, anySecondary);
    if (!anySecondary) {
        ctx.scene.layout.notes.push_back("secondary axis left out: no series is drawn on it");
        return;
    }
    g.hasSecondary = true;
    bool userLimits = false;
    for (const char* name : {"yaxisminvalue", "yaxismaxvalue", "pyaxisminvalue", "pyaxismaxvalue",
                             "syaxisminvalue", "syaxismaxvalue"})
        userLimits |= ctx.model.chart.optionalNumber(name).has_value();
    if (anyPrimary && anySecondary && !userLimits) alignZero(g.primary, g.secondary);
}

// Legend items: every series of a multi-series chart; none for a single series.
std::vector<LegendItem> legendItems(const ChartContext& ctx, const ChartMovie& movie,
                                    const std::vector<PlotSeries>& series) {
    const ChartModel& m = ctx.model;
    std::vector<LegendItem> legend;
    bool showLegend = m.chart.flag("showlegend", true) &&
                      (movie.series != SeriesMode::Single || series.size() > 1);
    if (!showLegend) return legend;
    for (const PlotSeries& s : series) {
        if (s.source && !s.source->attrs.flag("includeinlegend", true)) continue;
        if (!s.name.empty())
            legend.push_back(
                {s.name, s.color, s.kind == PlotKind::Line, s.index, ctx.hides(s.index)});
    }
    return legend;
}

// Scroll charts show a window of categories (and a scroll bar under the plot); true when the
// window leaves categories out.
bool setWindow(const Attributes& chart, const ChartMovie& movie, const Rect& area,
               std::size_t categories, ViewState& view, PlotGeometry& g) {
    g.first = 0;
    g.count = categories;
    view.scrollVisible = 0;
    view.categories = categories;
    if (!movie.scroll) return false;
    double wanted = chart.number("numvisibleplot", 0);
    std::size_t visible = wanted >= 1
                              ? static_cast<std::size_t>(std::min(wanted, 1e6))
                              : std::max<std::size_t>(2, static_cast<std::size_t>(area.w / 60));
    if (visible >= categories) return false;
    if (!view.positioned) view.scrollStart = initialScroll(chart, categories, visible);
    view.positioned = true;
    g.count = visible;
    g.first = std::min(view.scrollStart, categories - visible);
    view.scrollStart = g.first;
    view.scrollVisible = visible;
    view.scrollTotal = categories;
    return true;
}

// A zoomed chart shows the categories of the viewer's range (at least two); a scroll chart keeps
// its scroll bar over them. True when the range leaves categories out.
CategorySpan zoomedSpan(const ViewOptions* options, std::size_t categories) {
    CategorySpan whole{0, categories};
    if (options == nullptr || !options->range.x || categories < 2) return whole;
    const auto [lo, hi] = *options->range.x;
    const auto all = static_cast<double>(categories);
    // The range keeps its width when it reaches past an end: it slides back inside.
    const double count = std::clamp(std::round(hi) - std::round(lo) + 1, 2.0, all);
    if (count >= all) return whole;
    const auto first = static_cast<std::size_t>(std::clamp(std::round(lo), 0.0, all - count));
    return {first, first + static_cast<std::size_t>(count)};
}

bool zoomWindow(const CategorySpan& span, std::size_t categories, ViewState& view,
                PlotGeometry& g) {
    if (span.first == 0 && span.end >= categories) return false;
    g.count = span.end - span.first;
    g.first = span.first;
    view.scrollStart = g.first;
    if (view.scrollVisible > 0) view.scrollVisible = g.count;
    return true;
}

std::size_t categoryCount(const ChartModel& m) {
    std::size_t categories = m.categories.size();
    for (const Series& s : m.datasets)
        categories = std::max(categories, s.points.size());
    for (const Series& s : m.linesets)
        categories = std::max(categories, s.points.size());
    return std::max<std::size_t>(categories, 1);
}

SeriesStyle seriesStyle(const ChartModel& m, const ChartMovie& movie,
                        std::vector<PlotSeries>& series, std::size_t categories) {
    SeriesStyle style;
    style.threeD = movie.threeD || m.chart.flag("is3d", false);
    style.showPlotBorder = m.chart.flag("showplotborder", true);
    style.columnSlots = arrangeStacks(series, categories);
    style.showSum = m.chart.flag("showsum", false);
    style.primaryFormat = numberFormatOf(m.chart, false);
    style.secondaryFormat = numberFormatOf(m.chart, movie.dualY);
    style.categories = &m.categories;
    style.totalSeries = series.size();
    return style;
}

// The value labels of every series placed apart, areas' first, then the columns' and the
// lines': over the plot (above it up to the titles), never over the axis labels. On bar charts
// with thinned row names, a value beside an unnamed row would read as the named neighbour's:
// only rows with their name keep their values.
std::vector<TextItem> placeValueLabels(ChartContext& ctx, const PlotGeometry& g,
                                       const SeriesStyle& style, const CartesianFrame& frame,
                                       Rect area, const SeriesLayout& shapes,
                                       std::size_t categories) {
    Rect bounds{g.plot.x, area.y - 6, g.plot.w + g.depth, g.plot.bottom() - area.y + 6};
    if (g.horizontal)
        bounds = {g.plot.x, g.plot.y - g.depth, area.right() - g.plot.x, g.plot.h + g.depth};
    ValueLabels values(ctx, bounds);
    const std::vector<std::size_t>& named = frame.shownCategories();
    if (g.horizontal && named.size() < g.count) {
        std::vector<bool> rows(categories, false);
        for (std::size_t i : named)
            rows[i] = true;
        values.onlyFor(std::move(rows));
    }
    for (const AreaShape& a : shapes.areas) {
        for (const ValueOffer& o : a.labels)
            offer(values, o);
    }
    offerColumnValues(values, g, style, shapes.columns);
    for (const LineTrace& t : shapes.lines) {
        for (const ValueOffer& o : t.labels)
            offer(values, o);
    }
    // The columns keep other points' labels off them; with no label offered (a dense chart, or
    // values not shown) their boxes are not copied at all.
    if (values.anyOffered()) addColumnObstacles(values, g, style, shapes.columns);
    return values.settle();
}

// What the layout step hands the drawing step besides the frame.
struct CartesianPlan {
    TitleLayout titles;
    LegendLayout legend;
    SeriesLayout shapes;
    std::vector<TextItem> values;
    bool scrolling = false;
    bool zoomed = false; // the viewer zoomed to a range of the categories
};

// Walks the laid-out chart onto the scene: titles, legend, the frame behind the series, the
// series clipped to the plot, then the frame's front with the value labels, and the scroll bar.
void drawCartesian(ChartContext& ctx, CartesianFrame& frame, const PlotGeometry& g,
                   const SeriesStyle& style, CartesianPlan& plan, const ViewState& view) {
    drawTexts(ctx.scene, plan.titles.texts);
    drawLegend(ctx, plan.legend);
    // The points' regions are kept as runs of coordinates: room for those of every column and
    // every line or area point is made once.
    std::size_t circles = 0;
    for (const AreaShape& a : plan.shapes.areas)
        circles += a.spots.size();
    for (const LineTrace& t : plan.shapes.lines)
        circles += t.spots.size();
    ctx.scene.hits.reserve(plan.shapes.columns.boxes.size(), circles);
    frame.drawBack();
    ctx.scene.add(ClipPush{
        {g.plot.x - 1, g.plot.y - g.depth - 1, g.plot.w + g.depth + 2, g.plot.h + g.depth + 2}});
    drawAreas(ctx, plan.shapes.areas, style.showPlotBorder);
    drawColumns(ctx, g, style, plan.shapes.columns);
    drawLines(ctx, plan.shapes.lines);
    ctx.scene.add(ClipPop{});
    frame.drawFront(plan.values);
    if (plan.scrolling) frame.drawScrollBar(view);
}

} // namespace

bool renderCartesian(ChartContext& ctx, const ChartMovie& movie, ViewState& view) {
    const ChartModel& m = ctx.model;
    std::size_t categories = categoryCount(m);
    std::vector<PlotSeries> series = buildSeries(ctx, movie, categories);
    // The legend lists every series; those the viewer hid are then left out of the chart.
    std::vector<LegendItem> legend = legendItems(ctx, movie, series);
    std::erase_if(series, [&](const PlotSeries& s) { return ctx.hides(s.index); });
    if (m.chart.flag("logscale", false)) skipNonPositive(ctx.scene.layout, series);
    SeriesStyle style = seriesStyle(m, movie, series, categories);

    PlotGeometry g;
    g.horizontal = movie.family == Family::Bar;
    // A zoomed chart's value axes fit the categories shown.
    const CategorySpan zoom = zoomedSpan(ctx.view, categories);
    setScales(ctx, movie, series, g, zoom);
    CartesianPlan plan;
    plan.titles = layoutTitles(ctx, marginArea(ctx));
    plan.legend = layoutLegend(ctx, legend, plan.titles.rest);
    Rect area = plan.legend.rest;
    plan.scrolling = setWindow(m.chart, movie, area, categories, view, g);
    plan.zoomed = zoomWindow(zoom, categories, view, g);
    if (ctx.motion && !plan.scrolling && !plan.zoomed) g.weigh(ctx.motion->slotShares());
    CartesianFrame frame(ctx, g, series, style);
    frame.layout(area, plan.scrolling);
    if (ctx.motion) {
        ctx.motion->stagger(g.count, g.first);
        style.columnSlots = moveSeries(ctx, g, series, categories);
    }
    plan.shapes.areas = layoutAreas(g, series, style);
    plan.shapes.columns = layoutColumns(ctx, g, series, style);
    plan.shapes.lines = layoutLines(ctx, g, series, style);
    plan.values = placeValueLabels(ctx, g, style, frame, area, plan.shapes, categories);
    recordLayout(ctx.scene.layout, g, series, plan.scrolling, plan.zoomed);
    listTexts(ctx.scene.layout, plan.titles.texts);
    listTexts(ctx.scene.layout, plan.legend.texts());
    frame.listTexts(plan.values);
    if (ctx.drawing) drawCartesian(ctx, frame, g, style, plan, view);
    return true;
}

} // namespace plotara::player

namespace plotara::player {

namespace {

// The series a point region is of; null for none.
const Series* seriesOf(const ChartModel& m, const HitRegion& hit) {
    if (hit.seriesIndex < 0 || hit.pointIndex < 0) return nullptr;
    const auto si = static_cast<std::size_t>(hit.seriesIndex);
    if (si < m.datasets.size()) return &m.datasets[si];
    if (si - m.datasets.size() < m.linesets.size()) return &m.linesets[si - m.datasets.size()];
    return nullptr;
}

// The tool text a point gets when its document gives none: the series (when the chart has more
// than one), the label, the value.
void usualToolText(const ChartModel& m, const Series& s, HitRegion& hit) {
    std::string& out = hit.toolText;
    out.clear();
    if (m.datasets.size() + m.linesets.size() > 1 && !s.name.empty()) {
        out += s.name;
        out += ", ";
    }
    if (!hit.label.empty()) {
        out += hit.label;
        out += ", ";
    }
    out += hit.value;
}

} // namespace

void describeCategoryPoints(const ChartModel& m, bool dualY, std::span<HitRegion> hits) {
    // The formats are read from the chart's attributes once: a page describes every point.
    std::optional<NumberFormat> formats[2];
    for (HitRegion& hit : hits) {
        const Series* s = hit.lazyText ? seriesOf(m, hit) : nullptr;
        const auto pi = static_cast<std::size_t>(hit.pointIndex);
        if (!s || pi >= s->points.size()) continue;
        const DataPoint& p = s->points[pi];
        const bool lineset = static_cast<std::size_t>(hit.seriesIndex) >= m.datasets.size();
        const bool secondary =
            dualY && (lineset || equalsNoCase(trimSpace(s->attrs.text("parentyaxis")), "s"));
        std::optional<NumberFormat>& fmt = formats[secondary ? 1 : 0];
        if (!fmt) fmt = numberFormatOf(m.chart, secondary);
        hit.series = s->name;
        hit.label = pi < m.categories.size() ? m.categories[pi].label : p.attrs.text("label");
        hit.value = fmt->format(p.value);
        if (p.attrs.has("tooltext")) {
            hit.toolText = p.attrs.text("tooltext");
        } else if (p.attrs.has("hovertext")) {
            hit.toolText = p.attrs.text("hovertext");
        } else {
            usualToolText(m, *s, hit);
        }
        hit.lazyText = false;
    }
}

} // namespace plotara::player
