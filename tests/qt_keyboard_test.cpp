// Keyboard, accessibility and scrolling of PlotaraWidget: Tab moves between linked elements,
// Enter follows a link, each element has an accessible name, the wheel scrolls a scroll chart.
#include "qt_test_support.h"

#include <QAccessible>
#include <QLineEdit>
#include <QSignalSpy>
#include <QWheelEvent>

namespace plotara::test {
namespace {

using qt::PlotaraWidget;

// The label of the element with the keyboard focus, "" when none.
String focusedLabel(PlotaraWidget& w) {
    const int focused = w.focusedElement();
    return focused < 0 ? String()
                       : w.chartElements().at(static_cast<std::size_t>(focused)).info.label;
}

TEST(QtKeyboard, TabMovesBetweenLinksAndEnterFollowsOne) {
    WidgetRig rig;
    auto* after = new QLineEdit(&rig.window); // where Tab goes after the chart
    after->setGeometry(0, 0, 10, 10);
    after->show();
    rig.renderSales();
    QSignalSpy drill(rig.widget, &PlotaraWidget::drillDown);
    rig.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&rig.window));
    after->setFocus();
    QTest::keyClick(after, Qt::Key_Tab); // into the chart
    ASSERT_TRUE(rig->hasFocus());
    EXPECT_EQ(focusedLabel(*rig), L"Product B") << "the first linked element (A has no link)";
    QTest::keyClick(rig.widget, Qt::Key_Tab);
    EXPECT_EQ(focusedLabel(*rig), L"Product C");
    QTest::keyClick(rig.widget, Qt::Key_Return);
    ASSERT_EQ(drill.count(), 1);
    EXPECT_EQ(drill.at(0).at(1).toStringList(), QStringList({"Product C", "2008"}));
    QTest::keyClick(rig.widget, Qt::Key_Backtab);
    EXPECT_EQ(focusedLabel(*rig), L"Product B");
    QTest::keyClick(rig.widget, Qt::Key_Space);
    ASSERT_EQ(drill.count(), 2);
    EXPECT_EQ(drill.at(1).at(1).toStringList(), QStringList({"Product B", "2008"}));
    QTest::keyClick(rig.widget, Qt::Key_Tab);
    QTest::keyClick(rig.widget, Qt::Key_Tab); // past the last link: the focus leaves the chart
    EXPECT_FALSE(rig->hasFocus());
    EXPECT_EQ(rig->focusedElement(), -1);
}

TEST(QtAccessibility, EveryPlotElementHasAName) {
    WidgetRig rig;
    rig.renderSales();
    QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(rig.widget);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->role(), QAccessible::Chart);
    EXPECT_EQ(chart->text(QAccessible::Name), "Plotara1");
    QStringList names;
    for (int i = 0; i < chart->childCount(); ++i)
        names << chart->child(i)->text(QAccessible::Name);
    // A and B read with their default tool text ("label, value"), C with its own.
    ASSERT_GE(names.size(), 3);
    EXPECT_EQ(names.mid(0, 3),
              QStringList({"Product A: $120,000", "Product B: $310,000", "Product C: $464,200"}))
        << names.join(" | ").toStdString();
    QAccessibleInterface* c = chart->child(2);
    EXPECT_TRUE(c->state().linked);
    EXPECT_FALSE(chart->child(0)->state().linked);
    EXPECT_EQ(chart->indexOfChild(c), 2);
    EXPECT_GT(c->rect().height(), 150) << "the column's whole extent";
    EXPECT_GT(c->rect().width(), 60);
    EXPECT_EQ(chart->childAt(c->rect().center().x(), c->rect().center().y()), c);

    // The next recording starts a new document: one element now.
    rig->control().get_Data()->addChartData(L"5", L"label=Product D");
    rig->control().RenderChart();
    EXPECT_FALSE(c->isValid()) << "an element of an older layout is gone";
    ASSERT_EQ(chart->childCount(), 1);
    EXPECT_EQ(chart->child(0)->text(QAccessible::Name), "Product D: 5");
}

// Slices, whose box centre can lie outside them, and legend entries: every element's anchor is a
// point where the hit test finds that very element, and every slice and legend entry is listed.
TEST(QtAccessibility, AnchorsLieInsideTheirElements) {
    WidgetRig rig;
    Plotara& control = rig->control();
    control.put_ChartType(enumChartNames::pie2d);
    control.get_Data()->setChartParams(L"showLegend=1;animation=0");
    for (const auto* value : {L"70", L"15", L"10", L"5"})
        control.get_Data()->addChartData(value, String(L"label=Part ") + value);
    control.RenderChart();
    const std::vector<qt::ChartElement>& elements = rig->chartElements();
    int slices = 0, legend = 0;
    for (const qt::ChartElement& e : elements) {
        slices += e.info.kind == player::HitKind::Slice;
        legend += e.info.kind == player::HitKind::Legend;
        const HitInfo hit = rig->moviePlayer().hoverAt(e.anchor.x(), e.anchor.y());
        EXPECT_TRUE(hit.hit && hit.kind == e.info.kind && hit.label == e.info.label &&
                    hit.pointIndex == e.info.pointIndex)
            << player::kindName(e.info.kind) << " " << toUtf8(e.info.label);
        EXPECT_TRUE(e.bounds.contains(e.anchor)) << toUtf8(e.info.label);
    }
    EXPECT_EQ(slices, 4);
    EXPECT_EQ(legend, 4);
}

// A scroll chart with more categories than it shows at once.
void fillMonths(Plotara& control) {
    control.put_ChartType(enumChartNames::scrollcolumn2d);
    PlotaraData& data = *control.get_Data();
    data.setChartParams(L"caption=Daily;numVisiblePlot=8;animation=0");
    for (int day = 1; day <= 40; ++day)
        data.addCategory(L"Day " + std::to_wstring(day));
    data.addDataset(L"Visits");
    for (int day = 1; day <= 40; ++day)
        data.addChartData(std::to_wstring(100 + day));
    control.RenderChart();
}

// The first category label the chart shows now.
String firstShown(PlotaraWidget& w) {
    for (const qt::ChartElement& e : w.chartElements())
        if (e.info.kind == player::HitKind::Column) return e.info.label;
    return {};
}

TEST(QtScrolling, WheelAndArrowKeysMoveTheWindowOfCategories) {
    WidgetRig rig;
    fillMonths(rig->control());
    ASSERT_EQ(firstShown(*rig), L"Day 1");
    const QPoint middle = rig->contentsRect().center();
    QWheelEvent down(middle, rig->mapToGlobal(middle), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(rig.widget, &down);
    EXPECT_EQ(firstShown(*rig), L"Day 2");
    rig->setFocus();
    QTest::keyClick(rig.widget, Qt::Key_Right);
    QTest::keyClick(rig.widget, Qt::Key_Right);
    EXPECT_EQ(firstShown(*rig), L"Day 4");
    QTest::keyClick(rig.widget, Qt::Key_Left);
    EXPECT_EQ(firstShown(*rig), L"Day 3");
    rig->resize(560, 360);
    EXPECT_EQ(firstShown(*rig), L"Day 3") << "a resize lays the parsed chart out again";
    QWheelEvent up(middle, rig->mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    for (int i = 0; i < 5; ++i)
        QApplication::sendEvent(rig.widget, &up);
    EXPECT_EQ(firstShown(*rig), L"Day 1") << "stops at the first category";
    // Dragging the plot to the left brings later days in, as a pan does.
    const QPoint right = middle + QPoint(120, 0), left = middle - QPoint(120, 0);
    QTest::mousePress(rig.widget, Qt::LeftButton, {}, right);
    QTest::mouseMove(rig.widget, middle);
    QTest::mouseMove(rig.widget, left);
    QTest::mouseRelease(rig.widget, Qt::LeftButton, {}, left);
    const String after = firstShown(*rig);
    EXPECT_NE(after, L"Day 1");
    int shown = 0;
    for (const qt::ChartElement& e : rig->chartElements())
        shown += e.info.kind == player::HitKind::Column;
    EXPECT_EQ(shown, 8) << "a drag scrolls the window of eight days, it does not zoom";
}

} // namespace
} // namespace plotara::test
