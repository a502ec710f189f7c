// The chart player as the movie host of a window. It hands every member through to a
// ChartPlayer and adds what a window needs:
// - the chart fills the window: the chart size a movie URL carries (chartWidth, chartHeight)
//   gives way to the host's width and height, so a resized window lays the chart out again. The
//   new layout is made lazily (at the next picture or hit test), and the chart movie's
//   callbacks of such a re-layout are not passed on: for the control it is the same chart;
// - the picture is kept as a QImage at the window's device pixel ratio and made again only when
//   the chart changed, so a plain repaint does not render anything.
#pragma once

#include "platform/MovieHost.h"
#include "player/ChartPlayer.h"

#include <QImage>

#include <functional>
#include <optional>

namespace plotara::qt {

// The value of a size parameter (chartWidth, chartHeight) in the query of a movie URL, before
// the chart data; nothing when absent or not a number. Cannot fail.
std::optional<double> movieUrlSize(const String& url, const String& name);

// The movie URL with its chartWidth and chartHeight values replaced (in the query before the
// chart data only, so a document that mentions them is left alone); parameters that are absent
// stay absent. Cannot fail.
String withChartSize(const String& url, Single width, Single height);

class WindowPlayer final : public MovieHost {
public:
    WindowPlayer();

    // The player itself (print command, outputs, scene). Cannot fail.
    ChartPlayer& player() noexcept { return player_; }
    const ChartPlayer& player() const noexcept { return player_; }
    // Called whenever the picture changes (a load, a new size or colour, a scroll). Cannot fail.
    void onChanged(std::function<void()> changed) { changed_ = std::move(changed); }
    // Counts the changes; a picture made at an older count is stale. Cannot fail.
    unsigned generation() const noexcept { return generation_; }

    // The chart's picture at the pixel ratio (device pixels, its devicePixelRatio set); rendered
    // only when the chart changed since the last call or the ratio differs. Cannot fail.
    const QImage& picture(double pixelRatio);
    // How many times the picture was rendered. Cannot fail.
    int renders() const noexcept { return renders_; }
    // The player's hit test and click at a point in chart units, on the current layout. A click
    // on a link calls back through FlashCall; a click on the scroll bar scrolls.
    HitInfo hoverAt(double x, double y);
    HitInfo clickAt(double x, double y);
    // Lays the chart out at the host size when the movie URL asked for another, keeping the
    // series the viewer hid and the range zoomed to. Cannot fail.
    void settle();
    // Runs a change of what the viewer sees (a series toggled, a zoom, a transition's frame) on
    // the laid-out player; when it returns true the picture changed. Cannot fail beyond what the
    // change throws.
    bool change(const std::function<bool(ChartPlayer&)>& change);

    // --- MovieHost: everything reaches the player; put_Movie loads at the host size ----------
    void applySettings(const MovieHostSettings& settings) override;
    void put_Movie(const String& url) override;
    // The URL as the control wrote it.
    String get_Movie() const override { return movie_; }
    void put_BGColor(const String& color) override;
    void put_Menu(bool show) override;
    Single get_Width() const override { return player_.get_Width(); }
    void put_Width(Single width) override;
    Single get_Height() const override { return player_.get_Height(); }
    void put_Height(Single height) override;
    String CallFunction(const String& request) override { return player_.CallFunction(request); }
    void onFlashCall(std::function<void(const String& request)> handler) override;

private:
    void changed();
    bool sizeDiffers() const;

    ChartPlayer player_;
    String movie_;
    bool relayingOut_ = false;
    bool sizePending_ = false;
    unsigned generation_ = 1;
    unsigned pictureGeneration_ = 0;
    double pictureRatio_ = 0;
    int renders_ = 0;
    QImage picture_;
    std::function<void()> changed_;
    std::function<void(const String&)> flashCall_;
};

} // namespace plotara::qt
