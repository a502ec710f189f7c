// The default chart folder: $PLOTARA_CHARTS first, then the build tree's charts (the tests run in
// the build tree), and a clear error naming what was tried when nothing holds the chart movies.
#include "core/Error.h"
#include "player/ChartFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

namespace plotara {
namespace {

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

class Folder {
public:
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "plotara-charts-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    std::string path() const { return path_.string(); }
    std::string sub(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

const std::string sourceCharts = PLOTARA_CHARTS_DIR;

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

TEST(ChartFolder, TheVariableWinsWhenItHoldsTheCharts) {
    Folder folder;
    std::ofstream(folder.sub("PTM01.swf")) << "x";
    ChartsVariable set(folder.path());
    EXPECT_EQ(defaultChartFolder(), fromUtf8(folder.path()));
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

TEST(ChartFolder, InTheBuildTreeTheSourceChartsComeFirst) {
    for (const std::optional<std::string>& unset :
         {std::optional<std::string>(), std::optional<std::string>("")}) {
        ChartsVariable set(unset);
        EXPECT_EQ(defaultChartFolder(), fromUtf8(sourceCharts));
    }
    const std::vector<std::string> candidates = chartFolderCandidates();
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates[0], sourceCharts);
    // Beside the program (a static library) under share/plotara/charts, then the install prefix.
    EXPECT_NE(candidates[1].find("share/plotara/charts"), std::string::npos) << candidates[1];
    EXPECT_NE(candidates[2].find("share/plotara/charts"), std::string::npos) << candidates[2];
    EXPECT_TRUE(fs::path(candidates[2]).is_absolute()) << candidates[2];
}

} // namespace
} // namespace plotara
