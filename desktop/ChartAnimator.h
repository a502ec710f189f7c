// The clock of a chart's motion in a window. The player keeps no clock: it draws the frame at a
// progress. The animator runs the progress from 0 to 1 over the chart's duration (linearly: the
// player eases) on Qt's animation timer, and asks for a repaint at every step. A motion is
// planned when a chart loads and starts at the next turn of the event loop, so that the charts
// loaded in one turn (a host refilling its data several times) make one motion, of the last.
#pragma once

#include <QTimer>
#include <QVariantAnimation>

#include <functional>

class QWidget;

namespace plotara::qt {

// Whether the desktop lets the widget's charts move, as far as Qt 6 tells an application: the
// widget style's animation duration (SH_Widget_Animation_Duration), which a style gives as 0 when
// animations are off. (Qt's general UI effects are no such switch: they are off by default on
// Linux whatever the desktop says.) Cannot fail.
bool desktopAllowsMotion(const QWidget& widget);

class ChartAnimator final : public QVariantAnimation {
    Q_OBJECT
public:
    ChartAnimator();

    // Called at every step of a motion (and when it ends), to repaint. Cannot fail.
    void onFrame(std::function<void()> frame) { frame_ = std::move(frame); }
    // Plans the motion of the chart just loaded over the seconds; done is called once when it
    // ends, played to its end or ended early. A motion planned or running before ends first
    // (its done is called). Errors of done reach the caller.
    void plan(double seconds, std::function<void()> done);
    // Ends a planned or running motion at once (the progress is 1) and calls its done. Nothing
    // when none is planned or running. Errors of done reach the caller.
    void end();
    // Whether a motion is planned or running.
    bool active() const noexcept { return planned_ || state() != Stopped; }
    // Whether a motion runs (it started).
    bool running() const noexcept { return state() != Stopped; }
    // The progress of the frame to show: 0 while a motion is planned, its share of the time
    // while it runs, 1 otherwise. Cannot fail.
    double progress() const;

private:
    void begin();
    void finish();

    QTimer next_; // the zero timer of the next turn of the event loop
    bool planned_ = false;
    std::function<void()> frame_, done_;
};

} // namespace plotara::qt
