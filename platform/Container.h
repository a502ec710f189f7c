// What the chart control needs of its container: the form or designer that holds it.
#pragma once

#include "core/String.h"
#include "core/Variant.h"

#include <vector>

namespace plotara {

// The control's events with their dispatch ids.
enum class PlotaraEvent : Long {
    Show = 1,
    Resize = 2,
    Hide = 3,
    DrillDown = 4,
    ChartRendered = 5,
    ChartLoaded = 6
};

class Container {
public:
    virtual ~Container() = default;
    // The ambient and extender reads cannot fail in a live container.
    virtual bool ambientUserMode() const = 0; // false in a form designer, true at run time
    virtual String ambientDisplayName() const = 0;
    virtual bool extenderVisible() const = 0;
    // The control's own state as the container keeps it. Writers raise an Error for a value the
    // container refuses (an implementation decides which).
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool) = 0;
    virtual Integer borderStyle() const = 0; // 0 none, 1 fixed single
    virtual void setBorderStyle(Integer) = 0;
    virtual Integer appearance() const = 0; // 0 flat, 1 3D
    virtual void setAppearance(Integer) = 0;
    virtual Single height() const = 0; // outer height, container units
    virtual void setHeight(Single) = 0;
    virtual Single scaleWidth() const = 0; // inner (client) size in the current coordinate unit
    virtual Single scaleHeight() const = 0;
    virtual void setScaleWidth(Single) = 0;
    virtual void setScaleHeight(Single) = 0;
    virtual Integer scaleMode() const = 0; // 3 = pixels
    virtual void setScaleMode(Integer) = 0;
    virtual Long hWnd() const = 0;
    virtual void refresh() = 0;
    // Marks the control as changed; cannot fail.
    virtual void propertyChanged(const String& key) = 0;
    // Delivers the event to the host's handler before returning; an Error raised by the handler
    // reaches the caller.
    virtual void raiseEvent(PlotaraEvent event, const std::vector<Variant>& args) = 0;
    // Modal; returns the button pressed (1 OK, 2 Cancel, 6 Yes, 7 No ...).
    virtual Long messageBox(const String& text, Long buttonsAndIcon = 0,
                            const String& caption = L"") = 0;
};

} // namespace plotara
