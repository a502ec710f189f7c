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

void HeadlessMovieHost::onFlashCall(std::function<void(const String& request)> handler) {
    flashCall_ = std::move(handler);
}

} // namespace plotara
