// The data object's diagnostics: what it drops or cannot use reaches a listening host, and the
// documents stay exactly what they were without a listener.
#include "data_test_support.h"
#include "database_test_support.h"

#include <gtest/gtest.h>

namespace plotara::test {
namespace {

struct Heard {
    std::vector<Diagnostic> records;
    DiagnosticsHandler handler() {
        return [this](const Diagnostic& d) { records.push_back(d); };
    }
    // The records of one member, as "severity:text".
    std::vector<String> of(const String& member) const {
        std::vector<String> out;
        for (const Diagnostic& d : records)
            if (d.member == member) out.push_back(std::to_wstring(int(d.severity)) + L":" + d.text);
        return out;
    }
};

bool mentions(const std::vector<String>& texts, const String& part) {
    for (const String& t : texts)
        if (t.find(part) != String::npos) return true;
    return false;
}

TEST(DataDiagnostics, DroppedParameterPiecesAreNamed) {
    struct Case {
        const wchar_t* member;
        void (*call)(PlotaraData&);
        std::vector<const wchar_t*> dropped;
    } cases[] = {
        {L"setChartParams",
         [](PlotaraData& d) { d.setChartParams(L"caption=A;bogus;;=x; "); },
         {L"'bogus'", L"'=x'"}},
        {L"addChartData",
         [](PlotaraData& d) { d.addChartData(L"1", L"color=F00;alpha 50"); },
         {L"'alpha 50'"}},
        {L"addDataset",
         [](PlotaraData& d) { d.addDataset(L"s", L"seriesName"); },
         {L"'seriesName'"}},
        {L"addTrendLine", [](PlotaraData& d) { d.addTrendLine(L"startValue=3;color=F00"); }, {}},
        {L"defineStyle",
         [](PlotaraData& d) { d.defineStyle(L"f", L"font", L"size=12;bold"); },
         {L"'bold'"}},
    };
    for (const Case& c : cases) {
        auto data = chart(2);
        Heard heard;
        data->setDiagnostics(heard.handler());
        c.call(*data);
        const auto texts = heard.of(c.member);
        EXPECT_EQ(texts.size(), c.dropped.size()) << c.member;
        for (const wchar_t* piece : c.dropped)
            EXPECT_TRUE(mentions(texts, piece)) << c.member << " " << toUtf8(piece);
    }
}

TEST(DataDiagnostics, ValuesThatAreNotNumbers) {
    auto data = chart(1);
    Heard heard;
    data->setDiagnostics(heard.handler());
    for (const wchar_t* v : {L"12abc", L"", L"  ", L"1.5", L"1,5", L"-3E2", L"&H10", L"x"})
        data->addChartData(v);
    const auto texts = heard.of(L"addChartData");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(mentions({texts[0]}, L"'12abc' is not a number"));
    EXPECT_TRUE(mentions({texts[1]}, L"'x'"));
}

TEST(DataDiagnostics, ImportStoppedAtAMissingColumn) {
    auto data = chart(1);
    Heard heard;
    data->setDiagnostics(heard.handler());
    TableRecordset rs({L"v"}, {{Long{10}}, {Long{20}}});
    data->addDataFromDatabase(rs, L"v", L"name");
    const auto texts = heard.of(L"addDataFromDatabase");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(mentions(texts, L"name")) << toUtf8(texts[0]);
    EXPECT_TRUE(mentions(texts, L"stopped"));
    EXPECT_EQ(heard.records.front().severity, Severity::Error);
}

TEST(DataDiagnostics, DocumentThatIsAnErrorText) {
    auto data = chart(26); // a multi-series stacked chart
    Heard heard;
    data->setDiagnostics(heard.handler());
    data->addCategory(L"a");
    data->addDataset(L"s");
    data->addChartData(L"1");
    const String document = data->getXML();
    EXPECT_EQ(document, L"Subscript out of range");
    const auto texts = heard.of(L"getXML");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(mentions(texts, L"'Subscript out of range' instead of a chart"));
}

TEST(DataDiagnostics, ListeningChangesNoDocument) {
    auto build = [](PlotaraData& d) {
        d.setChartParams(L"caption=A;bogus");
        d.addCategory(L"a", L"x");
        d.addChartData(L"12abc", L"color");
        d.addChartData(L"3");
    };
    auto quiet = chart(1), heard = chart(1);
    Heard h;
    heard->setDiagnostics(h.handler());
    build(*quiet);
    build(*heard);
    EXPECT_EQ(quiet->getXML(), heard->getXML());
    EXPECT_EQ(h.records.size(), 4u);
    heard->setDiagnostics(nullptr);
    heard->addChartData(L"more nonsense");
    EXPECT_EQ(h.records.size(), 4u) << "an empty handler stops the reports";
}

} // namespace
} // namespace plotara::test
