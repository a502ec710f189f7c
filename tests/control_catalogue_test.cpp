// The chart catalogue: movie files of both editions, the ChartType writer and its stepping,
// SetChartType, GetChartArray and the sample documents.
#include "control/Catalogue.h"
#include "control_test_support.h"
#include "core/Text.h"

#include <fstream>
#include <map>
#include <string>

namespace plotara {
namespace {

using test::ControlRig;

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
    // Full files are PTMnn.swf; the light edition covers 19 types.
    int light = 0;
    for (Integer type = 1; type <= 37; ++type) {
        const String number = (type < 10 ? L"0" : L"") + std::to_wstring(type);
        EXPECT_EQ(catalogue::ChartMovieFile(1, type), L"PTM" + number + L".swf");
        const String lightFile = catalogue::ChartMovieFile(0, type);
        if (lightFile != L"0") {
            EXPECT_EQ(lightFile, L"PTL_PTM" + number + L".swf");
            ++light;
        }
    }
    EXPECT_EQ(light, 19);
}

TEST(ControlCatalogue, ChartTypeWithoutAMovieFileEndsAsOne) {
    for (Long value : {0L, 38L, 51L, -5L, 40000L, -2147483647L - 1, 2147483647L}) {
        ControlRig rig;
        rig->put_ChartType(static_cast<enumChartNames>(value));
        EXPECT_EQ(rig->get_ChartType(), enumChartNames::column3D) << value;
        EXPECT_EQ(rig.container.notifications(), std::vector<String>{L"ChartType"}) << value;
        EXPECT_EQ(rig->GetChartFileName(), L"PTM01.swf");
    }
}

TEST(ControlCatalogue, ChartTypeReachesTheDataObject) {
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

TEST(ControlCatalogue, ChartArrays) {
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
    std::map<String, int> seen;
    for (const String& name : all)
        ++seen[name];
    EXPECT_EQ(seen.size(), 37u);
    const std::vector<size_t> sizes = {10, 6, 5, 6, 6, 2, 2};
    for (Long group = 1; group <= 7; ++group)
        EXPECT_EQ(rig->GetChartArray(static_cast<enumChartGroup>(group)).size(), sizes[group - 1]);
    EXPECT_EQ(rig->GetChartArray(enumChartGroup::Combination),
              (std::vector<String>{L"mscombi2d", L"mscombi3d", L"mscombidy2d", L"mscolumn3dline",
                                   L"mscolumn3dlinedy"}));
    EXPECT_EQ(rig->GetChartArray(enumChartGroup::Stacked).back(), L"stackedcolumn3dlinedy");
    EXPECT_TRUE(rig->GetChartArray(static_cast<enumChartGroup>(8)).empty());
    EXPECT_TRUE(rig->GetChartArray(static_cast<enumChartGroup>(-1)).empty());
    // Every name maps back to its type.
    for (Long type = 1; type <= 37; ++type)
        EXPECT_EQ(catalogue::typeOfName(catalogue::typeName(type)), type);
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

TEST(ControlCatalogue, EnumerationSpellings) {
    EXPECT_EQ(String(chartGroupMembers()[6].name), L"Multi Series Stacked");
    EXPECT_EQ(String(borderStyleMembers()[2].name), L"3D_Face");
    ASSERT_EQ(chartNamesMembers().size(), 37u);
    for (const EnumMember& m : chartNamesMembers())
        EXPECT_EQ(text::toLower(m.name), catalogue::typeName(m.value));
    EXPECT_EQ(String(chartNamesMembers()[6].name), L"Line2D");
    EXPECT_EQ(chartMessageTypeMembers().back().value, 7);
}

} // namespace
} // namespace plotara
