// What a screen reader sees of a PlotaraWidget: the chart (role Chart, named after the widget)
// with one child per plot element, named as the element reads ("Product C: $464,200"), the
// focused element as its focus child.
#pragma once

#include <QAccessibleWidget>

#include <map>

namespace plotara::qt {

class PlotaraWidget;

class ChartAccessible final : public QAccessibleWidget {
public:
    explicit ChartAccessible(PlotaraWidget* widget);
    ~ChartAccessible() override;

    // The interface of a PlotaraWidget, for QAccessible::installFactory; nullptr for others.
    static QAccessibleInterface* factory(const QString& className, QObject* object);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text kind) const override;

private:
    PlotaraWidget* chart() const;
    // Forgets the children of an older layout.
    void sync() const;

    mutable unsigned generation_ = 0;
    mutable std::map<int, QAccessible::Id> children_;
};

} // namespace plotara::qt
