// A movie host without a player: it records every movie URL and call it is given, and lets a test
// or a program deliver the movie's script calls (FlashCall requests) by hand.
//
// As the painter of its window it draws a test picture instead of a chart: the background colour
// (BGColor as "rrggbb" hexadecimal; white when empty or not a colour) everywhere, and while a
// movie is loaded, inside its width and height, a gradient whose red is the x position and whose
// green is the y position (each modulo 256), with the background's blue.
#pragma once

#include "platform/MovieHost.h"
#include "platform/WindowPainter.h"

#include <vector>

namespace plotara {

class HeadlessMovieHost final : public MovieHost, public WindowPainter {
public:
    HeadlessMovieHost() = default;

    // --- scripting ----------------------------------------------------------------------------
    // Delivers one request as the FlashCall event; does nothing when no handler is subscribed.
    // The handler's errors reach the caller.
    void deliver(const String& request);
    // The answer to CallFunction; by default every request answers "". A reply function may
    // raise an Error, which then reaches the caller of CallFunction.
    void setReply(std::function<String(const String& request)> reply) { reply_ = std::move(reply); }
    // Whether every movie URL is kept (the default) or only the last one, for long runs.
    void keepMovies(bool all) { keepAll_ = all; }

    // --- what the control did -----------------------------------------------------------------
    const MovieHostSettings& settings() const noexcept { return settings_; }
    int settingsApplied() const noexcept { return settingsApplied_; }
    // The movie URLs written, in order.
    const std::vector<String>& movies() const noexcept { return movies_; }
    // Every member call in order: "Movie", "BGColor=ffffff", "Menu=True", "Width=320",
    // "Height=240", "CallFunction".
    const std::vector<String>& calls() const noexcept { return calls_; }
    const std::vector<String>& requests() const noexcept { return requests_; }
    const String& bgColor() const noexcept { return bgColor_; }
    bool menu() const noexcept { return menu_; }
    bool subscribed() const noexcept { return static_cast<bool>(flashCall_); }
    void clearRecords();

    // --- MovieHost ----------------------------------------------------------------------------
    // Takes the settings as given; cannot fail.
    void applySettings(const MovieHostSettings& settings) override;
    // Records the URL; cannot fail (nothing is loaded).
    void put_Movie(const String& url) override;
    String get_Movie() const override { return movie_; }
    void put_BGColor(const String& color) override;
    void put_Menu(bool show) override;
    Single get_Width() const override { return width_; }
    void put_Width(Single value) override;
    Single get_Height() const override { return height_; }
    void put_Height(Single value) override;
    // Records the request and returns what the reply function gives.
    String CallFunction(const String& request) override;
    void onFlashCall(std::function<void(const String& request)> handler) override;

    // --- WindowPainter ------------------------------------------------------------------------
    // The test picture described above; cannot fail.
    void paintClientArea(Long left, Long top, Long width, Long height,
                         std::uint32_t* argb) const override;
    // The background colour the painter uses, 0x00RRGGBB.
    std::uint32_t backgroundRgb() const;

private:
    MovieHostSettings settings_;
    int settingsApplied_ = 0;
    String movie_;
    String bgColor_;
    bool menu_ = true;
    Single width_ = 320;
    Single height_ = 240;
    bool keepAll_ = true;
    std::vector<String> movies_;
    std::vector<String> calls_;
    std::vector<String> requests_;
    std::function<String(const String&)> reply_;
    std::function<void(const String&)> flashCall_;
};

} // namespace plotara
