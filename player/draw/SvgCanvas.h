// The Canvas that writes an SVG 1.1 document itself, element by element, in chart units (one
// unit a pixel): shapes as paths, clips as clipped groups, marker sets with their shape written
// once, and texts as <text> elements. Nothing goes through cairo, so the document is made in
// one pass over the display list and its bytes depend on the scene alone.
#pragma once

#include "player/draw/Canvas.h"
#include "player/draw/TextEngine.h"

#include <string>
#include <string_view>
#include <vector>

namespace plotara::player {

class SvgCanvas : public Canvas {
public:
    // Starts a document of the size (each side at least 1). text measures the text items.
    SvgCanvas(double width, double height, TextEngine& text);

    void shape(const ShapeItem& item) override;
    void text(const TextItem& item) override;
    void markers(const MarkerItem& item) override;
    void pushClip(const Rect& rect) override;
    // Ends the innermost clip; nothing when no clip is open.
    void popClip() override;
    // With series groups on, the items of a series go into <g data-plotara-series="N"> groups
    // (a web page hides a series by its groups), and markers and value labels carry
    // `data-plotara-mark` and `data-plotara-label` (the page's draw-in moves a marker whole and
    // shows a label when its point has arrived); off by default, so a picture is as before.
    void seriesMark(int series) override { wantedSeries_ = series; }
    void setSeriesGroups(bool on) { seriesGroups_ = on; }
    // With page lines on, long stroked polylines go out thinned to the pixel columns, opaque ones
    // in pieces (SvgPageLines.h), for a browser to paint quickly; off by default.
    void setPageLines(bool on) { pageLines_ = on; }
    // Starts every id the document names (clips, shared outlines, marker shapes) with
    // "PREFIX-", so several documents inline in one page do not take each other's; empty (the
    // default) names them "c1", "m2", ... as before.
    void setIdPrefix(std::string_view prefix);
    // Takes room for a document of about this many bytes at once. Throws std::bad_alloc when
    // memory runs out.
    void reserve(std::size_t bytes) { out_.reserve(bytes); }

    // Closes the open clips and the document and hands it over; the canvas is spent. Cannot
    // fail beyond allocation.
    std::string finish();

private:
    void markerSet(const MarkerItem& item);
    void writeShape(const ShapeItem& item);
    // Writes the waiting outlines: one as a path, several as one path they all use.
    void flushOutlines();
    // The waiting outline's points as a definition named id; false (part of it written) when a
    // coordinate is not finite.
    bool writeOutlineDefinition(const std::string& id);
    // The next id, with the kind's letter ("c" for a clip, "m" a marker shape, "p" an outline).
    std::string nextId(char kind);
    // Opens the group of the series the items now draw (closing the one before). A group never
    // spans a clip's start or end.
    void syncSeries();
    void closeSeries();
    // Whether the path stroked with these strokes goes out as a page line.
    bool pageLine(const Path& path, const std::vector<Stroke>& strokes) const;

    std::string out_;
    TextEngine& text_;
    std::vector<Rect> clips_;
    std::size_t nextId_ = 0;
    std::string idPrefix_; // as it goes into an attribute, its hyphen included
    // A long stroked outline waits for the next item with its strokes: a line series is stroked
    // twice along the same points (its edge, then the line), and then the points are written
    // once. The outline is a copy, so a caller's item need not outlive the call.
    Path outline_;
    std::vector<Stroke> outlineStrokes_;
    bool seriesGroups_ = false;
    bool pageLines_ = false;
    int wantedSeries_ = -1, openSeries_ = -1;
};

// Writes the scene as an SVG document with its texts as text. Cannot fail beyond allocation.
std::string writeSvgDocument(const Scene& scene, TextEngine& text);
// The same with the series in groups (SvgCanvas::setSeriesGroups) and every id starting with
// idPrefix (SvgCanvas::setIdPrefix), for a web page. Cannot fail beyond allocation.
std::string writeGroupedSvgDocument(const Scene& scene, TextEngine& text,
                                    std::string_view idPrefix);

} // namespace plotara::player
