// PlotaraWidget: the control's container operations, its events as signals, painting from the
// player's picture, clicks and hovering on links, and the context menu.
#include "qt_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolTip>

namespace plotara::test {
namespace {

using qt::PlotaraWidget;

// Every signal of the widget as one line of a log, in the order they came.
// The connections end with the log (the widget outlives it and still hides when destroyed).
struct SignalLog {
    QStringList lines;
    QObject guard;
    explicit SignalLog(PlotaraWidget& w) {
        QObject::connect(&w, &PlotaraWidget::shown, &guard, [this] { lines << "shown"; });
        QObject::connect(&w, &PlotaraWidget::resized, &guard, [this] { lines << "resized"; });
        QObject::connect(&w, &PlotaraWidget::hidden, &guard, [this] { lines << "hidden"; });
        QObject::connect(&w, &PlotaraWidget::chartLoaded, &guard,
                         [this] { lines << "chartLoaded"; });
        QObject::connect(&w, &PlotaraWidget::chartRendered, &guard,
                         [this] { lines << "chartRendered"; });
        QObject::connect(
            &w, &PlotaraWidget::drillDown, &guard, [this](QString name, QVariant parameter) {
                lines << "drillDown " + name + " " + parameter.toStringList().join('|');
            });
    }
    std::string text() const { return lines.join(", ").toStdString(); }
};

TEST(QtContainer, FrameFollowsBorderStyleAndAppearance) {
    WidgetRig rig;
    Container& site = rig->container();
    struct Case {
        Integer border, appearance;
        int frameWidth;
    } cases[] = {{0, 1, 0}, {1, 1, 2}, {1, 0, 1}, {0, 0, 0}};
    for (const Case& c : cases) {
        site.setBorderStyle(c.border);
        site.setAppearance(c.appearance);
        EXPECT_EQ(rig->frameWidth(), c.frameWidth) << c.border << "/" << c.appearance;
        EXPECT_EQ(rig->contentsRect().width(), 480 - 2 * c.frameWidth);
        EXPECT_EQ(site.scaleWidth(), static_cast<Single>(480 - 2 * c.frameWidth));
    }
    EXPECT_EQ(errorOf([&] { site.setBorderStyle(2); }), 380);
    EXPECT_EQ(errorOf([&] { site.setAppearance(-1); }), 380);
    EXPECT_EQ(site.borderStyle(), 0) << "a refused value leaves the state";
    EXPECT_EQ(site.appearance(), 0);
}

TEST(QtContainer, SizesInPixelsAndTwips) {
    WidgetRig rig;
    Container& site = rig->container();
    rig->control().put_Border(enumBorderStyle::None);
    ASSERT_EQ(rig->logicalDpiX(), 96) << "the offscreen screen";
    EXPECT_EQ(site.scaleMode(), 3);
    EXPECT_EQ(site.scaleWidth(), 480.0f);
    EXPECT_EQ(site.scaleHeight(), 320.0f);
    EXPECT_EQ(site.height(), 320.0f * 15);
    site.setScaleMode(1);
    EXPECT_EQ(site.scaleWidth(), 480.0f * 15);
    site.setScaleWidth(6000); // 400 pixels
    EXPECT_EQ(rig->width(), 400);
    site.setScaleMode(3);
    site.setScaleHeight(200);
    EXPECT_EQ(rig->QWidget::height(), 200);
    site.setHeight(3000); // twips, whatever the unit
    EXPECT_EQ(rig->QWidget::height(), 200);
    site.setHeight(4500);
    EXPECT_EQ(rig->QWidget::height(), 300);
    struct Unit {
        Integer mode;
        Single width; // 400 pixels at 96 dots per inch
    } units[] = {{1, 6000},
                 {2, 300},
                 {3, 400},
                 {5, 400.0f / 96},
                 {6, 400 * 25.4f / 96},
                 {7, 400 * 2.54f / 96}};
    for (const Unit& u : units) {
        site.setScaleMode(u.mode);
        EXPECT_NEAR(site.scaleWidth(), u.width, 1e-3) << u.mode;
    }
    site.setScaleMode(3);
    for (Integer bad : {0, 4, 8, -3})
        EXPECT_EQ(errorOf([&] { site.setScaleMode(bad); }), 380) << bad;
    EXPECT_EQ(errorOf([&] { site.setScaleWidth(-1); }), 380);
    EXPECT_EQ(errorOf([&] { site.setHeight(-1); }), 380);
    EXPECT_EQ(rig->width(), 400) << "refused sizes change nothing";
    EXPECT_EQ(site.scaleMode(), 3);
}

TEST(QtContainer, AmbientsVisibilityEnabledHandleAndNotifications) {
    WidgetRig rig;
    Container& site = rig->container();
    EXPECT_TRUE(site.ambientUserMode());
    EXPECT_EQ(site.ambientDisplayName(), L"Plotara1");
    rig->setObjectName("SalesChart");
    EXPECT_EQ(site.ambientDisplayName(), L"SalesChart");
    EXPECT_TRUE(site.extenderVisible());
    rig->hide();
    EXPECT_FALSE(site.extenderVisible());
    rig->show();
    rig.window.hide();
    EXPECT_TRUE(site.extenderVisible()) << "only the window is hidden";
    rig.window.show();

    rig->control().put_Enabled(false);
    EXPECT_FALSE(rig->isEnabled());
    EXPECT_FALSE(rig->control().get_Enabled());
    site.setEnabled(true);
    EXPECT_TRUE(rig->isEnabled());

    const Long handle = site.hWnd();
    EXPECT_NE(handle, 0);
    EXPECT_EQ(handle, static_cast<Long>(rig->winId()));
    EXPECT_EQ(rig->control().get_hWnd(), handle);

    QSignalSpy changed(rig.widget, &PlotaraWidget::controlPropertyChanged);
    rig->control().put_Menu(false);
    rig->control().put_setDataURL(L"");
    QStringList keys;
    for (const auto& arguments : changed)
        keys << arguments.at(0).toString();
    EXPECT_EQ(keys.join(",").toStdString(), "Menu,XMLDataPath,renderedFrom");
}

TEST(QtContainer, MessageBoxesShowTheControlsTextButtonsIconAndCaption) {
    WidgetRig rig;
    struct Case {
        Long style;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon;
        int pressed;
        Long answer;
    } cases[] = {
        {0, QMessageBox::Ok, QMessageBox::NoIcon, QMessageBox::Ok, 1},
        {1 + 48, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Warning, QMessageBox::Cancel,
         2},
        {2 + 16, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore,
         QMessageBox::Critical, QMessageBox::Retry, 4},
        {3 + 32, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Question,
         QMessageBox::No, 7},
        {4 + 64, QMessageBox::Yes | QMessageBox::No, QMessageBox::Information, QMessageBox::Yes, 6},
        {5, QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::NoIcon, 0, 2}, // closed
    };
    for (const Case& c : cases) {
        rig.dialogs.steps.push_back([&](QDialog& dialog) {
            auto& box = dynamic_cast<QMessageBox&>(dialog);
            EXPECT_EQ(box.text(), "Line one\nline two");
            EXPECT_EQ(box.standardButtons(), c.buttons) << c.style;
            EXPECT_EQ(box.icon(), c.icon) << c.style;
            EXPECT_EQ(box.windowTitle(), "Caption");
            return c.pressed;
        });
        EXPECT_EQ(rig->container().messageBox(L"Line one\nline two", c.style, L"Caption"), c.answer)
            << c.style;
    }
    rig.dialogs.steps.push_back([](QDialog& dialog) {
        auto& box = dynamic_cast<QMessageBox&>(dialog);
        EXPECT_EQ(box.windowTitle(), "PlotaraTests") << "no caption: the application's name";
        EXPECT_EQ(static_cast<QAbstractButton*>(box.defaultButton()), box.button(QMessageBox::No))
            << "0x100: second button";
        return static_cast<int>(QMessageBox::Yes);
    });
    EXPECT_EQ(rig->container().messageBox(L"?", 4 + 0x100), 6);
    EXPECT_EQ(rig.dialogs.unanswered, 0);
}

TEST(QtEvents, SignalsComeInTheControlsOrder) {
    QWidget window;
    auto* widget = new PlotaraWidget(&window);
    SignalLog log(*widget);
    widget->control().put_ChartPath(fromUtf8(PLOTARA_CHARTS_DIR));
    widget->control().put_setDataXML(L"<chart animation='0'><set label='A' value='1'/></chart>");
    widget->setGeometry(0, 0, 300, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    widget->resize(320, 240);
    widget->hide();
    // The ready XML renders at once in run mode; showing runs the show handler and then the
    // resize handler (which runs the show handler again).
    EXPECT_EQ(log.text(), "chartLoaded, chartRendered, shown, shown, resized, shown, resized, "
                          "hidden");
    log.lines.clear();
    widget->control().RenderChart();
    EXPECT_EQ(log.text(), "chartLoaded, chartRendered");
}

TEST(QtEvents, ASlotsErrorReachesTheControl) {
    WidgetRig rig;
    QObject::connect(rig.widget, &PlotaraWidget::resized,
                     [] { throw Error(1234, L"The host refused"); });
    EXPECT_EQ(errorOf([&] { rig->control().onResize(); }), 1234);
    // Through the window system the error cannot reach a caller: it is shown.
    rig.dialogs.steps.push_back([](QDialog& dialog) {
        EXPECT_EQ(dynamic_cast<QMessageBox&>(dialog).text(),
                  "Error Number: 1234\nDescription: The host refused");
        return static_cast<int>(QMessageBox::Ok);
    });
    rig->resize(400, 300);
    EXPECT_EQ(rig.dialogs.seen.size(), 1u);
}

TEST(QtMouse, ClickOnABarRaisesDrillDownWithItsArguments) {
    WidgetRig rig;
    rig.renderSales();
    SignalLog log(*rig);
    const auto productC = rig.elementAt(player::HitKind::Column, 2);
    ASSERT_TRUE(productC);
    QTest::mouseClick(rig.widget, Qt::LeftButton, {}, *productC);
    const auto productA = rig.elementAt(player::HitKind::Column, 0);
    ASSERT_TRUE(productA);
    QTest::mouseClick(rig.widget, Qt::LeftButton, {}, *productA); // no link
    QTest::mouseClick(rig.widget, Qt::RightButton, {}, *productC);
    EXPECT_EQ(log.text(), "drillDown showDetail Product C|2008");

    QSignalSpy spy(rig.widget, &PlotaraWidget::drillDown);
    rig->setDesignMode(true);
    EXPECT_FALSE(rig->container().ambientUserMode());
    QTest::mouseClick(rig.widget, Qt::LeftButton, {}, *productC);
    EXPECT_EQ(spy.count(), 0) << "a form designer does not follow links";
}

TEST(QtMouse, PointingHandOverLinksAndToolText) {
    WidgetRig rig;
    rig.renderSales();
    const auto linked = rig.elementAt(player::HitKind::Column, 1);
    const auto plain = rig.elementAt(player::HitKind::Column, 0);
    ASSERT_TRUE(linked && plain);
    QTest::mouseMove(rig.widget, *linked);
    EXPECT_EQ(rig->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(rig.widget, *plain);
    EXPECT_EQ(rig->cursor().shape(), Qt::ArrowCursor);
    const QPoint c = *rig.elementAt(player::HitKind::Column, 2);
    QHelpEvent help(QEvent::ToolTip, c, rig->mapToGlobal(c));
    QApplication::sendEvent(rig.widget, &help);
    EXPECT_EQ(QToolTip::text(), "Product C: $464,200");
    QHelpEvent outside(QEvent::ToolTip, QPoint(2, 2), rig->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(rig.widget, &outside);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000))
        << "no element, no tip";
}

TEST(QtPaint, RepaintsReuseThePictureAndResizingLaysOutAgain) {
    WidgetRig rig;
    rig.renderSales();
    SignalLog log(*rig);
    rig->repaint();
    const int renders = rig->moviePlayer().renders();
    rig->repaint();
    rig->update();
    QApplication::processEvents();
    EXPECT_EQ(rig->moviePlayer().renders(), renders) << "a plain repaint renders nothing";

    rig->resize(600, 400);
    rig->repaint();
    EXPECT_EQ(rig->moviePlayer().player().chartWidth(), 600);
    EXPECT_EQ(rig->moviePlayer().player().chartHeight(), 400);
    EXPECT_EQ(rig->moviePlayer().renders(), renders + 1);
    EXPECT_EQ(log.text(), "resized") << "the new layout is the same chart";
    // The drawn picture is the chart's, pixel for pixel.
    const QImage shown = rig->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage chart = rig->moviePlayer().picture(1).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(shown.size(), QSize(600, 400));
    EXPECT_EQ(shown, chart);
    const auto bar = rig.elementAt(player::HitKind::Column, 2);
    ASSERT_TRUE(bar) << "hit testing follows the new layout";
    QSignalSpy spy(rig.widget, &PlotaraWidget::drillDown);
    QTest::mouseClick(rig.widget, Qt::LeftButton, {}, *bar);
    EXPECT_EQ(spy.count(), 1);
}

// The control writes the chart size in its own unit (twips here); the chart fills the window all
// the same, without a URL of another size, and its picture at every device pixel ratio.
TEST(QtPaint, TheChartSizeOfAMovieUrlGivesWayToTheWindow) {
    WidgetRig rig;
    rig->container().setScaleMode(1);
    rig.renderSales();
    EXPECT_NE(rig->moviePlayer().get_Movie().find(L"&chartWidth=7200&chartHeight=4800"),
              String::npos)
        << "the URL as the control wrote it";
    rig->repaint();
    EXPECT_EQ(rig->moviePlayer().player().chartWidth(), 480);
    EXPECT_EQ(rig->moviePlayer().picture(1).size(), QSize(480, 320));
    for (double ratio : {1.0, 1.5, 2.0}) {
        const QImage& picture = rig->moviePlayer().picture(ratio);
        EXPECT_EQ(picture.width(), static_cast<int>(std::ceil(480 * ratio))) << ratio;
        EXPECT_EQ(picture.devicePixelRatio(), ratio);
        EXPECT_NEAR(picture.deviceIndependentSize().height(), 320, 1) << ratio;
    }
}

TEST(QtMenu, ContextMenuFollowsMenuAndCopies) {
    WidgetRig rig;
    rig.renderSales();
    std::unique_ptr<QMenu> menu(rig->createContextMenu());
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << action->text();
    EXPECT_EQ(texts, QStringList({"Print...", "Save as image...", "Copy image"}));
    QApplication::clipboard()->clear();
    menu->actions().at(2)->trigger();
    EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(QImage::Format_ARGB32),
              rig->moviePlayer()
                  .picture(rig->devicePixelRatioF())
                  .convertToFormat(QImage::Format_ARGB32));

    // A right click opens the menu; with Menu false nothing opens.
    const QPoint at = rig->contentsRect().center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, rig->mapToGlobal(at));
    QApplication::sendEvent(rig.widget, &click);
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->actions().size(), 3);
    popup->close();
    QApplication::processEvents();

    rig->control().put_Menu(false);
    EXPECT_EQ(rig->createContextMenu(), nullptr);
    QApplication::sendEvent(rig.widget, &click);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST(QtMenu, PrintGoesThroughThePlayersPrintPath) {
    WidgetRig rig;
    rig.renderSales();
    rig->moviePlayer().player().setPrintCommand({"false"});
    rig.dialogs.steps.push_back([](QDialog& dialog) {
        EXPECT_TRUE(dynamic_cast<QMessageBox&>(dialog).text().endsWith(
            "Description: The print spooler 'false' failed (exit status 1)"))
            << dynamic_cast<QMessageBox&>(dialog).text().toStdString();
        return static_cast<int>(QMessageBox::Ok);
    });
    std::unique_ptr<QMenu> menu(rig->createContextMenu());
    menu->actions().at(0)->trigger();
    EXPECT_EQ(rig.dialogs.seen.size(), 1u);
    rig->moviePlayer().player().setPrintCommand({"true"});
    menu->actions().at(0)->trigger();
    EXPECT_EQ(rig.dialogs.seen.size(), 1u) << "a working spooler shows nothing";
}

} // namespace
} // namespace plotara::test
