#include "desktop/WindowPlayer.h"

#include "core/Number.h"

#include <cmath>
#include <cstring>

namespace plotara::qt {

namespace {

// Where the chart data starts in a movie URL (the size parameters come before it).
std::size_t dataStart(const String& url) {
    const std::size_t xml = url.find(L"&dataXML=");
    const std::size_t file = url.find(L"&dataURL=");
    return std::min(xml, file);
}

// The position of the value of "&name=" or "?name=" before the chart data, npos when absent.
std::size_t valueStart(const String& url, const String& name) {
    const std::size_t end = dataStart(url);
    for (const wchar_t* lead : {L"&", L"?"}) {
        const String key = lead + name + L"=";
        const std::size_t at = url.find(key);
        if (at != String::npos && at < end) return at + key.size();
    }
    return String::npos;
}

std::size_t valueEnd(const String& url, std::size_t start) {
    const std::size_t end = url.find(L'&', start);
    return end == String::npos ? url.size() : end;
}

String replaceValue(String url, const String& name, Single value) {
    const std::size_t start = valueStart(url, name);
    if (start == String::npos) return url;
    url.replace(start, valueEnd(url, start) - start, number::formatSingle(value, L'.'));
    return url;
}

} // namespace

std::optional<double> movieUrlSize(const String& url, const String& name) {
    const std::size_t start = valueStart(url, name);
    if (start == String::npos) return std::nullopt;
    String text = url.substr(start, valueEnd(url, start) - start);
    for (wchar_t& c : text)
        if (c == L',') c = L'.';
    wchar_t* end = nullptr;
    const double value = std::wcstod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

String withChartSize(const String& url, Single width, Single height) {
    return replaceValue(replaceValue(url, L"chartWidth", width), L"chartHeight", height);
}

WindowPlayer::WindowPlayer() {
    player_.onFlashCall([this](const String& request) {
        if (!relayingOut_ && flashCall_) flashCall_(request);
    });
}

void WindowPlayer::changed() {
    ++generation_;
    if (changed_) changed_();
}

bool WindowPlayer::sizeDiffers() const {
    const auto differs = [&](const wchar_t* name, Single host) {
        const std::optional<double> size = movieUrlSize(movie_, name);
        return size && std::abs(*size - static_cast<double>(host)) >= 0.5;
    };
    return differs(L"chartWidth", player_.get_Width()) ||
           differs(L"chartHeight", player_.get_Height());
}

void WindowPlayer::settle() {
    if (!sizePending_) return;
    sizePending_ = false;
    if (movie_.empty() || !sizeDiffers()) return;
    // The same chart at another size: what the viewer chose stays.
    const std::vector<int> hidden = player_.hiddenSeries();
    const std::optional<VisibleRange> range =
        player_.zoomed() ? std::optional(player_.visibleRange()) : std::nullopt;
    relayingOut_ = true;
    player_.put_Movie(withChartSize(movie_, player_.get_Width(), player_.get_Height()));
    for (int index : hidden)
        player_.setSeriesVisible(index, false);
    if (range) player_.setVisibleRange(*range);
    relayingOut_ = false;
    ++generation_;
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
    const player::ArgbImage image = player_.surface(pixelRatio);
    QImage view(image.pixels.data(), image.width, image.height, image.stride,
                QImage::Format_ARGB32_Premultiplied);
    picture_ = view.copy(); // the surface's memory is gone when image is
    picture_.setDevicePixelRatio(pixelRatio);
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
    if (info.kind.rfind(L"scroll-", 0) == 0) changed();
    return info;
}

void WindowPlayer::applySettings(const MovieHostSettings& settings) {
    player_.applySettings(settings);
    movie_ = settings.movie;
    changed();
}

void WindowPlayer::put_Movie(const String& url) {
    movie_ = url;
    sizePending_ = false;
    // Loaded at the host size at once: the window shows one layout, not two.
    const bool resize = sizeDiffers();
    player_.put_Movie(resize ? withChartSize(url, player_.get_Width(), player_.get_Height()) : url);
    changed();
}

void WindowPlayer::put_BGColor(const String& color) {
    player_.put_BGColor(color);
    changed();
}

void WindowPlayer::put_Menu(bool show) {
    player_.put_Menu(show);
}

void WindowPlayer::put_Width(Single width) {
    if (width == player_.get_Width()) return;
    player_.put_Width(width);
    sizePending_ = true;
    changed();
}

void WindowPlayer::put_Height(Single height) {
    if (height == player_.get_Height()) return;
    player_.put_Height(height);
    sizePending_ = true;
    changed();
}

void WindowPlayer::onFlashCall(std::function<void(const String& request)> handler) {
    flashCall_ = std::move(handler);
}

} // namespace plotara::qt
