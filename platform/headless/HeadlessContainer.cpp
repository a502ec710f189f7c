#include "platform/headless/HeadlessContainer.h"

#include "platform/ContainerUnits.h"
#include "platform/MessageBoxStyle.h"

namespace plotara {

namespace {

// The screen the container stands for: 96 dots per inch, 15 twips to the pixel.
constexpr double dotsPerInch = 96;
constexpr double twipsPerPixel = container_units::twipsPerInch / dotsPerInch;

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
    container_units::checkedSize(widthPixels);
    heightPixels_ = container_units::checkedSize(heightPixels);
    widthPixels_ = widthPixels;
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
    borderStyle_ = container_units::checkedFlag(value);
}

void HeadlessContainer::setAppearance(Integer value) {
    appearance_ = container_units::checkedFlag(value);
}

Single HeadlessContainer::framePixels() const {
    if (borderStyle_ == 0) return 0;
    return appearance_ == 1 ? 2 : 1;
}

Single HeadlessContainer::height() const {
    return static_cast<Single>((heightPixels_ + 2 * framePixels()) * twipsPerPixel);
}

void HeadlessContainer::setHeight(Single value) {
    container_units::checkedSize(value);
    const Single inner = static_cast<Single>(value / twipsPerPixel) - 2 * framePixels();
    heightPixels_ = inner < 0 ? 0 : inner;
}

double HeadlessContainer::unitsPerPixel() const {
    return container_units::unitsPerPixel(scaleMode_, dotsPerInch);
}

Single HeadlessContainer::scaleWidth() const {
    return static_cast<Single>(widthPixels_ * unitsPerPixel());
}

Single HeadlessContainer::scaleHeight() const {
    return static_cast<Single>(heightPixels_ * unitsPerPixel());
}

void HeadlessContainer::setScaleWidth(Single value) {
    widthPixels_ = static_cast<Single>(container_units::checkedSize(value) / unitsPerPixel());
}

void HeadlessContainer::setScaleHeight(Single value) {
    heightPixels_ = static_cast<Single>(container_units::checkedSize(value) / unitsPerPixel());
}

void HeadlessContainer::setScaleMode(Integer value) {
    scaleMode_ = container_units::checkedScaleMode(value);
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
    // With nothing queued the user presses Enter, which answers the box's default button: OK
    // only where the box has one.
    const message_box::Style style = message_box::decode(buttonsAndIcon);
    Long answer = style.defaultButton;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    messageBoxes_.push_back(
        MessageBoxRecord{text, style.buttonSet, style.iconBits, caption, answer});
    journal_.push_back(L"message " + text);
    return answer;
}

} // namespace plotara
