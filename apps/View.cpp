#include "apps/View.h"

#include "apps/Failures.h"

#ifdef PLOTARA_HAVE_QT
#include "apps/ChartSession.h"
#include "apps/TextFiles.h"
#include "platform/qt/PlotaraWidget.h"
#include "platform/qt/QtOsApi.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QGuiApplication>

#include <vector>
#endif

namespace plotara::apps {

#ifdef PLOTARA_HAVE_QT

namespace {

// The widget's control with the type, the chart folder and the document; raises ChartFailure
// when the chart shows a message instead.
void loadChart(qt::PlotaraWidget& window, const ViewRequest& request, Long type) {
    Plotara& control = window.control();
    control.put_ChartPath(fromUtf8(findChartsDir(request.chartsDir)));
    control.put_ChartType(static_cast<enumChartNames>(type));
    control.put_setDataXML(fromUtf8(readTextFile(request.file)));
    const ChartPlayer& player = window.moviePlayer().player();
    if (player.state() != PlayerState::Chart)
        throw ChartFailure(request.file + ": " + toUtf8(player.messageText()));
}

} // namespace

int viewChart(const ViewRequest& request, int argc, const char* const* argv) {
    const Long type = resolveChartType(request.type);
    if (type == 0) throw UsageFailure("unknown chart type '" + request.type + "'");
    // QApplication keeps argc and argv for its life: copies that outlive it.
    std::vector<std::string> texts(argv, argv + argc);
    std::vector<char*> arguments;
    for (std::string& text : texts)
        arguments.push_back(text.data());
    int count = argc;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        throw UsageFailure("no display to open a window on (set DISPLAY, or QT_QPA_PLATFORM)");
    QApplication app(count, arguments.data());
    // Capture and the Save dialog of the control's menu, for as long as the window lives.
    struct DesktopSeam {
        DesktopSeam() { installOsApi(std::make_shared<qt::QtOsApi>()); }
        ~DesktopSeam() { installOsApi(nullptr); }
    } seam;
    qt::PlotaraWidget window;
    window.setObjectName(QStringLiteral("Plotara1"));
    window.setWindowTitle(QString::fromStdString(request.file) + QStringLiteral(" - Plotara"));
    window.resize(request.width, request.height);
    window.show();
    loadChart(window, request, type);
    if (request.snapshot.empty()) return QApplication::exec();
    if (!window.grab().save(QString::fromStdString(request.snapshot), "PNG"))
        throw ChartFailure("cannot write " + request.snapshot);
    return exitSuccess;
}

#else

int viewChart(const ViewRequest&, int, const char* const*) {
    throw UsageFailure("this plotara was built without Qt 6: `view` is not available");
}

#endif

} // namespace plotara::apps
