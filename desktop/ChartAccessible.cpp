#include "desktop/ChartAccessible.h"

#include "desktop/PlotaraWidget.h"

namespace plotara::qt {

namespace {

// One plot element: read through the widget each time, invalid once the layout changed.
class ElementAccessible final : public QAccessibleInterface {
public:
    ElementAccessible(PlotaraWidget* chart, int index, unsigned generation)
        : chart_(chart), index_(index), generation_(generation) {}

    bool isValid() const override {
        return !chart_.isNull() && chart_->elementsGeneration() == generation_ &&
               index_ < static_cast<int>(chart_->chartElements().size());
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return chart_ ? chart_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(chart_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text kind) const override {
        if (!isValid()) return {};
        const ChartElement& e = element();
        switch (kind) {
        case QAccessible::Name:
            return e.accessibleName();
        case QAccessible::Description:
            return QString::fromStdWString(e.info.series);
        case QAccessible::Value:
            return QString::fromStdWString(e.info.value);
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect local =
            element().bounds.toAlignedRect().translated(chart_->contentsRect().topLeft());
        return QRect(chart_->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override {
        return element().checkable ? QAccessible::CheckBox : QAccessible::Graphic;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = element().focusable();
        s.checkable = element().checkable;
        s.checked = element().checked;
        s.focused = chart_->hasFocus() && chart_->focusedElement() == index_;
        s.linked = element().isLink();
        return s;
    }

private:
    const ChartElement& element() const { return chart_->chartElements().at(index_); }

    QPointer<PlotaraWidget> chart_;
    int index_;
    unsigned generation_;
};

} // namespace

ChartAccessible::ChartAccessible(PlotaraWidget* widget)
    : QAccessibleWidget(widget, QAccessible::Chart) {}

ChartAccessible::~ChartAccessible() {
    for (const auto& [index, id] : children_)
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* ChartAccessible::factory(const QString&, QObject* object) {
    auto* chart = qobject_cast<PlotaraWidget*>(object);
    return chart != nullptr ? new ChartAccessible(chart) : nullptr;
}

PlotaraWidget* ChartAccessible::chart() const {
    return static_cast<PlotaraWidget*>(widget());
}

void ChartAccessible::sync() const {
    if (generation_ == chart()->elementsGeneration()) return;
    for (const auto& [index, id] : children_)
        QAccessible::deleteAccessibleInterface(id);
    children_.clear();
    generation_ = chart()->elementsGeneration();
}

int ChartAccessible::childCount() const {
    return static_cast<int>(chart()->chartElements().size());
}

QAccessibleInterface* ChartAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    sync();
    auto found = children_.find(index);
    if (found == children_.end()) {
        auto* element = new ElementAccessible(chart(), index, generation_);
        found = children_.emplace(index, QAccessible::registerAccessibleInterface(element)).first;
    }
    return QAccessible::accessibleInterface(found->second);
}

int ChartAccessible::indexOfChild(const QAccessibleInterface* child) const {
    sync();
    for (const auto& [index, id] : children_)
        if (QAccessible::accessibleInterface(id) == child) return index;
    return -1;
}

QAccessibleInterface* ChartAccessible::childAt(int x, int y) const {
    const QPoint local = chart()->mapFromGlobal(QPoint(x, y));
    const QPointF at = chart()->chartPoint(local);
    const auto& elements = chart()->chartElements();
    for (std::size_t i = 0; i < elements.size(); ++i)
        if (elements[i].bounds.adjusted(-1, -1, 1, 1).contains(at))
            return child(static_cast<int>(i));
    return nullptr;
}

QAccessibleInterface* ChartAccessible::focusChild() const {
    const int focused = chart()->focusedElement();
    return focused >= 0 ? child(focused) : nullptr;
}

QString ChartAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Name && !chart()->accessibleName().isEmpty())
        return chart()->accessibleName();
    if (kind == QAccessible::Name) return chart()->objectName();
    return QAccessibleWidget::text(kind);
}

} // namespace plotara::qt
