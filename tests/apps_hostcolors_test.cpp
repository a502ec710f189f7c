// A host colouring the sets of a single line or area through the data object, as a form
// program does, sees those colours in the drawn chart: set by set with `color=`, and from its
// own colour list (addColors).
#include "apps/ChartSession.h"
#include "player/ChartPlayer.h"

#include "player_pixels.h"

#include <gtest/gtest.h>

#include <cmath>

namespace plotara::apps {
namespace {

// The colour a quarter of the way from each point to the next and from the last point back:
// on the line, or for an area halfway down to the plot's bottom.
std::string colorsNearThePoints(ChartPlayer& player, bool area) {
    std::vector<player::Point> points;
    for (const HitInfo& hit : player.hitRegions()) {
        if (hit.kind == player::HitKind::Anchor || hit.kind == player::HitKind::Point)
            points.push_back({hit.box.x + hit.box.w / 2, hit.box.y + hit.box.h / 2});
    }
    const auto& plot = player.scene().layout.plot;
    if (points.size() < 2 || !plot) return "no points";
    const player::ArgbImage image = player.surface(1);
    std::string seen;
    for (std::size_t k = 0; k < points.size(); ++k) {
        const player::Point& a = points[k];
        const player::Point& b = k + 1 < points.size() ? points[k + 1] : points[k - 1];
        double y = a.y + (b.y - a.y) / 4;
        if (area) y = (y + plot->bottom()) / 2;
        seen += testing::dominantChannel(
            image.pixel(static_cast<int>(std::lround(a.x + (b.x - a.x) / 4)),
                        static_cast<int>(std::lround(y))));
    }
    return seen;
}

TEST(HostColors, SetColoursFromTheDataObjectReachSingleLinesAndAreas) {
    for (const char* type : {"line2d", "area2d"}) {
        SCOPED_TRACE(type);
        ChartSession session{480, 320, findChartsDir("")};
        session.selectType(type);
        PlotaraData& data = session.data();
        data.setChartParams(L"showValues=0;drawAnchors=0;showPlotBorder=0;lineThickness=5;"
                            L"paletteColors=00A000;bgColor=FFFFFF;canvasBgColor=FFFFFF");
        data.addChartData(L"30", L"label=A;color=FF0000");
        data.addChartData(L"60", L"label=B");
        data.addChartData(L"40", L"label=C;color=0000FF");
        session.control().RenderChart();
        const bool area = std::string(type) == "area2d";
        EXPECT_EQ(colorsNearThePoints(*session.control().player(), area), "rgb");

        // The host's own colour list gives each set the next colour of the list in turn.
        data.setChartParams(L"showValues=0;drawAnchors=0;showPlotBorder=0;lineThickness=5;"
                            L"bgColor=FFFFFF;canvasBgColor=FFFFFF");
        data.addColors(L"0000FF;FF0000");
        for (const wchar_t* value : {L"30", L"60", L"40", L"50"})
            data.addChartData(value);
        session.control().RenderChart();
        EXPECT_EQ(colorsNearThePoints(*session.control().player(), area), "brbr");
    }
}

} // namespace
} // namespace plotara::apps
