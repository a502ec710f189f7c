#include "platform/headless/HeadlessContainer.h"

#include "core/Error.h"

namespace plotara {

namespace {

constexpr double twipsPerPixel = 15.0; // at 96 dots per inch

Error invalidPropertyValue() {
    return Error(380, L"Invalid property value");
}

} // namespace

String eventName(PlotaraEvent event) {
    switch (event) {
    case PlotaraEvent::Show:
        return L"Show";
    case PlotaraEvent::Resize:
        return L"Resize";
    case PlotaraEvent::Hide:
        return L"Hide";
    case PlotaraEvent::DrillDown:
        return L"DrillDown";
    case PlotaraEvent::ChartRendered:
        return L"ChartRendered";
    case PlotaraEvent::ChartLoaded:
        return L"ChartLoaded";
    }
    return L"Event" + std::to_wstring(static_cast<Long>(event));
}

HeadlessContainer::HeadlessContainer() = default;

void HeadlessContainer::bind(Lifecycle lifecycle) {
    lifecycle_ = std::move(lifecycle);
}

void HeadlessContainer::setUserMode(bool runMode) {
    runMode_ = runMode;
    if (lifecycle_.ambientChanged) lifecycle_.ambientChanged();
}

void HeadlessContainer::show() {
    if (lifecycle_.show) lifecycle_.show();
}

void HeadlessContainer::hide() {
    if (lifecycle_.hide) lifecycle_.hide();
}

void HeadlessContainer::resize(Single widthPixels, Single heightPixels) {
    if (widthPixels < 0 || heightPixels < 0) raise(invalidPropertyValue());
    widthPixels_ = widthPixels;
    heightPixels_ = heightPixels;
    if (lifecycle_.resize) lifecycle_.resize();
}

void HeadlessContainer::clearRecords() {
    notifications_.clear();
    events_.clear();
    messageBoxes_.clear();
    journal_.clear();
    refreshCount_ = 0;
}

void HeadlessContainer::setBorderStyle(Integer value) {
    if (value != 0 && value != 1) raise(invalidPropertyValue());
    borderStyle_ = value;
}

void HeadlessContainer::setAppearance(Integer value) {
    if (value != 0 && value != 1) raise(invalidPropertyValue());
    appearance_ = value;
}

Single HeadlessContainer::framePixels() const {
    if (borderStyle_ == 0) return 0;
    return appearance_ == 1 ? 2 : 1;
}

Single HeadlessContainer::height() const {
    return static_cast<Single>((heightPixels_ + 2 * framePixels()) * twipsPerPixel);
}

void HeadlessContainer::setHeight(Single value) {
    if (value < 0) raise(invalidPropertyValue());
    const Single inner = static_cast<Single>(value / twipsPerPixel) - 2 * framePixels();
    heightPixels_ = inner < 0 ? 0 : inner;
}

double HeadlessContainer::unitsPerPixel() const {
    switch (scaleMode_) {
    case 1:
        return twipsPerPixel;
    case 2:
        return 0.75;
    case 5:
        return 1.0 / 96.0;
    case 6:
        return 25.4 / 96.0;
    case 7:
        return 2.54 / 96.0;
    default:
        return 1.0;
    }
}

Single HeadlessContainer::scaleWidth() const {
    return static_cast<Single>(widthPixels_ * unitsPerPixel());
}

Single HeadlessContainer::scaleHeight() const {
    return static_cast<Single>(heightPixels_ * unitsPerPixel());
}

void HeadlessContainer::setScaleWidth(Single value) {
    if (value < 0) raise(invalidPropertyValue());
    widthPixels_ = static_cast<Single>(value / unitsPerPixel());
}

void HeadlessContainer::setScaleHeight(Single value) {
    if (value < 0) raise(invalidPropertyValue());
    heightPixels_ = static_cast<Single>(value / unitsPerPixel());
}

void HeadlessContainer::setScaleMode(Integer value) {
    switch (value) {
    case 1:
    case 2:
    case 3:
    case 5:
    case 6:
    case 7:
        scaleMode_ = value;
        return;
    default:
        raise(invalidPropertyValue());
    }
}

void HeadlessContainer::propertyChanged(const String& key) {
    notifications_.push_back(key);
    journal_.push_back(L"changed " + key);
}

void HeadlessContainer::raiseEvent(PlotaraEvent event, const std::vector<Variant>& args) {
    events_.push_back(RaisedEvent{event, args});
    journal_.push_back(L"event " + eventName(event));
    if (eventHandler_) eventHandler_(event, args);
}

Long HeadlessContainer::messageBox(const String& text, Long buttonsAndIcon, const String& caption) {
    Long answer = 1;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    messageBoxes_.push_back(
        MessageBoxRecord{text, buttonsAndIcon & 0xF, buttonsAndIcon & 0xF0, caption, answer});
    journal_.push_back(L"message " + text);
    return answer;
}

} // namespace plotara
