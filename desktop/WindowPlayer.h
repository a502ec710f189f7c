// The chart player as the movie host of a window. It hands every member through to a
// ChartPlayer and adds what a window needs:
// - the chart fills the window: the chart size a movie URL carries (chartWidth, chartHeight)
//   gives way to the host's width and height, and a resized window lays the parsed chart out
//   again; only a new URL is parsed;
// - the chart moves: after a load whose chart may move (ChartPlayer::animates) a ChartAnimator
//   runs the frames, and the chart's rendered call (PT_Rendered) is passed on when the motion
//   ends. A new chart or a new size ends a motion at once: its rendered call comes then;
// - the picture is kept as a QImage at the window's device pixel ratio and made again only when
//   the chart changed, so a plain repaint does not render anything.
#pragma once

#include "desktop/ChartAnimator.h"
#include "platform/MovieHost.h"
#include "player/ChartPlayer.h"

#include <QImage>

#include <functional>

namespace plotara::qt {

class WindowPlayer final : public MovieHost {
public:
    WindowPlayer();

    // The player itself (print command, outputs, scene).
    ChartPlayer& player() noexcept { return player_; }
    const ChartPlayer& player() const noexcept { return player_; }
    // Called whenever the picture changes (a load, a new size or colour, a scroll, a frame).
    // Cannot fail.
    void onChanged(std::function<void()> changed) { changed_ = std::move(changed); }
    // Counts the changes; a picture made at an older count is stale.
    unsigned generation() const noexcept { return generation_; }

    // The chart's picture at the pixel ratio (device pixels, its devicePixelRatio set); rendered
    // only when the chart changed since the last call or the ratio differs. While the chart
    // moves it is the frame of the moment. Cannot fail.
    const QImage& picture(double pixelRatio);
    // How many times the picture was rendered.
    int renders() const noexcept { return renders_; }
    // The player's hit test and click at a point in chart units, on the frame shown. A click on
    // a link calls back through FlashCall; a click on the scroll bar scrolls.
    HitInfo hoverAt(double x, double y);
    HitInfo clickAt(double x, double y);
    // Lays the chart out as the frame of the moment (the still picture when it does not move).
    // Cannot fail beyond running out of memory.
    void settle();
    // Runs a change of what the viewer sees (a series toggled, a zoom, a transition's frame) on
    // the laid-out player; when it returns true the picture changed. Cannot fail beyond what the
    // change throws.
    bool change(const std::function<bool(ChartPlayer&)>& change);

    // Motion. Whether the host lets a chart move (a desktop asking for reduced motion does not),
    // asked at every load; without it charts move. Cannot fail.
    void setAnimationsAllowed(std::function<bool()> allowed) {
        animationsAllowed_ = std::move(allowed);
    }
    // Moves the chart from its layout before a change of the viewer's (a series toggled) to the
    // new one, on the clock of the loads' motions; nothing when the chart does not move. Errors
    // of the FlashCall handler (a load's motion ended first) reach the caller.
    void animateChange();
    // Ends a motion at once: the still picture shows and the rendered call is passed on.
    // Errors of the FlashCall handler reach the caller.
    void endAnimation();
    // The clock of the motion (tests step it).
    ChartAnimator& animator() noexcept { return animator_; }

    // --- MovieHost: everything reaches the player ---------------------------------------------
    void applySettings(const MovieHostSettings& settings) override;
    void put_Movie(const String& url) override;
    void put_MovieText(std::shared_ptr<const std::string> url) override;
    void put_MovieParts(MovieUrlParts parts) override;
    // The URL as the control wrote it.
    String get_Movie() const override { return player_.get_Movie(); }
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
    // Around every load: a motion shown ends first, the frame on screen is kept as where the new
    // chart moves from, and the host's switch is read; after it, nothing of the new chart shows.
    void beforeLoad();
    void afterLoad();
    void fromPlayer(const String& request);

    ChartPlayer player_;
    ChartAnimator animator_;
    std::function<bool()> animationsAllowed_;
    unsigned generation_ = 1;
    unsigned pictureGeneration_ = 0;
    double pictureRatio_ = 0;
    // The progress of the frame last painted: where a load that interrupts a motion (or follows
    // a load not yet painted) moves from, so that it starts from what is on screen.
    double shownProgress_ = 1;
    int renders_ = 0;
    QImage picture_;
    std::function<void()> changed_;
    std::function<void(const String&)> flashCall_;
};

} // namespace plotara::qt
