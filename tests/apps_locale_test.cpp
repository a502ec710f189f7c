// Numbers through the whole pipeline (data object, database import, control, player) under the C
// locale and two comma-decimal locales: values are read as written and shown with the locale's
// separators. CI generates the locales with localedef; a missing one fails the test.
#include "apps/ChartSession.h"
#include "core/Number.h"
#include "platform/sqlite/SqliteDatabase.h"
#include "platform/sqlite/SqliteRecordset.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace plotara::apps {
namespace {

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
