// Chart messages from end to end: a text set on the control with SetChartMessage is the text the
// player shows, for each of the seven messages, at the moment of loading it belongs to.
#include "apps/ChartSession.h"
#include "apps_test_support.h"
#include "player/ChartPlayer.h"

#include <gtest/gtest.h>

#include <functional>

namespace plotara::apps {
namespace {

// Each case in a fresh session, with a data file in the test's folder.
class ChartMessages : public test::AppsTest {};

// The texts set on the control, in the order of enumChartMessageType (1 to 7): different from
// the player's own texts and from each other, so that a text arriving under another name shows.
const std::vector<String> texts = {L"Chart on its way", L"Fetching the file", L"Reading — über",
                                   L"Nothing here",     L"Drawing now",       L"The file is gone",
                                   L"Not a chart"};

// One way of loading: what it does, the messages the player shows in order (numbers of the
// texts above), and whether the last one stays on screen in place of a chart.
struct LoadCase {
    const char* name;
    std::function<void(Plotara&, const String& dataFile)> load;
    std::vector<int> shown;
    bool endsInMessage;
};

TEST_F(ChartMessages, TextsSetOnTheControlAreTheOnesThePlayerShows) {
    const std::vector<LoadCase> cases = {
        {"inline data",
         [](Plotara& c, const String&) {
             c.get_Data()->addChartData(L"5");
             c.RenderChart();
         },
         {1, 3, 5},
         false},
        {"data file",
         [](Plotara& c, const String& file) { c.put_setDataURL(file); },
         {1, 2, 3, 5},
         false},
        {"no data", [](Plotara& c, const String&) { c.RenderChart(); }, {1, 3, 4}, true},
        // A web address passes the control's check, and the player reads no web address.
        {"data not loaded",
         [](Plotara& c, const String&) { c.put_setDataURL(L"http://example.com/data.xml"); },
         {1, 2, 6},
         true},
        {"not a chart",
         [](Plotara& c, const String&) { c.put_setDataXML(L"<chart><set>"); },
         {1, 3, 7},
         true},
    };
    const std::filesystem::path dataFile = path("data.xml");
    test::writeFile(dataFile, "<chart><set value='4'/></chart>");

    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        ChartSession session{320, 240, findChartsDir("")};
        session.selectType("column2d");
        for (std::size_t i = 0; i < texts.size(); ++i)
            session.control().SetChartMessage(static_cast<enumChartMessageType>(i + 1), texts[i]);
        c.load(session.control(), fromUtf8(dataFile.string()));

        std::vector<String> expected;
        for (const int number : c.shown)
            expected.push_back(texts[static_cast<std::size_t>(number - 1)]);
        EXPECT_EQ(session.player().messageLog(), expected);
        EXPECT_EQ(session.player().state(),
                  c.endsInMessage ? PlayerState::Message : PlayerState::Chart);
        EXPECT_EQ(session.player().messageText(), c.endsInMessage ? expected.back() : L"");
    }
}

TEST_F(ChartMessages, BlankTextLeavesThePlayersOwn) {
    ChartSession session{320, 240, findChartsDir("")};
    session.selectType("column2d");
    session.control().SetChartMessage(enumChartMessageType::No_data_to_display, L"   ");
    session.control().RenderChart();
    EXPECT_EQ(session.player().messageText(), L"No data to display.");
}

} // namespace
} // namespace plotara::apps
