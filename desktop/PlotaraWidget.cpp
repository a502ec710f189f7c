#include "desktop/PlotaraWidget.h"

#include "core/ErrorTrap.h"
#include "core/Text.h"
#include "desktop/ChartAccessible.h"
#include "desktop/ChartInteraction.h"
#include "desktop/QtText.h"
#include "desktop/WidgetSite.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QWheelEvent>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace plotara::qt {

PlotaraWidget::PlotaraWidget(QWidget* parent)
    : QFrame(parent), site_(std::make_unique<WidgetSite>(*this)) {
    auto player = std::make_unique<WindowPlayer>();
    player_ = player.get();
    control_ = std::make_unique<Plotara>(*site_, std::move(player));
    player_->onChanged([this] { update(); });
    player_->setAnimationsAllowed(
        [this] { return animations_ && !design_ && desktopAllowsMotion(*this); });
    interaction_ = new ChartInteraction(*this);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // The whole client area is painted from the chart's picture: no background fill first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Screen readers see the chart's elements; Qt keeps one factory list for the process.
    static const bool accessible = [] {
        QAccessible::installFactory(&ChartAccessible::factory);
        return true;
    }();
    (void)accessible;
    control_->InitProperties();
}

PlotaraWidget::~PlotaraWidget() {
    // The interaction goes before anything it watches: QWidget's destructor still sends events
    // (a hide) when this widget is only a QWidget any more.
    delete interaction_;
    interaction_ = nullptr;
    // The control goes next: it may still reach its container while it is released.
    control_.reset();
}

Container& PlotaraWidget::container() noexcept {
    return *site_;
}

void PlotaraWidget::setDesignMode(bool design) {
    design_ = design;
    control_->onAmbientChanged();
    if (isVisible()) lifecycle([this] { control_->onShow(); });
}

void PlotaraWidget::setAnimationsEnabled(bool enabled) {
    animations_ = enabled;
    if (!enabled) player_->endAnimation();
}

QPointF PlotaraWidget::chartPoint(const QPoint& widgetPosition) const {
    return QPointF(widgetPosition - contentsRect().topLeft());
}

void PlotaraWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event); // the frame
    QPainter painter(this);
    const QRect client = contentsRect();
    painter.setClipRect(client);
    const QImage& picture = player_->picture(devicePixelRatioF());
    painter.drawImage(client.topLeft(), picture);
    // The part of the client area the chart does not cover (a chart of a fixed size).
    const QSizeF shown = picture.deviceIndependentSize();
    const QColor blank = palette().color(QPalette::Base);
    if (shown.width() < client.width())
        painter.fillRect(QRectF(client.left() + shown.width(), client.top(),
                                client.width() - shown.width(), client.height()),
                         blank);
    if (shown.height() < client.height())
        painter.fillRect(QRectF(client.left(), client.top() + shown.height(),
                                std::min<qreal>(shown.width(), client.width()),
                                client.height() - shown.height()),
                         blank);
    if (hasFocus() && focused_ >= 0 && focused_ < static_cast<int>(elements_.size())) {
        // A focus ring of the palette's highlight colour around the element.
        const QRectF ring = elements_[static_cast<std::size_t>(focused_)]
                                .bounds.adjusted(-3, -3, 3, 3)
                                .translated(client.topLeft());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(ring, 3, 3);
    }
}

const std::vector<ChartElement>& PlotaraWidget::chartElements() {
    player_->settle();
    const QSize size = contentsRect().size();
    if (elementsFrom_ != player_->generation() || elementsSize_ != size) {
        elements_ = findChartElements(*player_, size);
        elementsFrom_ = player_->generation();
        elementsSize_ = size;
        ++elementsGeneration_;
        focused_ = -1;
    }
    return elements_;
}

unsigned PlotaraWidget::elementsGeneration() {
    chartElements();
    return elementsGeneration_;
}

void PlotaraWidget::setFocusedElement(int index) {
    focused_ = index;
    update();
    if (index < 0 || !QAccessible::isActive()) return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(index);
    QAccessible::updateAccessibility(&focus);
}

bool PlotaraWidget::moveFocus(bool next) {
    const auto& elements = chartElements();
    const int count = static_cast<int>(elements.size());
    for (int i = focused_ + (next ? 1 : -1); i >= 0 && i < count; i += next ? 1 : -1) {
        if (elements[static_cast<std::size_t>(i)].focusable()) {
            setFocusedElement(i);
            return true;
        }
    }
    return false;
}

bool PlotaraWidget::focusNextPrevChild(bool next) {
    if (hasFocus() && moveFocus(next)) return true;
    setFocusedElement(-1); // leaving the chart
    return QFrame::focusNextPrevChild(next);
}

void PlotaraWidget::focusInEvent(QFocusEvent* event) {
    QFrame::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason) {
        focused_ = -1;
        moveFocus(true);
    } else if (event->reason() == Qt::BacktabFocusReason) {
        focused_ = static_cast<int>(chartElements().size());
        if (!moveFocus(false)) focused_ = -1;
    }
    update();
}

void PlotaraWidget::focusOutEvent(QFocusEvent* event) {
    QFrame::focusOutEvent(event);
    update();
}

void PlotaraWidget::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool activate = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    if (activate && focused_ >= 0 && !design_) {
        const QPointF at = chartElements().at(static_cast<std::size_t>(focused_)).anchor;
        lifecycle([&] { player_->clickAt(at.x(), at.y()); });
        return;
    }
    if ((key == Qt::Key_Left && clickElement(player::HitKind::ScrollLeft)) ||
        (key == Qt::Key_Right && clickElement(player::HitKind::ScrollRight)))
        return;
    QFrame::keyPressEvent(event);
}

bool PlotaraWidget::clickElement(player::HitKind kind) {
    for (const ChartElement& element : chartElements())
        if (element.info.kind == kind) {
            const QPointF at = element.anchor;
            player_->clickAt(at.x(), at.y());
            return true;
        }
    return false;
}

void PlotaraWidget::wheelEvent(QWheelEvent* event) {
    const QPoint steps = event->angleDelta();
    const int delta = steps.y() != 0 ? steps.y() : -steps.x();
    if (delta != 0 &&
        clickElement(delta < 0 ? player::HitKind::ScrollRight : player::HitKind::ScrollLeft)) {
        event->accept();
        return;
    }
    QFrame::wheelEvent(event);
}

void PlotaraWidget::lifecycle(const std::function<void()>& call) {
    // An error of a host's slot cannot travel through Qt's event loop: it is shown instead, the
    // way the control shows the errors of its own show handler.
    const auto error = ErrorTrap::capture(call);
    if (!error) return;
    site_->messageBox(L"Error Number: " + text::decimal(error->number()) + L"\n" +
                          L"Description: " + error->description(),
                      16);
}

void PlotaraWidget::tellSize() {
    const QSize size = contentsRect().size();
    if (size == toldSize_) return;
    toldSize_ = size;
    lifecycle([this] { control_->onResize(); });
}

void PlotaraWidget::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    if (event->spontaneous()) return; // a window coming back from the task bar
    lifecycle([this] { control_->onShow(); });
    tellSize();
}

void PlotaraWidget::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    if (event->spontaneous()) return;
    lifecycle([this] { control_->onHide(); });
}

void PlotaraWidget::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    // A hidden widget learns its size when it is shown.
    if (isVisible()) tellSize();
}

void PlotaraWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = chartPoint(event->position().toPoint());
    const HitInfo hit = player_->hoverAt(at.x(), at.y());
    const bool link = hit.hit && (!hit.link.empty() || player::isScroll(hit.kind));
    if (link && !design_)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    QFrame::mouseMoveEvent(event);
}

void PlotaraWidget::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QFrame::mousePressEvent(event);
}

void PlotaraWidget::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       contentsRect().contains(event->position().toPoint());
    pressed_ = false;
    if (click && !design_) {
        const QPointF at = chartPoint(event->position().toPoint());
        lifecycle([&] { player_->clickAt(at.x(), at.y()); });
    }
    QFrame::mouseReleaseEvent(event);
}

bool PlotaraWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QPointF at = chartPoint(help->pos());
        const HitInfo hit = player_->hoverAt(at.x(), at.y());
        if (hit.hit && !hit.toolText.empty())
            QToolTip::showText(help->globalPos(), toQString(hit.toolText), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QFrame::event(event);
}

QMenu* PlotaraWidget::createContextMenu() {
    if (!control_->get_Menu()) return nullptr;
    auto* menu = new QMenu(this);
    menu->addAction(tr("Print..."), this, [this] { control_->PrintChart(); });
    menu->addAction(tr("Save as image..."), this, [this] { control_->SaveAsImage(true); });
    menu->addAction(tr("Copy image"), this, [this] { copyImage(); });
    return menu;
}

void PlotaraWidget::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createContextMenu();
    if (menu == nullptr) {
        event->ignore();
        return;
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void PlotaraWidget::copyImage() {
    QApplication::clipboard()->setImage(player_->picture(devicePixelRatioF()));
}

} // namespace plotara::qt
