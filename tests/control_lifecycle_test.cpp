// The control's properties and the container's lifecycle calls (Border, the simple writers, the
// show, resize and hide handlers in both modes, creation and first properties), the chart
// catalogue (movie files of both editions, the ChartType writer and its stepping, SetChartType,
// GetChartArray and the sample documents), and the headless platform the control runs on in tests
// and on the command line.
#include "control/Catalogue.h"
#include "control/PlotaraOcxModule.h"
#include "control_test_support.h"
#include "core/Text.h"
#include "data_test_support.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace plotara {
namespace {

using test::ControlRig;
using test::errorOf;

TEST(ControlLifecycle, CreationSetsUpTheMovieHostAndTheDataObject) {
    ControlRig rig;
    EXPECT_EQ(rig.host->settingsApplied(), 1);
    const MovieHostSettings& s = rig.host->settings();
    EXPECT_EQ(std::vector<Single>({s.left, s.top, s.width, s.height}),
              std::vector<Single>({0, 0, 320, 240}));
    EXPECT_EQ(std::vector<String>({s.windowMode, s.quality, s.scriptAccess, s.scaleMode,
                                   s.networking, s.allowFullScreen, s.movie, s.backgroundColor}),
              std::vector<String>(
                  {L"Window", L"High", L"always", L"NoScale", L"all", L"false", L"", L""}));
    EXPECT_TRUE(s.play && s.loop && s.menu && s.seamlessTabbing);
    EXPECT_FALSE(s.deviceFont || s.embedMovie);
    EXPECT_TRUE(rig.host->subscribed());
    EXPECT_NE(rig->get_Data(), nullptr);
    EXPECT_EQ(rig->get_Border(), enumBorderStyle::Face_3D);
    EXPECT_EQ(rig->get_ChartType(), enumChartNames::column3D);
    EXPECT_TRUE(rig->get_Menu());
    EXPECT_EQ(rig->Version(), L"1.0.0");
    EXPECT_TRUE(rig.container.journal().empty());
    EXPECT_EQ(errorOf([&] { Plotara broken(rig.container, nullptr); }), 91);
}

TEST(ControlLifecycle, BorderActsClampedAndReadsBackAsWritten) {
    struct Case {
        Long value;
        Integer borderStyle, appearance;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{1, 1, 0}, Case{2, 1, 1}, Case{5, 1, 1},
                          Case{-3, 0, 0}, Case{32767, 1, 1}}) {
        ControlRig rig;
        rig->put_Border(static_cast<enumBorderStyle>(c.value));
        EXPECT_EQ(rig.container.borderStyle(), c.borderStyle) << c.value;
        EXPECT_EQ(rig.container.appearance(), c.appearance) << c.value;
        EXPECT_EQ(static_cast<Long>(rig->get_Border()), c.value);
        EXPECT_EQ(rig.container.notifications(), std::vector<String>{L"Border"});
    }
    ControlRig rig;
    EXPECT_EQ(errorOf([&] { rig->put_Border(static_cast<enumBorderStyle>(40000)); }), 6);
    EXPECT_EQ(static_cast<Long>(rig->get_Border()), 40000);
    EXPECT_TRUE(rig.container.notifications().empty());
}

TEST(ControlLifecycle, SimpleWritersReachTheirTargetAndNotify) {
    ControlRig rig;
    rig->put_Enabled(false);
    rig->put_Menu(false);
    rig->put_ChartHeight(3000);
    rig->put_BGColor(L"ff0000");
    rig->put_ChartPath(L"/charts");
    rig->put_Debugger(true);
    EXPECT_FALSE(rig.container.enabled());
    EXPECT_FALSE(rig->get_Enabled());
    EXPECT_FALSE(rig.host->menu());
    EXPECT_EQ(rig.container.height(), 3000);
    EXPECT_EQ(rig.host->get_Height(), 3000);
    EXPECT_EQ(rig.host->bgColor(), L"ff0000");
    EXPECT_EQ(rig.container.notifications(),
              (std::vector<String>{L"Enabled", L"Menu", L"ChartHeight", L"BGColor", L"ChartPath",
                                   L"Debugger"}));
    // Run mode: no preview was loaded by any of them.
    EXPECT_TRUE(rig.host->movies().empty());
    EXPECT_EQ(rig->get_hWnd(), rig.container.hWnd());
    rig->Refresh();
    EXPECT_EQ(rig.container.refreshCount(), 1);
}

TEST(ControlLifecycle, DesignModeWritersRefreshThePreview) {
    ControlRig rig(false);
    rig->put_renderedFrom(L"dtime");
    rig.clear();
    rig->put_BGColor(L"00ff00");
    rig->put_ChartPath(L"/charts");
    rig->put_Debugger(true);
    EXPECT_EQ(rig.host->movies().size(), 3u);
    EXPECT_NE(rig.lastMovie().find(L"debugMode=1&BGColor=00ff00&dataXML=<chart "), String::npos);
    EXPECT_EQ(rig.lastMovie().rfind(L"file:////charts\\PTM01.swf", 0), 0u);
}

// Run mode: the show handler loads a data file again, and leaves alone an empty control, a ready
// text the data object holds itself (not its own document) and a document built in code.
TEST(ControlLifecycle, ShowInRunMode) {
    struct Case {
        const char* name;
        void (*prepare)(Plotara&);
        std::vector<String> journal;
        std::vector<String> hostCalls;
    } cases[] = {
        {"empty", [](Plotara&) {}, {}, {}},
        {"data file",
         [](Plotara& c) { c.put_setDataURL(L"http://example.com/d.xml"); },
         {L"changed XMLDataPath", L"event Show"},
         {L"Movie"}},
        {"ready text",
         [](Plotara& c) { c.put_setDataXML(L"<chart caption='x'></chart>"); },
         {L"event Show"},
         {}},
        {"built in code",
         [](Plotara& c) {
             c.put_ChartType(enumChartNames::column2d);
             c.get_Data()->addChartData(L"1");
         },
         {},
         {}},
    };
    for (const Case& c : cases) {
        ControlRig rig;
        c.prepare(*rig);
        rig.clear();
        rig.container.show();
        EXPECT_EQ(rig.container.journal(), c.journal) << c.name;
        EXPECT_EQ(rig.host->calls(), c.hostCalls) << c.name;
    }
}

TEST(ControlLifecycle, RunModeEmptyDocumentTexts) {
    // Each of these but the last counts as "no document of its own" and lets the handler go on.
    for (const String& text :
         {String(L""), String(L"   "), String(L"<chart></chart>"), String(L"<chart>\r\n</chart>"),
          String(L"<chart><categories></categories></chart>"),
          test::lines({L"<chart>", L"<categories>", L"</categories>", L"</chart>"}),
          String(L"<chart>\n</chart>")}) {
        ControlRig rig;
        rig->get_Data()->put_externalXML(text);
        rig->get_Data()->put_isExternalXML(true);
        rig->put_setDataURL(L"http://example.com/d.xml");
        rig.clear();
        rig.container.show();
        EXPECT_EQ(rig.container.events().size(), text == L"<chart>\n</chart>" ? 0u : 1u)
            << toUtf8(text);
    }
}

TEST(ControlLifecycle, ShowHandlerStopsForAHiddenExtenderAndReportsErrorsInAMessageBox) {
    ControlRig rig(false);
    rig.container.setExtenderVisible(false);
    rig.container.show();
    EXPECT_TRUE(rig.container.journal().empty());
    rig.container.setDisplayName(L"");
    rig.container.show();
    EXPECT_EQ(rig.container.events().size(), 1u);
    ControlRig running;
    running->putref_Data(nullptr);
    running.container.show();
    EXPECT_TRUE(running.container.events().empty());
    ASSERT_EQ(running.container.messageBoxes().size(), 1u);
    EXPECT_EQ(running.container.messageBoxes()[0].text,
              L"91: Error Soruce: \nObject variable or With block variable not set");
    EXPECT_EQ(running.container.messageBoxes()[0].buttons, 0);
}

TEST(ControlLifecycle, ResizeMatchesTheMovieHostThenShowsAndRaisesResize) {
    ControlRig rig(false);
    rig.container.resize(320, 240); // the size the movie host already has
    EXPECT_EQ(rig.host->calls(), (std::vector<String>{L"BGColor=", L"Movie"}));
    EXPECT_EQ(rig.container.journal(),
              (std::vector<String>{L"changed Border", L"changed renderedFrom", L"event Show",
                                   L"event Resize"}));
    rig.clear();
    rig.container.resize(400, 300.5f);
    EXPECT_EQ(rig.host->calls(),
              (std::vector<String>{L"Width=400", L"Height=300.5", L"BGColor=", L"Movie"}));
    EXPECT_NE(rig.lastMovie().find(L"&chartWidth=400&chartHeight=300.5&"), String::npos);
    EXPECT_EQ(rig.container.journal(),
              (std::vector<String>{L"changed Border", L"event Show", L"event Resize"}));
}

TEST(ControlLifecycle, RunModeResizeWithoutDataAndHideRaiseOnlyTheirEvents) {
    ControlRig rig;
    rig.container.resize(100, 50);
    EXPECT_EQ(rig.container.journal(), std::vector<String>{L"event Resize"});
    EXPECT_EQ(rig.host->get_Width(), 100);
    EXPECT_EQ(rig.host->get_Height(), 50);
    rig.clear();
    rig.container.hide();
    rig.container.setUserMode(false); // an ambient change does nothing
    EXPECT_EQ(rig.container.journal(), std::vector<String>{L"event Hide"});
    EXPECT_TRUE(rig.host->calls().empty());
}

TEST(ControlLifecycle, FirstPropertiesTakeTheRegistryFolder) {
    test::Registry registry(std::string("C:\\\\Charts\\\\"));
    ControlRig rig(false);
    rig->put_Border(enumBorderStyle::None);
    rig->put_renderedFrom(L"url");
    rig.clear();
    rig->InitProperties();
    EXPECT_EQ(rig->get_ChartPath(), LR"(C:\Charts\)");
    EXPECT_EQ(rig->get_Border(), enumBorderStyle::Face_3D);
    EXPECT_EQ(rig->get_renderedFrom(), L"");
    EXPECT_EQ(rig.container.journal(), std::vector<String>{L"changed renderedFrom"});
    EXPECT_TRUE(rig.host->calls().empty());
    ::setenv("PLOTARIX_REGISTRY", "/nonexistent/registry.reg", 1);
    EXPECT_EQ(GetDefaultChartsPath(), L"");
}

TEST(ControlPlatform, ContainerUnitsAndFrame) {
    HeadlessContainer c;
    EXPECT_EQ(c.scaleWidth(), 320);
    c.setScaleMode(1);
    EXPECT_EQ(c.scaleWidth(), 4800);
    EXPECT_EQ(c.scaleHeight(), 3600);
    c.setScaleWidth(1500);
    EXPECT_EQ(c.widthPixels(), 100);
    c.setScaleMode(3);
    EXPECT_EQ(c.scaleWidth(), 100);
    EXPECT_EQ(c.height(), 3600); // no border: outer and inner are the same
    c.setBorderStyle(1);
    EXPECT_EQ(c.height(), (240 + 4) * 15); // 3D frame of 2 pixels each side
    c.setAppearance(0);
    c.setHeight(3000);
    EXPECT_EQ(c.heightPixels(), 198);
    for (Integer bad : {0, 4, 8, -1})
        EXPECT_EQ(errorOf([&] { c.setScaleMode(bad); }), 380);
    EXPECT_EQ(errorOf([&] { c.setBorderStyle(2); }), 380);
    EXPECT_EQ(errorOf([&] { c.setAppearance(-1); }), 380);
}

TEST(ControlPlatform, ContainerRecordsAndAnswers) {
    HeadlessContainer c;
    std::vector<String> order;
    c.bind({[&] { order.push_back(L"show"); }, [&] { order.push_back(L"resize"); },
            [&] { order.push_back(L"hide"); }, [&] { order.push_back(L"ambient"); }});
    c.show();
    c.resize(10, 20);
    c.hide();
    c.setUserMode(false);
    EXPECT_EQ(order, (std::vector<String>{L"show", L"resize", L"hide", L"ambient"}));
    EXPECT_FALSE(c.ambientUserMode());
    c.queueAnswer(7);
    c.propertyChanged(L"Border");
    c.raiseEvent(PlotaraEvent::DrillDown, {Variant(L"f"), Variant()});
    EXPECT_EQ(c.messageBox(L"Sure?", 4 + 32, L"Title"), 7);
    EXPECT_EQ(c.messageBox(L"Done"), 1);
    EXPECT_EQ(c.journal(), (std::vector<String>{L"changed Border", L"event DrillDown",
                                                L"message Sure?", L"message Done"}));
    const MessageBoxRecord& first = c.messageBoxes()[0];
    EXPECT_EQ(std::make_tuple(first.buttons, first.icon, first.caption, first.answer),
              std::make_tuple(Long{4}, Long{32}, String(L"Title"), Long{7}));
    EXPECT_EQ(c.events()[0].args.size(), 2u);
}

// With no answer queued, each box gets the button Enter would press: its default button, never
// a button it does not have (every style is taken apart in MessageBoxStyle's own test).
TEST(ControlPlatform, UnansweredBoxesGetTheirDefaultButton) {
    const struct {
        Long style;
        Long answer;
    } cases[] = {
        {0, 1},         // OK
        {1 + 0x100, 2}, // OK/Cancel, Cancel the default
        {3 + 0x100, 7}, // Yes/No/Cancel, No the default
        {4 + 0x200, 6}, // a third default in a set of two: the first
    };
    HeadlessContainer c;
    for (const auto& k : cases) {
        EXPECT_EQ(c.messageBox(L"?", k.style), k.answer) << k.style;
        EXPECT_EQ(c.messageBoxes().back().answer, k.answer) << k.style;
    }
    c.queueAnswer(2);
    EXPECT_EQ(c.messageBox(L"queued", 4), 2); // a queued answer is given as queued
    EXPECT_EQ(c.messageBox(L"after", 4), 6);
}

TEST(ControlPlatform, SystemClockStaysWithinADay) {
    const Single now = SystemClock().secondsSinceMidnight();
    EXPECT_GE(now, 0);
    EXPECT_LT(now, 86400);
}

TEST(ControlCatalogue, MovieFileStore) {
    struct Case {
        Integer edition, type;
        const wchar_t* file;
    };
    for (const Case& c :
         {Case{0, 5, L"0"}, Case{0, 13, L"PTL_PTM13.swf"}, Case{2, 1, L""}, Case{1, 51, L""},
          Case{1, 0, L""}, Case{1, 38, L""}, Case{1, 50, L""}, Case{0, 50, L""}, Case{3, 1, L""},
          Case{-1, 1, L""}, Case{1, -1, L""}, Case{1, 7, L"PTM07.swf"}, Case{1, 37, L"PTM37.swf"},
          Case{0, 37, L"0"}, Case{0, 1, L"PTL_PTM01.swf"}, Case{0, 36, L"0"}}) {
        EXPECT_EQ(catalogue::ChartMovieFile(c.edition, c.type), c.file)
            << c.edition << "," << c.type;
    }
}

TEST(ControlCatalogue, ChartTypeEndsAsAChartWithAMovieFileAndReachesTheDataObject) {
    for (Long value : {0L, 38L, 51L, -5L, 40000L, -2147483647L - 1, 2147483647L}) {
        ControlRig rig;
        rig->put_ChartType(static_cast<enumChartNames>(value));
        EXPECT_EQ(rig->get_ChartType(), enumChartNames::column3D) << value;
        EXPECT_EQ(rig.container.notifications(), std::vector<String>{L"ChartType"}) << value;
        EXPECT_EQ(rig->GetChartFileName(), L"PTM01.swf");
    }
    ControlRig rig;
    rig->put_ChartType(enumChartNames::grid);
    EXPECT_EQ(rig->GetChartFileName(), L"PTM37.swf");
    rig->get_Data()->addDataset(L"2008"); // the grid chart drops datasets
    EXPECT_FALSE(rig->get_Data()->get_isDataAdded());
    rig->put_ChartType(enumChartNames::Line2D);
    EXPECT_EQ(rig->GetChartFileName(), L"PTM07.swf");
    rig->get_Data()->addDataset(L"2008");
    EXPECT_TRUE(rig->get_Data()->get_isDataAdded());
    EXPECT_TRUE(rig.host->movies().empty()); // the run-time writer renders nothing
}

TEST(ControlCatalogue, DesignModeChartTypeActsOnRenderedFrom) {
    struct Case {
        const wchar_t* renderedFrom;
        std::vector<String> journal;
        size_t movies;
    };
    const Case cases[] = {
        {L"dtime", {L"changed ChartType"}, 1},
        {L"url", {L"changed XMLDataPath", L"changed renderedFrom", L"changed ChartType"}, 1},
        {L"exxml", {L"changed XMLDataString", L"changed renderedFrom", L"changed ChartType"}, 1},
        {L"", {L"changed ChartType"}, 0},
        {L"URL", {L"changed ChartType"}, 0},
    };
    for (const Case& c : cases) {
        ControlRig rig(false);
        rig->get_Data()->put_externalXML(L"");
        rig->put_renderedFrom(c.renderedFrom);
        rig.clear();
        rig->put_ChartType(enumChartNames::pie2d);
        EXPECT_EQ(rig.container.journal(), c.journal) << toUtf8(c.renderedFrom);
        EXPECT_EQ(rig.host->movies().size(), c.movies) << toUtf8(c.renderedFrom);
        if (c.movies > 0) {
            EXPECT_NE(rig.lastMovie().find(L"PTM04.swf"), String::npos);
        }
    }
}

TEST(ControlCatalogue, SetChartTypeLowerCasesAndRenders) {
    struct Case {
        const wchar_t* text;
        Long type;
    };
    for (const Case& c : {Case{L"Pie2D", 4}, Case{L" pie2d", 1}, Case{L"", 1}, Case{L"GRID", 37},
                          Case{L"msstackedcolumn2dlinedy", 27}, Case{L"unknown", 1}}) {
        ControlRig rig;
        rig->SetChartType(c.text);
        EXPECT_EQ(static_cast<Long>(rig->get_ChartType()), c.type) << toUtf8(c.text);
        ASSERT_EQ(rig.host->movies().size(), 1u) << toUtf8(c.text);
        EXPECT_NE(rig.lastMovie().find(catalogue::ChartMovieFile(1, static_cast<Integer>(c.type))),
                  String::npos);
    }
}

TEST(ControlCatalogue, ChartArraysAndEnumerationSpellings) {
    ControlRig rig;
    const auto all = rig->GetChartArray();
    ASSERT_EQ(all.size(), 37u);
    EXPECT_EQ(all.front(), L"column3d");
    EXPECT_EQ(all[9], L"grid");
    EXPECT_EQ(all[35], L"bubble");
    EXPECT_EQ(all.back(), L"scatter");
    // All lists every type once, in the order of the groups 1 to 7.
    std::vector<String> concatenated;
    for (Long group = 1; group <= 7; ++group)
        for (const String& name : rig->GetChartArray(static_cast<enumChartGroup>(group)))
            concatenated.push_back(name);
    EXPECT_EQ(concatenated, all);
    const std::vector<size_t> sizes = {10, 6, 5, 6, 6, 2, 2};
    for (Long group = 1; group <= 7; ++group)
        EXPECT_EQ(rig->GetChartArray(static_cast<enumChartGroup>(group)).size(), sizes[group - 1]);
    EXPECT_EQ(rig->GetChartArray(enumChartGroup::Combination),
              (std::vector<String>{L"mscombi2d", L"mscombi3d", L"mscombidy2d", L"mscolumn3dline",
                                   L"mscolumn3dlinedy"}));
    EXPECT_EQ(rig->GetChartArray(enumChartGroup::Stacked).back(), L"stackedcolumn3dlinedy");
    EXPECT_TRUE(rig->GetChartArray(static_cast<enumChartGroup>(8)).empty());
    EXPECT_TRUE(rig->GetChartArray(static_cast<enumChartGroup>(-1)).empty());
    // Every name maps back to its type (so no two types share a name).
    for (Long type = 1; type <= 37; ++type)
        EXPECT_EQ(catalogue::typeOfName(catalogue::typeName(type)), type);
    EXPECT_EQ(String(chartGroupMembers()[6].name), L"Multi Series Stacked");
    EXPECT_EQ(String(borderStyleMembers()[2].name), L"3D_Face");
    ASSERT_EQ(chartNamesMembers().size(), 37u);
    for (const EnumMember& m : chartNamesMembers())
        EXPECT_EQ(text::toLower(m.name), catalogue::typeName(m.value));
    EXPECT_EQ(String(chartNamesMembers()[6].name), L"Line2D");
    EXPECT_EQ(chartMessageTypeMembers().back().value, 7);
}

TEST(ControlCatalogue, SampleDocumentsForEveryType) {
    std::ifstream file(std::string(PLOTARA_TEST_DATA) + "/control_samples.txt");
    ASSERT_TRUE(file) << "missing tests/data/control_samples.txt";
    std::string line;
    int rows = 0;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        const auto tab = line.find('\t');
        const Long type = std::stol(line.substr(0, tab));
        EXPECT_EQ(toUtf8(catalogue::sampleXML(type)), line.substr(tab + 1)) << "type " << type;
        ++rows;
    }
    EXPECT_EQ(rows, 37);
    for (Long type : {0L, 38L, -1L, 51L})
        EXPECT_EQ(catalogue::sampleXML(type), L"");
    ControlRig rig;
    rig->put_ChartType(enumChartNames::grid);
    EXPECT_EQ(rig->GetSampleXML(), catalogue::sampleXML(1));
}

} // namespace
} // namespace plotara
