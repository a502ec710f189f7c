// What a host sees of a real control and player: the events it receives, in order and with their
// arguments (loading, drill-down links, clicking an element found in the hit regions, resizing),
// the chart messages it set, each at the moment of loading it belongs to, and the colours it gave
// the sets of a single line or area (set by set with `color=`, and from its own colour list); and
// controls on different threads draw what one control draws alone. Also what a host can find out
// about silent failures: the diagnostics of the control, its data object and its player, a
// missing chart folder, and the typed way to the player; and numbers through the whole pipeline
// under the C locale and two comma-decimal locales (CI generates them with localedef).
#include "apps/ChartSession.h"
#include "apps_test_support.h"
#include "core/ErrorTrap.h"
#include "core/Number.h"
#include "core/SafeArray.h"
#include "platform/headless/HeadlessMovieHost.h"
#include "platform/sqlite/SqliteDatabase.h"
#include "platform/sqlite/SqliteRecordset.h"
#include "player/ChartPlayer.h"
#include "player_pixels.h"

#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

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

// Each case in a fresh session, with a data file in the test's folder.
class ChartMessages : public test::AppsTest {};

// The texts set on the control, in the order of enumChartMessageType (1 to 7): different from
// the player's own texts and from each other, so that a text arriving under another name shows.
const std::vector<String> messages = {
    L"Chart on its way", L"Fetching the file", L"Reading — über", L"Nothing here",
    L"Drawing now",      L"The file is gone",  L"Not a chart"};

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
        for (std::size_t i = 0; i < messages.size(); ++i)
            session.control().SetChartMessage(static_cast<enumChartMessageType>(i + 1),
                                              messages[i]);
        c.load(session.control(), fromUtf8(dataFile.string()));

        std::vector<String> expected;
        for (const int number : c.shown)
            expected.push_back(messages[static_cast<std::size_t>(number - 1)]);
        EXPECT_EQ(session.player().messageLog(), expected);
        EXPECT_EQ(session.player().state(),
                  c.endsInMessage ? PlayerState::Message : PlayerState::Chart);
        EXPECT_EQ(session.player().messageText(), c.endsInMessage ? expected.back() : L"");
    }
}

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

std::string render(const std::string& chartsDir, const char* type) {
    ChartSession session(360, 240, chartsDir);
    session.selectType(type);
    PlotaraData& data = session.data();
    data.setChartParams(L"caption=Threads;decimals=1;formatNumberScale=1");
    for (int i = 0; i < 12; ++i) {
        data.addCategory(L"C" + std::to_wstring(i));
        data.addChartData(std::to_wstring(1000 + 250 * i * (i % 3)));
    }
    session.control().RenderChart();
    return session.player().png();
}

TEST(Threads, EightControlsInEightThreadsDrawTheSamePictures) {
    const std::string dir = findChartsDir("");
    const char* types[] = {"column2d", "pie3d", "line2d", "area2d"};
    std::vector<std::string> alone;
    for (const char* t : types)
        alone.push_back(render(dir, t));

    std::vector<std::string> drawn(8);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < drawn.size(); ++i)
        threads.emplace_back([&, i] {
            for (int round = 0; round < 3; ++round)
                drawn[i] = render(dir, types[i % 4]);
        });
    for (std::thread& t : threads)
        t.join();
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        ASSERT_FALSE(drawn[i].empty());
        EXPECT_TRUE(drawn[i] == alone[i % 4]) << "thread " << i;
    }
}

class Diagnostics : public ::testing::Test {
protected:
    void SetUp() override {
        session.control().setDiagnostics([this](const Diagnostic& d) { heard.push_back(d); });
    }
    // The texts heard from one member.
    std::vector<std::string> from(const String& member) const {
        std::vector<std::string> out;
        for (const Diagnostic& d : heard)
            if (d.member == member) out.push_back(toUtf8(d.text));
        return out;
    }
    bool loaded() {
        for (const RaisedEvent& e : session.container().events())
            if (e.event == PlotaraEvent::ChartLoaded) return true;
        return false;
    }

    ChartSession session{320, 240, findChartsDir("")};
    std::vector<Diagnostic> heard;
};

TEST_F(Diagnostics, ChartTypeOutsideTheCatalogueBecomesOne) {
    session.control().put_ChartType(static_cast<enumChartNames>(99));
    EXPECT_EQ(session.control().get_ChartType(), enumChartNames::column3D);
    ASSERT_EQ(from(L"ChartType").size(), 1u);
    EXPECT_NE(from(L"ChartType")[0].find("Chart type 99"), std::string::npos);
    session.control().SetChartType(L"no such chart");
    EXPECT_EQ(from(L"SetChartType").size(), 1u);
}

TEST_F(Diagnostics, DataObjectReportsThroughTheControl) {
    session.control().put_ChartType(enumChartNames::column2d);
    session.data().addChartData(L"12abc");
    auto replacement = std::make_shared<PlotaraData>();
    session.control().putref_Data(replacement);
    replacement->setChartParams(L"caption");
    EXPECT_EQ(from(L"addChartData").size(), 1u);
    EXPECT_EQ(from(L"setChartParams").size(), 1u) << "a data object assigned later reports too";
}

TEST_F(Diagnostics, SkippedStepsAndMissingDataFiles) {
    session.control().putref_Data(nullptr);
    session.control().RenderChart(); // every step that needs the data object is skipped
    const auto steps = from(L"RenderChart");
    ASSERT_FALSE(steps.empty());
    EXPECT_NE(steps[0].find("error 91"), std::string::npos) << steps[0];

    session.control().putref_Data(std::make_shared<PlotaraData>());
    session.control().put_setDataURL(L"/nonexistent/data.xml");
    ASSERT_EQ(from(L"setDataURL").size(), 1u);
    EXPECT_NE(from(L"setDataURL")[0].find("/nonexistent/data.xml"), std::string::npos);
}

TEST_F(Diagnostics, MissingChartFolderIsVisibleEverywhere) {
    const std::string folder = "/nonexistent/plotara-charts";
    session.control().put_ChartPath(fromUtf8(folder));
    session.container().clearRecords();
    session.data().addChartData(L"1");
    session.control().RenderChart();

    ChartPlayer* player = session.control().player();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->state(), PlayerState::Empty);
    EXPECT_NE(toUtf8(player->loadError()).find(folder), std::string::npos);
    EXPECT_FALSE(loaded()) << "ChartLoaded never comes";
    ASSERT_EQ(from(L"Movie").size(), 1u);
    EXPECT_NE(from(L"Movie")[0].find(folder), std::string::npos);

    const auto out = std::filesystem::temp_directory_path() / "plotara_diag_never.png";
    for (auto save : {+[](const ChartPlayer&p, const std::filesystem::path&f) { p.savePng(f); },
                      +[](const ChartPlayer&p, const std::filesystem::path&f) { p.saveSvg(f); },
                      +[](const ChartPlayer&p, const std::filesystem::path&f) { p.savePdf(f); }}) {
        const auto error = ErrorTrap::capture([&] { save(*player, out); });
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->number(), errors::component(1003, L"").number());
        EXPECT_NE(toUtf8(error->description()).find(folder), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(out)) << "no blank picture is written";
    ChartPlayer fresh; // saving before any load names no file

    EXPECT_EQ(fresh.loadError(), L"No chart movie has been loaded");
    const auto error = ErrorTrap::capture([&] { fresh.savePng("unused.png"); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), errors::component(1003, L"").number());
}

TEST_F(Diagnostics, ChartMessagesAreStillPictures) {
    session.control().put_ChartType(enumChartNames::column2d);
    session.control().RenderChart(); // no data: the "No data to display." message
    ChartPlayer* player = session.control().player();
    EXPECT_EQ(player->state(), PlayerState::Message);
    EXPECT_EQ(player->loadError(), L"");
    const auto out = std::filesystem::temp_directory_path() /
                     ("plotara_diag_" + std::to_string(::getpid()) + ".svg");
    EXPECT_TRUE(player->saveSvg(out));
    std::filesystem::remove(out);
}

TEST_F(Diagnostics, DocumentThatIsAnErrorTextIsReportedTwice) {
    session.selectType("26"); // multi-series stacked column, without createMSStDataset
    session.data().addCategory(L"a");
    session.data().addDataset(L"s");
    session.data().addChartData(L"1");
    session.control().RenderChart();
    EXPECT_EQ(session.player().state(), PlayerState::Message);
    ASSERT_EQ(from(L"getXML").size(), 1u);
    ASSERT_EQ(from(L"Movie").size(), 1u);
    EXPECT_NE(from(L"Movie")[0].find("Subscript out of range"), std::string::npos);
}

TEST_F(Diagnostics, QuietHostSeesTheSameChart) {
    ChartSession quiet{320, 240, findChartsDir("")};
    for (ChartSession* s : {&session, &quiet}) {
        s->selectType("column2d");
        s->data().addChartData(L"12abc");
        s->data().addChartData(L"3");
        s->control().RenderChart();
    }
    EXPECT_EQ(session.player().png(), quiet.player().png());
    EXPECT_FALSE(heard.empty());
}

TEST(PlayerOfControl, NullForAnotherMovieHost) {
    HeadlessContainer form;
    Plotara chart(form, std::make_unique<HeadlessMovieHost>());
    EXPECT_EQ(chart.player(), nullptr);
    EXPECT_NE(chart.player<HeadlessMovieHost>(), nullptr);
}

struct LocaleCase {
    const char* name;
    std::string decimal;   // "1.5" as shown
    std::string thousands; // "1,234,567" as shown
    std::string group;     // the thousands separator
};

void PrintTo(const LocaleCase& c, std::ostream* os) {
    *os << c.name;
}

const LocaleCase locales[] = {
    {"C", "1.50", "1,234,567", ","},
    {"de_DE.UTF-8", "1,50", "1.234.567", "."},
    {"fr_FR.UTF-8", "1,50", "1\u202f234\u202f567", "\u202f"},
};

class LocalePipeline : public ::testing::TestWithParam<LocaleCase> {
protected:
    void SetUp() override {
        ASSERT_NE(std::setlocale(LC_ALL, GetParam().name), nullptr)
            << GetParam().name << " is missing: localedef -i de_DE -f UTF-8 de_DE.UTF-8";
        session = std::make_unique<ChartSession>(400, 300, findChartsDir(""));
        session->selectType("column2d");
        session->data().setChartParams(L"decimals=2;forceDecimals=1");
    }
    void TearDown() override {
        session.reset();
        std::setlocale(LC_ALL, "C");
    }

    // The columns drawn: their value texts and heights, in order.
    std::vector<std::pair<std::string, double>> columns() const {
        std::vector<std::pair<std::string, double>> out;
        for (const HitInfo& h : session->player().hitRegions())
            if (h.kind == player::HitKind::Column) out.emplace_back(toUtf8(h.value), h.box.h);
        return out;
    }

    // The three columns of 1.5, 2.25 and 3: their texts, and heights in that proportion.
    void expectOneAndAHalfSeries() const {
        auto c = columns();
        ASSERT_EQ(c.size(), 3u);
        EXPECT_EQ(c[0].first, GetParam().decimal);
        EXPECT_EQ(c[2].first, "3" + GetParam().decimal.substr(1, 1) + "00");
        EXPECT_NEAR(c[1].second / c[0].second, 1.5, 0.02);
        EXPECT_NEAR(c[2].second / c[0].second, 2.0, 0.02);
        // The axis runs 0 to 3 in whole steps, its ticks written with the forced decimals.
        const std::string point = GetParam().decimal.substr(1, 1);
        std::vector<std::string> ticks;
        for (const auto* t : session->player().scene().texts())
            if (t->text == "1" + point + "00" || t->text == "2" + point + "00")
                ticks.push_back(t->text);
        EXPECT_EQ(ticks, (std::vector<std::string>{"1" + point + "00", "2" + point + "00"}));
    }

    std::unique_ptr<ChartSession> session;
};

TEST_P(LocalePipeline, ValuesFromTheRunTimeConversionKeepTheirFraction) {
    PlotaraData& data = session->data();
    for (double v : {1.5, 2.25, 3.0})
        data.addChartData(number::formatDouble(v)); // "1,5" under a comma locale
    session->control().RenderChart();
    ASSERT_EQ(session->player().state(), PlayerState::Chart);
    expectOneAndAHalfSeries();
}

TEST_P(LocalePipeline, ThreeDecimalsAreNotReadAsThousands) {
    // "1,234" is 1.234 where the comma is the decimal separator, and 1234 where it groups.
    for (double v : {1.234, 2.468})
        session->data().addChartData(number::formatDouble(v));
    session->control().RenderChart();
    auto c = columns();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].first, "1" + GetParam().decimal.substr(1, 1) + "23");
    EXPECT_NEAR(c[1].second / c[0].second, 2.0, 0.02);
}

TEST_P(LocalePipeline, ValuesWrittenWithAPointInCodeKeepTheirFraction) {
    for (const wchar_t* v : {L"1.5", L"2.25", L"3"})
        session->data().addChartData(v);
    session->control().RenderChart();
    expectOneAndAHalfSeries();
}

TEST_P(LocalePipeline, DatabaseRealColumnKeepsItsFraction) {
    auto db = SqliteDatabase::open(L":memory:", SqliteDatabase::Mode::Create);
    db->execute(L"CREATE TABLE t(name TEXT, v REAL);"
                L"INSERT INTO t VALUES('a', 1.5), ('b', 2.25), ('c', 3)");
    auto rows = db->query(L"SELECT name, v FROM t ORDER BY name");
    session->data().addDataFromDatabase(*rows, L"v", L"name");
    session->control().RenderChart();
    expectOneAndAHalfSeries();
}

TEST_P(LocalePipeline, LabelsAndTicksUseTheLocaleSeparators) {
    session->data().setChartParams(L"decimals=0;forceDecimals=0");
    session->data().addChartData(L"1234567");
    session->data().addChartData(L"2000000");
    session->control().RenderChart();
    auto c = columns();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].first, GetParam().thousands);
    // A tick of 500,000 steps somewhere on the axis, grouped the same way.
    const std::string& group = GetParam().group;
    bool tick = false;
    for (const auto* t : session->player().scene().texts())
        tick = tick || t->text == "1" + group + "500" + group + "000";
    EXPECT_TRUE(tick);
}

TEST_P(LocalePipeline, DataFilesAreReadInTheirOwnForm) {
    const auto dir = std::filesystem::temp_directory_path();
    const auto plain = dir / ("plotara_locale_" + std::to_string(::getpid()) + "_plain.xml");
    const auto comma = dir / ("plotara_locale_" + std::to_string(::getpid()) + "_comma.xml");
    std::ofstream(plain) << "<chart decimals='2' forceDecimals='1'><set value='1.5'/>"
                            "<set value='2.25'/><set value='3'/></chart>";
    std::ofstream(comma) << "<chart decimals='2' forceDecimals='1' inDecimalSeparator=','"
                            " inThousandSeparator='.'><set value='1,5'/><set value='2,25'/>"
                            "<set value='3'/></chart>";
    for (const auto& file : {plain, comma}) {
        session->control().put_setDataURL(fromUtf8(file.string()));
        SCOPED_TRACE(file.string());
        expectOneAndAHalfSeries();
    }
    std::filesystem::remove(plain);
    std::filesystem::remove(comma);
}

INSTANTIATE_TEST_SUITE_P(Locales, LocalePipeline, ::testing::ValuesIn(locales),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             return n == "C" ? n : n.substr(0, 5);
                         });

} // namespace
} // namespace plotara::apps
