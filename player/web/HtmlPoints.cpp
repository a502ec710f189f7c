// The points of a dense page as data: thousands of invisible elements, one per point, and a
// table row per point made a 10,000-point page take 500 ms and more to show in a browser. A run
// of points is written once as compact centres, labels and values; the script finds the point
// under the pointer from them, builds the table when it is asked for, and gives keyboard users
// one element per run that walks its linked points.
#include "player/ElementName.h"
#include "player/detail/Invoke.h"
#include "player/draw/SvgMarkup.h"
#include "player/layout/JsonWriter.h"
#include "player/web/HtmlPage.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <string_view>
#include <vector>

namespace plotara::player {

namespace {

bool isPoint(const HitRegion& r) {
    return r.shape == HitRegion::Shape::Circle && r.pointIndex >= 0 && r.seriesIndex >= 0;
}

// Whether b goes on the run that a, the region before it, is in.
bool continues(const HitRegion& a, const HitRegion& b) {
    return isPoint(b) && b.seriesIndex == a.seriesIndex && b.pointIndex == a.pointIndex + 1 &&
           b.radius == a.radius && b.kind == a.kind;
}

// A centre to a tenth of a pixel: finer than the pointer needs, far shorter than in full. A
// page whose script draws zoom windows' lines from the centres keeps more (lineCentre).
// x rounded half away from zero, as std::round does, without a library call: the page rounds
// two coordinates of every point.
double rounded(double x) {
    if (!(std::fabs(x) < 1e15)) return std::round(x);
    auto whole = static_cast<long long>(x); // towards zero; x - whole is exact
    const double part = x - static_cast<double>(whole);
    whole += part >= 0.5 ? 1 : part <= -0.5 ? -1 : 0;
    return static_cast<double>(whole);
}
double tenth(double v) {
    return rounded(v * 10) / 10;
}
} // namespace

double lineCentre(double v) {
    return rounded(v * 10000) / 10000;
}

namespace {

// Whether the point's tool text is the one it gets when its document gives none: the series'
// part, the label, the value. Compared piece by piece: the page asks it of every point.
bool usualText(std::string_view lead, const HitRegion& r) {
    std::string_view text = r.toolText;
    const auto take = [&](std::string_view part) {
        if (!text.starts_with(part)) return false;
        text.remove_prefix(part.size());
        return true;
    };
    return take(lead) && (r.label.empty() || (take(r.label) && take(", "))) && text == r.value;
}

bool linked(const HitRegion& r) {
    return !r.link.empty() && !callForLink(r.link).name.empty();
}

} // namespace

std::vector<PointRun> pointRuns(const std::vector<HitRegion>& regions,
                                std::span<const long> windows) {
    const auto window = [&](std::size_t i) { return i < windows.size() ? windows[i] : -1; };
    std::size_t points = 0;
    std::vector<PointRun> runs;
    for (std::size_t i = 0; i < regions.size(); ++i) {
        if (!isPoint(regions[i])) continue;
        ++points;
        if (runs.empty() || runs.back().first + runs.back().count != i ||
            !continues(regions[i - 1], regions[i]) || window(i) != window(i - 1)) {
            runs.push_back({i, 0, 0});
        }
        PointRun& run = runs.back();
        // The first linked point, found in this pass rather than in one of its own.
        if (run.linkedAt == run.count && !linked(regions[i])) ++run.linkedAt;
        ++run.count;
    }
    if (points <= densePagePoints) runs.clear();
    return runs;
}

void writePointRun(JsonWriter& json, const HtmlChart& chart, const PointRun& run) {
    const std::span<const HitRegion> points(chart.regions.data() + run.first, run.count);
    const HitRegion& head = points.front();
    // The series' part of the usual tool text, as the first point has it.
    const std::string lead =
        !head.series.empty() && usualText(head.series + ", ", head) ? head.series + ", " : "";
    json.object([&] {
        json.key("k").string(kindName(head.kind));
        json.key("s").number(head.seriesIndex);
        json.key("p").number(head.pointIndex);
        json.key("n").count(run.count);
        if (run.first < chart.regionWindow.size() && chart.regionWindow[run.first] >= 0)
            json.key("w").number(static_cast<double>(chart.regionWindow[run.first]));
        json.key("r").number(tenth(head.radius));
        json.key("lead").string(lead);
        // One pass over the points (thousands of regions, each far from the last in memory)
        // gathers what the lists below write.
        const auto fine = chart.zoom && chart.zoom->scriptLines ? lineCentre : tenth;
        std::vector<double> xy(2 * points.size());
        std::vector<std::string_view> labels(points.size()), values(points.size());
        std::vector<std::size_t> texts, links; // the points with texts or links of their own
        for (std::size_t j = 0; j < points.size(); ++j) {
            const HitRegion& r = points[j];
            xy[2 * j] = fine(r.center.x);
            xy[2 * j + 1] = fine(r.center.y);
            labels[j] = r.label;
            values[j] = r.value;
            if (!usualText(lead, r)) texts.push_back(j);
            if (linked(r)) links.push_back(j);
        }
        json.key("xy").numberList(xy);
        json.key("l").stringList(labels);
        json.key("v").stringList(values);
        // The texts and links of single points, by their place in the run.
        json.key("t").object([&] {
            for (std::size_t j : texts)
                json.key(std::to_string(j).c_str()).string(points[j].toolText);
        });
        json.key("links").object([&] {
            for (std::size_t j : links)
                json.key(std::to_string(j).c_str()).object([&] {
                    writePageLink(json, points[j].link);
                });
        });
    });
}

void appendRunElement(std::string& out, const HtmlChart& chart, const PointRun& run) {
    if (run.linkedAt >= run.count) return;
    const HitRegion& r = chart.regions[run.first + run.linkedAt];
    out += "<circle cx=\"";
    appendSvgNumber(out, r.center.x);
    out += "\" cy=\"";
    appendSvgNumber(out, r.center.y);
    out += "\" r=\"";
    appendSvgNumber(out, r.radius);
    out += "\" data-plotara-hit=\"" + std::to_string(run.first) + "\" aria-label=\"";
    appendXmlText(out, elementName(r.label, r.value, r.toolText));
    out += "\" role=\"link\" tabindex=\"0\"/>\n";
}

} // namespace plotara::player
