// Charts that move in PlotaraWidget: when chartRendered comes, what keeps a chart still, the
// frames on the way, and how a new chart or a new size ends a motion.
#include "qt_test_support.h"

#include <QSignalSpy>

namespace plotara::test {
namespace {

using qt::PlotaraWidget;

// A column chart of n columns with the chart attributes.
String columns(const String& attributes, int n) {
    String xml = L"<chart " + attributes + L">";
    for (int i = 0; i < n; ++i)
        xml += L"<set label='P" + std::to_wstring(i) + L"' value='" +
               std::to_wstring(20 + (i * 37) % 80) + L"'/>";
    return xml + L"</chart>";
}

// The frame the widget shows now, and the still picture of its chart (what files hold).
QImage shown(PlotaraWidget& w) {
    return w.moviePlayer().picture(1).convertToFormat(QImage::Format_ARGB32);
}
QImage still(PlotaraWidget& w) {
    const std::string png = w.moviePlayer().player().png();
    return QImage::fromData(reinterpret_cast<const uchar*>(png.data()),
                            static_cast<int>(png.size()), "PNG")
        .convertToFormat(QImage::Format_ARGB32);
}

void load(WidgetRig& rig, const String& xml) {
    rig->control().put_ChartType(enumChartNames::column2d);
    rig->control().put_setDataXML(xml);
}

// Holds a started motion at a share of its time, so that the frame shown is known.
void holdAt(qt::ChartAnimator& animator, double share) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return animator.running(); }, 5000));
    animator.pause();
    animator.setCurrentTime(static_cast<int>(animator.duration() * share));
}

TEST(QtAnimation, RenderedComesOnceTheChartHasArrived) {
    struct Case {
        const char* name;
        String xml;
        bool hostAllows, moves;
    } cases[] = {
        {"draw-in", columns(L"", 6), true, true},
        {"animation='0'", columns(L"animation='0'", 6), true, false},
        {"reduced motion", columns(L"", 6), false, false},
        {"2,001 values", columns(L"", 2001), true, false},
    };
    for (const Case& c : cases) {
        WidgetRig rig;
        rig->setAnimationsEnabled(c.hostAllows);
        QSignalSpy rendered(rig.widget, &PlotaraWidget::chartRendered);
        const int renders = rig->moviePlayer().renders();
        load(rig, c.xml);
        EXPECT_EQ(rendered.count(), c.moves ? 0 : 1) << c.name;
        EXPECT_EQ(rig->moviePlayer().animator().active(), c.moves) << c.name;
        if (c.moves) {
            qt::ChartAnimator& animator = rig->moviePlayer().animator();
            EXPECT_EQ(animator.duration(), 1000);
            holdAt(animator, 0);
            const QImage start = shown(*rig);
            animator.setCurrentTime(400);
            const QImage middle = shown(*rig);
            EXPECT_EQ(rendered.count(), 0) << "not before the chart has arrived";
            EXPECT_NE(start, middle);
            EXPECT_NE(middle, still(*rig));
            animator.resume();
            EXPECT_TRUE(rendered.wait(5000));
        } else {
            QTest::qWait(100);
            EXPECT_LE(rig->moviePlayer().renders() - renders, 1) << c.name << ": no frames";
        }
        EXPECT_EQ(rendered.count(), 1) << c.name;
        EXPECT_EQ(rig->moviePlayer().player().animationProgress(), 1) << c.name;
        EXPECT_EQ(shown(*rig), still(*rig)) << c.name << ": the last frame is the still picture";
    }
}

// A motion ends at once, and says rendered, when a new size or a new chart comes; the charts of
// one turn of the event loop make one motion; every chart says rendered once.
TEST(QtAnimation, ANewSizeOrANewChartEndsTheMotion) {
    struct Case {
        const char* name;
        bool started, resize;
        int motions;
    } cases[] = {
        {"a new size mid-motion", true, true, 1},
        {"a new chart mid-motion", true, false, 2},
        {"a new chart in the same turn", false, false, 1},
    };
    for (const Case& c : cases) {
        WidgetRig rig;
        qt::ChartAnimator& animator = rig->moviePlayer().animator();
        QSignalSpy rendered(rig.widget, &PlotaraWidget::chartRendered);
        int motions = 0;
        QObject::connect(&animator, &QAbstractAnimation::stateChanged, rig.widget,
                         [&](QAbstractAnimation::State now, QAbstractAnimation::State before) {
                             motions += now == QAbstractAnimation::Running &&
                                        before == QAbstractAnimation::Stopped;
                         });
        load(rig, columns(L"", 5));
        if (c.started) holdAt(animator, 0.4);
        if (c.resize)
            rig->resize(560, 360);
        else
            load(rig, columns(L"caption='Again'", 7));
        EXPECT_EQ(rendered.count(), 1) << c.name << ": the first chart's, at once";
        EXPECT_EQ(animator.active(), !c.resize) << c.name;
        if (c.resize) {
            EXPECT_EQ(shown(*rig).size(), QSize(560, 360)) << c.name;
        } else {
            EXPECT_EQ(rig->moviePlayer().player().transitions(), true) << c.name;
        }
        const int charts = c.resize ? 1 : 2;
        EXPECT_TRUE(QTest::qWaitFor([&] { return rendered.count() == charts; }, 5000)) << c.name;
        QTest::qWait(400); // longer than a transition: nothing stale comes later
        EXPECT_EQ(rendered.count(), charts) << c.name;
        EXPECT_EQ(motions, c.motions) << c.name;
        EXPECT_EQ(shown(*rig), still(*rig)) << c.name;
    }
}

} // namespace
} // namespace plotara::test
