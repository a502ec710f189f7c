// The parameter-string parser, the text escaping and the keyed store; and the data object's
// diagnostics: what it drops or cannot use reaches a listening host, and the documents stay
// exactly what they were without a listener.
#include "core/Error.h"
#include "core_test_support.h"
#include "data/EscapeText.h"
#include "data/detail/KeyedNode.h"
#include "data/detail/ParamParser.h"
#include "data_test_support.h"
#include "database_test_support.h"

#include <gtest/gtest.h>

namespace plotara {
namespace {

TEST(ParseParams, GivesTheRowsInOrder) {
    const struct {
        const wchar_t* text;
        const wchar_t* delimiter;
        bool escape;
        std::vector<ParamPair> expected;
    } cases[] = {
        {L"caption=Sales;subCaption=2008",
         L";",
         false,
         {{L"caption", L"Sales"}, {L"subCaption", L"2008"}}},
        // The parser keeps blanks; trimming is the recording operations' work.
        {L" caption = Sales ", L";", false, {{L" caption ", L" Sales "}}},
        {L"a=b=c", L";", false, {{L"a", L"b=c"}}},
        {L"a=", L";", false, {{L"a", L""}}},
        {L"a", L";", false, {}},
        {L"=b", L";", false, {}},
        {L" =b", L";", false, {}},
        {L";;a=1;", L";", false, {{L"a", L"1"}}},
        {L"", L";", false, {}},
        {L"a=1;a=2", L";", false, {{L"a", L"1"}, {L"a", L"2"}}},
        {L"a=1||b=2", L"||", false, {{L"a", L"1"}, {L"b", L"2"}}},
        {L"a=1;b=2", L"||", false, {{L"a", L"1;b=2"}}},
        {L"a=1;b=2", L"", false, {{L"a", L"1;b=2"}}},
        {L"a=1|", L"|", false, {{L"a", L"1"}}},
        // Escaping applies to values only.
        {L"label=R&D", L";", true, {{L"label", L"R%26D"}}},
        {L"a&b=x+y", L";", true, {{L"a&b", L"x%2by"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseParams(c.text, c.delimiter, c.escape), c.expected)
            << '"' << toUtf8(c.text) << "\" with \"" << toUtf8(c.delimiter) << '"';
}

TEST(EscapeText, ReplacesTheSixCharactersOnce) {
    EXPECT_EQ(escapeText(L"100% & <b>"), L"100%25 %26 %26lt;b%26gt;");
    EXPECT_EQ(escapeText(L"a+b"), L"a%2bb");
    EXPECT_EQ(escapeText(L"Q1's"), L"Q1%26apos;s");
    EXPECT_EQ(escapeText(L""), L"");
    // Per-cent signs that the escaping itself introduces are not escaped again.
    EXPECT_EQ(escapeText(L"%'"), L"%25%26apos;");
    // Everything else passes unchanged, including quotes, "=", CR and LF.
    EXPECT_EQ(escapeText(L"\"=;\r\n\u00e9"), L"\"=;\r\n\u00e9");
}

// Reading a missing key adds an empty node; setting a key again replaces its value where it
// stands; keys are exact, case included.
TEST(KeyedNode, MissingKeysAddNodesKeysAreExactAndNodesHaveNoText) {
    KeyedStore store;
    KeyedNode& node = store.root();
    EXPECT_FALSE(node.exists(L"x"));
    KeyedEntry& entry = node.item(L"x");
    ASSERT_TRUE(entry.isNode());
    EXPECT_TRUE(entry.node().empty());
    node.set(L"seriesName", L"1");
    node.set(L"seriesname", L"2");
    node.set(L"seriesName", L"3");
    EXPECT_EQ(node.keys(), (std::vector<String>{L"x", L"seriesName", L"seriesname"}));
    EXPECT_EQ(node.lookup(L"seriesName")->text(), L"3");
    EXPECT_EQ(node.lookup(L"seriesname")->text(), L"2");
    EXPECT_EQ(node.lookup(L"SERIESNAME"), nullptr);
    KeyedStore other;
    KeyedNode& root = other.root();
    root.child(L"n");
    EXPECT_EQ(test::errorOf([&] { (void)root.item(L"n").text(); }), 449); // a node has no text
    root.set(L"t", L"text");
    EXPECT_THROW(root.child(L"t"), Error);
}

TEST(KeyedNode, LargeNodesKeepOrderAndFindEveryKey) {
    // Past a handful of keys the node switches to its hash index; order and lookups must not
    // change when it does.
    KeyedStore store;
    KeyedNode& node = store.root();
    for (int i = 0; i < 1000; ++i)
        node.set(std::to_wstring(i), std::to_wstring(i * 2));
    node.set(L"500", L"replaced");
    node.child(1000).set(L"value", L"x");
    ASSERT_EQ(node.count(), 1001u);
    const auto keys = node.keys();
    for (int i = 0; i <= 1000; ++i)
        ASSERT_EQ(keys[static_cast<std::size_t>(i)], std::to_wstring(i));
    EXPECT_EQ(node.lookup(L"500")->text(), L"replaced");
    EXPECT_EQ(node.lookup(L"999")->text(), L"1998");
    EXPECT_EQ(node.child(1000).lookup(L"value")->text(), L"x");
    EXPECT_EQ(node.lookup(L"1001"), nullptr);
}

TEST(KeyedNode, KeysThatStopBeingPositionsAreStillFound) {
    // Nodes whose keys are "0", "1", ... find keys by number; the first other key switches the
    // node to its hash index, which must know every earlier key.
    for (const wchar_t* odd : {L"x", L"01", L"-1", L"7", L"1000000000"}) {
        KeyedStore store;
        KeyedNode& node = store.root();
        for (int i = 0; i < 20; ++i)
            node.set(std::to_wstring(i), std::to_wstring(i));
        node.set(odd, L"odd");
        for (int i = 20; i < 40; ++i)
            node.set(std::to_wstring(i), std::to_wstring(i));
        const bool replaced = StringView(odd) == L"7";
        EXPECT_EQ(node.count(), replaced ? 40u : 41u) << toUtf8(odd);
        for (int i = 0; i < 40; ++i) {
            const KeyedEntry* entry = node.lookup(std::to_wstring(i));
            ASSERT_NE(entry, nullptr) << toUtf8(odd) << " " << i;
            EXPECT_EQ(entry->text(), (replaced && i == 7) ? L"odd" : std::to_wstring(i));
        }
        EXPECT_EQ(node.lookup(odd)->text(), L"odd");
        EXPECT_EQ(node.lookup(L"40"), nullptr);
        EXPECT_EQ(node.lookup(L"007"), nullptr);
    }
}

using test::chart;
using test::TableRecordset;

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
} // namespace plotara
