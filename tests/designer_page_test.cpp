// The property page "Paths" on a real control reached by name, with the headless folder browser
// and Open dialog.
#include "control/Plotara.h"
#include "core/ErrorTrap.h"
#include "designer/PageDialogs.h"
#include "designer/xmlOpenDialog.h"
#include "file_test_support.h"
#include "platform/headless/FixedClock.h"
#include "platform/headless/HeadlessContainer.h"
#include "platform/headless/HeadlessMovieHost.h"
#include "platform/headless/HeadlessOsApi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace plotara {
namespace {

namespace fs = std::filesystem;

constexpr Long pageWindow = 0x00C0FFEE;

// A design-mode control selected on the page, with the headless OS seam installed.
struct PageRig {
    HeadlessContainer container;
    std::shared_ptr<Plotara> control;
    xmlOpenDialog page{pageWindow};
    std::shared_ptr<HeadlessOsApi> os = std::make_shared<HeadlessOsApi>();
    std::shared_ptr<OsApi> previous = installOsApi(os);
    test::TempDir temp;
    fs::path folder = temp.path();

    PageRig() {
        container.setUserMode(false);
        control = std::make_shared<Plotara>(container, std::make_unique<HeadlessMovieHost>(),
                                            std::make_shared<FixedClock>(1));
        page.setSelectedControls({control});
    }
    ~PageRig() { installOsApi(previous); }
    String path(const std::string& name) const { return fromUtf8((folder / name).string()); }
};

TEST(DesignerPage, OpeningAndApplyingWithoutEditsWritesNothing) {
    PageRig rig;
    rig.control->put_ChartPath(L"/charts");
    rig.control->put_setDataURL(L"/data/a.xml");
    rig.container.clearRecords();
    rig.page.SelectionChanged();
    EXPECT_EQ(rig.page.txtChartPath.text, L"/charts");
    EXPECT_EQ(rig.page.txtChartExternalDataPath.text, L"/data/a.xml");
    EXPECT_TRUE(rig.page.get_Changed()); // filling the boxes raised their Change events
    rig.page.ApplyChanges();
    EXPECT_FALSE(rig.page.get_Changed());
    EXPECT_TRUE(rig.container.notifications().empty());
    rig.page.txtChartPath_GotFocus();
    EXPECT_EQ(std::make_pair(rig.page.txtChartPath.selStart, rig.page.txtChartPath.selLength),
              std::make_pair(Long{0}, Long{7}));
}

TEST(DesignerPage, EditingOnePathWritesBoth) {
    PageRig rig;
    rig.control->put_ChartPath(L"/charts");
    rig.page.SelectionChanged();
    rig.page.put_Changed(false);
    rig.page.txtChartExternalDataPath.setText(L"/data/b.xml");
    EXPECT_TRUE(rig.page.get_Changed());
    rig.container.clearRecords();
    rig.page.ApplyChanges();
    EXPECT_EQ(rig.control->get_setDataURL(), L"/data/b.xml");
    EXPECT_EQ(rig.control->get_ChartPath(), L"/charts");
    const std::vector<String>& n = rig.container.notifications();
    EXPECT_EQ(std::count(n.begin(), n.end(), L"ChartPath"), 1);
    EXPECT_EQ(std::count(n.begin(), n.end(), L"XMLDataPath"), 1);
    EXPECT_LT(std::find(n.begin(), n.end(), L"ChartPath"),
              std::find(n.begin(), n.end(), L"XMLDataPath"));
    // Only the first selected control is read and written; none selected is an error.
    xmlOpenDialog empty;
    EXPECT_EQ(ErrorTrap::capture([&] { empty.ApplyChanges(); })->number(), 9);
}

TEST(DesignerPage, FolderBrowserPreselectsAndFillsTheBox) {
    PageRig rig;
    const String existing = fromUtf8(rig.folder.string());
    rig.page.txtChartPath.setText(existing);
    rig.page.put_Changed(false);
    rig.os->queueFolderAnswer(FolderAnswer{false, L"/chosen/charts"});
    rig.page.cmdDirChooser_Click();
    EXPECT_EQ(rig.page.txtChartPath.text, L"/chosen/charts");
    EXPECT_TRUE(rig.page.get_Changed());
    const BROWSEINFO& info = rig.os->browseRecords().at(0);
    EXPECT_EQ(info.hwndOwner, pageWindow);
    EXPECT_EQ(info.pidlRoot, 0);
    EXPECT_EQ(info.pszDisplayName, nullptr);
    EXPECT_EQ(info.lpszTitle, L"Select the chart folder");
    EXPECT_EQ(info.ulFlags, 1);
    EXPECT_EQ(info.lpfn, &BrowseCallback);
    EXPECT_EQ(rig.os->preselections(), std::vector<String>{existing});
    EXPECT_EQ(rig.os->openItemLists(), 0u);

    // A folder text that does not exist leaves the browser at its default; cancel changes nothing.
    rig.page.txtChartPath.setText(L"/no/such/folder");
    rig.page.put_Changed(false);
    rig.os->queueFolderAnswer(FolderAnswer::cancelled());
    rig.page.cmdDirChooser_Click();
    EXPECT_EQ(rig.page.txtChartPath.text, L"/no/such/folder");
    EXPECT_FALSE(rig.page.get_Changed());
    EXPECT_EQ(rig.os->preselections().at(1), L"");
    EXPECT_EQ(BrowseCallback(1, 2, 0, 0), 0);
}

TEST(DesignerPage, XmlDialogStartingFolderRule) {
    PageRig rig;
    fs::create_directories(rig.folder / "plain");
    fs::create_directories(rig.folder / ".hidden");
    fs::create_directories(rig.folder / "locked");
    fs::permissions(rig.folder / "locked", fs::perms::owner_write, fs::perm_options::remove);
    struct Case {
        String dataUrl, start;
    };
    const Case cases[] = {
        {L"C:\\Charts\\data.xml", L"C:\\Charts\\"},          // a file that does not exist
        {rig.path("plain"), rig.path("plain")},              // an existing plain folder, whole
        {rig.path(".hidden"), L""},                          // a folder with further attributes
        {rig.path("locked"), L""},                           // read-only: a further attribute
        {rig.path("locked") + L"\\x", rig.path("locked\\")}, // no such path: cut after "\\"
        {rig.path("plain\\sub"), rig.path("plain\\")},       // cut to the last backslash
        {L"", L""},
        {L"data.xml", L""},
    };
    for (const Case& c : cases) {
        rig.control->put_setDataURL(c.dataUrl);
        rig.os->clearRecords();
        rig.page.cmdXMLOpen_Click();
        ASSERT_EQ(rig.os->openRecords().size(), 1u);
        EXPECT_EQ(rig.os->openRecords()[0].lpstrInitialDir, c.start) << toUtf8(c.dataUrl);
    }
    const OPENFILENAME& r = rig.os->openRecords()[0];
    EXPECT_EQ(std::vector<Long>({r.lStructSize, r.hwndOwner, r.nFilterIndex, r.nMaxFile,
                                 r.nMaxFileTitle, r.Flags}),
              std::vector<Long>({76, pageWindow, 1, 256, 0, 0x1000}));
    EXPECT_EQ(
        std::vector<String>({r.lpstrFilter, r.lpstrFile, r.lpstrTitle, r.lpstrDefExt}),
        std::vector<String>({String(L"XML Files (*.xml)\0*.xml\0All Files (*.*)\0*.*\0\0", 45),
                             String(256, L'\0'), L"Select the XML file", L"xml"}));
}

TEST(DesignerPage, XmlDialogAcceptsOnlyExistingFiles) {
    PageRig rig;
    std::ofstream(rig.folder / "data.xml") << "<chart/>";
    // "missing" becomes missing.xml, which does not exist: refused; then "data" is data.xml.
    rig.os->queueFileAnswer(FileDialogAnswer{false, rig.path("missing"), 0, true});
    rig.os->queueFileAnswer(FileDialogAnswer{false, rig.path("data"), 0, true});
    rig.page.cmdXMLOpen_Click();
    EXPECT_EQ(rig.os->mustExistRefusals(), std::vector<String>{rig.path("missing.xml")});
    EXPECT_EQ(rig.page.txtChartExternalDataPath.text, rig.path("data.xml"));
    EXPECT_TRUE(rig.page.get_Changed());
    // Cancelling leaves the box; the control changes only on apply.
    rig.page.cmdXMLOpen_Click();
    EXPECT_EQ(rig.page.txtChartExternalDataPath.text, rig.path("data.xml"));
    EXPECT_EQ(rig.control->get_setDataURL(), L"");
    // Without a selected control the click still opens the dialog, from nowhere.
    xmlOpenDialog lonely(pageWindow);
    lonely.cmdXMLOpen_Click();
    EXPECT_EQ(rig.os->openRecords().back().lpstrInitialDir, L"");
}

} // namespace
} // namespace plotara
