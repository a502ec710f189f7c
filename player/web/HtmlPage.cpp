#include "player/web/HtmlPage.h"
#include "player/web/PagePacking.h"

#include "player/draw/SvgMarkup.h"
#include "player/web/PageScript.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <utility>

namespace plotara::player {

namespace {

// The policy of a whole page: nothing is fetched, and the one script runs by its hash.
void appendPolicy(std::string& out) {
    out += "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
           "script-src '";
    out += pageScriptHash();
    out += "'; base-uri 'none'; form-action 'none'\">\n";
}

std::string captionOf(const ChartLayout* layout) {
    if (layout) {
        for (const LayoutText& t : layout->texts) {
            if (t.tag.kind == TextKind::Caption) return t.fullText.empty() ? t.text : t.fullText;
        }
    }
    return "Chart";
}

// One id of the page: the prefix, then the part.
void appendId(std::string& out, std::string_view prefix, std::string_view part) {
    appendXmlText(out, prefix);
    out += part;
}

// A scroll chart's SVG: what every window has, and a group for each window's own parts, all but
// the shown one's hidden.
std::string scrollSvg(const PageScroll& scroll) {
    std::string out = scroll.head;
    for (const PageScroll::Segment& segment : scroll.segments) {
        for (std::size_t k = 0; k < scroll.starts.size(); ++k) {
            if (segment.parts[k].empty()) continue;
            out += "<g data-plotara-window=\"" + std::to_string(scroll.starts[k]) + '"';
            out += scroll.starts[k] == scroll.shown ? ">\n" : " display=\"none\">\n";
            out += segment.parts[k];
            out += "</g>\n";
        }
        out += segment.shared;
    }
    return out + scroll.tail;
}

// The inline SVG: the document without its XML declaration, the hit elements last inside it.
void appendSvg(std::string& out, const HtmlChart& chart, const std::vector<PointRun>& runs) {
    const std::string windows = chart.scroll ? scrollSvg(*chart.scroll)
                                : chart.zoom ? zoomSvg(*chart.zoom)
                                             : std::string();
    std::string_view svg = chart.scroll || chart.zoom ? windows : chart.svg;
    if (svg.starts_with("<?xml")) svg.remove_prefix(std::min(svg.size(), svg.find('\n') + 1));
    const std::size_t end = svg.rfind("</svg>");
    if (end == std::string_view::npos) return;
    out += svg.substr(0, end);
    appendHitElements(out, chart, runs);
    out += svg.substr(end);
}

// The data table's frame: the script fills in a row per plot element (series, label, value) from
// the page data when the table is first shown, so a dense page does not carry it twice.
void appendTable(std::string& out, const HtmlChart& chart, std::string_view prefix) {
    out += "<table id=\"";
    appendId(out, prefix, "-table");
    out += "\" hidden>\n<caption>";
    appendXmlText(out, captionOf(chart.layout));
    out += "</caption>\n<thead><tr><th scope=\"col\">Series</th><th scope=\"col\">Label</th>"
           "<th scope=\"col\">Value</th></tr></thead>\n<tbody></tbody>\n</table>\n";
}

// The range a zoomed chart's page shows first, as the script writes a window's: the numbers
// joined by commas, each in its shortest exact form.
void appendRange(std::string& out, const std::array<double, 4>& range) {
    out += "\" data-plotara-range=\"";
    for (std::size_t i = 0; i < range.size(); ++i) {
        char number[32];
        if (i > 0) out += ',';
        out.append(number, std::to_chars(number, number + sizeof number, range[i]).ptr);
    }
}

void appendFigure(std::string& out, const HtmlChart& chart, std::string_view prefix) {
    const std::vector<PointRun> runs = pointRuns(chart.regions, chart.regionWindow);
    out += "<figure class=\"plotara\" id=\"";
    appendXmlText(out, prefix);
    if (chart.zoom) {
        out += chart.zoom->xy ? "\" data-plotara-zooms=\"xy" : "\" data-plotara-zooms=\"x";
        if (chart.zoom->shown) appendRange(out, chart.zoom->ranges[chart.zoom->shown]);
    }
    out += "\" aria-labelledby=\"";
    appendId(out, prefix, "-caption");
    out += "\">\n<figcaption id=\"";
    appendId(out, prefix, "-caption");
    out += "\">";
    appendXmlText(out, captionOf(chart.layout));
    out += "</figcaption>\n";
    appendSvg(out, chart, runs);
    out += "<div role=\"tooltip\" id=\"";
    appendId(out, prefix, "-tip");
    out += "\" hidden></div>\n<button type=\"button\" id=\"";
    appendId(out, prefix, "-data-button");
    out += "\" aria-controls=\"";
    appendId(out, prefix, "-table");
    out += "\" aria-expanded=\"false\">data</button>\n";
    appendTable(out, chart, prefix);
    out += "<script type=\"application/json\" id=\"";
    appendId(out, prefix, "-data");
    out += "\">";
    appendPageData(out, chart, runs);
    out += "</script>\n<script>";
    out += pageScript();
    out += "</script>\n";
    if (chart.zoom) {
        // The zoom windows, after the script: text the browser neither lays out nor needs for
        // the first paint, packed (base64 holds nothing that could end the element); the script
        // inflates and parses it when the viewer first zooms.
        out += "<script type=\"application/zlib\" id=\"";
        appendId(out, prefix, "-zoom");
        out += "\">";
        out += deflatedBase64(zoomJson(*chart.zoom));
        out += "</script>\n";
    }
    out += "</figure>\n";
}

} // namespace

std::string pageIdPrefix(const HtmlOptions& options) {
    return options.idPrefix.empty() ? "plotara" : options.idPrefix;
}

std::string writeHtmlPage(const HtmlChart& chart, const HtmlOptions& options) {
    const std::string prefix = pageIdPrefix(options);
    std::string out;
    out.reserve(chart.svg.size() + 200 * chart.regions.size() + pageScript().size() + 2048);
    if (!options.fragment) {
        out += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
        appendPolicy(out);
        out += "<title>";
        appendXmlText(out, captionOf(chart.layout));
        out += "</title>\n</head>\n<body>\n";
    }
    appendFigure(out, chart, prefix);
    if (!options.fragment) out += "</body>\n</html>\n";
    return out;
}

} // namespace plotara::player
