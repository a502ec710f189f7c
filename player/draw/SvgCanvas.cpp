#include "player/draw/SvgCanvas.h"

#include "platform/PictureSize.h"
#include "player/draw/SvgMarkup.h"
#include "player/draw/SvgPageLines.h"
#include "player/draw/SvgText.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>

namespace plotara::player {

namespace {

constexpr double pi = std::numbers::pi;

double side(double v) {
    return std::max(1.0, std::clamp(std::isfinite(v) ? v : 0.0, 0.0, double{maxPictureSide}));
}

void appendPoint(std::string& out, char command, double x, double y) {
    out += command;
    appendSvgNumber(out, x);
    out += ' ';
    appendSvgNumber(out, y);
}

bool finite(const PathSeg& s) {
    return std::isfinite(s.x) && std::isfinite(s.y) && std::isfinite(s.rx) && std::isfinite(s.ry) &&
           std::isfinite(s.a0) && std::isfinite(s.a1);
}

// An elliptical arc as cairo draws it: a line (or, with no current point, a move) to the start,
// then the sweep, with an end angle before the start (after it, for a negative arc) moved on by
// whole turns. The sweep goes out in pieces of at most a quarter turn, so no piece is ambiguous;
// a sweep of several turns keeps them (a dashed outline goes on along them, as in cairo) up to
// 16 turns and the rest.
void appendArc(std::string& out, const PathSeg& s, bool current) {
    if (s.rx <= 0 || s.ry <= 0) {
        appendPoint(out, current ? 'L' : 'M', s.x, s.y);
        return;
    }
    const bool forward = s.op == PathOp::Arc;
    double sweep = forward ? s.a1 - s.a0 : s.a0 - s.a1;
    if (sweep < 0) {
        sweep = std::fmod(sweep, 2 * pi);
        if (sweep < 0) sweep += 2 * pi;
    }
    constexpr double maxTurns = 16;
    if (sweep > maxTurns * 2 * pi) sweep = maxTurns * 2 * pi + std::fmod(sweep, 2 * pi);
    appendPoint(out, current ? 'L' : 'M', s.x + s.rx * std::cos(s.a0), s.y + s.ry * std::sin(s.a0));
    const int pieces = std::max(1, static_cast<int>(std::ceil(sweep / (pi / 2) - 1e-9)));
    if (sweep <= 0) return;
    for (int i = 1; i <= pieces; ++i) {
        const double a = s.a0 + (forward ? 1 : -1) * sweep * i / pieces;
        out += 'A';
        appendSvgNumber(out, s.rx);
        out += ' ';
        appendSvgNumber(out, s.ry);
        out += forward ? " 0 0 1 " : " 0 0 0 ";
        appendSvgNumber(out, s.x + s.rx * std::cos(a));
        out += ' ';
        appendSvgNumber(out, s.y + s.ry * std::sin(a));
    }
}

// The path data; false (and nothing written) when a coordinate is not finite.
bool appendPathData(std::string& out, const Path& path) {
    const std::vector<PathSeg>& segs = path.segments();
    if (!std::all_of(segs.begin(), segs.end(), finite)) return false;
    bool current = false;
    for (const PathSeg& s : segs) {
        switch (s.op) {
        case PathOp::Move:
            appendPoint(out, 'M', s.x, s.y);
            break;
        case PathOp::Line:
            appendPoint(out, current ? 'L' : 'M', s.x, s.y);
            break;
        case PathOp::Arc:
        case PathOp::ArcNegative:
            appendArc(out, s, current);
            break;
        case PathOp::Close:
            if (current) out += 'Z';
            break;
        }
        current = current || s.op != PathOp::Close;
    }
    return true;
}

void appendStroke(std::string& out, const Stroke& s) {
    appendSvgPaint(out, "stroke", s.color);
    out += " stroke-width=\"";
    appendSvgNumber(out, std::max(std::isfinite(s.width) ? s.width : 1.0, 0.1), 3);
    out += "\" stroke-linejoin=\"round\"";
    if (s.dash > 0) {
        out += " stroke-dasharray=\"";
        appendSvgNumber(out, s.dash, 3);
        out += ' ';
        appendSvgNumber(out, s.gap > 0 ? s.gap : s.dash, 3);
        out += '"';
    }
}

// The marker's outline around (cx, cy), as the raster canvas draws it: a circle, or a regular
// polygon of up to 20 sides with a corner straight up.
void appendMarkerData(std::string& out, const MarkerItem& m, double cx, double cy) {
    const int sides = std::min(m.sides, 20);
    const double r = m.radius;
    if (sides < 3) {
        appendPoint(out, 'M', cx + r, cy);
        for (double x : {cx - r, cx + r}) {
            out += 'A';
            appendSvgNumber(out, r);
            out += ' ';
            appendSvgNumber(out, r);
            out += " 0 1 1 ";
            appendSvgNumber(out, x);
            out += ' ';
            appendSvgNumber(out, cy);
        }
        out += 'Z';
        return;
    }
    for (int i = 0; i < sides; ++i) {
        const double a = -pi / 2 + 2 * pi * i / sides;
        appendPoint(out, i == 0 ? 'M' : 'L', cx + r * std::cos(a), cy + r * std::sin(a));
    }
    out += 'Z';
}

void appendMarkerStyle(std::string& out, const MarkerItem& m) {
    appendSvgPaint(out, "fill", m.fill);
    if (m.bordered) {
        appendStroke(out, m.border);
    } else {
        out += " stroke=\"none\"";
    }
}

bool finitePoint(const Point& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// Outlines this long are worth a shared definition when they are stroked again.
constexpr std::size_t sharedOutline = 64;

bool isLongOutline(const ShapeItem& item) {
    return item.stroked && !item.filled && item.path.segments().size() > sharedOutline;
}

bool samePath(const Path& a, const Path& b) {
    if (a.shares(b)) return true; // a second stroke of the same path
    return std::equal(a.segments().begin(), a.segments().end(), b.segments().begin(),
                      b.segments().end(), [](const PathSeg& s, const PathSeg& t) {
                          return s.op == t.op && s.x == t.x && s.y == t.y && s.rx == t.rx &&
                                 s.ry == t.ry && s.a0 == t.a0 && s.a1 == t.a1;
                      });
}

bool opaque(const std::vector<Stroke>& strokes) {
    return std::all_of(strokes.begin(), strokes.end(),
                       [](const Stroke& s) { return s.color.a >= 1; });
}

} // namespace

bool SvgCanvas::pageLine(const Path& path, const std::vector<Stroke>& strokes) const {
    // A dash pattern runs along the path's length, which thinning changes.
    return pageLines_ && isPageLine(path) &&
           std::none_of(strokes.begin(), strokes.end(), [](const Stroke& s) { return s.dash > 0; });
}

SvgCanvas::SvgCanvas(double width, double height, TextEngine& text) : text_(text) {
    const double w = side(width), h = side(height);
    out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\" width=\"";
    appendSvgNumber(out_, w);
    out_ += "px\" height=\"";
    appendSvgNumber(out_, h);
    out_ += "px\" viewBox=\"0 0 ";
    appendSvgNumber(out_, w);
    out_ += ' ';
    appendSvgNumber(out_, h);
    // Spaces in labels are kept as they are (not collapsed or trimmed), as the measure counts
    // them.
    out_ += "\" xml:space=\"preserve\">\n";
}

void SvgCanvas::setIdPrefix(std::string_view prefix) {
    idPrefix_.clear();
    if (prefix.empty()) return;
    appendXmlText(idPrefix_, prefix);
    idPrefix_ += '-';
}

std::string SvgCanvas::nextId(char kind) {
    // Appended piece by piece: GCC 12 warns (-Wrestrict) on a chain of temporaries here.
    std::string id = idPrefix_;
    id += kind;
    id += std::to_string(++nextId_);
    return id;
}

void SvgCanvas::syncSeries() {
    if (!seriesGroups_ || wantedSeries_ == openSeries_) return;
    flushOutlines();
    closeSeries();
    if (wantedSeries_ < 0) return;
    out_ += "<g data-plotara-series=\"" + std::to_string(wantedSeries_) + "\">\n";
    openSeries_ = wantedSeries_;
}

void SvgCanvas::closeSeries() {
    if (openSeries_ < 0) return;
    out_ += "</g>\n";
    openSeries_ = -1;
}

void SvgCanvas::shape(const ShapeItem& item) {
    if (item.path.empty() || (!item.filled && !item.stroked)) return;
    syncSeries();
    const bool longOutline = isLongOutline(item);
    if (!outlineStrokes_.empty() && !(longOutline && samePath(item.path, outline_)))
        flushOutlines();
    if (longOutline) {
        if (outlineStrokes_.empty()) outline_ = item.path;
        outlineStrokes_.push_back(item.stroke);
        return;
    }
    writeShape(item);
}

bool SvgCanvas::writeOutlineDefinition(const std::string& id) {
    if (pageLine(outline_, outlineStrokes_)) {
        out_ += "<defs><g id=\"" + id + "\">\n";
        appendPageLine(out_, outline_, opaque(outlineStrokes_));
        out_ += "</g></defs>\n";
        return true;
    }
    out_ += "<defs><path id=\"" + id + "\" d=\"";
    if (!appendPathData(out_, outline_)) return false;
    out_ += "\"/></defs>\n";
    return true;
}

void SvgCanvas::flushOutlines() {
    if (outlineStrokes_.size() == 1) {
        ShapeItem item;
        item.path = std::move(outline_);
        item.stroked = true;
        item.stroke = outlineStrokes_[0];
        writeShape(item);
    } else if (outlineStrokes_.size() > 1) {
        // The points once; each stroke a <use> of them, which takes its paint from the <use>.
        const std::size_t start = out_.size();
        const std::string id = nextId('p');
        if (!writeOutlineDefinition(id)) {
            out_.resize(start);
        } else {
            for (const Stroke& stroke : outlineStrokes_) {
                out_ += "<use xlink:href=\"#" + id + "\" fill=\"none\"";
                appendStroke(out_, stroke);
                out_ += "/>\n";
            }
        }
    }
    outline_ = Path();
    outlineStrokes_.clear();
}

void SvgCanvas::writeShape(const ShapeItem& item) {
    if (!item.filled && item.stroked && pageLine(item.path, {item.stroke})) {
        out_ += "<g fill=\"none\"";
        appendStroke(out_, item.stroke);
        out_ += ">\n";
        appendPageLine(out_, item.path, opaque({item.stroke}));
        out_ += "</g>\n";
        return;
    }
    const std::size_t start = out_.size();
    out_ += "<path d=\"";
    if (!appendPathData(out_, item.path)) {
        out_.resize(start);
        return;
    }
    out_ += '"';
    if (item.filled) {
        appendSvgPaint(out_, "fill", item.fill);
    } else {
        out_ += " fill=\"none\"";
    }
    if (item.stroked) appendStroke(out_, item.stroke);
    out_ += "/>\n";
}

void SvgCanvas::text(const TextItem& item) {
    flushOutlines();
    syncSeries();
    const std::size_t at = out_.size();
    appendSvgText(out_, item, text_);
    // A page's draw-in shows a value label or a slice's label once its point has arrived.
    const bool label = item.tag.kind == TextKind::ValueLabel || item.tag.kind == TextKind::PieLabel;
    if (seriesGroups_ && label && out_.size() > at)
        out_.insert(at + std::string_view("<text").size(), " data-plotara-label=\"\"");
}

void SvgCanvas::markers(const MarkerItem& item) {
    flushOutlines();
    syncSeries();
    if (item.points.empty()) return;
    if (item.points.size() >= 16) {
        markerSet(item);
        return;
    }
    // A few markers: one path each, as the raster canvas draws them one by one.
    for (const Point& p : item.points) {
        if (!finitePoint(p)) continue;
        out_ += seriesGroups_ ? "<path data-plotara-mark=\"\" d=\"" : "<path d=\"";
        appendMarkerData(out_, item, p.x, p.y);
        out_ += '"';
        appendMarkerStyle(out_, item);
        out_ += "/>\n";
    }
}

// Many markers: the shape once, about the origin, and a <use> at every point inside the clip
// (the points the raster canvas stamps).
void SvgCanvas::markerSet(const MarkerItem& item) {
    const Rect clip = clips_.empty() ? Rect{-1e9, -1e9, 2e9, 2e9} : clips_.back();
    const std::string id = nextId('m');
    out_ += seriesGroups_ ? "<g data-plotara-mark=\"\"" : "<g";
    appendMarkerStyle(out_, item);
    out_ += ">\n<defs><path id=\"" + id + "\" d=\"";
    appendMarkerData(out_, item, 0, 0);
    out_ += "\"/></defs>\n";
    const std::string use = "<use xlink:href=\"#" + id + "\" x=\"";
    // Thousands of lines alike: each block of them is written in place into room made for its
    // longest form, then cut to what was written.
    constexpr std::string_view between = "\" y=\"", end = "\"/>\n";
    const std::size_t longest = use.size() + 2 * maxSvgNumber + between.size() + end.size();
    constexpr std::size_t block = 256;
    for (std::size_t first = 0; first < item.points.size(); first += block) {
        const std::size_t last = std::min(item.points.size(), first + block);
        const std::size_t start = out_.size();
        out_.resize(start + (last - first) * longest);
        char* at = out_.data() + start;
        for (std::size_t i = first; i < last; ++i) {
            const Point& p = item.points[i];
            if (!finitePoint(p) || !clip.contains(p)) continue;
            at = std::copy(use.begin(), use.end(), at);
            at = writeSvgNumber(at, p.x);
            at = std::copy(between.begin(), between.end(), at);
            at = writeSvgNumber(at, p.y);
            at = std::copy(end.begin(), end.end(), at);
        }
        out_.resize(static_cast<std::size_t>(at - out_.data()));
    }
    out_ += "</g>\n";
}

void SvgCanvas::pushClip(const Rect& rect) {
    flushOutlines();
    closeSeries();
    const std::string id = nextId('c');
    out_ += "<clipPath id=\"" + id + "\"><rect x=\"";
    appendSvgNumber(out_, rect.x);
    out_ += "\" y=\"";
    appendSvgNumber(out_, rect.y);
    out_ += "\" width=\"";
    appendSvgNumber(out_, std::max(rect.w, 0.0));
    out_ += "\" height=\"";
    appendSvgNumber(out_, std::max(rect.h, 0.0));
    out_ += "\"/></clipPath>\n<g clip-path=\"url(#" + id + ")\">\n";
    clips_.push_back(rect);
}

void SvgCanvas::popClip() {
    flushOutlines();
    closeSeries();
    if (clips_.empty()) return;
    clips_.pop_back();
    out_ += "</g>\n";
}

std::string SvgCanvas::finish() {
    flushOutlines();
    closeSeries();
    while (!clips_.empty())
        popClip();
    out_ += "</svg>\n";
    return std::move(out_);
}

namespace {

// About the most a scene's items can take as SVG. Without it the document grows by doubling and
// at its last growth holds the old text and twice its room at once, three times a large
// document's size; room taken beyond what is written is never touched, so it costs address
// space rather than memory.
std::size_t roomFor(const Scene& scene) {
    std::size_t room = 4096 + 160 * scene.rects.size();
    for (const SceneItem& item : scene.items) {
        if (const auto* m = std::get_if<MarkerItem>(&item)) {
            room += 512 + 64 * m->points.size();
        } else if (const auto* s = std::get_if<ShapeItem>(&item)) {
            room += 256 + 64 * s->path.segments().size();
        } else {
            room += 256;
        }
    }
    return room;
}

} // namespace

namespace {

std::string writeDocument(const Scene& scene, TextEngine& text, bool seriesGroups,
                          std::string_view idPrefix) {
    SvgCanvas canvas(scene.width, scene.height, text);
    canvas.setSeriesGroups(seriesGroups);
    canvas.setPageLines(seriesGroups);
    canvas.setIdPrefix(idPrefix);
    canvas.reserve(roomFor(scene));
    paintScene(scene, canvas);
    return canvas.finish();
}

} // namespace

std::string writeSvgDocument(const Scene& scene, TextEngine& text) {
    return writeDocument(scene, text, false, {});
}

std::string writeGroupedSvgDocument(const Scene& scene, TextEngine& text,
                                    std::string_view idPrefix) {
    return writeDocument(scene, text, true, idPrefix);
}

} // namespace plotara::player
