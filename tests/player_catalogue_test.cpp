// The chart catalogue: the chart-movie file format, the chart-type table against the files shipped
// with the player (the builder and the control read the table, the player reads the files, so the
// two must tell the same story), and the default chart folder: $PLOTARA_CHARTS first, then the
// build tree's charts, and a clear error naming what was tried when nothing holds the movies.
#include "core/ChartTypes.h"
#include "core/Error.h"
#include "core/Text.h"
#include "file_test_support.h"
#include "player/ChartFolder.h"
#include "player/detail/ChartMovie.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

namespace plotara {
namespace {

namespace ct = chart_types;
namespace fs = std::filesystem;

// Sets or clears $PLOTARA_CHARTS for one test and puts the old value back afterwards.
class ChartsVariable {
public:
    explicit ChartsVariable(const std::optional<std::string>& value) {
        if (const char* old = std::getenv(chartFolderVariable)) old_ = old;
        if (value)
            ::setenv(chartFolderVariable, value->c_str(), 1);
        else
            ::unsetenv(chartFolderVariable);
    }
    ~ChartsVariable() {
        if (old_)
            ::setenv(chartFolderVariable, old_->c_str(), 1);
        else
            ::unsetenv(chartFolderVariable);
    }
    ChartsVariable(const ChartsVariable&) = delete;
    ChartsVariable& operator=(const ChartsVariable&) = delete;

private:
    std::optional<std::string> old_;
};

// A fresh folder and the paths in it, as text.
struct Folder : test::TempDir {
    std::string path() const { return TempDir::path().string(); }
    std::string sub(const std::string& name) const { return (TempDir::path() / name).string(); }
};

const std::string sourceCharts = PLOTARA_CHARTS_DIR;

player::SeriesMode expectedSeries(const ct::ChartType& type) {
    if (type.kind == ct::SeriesKind::MultiStacked) return player::SeriesMode::MultiStacked;
    if (type.stacked) return player::SeriesMode::Stacked;
    if (type.kind == ct::SeriesKind::Single) return player::SeriesMode::Single;
    return player::SeriesMode::Multi;
}

// The family enumerations of the table and the player list the same names in the same order.
void expectMovieMatches(const ct::ChartType& type, const std::wstring& file) {
    const auto path = std::filesystem::path(PLOTARA_CHARTS_DIR) / file;
    const std::optional<player::ChartMovie> movie = player::loadChartMovie(path.string());
    ASSERT_TRUE(movie) << path;
    EXPECT_EQ(movie->type, toUtf8(type.name)) << path;
    EXPECT_EQ(static_cast<int>(movie->family), static_cast<int>(type.family)) << path;
    EXPECT_EQ(movie->series, expectedSeries(type)) << path;
    EXPECT_EQ(movie->combination, type.combination) << path;
    EXPECT_EQ(movie->dualY, type.dualY) << path;
    EXPECT_EQ(movie->scroll, type.scroll) << path;
}

TEST(ChartTypes, EveryShippedMovieAgreesWithTheTable) {
    for (Long number = 1; number <= ct::count; ++number) {
        const ct::ChartType* type = ct::find(number);
        ASSERT_NE(type, nullptr) << number;
        EXPECT_EQ(type->number, number);
        expectMovieMatches(*type, type->movieFile);
        if (std::wstring(type->lightFile) != L"0") expectMovieMatches(*type, type->lightFile);
    }
}

TEST(ChartFolder, HoldsChartMoviesOnlyWithTheFirstMovieFile) {
    Folder folder;
    fs::create_directories(folder.sub("movie-is-a-folder/PTM01.swf"));
    fs::create_directories(folder.sub("other-movie"));
    std::ofstream(folder.sub("other-movie/PTM02.swf")) << "x";
    fs::create_directories(folder.sub("charts"));
    std::ofstream(folder.sub("charts/PTM01.swf")) << "x";
    struct Case {
        std::string folder;
        bool holds;
    } cases[] = {
        {"", false},
        {folder.path(), false},
        {folder.sub("missing"), false},
        {folder.sub("movie-is-a-folder"), false},
        {folder.sub("other-movie"), false},
        {folder.sub("charts"), true},
        {folder.sub("charts/"), true},
        {sourceCharts, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(holdsChartMovies(c.folder), c.holds) << c.folder;
}

TEST(ChartFolder, AVariableWithoutChartsIsAnErrorNamingIt) {
    Folder empty;
    for (const std::string& named : {empty.path(), empty.sub("missing"), std::string("rel/x")}) {
        ChartsVariable set(named);
        try {
            defaultChartFolder();
            ADD_FAILURE() << "no error for " << named;
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), 76);
            const std::string text = error.what();
            EXPECT_NE(text.find("Path not found"), std::string::npos) << text;
            EXPECT_NE(text.find(named), std::string::npos) << text;
            EXPECT_NE(text.find("PLOTARA_CHARTS"), std::string::npos) << text;
        }
    }
}

// The variable wins when it holds the charts; unset or empty, the build tree's charts come first.
TEST(ChartFolder, TheVariableWinsElseTheSourceChartsComeFirst) {
    Folder folder;
    std::ofstream(folder.sub("PTM01.swf")) << "x";
    for (const std::optional<std::string>& variable :
         {std::optional<std::string>(folder.path()), std::optional<std::string>(),
          std::optional<std::string>("")}) {
        ChartsVariable set(variable);
        EXPECT_EQ(defaultChartFolder(),
                  fromUtf8(variable && !variable->empty() ? *variable : sourceCharts));
    }
    const std::vector<std::string> candidates = chartFolderCandidates();
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates[0], sourceCharts);
    // Beside the program (a static library) under share/plotara/charts, then the install prefix.
    EXPECT_NE(candidates[1].find("share/plotara/charts"), std::string::npos) << candidates[1];
    EXPECT_NE(candidates[2].find("share/plotara/charts"), std::string::npos) << candidates[2];
    EXPECT_TRUE(fs::path(candidates[2]).is_absolute()) << candidates[2];
}

TEST(ChartMovie, ReadsTheFormatAndRejectsOtherFiles) {
    auto m = player::parseChartMovie(
        "plotara-chart-movie 1\n# c\ntype = mscombidy2d\nfamily = column\nseries = multi\n"
        "look = 3d\ncombination = 1\ndual-y = 1\nfuture-key = 7\n");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->type, "mscombidy2d");
    EXPECT_TRUE(m->threeD && m->combination && m->dualY && !m->scroll);
    EXPECT_EQ(m->series, player::SeriesMode::Multi);
    EXPECT_FALSE(player::parseChartMovie("FWS\x08garbage"));
    EXPECT_FALSE(player::parseChartMovie("plotara-chart-movie 1\nfamily = sunburst\n"));
}

} // namespace
} // namespace plotara
