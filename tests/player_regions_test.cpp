// The hit-region list: every clickable element with its texts and box, in drawing order, for
// scatter points kept compactly and pie wedges (columns are checked beside their clicks).
#include "player/ChartPlayer.h"
#include "player_samples.h"

#include <gtest/gtest.h>

namespace plotara {
namespace {

std::vector<HitInfo> regionsOf(ChartPlayer& p, int type, const std::string& xml) {
    p.put_Movie(fromUtf8(testing::movieUrl(type, xml, 400, 300)));
    return p.hitRegions();
}

std::vector<HitInfo> ofKind(const std::vector<HitInfo>& all, player::HitKind kind) {
    std::vector<HitInfo> out;
    for (const HitInfo& h : all)
        if (h.kind == kind) out.push_back(h);
    return out;
}

TEST(HitRegions, ScatterPointsAreListedWithTheirTexts) {
    ChartPlayer p;
    auto points =
        ofKind(regionsOf(p, 29,
                         "<chart><dataset seriesName='S'><set x='1' y='2'/><set x='2' y='4'/>"
                         "<set x='3' y='8' toolText='top'/></dataset></chart>"),
               player::HitKind::Point);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].series, L"S");
    EXPECT_EQ(points[1].value, L"4") << "the texts a hover would give are worked out";
    EXPECT_EQ(points[2].toolText, L"top");
    for (const HitInfo& pt : points) {
        EXPECT_GT(pt.box.w, 0);
        EXPECT_EQ(pt.box.w, pt.box.h);
        EXPECT_EQ(p.hoverAt(pt.box.x + pt.box.w / 2, pt.box.y + pt.box.h / 2).pointIndex,
                  pt.pointIndex);
    }
    EXPECT_LT(points[0].box.x, points[2].box.x);
    EXPECT_GT(points[0].box.y, points[2].box.y);
}

TEST(HitRegions, HalfPieWedgesAreHalfDiscBoxes) {
    ChartPlayer p;
    auto slices = ofKind(regionsOf(p, 4,
                                   "<chart showNames='0' showValues='0'><set value='1'/>"
                                   "<set value='1'/></chart>"),
                         player::HitKind::Slice);
    ASSERT_EQ(slices.size(), 2u);
    const player::Rect a = slices[0].box, b = slices[1].box;
    EXPECT_NEAR(a.h, b.h, 0.5);
    EXPECT_NEAR(a.w, b.w, 0.5);
    EXPECT_NEAR(a.h, 2 * a.w, 1.0) << "a half disc split top to bottom";
    EXPECT_NEAR(a.x, b.right(), 0.5) << "the second half lies left of the first";
}

} // namespace
} // namespace plotara
