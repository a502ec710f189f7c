// What a user does to the chart a PlotaraWidget shows, beyond following links:
// - a click, or Enter/Space on a focused entry, toggles a legend entry's series;
// - dragging a rectangle over the plot zooms to it (x only on category charts), Ctrl+wheel zooms
//   at the pointer, Shift+drag or the middle button pans, a double-click or Escape shows the
//   whole chart again; scroll charts scroll by dragging the plot;
// - hovering over the plot of a line or area chart shows every series' value at the nearest
//   category in one tool tip, with a vertical guide line.
// It watches the widget's events (an event filter) and paints its guide line and rubber band on
// a transparent layer over the chart; the chart itself changes through the player.
#pragma once

#include "player/ChartPlayer.h"

#include <QLineF>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRectF>

#include <optional>

class QMouseEvent;
class QWheelEvent;
class QKeyEvent;
class QHelpEvent;

namespace plotara::qt {

class PlotaraWidget;
class WindowPlayer;

class ChartInteraction : public QObject {
    Q_OBJECT
public:
    // Watches the widget's events; owned by the widget. Cannot fail.
    explicit ChartInteraction(PlotaraWidget& widget);
    ~ChartInteraction() override;

    // Hides or shows a series as its legend entry does (with the transition when the chart
    // moves); false when the legend does not toggle or nothing changed. Emits seriesToggled.
    bool toggleSeries(int index);
    // The host's way to zoom: shows a part of the chart (see ChartPlayer::setVisibleRange), or
    // the whole chart again. Emit zoomChanged as the user's zooms do.
    bool setVisibleRange(const VisibleRange& range);
    void resetZoom();
    VisibleRange visibleRange() const;
    // The crosshair's guide line (chart units) while the pointer is over a line or area plot,
    // and the rubber band while one is dragged. Cannot fail.
    std::optional<QLineF> guideLine() const { return guide_; }
    std::optional<QRectF> rubberBand() const { return band_; }

signals:
    void seriesToggled(QString name, bool visible);
    // The part of the chart shown (see VisibleRange); whole is true for the whole chart.
    void zoomChanged(double xMin, double xMax, double yMin, double yMax, bool whole);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool mousePress(QMouseEvent* event);
    bool mouseMove(QMouseEvent* event);
    bool mouseRelease(QMouseEvent* event);
    bool wheel(QWheelEvent* event);
    bool key(QKeyEvent* event);
    bool toolTip(QHelpEvent* event);
    void hover(QPointF at, QPoint global);
    // The legend entry's series under a point, -1 when none (or the legend does not toggle).
    int legendAt(QPointF at) const;
    std::optional<QRectF> plot() const;
    // The chart units of a point along the zoomed axes: a category index (fractional) or an XY
    // value.
    QPointF unitsAt(QPointF at, const VisibleRange& range) const;
    // A range in the units its plot is even in (logarithms on a logarithmic axis), and back.
    VisibleRange even(VisibleRange range) const;
    VisibleRange plain(VisibleRange range) const;
    bool apply(const VisibleRange& range); // zooms and tells zoomChanged when it changed
    void zoomBand(QRectF band);
    void zoomAt(QPointF at, double factor);
    void pan(QPointF from, QPointF to);
    void repaintLayer();

    PlotaraWidget& widget_;
    WindowPlayer& player_;
    QWidget* layer_;
    enum class Drag { None, Band, Pan } drag_ = Drag::None;
    QPointF pressAt_;
    VisibleRange dragRange_;
    bool moved_ = false; // the pointer left the press point: a drag, not a click
    int pressedLegend_ = -1;
    std::optional<QLineF> guide_;
    std::optional<QRectF> band_;
};

} // namespace plotara::qt
