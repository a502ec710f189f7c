#include "platform/qt/PlotaraWidget.h"

#include "core/ErrorTrap.h"
#include "core/Text.h"
#include "platform/qt/QtText.h"
#include "platform/qt/WidgetSite.h"

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
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // The whole client area is painted from the chart's picture: no background fill first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    control_->InitProperties();
}

PlotaraWidget::~PlotaraWidget() {
    // The control goes first: it may still reach its container while it is released.
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
    const bool link = hit.hit && (!hit.link.empty() || hit.kind.rfind(L"scroll-", 0) == 0);
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
