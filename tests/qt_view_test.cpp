// `plotara view`: a chart file in a window of the desktop platform (run as the built program).
#include "qt_test_support.h"

#include <QImage>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <sys/wait.h>

namespace plotara::test {
namespace {

struct ProgramRun {
    int code = -1;
    std::string err;
};

// Runs `plotara view` with the arguments (shell-quoted by the caller) in the folder.
ProgramRun view(const QTemporaryDir& folder, const std::string& arguments,
                const std::string& env = "") {
    const std::string err = folder.filePath("err.txt").toStdString();
    const std::string command = "cd '" + folder.path().toStdString() + "' && " + env + " '" +
                                PLOTARA_BINARY + "' view " + arguments + " 2> '" + err + "'";
    const int status = std::system(command.c_str());
    ProgramRun run;
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(err);
    run.err.assign(std::istreambuf_iterator<char>(in), {});
    return run;
}

// The window's snapshot at QT_SCALE_FACTOR=2 holds the chart rendered at twice the pixels, not a
// scaled-up picture: the same pixels as the player's own picture at ratio 2.
TEST(PlotaraView, CrispAtTwiceTheScale) {
    QTemporaryDir folder;
    const std::string xml = "<chart caption='Fruit'><set label='Apples' value='3'/><set "
                            "label='Pears' value='5'/></chart>";
    std::ofstream(folder.filePath("fruit.xml").toStdString()) << xml;
    const ProgramRun run =
        view(folder, "fruit.xml --type column2d --width 400 --height 300 --snapshot s.png",
             "QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2");
    ASSERT_EQ(run.code, 0) << run.err;
    const QImage shot = QImage(folder.filePath("s.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), QSize(800, 600));

    WidgetRig rig({400, 300});
    rig->setAnimationsEnabled(false); // the still picture, which the snapshot waits for
    rig->control().put_ChartType(enumChartNames::column2d);
    rig->control().put_setDataXML(fromUtf8(xml));
    const QImage chart = rig->moviePlayer().picture(2).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(chart.size(), QSize(800, 600));
    EXPECT_TRUE(shot == chart) << "the snapshot is the chart's picture pixel for pixel";
}

TEST(PlotaraView, BadInputGivesAClearErrorAndExitCode) {
    QTemporaryDir folder;
    std::ofstream(folder.filePath("broken.xml").toStdString()) << "<chart";
    std::ofstream(folder.filePath("ok.xml").toStdString()) << "<chart><set value='1'/></chart>";
    struct Case {
        std::string arguments, env;
        int code;
        std::string message;
    } cases[] = {
        {"missing.xml --snapshot x.png", "QT_QPA_PLATFORM=offscreen", 1,
         "plotara: cannot read missing.xml"},
        {"broken.xml --snapshot x.png", "QT_QPA_PLATFORM=offscreen", 1,
         "plotara: broken.xml: Invalid XML data."},
        {"ok.xml --type nosuch --snapshot x.png", "QT_QPA_PLATFORM=offscreen", 2,
         "plotara: unknown chart type 'nosuch'"},
        {"ok.xml --width 0", "QT_QPA_PLATFORM=offscreen", 2, "--width"},
        {"ok.xml", "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM", 2,
         "plotara: no display to open a window on"},
        {"", "", 2, "file is required"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = view(folder, c.arguments, c.env);
        EXPECT_EQ(run.code, c.code) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << "\n" << run.err;
    }
    EXPECT_FALSE(QFile::exists(folder.filePath("x.png")));
}

} // namespace
} // namespace plotara::test
