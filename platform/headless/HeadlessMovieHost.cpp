#include "platform/headless/HeadlessMovieHost.h"

#include "core/Number.h"

namespace plotara {

void HeadlessMovieHost::deliver(const String& request) {
    if (flashCall_) flashCall_(request);
}

void HeadlessMovieHost::clearRecords() {
    movies_.clear();
    calls_.clear();
    requests_.clear();
}

void HeadlessMovieHost::applySettings(const MovieHostSettings& settings) {
    settings_ = settings;
    ++settingsApplied_;
    movie_ = settings.movie;
    bgColor_ = settings.backgroundColor;
    menu_ = settings.menu;
    width_ = settings.width;
    height_ = settings.height;
}

void HeadlessMovieHost::put_Movie(const String& url) {
    movie_ = url;
    if (!keepAll_) movies_.clear();
    movies_.push_back(url);
    calls_.push_back(L"Movie");
}

void HeadlessMovieHost::put_BGColor(const String& color) {
    bgColor_ = color;
    calls_.push_back(L"BGColor=" + color);
}

void HeadlessMovieHost::put_Menu(bool show) {
    menu_ = show;
    calls_.push_back(show ? L"Menu=True" : L"Menu=False");
}

void HeadlessMovieHost::put_Width(Single value) {
    width_ = value;
    calls_.push_back(L"Width=" + number::formatSingle(value, L'.'));
}

void HeadlessMovieHost::put_Height(Single value) {
    height_ = value;
    calls_.push_back(L"Height=" + number::formatSingle(value, L'.'));
}

String HeadlessMovieHost::CallFunction(const String& request) {
    requests_.push_back(request);
    calls_.push_back(L"CallFunction");
    return reply_ ? reply_(request) : String();
}

std::uint32_t HeadlessMovieHost::backgroundRgb() const {
    if (bgColor_.size() != 6) return 0xFFFFFF;
    std::uint32_t rgb = 0;
    for (const wchar_t c : bgColor_) {
        const int d = c >= L'0' && c <= L'9'   ? c - L'0'
                      : c >= L'a' && c <= L'f' ? c - L'a' + 10
                      : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                               : -1;
        if (d < 0) return 0xFFFFFF;
        rgb = rgb * 16 + static_cast<std::uint32_t>(d);
    }
    return rgb;
}

void HeadlessMovieHost::paintClientArea(Long left, Long top, Long width, Long height,
                                        std::uint32_t* argb) const {
    const std::uint32_t background = backgroundRgb();
    const bool pattern = !movie_.empty();
    for (Long row = 0; row < height; ++row) {
        for (Long column = 0; column < width; ++column) {
            const Long x = left + column, y = top + row;
            const bool inside = x >= 0 && y >= 0 && x < width_ && y < height_;
            std::uint32_t rgb = background;
            if (pattern && inside)
                rgb = (static_cast<std::uint32_t>(x & 0xFF) << 16) |
                      (static_cast<std::uint32_t>(y & 0xFF) << 8) | (background & 0xFF);
            argb[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                 static_cast<std::size_t>(column)] = 0xFF000000u | rgb;
        }
    }
}

void HeadlessMovieHost::onFlashCall(std::function<void(const String& request)> handler) {
    flashCall_ = std::move(handler);
}

} // namespace plotara
