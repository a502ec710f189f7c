#include "apps/View.h"

#include "apps/Failures.h"

#ifdef PLOTARA_HAVE_QT
#include "apps/ChartSession.h"
#include "apps/TextFiles.h"
#include "desktop/PlotaraWidget.h"
#include "desktop/QtOsApi.h"
#include "desktop/QtText.h"

#include <QApplication>
#include <QGuiApplication>

#include <vector>
#else
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <unistd.h>
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
    // The snapshot is the chart as it stands once it has rendered: after its draw-in, which
    // ends (the still picture) before chartRendered comes.
    bool rendered = false;
    QObject::connect(&window, &qt::PlotaraWidget::chartRendered, &window, [&] {
        rendered = true;
        if (!request.snapshot.empty()) QApplication::quit();
    });
    loadChart(window, request, type);
    if (request.snapshot.empty()) return QApplication::exec();
    if (!rendered) QApplication::exec();
    if (!window.grab().save(QString::fromStdString(request.snapshot), "PNG"))
        throw ChartFailure("cannot write " + request.snapshot);
    return exitSuccess;
}

#else

namespace {

// plotara-view: beside this program in the build tree, in libexec/plotara when installed; ""
// when neither holds it.
std::filesystem::path viewProgram() {
#ifdef PLOTARA_VIEW_FROM_BINDIR
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    for (const std::filesystem::path& candidate :
         {exe.parent_path() / "plotara-view",
          exe.parent_path() / PLOTARA_VIEW_FROM_BINDIR / "plotara-view"}) {
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
#endif
    return {};
}

} // namespace

// The window needs Qt, which this program does not load: plotara-view, the same command line
// with Qt, takes over the process with the same arguments.
int viewChart(const ViewRequest&, int argc, const char* const* argv) {
    const std::filesystem::path program = viewProgram();
    if (program.empty())
        throw UsageFailure("this plotara was built without Qt 6 (no plotara-view program): "
                           "`view` is not available");
    std::vector<char*> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(const_cast<char*>(argv[i]));
    arguments.push_back(nullptr);
    std::cout.flush();
    std::cerr.flush();
    ::execv(program.c_str(), arguments.data());
    throw UsageFailure("cannot start " + program.string() + ": " + std::strerror(errno));
}

#endif

} // namespace plotara::apps
