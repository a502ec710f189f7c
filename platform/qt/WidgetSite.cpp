#include "platform/qt/WidgetSite.h"

#include "core/Error.h"
#include "core/SafeArray.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/PlotaraWidget.h"
#include "platform/qt/QtText.h"

#include <QStringList>

#include <cmath>

namespace plotara::qt {

namespace {

Error invalidPropertyValue() {
    return Error(380, L"Invalid property value");
}

int toPixels(double value) {
    return static_cast<int>(std::lround(value));
}

// The DrillDown parameter: the argument's comma-separated parts, or nothing.
QVariant drillDownParameter(const Variant& value) {
    if (!value.isArray())
        return value.type() == Variant::Type::Empty ? QVariant()
                                                    : QVariant(toQString(toText(value)));
    QStringList parts;
    const SafeArray& array = value.array();
    for (Long i = array.lbound(); i <= array.ubound(); ++i)
        parts << toQString(toText(array.at(i)));
    return parts;
}

} // namespace

double WidgetSite::twipsPerPixel() const {
    const int dpi = widget_.logicalDpiX();
    return 1440.0 / (dpi > 0 ? dpi : 96);
}

double WidgetSite::unitsPerPixel() const {
    const double perInch = 1440.0 / twipsPerPixel(); // pixels per inch
    switch (scaleMode_) {
    case 1:
        return twipsPerPixel();
    case 2:
        return 72.0 / perInch;
    case 5:
        return 1.0 / perInch;
    case 6:
        return 25.4 / perInch;
    case 7:
        return 2.54 / perInch;
    default:
        return 1.0;
    }
}

bool WidgetSite::ambientUserMode() const {
    return !widget_.designMode();
}

String WidgetSite::ambientDisplayName() const {
    return fromQString(widget_.objectName());
}

bool WidgetSite::extenderVisible() const {
    return !(widget_.testAttribute(Qt::WA_WState_ExplicitShowHide) &&
             widget_.testAttribute(Qt::WA_WState_Hidden));
}

bool WidgetSite::enabled() const {
    return widget_.isEnabled();
}

void WidgetSite::setEnabled(bool value) {
    widget_.setEnabled(value);
}

void WidgetSite::applyFrame() {
    if (borderStyle_ == 0) {
        widget_.setFrameStyle(QFrame::NoFrame);
    } else if (appearance_ == 1) {
        widget_.setFrameStyle(QFrame::WinPanel | QFrame::Sunken); // two pixels, sunken
    } else {
        widget_.setFrameStyle(QFrame::Box | QFrame::Plain);
        widget_.setLineWidth(1);
    }
}

void WidgetSite::setBorderStyle(Integer value) {
    if (value != 0 && value != 1) raise(invalidPropertyValue());
    borderStyle_ = value;
    applyFrame();
}

void WidgetSite::setAppearance(Integer value) {
    if (value != 0 && value != 1) raise(invalidPropertyValue());
    appearance_ = value;
    applyFrame();
}

Single WidgetSite::height() const {
    return static_cast<Single>(widget_.QWidget::height() * twipsPerPixel());
}

void WidgetSite::setHeight(Single value) {
    if (!(value >= 0)) raise(invalidPropertyValue());
    widget_.resize(widget_.width(), toPixels(value / twipsPerPixel()));
}

Single WidgetSite::scaleWidth() const {
    return static_cast<Single>(widget_.contentsRect().width() * unitsPerPixel());
}

Single WidgetSite::scaleHeight() const {
    return static_cast<Single>(widget_.contentsRect().height() * unitsPerPixel());
}

void WidgetSite::setScaleWidth(Single value) {
    if (!(value >= 0)) raise(invalidPropertyValue());
    const int frame = widget_.width() - widget_.contentsRect().width();
    widget_.resize(toPixels(value / unitsPerPixel()) + frame, widget_.QWidget::height());
}

void WidgetSite::setScaleHeight(Single value) {
    if (!(value >= 0)) raise(invalidPropertyValue());
    const int frame = widget_.QWidget::height() - widget_.contentsRect().height();
    widget_.resize(widget_.width(), toPixels(value / unitsPerPixel()) + frame);
}

void WidgetSite::setScaleMode(Integer value) {
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

Long WidgetSite::hWnd() const {
    return static_cast<Long>(widget_.winId());
}

void WidgetSite::refresh() {
    widget_.repaint();
}

void WidgetSite::propertyChanged(const String& key) {
    emit widget_.controlPropertyChanged(toQString(key));
}

void WidgetSite::raiseEvent(PlotaraEvent event, const std::vector<Variant>& args) {
    switch (event) {
    case PlotaraEvent::Show:
        emit widget_.shown();
        return;
    case PlotaraEvent::Resize:
        emit widget_.resized();
        return;
    case PlotaraEvent::Hide:
        emit widget_.hidden();
        return;
    case PlotaraEvent::DrillDown:
        emit widget_.drillDown(args.empty() ? QString() : toQString(toText(args[0])),
                               args.size() < 2 ? QVariant() : drillDownParameter(args[1]));
        return;
    case PlotaraEvent::ChartRendered:
        emit widget_.chartRendered();
        return;
    case PlotaraEvent::ChartLoaded:
        emit widget_.chartLoaded();
        return;
    }
}

Long WidgetSite::messageBox(const String& text, Long buttonsAndIcon, const String& caption) {
    return showMessageBox(&widget_, text, buttonsAndIcon, caption, widget_.modalRunner());
}

} // namespace plotara::qt
