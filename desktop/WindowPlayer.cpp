#include "desktop/WindowPlayer.h"

#include "control/detail/InvokeRequest.h"

#include <cstdint>
#include <vector>

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
    player::ArgbImage image = player_.surface(pixelRatio);
    if (image.width > 0 && image.height > 0) {
        // The picture takes the pixels over rather than copying them (4 MB a frame at 1280 x
        // 800 and a twentieth of a live column chart's frame, bench/live).
        auto* pixels = new std::vector<std::uint8_t>(std::move(image.pixels));
        picture_ = QImage(
            pixels->data(), image.width, image.height, image.stride,
            QImage::Format_ARGB32_Premultiplied,
            [](void* held) { delete static_cast<std::vector<std::uint8_t>*>(held); }, pixels);
    } else {
        picture_ = QImage();
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
