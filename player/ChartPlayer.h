// The chart player: a MovieHost that reads the movie URL a chart control writes, loads the chart
// XML, draws the chart with cairo (text through FreeType and HarfBuzz), and talks back through
// FlashCall.
#pragma once

#include "core/Diagnostics.h"
#include "platform/MovieHost.h"
#include "player/draw/Output.h"
#include "player/draw/Scene.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace plotara {

// What a point of the chart holds (clickAt, hoverAt, hitRegions).
struct HitInfo {
    bool hit = false;
    player::HitKind kind = player::HitKind::None; // its name: player::kindName
    String series, label, value, toolText, link;
    int seriesIndex = -1, pointIndex = -1; // the series and the point (set) it belongs to
    player::Rect box;     // the element's box in chart units; its centre lies inside the element
                          // for columns, bars, anchors, points and bubbles
    player::Point anchor; // a point inside the element (a slice's or an area's too)
};

// The part of a chart shown. On category charts x counts categories (xMin the first shown, xMax
// the last) and y is the value axis as drawn; on scatter and bubble charts both are axis values.
struct VisibleRange {
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

// The category under a point of a line or area chart's plot (a crosshair): where its guide line
// stands and every shown series' value there, each as a HitInfo of kind Category (series,
// seriesIndex, label, value, pointIndex: the category) whose box is the guide line.
struct CategoryValues {
    bool found = false;
    int index = -1; // the category
    String label;
    double x = 0, top = 0, bottom = 0; // the guide line, chart units
    std::vector<HitInfo> values;
    String toolText; // the label, then one "series: value" line per series
};

// How ChartPlayer::html writes a chart's web page (docs/web.md).
struct HtmlOptions {
    bool fragment = false; // only the <figure>, for a host page, instead of a whole document
    std::string idPrefix;  // the figure's id, which every id inside starts with; "" is "plotara"
    // A line or scatter chart's zoom windows (docs/web.md, Zoom); false writes a page half the
    // size for a dense line, in a twentieth of the time, that does not zoom.
    bool zoom = true;
};

enum class PlayerState {
    Empty,   // nothing loaded, or the chart movie could not be loaded
    Message, // a chart message is shown (no data, invalid XML, failed data load)
    Chart    // a chart is drawn
};

class ChartPlayer : public MovieHost, public DiagnosticsSource {
public:
    ChartPlayer();
    ~ChartPlayer() override;
    ChartPlayer(const ChartPlayer&) = delete;
    ChartPlayer& operator=(const ChartPlayer&) = delete;

    // MovieHost. put_Movie never throws: a missing movie shows nothing and calls nothing back, a
    // bad document shows the matching chart message.
    void applySettings(const MovieHostSettings& settings) override;
    void put_Movie(const String& url) override;
    // Keeps the URL as it is given (get_Movie converts it when asked) and reads the document
    // from it as UTF-8, without a wide copy. Never throws, as put_Movie.
    void put_MovieText(std::shared_ptr<const std::string> url) override;
    // Keeps the head and the shared document (get_Movie builds the whole URL when asked) and
    // parses a copy of the document that is given back once it is parsed. Never throws, as
    // put_Movie.
    void put_MovieParts(MovieUrlParts parts) override;
    String get_Movie() const override;
    void put_BGColor(const String& color) override;
    void put_Menu(bool show) override;
    Single get_Width() const override;
    // A new host size lays the shown chart out again at once; a chart whose URL gave it the
    // host's old size (chartWidth/chartHeight, as the control writes them) takes the new one.
    void put_Width(Single width) override;
    Single get_Height() const override;
    void put_Height(Single height) override;
    // A window host: from the next load on, the chart fills the host's size and the chart size
    // a URL carries (chartWidth/chartHeight) is not used, so the window never has to write a new
    // URL (and parse the document again) to lay the chart out at its own size. Off by default.
    void setFillHost(bool fill) noexcept;
    // Serves "print" (the chart as PDF to the print command); raises an Error when there is no
    // chart, when the spooler is missing or fails, and for functions it does not know.
    String CallFunction(const String& request) override;
    void onFlashCall(std::function<void(const String& request)> handler) override;

    // Receives a record for each load that shows no chart: the chart movie could not be loaded,
    // the data file could not be read, the document is not a chart (an error text, invalid
    // XML), no data to display. Drawing is unchanged. Cannot fail.
    void setDiagnostics(DiagnosticsHandler handler) override;

    // The state after the last load. Cannot fail.
    PlayerState state() const;
    // The chart message shown in the Message state, "" otherwise. Cannot fail.
    String messageText() const;
    // The messages shown in order during the last load (loading, retrieving, parsing,
    // rendering, and the final one if any). Cannot fail.
    std::vector<String> messageLog() const;
    // The size the chart is drawn at (chartWidth/chartHeight of the URL, else the host size).
    double chartWidth() const;
    double chartHeight() const;

    // The picture a container paints: premultiplied ARGB at a device pixel ratio. An empty
    // player gives a blank picture of its size. Cannot fail.
    player::ArgbImage surface(double pixelRatio = 1) const;
    // The same picture without a copy: the player's own pixels, which stay as they are while
    // the result's hold lives (the next picture is painted elsewhere meanwhile); a window that
    // lets go of a picture before asking for the next gets the same memory again. Cannot fail.
    player::SharedArgb sharedSurface(double pixelRatio = 1) const;
    // The same picture as PNG, SVG or PDF bytes; "" only when cairo cannot encode. The SVG
    // carries its texts as <text> elements unless asked for glyph outlines.
    std::string png(double pixelRatio = 1) const;
    // How many threads may paint one raster picture (surface, png, savePng): 1 by default, the
    // calling thread alone (the player starts no thread of its own); a host with a core to spare
    // sets 2, and a second thread, started on first need and asleep between tasks, strokes half
    // of a chart's long lines and compresses half of a large PNG. The pixels are the same either
    // way. Values below 1 count as 1, above 2 as 2.
    void setPaintThreads(int threads) noexcept;
    int paintThreads() const noexcept;
    // With two paint threads allowed (setPaintThreads(2)), starts the second one now, ahead of a
    // raster picture, for a caller about to load a chart and draw it (the command line): the
    // thread's start (which can take milliseconds on a virtual machine's idle core) overlaps the
    // load, and the picture's PNG is compressed in two halves even when its lines did not need
    // the thread. Painting wakes the thread again when a chart's long lines are worth sharing.
    void warmUpPaintThreads() noexcept;
    std::string svg(player::SvgTextMode textMode = player::SvgTextMode::Text) const;
    std::string pdf() const;
    // Writes the picture to a file (a device or a named pipe in place, left what it was: see
    // replaceFile); false when it cannot be written. Raises Error 1003
    // naming the chart movie when no chart movie is loaded (nothing to draw), instead of
    // writing a blank picture; a chart message (no data, invalid XML) is a picture and is saved.
    bool savePng(const std::filesystem::path& path, double pixelRatio = 1) const;
    bool saveSvg(const std::filesystem::path& path,
                 player::SvgTextMode textMode = player::SvgTextMode::Text) const;
    bool savePdf(const std::filesystem::path& path) const;
    // The still picture as a self-contained interactive web page: the SVG with its texts as
    // text, tool texts, links, keyboard, legend toggling, the draw-in and a data table, run by a
    // script the page's Content-Security-Policy allows by its hash (docs/web.md). "" never;
    // without a chart movie it is the blank page of the picture (html) or Error 1003 (saveHtml,
    // false when the file cannot be written, as the other saves).
    std::string html(const HtmlOptions& options = {}) const;
    bool saveHtml(const std::filesystem::path& path, const HtmlOptions& options = {}) const;
    // Why the last load shows nothing: "The chart movie '<file>' could not be loaded" when the
    // movie file is missing or not a chart movie, "No chart movie has been loaded" before the
    // first load, "" once a movie is loaded. Cannot fail.
    String loadError() const;

    // Finds the element under a point (chart units); a linked element calls back through
    // FlashCall (see docs/chart-xml.md for the link syntax); the scroll bar scrolls.
    HitInfo clickAt(double x, double y);
    // The element under a point and its tool text, without side effects. Cannot fail.
    HitInfo hoverAt(double x, double y) const;
    // Every element that answers clicks, bottom to top in drawing order (the topmost one under a
    // point is the last that holds it), with its texts and box: the third column is the entry
    // of kind "column" with pointIndex 2. Cannot fail beyond running out of memory.
    std::vector<HitInfo> hitRegions() const;

    // Animation. The player keeps no clock: the host runs a timer and asks for the frame at a
    // progress; the frame is the chart's layout on its way, drawn by the same scene code as the
    // still picture. After a load the still picture shows (progress 1).
    // Whether the shown chart may move: a chart is shown, the host allows animation and the
    // document does too (not animation='0', at most 2,000 values drawn). Cannot fail.
    bool animates() const;
    // Whether the shown chart moves from the chart shown before it: the load replaced a chart of
    // the same type that could move. The frames then go from the old layout to the new (series
    // by name, points by category label, else by position; new points grow from the base line
    // and points the new chart lacks shrink out to it; value axes ease from the old range);
    // otherwise the chart draws itself in. Cannot fail.
    bool transitions() const;
    // How long the host should take over the frames, in seconds: 1 to draw a chart in, 0.3 for
    // a transition, 0 when the chart does not move. Cannot fail.
    double animationDuration() const;
    // Lays the parsed chart out again as the frame at progress 0..1 (eased out inside; 1 is the
    // still picture, pixel for pixel). The document is not parsed again. Ignored (the still
    // picture shows) when the chart does not move. surface(), scene(), layoutJson() and the hit
    // regions follow the frame; png(), svg(), pdf(), the saves and print are always the still
    // picture. A resize or a scroll keeps the progress. Cannot fail beyond running out of memory.
    void setAnimationProgress(double progress);
    double animationProgress() const;
    // Lets the host turn animation off (a desktop asking for reduced motion); off shows the
    // still picture at once. On by default. Cannot fail beyond running out of memory.
    void setAnimationEnabled(bool enabled);
    bool animationEnabled() const;

    // Interaction. What the viewer changes here lasts until the next document is loaded; the
    // still picture, the files and the hit regions all show it. Each change keeps the chart
    // before as the start of a transition (transitions() is true): a host that animates runs the
    // progress from 0 to 1, as after a load; the still picture shows until it does.
    // Whether the legend's entries hide and show their series: a chart with series (not a pie,
    // doughnut or grid) whose document does not say interactiveLegend='0'. Cannot fail.
    bool legendToggles() const;
    // Hides or shows a series (index: datasets first, then line sets, as the hit regions number
    // them; or the first series of that name). A hidden series keeps its legend entry, drawn
    // dimmed and marked hidden in the layout; it is not drawn, has no hit regions or value
    // labels, and the value axes fit the series left. False (nothing changed) when the legend
    // does not toggle, there is no such series, or it is the last series of a scatter or bubble
    // chart. Cannot fail beyond running out of memory.
    bool setSeriesVisible(int index, bool visible);
    bool setSeriesVisible(const String& name, bool visible);
    // Whether the series is shown (true for a series that does not exist). Cannot fail.
    bool seriesVisible(int index) const;
    // The indexes of the hidden series, ascending. Cannot fail beyond running out of memory.
    std::vector<int> hiddenSeries() const;
    // Whether the shown chart zooms: a cartesian chart of at least two categories, or a scatter
    // or bubble chart. Cannot fail.
    bool zooms() const;
    // Shows only a part of the chart (see VisibleRange; category charts take x only, rounded to
    // whole categories, at least two). Ticks, label thinning and value labels are laid out for
    // the range; a scroll chart scrolls within it. A range that covers the whole chart is the
    // whole chart. False when the chart does not zoom or the range is empty or not finite.
    // Cannot fail beyond running out of memory.
    bool setVisibleRange(const VisibleRange& range);
    // The part shown now, and the whole chart's. Zero ranges when the chart does not zoom.
    // Cannot fail.
    VisibleRange visibleRange() const;
    VisibleRange fullRange() const;
    // Whether the shown chart is a scroll chart showing a window of its categories. Cannot fail.
    bool scrolls() const;
    // Whether a part of the chart is shown; resetVisibleRange shows the whole chart again,
    // laid out exactly as before the zoom. Cannot fail beyond running out of memory.
    bool zoomed() const;
    void resetVisibleRange();

    // The category whose slot holds the point in the plot of a line or area chart, with every
    // shown series' value there; not found outside the plot and on other charts. Cannot fail
    // beyond running out of memory.
    CategoryValues categoryAt(double x, double y) const;

    // The command that "print" runs with the PDF file appended; {"lp"} by default.
    void setPrintCommand(std::vector<std::string> command);
    // The display list of what is shown (tests and tools inspect it). Cannot fail.
    const player::Scene& scene() const;
    // The layout of what is shown as JSON: plot, axes and ticks, every text with its role and
    // box, series with the points drawn, legend and notes (schema in docs/player.md). Cannot
    // fail.
    std::string layoutJson() const;
    // The lines of the debug panel of the last load (also when debugMode is off).
    std::vector<String> debugLines() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace plotara
