// The example form. Run it as a desktop application:
//   plotara_qt_form
// or let it check itself (as CI does under xvfb-run): fill the chart, click the first linked
// plot element, and exit 0 once the drill-down is in the event log (1 otherwise), optionally
// saving a screenshot of the form first, and checking that closing saved the control's
// properties:
//   plotara_qt_form --self-test [--screenshot form.png]
#include "desktop/QtOsApi.h"
#include "examples/qt-form/ChartForm.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QEventLoop>
#include <QFile>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <iostream>

namespace {

using plotara::example::ChartForm;

// The widget position of the first plot element with a link, if the chart shows one.
std::optional<QPoint> firstLink(plotara::qt::PlotaraWidget& chart) {
    const QRect client = chart.contentsRect();
    for (int y = 0; y < client.height(); y += 4)
        for (int x = 0; x < client.width(); x += 4)
            if (!chart.moviePlayer().hoverAt(x, y).link.empty())
                return client.topLeft() + QPoint(x + 2, y + 2);
    return std::nullopt;
}

void click(QWidget& widget, QPoint at) {
    const QPointF global = widget.mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QApplication::sendEvent(&widget, &release);
}

// The form as the screen shows it (the display server's pixels, not a re-rendering).
bool saveScreenshot(ChartForm& form, const QString& path) {
    QScreen* screen = form.screen();
    const QRect frame = form.frameGeometry();
    QPixmap shot = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    if (shot.isNull()) shot = form.grab(); // a platform that cannot read the screen
    return shot.save(path);
}

int selfTest(ChartForm& form, const QString& screenshot) {
    // The chart draws itself in; its links answer once it has arrived (chartRendered).
    QEventLoop arrived;
    bool rendered = false;
    QObject::connect(&form.chart(), &plotara::qt::PlotaraWidget::chartRendered, &arrived, [&] {
        rendered = true;
        arrived.quit();
    });
    QTimer::singleShot(5000, &arrived, &QEventLoop::quit);
    form.selectType(plotara::enumChartNames::mscolumn2d);
    if (!rendered) arrived.exec();
    QApplication::processEvents();
    const std::optional<QPoint> at = firstLink(form.chart());
    if (!at) {
        std::cerr << "self-test: the chart shows no linked element ("
                  << plotara::toUtf8(form.chart().moviePlayer().player().messageText()) << ")\n";
        for (const QString& line : form.logLines())
            std::cerr << line.toStdString() << '\n';
        return 1;
    }
    click(form.chart(), *at);
    QApplication::processEvents();
    if (!screenshot.isEmpty() && !saveScreenshot(form, screenshot)) {
        std::cerr << "self-test: cannot write " << screenshot.toStdString() << '\n';
        return 1;
    }
    for (const QString& line : form.logLines()) {
        std::cout << line.toStdString() << '\n';
        if (line.startsWith("DrillDown")) return 0;
    }
    std::cerr << "self-test: no DrillDown in the event log\n";
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Plotara"));
    QApplication::setApplicationName(QStringLiteral("qt-form"));
    QCommandLineParser parser;
    parser.setApplicationDescription("The Plotara chart control on a Qt form");
    parser.addHelpOption();
    const QCommandLineOption selfTestOption("self-test",
                                            "Fill, click a linked element, exit 0 on drill-down");
    const QCommandLineOption screenshotOption("screenshot", "Save the form as PNG (self-test)",
                                              "file");
    parser.addOption(selfTestOption);
    parser.addOption(screenshotOption);
    parser.process(app);

    // Capture and the Save, Open and folder dialogs of the control and its page.
    plotara::installOsApi(std::make_shared<plotara::qt::QtOsApi>());
    ChartForm form;
    form.resize(960, 540);
    form.show();
    if (!parser.isSet(selfTestOption)) return QApplication::exec();

    int result = 1;
    QTimer::singleShot(200, &form, [&] {
        result = selfTest(form, parser.value(screenshotOption));
        form.close(); // saves the control's properties
        QFile saved(ChartForm::formFile());
        if (result == 0 &&
            !(saved.open(QIODevice::ReadOnly) && saved.readAll().contains("ChartType"))) {
            std::cerr << "self-test: the properties were not saved in "
                      << ChartForm::formFile().toStdString() << '\n';
            result = 1;
        }
        QApplication::quit();
    });
    QApplication::exec();
    return result;
}
