// What a user does to a chart beyond links: legend entries toggle their series (mouse, keyboard,
// screen reader's check boxes), dragging, Ctrl+wheel, Shift+drag, double-click and Escape zoom
// and pan, and the crosshair's tool tip gives every series' value at the pointer's category.
#include "desktop/ChartInteraction.h"
#include "qt_test_support.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>
#include <utility>

namespace plotara::test {
namespace {

using qt::ChartInteraction;

// Two line series over `categories` months, still unless asked to move.
void fillLines(Plotara& control, int categories, bool moves = false) {
    control.put_ChartType(enumChartNames::msline2d);
    PlotaraData& data = *control.get_Data();
    data.setChartParams(moves ? L"caption=Rain" : L"caption=Rain;animation=0");
    for (int m = 0; m < categories; ++m)
        data.addCategory(L"M" + std::to_wstring(m));
    for (const wchar_t* name : {L"North", L"South"}) {
        data.addDataset(name);
        for (int m = 0; m < categories; ++m)
            data.addChartData(std::to_wstring((name[0] == L'N' ? 100 : 10) + m));
    }
    control.RenderChart();
}

const qt::ChartElement* legendEntry(qt::PlotaraWidget& w, int series) {
    for (const qt::ChartElement& e : w.chartElements())
        if (e.info.kind == player::HitKind::Legend && e.info.seriesIndex == series) return &e;
    return nullptr;
}

// The widget position of a point of the plot at fractions of its width and height.
QPoint inPlot(qt::PlotaraWidget& w, double fx, double fy) {
    const player::Rect p = *w.moviePlayer().player().scene().layout.plot;
    return QPointF(p.x + p.w * fx, p.y + p.h * fy).toPoint() + w.contentsRect().topLeft();
}

TEST(QtInteraction, LegendEntriesToggleByMouseAndKeyboard) {
    WidgetRig rig;
    fillLines(rig->control(), 6);
    ChartInteraction& interaction = rig->interaction();
    QSignalSpy toggled(&interaction, &ChartInteraction::seriesToggled);
    const ChartPlayer& player = rig->moviePlayer().player();
    const qt::ChartElement* north = legendEntry(*rig, 0);
    ASSERT_NE(north, nullptr);
    EXPECT_TRUE(north->checkable && north->checked);
    const QPoint at = north->anchor.toPoint() + rig->contentsRect().topLeft();
    QTest::mouseClick(rig.widget, Qt::LeftButton, {}, at);
    ASSERT_EQ(toggled.count(), 1);
    EXPECT_EQ(toggled.at(0).at(0).toString(), "North");
    EXPECT_FALSE(toggled.at(0).at(1).toBool());
    EXPECT_FALSE(player.seriesVisible(0));
    // The screen reader's check box follows.
    QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(rig.widget);
    bool seen = false;
    for (int i = 0; i < chart->childCount(); ++i) {
        QAccessibleInterface* child = chart->child(i);
        if (child->role() != QAccessible::CheckBox || child->text(QAccessible::Name) != "North")
            continue;
        seen = true;
        EXPECT_TRUE(child->state().checkable);
        EXPECT_FALSE(child->state().checked);
    }
    EXPECT_TRUE(seen);
    // Tab reaches the legend entries (the lines have no links); Space toggles the focused one.
    rig->setFocus();
    QTest::keyClick(rig.widget, Qt::Key_Tab);
    ASSERT_GE(rig->focusedElement(), 0);
    QTest::keyClick(rig.widget, Qt::Key_Space);
    ASSERT_EQ(toggled.count(), 2);
    EXPECT_TRUE(toggled.at(1).at(1).toBool());
    EXPECT_TRUE(player.seriesVisible(0));
    const auto& focused = rig->chartElements().at(static_cast<std::size_t>(rig->focusedElement()));
    EXPECT_EQ(focused.info.kind, player::HitKind::Legend) << "the focus stays on the entry";
    EXPECT_EQ(focused.info.seriesIndex, 0);
}

// A toggle moves the chart on the window's motion clock: the frames a paint lays out are on their
// way until the motion ends, then the still picture shows.
TEST(QtInteraction, AToggleMovesTheChartOnTheMotionClock) {
    WidgetRig rig;
    fillLines(rig->control(), 6, true);
    qt::WindowPlayer& window = rig->moviePlayer();
    window.endAnimation(); // the draw-in
    ASSERT_TRUE(rig->interaction().toggleSeries(1));
    EXPECT_TRUE(window.animator().active());
    window.picture(1);
    EXPECT_LT(window.player().animationProgress(), 1) << "a paint ended the toggle's motion";
    window.endAnimation();
    window.picture(1);
    EXPECT_EQ(window.player().animationProgress(), 1);
    EXPECT_FALSE(window.player().seriesVisible(1));
}

TEST(QtInteraction, DragWheelPanAndEscapeZoom) {
    WidgetRig rig({640, 360});
    fillLines(rig->control(), 40);
    ChartInteraction& interaction = rig->interaction();
    QSignalSpy zoom(&interaction, &ChartInteraction::zoomChanged);
    const ChartPlayer& player = rig->moviePlayer().player();
    // A rubber band over the second quarter of the plot: about ten months.
    QTest::mousePress(rig.widget, Qt::LeftButton, {}, inPlot(*rig, 0.25, 0.3));
    QTest::mouseMove(rig.widget, inPlot(*rig, 0.4, 0.5));
    QTest::mouseMove(rig.widget, inPlot(*rig, 0.5, 0.6));
    EXPECT_TRUE(interaction.rubberBand().has_value());
    QTest::mouseRelease(rig.widget, Qt::LeftButton, {}, inPlot(*rig, 0.5, 0.6));
    ASSERT_TRUE(player.zoomed());
    ASSERT_EQ(zoom.count(), 1);
    VisibleRange r = player.visibleRange();
    EXPECT_EQ(r.xMin, 10);
    EXPECT_EQ(r.xMax, 19);
    EXPECT_FALSE(zoom.at(0).at(4).toBool());
    // Ctrl+wheel in at the pointer: fewer months, the pointer's month kept inside.
    const QPoint middle = inPlot(*rig, 0.5, 0.5);
    QWheelEvent in(middle, rig->mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(rig.widget, &in);
    r = player.visibleRange();
    EXPECT_LT(r.xMax - r.xMin, 10);
    EXPECT_LE(r.xMin, 15);
    EXPECT_GE(r.xMax, 15);
    // Shift+drag pans to later months, keeping the width.
    const VisibleRange before = r;
    QTest::mousePress(rig.widget, Qt::LeftButton, Qt::ShiftModifier, inPlot(*rig, 0.8, 0.5));
    QTest::mouseMove(rig.widget, inPlot(*rig, 0.6, 0.5));
    QTest::mouseMove(rig.widget, inPlot(*rig, 0.2, 0.5));
    QTest::mouseRelease(rig.widget, Qt::LeftButton, Qt::ShiftModifier, inPlot(*rig, 0.2, 0.5));
    r = player.visibleRange();
    EXPECT_GT(r.xMin, before.xMin);
    EXPECT_EQ(r.xMax - r.xMin, before.xMax - before.xMin);
    // A resize lays the chart out again with the range kept.
    rig->resize(600, 340);
    rig->chartElements();
    EXPECT_TRUE(player.zoomed());
    EXPECT_EQ(player.visibleRange().xMin, r.xMin);
    rig->setFocus();
    QTest::keyClick(rig.widget, Qt::Key_Escape);
    EXPECT_FALSE(player.zoomed());
    EXPECT_TRUE(zoom.last().at(4).toBool());
    // The host's setter, then a double-click back to the whole chart.
    ASSERT_TRUE(interaction.setVisibleRange({5, 9, 0, 0}));
    EXPECT_EQ(player.visibleRange().xMin, 5);
    QTest::mouseDClick(rig.widget, Qt::LeftButton, {}, inPlot(*rig, 0.5, 0.5));
    EXPECT_FALSE(player.zoomed());
}

// On logarithmic axes the pointer is read in powers: a band over the middle half of a plot from
// 1 to 10,000 holds about 10 to 1,000 on each axis, not 2,500 to 7,500.
TEST(QtInteraction, ARubberBandOnLogAxesReadsThePointerInPowers) {
    WidgetRig rig({640, 480});
    Plotara& control = rig->control();
    control.put_ChartType(enumChartNames::scatter);
    PlotaraData& data = *control.get_Data();
    data.setChartParams(L"caption=Decades;logScale=1;animation=0");
    data.addDataset(L"Points");
    for (const wchar_t* v : {L"1", L"30", L"700", L"10000"})
        data.addChartData(v, std::wstring(L"Y=") + v);
    control.RenderChart();
    const ChartPlayer& player = rig->moviePlayer().player();
    QTest::mousePress(rig.widget, Qt::LeftButton, {}, inPlot(*rig, 0.25, 0.75));
    QTest::mouseMove(rig.widget, inPlot(*rig, 0.5, 0.5));
    QTest::mouseMove(rig.widget, inPlot(*rig, 0.75, 0.25));
    QTest::mouseRelease(rig.widget, Qt::LeftButton, {}, inPlot(*rig, 0.75, 0.25));
    ASSERT_TRUE(player.zoomed());
    const VisibleRange r = player.visibleRange();
    for (auto [low, high] : {std::pair(r.xMin, r.xMax), std::pair(r.yMin, r.yMax)}) {
        EXPECT_NEAR(std::log10(low), 1, 0.1) << low;
        EXPECT_NEAR(std::log10(high), 3, 0.1) << high;
    }
}

TEST(QtInteraction, CrosshairShowsEverySeriesAtTheCategory) {
    WidgetRig rig;
    fillLines(rig->control(), 4);
    const QPoint at = inPlot(*rig, 0.6, 0.5); // the third of four months
    QMouseEvent move(QEvent::MouseMove, at, rig->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(rig.widget, &move);
    const auto guide = rig->interaction().guideLine();
    ASSERT_TRUE(guide.has_value());
    const player::Rect p = *rig->moviePlayer().player().scene().layout.plot;
    EXPECT_NEAR(guide->x1(), p.x + p.w * 2.5 / 4, 1e-6);
    QHelpEvent help(QEvent::ToolTip, at, rig->mapToGlobal(at));
    QApplication::sendEvent(rig.widget, &help);
    EXPECT_EQ(QToolTip::text(), "M2\nNorth: 102\nSouth: 12");
    QToolTip::hideText();
}

} // namespace
} // namespace plotara::test
