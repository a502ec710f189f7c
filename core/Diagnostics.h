// The diagnostics channel: how the component tells a listening host about a call it coerced,
// ignored or let fail silently (its documented behaviour stays as it is).
#pragma once

#include "core/String.h"

#include <functional>
#include <utility>

namespace plotara {

enum class Severity {
    Info,    // worth knowing, nothing was lost (no data to display)
    Warning, // a value was coerced or a piece of input was dropped
    Error    // an operation failed silently: nothing or an error text was produced
};

// One record: how bad, which public member (or event) it concerns, what happened.
struct Diagnostic {
    Severity severity = Severity::Warning;
    String member; // "addChartData", "ChartType", "RenderChart", "Movie", ...
    String text;
};

// The listener a host installs; it is called on the thread that made the call, synchronously.
// An exception it throws reaches that call's caller.
using DiagnosticsHandler = std::function<void(const Diagnostic&)>;

// An object that reports to a listener.
class DiagnosticsSource {
public:
    virtual ~DiagnosticsSource() = default;
    // Installs the listener (an empty one stops the reports). Cannot fail.
    virtual void setDiagnostics(DiagnosticsHandler handler) = 0;
};

// The listener an object holds; reporting without one does nothing.
class DiagnosticsChannel {
public:
    // Installs the listener. Cannot fail.
    void set(DiagnosticsHandler handler) { handler_ = std::move(handler); }
    const DiagnosticsHandler& handler() const noexcept { return handler_; }
    // Whether a listener is installed, so that a report's text is only built for one.
    bool listening() const noexcept { return static_cast<bool>(handler_); }
    // Calls the listener when there is one; its exceptions reach the caller.
    void report(Severity severity, String member, String text) const {
        if (handler_) handler_(Diagnostic{severity, std::move(member), std::move(text)});
    }

private:
    DiagnosticsHandler handler_;
};

} // namespace plotara
