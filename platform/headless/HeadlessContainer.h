// An in-process container for the command line and the tests: it keeps the control's state,
// switches between design and run mode, records what the control tells it in order, and answers
// message boxes from a queue.
#pragma once

#include "platform/Container.h"

#include <deque>
#include <functional>

namespace plotara {

// One message box the control showed, with the answer it got.
struct MessageBoxRecord {
    String text;
    Long buttons = 0; // the low four bits of the style (0 OK only, 1 OK/Cancel, 4 Yes/No ...)
    Long icon = 0;    // 16 critical, 32 question, 48 exclamation, 64 information, 0 none
    String caption;
    Long answer = 0;
};

// One event the control raised, with its arguments.
struct RaisedEvent {
    PlotaraEvent event;
    std::vector<Variant> args;
};

// The event's name as the control's event interface spells it ("Show", "DrillDown" ...).
String eventName(PlotaraEvent event);

class HeadlessContainer final : public Container {
public:
    // The handlers the container calls on the control it holds.
    struct Lifecycle {
        std::function<void()> show, resize, hide, ambientChanged;
    };
    using EventHandler = std::function<void(PlotaraEvent, const std::vector<Variant>&)>;

    // A run-mode container with a visible, enabled 320 x 240 pixel control.
    HeadlessContainer();

    // --- driving the container (what a form or designer does) -----------------------------
    void bind(Lifecycle lifecycle);
    // Switches between design (false) and run mode (true), then calls the ambient-change handler.
    void setUserMode(bool runMode);
    void setDisplayName(String name) { displayName_ = std::move(name); }
    void setExtenderVisible(bool visible) { extenderVisible_ = visible; }
    void setWindowHandle(Long handle) { hWnd_ = handle; }
    // Calls the show or hide handler; does nothing when none is bound.
    void show();
    void hide();
    // Gives the control a new inner size in pixels and calls its resize handler.
    void resize(Single widthPixels, Single heightPixels);
    // The host's event handler; it runs inside raiseEvent, after the event is recorded.
    void onEvent(EventHandler handler) { eventHandler_ = std::move(handler); }
    // Answers for the next message boxes, first in first out; with an empty queue a box gets
    // its default button (the first, or the one 0x100 or 0x200 chooses).
    void queueAnswer(Long answer) { answers_.push_back(answer); }

    // --- what the control did ---------------------------------------------------------------
    const std::vector<String>& notifications() const noexcept { return notifications_; }
    const std::vector<RaisedEvent>& events() const noexcept { return events_; }
    const std::vector<MessageBoxRecord>& messageBoxes() const noexcept { return messageBoxes_; }
    // Notifications, events and message boxes in the order they happened, as "changed Border",
    // "event Show" and "message <text>".
    const std::vector<String>& journal() const noexcept { return journal_; }
    int refreshCount() const noexcept { return refreshCount_; }
    // Forgets everything recorded; the state stays.
    void clearRecords();
    // The inner size in pixels whatever the coordinate unit.
    Single widthPixels() const noexcept { return widthPixels_; }
    Single heightPixels() const noexcept { return heightPixels_; }

    // --- Container ----------------------------------------------------------------------------
    bool ambientUserMode() const override { return runMode_; }
    String ambientDisplayName() const override { return displayName_; }
    bool extenderVisible() const override { return extenderVisible_; }
    bool enabled() const override { return enabled_; }
    void setEnabled(bool value) override { enabled_ = value; }
    Integer borderStyle() const override { return borderStyle_; }
    // Error 380 "Invalid property value" for anything but 0 and 1.
    void setBorderStyle(Integer value) override;
    Integer appearance() const override { return appearance_; }
    // Error 380 for anything but 0 and 1.
    void setAppearance(Integer value) override;
    // Outer height in twips: the inner height plus the border frame, 15 twips to the pixel.
    Single height() const override;
    // Error 380 for a negative height.
    void setHeight(Single value) override;
    Single scaleWidth() const override;
    Single scaleHeight() const override;
    // Error 380 for a negative size.
    void setScaleWidth(Single value) override;
    void setScaleHeight(Single value) override;
    Integer scaleMode() const override { return scaleMode_; }
    // Units 1 twips, 2 points, 3 pixels, 5 inches, 6 millimetres, 7 centimetres; Error 380 for
    // any other.
    void setScaleMode(Integer value) override;
    Long hWnd() const override { return hWnd_; }
    void refresh() override { ++refreshCount_; }
    void propertyChanged(const String& key) override;
    // Records the event, then runs the host's handler; the handler's errors reach the control.
    void raiseEvent(PlotaraEvent event, const std::vector<Variant>& args) override;
    // Records the box and returns the next queued answer, or the box's default button when none
    // is queued. Cannot fail.
    Long messageBox(const String& text, Long buttonsAndIcon = 0,
                    const String& caption = L"") override;

private:
    double unitsPerPixel() const;
    Single framePixels() const;

    bool runMode_ = true;
    String displayName_ = L"Plotara1";
    bool extenderVisible_ = true;
    bool enabled_ = true;
    Integer borderStyle_ = 0;
    Integer appearance_ = 1;
    Single widthPixels_ = 320;
    Single heightPixels_ = 240;
    Integer scaleMode_ = 3;
    Long hWnd_ = 0x000A0B2C;
    int refreshCount_ = 0;
    Lifecycle lifecycle_;
    EventHandler eventHandler_;
    std::deque<Long> answers_;
    std::vector<String> notifications_;
    std::vector<RaisedEvent> events_;
    std::vector<MessageBoxRecord> messageBoxes_;
    std::vector<String> journal_;
};

} // namespace plotara
