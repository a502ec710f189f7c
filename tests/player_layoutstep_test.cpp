// The layout step on its own: laying a chart out without drawing it gives the layout that
// drawing it records, and the drawing adds exactly the texts the layout lists, where the layout
// put them. A text added, moved or measured again while drawing fails here.
#include "player/detail/ChartMovie.h"
#include "player/detail/ChartRenderer.h"
#include "player/model/ChartParser.h"
#include "player_model_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace plotara {
namespace {

using namespace player;
using testing::describe;

ChartMovie movieOf(int type) {
    char file[16];
    std::snprintf(file, sizeof file, "PTM%02d.swf", type);
    std::optional<ChartMovie> movie = loadChartMovie(testing::chartsDir() + "/" + file);
    EXPECT_TRUE(movie.has_value()) << file;
    return movie.value_or(ChartMovie{});
}

// A document as the player parses it once the movie URL is decoded.
std::string decoded(std::string xml) {
    for (std::size_t at = xml.find("%25"); at != std::string::npos; at = xml.find("%25", at + 1))
        xml.replace(at, 3, "%");
    return xml;
}

struct Built {
    Scene scene;
    bool shown = false;
};

Built build(TextEngine& text, int type, const std::string& xml, bool drawing) {
    ParseResult parsed = parseChartXml(decoded(xml));
    EXPECT_TRUE(parsed.ok) << parsed.error;
    ChartMovie movie = movieOf(type);
    ViewState view;
    Attributes gridParams;
    Built out;
    out.shown =
        drawing
            ? renderChart(out.scene, text, parsed.model, movie, 480, 320, view, gridParams, nullptr)
            : layoutChart(out.scene, text, parsed.model, movie, 480, 320, view, gridParams);
    return out;
}

// The layout alone adds nothing to the scene, equals the layout recorded while drawing, and the
// drawn texts are the listed texts one for one: same role, owner, characters, box and angle.
void expectDrawingWalksTheLayout(int type, const std::string& xml, const std::string& what) {
    TextEngine text;
    Built alone = build(text, type, xml, false);
    Built drawn = build(text, type, xml, true);
    ASSERT_TRUE(alone.shown) << what;
    ASSERT_TRUE(drawn.shown) << what;
    EXPECT_TRUE(alone.scene.items.empty()) << what << ": the layout step drew";
    EXPECT_EQ(alone.scene.hits.size(), 0u) << what << ": the layout step added hit regions";
    EXPECT_EQ(alone.scene.pointHits.size(), 0u) << what << ": the layout step added points";
    EXPECT_EQ(layoutJson(alone.scene.layout), layoutJson(drawn.scene.layout)) << what;

    std::vector<const TextItem*> painted = drawn.scene.texts();
    const std::vector<LayoutText>& listed = drawn.scene.layout.texts;
    ASSERT_EQ(painted.size(), listed.size()) << what << ": texts drawn and texts laid out";
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const TextItem& p = *painted[i];
        const LayoutText& l = listed[i];
        SCOPED_TRACE(what + ": text " + std::to_string(i) + " '" + l.text + "'");
        EXPECT_EQ(p.text, l.text);
        EXPECT_EQ(textKindName(p.tag.kind), std::string(textKindName(l.tag.kind)));
        EXPECT_EQ(p.tag.series, l.tag.series);
        EXPECT_EQ(p.tag.index, l.tag.index);
        EXPECT_EQ(describe(p.box), describe(l.box));
        EXPECT_EQ(p.angle, l.angle);
    }
}

class LayoutStep : public ::testing::TestWithParam<int> {};

// The sample's layout alone is the one its drawing walks, and the player's own layout (parsed
// from the movie URL, drawn at the host's size) is the one the layout step gives; its SVG, roomy
// and cramped, draws the texts the layout dump lists as drawn.
TEST_P(LayoutStep, DrawingTheSampleOnlyWalksItsLayout) {
    int type = GetParam();
    expectDrawingWalksTheLayout(type, testing::sampleFor(type), "type " + std::to_string(type));
    TextEngine text;
    Built alone = build(text, type, testing::sampleFor(type), false);
    for (const auto& [width, height] : {std::pair{480, 320}, std::pair{200, 150}}) {
        auto player = testing::drawChart(type, testing::sampleFor(type), width, height);
        if (width == 480) {
            EXPECT_EQ(player->layoutJson(), layoutJson(alone.scene.layout)) << "type " << type;
        }
        testing::expectSvgTextsMatchLayout(player->svg(), player->scene().layout,
                                           "type " + std::to_string(type) + " at " +
                                               std::to_string(width));
    }
}

INSTANTIATE_TEST_SUITE_P(AllTypes, LayoutStep, ::testing::Range(1, 38));

const std::string richCartesian = testing::multiSeries(
    "caption='Quarterly revenue' subcaption='In USD' xAxisName='Quarter' yAxisName='Revenue' "
    "showValues='1'",
    {"Q1", "Q2", "Q3", "Q4", "Q5"},
    {{"North", {120, -40, 180, 90, 150}},
     {"South", {80, 95, 70, 130, 110}, "renderAs='Line' parentYAxis='S'"},
     {"West", {30, 50, 40, 20, 60}, "renderAs='Area'"}},
    "<trendlines><line startValue='140' color='FF0000' displayValue='Target'/><line "
    "startValue='20' endValue='50' isTrendZone='1' displayValue='Comfort zone'/><line "
    "startValue='100' valueOnRight='1' displayValue='Right mark'/></trendlines>");

const std::string rightLegend = testing::multiSeries(
    "caption='Legend at the right' legendPosition='right' showValues='1'",
    {"Alpha", "Beta", "Gamma"}, {{"First series", {3, 7, 5}}, {"Second series", {4, 2, 6}}},
    "<trendlines><line startValue='4.5' displayValue='Mean'/></trendlines>");

const char* const richScatter =
    "<chart caption='Scatter' subcaption='with trends' showValues='1' xAxisName='Load' "
    "yAxisName='Time' showLegend='1'><dataSet seriesName='A'><set x='1' y='2'/><set x='2' "
    "y='4'/><set x='3' y='3'/><set x='5' y='8'/></dataSet><dataSet seriesName='B'><set x='1.5' "
    "y='6'/><set x='4' y='1'/></dataSet><trendlines><line startValue='5' displayValue='Limit'/>"
    "<line startValue='3' valueOnRight='1' displayValue='Right'/></trendlines><vTrendlines>"
    "<line startValue='2' endValue='3' isTrendZone='1' displayValue='Window'/></vTrendlines>"
    "</chart>";

const char* const richBubble =
    "<chart caption='Bubbles' showValues='1' showLegend='1'><dataSet seriesName='A'><set x='10' "
    "y='20' z='5' name='Small'/><set x='30' y='40' z='50' name='Large'/><set x='50' y='10' "
    "z='20' name='Mid'/></dataSet><dataSet seriesName='B'><set x='20' y='30' z='15' "
    "name='Other'/></dataSet></chart>";

const char* const richPie =
    "<chart caption='Shares' subcaption='by product' showLegend='1' showPercentValues='1'><set "
    "label='Apples' value='40'/><set label='Pears' value='25'/><set label='Plums' value='20' "
    "isSliced='1'/><set label='Figs' value='15'/></chart>";

std::string manyRows() {
    std::string xml = "<chart caption='Many rows' subcaption='more than fit'>";
    for (int i = 0; i < 80; ++i)
        xml += "<set label='Row " + std::to_string(i) + "' value='" + std::to_string(i * 7 + 3) +
               "'/>";
    return xml + "</chart>";
}

// Documents with every text the layout step now places: captions, legends (below and at the
// right), trend labels of lines and zones, value labels of columns, lines, areas, bars, scatter
// points and bubbles, pie labels and the grid's "and N more" row. Each case names the roles it
// must show, so that a case that lost its texts cannot pass unseen.
TEST(LayoutStep, EveryKindOfTextIsLaidOutBeforeDrawing) {
    struct Case {
        int type;
        std::string xml;
        std::set<std::string> roles;
    } cases[] = {
        {21, richCartesian, {"caption", "subcaption", "legend", "trend", "value-label"}},
        {23, richCartesian, {"caption", "legend", "trend", "value-label", "axis-name"}},
        {22, richCartesian, {"caption", "legend", "trend", "value-label"}},
        {9, richCartesian, {"caption", "legend", "trend", "value-label", "category-label"}},
        {14, richCartesian, {"legend", "trend", "value-label"}},
        {35, richCartesian, {"legend", "trend", "value-label"}},
        {36, richCartesian, {"legend", "trend", "value-label"}},
        {12, rightLegend, {"caption", "legend", "trend", "value-label"}},
        {15, rightLegend, {"legend", "trend", "value-label"}},
        {29, richScatter, {"caption", "subcaption", "legend", "trend", "value-label", "axis-name"}},
        {30, richBubble, {"caption", "legend", "value-label"}},
        {4, richPie, {"caption", "subcaption", "legend", "pie-label"}},
        {5, richPie, {"legend", "pie-label"}},
        {37, manyRows(), {"caption", "subcaption", "category-label", "value-label", "other"}},
    };
    for (const Case& c : cases) {
        std::string what = "type " + std::to_string(c.type) + " " + c.xml.substr(0, 40);
        expectDrawingWalksTheLayout(c.type, c.xml, what);
        TextEngine text;
        Built alone = build(text, c.type, c.xml, false);
        std::set<std::string> roles;
        for (const LayoutText& t : alone.scene.layout.texts)
            roles.insert(textKindName(t.tag.kind));
        for (const std::string& role : c.roles)
            EXPECT_EQ(roles.count(role), 1u) << what << ": no " << role;
    }
}

// Value labels placed on their own, on an empty 400 x 300 chart.
struct LabelRig {
    TextEngine text;
    Scene scene;
    ChartModel model;
    ChartContext ctx{scene, text, model, ChartStyle(model), 400, 300};
    ValueLabels labels{ctx, {0, 0, 400, 300}};
};

// The placement of value labels, on its own: labels of higher priority win a collision
// whatever the order they were offered in, the kept ones come back in the order offered, a
// column covers every label but its own, a label out of bounds or beside a row without its
// name is hidden, and every hidden label is counted in a note.
TEST(LayoutStep, ValueLabelsKeepTheHighestPriorityAndNoteTheRest) {
    struct Offer {
        int index;
        double x, y, priority;
    };
    struct Case {
        const char* what;
        std::vector<Offer> offers;
        std::vector<int> kept; // indexes, in the order returned
        std::size_t hidden;    // counted in the "no room" note
        bool obstacleAtOne;    // a column of point 1 covers (80, 80) to (120, 120)
        std::vector<bool> onlyFor;
        std::size_t unnamed; // counted in the "rows' names thinned" note
    } cases[] = {
        {"apart", {{0, 50, 50, 1}, {1, 150, 50, 2}}, {0, 1}, 0, false, {}, 0},
        {"collide, later wins", {{0, 50, 50, 1}, {1, 52, 50, 5}}, {1}, 1, false, {}, 0},
        {"collide, earlier wins", {{0, 50, 50, 5}, {1, 52, 50, 1}}, {0}, 1, false, {}, 0},
        {"equal priority: first offered", {{0, 50, 50, 3}, {1, 52, 50, 3}}, {0}, 1, false, {}, 0},
        {"out of bounds", {{0, 50, 50, 1}, {1, 390, 50, 9}}, {0}, 1, false, {}, 0},
        {"over another's column", {{0, 100, 100, 9}, {1, 300, 100, 1}}, {1}, 1, true, {}, 0},
        {"over its own column", {{1, 100, 100, 1}}, {1}, 0, true, {}, 0},
        {"row without its name",
         {{0, 50, 50, 1}, {1, 150, 50, 1}},
         {1},
         0,
         false,
         {false, true},
         1},
    };
    for (const Case& c : cases) {
        LabelRig rig;
        Scene& scene = rig.scene;
        ValueLabels& labels = rig.labels;
        if (c.obstacleAtOne) labels.obstacle({80, 80, 40, 40}, {TextKind::ValueLabel, 0, 1});
        if (!c.onlyFor.empty()) labels.onlyFor(c.onlyFor);
        for (const Offer& o : c.offers)
            labels.place({TextKind::ValueLabel, 0, o.index}, "12,345", o.x, o.y, HAlign::Center,
                         VAlign::Middle, 0, nullptr, o.priority);
        std::vector<TextItem> kept = labels.settle();
        std::vector<int> indexes;
        for (const TextItem& t : kept) {
            indexes.push_back(t.tag.index);
            EXPECT_EQ(t.tag.kind, TextKind::ValueLabel) << c.what;
            EXPECT_GT(t.box.w, 0) << c.what << ": not measured";
        }
        EXPECT_EQ(indexes, c.kept) << c.what;
        EXPECT_TRUE(scene.items.empty()) << c.what << ": placing drew";
        std::size_t notes = (c.hidden > 0) + (c.unnamed > 0);
        ASSERT_EQ(scene.layout.notes.size(), notes) << c.what;
        if (c.hidden > 0) {
            EXPECT_EQ(scene.layout.notes.front(),
                      std::to_string(c.hidden) +
                          " value labels hidden: no room beside their points")
                << c.what;
        }
        if (c.unnamed > 0) {
            EXPECT_EQ(scene.layout.notes.back().substr(0, 2), std::to_string(c.unnamed) + " ")
                << c.what;
        }
    }
}

// The chart adds the columns as obstacles only after every label is offered, and only when one
// was: obstacles must count whenever they arrive before the labels are settled, and an offer
// that could not be placed at all must not count as waiting.
TEST(LayoutStep, ObstaclesAddedAfterTheOffersStillHideLabels) {
    struct Case {
        const char* what;
        int index;    // the offered label's point
        double x;     // its centre; (100, 100) lies on point 1's column
        bool offered; // anyOffered() after the offer
        bool kept;    // the label survives settle()
    } cases[] = {
        {"over another point's column", 0, 100, true, false},
        {"over its own column", 1, 100, true, true},
        {"beside the column", 0, 250, true, true},
        {"outside the bounds: nothing waits", 0, 395, false, false},
    };
    for (const Case& c : cases) {
        LabelRig rig;
        ValueLabels& labels = rig.labels;
        EXPECT_FALSE(labels.anyOffered()) << c.what;
        labels.place({TextKind::ValueLabel, 0, c.index}, "12,345", c.x, 100, HAlign::Center,
                     VAlign::Middle);
        EXPECT_EQ(labels.anyOffered(), c.offered) << c.what;
        labels.reserveObstacles(1);
        labels.obstacle({80, 80, 40, 40}, {TextKind::ValueLabel, 0, 1});
        const std::vector<TextItem> kept = labels.settle();
        EXPECT_EQ(kept.size(), c.kept ? 1u : 0u) << c.what;
        EXPECT_FALSE(labels.anyOffered()) << c.what << ": settle clears the offers";
    }
}

} // namespace
} // namespace plotara
