// The chart document parser: sets, stacks, line sets, trend lines and styles read into the model,
// large documents whose elements all arrive in order, and the lookups that must stay fast on
// hostile documents keeping their meaning: attributes of large elements (past the index
// threshold) behave as those of small ones, and the shortened order of font styles gives the font
// that applying every application in turn gives.
#include "player/layout/StyleOrder.h"
#include "player/model/Attributes.h"
#include "player/model/ChartParser.h"
#include "player/util/Utf8.h"
#include "player_samples.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace plotara::player {
namespace {

// n sets with values first, first + 1, ...; every `vlineEvery` sets (0: never) a vLine follows.
std::string sets(int n, int first, int vlineEvery = 0) {
    std::string out;
    for (int i = 0; i < n; ++i) {
        out += "<set label='L" + std::to_string(first + i) + "' value='" +
               std::to_string(first + i) + "'/>";
        if (vlineEvery > 0 && (i + 1) % vlineEvery == 0) out += "<vLine/>";
    }
    return out;
}

std::vector<double> valuesOf(const Series& s) {
    std::vector<double> out;
    for (const DataPoint& p : s.points)
        out.push_back(p.value);
    return out;
}

std::vector<double> counting(int n, int first) {
    std::vector<double> out;
    for (int i = 0; i < n; ++i)
        out.push_back(first + i);
    return out;
}

TEST(PlayerBounds, LargeElementsFindReplaceAndCopyTheirAttributes) {
    for (const int n : {3, 16, 17, 40, 5000}) {
        SCOPED_TRACE(n);
        Attributes attributes;
        for (int i = 0; i < n; ++i)
            attributes.set("Name" + std::to_string(i), std::to_string(i));
        attributes.set("NAME1", "replaced");
        attributes.set("name" + std::to_string(n - 1), "last");
        Attributes copy = attributes;
        Attributes assigned;
        assigned = copy;
        copy.set("added", "x");
        for (const Attributes* a : {&attributes, &assigned}) {
            ASSERT_EQ(a->size(), static_cast<std::size_t>(n));
            EXPECT_EQ(a->text("name0"), "0");
            EXPECT_EQ(a->text("name1"), n > 1 ? "replaced" : "1");
            EXPECT_EQ(a->text("name" + std::to_string(n - 1)), "last");
            EXPECT_EQ(a->find("Name0"), nullptr); // lookups take lower-case names
            EXPECT_EQ(a->find("added"), nullptr);
            EXPECT_EQ(a->items()[1].first, "name1"); // document order kept
        }
        EXPECT_EQ(copy.text("added"), "x");
        Attributes moved = std::move(copy);
        EXPECT_EQ(moved.text("name1"), n > 1 ? "replaced" : "1");
    }
}

TEST(PlayerBounds, ElementsWithoutAttributesFindNothingAndCopyAsEmpty) {
    Attributes none;
    EXPECT_EQ(none.size(), 0u);
    EXPECT_TRUE(none.items().empty());
    EXPECT_EQ(none.find("label"), nullptr);
    EXPECT_EQ(none.text("label", "fallback"), "fallback");
    EXPECT_FALSE(none.optionalNumber("value"));
    EXPECT_TRUE(none.flag("showvalue", true));
    Attributes copied = none;
    copied.set("value", "1,5");
    EXPECT_EQ(copied.text("value"), "1,5");
    EXPECT_EQ(none.size(), 0u) << "the copy has attributes of its own";
    // The number syntax set before the first attribute reads that attribute.
    Attributes comma;
    comma.setNumberSyntax({U',', U'.'});
    comma.set("value", "1.234,5");
    EXPECT_EQ(comma.optionalNumber("value"), 1234.5);
}

// The separators an element reads its numbers with are kept while it has no attribute and
// after, whatever they are, and an assignment or a copy keeps the target's own.
TEST(PlayerBounds, ElementsKeepTheirNumberSyntaxWithAndWithoutAttributes) {
    const NumberSyntax syntaxes[] = {{},
                                     {U',', U'.'},
                                     {U',', 0},
                                     {U'\u066B', U'\u066C'},
                                     {U'.', U'\u202F'},
                                     {0x10FFFF, 0x10FFFF},
                                     {0x200000, U','},
                                     {U'.', 0xFFFFFFFF}};
    for (const NumberSyntax& syntax : syntaxes) {
        SCOPED_TRACE(static_cast<unsigned long>(syntax.decimal));
        Attributes a;
        a.setNumberSyntax(syntax);
        EXPECT_EQ(a.numberSyntax(), syntax);
        EXPECT_EQ(a.size(), 0u);
        a.set("x", "1");
        EXPECT_EQ(a.numberSyntax(), syntax);
        Attributes empty;
        empty.setNumberSyntax(syntax);
        Attributes target;
        target.setNumberSyntax({U',', U'.'});
        target = empty;
        EXPECT_EQ(target.numberSyntax(), (NumberSyntax{U',', U'.'}));
        target.set("y", "2");
        const Attributes none;
        target = none;
        EXPECT_EQ(target.size(), 0u);
        EXPECT_EQ(target.numberSyntax(), (NumberSyntax{U',', U'.'}));
        const Attributes copied = a;
        EXPECT_EQ(copied.numberSyntax(), NumberSyntax{}) << "a copy reads with its own syntax";
        EXPECT_EQ(copied.text("x"), "1");
        Attributes moved = std::move(a);
        EXPECT_EQ(moved.numberSyntax(), syntax);
        EXPECT_EQ(moved.text("x"), "1");
    }
}

// Each style sets "size" or "color" or both; the font is the last value set of each.
std::map<std::string, std::string> fold(const std::vector<const StyleDefinition*>& order) {
    std::map<std::string, std::string> font;
    for (const StyleDefinition* def : order)
        for (const auto& [name, value] : def->attrs.items())
            if (name != "name" && name != "type") font[name] = value;
    return font;
}

TEST(PlayerBounds, TheShortenedStyleOrderGivesTheSameFontAsEveryApplication) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        ChartModel model;
        const int names = 1 + static_cast<int>(random() % 5);
        for (int i = 0; i < 1 + static_cast<int>(random() % 8); ++i) {
            StyleDefinition def;
            def.name = "s" + std::to_string(random() % names);
            def.type = random() % 5 ? "font" : "animation";
            if (random() % 2) def.attrs.set("size", std::to_string(i));
            if (random() % 2) def.attrs.set("color", "c" + std::to_string(i));
            model.styles.push_back(std::move(def));
        }
        for (int i = 0; i < static_cast<int>(random() % 10); ++i)
            model.applications.emplace_back(random() % 3 ? "caption" : "legend",
                                            "s" + std::to_string(random() % (names + 1)));
        std::vector<const StyleDefinition*> every;
        for (const auto& [object, name] : model.applications)
            if (object == "caption")
                for (const StyleDefinition& def : model.styles)
                    if (def.name == name && def.type == "font") every.push_back(&def);
        const auto shortened = fontStylesFor(model, "caption");
        EXPECT_EQ(fold(shortened), fold(every)) << round;
        EXPECT_LE(shortened.size(), model.styles.size());
    }
}

TEST(PlayerBounds, MalformedUtf8BecomesReplacementCharacters) {
    const std::string bad = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"caf\xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80", "caf\xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80"},
        {"a\xFF\x62", "a" + bad + "b"},
        {"\x80\x80", bad},
        {"\xC3", bad},
        {"\xE4\xB8\x78", bad + "x"},
        {"\xC0\xAF", bad},         // overlong "/"
        {"\xED\xA0\x80", bad},     // a surrogate
        {"\xF4\x90\x80\x80", bad}, // beyond U+10FFFF
        {"\xC3\xA9\xFF\xC3\xA9", "\xC3\xA9" + bad + "\xC3\xA9"},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(validUtf8(input), expected) << input;
    // ASCII is read eight bytes at a time: a bad byte or a valid sequence at every place
    // around those blocks is still seen, in texts of every length up to three blocks.
    for (std::size_t length = 1; length <= 24; ++length) {
        for (std::size_t at = 0; at < length; ++at) {
            std::string text(length, 'a');
            text[at] = '\xFF';
            std::string expected = text.substr(0, at) + bad + text.substr(at + 1);
            EXPECT_EQ(validUtf8(text), expected) << length << " " << at;
            const std::string valid = text.substr(0, at) + "\xC3\xA9" + text.substr(at + 1);
            EXPECT_EQ(validUtf8(valid), valid) << length << " " << at;
        }
    }
}

TEST(ChartParser, SetsKeepTheirCoordinatesAsNumbersAndTheirOtherAttributes) {
    ParseResult r = parseChartXml(
        "<chart><dataset seriesName='s'><set X='1.5' y='2' Z='3' label='p' link='a&amp;b'/>"
        "<set value='4' color='F00'/><set x='' y='5'/></dataset></chart>");
    ASSERT_TRUE(r.ok);
    const Series& s = r.model.datasets.at(0);
    ASSERT_EQ(s.points.size(), 3u);
    ASSERT_EQ(s.xy.size(), 2u);
    EXPECT_EQ(s.xy[0].x, 1.5);
    EXPECT_EQ(s.xy[0].z, 3);
    EXPECT_EQ(s.points[0].value, 2) << "a positioned set's value is its y";
    EXPECT_EQ(s.attrsOf(s.xy[0]).text("label"), "p");
    EXPECT_EQ(s.attrsOf(s.xy[0]).text("link"), "a&b");
    EXPECT_FALSE(s.points[0].attrs.has("x"));
    EXPECT_EQ(s.points[1].value, 4);
    EXPECT_EQ(s.points[1].attrs.text("color"), "F00");
    EXPECT_TRUE(isMissing(s.xy[1].x));
    EXPECT_EQ(s.xy[1].point, 2u);

    std::string text = "<chart><set value='1'/></chart>";
    ParseResult inPlace = parseChartXmlInPlace(text);
    ASSERT_TRUE(inPlace.ok);
    EXPECT_EQ(inPlace.model.datasets.at(0).points.at(0).value, 1);
}

TEST(ChartParser, ReadsStacksLinesetsTrendsAndStyles) {
    ParseResult r = parseChartXml(testing::msStackedSample(true));
    ASSERT_TRUE(r.ok);
    const ChartModel& m = r.model;
    ASSERT_EQ(m.datasets.size(), 4u);
    EXPECT_EQ(m.stackCount, 2);
    EXPECT_EQ(m.datasets[1].stack, 0);
    EXPECT_EQ(m.datasets[2].stack, 1);
    EXPECT_EQ(m.datasets[3].name, "Service B");
    ASSERT_EQ(m.linesets.size(), 1u);
    EXPECT_EQ(m.linesets[0].points[3].value, 45);
    EXPECT_EQ(m.chart.text("yaxisname"), "Sales in M$");

    ParseResult s = parseChartXml(
        "<chart><set label='a' value='1,250'/><vLine color='F00'/><set name='b' value='x'/>"
        "<styles><definition><style name='Big' type='font' size='14'/></definition>"
        "<application><apply toObject='Caption' styles='Big, Other'/></application></styles>"
        "</chart>");
    ASSERT_TRUE(s.ok);
    ASSERT_EQ(s.model.categories.size(), 2u);
    EXPECT_EQ(s.model.categories[1].label, "b");
    EXPECT_EQ(s.model.datasets[0].points[0].value, 1250);
    EXPECT_TRUE(isMissing(s.model.datasets[0].points[1].value));
    ASSERT_EQ(s.model.vlines.size(), 1u);
    EXPECT_EQ(s.model.vlines[0].after, 0u);
    ASSERT_EQ(s.model.applications.size(), 2u);
    EXPECT_EQ(s.model.applications[1].second, "other");

    ParseResult bad = parseChartXml("<chart><set value='1'></chart>");
    EXPECT_FALSE(bad.ok);
    EXPECT_NE(bad.error.find("offset"), std::string::npos);
}

// The sets directly under the chart name its categories: the label (any letter case, the last
// of repeated ones), else the name; a document with datasets takes its categories from its
// categories element and leaves those sets out.
TEST(ChartParser, SetsUnderTheChartNameTheCategories) {
    struct Case {
        const char* name;
        const char* xml;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {"label",
         "<chart><set label='a' value='1'/><set label='b' value='2'/></chart>",
         {"a", "b"}},
        {"letter case", "<chart><set LABEL='A' value='1'/><set Label='B'/></chart>", {"A", "B"}},
        {"name when no label",
         "<chart><set name='n' value='1'/><set value='2'/></chart>",
         {"n", ""}},
        {"label before name", "<chart><set name='n' label='l' value='1'/></chart>", {"l"}},
        {"repeated label", "<chart><set label='first' label='last' value='1'/></chart>", {"last"}},
        {"entities", "<chart><set label='R&amp;D' value='1'/></chart>", {"R&D"}},
        {"datasets win",
         "<chart><categories><category label='c1'/></categories><set label='x' value='1'/>"
         "<dataset><set value='2'/></dataset></chart>",
         {"c1"}},
    };
    for (const Case& c : cases) {
        ParseResult r = parseChartXml(c.xml);
        ASSERT_TRUE(r.ok) << c.name << ": " << r.error;
        std::vector<std::string> labels;
        for (const Category& cat : r.model.categories)
            labels.push_back(cat.label);
        EXPECT_EQ(labels, c.labels) << c.name;
        // The label lives in the category only; the set's other attributes stay its own.
        for (const DataPoint& p : r.model.datasets.at(0).points)
            EXPECT_FALSE(p.attrs.has("label")) << c.name;
    }
    ParseResult named = parseChartXml("<chart><set name='n' color='F00' value='1'/></chart>");
    ASSERT_TRUE(named.ok);
    EXPECT_EQ(named.model.datasets.at(0).points.at(0).attrs.text("name"), "n");
    EXPECT_EQ(named.model.datasets.at(0).points.at(0).attrs.text("color"), "F00");
}

TEST(ChartParserLarge, EverySetArrivesInOrderAcrossManyPages) {
    struct Case {
        const char* name;
        std::string xml;
        std::vector<std::vector<double>> series; // the values of each dataset
        std::size_t categories, vlines;
        std::size_t lastVlineAfter;
    };
    const Case cases[] = {
        {"single series with vertical lines",
         "<chart>" + sets(10000, 0, 1000) + "<trendLines><line startValue='5'/></trendLines>" +
             "</chart>",
         {counting(10000, 0)},
         10000,
         10,
         9999},
        {"two datasets",
         "<chart><dataset seriesName='a'>" + sets(9000, 0) + "</dataset><dataset>" +
             sets(9000, 100000) + "</dataset></chart>",
         {counting(9000, 0), counting(9000, 100000)},
         0,
         0,
         0},
        {"categories with a vertical line, then a stack and a lineset",
         [] {
             std::string x = "<chart><categories>";
             for (int i = 0; i < 8000; ++i) {
                 x += "<category label='c" + std::to_string(i) + "'/>";
                 if (i == 4999) x += "<vLine/>";
             }
             x += "</categories><dataset><dataset>" + sets(8000, 7) + "</dataset><dataset>" +
                  sets(5000, 3) + "</dataset></dataset><lineset>" + sets(4097, 1) +
                  "</lineset></chart>";
             return x;
         }(),
         {counting(8000, 7), counting(5000, 3)},
         8000,
         1,
         4999},
    };
    for (const Case& c : cases) {
        std::string text = c.xml;
        ParseResult r = parseChartXmlInPlace(text);
        ASSERT_TRUE(r.ok) << c.name << ": " << r.error;
        const ChartModel& m = r.model;
        ASSERT_EQ(m.datasets.size(), c.series.size()) << c.name;
        for (std::size_t k = 0; k < c.series.size(); ++k)
            EXPECT_EQ(valuesOf(m.datasets[k]), c.series[k]) << c.name << ", dataset " << k;
        EXPECT_EQ(m.categories.size(), c.categories) << c.name;
        ASSERT_EQ(m.vlines.size(), c.vlines) << c.name;
        if (!m.vlines.empty()) {
            EXPECT_EQ(m.vlines.back().after, c.lastVlineAfter) << c.name;
        }
    }
}

TEST(ChartParserLarge, ElementsAfterTheSetsAreStillRead) {
    std::string text = "<chart>" + sets(6000, 0) +
                       "<trendLines><line startValue='5' endValue='9'/></trendLines>"
                       "<styles><definition><style name='Big' type='font'/></definition>"
                       "</styles></chart>";
    ParseResult r = parseChartXmlInPlace(text);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.model.categories.size(), 6000u);
    EXPECT_EQ(r.model.categories.back().label, "L5999");
    EXPECT_EQ(r.model.categories.front().label, "L0");
    ASSERT_EQ(r.model.trendlines.size(), 1u);
    EXPECT_EQ(r.model.trendlines[0].end, 9);
    ASSERT_EQ(r.model.styles.size(), 1u);
    EXPECT_EQ(r.model.styles[0].name, "big");
    ParseResult lineset = parseChartXml("<chart><lineset>" + sets(4097, 1) + "</lineset></chart>");
    ASSERT_TRUE(lineset.ok);
    ASSERT_EQ(lineset.model.linesets.size(), 1u);
    EXPECT_EQ(valuesOf(lineset.model.linesets[0]), counting(4097, 1));
}

} // namespace
} // namespace plotara::player
