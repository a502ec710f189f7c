// What a host can find out about silent failures: the diagnostics of the control, its data
// object and its player, a missing chart folder, and the typed way to the player.
#include "apps/ChartSession.h"
#include "core/ErrorTrap.h"
#include "platform/headless/HeadlessMovieHost.h"
#include "player/ChartPlayer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace plotara::apps {
namespace {

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
}

TEST_F(Diagnostics, SavingBeforeAnyLoadNamesNoFile) {
    ChartPlayer fresh;
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

} // namespace
} // namespace plotara::apps
