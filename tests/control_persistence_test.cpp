// Saving the control's settings with its form and loading them back: keys, order, defaults, the
// default chart folder from the registry, and what loading re-applies. Then fault injection
// through the platform contracts: a movie host that fails on every member, a property bag that
// fails after n reads or writes, a failing disk under a saved picture. The control keeps to each
// member's failure rule: silence, a message box, or the error handed to the host with what was
// stored kept.
#include "control/PlotaraOcxModule.h"
#include "control_test_support.h"
#include "fault_doubles.h"
#include "platform/FilePropertyBag.h"
#include "save_faults.h"

#include <cstdlib>
#include <filesystem>

namespace plotara {
namespace {

using test::ControlRig;
using test::errorOf;

using test::FailingPropertyBag;

const std::vector<String> keys = {L"Enabled",     L"Border",       L"ChartType",    L"ChartHeight",
                                  L"ChartWidth",  L"ChartPath",    L"ChartXMLFile", L"Debugger",
                                  L"ExternalXML", L"renderedFrom", L"BGColor",      L"Menu"};

std::vector<String> prefixed(const String& prefix, std::vector<String> names) {
    for (String& n : names)
        n = prefix + n;
    return names;
}

TEST(ControlPersistence, EmptyBagGivesTheDefaults) {
    test::Registry registry(std::string("/srv/charts/"));
    ControlRig rig(false);
    rig.container.resize(100, 80);
    rig->put_Menu(false);
    rig->put_Enabled(false);
    rig.clear();
    FailingPropertyBag bag;
    rig->ReadProperties(bag);
    // Read in table order with renderedFrom last.
    std::vector<String> order = keys;
    order.erase(order.begin() + 9);
    order.push_back(L"renderedFrom");
    EXPECT_EQ(bag.journal, prefixed(L"read ", order));
    EXPECT_TRUE(rig->get_Enabled());
    EXPECT_EQ(rig->get_Border(), enumBorderStyle::Face_3D);
    EXPECT_EQ(rig->get_ChartType(), enumChartNames::column3D);
    EXPECT_EQ(rig.container.scaleWidth(), 320);
    EXPECT_EQ(rig.container.scaleHeight(), 240);
    EXPECT_EQ(rig->get_ChartPath(), L"/srv/charts/");
    EXPECT_EQ(rig->get_setDataURL(), L"");
    EXPECT_FALSE(rig->get_Debugger());
    EXPECT_EQ(rig->get_setDataXML(), L"");
    EXPECT_EQ(rig->get_renderedFrom(), L"");
    EXPECT_EQ(rig->get_BGColor(), L"ffffff");
    EXPECT_TRUE(rig->get_Menu());
    EXPECT_EQ(rig.host->bgColor(), L"ffffff");
    EXPECT_TRUE(rig.host->menu());
    // Restoring applies through the writers, without design-time previews, and ends with
    // renderedFrom; Enabled is applied directly (no notification).
    EXPECT_EQ(rig.container.notifications(),
              (std::vector<String>{L"Border", L"ChartType", L"ChartPath", L"Debugger",
                                   L"XMLDataString", L"XMLDataPath", L"renderedFrom"}));
    EXPECT_TRUE(rig.host->movies().empty());
    EXPECT_EQ(rig.host->calls(), (std::vector<String>{L"BGColor=ffffff", L"Menu=True"}));
}

TEST(ControlPersistence, NewControlSavesOnlyWhatDiffers) {
    test::Registry registry(std::string("/srv/charts/"));
    ControlRig rig(false);
    rig->InitProperties();
    FailingPropertyBag bag;
    rig->WriteProperties(bag);
    EXPECT_EQ(bag.journal, prefixed(L"write ", keys));
    // The background colour of a new control is "", which differs from "ffffff".
    ASSERT_EQ(bag.inner.entries().size(), 1u);
    EXPECT_EQ(bag.inner.entries()[0], (MemoryPropertyBag::Entry{L"BGColor", Variant(L"")}));
    ControlRig loaded(false);
    loaded->ReadProperties(bag.inner);
    EXPECT_EQ(loaded->get_BGColor(), L"");
}

// Every key away from its default goes through the form file and comes back (keys at their
// defaults are left out: NewControlSavesOnlyWhatDiffers).
TEST(ControlPersistence, FormFileRoundTripAwayFromDefaults) {
    test::Registry registry(std::string("/srv/charts/"));
    test::TempFile formFile("form.plf", "");
    {
        ControlRig rig(false);
        rig->InitProperties();
        rig->put_Enabled(false);
        rig->put_Border(enumBorderStyle::Single_Line);
        rig->put_ChartType(enumChartNames::pie3d);
        rig.container.resize(401.5f, 199);
        rig->put_ChartPath(L"/elsewhere/");
        rig->put_setDataURL(L"/data/chart.xml");
        rig->put_Debugger(true);
        rig->put_setDataXML(L"<chart caption='x'></chart>");
        rig->put_renderedFrom(L"url");
        rig->put_BGColor(L"00ff00");
        rig->put_Menu(false);
        FilePropertyBag form(formFile.path());
        rig->WriteProperties(form.addControl(L"Plotara1"));
        EXPECT_EQ(form.control(L"Plotara1").entries().size(), keys.size());
        form.save();
    }
    FilePropertyBag form = FilePropertyBag::load(formFile.path());
    ControlRig rig(false);
    rig->ReadProperties(form.control(L"Plotara1"));
    EXPECT_FALSE(rig->get_Enabled());
    EXPECT_EQ(rig->get_Border(), enumBorderStyle::Single_Line);
    EXPECT_EQ(rig.container.borderStyle(), 1);
    EXPECT_EQ(rig.container.appearance(), 0);
    EXPECT_EQ(rig->get_ChartType(), enumChartNames::pie3d);
    EXPECT_EQ(rig.container.scaleWidth(), 401.5f);
    EXPECT_EQ(rig.container.scaleHeight(), 199);
    EXPECT_EQ(rig->get_ChartPath(), L"/elsewhere/");
    EXPECT_EQ(rig->get_setDataURL(), L"/data/chart.xml");
    EXPECT_TRUE(rig->get_Debugger());
    EXPECT_EQ(rig->get_setDataXML(), L"<chart caption='x'></chart>");
    EXPECT_EQ(rig->get_renderedFrom(), L"url");
    EXPECT_EQ(rig->get_BGColor(), L"00ff00");
    EXPECT_FALSE(rig->get_Menu());
    EXPECT_FALSE(rig.host->menu());
}

TEST(ControlPersistence, FormLoadedWhereTheRegistryDiffers) {
    test::TempFile formFile("moved.plf", "");
    {
        test::Registry registry(std::string("C:\\\\Charts\\\\"));
        ControlRig rig(false);
        rig->InitProperties();
        EXPECT_EQ(rig->get_ChartPath(), L"C:\\Charts\\");
        rig->put_setDataURL(L"C:\\Charts\\"); // equal to the folder, but a data URL: stored
        FilePropertyBag form(formFile.path());
        rig->WriteProperties(form.addControl(L"Plotara1"));
        EXPECT_FALSE(form.control(L"Plotara1").contains(L"ChartPath"));
        form.save();
    }
    test::Registry registry(std::string("/usr/share/plotara/charts"));
    ControlRig rig(false);
    FilePropertyBag form = FilePropertyBag::load(formFile.path());
    rig->ReadProperties(form.control(L"Plotara1"));
    EXPECT_EQ(rig->get_ChartPath(), L"/usr/share/plotara/charts");
    EXPECT_EQ(rig->get_setDataURL(), L"C:\\Charts\\");
}

TEST(ControlPersistence, MissingRegistryValueMakesTheFolderEmpty) {
    test::Registry registry(std::nullopt);
    EXPECT_EQ(GetDefaultChartsPath(), L"");
    ControlRig rig(false);
    rig->InitProperties();
    EXPECT_EQ(rig->get_ChartPath(), L"");
    MemoryPropertyBag bag;
    rig->WriteProperties(bag);
    EXPECT_FALSE(bag.contains(L"ChartPath"));
    rig->put_ChartPath(L"/x");
    rig->WriteProperties(bag);
    EXPECT_EQ(bag.ReadProperty(L"ChartPath", Variant()), Variant(L"/x"));
}

TEST(ControlPersistence, RunModeLoadRendersTheSavedXmlWithTheDataObjectReady) {
    test::Registry registry(std::string("/charts"));
    MemoryPropertyBag bag;
    bag.set(L"ExternalXML", Variant(L"<chart><set value='1'/></chart>"));
    bag.set(L"ChartType", Variant(Long{3}));
    ControlRig rig(true);
    rig->ReadProperties(bag);
    EXPECT_EQ(rig->get_Data()->get_externalXML(), L"<chart><set value='1'/></chart>");
    ASSERT_FALSE(rig.host->movies().empty());
    EXPECT_NE(rig.lastMovie().find(L"dataXML=<chart><set value='1'/></chart>"), String::npos)
        << toUtf8(rig.lastMovie());
    EXPECT_NE(rig.lastMovie().find(L"file:////charts\\"), String::npos);
}

TEST(ControlPersistence, FailuresReachTheHostAndKeepWhatWasDone) {
    test::Registry registry(std::string("/charts"));
    ControlRig rig(false);
    FailingPropertyBag bag;
    bag.failAt = L"Debugger";
    rig->put_ChartPath(L"/mine");
    EXPECT_EQ(errorOf([&] { rig->WriteProperties(bag); }), 1001);
    EXPECT_EQ(bag.inner.ReadProperty(L"ChartPath", Variant()), Variant(L"/mine"));
    EXPECT_FALSE(bag.inner.contains(L"Debugger"));

    bag.failAt = L"";
    bag.inner.set(L"Border", Variant(L"not a number"));
    bag.inner.set(L"ChartType", Variant(Long{5}));
    EXPECT_EQ(errorOf([&] { rig->ReadProperties(bag); }), 13);
    EXPECT_EQ(rig->get_ChartType(), enumChartNames::column3D); // read after the failure: untouched

    // A writer failing while restoring: the error reaches the host, and the writers are no
    // longer suppressed afterwards (a design-time ChartPath write previews again).
    MemoryPropertyBag bad;
    bad.set(L"Border", Variant(Long{70000}));
    EXPECT_EQ(errorOf([&] { rig->ReadProperties(bad); }), 6);
    // A size outside a Single's range, of either sign, overflows too.
    for (const auto& [name, size] : {std::pair{L"ChartHeight", 1e39}, {L"ChartWidth", -1e39}}) {
        MemoryPropertyBag huge;
        huge.set(name, Variant(size));
        EXPECT_EQ(errorOf([&] { rig->ReadProperties(huge); }), 6) << size;
    }
    rig.clear();
    rig->put_renderedFrom(L"dtime");
    rig->put_ChartPath(L"/again");
    EXPECT_FALSE(rig.host->movies().empty());
}

using namespace test;
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
    FaultRig designing(false);
    designing.control->InitProperties();
    designing.host->armed = true;
    designing.container.clearRecords();
    EXPECT_EQ(errorOf([&] { designing.control->onShow(); }), 0);
    ASSERT_EQ(designing.container.messageBoxes().size(), 1u);
    EXPECT_EQ(designing.container.messageBoxes().back().text,
              L"1001: Error Soruce: FaultDouble\ninjected fault");
    for (const RaisedEvent& event : designing.container.events())
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

// SaveAsImage on a full disk or into a read-only folder: False without a message box, with and
// without confirmation (the write error ends it before the confirmation), the old picture kept
// (also one writable in place) and nothing beside it; Picture::saveAsBmp raises error 75 in the
// read-only folder. Writable again, the same save writes the bitmap.
TEST(ControlFaults, SavingAPictureOnAFailingDiskKeepsTheOldFile) {
    namespace fs = std::filesystem;
    CaptureRig rig;
    rig.container.resize(300, 200); // about 180 KB of BMP
    HeadlessOsApi* os = rig.os.get();
    const fs::path& folder = rig.folder;
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

// ReadProperties and WriteProperties each take twelve keys; a failure at any of them reaches the
// host, and what was read before it stays.
TEST(ControlFaults, ABagThatFailsWhileLoadingOrSavingFailsTheCall) {
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
        rig->InitProperties();
        FailingPropertyBag saved;
        saved.writesBeforeFault = n;
        EXPECT_EQ(errorOf([&] { rig->WriteProperties(saved); }), n < 12 ? 1001 : 0);
        EXPECT_EQ(saved.writes, n);
    }
}

} // namespace
} // namespace plotara
