// The container a PlotaraWidget is for its control: state the widget keeps (enabled, frame,
// sizes) in the control's units, event delivery as the widget's signals, message boxes as
// QMessageBox.
#pragma once

#include "platform/Container.h"

namespace plotara::qt {

class PlotaraWidget;

class WidgetSite final : public Container {
public:
    explicit WidgetSite(PlotaraWidget& widget) : widget_(widget) {}

    // Twips per pixel of the widget's screen (1440 / logical dots per inch). Cannot fail.
    double twipsPerPixel() const;

    bool ambientUserMode() const override;
    // The widget's object name.
    String ambientDisplayName() const override;
    // False only when the widget was hidden explicitly (not merely because its window is).
    bool extenderVisible() const override;
    bool enabled() const override;
    void setEnabled(bool value) override;
    Integer borderStyle() const override { return borderStyle_; }
    // Error 380 "Invalid property value" for anything but 0 and 1.
    void setBorderStyle(Integer value) override;
    Integer appearance() const override { return appearance_; }
    // Error 380 for anything but 0 and 1.
    void setAppearance(Integer value) override;
    // The outer height (frame included) in twips.
    Single height() const override;
    // Error 380 for a negative height.
    void setHeight(Single value) override;
    // The client area (inside the frame) in the coordinate unit.
    Single scaleWidth() const override;
    Single scaleHeight() const override;
    // Resize the client area; Error 380 for a negative size.
    void setScaleWidth(Single value) override;
    void setScaleHeight(Single value) override;
    Integer scaleMode() const override { return scaleMode_; }
    // Units 1 twips, 2 points, 3 pixels, 5 inches, 6 millimetres, 7 centimetres; Error 380 for
    // any other.
    void setScaleMode(Integer value) override;
    // The widget's native window (created on first use), truncated to 32 bits.
    Long hWnd() const override;
    // Repaints the widget at once.
    void refresh() override;
    // Emits controlPropertyChanged.
    void propertyChanged(const String& key) override;
    // Emits the event's signal; errors of directly connected slots reach the caller.
    void raiseEvent(PlotaraEvent event, const std::vector<Variant>& args) override;
    // A QMessageBox through the widget's modal runner; the button pressed.
    Long messageBox(const String& text, Long buttonsAndIcon = 0,
                    const String& caption = L"") override;

private:
    double dotsPerInch() const;
    double unitsPerPixel() const;
    void applyFrame();

    PlotaraWidget& widget_;
    Integer borderStyle_ = 0;
    Integer appearance_ = 1;
    Integer scaleMode_ = 3;
};

} // namespace plotara::qt
