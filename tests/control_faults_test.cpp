// Fault injection through the platform contracts: a movie host that fails on every member and a
// property bag that fails after n reads or writes. The control keeps to each member's failure
// rule: silence, a message box, or the error handed to the host with what was stored kept.
#include "control/Plotara.h"
#include "control/PlotaraOcxModule.h"
#include "control_test_support.h"
#include "fault_doubles.h"
#include "file_test_support.h"
#include "platform/headless/HeadlessOsApi.h"
#include "save_faults.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace plotara::test {
namespace {

using FaultRig = HostRig<FailingMovieHost>;

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

// SaveAsImage on a full disk or into a read-only folder: False without a message box, with and
// without confirmation (the write error ends it before the confirmation), the old picture kept
// (also one writable in place) and nothing beside it; Picture::saveAsBmp raises error 75 in the
// read-only folder. Writable again, the same save writes the bitmap.
TEST(ControlFaults, SavingAPictureOnAFailingDiskKeepsTheOldFile) {
    namespace fs = std::filesystem;
    SavingRig saving(300, 200); // about 180 KB of BMP
    ControlRig& rig = saving.rig;
    HeadlessOsApi* os = saving.os.get();
    const TempDir dir;
    const fs::path& folder = dir.path();
    rig.clear();
    const bool readOnlyRan = expectSaveFailsCleanly(
        folder, "bmp",
        [&](const fs::path& file, DiskFault fault) {
            bool saved = false;
            for (const bool confirm : {false, true}) {
                os->queueFileAnswer(FileDialogAnswer{false, fromUtf8(file.string()), 0, true});
                saved |= rig->SaveAsImage(confirm);
            }
            const std::shared_ptr<Picture> picture = rig->GetPicture();
            return !saved && rig.container.messageBoxes().empty() &&
                   (fault == DiskFault::Full ||
                    (picture && errorOf([&] { picture->saveAsBmp(file); }) == 75));
        },
        8192);
    os->queueFileAnswer(FileDialogAnswer{false, fromUtf8((folder / "open.bmp").string()), 0, true});
    EXPECT_TRUE(rig->SaveAsImage(false));
    EXPECT_EQ(readAll(folder / "open.bmp").substr(0, 2), "BM");
    EXPECT_GT(fs::file_size(folder / "open.bmp"), 8192u);
    if (!readOnlyRan) GTEST_SKIP() << "no child here is denied writing";
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
