// The chart control on a Qt form: a QFrame that holds a Plotara control and is its container.
// The widget draws the control's chart player into its client area (inside the frame), turns
// show, resize and hide into the control's lifecycle calls, clicks on links into drill-downs,
// and the control's events into Qt signals.
#pragma once

#include "control/Plotara.h"
#include "desktop/ChartElements.h"
#include "desktop/ModalRunner.h"
#include "desktop/WindowPlayer.h"

#include <QFrame>
#include <QVariant>

#include <functional>
#include <memory>

class QMenu;

namespace plotara::qt {

class WidgetSite;
class ChartInteraction;

class PlotaraWidget : public QFrame {
    Q_OBJECT
    Q_PROPERTY(bool animationsEnabled READ animationsEnabled WRITE setAnimationsEnabled)
public:
    // A run-mode widget whose control starts with its initial properties (InitProperties).
    // Errors of the control's construction reach the caller.
    explicit PlotaraWidget(QWidget* parent = nullptr);
    ~PlotaraWidget() override;

    // The control the widget holds (its properties, Data, methods).
    Plotara& control() noexcept { return *control_; }
    // The container the control sees.
    Container& container() noexcept;
    // The movie host: the chart player and its picture.
    WindowPlayer& moviePlayer() noexcept { return *player_; }

    // The form designer's switch: design mode shows the control's sample preview and ignores
    // clicks on links. Tells the control that its ambient properties changed; never fails (an
    // error shows a message box, as for every lifecycle call the widget makes).
    void setDesignMode(bool design);
    bool designMode() const noexcept { return design_; }
    // Whether charts move (draw themselves in, move to new data) when the chart document, the
    // desktop (desktopAllowsMotion) and run mode let them: a host asking for reduced motion
    // turns it off, which ends a motion at once (chartRendered comes then). On by default.
    // Cannot fail.
    void setAnimationsEnabled(bool enabled);
    bool animationsEnabled() const noexcept { return animations_; }
    // Runs the message boxes the control shows (the default runs their modal loop).
    void setModalRunner(ModalRunner runner) { runner_ = std::move(runner); }
    const ModalRunner& modalRunner() const noexcept { return runner_; }

    // The context menu (Print..., Save as image..., Copy image) when the control's Menu is true,
    // owned by the caller; nullptr when it is false. Cannot fail.
    QMenu* createContextMenu();
    // Puts the chart's picture (as shown, device pixels) on the clipboard. Cannot fail.
    void copyImage();
    // The chart point under a widget position, in chart units. Cannot fail.
    QPointF chartPoint(const QPoint& widgetPosition) const;

    // The plot elements of the chart as shown (found again after the chart changed). Cannot fail.
    const std::vector<ChartElement>& chartElements();
    // Counts the times the element list was made anew. Cannot fail.
    unsigned elementsGeneration();
    // The element with the keyboard focus (an index into chartElements), -1 when none. Tab and
    // Shift+Tab move it between the elements with links, Enter and Space follow its link.
    int focusedElement() const noexcept { return focused_; }

    // Legend toggling, zoom and pan, the crosshair: its signals and the host's zoom setter.
    ChartInteraction& interaction() noexcept { return *interaction_; }

    QSize sizeHint() const override { return {640, 400}; }

signals:
    // The control's events, in the order it raises them. An exception thrown by a slot connected
    // directly reaches the control as a host handler's error does.
    void shown();
    void resized();
    void hidden();
    void drillDown(QString actionName, QVariant actionParameter);
    void chartLoaded();
    void chartRendered();
    // The control changed a saved property (its key: "ChartType", "XMLDataPath" ...).
    void controlPropertyChanged(QString key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    friend class WidgetSite;
    friend class ChartInteraction;
    void tellSize();
    void lifecycle(const std::function<void()>& call);
    // Moves the focus to the next (or previous) element with a link; false past the last.
    bool moveFocus(bool next);
    void setFocusedElement(int index);
    // Clicks the first element of the kind; false when the chart has none.
    bool clickElement(player::HitKind kind);

    std::unique_ptr<WidgetSite> site_;
    WindowPlayer* player_ = nullptr; // owned by the control
    std::unique_ptr<Plotara> control_;
    ModalRunner runner_;
    bool design_ = false;
    bool animations_ = true;
    bool pressed_ = false;
    QSize toldSize_;
    std::vector<ChartElement> elements_;
    unsigned elementsFrom_ = 0; // the player generation the elements were found in
    QSize elementsSize_;
    unsigned elementsGeneration_ = 0;
    int focused_ = -1;
    ChartInteraction* interaction_ = nullptr; // a child object
};

} // namespace plotara::qt
