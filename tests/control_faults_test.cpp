// Fault injection through the platform contracts: a movie host that fails on every member and a
// property bag that fails after n reads or writes. The control keeps to each member's failure
// rule: silence, a message box, or the error handed to the host with what was stored kept.
#include "control/Plotara.h"
#include "control/PlotaraOcxModule.h"
#include "control_test_support.h"
#include "fault_doubles.h"
#include "file_test_support.h"
#include "platform/headless/HeadlessOsApi.h"
#include "read_only_disk.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace plotara::test {
namespace {

struct FaultRig {
    HeadlessContainer container;
    FailingMovieHost* host = nullptr;
    std::unique_ptr<Plotara> control;

    explicit FaultRig(bool runMode = true) {
        container.setUserMode(runMode);
        auto movieHost = std::make_unique<FailingMovieHost>();
        host = movieHost.get();
        control = std::make_unique<Plotara>(container, std::move(movieHost),
                                            std::make_shared<FixedClock>(1.0f));
        container.bind({[this] { control->onShow(); }, [this] { control->onResize(); },
                        [this] { control->onHide(); }, [this] { control->onAmbientChanged(); }});
    }
};

TEST(ControlFaults, AFailingMovieHostMeetsEachMembersFailureRule) {
    FaultRig rig;
    rig.control->InitProperties();
    rig.host->armed = true;
    Plotara& control = *rig.control;

    // Errors ignored statement by statement: nothing reaches the host.
    EXPECT_EQ(errorOf([&] { control.RenderChart(); }), 0);
    EXPECT_EQ(errorOf([&] { control.put_setDataURL(L"/no/such/file.xml"); }), 0);
    EXPECT_TRUE(rig.container.messageBoxes().empty());

    // PrintChart shows its own message box and returns normally.
    EXPECT_EQ(errorOf([&] { control.PrintChart(); }), 0);
    ASSERT_EQ(rig.container.messageBoxes().size(), 1u);
    EXPECT_EQ(rig.container.messageBoxes().back().text,
              L"Error Number: 1001\nDescription: injected fault");
    EXPECT_EQ(rig.container.messageBoxes().back().buttons, 0);
    EXPECT_GT(rig.host->calls, 0);
}

TEST(ControlFaults, TheShowHandlerReportsAFailingMovieHostInAMessageBox) {
    FaultRig rig(false);
    rig.control->InitProperties();
    rig.host->armed = true;
    rig.container.clearRecords();
    EXPECT_EQ(errorOf([&] { rig.control->onShow(); }), 0);
    ASSERT_EQ(rig.container.messageBoxes().size(), 1u);
    EXPECT_EQ(rig.container.messageBoxes().back().text,
              L"1001: Error Soruce: FaultDouble\ninjected fault");
    for (const RaisedEvent& event : rig.container.events())
        EXPECT_NE(event.event, PlotaraEvent::Show);
}

// A container whose notifications fail: the BGColor writer ignores the error, the other writers
// of the control's own state hand it to the host after storing the value.
TEST(ControlFaults, FailingNotificationsReachTheHostExceptFromTheBackgroundWriter) {
    HeadlessContainer headless;
    FailingNotifications container(headless);
    Plotara control(container, std::make_unique<HeadlessMovieHost>(),
                    std::make_shared<FixedClock>(1.0f));
    control.InitProperties();
    container.armed = true;

    EXPECT_EQ(errorOf([&] { control.put_BGColor(L"00ff00"); }), 0);
    EXPECT_EQ(control.get_BGColor(), L"00ff00");
    const int afterBackground = container.failed;
    EXPECT_GT(afterBackground, 0);

    EXPECT_EQ(errorOf([&] { control.put_Debugger(true); }), 1001);
    EXPECT_TRUE(control.get_Debugger());
    EXPECT_EQ(errorOf([&] { control.put_Menu(false); }), 1001);
    EXPECT_FALSE(control.get_Menu());
    EXPECT_GT(container.failed, afterBackground);
}

// A control showing a chart, with a headless OS whose save dialog answers what a test queues;
// the OS before it comes back when the test ends, however it ends.
struct SavingRig {
    ControlRig rig;
    std::shared_ptr<HeadlessOsApi> os = std::make_shared<HeadlessOsApi>();
    std::shared_ptr<OsApi> previous = installOsApi(os);

    explicit SavingRig(int width = 0, int height = 0) {
        ResetSaveImageDialog();
        os->attachWindow(rig.container.hWnd(), *rig.host);
        if (width > 0) rig.container.resize(width, height);
        rig.host->put_Movie(L"file:///charts/Column3D.swf");
    }
    ~SavingRig() {
        installOsApi(previous);
        ResetSaveImageDialog();
    }
    SavingRig(const SavingRig&) = delete;
    SavingRig& operator=(const SavingRig&) = delete;
};

// SaveAsImage on a full disk: False without a message, the old picture kept, nothing beside it.
TEST(ControlFaults, SavingAPictureOnAFullDiskKeepsTheOldFile) {
    namespace fs = std::filesystem;
    SavingRig saving(300, 200); // about 180 KB of BMP
    ControlRig& rig = saving.rig;
    HeadlessOsApi* os = saving.os.get();
    const fs::path folder =
        fs::temp_directory_path() / ("plotara_faults_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path file = folder / "chart.bmp";
    std::ofstream(file) << "old";
    rig.clear();

    // In the child: 0 when SaveAsImage returned False without a message box, also when asked
    // to confirm (the write error ends it before the confirmation).
    for (const bool confirm : {false, true}) {
        const int status = inChildWithFullDisk(8192, [&] {
            os->queueFileAnswer(FileDialogAnswer{false, fromUtf8(file.string()), 0, true});
            const bool saved = rig->SaveAsImage(confirm);
            return saved || !rig.container.messageBoxes().empty() ? 1 : 0;
        });
        EXPECT_EQ(status, 0) << confirm;
        std::ifstream in(file);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    }

    os->queueFileAnswer(FileDialogAnswer{false, fromUtf8(file.string()), 0, true});
    EXPECT_TRUE(rig->SaveAsImage(false));
    EXPECT_GT(fs::file_size(file), 8192u);
    fs::remove_all(folder);
}

// SaveAsImage into a folder that cannot be written: False without a message box, with and
// without confirmation, an existing picture kept (also one writable in place), no file created;
// Picture::saveAsBmp raises error 75 there.
TEST(ControlFaults, SavingAPictureIntoAReadOnlyFolderKeepsTheOldFile) {
    namespace fs = std::filesystem;
    SavingRig saving;
    ControlRig& rig = saving.rig;
    HeadlessOsApi* os = saving.os.get();
    std::string pattern = (fs::temp_directory_path() / "plotara-faults-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path folder = pattern, locked = folder / "locked.bmp", open = folder / "open.bmp";
    std::ofstream(locked) << "old";
    std::ofstream(open) << "old";
    ::chmod(open.c_str(), 0666);
    rig.clear();

    const int status = inChildOverReadOnlyFolder(folder, [&] {
        int wrong = 0;
        for (const fs::path& file : {locked, open, folder / "new.bmp"}) {
            for (const bool confirm : {false, true}) {
                os->queueFileAnswer(FileDialogAnswer{false, fromUtf8(file.string()), 0, true});
                wrong += rig->SaveAsImage(confirm);
            }
            const std::shared_ptr<Picture> picture = rig->GetPicture();
            wrong += !picture || errorOf([&] { picture->saveAsBmp(file); }) != 75;
        }
        return wrong + static_cast<int>(rig.container.messageBoxes().size());
    });
    if (status == notReadOnlyHere) GTEST_SKIP() << "no child here is denied writing";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readAll(locked), "old");
    EXPECT_EQ(readAll(open), "old");
    EXPECT_EQ(fileNames(folder), (std::vector<std::string>{"locked.bmp", "open.bmp"}));

    os->queueFileAnswer(FileDialogAnswer{false, fromUtf8(open.string()), 0, true});
    EXPECT_TRUE(rig->SaveAsImage(false)); // the same save, writable again
    EXPECT_EQ(readAll(open).substr(0, 2), "BM");
    fs::remove_all(folder);
}

// ReadProperties asks the bag for twelve keys; a failure at any of them reaches the host, and
// what was read before it stays.
TEST(ControlFaults, ABagThatFailsWhileLoadingFailsTheLoadAndKeepsWhatWasRead) {
    for (int n = 0; n <= 12; ++n) {
        SCOPED_TRACE(n);
        ControlRig rig;
        FailingPropertyBag bag;
        bag.inner.WriteProperty(L"ChartType", Variant(Long{11}), Variant(Long{1}));
        bag.readsBeforeFault = n;
        const Long error = errorOf([&] { rig->ReadProperties(bag); });
        EXPECT_EQ(bag.reads, n);
        if (n < 12) {
            EXPECT_EQ(error, 1001);
            EXPECT_EQ(rig->get_ChartType() == enumChartNames(11), n >= 3);
        } else {
            EXPECT_EQ(error, 0);
            EXPECT_EQ(rig->get_ChartType(), enumChartNames(11));
        }
    }
}

TEST(ControlFaults, ABagThatFailsWhileSavingFailsTheSave) {
    for (int n = 0; n <= 12; ++n) {
        SCOPED_TRACE(n);
        ControlRig rig;
        rig->InitProperties();
        FailingPropertyBag bag;
        bag.writesBeforeFault = n;
        EXPECT_EQ(errorOf([&] { rig->WriteProperties(bag); }), n < 12 ? 1001 : 0);
        EXPECT_EQ(bag.writes, std::min(n, 12));
    }
}

} // namespace
} // namespace plotara::test
