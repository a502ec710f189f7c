// The page's hit elements and the data its script reads: one invisible element over every hit
// region, named and given the role a screen reader needs, and every region's tool text and link
// as JSON.
#include "player/ElementName.h"
#include "player/detail/Invoke.h"
#include "player/draw/SvgMarkup.h"
#include "player/layout/JsonWriter.h"
#include "player/util/TextUtil.h"
#include "player/web/HtmlPage.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace plotara::player {

namespace {

void appendAttribute(std::string& out, std::string_view name, double v) {
    out += ' ';
    out += name;
    out += "=\"";
    appendSvgNumber(out, v);
    out += '"';
}

void appendPoint(std::string& out, double x, double y) {
    appendSvgNumber(out, x);
    out += ',';
    appendSvgNumber(out, y);
}

// A wedge as a path: along the outer arc clockwise, back along the inner one (or to the centre).
void appendWedge(std::string& out, const HitRegion& r) {
    const double ys = r.yScale > 0 ? r.yScale : 1;
    const double sweep = std::min(r.a1 - r.a0, 2 * std::numbers::pi - 1e-6);
    const auto at = [&](double radius, double a) {
        appendPoint(out, r.center.x + radius * std::cos(a), r.center.y + radius * ys * std::sin(a));
    };
    const auto arc = [&](double radius, double a, bool clockwise) {
        out += 'A';
        appendPoint(out, radius, radius * ys);
        out += sweep > std::numbers::pi ? " 0 1 " : " 0 0 ";
        out += clockwise ? "1 " : "0 ";
        at(radius, a);
    };
    out += "<path d=\"M";
    at(r.radius, r.a0);
    arc(r.radius, r.a0 + sweep, true);
    out += 'L';
    if (r.inner > 0) {
        at(r.inner, r.a0 + sweep);
        arc(r.inner, r.a0, false);
    } else {
        appendPoint(out, r.center.x, r.center.y);
    }
    out += "Z\"";
}

void appendShape(std::string& out, const HitRegion& r) {
    switch (r.shape) {
    case HitRegion::Shape::Rect:
        out += "<rect";
        appendAttribute(out, "x", r.rect.x);
        appendAttribute(out, "y", r.rect.y);
        appendAttribute(out, "width", std::max(r.rect.w, 0.0));
        appendAttribute(out, "height", std::max(r.rect.h, 0.0));
        return;
    case HitRegion::Shape::Polygon:
        out += "<polygon points=\"";
        for (std::size_t i = 0; i < r.polygon.size(); ++i) {
            if (i > 0) out += ' ';
            appendPoint(out, r.polygon[i].x, r.polygon[i].y);
        }
        out += '"';
        return;
    case HitRegion::Shape::Circle:
        out += "<circle";
        appendAttribute(out, "cx", r.center.x);
        appendAttribute(out, "cy", r.center.y);
        appendAttribute(out, "r", r.radius);
        return;
    case HitRegion::Shape::Wedge:
        appendWedge(out, r);
        return;
    }
}

// The scroll bar: the track is the element keyboard users scroll with, the buttons step.
void appendScrollRole(std::string& out, const HitRegion& r, const HtmlChart& chart) {
    if (r.kind != HitKind::ScrollTrack) {
        out += r.kind == HitKind::ScrollLeft ? " aria-label=\"Scroll left\" role=\"button\""
                                             : " aria-label=\"Scroll right\" role=\"button\"";
        return;
    }
    const std::size_t shown = chart.scroll ? chart.scroll->shown : 0;
    const std::size_t last = chart.scroll ? chart.scroll->total - chart.scroll->visible : 0;
    out += " aria-label=\"Scroll\" role=\"scrollbar\" aria-orientation=\"horizontal\"";
    out += " aria-valuemin=\"0\" aria-valuemax=\"" + std::to_string(last) + "\" aria-valuenow=\"" +
           std::to_string(shown) + "\" tabindex=\"0\"";
}

void appendRole(std::string& out, const HitRegion& r, const HtmlChart& chart) {
    if (isScroll(r.kind)) return appendScrollRole(out, r, chart);
    out += " aria-label=\"";
    appendXmlText(out, elementName(r.label, r.value, r.toolText));
    out += '"';
    if (r.kind == HitKind::Legend && chart.legendToggles && r.seriesIndex >= 0) {
        const bool hidden =
            std::ranges::find(chart.hiddenSeries, r.seriesIndex) != chart.hiddenSeries.end();
        // A series the viewer hid is not in the picture: the page cannot show it.
        out += hidden ? " role=\"checkbox\" aria-checked=\"false\" aria-disabled=\"true\""
                      : " role=\"checkbox\" aria-checked=\"true\"";
        out += " tabindex=\"0\"";
    } else if (!callForLink(r.link).name.empty()) {
        out += " role=\"link\" tabindex=\"0\"";
    } else {
        out += " role=\"img\"";
    }
}

// A scroll chart's plot elements go in a group per window, shown with the window.
class WindowGroups {
public:
    WindowGroups(std::string& out, const HtmlChart& chart) : out_(out), chart_(chart) {}
    ~WindowGroups() { enter(-1); }
    WindowGroups(const WindowGroups&) = delete;
    WindowGroups& operator=(const WindowGroups&) = delete;
    void enterFor(std::size_t region) {
        enter(region < chart_.regionWindow.size() ? chart_.regionWindow[region] : -1);
    }

private:
    void enter(long window) {
        if (window == open_) return;
        if (open_ >= 0) out_ += "</g>\n";
        open_ = window;
        if (window < 0) return;
        out_ += "<g data-plotara-window=\"" + std::to_string(window) + '"';
        out_ += static_cast<std::size_t>(window) == chart_.scroll->shown ? ">\n"
                                                                         : " display=\"none\">\n";
    }
    std::string& out_;
    const HtmlChart& chart_;
    long open_ = -1;
};

} // namespace

void appendHitElements(std::string& out, const HtmlChart& chart,
                       const std::vector<PointRun>& runs) {
    out += "<g class=\"plotara-hits\" fill=\"#000\" fill-opacity=\"0\">\n";
    {
        WindowGroups groups(out, chart);
        auto run = runs.begin();
        for (std::size_t i = 0; i < chart.regions.size(); ++i) {
            // A page that shows one window only has no use for the scroll bar.
            if (isScroll(chart.regions[i].kind) && !chart.scroll) continue;
            groups.enterFor(i);
            if (run != runs.end() && run->first == i) {
                appendRunElement(out, chart, *run);
                i += run++->count - 1;
                continue;
            }
            appendShape(out, chart.regions[i]);
            out += " data-plotara-hit=\"" + std::to_string(i) + '"';
            appendRole(out, chart.regions[i], chart);
            out += "/>\n";
        }
    }
    out += "</g>\n";
}

// A host call becomes the drill-down event's action and parameter (split at every comma, empty
// parts kept; null when empty), an address is opened when the player allows its scheme.
void writePageLink(JsonWriter& json, const std::string& link) {
    const InvokeCall call = callForLink(link);
    if (call.name.empty()) return;
    if (call.name != "PT_Link") {
        json.key("call").object([&] {
            json.key("action").string(call.name);
            json.key("parameter");
            if (call.argument.empty()) return json.null();
            std::vector<std::string> parts;
            for (std::size_t from = 0;;) {
                const std::size_t comma = call.argument.find(',', from);
                parts.push_back(call.argument.substr(from, comma - from));
                if (comma == std::string::npos) break;
                from = comma + 1;
            }
            json.list(parts, JsonWriter::Line::Same, [&](const std::string& p) { json.string(p); });
        });
    } else if (isOpenableAddress(link)) {
        json.key("href").string(std::string(trimSpace(link)));
    }
}

namespace {

void writeRegion(JsonWriter& json, const HitRegion& r, long window) {
    json.object([&] {
        json.key("k").string(kindName(r.kind));
        if (window >= 0) json.key("w").number(static_cast<double>(window));
        json.key("s").number(r.seriesIndex);
        json.key("p").number(r.pointIndex);
        json.key("t").string(r.toolText);
        writePageLink(json, r.link);
        if (r.pointIndex < 0) return;
        json.key("l").string(r.label); // the data table's
        if (r.seriesIndex < 0) json.key("sn").string(r.series);
        json.key("v").string(r.value);
    });
}

// Where a scroll chart's window is and can go, in categories.
void writeScroll(JsonWriter& json, const PageScroll& scroll) {
    json.key("scroll").object([&] {
        json.key("at").count(scroll.shown);
        json.key("visible").count(scroll.visible);
        json.key("total").count(scroll.total);
        json.key("starts").list(scroll.starts, JsonWriter::Line::Same,
                                [&](std::size_t s) { json.count(s); });
    });
}

// The series' names by index, for the data table. A run's points are of one series: its last
// point stands for it.
std::vector<std::string> seriesNames(const std::vector<HitRegion>& regions,
                                     const std::vector<PointRun>& runs) {
    std::vector<std::string> names;
    auto run = runs.begin();
    for (std::size_t i = 0; i < regions.size(); ++i) {
        if (run != runs.end() && run->first == i) i += run++->count - 1;
        const HitRegion& r = regions[i];
        if (r.pointIndex < 0 || r.seriesIndex < 0) continue;
        const auto s = static_cast<std::size_t>(r.seriesIndex);
        if (s >= names.size()) names.resize(s + 1);
        names[s] = r.series;
    }
    return names;
}

// An entry of the page data's regions: one region, or a run of them.
struct PageEntry {
    std::size_t region = 0;
    const PointRun* run = nullptr;
};

std::vector<PageEntry> pageEntries(std::size_t regions, const std::vector<PointRun>& runs) {
    std::vector<PageEntry> entries;
    auto run = runs.begin();
    for (std::size_t i = 0; i < regions; ++i) {
        if (run != runs.end() && run->first == i) {
            entries.push_back({i, &*run});
            i += run++->count - 1;
        } else {
            entries.push_back({i, nullptr});
        }
    }
    return entries;
}

} // namespace

void appendPageData(std::string& out, const HtmlChart& chart, const std::vector<PointRun>& runs) {
    JsonWriter json(std::move(out)); // written straight on after the page so far
    json.setScriptSafe(true);
    json.object([&] {
        json.key("drawIn").number(chart.drawIn);
        const bool bars = chart.layout && !chart.layout->series.empty() &&
                          chart.layout->series.front().renderAs == "bar";
        json.key("bars").boolean(bars);
        if (chart.layout && chart.layout->plot) json.key("plot").box(*chart.layout->plot);
        writeDrawIn(json, chart, bars);
        if (chart.scroll) writeScroll(json, *chart.scroll);
        if (chart.zoom) writeZoomShown(json, *chart.zoom);
        json.key("series").list(seriesNames(chart.regions, runs), JsonWriter::Line::Same,
                                [&](const std::string& name) { json.string(name); });
        // A run stands for its regions: the script counts it as "n" of them.
        json.key("regions", JsonWriter::Line::Own)
            .list(pageEntries(chart.regions.size(), runs), JsonWriter::Line::Own,
                  [&](const PageEntry& e) {
                      if (e.run) return writePointRun(json, chart, *e.run);
                      const std::vector<long>& w = chart.regionWindow;
                      writeRegion(json, chart.regions[e.region],
                                  e.region < w.size() ? w[e.region] : -1);
                  });
    });
    out = json.take();
}

} // namespace plotara::player
