// The events a host receives, in order and with their arguments, through a real control and
// player: loading, drill-down links, clicking an element found in the hit regions, resizing.
#include "apps/ChartSession.h"
#include "core/SafeArray.h"
#include "player/ChartPlayer.h"

#include <gtest/gtest.h>

namespace plotara::apps {
namespace {

class Events : public ::testing::Test {
protected:
    Events() { session.selectType("column2d"); }

    // The events raised since the last clear, by name.
    std::vector<String> names() {
        std::vector<String> out;
        for (const RaisedEvent& e : session.container().events())
            out.push_back(eventName(e.event));
        return out;
    }
    // Renders three linked columns and clicks the one at index i; the DrillDown arguments.
    std::vector<Variant> clickLinked(const std::vector<String>& links, std::size_t i) {
        for (const String& link : links)
            session.data().addChartData(L"5", L"link=" + link);
        session.control().RenderChart();
        session.container().clearRecords();
        ChartPlayer& player = *session.control().player();
        std::vector<HitInfo> columns;
        for (const HitInfo& h : player.hitRegions())
            if (h.kind == player::HitKind::Column) columns.push_back(h);
        EXPECT_EQ(columns.size(), links.size());
        const player::Rect& box = columns.at(i).box;
        player.clickAt(box.x + box.w / 2, box.y + box.h / 2);
        const auto& events = session.container().events();
        EXPECT_EQ(events.size(), 1u);
        if (events.empty()) return {};
        EXPECT_EQ(events[0].event, PlotaraEvent::DrillDown);
        return events[0].args;
    }

    ChartSession session{320, 240, findChartsDir("")};
};

std::vector<String> texts(const Variant& parameter) {
    std::vector<String> out;
    const SafeArray& a = parameter.array();
    for (Long i = a.lbound(); i <= a.ubound(); ++i)
        out.push_back(toText(a.at(i)));
    return out;
}

TEST_F(Events, RenderingRaisesLoadedThenRendered) {
    session.container().clearRecords();
    session.data().addChartData(L"1");
    session.control().RenderChart();
    EXPECT_EQ(names(), (std::vector<String>{L"ChartLoaded", L"ChartRendered"}));
    session.container().clearRecords();
    session.container().resize(300, 200);
    session.container().hide();
    EXPECT_EQ(names(), (std::vector<String>{L"Resize", L"Hide"}));
}

TEST_F(Events, HostLinksSplitTheirArgumentAtCommas) {
    auto args = clickLinked({L"host:pick:a,b", L"host:pick:Product A, 2008", L"host:refresh"}, 1);
    ASSERT_EQ(args.size(), 2u);
    EXPECT_EQ(toText(args[0]), L"pick");
    EXPECT_EQ(texts(args[1]), (std::vector<String>{L"Product A", L" 2008"}));
}

TEST_F(Events, LinkWithoutArgumentGivesEmpty) {
    auto args = clickLinked({L"host:pick:a", L"host:pick:b", L"host:refresh"}, 2);
    ASSERT_EQ(args.size(), 2u);
    EXPECT_EQ(toText(args[0]), L"refresh");
    EXPECT_EQ(args[1].type(), Variant::Type::Empty);
}

TEST_F(Events, WebLinksArriveWhole) {
    auto args = clickLinked({L"a.htm", L"b.htm", L"http://example.com/list?ids=4,7,9&x=1"}, 2);
    ASSERT_EQ(args.size(), 2u);
    EXPECT_EQ(toText(args[0]), L"PT_Link");
    const auto parts = texts(args[1]);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0], L"http://example.com/list?ids=4%2C7%2C9&x=1");
}

TEST_F(Events, ResizeLaysTheChartOutAgain) {
    session.data().addChartData(L"1");
    session.data().addChartData(L"2");
    session.control().RenderChart();
    ChartPlayer& player = *session.control().player();
    auto right = [&] {
        double r = 0;
        for (const HitInfo& h : player.hitRegions())
            r = std::max(r, h.box.right());
        return r;
    };
    const double before = right();
    session.container().resize(640, 240);
    EXPECT_EQ(player.chartWidth(), 640);
    EXPECT_EQ(player.scene().width, 640);
    EXPECT_GT(right(), before + 200) << "the columns spread over the new width";

    session.data().resetData();
    session.control().RenderChart(); // no data: the chart message, centred
    ASSERT_EQ(player.state(), PlayerState::Message);
    session.container().resize(200, 240);
    EXPECT_EQ(player.scene().width, 200);
    const auto texts = player.scene().texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_NEAR(texts.front()->x, 100, 1) << "the message stays centred";
}

} // namespace
} // namespace plotara::apps
