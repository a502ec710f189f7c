#include "desktop/WidgetSite.h"

#include "core/SafeArray.h"
#include "desktop/MessageBoxes.h"
#include "desktop/PlotaraWidget.h"
#include "desktop/QtText.h"
#include "platform/ContainerUnits.h"

#include <QStringList>

#include <cmath>

namespace plotara::qt {

namespace {

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

double WidgetSite::dotsPerInch() const {
    const int dpi = widget_.logicalDpiX();
    return dpi > 0 ? dpi : 96;
}

double WidgetSite::twipsPerPixel() const {
    return container_units::twipsPerInch / dotsPerInch();
}

double WidgetSite::unitsPerPixel() const {
    return container_units::unitsPerPixel(scaleMode_, dotsPerInch());
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
    borderStyle_ = container_units::checkedFlag(value);
    applyFrame();
}

void WidgetSite::setAppearance(Integer value) {
    appearance_ = container_units::checkedFlag(value);
    applyFrame();
}

Single WidgetSite::height() const {
    return static_cast<Single>(widget_.QWidget::height() * twipsPerPixel());
}

void WidgetSite::setHeight(Single value) {
    widget_.resize(widget_.width(),
                   toPixels(container_units::checkedSize(value) / twipsPerPixel()));
}

Single WidgetSite::scaleWidth() const {
    return static_cast<Single>(widget_.contentsRect().width() * unitsPerPixel());
}

Single WidgetSite::scaleHeight() const {
    return static_cast<Single>(widget_.contentsRect().height() * unitsPerPixel());
}

void WidgetSite::setScaleWidth(Single value) {
    container_units::checkedSize(value);
    const int frame = widget_.width() - widget_.contentsRect().width();
    widget_.resize(toPixels(value / unitsPerPixel()) + frame, widget_.QWidget::height());
}

void WidgetSite::setScaleHeight(Single value) {
    container_units::checkedSize(value);
    const int frame = widget_.QWidget::height() - widget_.contentsRect().height();
    widget_.resize(widget_.width(), toPixels(value / unitsPerPixel()) + frame);
}

void WidgetSite::setScaleMode(Integer value) {
    scaleMode_ = container_units::checkedScaleMode(value);
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
