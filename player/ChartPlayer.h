// The chart player: a MovieHost that reads the movie URL a chart control writes, loads the chart
// XML, draws the chart with cairo and pango, and talks back through FlashCall.
#pragma once

#include "platform/MovieHost.h"
#include "player/draw/Output.h"
#include "player/draw/Scene.h"

#include <memory>
#include <string>
#include <vector>

namespace plotara {

// What a point of the chart holds (clickAt, hoverAt).
struct HitInfo {
    bool hit = false;
    String kind; // column, bar, anchor, point, area, slice, bubble, row, legend, scroll-...
    String series, label, value, toolText, link;
    int seriesIndex = -1, pointIndex = -1;
};

enum class PlayerState {
    Empty,   // nothing loaded, or the chart movie could not be loaded
    Message, // a chart message is shown (no data, invalid XML, failed data load)
    Chart    // a chart is drawn
};

class ChartPlayer : public MovieHost {
public:
    ChartPlayer();
    ~ChartPlayer() override;
    ChartPlayer(const ChartPlayer&) = delete;
    ChartPlayer& operator=(const ChartPlayer&) = delete;

    // MovieHost. put_Movie never throws: a missing movie shows nothing and calls nothing back, a
    // bad document shows the matching chart message.
    void applySettings(const MovieHostSettings& settings) override;
    void put_Movie(const String& url) override;
    String get_Movie() const override;
    void put_BGColor(const String& color) override;
    void put_Menu(bool show) override;
    Single get_Width() const override;
    void put_Width(Single width) override;
    Single get_Height() const override;
    void put_Height(Single height) override;
    // Serves "print" (the chart as PDF to the print command); raises an Error when there is no
    // chart, when the spooler is missing or fails, and for functions it does not know.
    String CallFunction(const String& request) override;
    void onFlashCall(std::function<void(const String& request)> handler) override;

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
    // The same picture as PNG, SVG or PDF bytes; "" only when cairo cannot encode.
    std::string png(double pixelRatio = 1) const;
    std::string svg() const;
    std::string pdf() const;
    // Writes the bytes to a file; false when the file cannot be written. Never throws.
    bool savePng(const std::string& path, double pixelRatio = 1) const;
    bool saveSvg(const std::string& path) const;
    bool savePdf(const std::string& path) const;

    // Finds the element under a point (chart units); a linked element calls back through
    // FlashCall (see docs/chart-xml.md for the link syntax); the scroll bar scrolls.
    HitInfo clickAt(double x, double y);
    // The element under a point and its tool text, without side effects. Cannot fail.
    HitInfo hoverAt(double x, double y) const;

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
