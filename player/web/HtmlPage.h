// The chart as one self-contained HTML page (or only its <figure>, for a host page): the still
// picture as inline SVG with its series in groups, an invisible element over every hit region
// named as a screen reader reads it, the chart's data as JSON and as a table, and the page's
// script (page.js), allowed by a Content-Security-Policy hash. docs/web.md describes the page.
#pragma once

#include "player/ChartPlayer.h"
#include "player/draw/HitRegion.h"
#include "player/layout/ChartLayout.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plotara::player {

class JsonWriter;
struct HtmlChart;
struct Scene;

// A scroll chart's window at one start, laid out as the desktop shows it there.
struct ScrollWindow {
    std::size_t start = 0;
    std::string svg;                // writeGroupedSvgDocument, its ids prefixed by windowIdPrefix
    std::vector<HitRegion> regions; // every hit region, texts worked out
};

// How a page holds the chart laid out several ways (a scroll chart's windows, the zoom ladder):
// the SVG every picture has before and after the lines that differ, and between, in drawing
// order, segments of what each picture has of its own followed by elements every one has.
struct WindowSplit {
    std::string head, tail;
    struct Segment {
        std::vector<std::string> parts; // by picture
        std::string shared;
    };
    std::vector<Segment> segments;
};
// Splits the pictures' SVG so. still: the SVG the page shows first, whose ids differ from every
// picture's. Cannot fail beyond running out of memory.
WindowSplit splitWindows(const std::string& still, const std::vector<std::string_view>& pictures);

// A scroll chart's windows on its page, the parts by place in starts.
struct PageScroll : WindowSplit {
    std::size_t shown = 0, visible = 0, total = 0; // categories: the first shown, at once, all
    std::vector<std::size_t> starts;               // the starts the page offers, ascending
};

// A line or scatter chart laid out at one range of its zoom ladder, as the desktop shows it.
struct ZoomWindow {
    std::string svg;               // writeGroupedSvgDocument, its ids prefixed by zoomIdPrefix
    std::array<double, 4> range{}; // x from, to, y from, to (VisibleRange; y 0 on category charts)
    Rect plot;
    std::array<double, 4> map{}; // fitZoomMap
};
// The zoom ladder on a page: the whole chart (picture 0, the still picture unless the chart is
// zoomed) and each window's parts, range, plot and map: the linear map [ax, bx, ay, by] that
// takes a point of the whole chart to the window (x' = ax x + bx, y' = ay y + by).
struct PageZoom : WindowSplit {
    bool xy = false;          // x and y zoom (scatter charts), else x only
    bool scriptLines = false; // some window leaves a series' line to the script (leaveOutLines)
    std::size_t shown = 0;    // the picture the page shows first: a zoomed chart's window
    std::vector<Rect> plots;
    std::vector<std::array<double, 4>> ranges, maps;
};
// The whole chart's plot points by series and point, NaN where it has none. Cannot fail beyond
// running out of memory.
using SeriesPoints = std::vector<std::vector<Point>>;
SeriesPoints seriesPoints(const std::vector<HitRegion>& regions);
// The linear map from the whole chart into a window laid out from it, fitted from a few dozen of
// the window's plot points spread over its regions, when each of them lands where it puts it (to
// a fiftieth of a pixel for each pixel of the map's reach; a logarithmic axis maps linearly too).
// Cannot fail beyond running out of memory.
std::optional<std::array<double, 4>> fitZoomMap(const SeriesPoints& whole, const Scene& window);
// Leaves out of a category window (first .. last) the series' lines the page's script draws from
// the points the page carries: a series whose strokes (the line, and the darker edge of a light
// one) are each one path through its points first - 1 .. last + 1 as the map puts them (within
// the map's tolerance, the points rounded as lineCentre gives them to the page), a new
// piece only after a missing point. Each such stroke keeps its looks on a placeholder that draws
// nothing (markLinePlaceholders). Returns how many series. Cannot fail beyond running out of
// memory.
std::size_t leaveOutLines(Scene& window, const SeriesPoints& whole,
                          const std::array<double, 4>& map, long first, long last);
// Marks the placeholders leaveOutLines left in the window's SVG with data-plotara-line, where
// the script puts the line's points. Cannot fail beyond running out of memory.
void markLinePlaceholders(std::string& svg);
// The prefix of the ids of a zoom window's SVG.
std::string zoomIdPrefix(std::string_view pagePrefix, std::size_t window);
// Makes the page hold the zoom windows (each with its fitted map); without any, the page does not
// zoom. shown: the window of a zoomed chart, which the page shows first; chart.svg is then the
// whole chart's all the same. Cannot fail beyond running out of memory.
void addZoomWindows(HtmlChart& chart, std::vector<ZoomWindow> windows, bool xy,
                    const std::array<double, 4>& whole,
                    std::optional<std::size_t> shown = std::nullopt);
// The zoomable SVG: the parts of the picture shown first in groups the script fills with a
// window's.
std::string zoomSvg(const PageZoom& zoom);
// The window a zoomed chart's page shows first, in the page data: "zoomed": {"k": its index,
// "m", "r", "plot"}, which the script needs before it reads the windows. Writes nothing on a page
// that shows the whole chart first. Cannot fail beyond running out of memory.
void writeZoomShown(JsonWriter& json, const PageZoom& zoom);
// The windows as JSON the script reads on the first zoom, safe inside a <script> element: every
// one's map, range and plot, and the parts of all but the one shown first.
std::string zoomJson(const PageZoom& zoom);

// What the page is made of, as the player has it.
struct HtmlChart {
    std::string svg; // writeGroupedSvgDocument of the still picture
    std::vector<HitRegion>
        regions; // every hit region, texts worked out, as hitRegions() lists them
    const ChartLayout* layout = nullptr;
    bool legendToggles = false;
    std::vector<int> hiddenSeries; // hidden by the viewer: not in the picture
    double drawIn = 0;             // seconds of the load animation, 0 when the chart does not move
    std::optional<PageScroll> scroll; // a scroll chart's windows (addScrollWindows)
    std::vector<long> regionWindow;   // by region: the start of its window, -1 in every window
    std::optional<PageZoom> zoom;     // a line or scatter chart's zoom ladder (addZoomWindows)
};

// The starts a scroll chart's page offers when the last is last and visible categories show at
// once: every one while the windows hold at most pageWindowCategories categories in all, else
// as many as fit (at least two, the first and the last) spread evenly but never more than a
// window apart, and the shown one.
// Cannot fail beyond running out of memory.
inline constexpr std::size_t pageWindowCategories = 1200;
std::vector<std::size_t> pageScrollStarts(std::size_t last, std::size_t visible, std::size_t shown);
// The prefix of the ids of a window's SVG: each window's own, all starting with the page's.
std::string windowIdPrefix(std::string_view pagePrefix, std::size_t start);
// Makes the page of a scroll chart hold its windows (one of them, at shown, the still picture
// chart.svg and chart.regions show): the SVG lines the windows differ in, and the plot
// elements' regions of every window after those of the shown one. Cannot fail beyond running
// out of memory.
void addScrollWindows(HtmlChart& chart, std::vector<ScrollWindow> windows, std::size_t shown,
                      std::size_t visible, std::size_t total);

// A run of plot points that a dense page writes as data rather than as elements: the hit regions
// first .. first + count - 1, circles of one series, kind and radius, in point order. The
// script finds the point under the pointer from their centres.
struct PointRun {
    std::size_t first = 0, count = 0;
    std::size_t linkedAt = 0; // the place in the run of its first linked point; count for none
};
// Above this many point circles in all, a page writes its points as runs: an element each
// makes a page of thousands of points slow to show.
inline constexpr std::size_t densePagePoints = 1000;
// The runs of the regions, none crossing from one scroll window (windows, by region) into
// another; none when they hold at most densePagePoints point circles. Cannot fail beyond
// running out of memory.
std::vector<PointRun> pointRuns(const std::vector<HitRegion>& regions,
                                std::span<const long> windows = {});

// A point's centre (x or y) to a ten-thousandth of a pixel, as a page whose script draws zoom
// windows' lines gives it: a window of a 128th of the categories scales it 128 times. Cannot fail.
double lineCentre(double v);
// A run as one entry of the page data's regions: its centres to a tenth of a pixel (lineCentre
// on a page whose script draws lines), labels, values, the tool texts that differ from the usual
// form and the links. Cannot fail beyond running out of memory.
void writePointRun(JsonWriter& json, const HtmlChart& chart, const PointRun& run);
// The one element keyboard users reach a run's linked points through (arrow keys move it from
// point to point), when the run has links. Cannot fail beyond running out of memory.
void appendRunElement(std::string& out, const HtmlChart& chart, const PointRun& run);
// What following the link does on the page, as members of the open JSON object: "call" for a
// host call, "href" for an address the player opens, nothing else. Cannot fail beyond running
// out of memory.
void writePageLink(JsonWriter& json, const std::string& link);

// The prefix of every id of the chart's page: HtmlOptions::idPrefix, "plotara" when empty.
std::string pageIdPrefix(const HtmlOptions& options);

// The page, or the figure alone. Cannot fail beyond running out of memory.
std::string writeHtmlPage(const HtmlChart& chart, const HtmlOptions& options);

// Writes what the draw-in and the legend's restacking need: for a pie "pie" (centre "c", height
// to width "ys", the slices' angles "a" and centres "o"), else "xy", for category and bubble
// charts "slots" (categories, or the most bubbles of a series), and for category charts
// "rest", the base line's pixel of each series' value axis, across the plot: x for bars, and
// where a series stacks "stacks", each series' stack (-1: none). Writes nothing for a chart
// that does not move (no draw-in, no stack) or has no layout, plot or series. Cannot fail
// beyond running out of memory.
void writeDrawIn(JsonWriter& json, const HtmlChart& chart, bool bars);

// The invisible elements over the hit regions (bottom to top, as the SVG paints them; a run's
// points have none), to go last inside the <svg>. Cannot fail beyond running out of memory.
void appendHitElements(std::string& out, const HtmlChart& chart, const std::vector<PointRun>& runs);
// Appends the chart data the script reads, as JSON that is safe inside a <script> element.
// Cannot fail beyond running out of memory.
void appendPageData(std::string& out, const HtmlChart& chart, const std::vector<PointRun>& runs);

} // namespace plotara::player
