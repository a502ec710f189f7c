// The state behind a ChartPlayer, shared by the files that implement it: the URL and document
// loaded, the chart shown (its model, scene and view) and what the viewer chose.
#pragma once

#include "player/ChartPlayer.h"
#include "player/MovieUrlParser.h"
#include "player/detail/ChartMovie.h"
#include "player/detail/ChartRenderer.h"
#include "player/detail/Invoke.h"
#include "player/detail/Messages.h"
#include "player/layout/ViewRange.h"
#include "player/model/ChartParser.h"

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace plotara::player {
struct HtmlChart;
}

namespace plotara {

// How long a chart draws itself in, and how long it moves to new data or a toggled series.
inline constexpr double drawInSeconds = 1.0, transitionSeconds = 0.3;

struct ChartPlayer::Impl {
    MovieHostSettings settings;
    // The last URL, as UTF-8: whole (movie) or in parts (inParts).
    std::shared_ptr<const std::string> movie;
    MovieUrlParts parts;
    bool inParts = false;
    double hostWidth = 320, hostHeight = 240;
    std::optional<double> urlWidth, urlHeight;
    bool fillHost = false; // the URL's chart size is not used
    std::optional<player::Color> hostBackground, urlBackground;
    std::function<void(const String&)> handler;
    DiagnosticsChannel diagnostics;
    std::vector<std::string> printCommand{"lp"};
    std::unique_ptr<player::TextEngine> text = std::make_unique<player::TextEngine>();
    std::unique_ptr<player::RasterCache> raster = std::make_unique<player::RasterCache>();
    int paintThreads = 1;
    unsigned generation = 0;

    PlayerState state = PlayerState::Empty;
    bool movieLoaded = false; // the last load found its chart movie
    std::string missingMovie; // the movie file the last load looked for, when it did not
    std::string message;
    std::vector<std::string> log;
    std::vector<std::string> debug;
    bool debugMode = false;
    std::optional<player::ChartMovie> chartMovie;
    std::optional<player::ChartModel> model;
    player::Attributes gridParams;
    player::ViewState view;
    player::Scene scene;
    // Animation: the progress of the frame shown (1: the still picture), whether the host and the
    // document allow motion, and the chart before when the shown one moves from it.
    double progress = 1;
    bool animationEnabled = true;
    bool animatable = false;
    std::optional<player::MotionStart> start;
    // What the viewer chose: series hidden and the range zoomed to; and the whole range of a
    // scatter or bubble chart as last drawn unzoomed.
    player::ViewOptions viewOptions;
    VisibleRange wholeXY;
    std::size_t scrollBeforeZoom = 0; // where a scroll chart was when the zoom began

    double width() const { return urlWidth.value_or(hostWidth); }
    double height() const { return urlHeight.value_or(hostHeight); }
    const player::Color* background() const {
        if (urlBackground) return &*urlBackground;
        return hostBackground ? &*hostBackground : nullptr;
    }

    void call(const std::string& name, const std::string& argument) {
        if (handler) handler(fromUtf8(player::buildInvokeRequest(name, argument)));
    }

    void showEmpty() {
        state = PlayerState::Empty;
        scene = player::Scene{};
        scene.width = width();
        scene.height = height();
        if (const player::Color* bg = background()) scene.background = *bg;
    }

    void showMessage(const std::string& text) {
        state = PlayerState::Message;
        message = text;
        log.push_back(text);
        player::renderMessage(scene, *this->text, text, width(), height(), background());
        if (debugMode) player::addDebugPanel(scene, *this->text, debug);
    }

    // Draws the loaded model again (after a resize, a scroll or a new progress) into the shown
    // scene, as the frame at the progress; true when a chart shows.
    bool redraw() { return draw(scene, progress, view); }
    // Lays the parsed model out into out at a progress (1: the still picture).
    // options: what the viewer chose, viewOptions unless given (a page's other windows).
    bool draw(player::Scene& out, double at, player::ViewState& window,
              const player::ViewOptions* options = nullptr) const {
        if (!model || !chartMovie) return false;
        std::optional<player::Motion> motion;
        if (at < 1 && animatable && animationEnabled) motion.emplace(at, start ? &*start : nullptr);
        bool drawn = player::renderChart(out, *text, *model, *chartMovie, width(), height(), window,
                                         gridParams, background(), motion ? &*motion : nullptr,
                                         options ? options : &viewOptions);
        if (drawn && debugMode) player::addDebugPanel(out, *text, debug);
        return drawn;
    }
    // The scene files are made of: the still picture, also while a frame is shown.
    const player::Scene& stillScene(player::Scene& still) const {
        if (state != PlayerState::Chart || progress >= 1) return scene;
        player::ViewState shownView = view;
        draw(still, 1, shownView);
        return still;
    }

    // Lays what is shown out again at the current size: the chart, or the chart message.
    void relayout() {
        if (state == PlayerState::Chart) {
            redraw();
        } else if (state == PlayerState::Message) {
            player::renderMessage(scene, *text, message, width(), height(), background());
            if (debugMode) player::addDebugPanel(scene, *text, debug);
        }
    }

    // Forgets the last URL.
    void forgetUrl() noexcept {
        movie.reset();
        parts.head.clear();
        parts.document.reset();
        inParts = false;
    }
    // Loads a URL split by parseMovieUrl; on running out of memory, shows the data load error.
    void loadSafely(const std::function<player::MovieUrl()>& split);
    void load(player::MovieUrl url);
    // The steps of a load: forget the last chart; load the chart movie the URL names (false,
    // with nothing shown, when it cannot be loaded); take the URL's settings; get the document
    // (nothing, with the message shown, when there is none); parse and draw it.
    void reset();
    bool loadMovie(const player::MovieUrl& url);
    void applyUrl(const player::MovieUrl& url, player::NumberSyntax locale);
    std::optional<std::string> fetchDocument(player::MovieUrl& url,
                                             const player::Messages& messages,
                                             player::DocumentNumbers& numbers);
    void showDocument(std::string document, const player::DocumentNumbers& numbers,
                      const player::Messages& messages);
    // Raises Error 1003 with the player's load error when no chart movie is loaded.
    void requireMovie(const ChartPlayer& player) const;
    // Works out the texts of the point regions that leave them to be asked for.
    void describe(std::span<player::HitRegion> regions) const;
    // The family of the shown chart; Grid when none is shown (nothing interacts).
    player::Family family() const {
        return state == PlayerState::Chart && chartMovie ? chartMovie->family
                                                         : player::Family::Grid;
    }
    bool xy() const {
        return family() == player::Family::Scatter || family() == player::Family::Bubble;
    }
    std::size_t seriesCount() const {
        return model ? model->datasets.size() + (xy() ? 0 : model->linesets.size()) : 0;
    }
    // Keeps the chart shown (the values drawn and the axes of the frame) as the start of a
    // transition, when the chart may move.
    void keepStart();
    // Draws the chart again after the viewer's choices changed, as the still picture.
    bool redrawChosen();
    // Records the whole range of a scatter or bubble chart drawn unzoomed.
    void noteWholeXY();
    // A page's other pictures of the chart (player/ChartPlayerPage.cpp): a scroll chart laid
    // out at each start its page offers (also when zoomed), and a line or scatter chart's zoom
    // ladder. Cannot fail beyond running out of memory.
    void addPageScroll(player::HtmlChart& chart, const std::string& prefix) const;
    void addPageZoom(player::HtmlChart& chart, const std::string& prefix) const;
};

// What a host is told about a region (nothing hit when null).
HitInfo toHitInfo(const player::HitRegion* r);

} // namespace plotara
