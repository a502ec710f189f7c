#include "desktop/ChartInteraction.h"

#include "desktop/PlotaraWidget.h"
#include "desktop/QtText.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>

namespace plotara::qt {

namespace {

// A drag starts once the pointer is this far (chart units) from where it was pressed.
constexpr double dragDistance = 4;
// One wheel notch with Ctrl shows this share of the range (or its inverse, zooming out).
constexpr double wheelZoom = 0.8;

// The transparent layer over the chart: the crosshair's guide line and the rubber band.
class Layer final : public QWidget {
public:
    Layer(QWidget* parent, const ChartInteraction& interaction)
        : QWidget(parent), interaction_(interaction) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QPalette& colors = parentWidget()->palette();
        if (const auto guide = interaction_.guideLine()) {
            QColor line = colors.color(QPalette::WindowText);
            line.setAlpha(140);
            painter.setPen(QPen(line, 1, Qt::DashLine));
            painter.drawLine(*guide);
        }
        if (const auto band = interaction_.rubberBand()) {
            QColor fill = colors.color(QPalette::Highlight);
            painter.setPen(QPen(fill, 1));
            fill.setAlpha(50);
            painter.setBrush(fill);
            painter.drawRect(*band);
        }
    }

private:
    const ChartInteraction& interaction_;
};

bool sameRange(const VisibleRange& a, const VisibleRange& b) {
    return a.xMin == b.xMin && a.xMax == b.xMax && a.yMin == b.yMin && a.yMax == b.yMax;
}

} // namespace

ChartInteraction::ChartInteraction(PlotaraWidget& widget)
    : QObject(&widget), widget_(widget), player_(widget.moviePlayer()),
      layer_(new Layer(&widget, *this)) {
    layer_->setGeometry(widget.contentsRect());
    widget.installEventFilter(this);
}

ChartInteraction::~ChartInteraction() {
    widget_.removeEventFilter(this);
    delete layer_; // it paints from this object
}

bool ChartInteraction::toggleSeries(int index) {
    const ChartPlayer& chart = player_.player();
    const bool visible = !chart.seriesVisible(index);
    if (!player_.change([&](ChartPlayer& p) { return p.setSeriesVisible(index, visible); }))
        return false;
    QString name;
    for (const ChartElement& e : widget_.chartElements())
        if (e.info.kind == player::HitKind::Legend && e.info.seriesIndex == index)
            name = toQString(e.info.series);
    player_.animateChange();
    emit seriesToggled(name, visible);
    return true;
}

VisibleRange ChartInteraction::visibleRange() const {
    return player_.player().visibleRange();
}

bool ChartInteraction::setVisibleRange(const VisibleRange& range) {
    return apply(range);
}

void ChartInteraction::resetZoom() {
    if (!player_.player().zoomed()) return;
    player_.change([](ChartPlayer& p) {
        p.resetVisibleRange();
        return true;
    });
    const VisibleRange r = visibleRange();
    emit zoomChanged(r.xMin, r.xMax, r.yMin, r.yMax, true);
}

bool ChartInteraction::apply(const VisibleRange& range) {
    const VisibleRange before = visibleRange();
    if (!player_.change([&](ChartPlayer& p) { return p.setVisibleRange(range); })) return false;
    const VisibleRange after = visibleRange();
    if (!sameRange(before, after))
        emit zoomChanged(after.xMin, after.xMax, after.yMin, after.yMax,
                         !player_.player().zoomed());
    return true;
}

std::optional<QRectF> ChartInteraction::plot() const {
    player_.settle();
    const auto& p = player_.player().scene().layout.plot;
    if (!p || !player_.player().zooms()) return std::nullopt;
    return QRectF(p->x, p->y, p->w, p->h);
}

QPointF ChartInteraction::unitsAt(QPointF at, const VisibleRange& r) const {
    const QRectF p = plot().value_or(QRectF(0, 0, 1, 1));
    const double fx = (at.x() - p.left()) / std::max(p.width(), 1.0);
    const double fy = (p.bottom() - at.y()) / std::max(p.height(), 1.0);
    const bool xy = player_.player().scene().layout.axis("x") != nullptr;
    if (!xy) // categories: their centres stand at the middle of equal slots
        return {r.xMin - 0.5 + fx * (r.xMax - r.xMin + 1), 0};
    return {r.xMin + fx * (r.xMax - r.xMin), r.yMin + fy * (r.yMax - r.yMin)};
}

VisibleRange ChartInteraction::even(VisibleRange r) const {
    const auto& layout = player_.player().scene().layout;
    auto logOf = [](double v) { return std::log(std::max(v, 1e-300)); };
    if (const auto* x = layout.axis("x"); x && x->log)
        r.xMin = logOf(r.xMin), r.xMax = logOf(r.xMax);
    if (const auto* y = layout.axis("y"); y && y->log)
        r.yMin = logOf(r.yMin), r.yMax = logOf(r.yMax);
    return r;
}

VisibleRange ChartInteraction::plain(VisibleRange r) const {
    const auto& layout = player_.player().scene().layout;
    if (const auto* x = layout.axis("x"); x && x->log)
        r.xMin = std::exp(r.xMin), r.xMax = std::exp(r.xMax);
    if (const auto* y = layout.axis("y"); y && y->log)
        r.yMin = std::exp(r.yMin), r.yMax = std::exp(r.yMax);
    return r;
}

void ChartInteraction::zoomBand(QRectF band) {
    const VisibleRange r = even(visibleRange());
    const QPointF a = unitsAt(band.bottomLeft(), r), b = unitsAt(band.topRight(), r);
    VisibleRange next = r;
    if (player_.player().scene().layout.axis("x") == nullptr) {
        // The categories whose centres the band holds.
        next.xMin = std::ceil(a.x());
        next.xMax = std::max(std::floor(b.x()), next.xMin + 1);
    } else {
        next = plain({a.x(), b.x(), a.y(), b.y()});
    }
    apply(next);
}

void ChartInteraction::zoomAt(QPointF at, double factor) {
    const VisibleRange r = even(visibleRange()), whole = even(player_.player().fullRange());
    const QPointF u = unitsAt(at, r);
    VisibleRange next{u.x() - (u.x() - r.xMin) * factor, u.x() + (r.xMax - u.x()) * factor,
                      u.y() - (u.y() - r.yMin) * factor, u.y() + (r.yMax - u.y()) * factor};
    const bool categories = player_.player().scene().layout.axis("x") == nullptr;
    if (categories) {
        next.yMin = r.yMin, next.yMax = r.yMax;
        // Every notch in shows at least one category less.
        const double width = r.xMax - r.xMin;
        if (factor < 1 && next.xMax - next.xMin > width - 1)
            next.xMax = next.xMin + std::max(width - 1, 1.0);
    }
    const bool coversX = next.xMin <= whole.xMin && next.xMax >= whole.xMax;
    const bool coversY = categories || (next.yMin <= whole.yMin && next.yMax >= whole.yMax);
    if (factor > 1 && coversX && coversY) {
        resetZoom();
        return;
    }
    apply(plain(next));
}

void ChartInteraction::pan(QPointF from, QPointF to) {
    const VisibleRange r = even(dragRange_);
    const QPointF d = unitsAt(to, r) - unitsAt(from, r);
    VisibleRange next{r.xMin - d.x(), r.xMax - d.x(), r.yMin - d.y(), r.yMax - d.y()};
    if (player_.player().scene().layout.axis("x") == nullptr) {
        next.xMin = std::round(next.xMin);
        next.xMax = next.xMin + (r.xMax - r.xMin);
    }
    apply(plain(next));
}

int ChartInteraction::legendAt(QPointF at) const {
    if (!player_.player().legendToggles()) return -1;
    const HitInfo hit = player_.hoverAt(at.x(), at.y());
    return hit.hit && hit.kind == player::HitKind::Legend ? hit.seriesIndex : -1;
}

bool ChartInteraction::mousePress(QMouseEvent* event) {
    const QPointF at = widget_.chartPoint(event->position().toPoint());
    moved_ = false;
    if (event->button() == Qt::LeftButton && (pressedLegend_ = legendAt(at)) >= 0) return true;
    const auto p = plot();
    if (!p || !p->contains(at)) return false;
    const bool middle = event->button() == Qt::MiddleButton;
    if (event->button() != Qt::LeftButton && !middle) return false;
    pressAt_ = at;
    dragRange_ = visibleRange();
    // Scroll charts scroll by dragging; the others draw a rubber band unless Shift pans.
    const bool pans =
        middle || player_.player().scrolls() || event->modifiers() & Qt::ShiftModifier;
    drag_ = pans ? Drag::Pan : Drag::Band;
    return middle;
}

bool ChartInteraction::mouseMove(QMouseEvent* event) {
    const QPointF at = widget_.chartPoint(event->position().toPoint());
    if (drag_ == Drag::None) {
        if (event->buttons() == Qt::NoButton) hover(at, event->globalPosition().toPoint());
        return pressedLegend_ >= 0;
    }
    const QPointF d = at - pressAt_;
    if (!moved_ && std::hypot(d.x(), d.y()) < dragDistance) return true;
    moved_ = true;
    guide_.reset();
    QToolTip::hideText();
    if (drag_ == Drag::Pan) {
        widget_.setCursor(Qt::ClosedHandCursor);
        pan(pressAt_, at);
    } else {
        band_ = QRectF(pressAt_, at).normalized().intersected(*plot());
        if (player_.player().scene().layout.axis("x") == nullptr)
            band_ = QRectF(band_->left(), plot()->top(), band_->width(), plot()->height());
    }
    repaintLayer();
    return true;
}

bool ChartInteraction::mouseRelease(QMouseEvent* event) {
    const QPointF at = widget_.chartPoint(event->position().toPoint());
    if (pressedLegend_ >= 0) {
        const int pressed = pressedLegend_;
        pressedLegend_ = -1;
        if (legendAt(at) == pressed) toggleSeries(pressed);
        return true;
    }
    const Drag drag = std::exchange(drag_, Drag::None);
    if (drag == Drag::None || !moved_) return false;
    widget_.unsetCursor();
    if (drag == Drag::Band && band_ && band_->width() >= dragDistance) zoomBand(*band_);
    band_.reset();
    repaintLayer();
    return true;
}

bool ChartInteraction::wheel(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) return false;
    const QPointF at = widget_.chartPoint(event->position().toPoint());
    const auto p = plot();
    const int delta = event->angleDelta().y();
    if (!p || !p->contains(at) || delta == 0) return false;
    zoomAt(at, delta > 0 ? wheelZoom : 1 / wheelZoom);
    return true;
}

bool ChartInteraction::key(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Escape && player_.player().zoomed()) {
        resetZoom();
        return true;
    }
    const bool activate = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    const int focused = widget_.focusedElement();
    if (!activate || focused < 0) return false;
    const ChartElement element = widget_.chartElements().at(static_cast<std::size_t>(focused));
    if (!element.checkable || !toggleSeries(element.info.seriesIndex)) return false;
    // The list is made anew for the new layout: the focus stays on the entry.
    const auto& elements = widget_.chartElements();
    for (std::size_t i = 0; i < elements.size(); ++i)
        if (elements[i].info.kind == player::HitKind::Legend &&
            elements[i].info.seriesIndex == element.info.seriesIndex)
            widget_.setFocusedElement(static_cast<int>(i));
    return true;
}

void ChartInteraction::hover(QPointF at, QPoint global) {
    const CategoryValues category = player_.player().categoryAt(at.x(), at.y());
    std::optional<QLineF> guide;
    if (category.found) guide = QLineF(category.x, category.top, category.x, category.bottom);
    if (guide != guide_) {
        guide_ = guide;
        repaintLayer();
    }
    if (category.found && QToolTip::isVisible())
        QToolTip::showText(global, toQString(category.toolText), &widget_);
}

bool ChartInteraction::toolTip(QHelpEvent* event) {
    const QPointF at = widget_.chartPoint(event->pos());
    player_.settle();
    const CategoryValues category = player_.player().categoryAt(at.x(), at.y());
    if (!category.found) return false;
    QToolTip::showText(event->globalPos(), toQString(category.toolText), &widget_);
    return true;
}

void ChartInteraction::repaintLayer() {
    layer_->raise();
    layer_->update();
}

bool ChartInteraction::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &widget_) return false;
    if (event->type() == QEvent::Resize) layer_->setGeometry(widget_.contentsRect());
    if (event->type() == QEvent::Leave && guide_) {
        guide_.reset();
        repaintLayer();
    }
    if (widget_.designMode()) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return mousePress(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove:
        return mouseMove(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
        return mouseRelease(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto p = plot();
        if (!p || !p->contains(widget_.chartPoint(mouse->position().toPoint()))) return false;
        resetZoom();
        return true;
    }
    case QEvent::Wheel:
        return wheel(static_cast<QWheelEvent*>(event));
    case QEvent::KeyPress:
        return key(static_cast<QKeyEvent*>(event));
    case QEvent::ToolTip:
        return toolTip(static_cast<QHelpEvent*>(event));
    default:
        return false;
    }
}

} // namespace plotara::qt
