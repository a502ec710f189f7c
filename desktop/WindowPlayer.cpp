// Buys (the picture over the player's own pixels, opaque ones blitted): a live 12-column chart
// 609 to about 910 frames per CPU second with Output.cpp's part (bench/live/run.sh, perf).
#include "desktop/WindowPlayer.h"

#include "control/detail/InvokeRequest.h"

#include <memory>

namespace plotara::qt {

WindowPlayer::WindowPlayer() {
    player_.setFillHost(true);
    player_.onFlashCall([this](const String& request) { fromPlayer(request); });
    animator_.onFrame([this] {
        if (!animator_.active()) settle(); // the end: the still picture, for the rendered call
        changed();
    });
}

void WindowPlayer::changed() {
    ++generation_;
    if (changed_) changed_();
}

void WindowPlayer::fromPlayer(const String& request) {
    // A chart that moves has rendered when its motion ends.
    if (player_.animates() && ParseInvokeRequest(request)[0] == L"PT_Rendered") {
        animator_.plan(player_.animationDuration(), [this, request] {
            if (flashCall_) flashCall_(request);
        });
        return;
    }
    if (flashCall_) flashCall_(request);
}

void WindowPlayer::settle() {
    const double progress = animator_.progress();
    if (player_.animationProgress() == progress) return;
    player_.setAnimationProgress(progress);
    ++generation_; // another frame: the kept picture is stale
}

void WindowPlayer::animateChange() {
    if (!player_.transitions() || player_.animationDuration() <= 0) return;
    animator_.plan(player_.animationDuration(), nullptr);
    shownProgress_ = 0;
    changed();
}

void WindowPlayer::endAnimation() {
    animator_.end();
}

void WindowPlayer::beforeLoad() {
    endAnimation();
    // The player keeps the frame shown as the start of the next chart's motion.
    if (shownProgress_ < 1) player_.setAnimationProgress(shownProgress_);
    player_.setAnimationEnabled(!animationsAllowed_ || animationsAllowed_());
}

void WindowPlayer::afterLoad() {
    // Nothing of the new chart is on screen until its first frame is painted.
    shownProgress_ = player_.animationDuration() > 0 ? 0 : 1;
    changed();
}

bool WindowPlayer::change(const std::function<bool(ChartPlayer&)>& change) {
    settle();
    if (!change(player_)) return false;
    changed();
    return true;
}

const QImage& WindowPlayer::picture(double pixelRatio) {
    settle();
    if (pictureGeneration_ == generation_ && pictureRatio_ == pixelRatio) return picture_;
    // The picture shows the player's own pixels (no copy of 4 MB a frame at 1280 x 800). Let go
    // of first, so that the player paints into the same memory again, unless a host keeps a copy
    // of the picture: that one stays as it was and the player paints elsewhere.
    picture_ = QImage();
    player::SharedArgb image = player_.sharedSurface(pixelRatio);
    if (image.width > 0 && image.height > 0) {
        auto* hold = new std::shared_ptr<const void>(std::move(image.hold));
        picture_ = QImage(
            image.pixels, image.width, image.height, image.stride,
            // Opaque pixels are copied onto the window rather than blended (a sixth of a live
            // column chart's frame, bench/live); the bytes are the same.
            image.opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied,
            [](void* held) { delete static_cast<std::shared_ptr<const void>*>(held); }, hold);
    }
    picture_.setDevicePixelRatio(pixelRatio);
    shownProgress_ = player_.animationProgress();
    pictureGeneration_ = generation_;
    pictureRatio_ = pixelRatio;
    ++renders_;
    return picture_;
}

HitInfo WindowPlayer::hoverAt(double x, double y) {
    settle();
    return player_.hoverAt(x, y);
}

HitInfo WindowPlayer::clickAt(double x, double y) {
    settle();
    HitInfo info = player_.clickAt(x, y);
    if (player::isScroll(info.kind)) changed();
    return info;
}

void WindowPlayer::applySettings(const MovieHostSettings& settings) {
    if (!settings.movie.empty()) beforeLoad();
    player_.applySettings(settings);
    if (settings.movie.empty()) {
        changed();
    } else {
        afterLoad();
    }
}

void WindowPlayer::put_Movie(const String& url) {
    beforeLoad();
    player_.put_Movie(url);
    afterLoad();
}

void WindowPlayer::put_MovieText(std::shared_ptr<const std::string> url) {
    beforeLoad();
    player_.put_MovieText(std::move(url));
    afterLoad();
}

void WindowPlayer::put_MovieParts(MovieUrlParts parts) {
    beforeLoad();
    player_.put_MovieParts(std::move(parts));
    afterLoad();
}

void WindowPlayer::put_BGColor(const String& color) {
    player_.put_BGColor(color);
    changed();
}

void WindowPlayer::put_Menu(bool show) {
    player_.put_Menu(show);
}

// A new size during a motion shows the still picture at that size: the chart is not drawn in
// again at every step of a window being dragged larger.
void WindowPlayer::put_Width(Single width) {
    if (width == player_.get_Width()) return;
    if (animator_.running()) endAnimation();
    player_.put_Width(width);
    changed();
}

void WindowPlayer::put_Height(Single height) {
    if (height == player_.get_Height()) return;
    if (animator_.running()) endAnimation();
    player_.put_Height(height);
    changed();
}

void WindowPlayer::onFlashCall(std::function<void(const String& request)> handler) {
    flashCall_ = std::move(handler);
}

} // namespace plotara::qt
