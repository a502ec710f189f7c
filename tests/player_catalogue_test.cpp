// The chart-type table against the chart-movie files shipped with the player: the builder and the
// control read the table, the player reads the files, so the two must tell the same story.
#include "core/ChartTypes.h"
#include "core/Text.h"
#include "player/detail/ChartMovie.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace plotara {
namespace {

namespace ct = chart_types;

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

TEST(ChartTypes, PredicatesNameTheSpecialTypes) {
    struct Case {
        Long number;
        bool xy, bubble, grid, multiStacked;
        ct::SeriesKind kind;
    };
    const Case cases[] = {
        {1, false, false, false, false, ct::SeriesKind::Single},
        {9, false, false, false, false, ct::SeriesKind::Single},
        {10, false, false, false, false, ct::SeriesKind::Multi},
        {20, false, false, false, false, ct::SeriesKind::Multi},
        {26, false, false, false, true, ct::SeriesKind::MultiStacked},
        {27, false, false, false, true, ct::SeriesKind::MultiStacked},
        {28, false, false, false, false, ct::SeriesKind::Multi},
        {29, true, false, false, false, ct::SeriesKind::XY},
        {30, true, true, false, false, ct::SeriesKind::XY},
        {36, false, false, false, false, ct::SeriesKind::Multi},
        {37, false, false, true, false, ct::SeriesKind::Single},
        {0, false, false, false, false, ct::SeriesKind::None},
        {38, false, false, false, false, ct::SeriesKind::None},
        {-30, false, false, false, false, ct::SeriesKind::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ct::isXY(c.number), c.xy) << c.number;
        EXPECT_EQ(ct::isBubble(c.number), c.bubble) << c.number;
        EXPECT_EQ(ct::isGrid(c.number), c.grid) << c.number;
        EXPECT_EQ(ct::isMultiStacked(c.number), c.multiStacked) << c.number;
        EXPECT_EQ(ct::seriesKind(c.number), c.kind) << c.number;
    }
    EXPECT_EQ(ct::find(0), nullptr);
    EXPECT_EQ(ct::find(38), nullptr);
}

} // namespace
} // namespace plotara
