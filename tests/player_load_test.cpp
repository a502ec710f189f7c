// Loading a movie URL: the URL's parts, the chart movie, the data sources, the chart messages
// and the callbacks; and bad input of every kind, which must never crash or hang.
#include "core/Error.h"
#include "player/ChartPlayer.h"
#include "player/MovieUrlParser.h"
#include "player/detail/ChartMovie.h"
#include "player/util/TextUtil.h"
#include "player_model_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <memory>
#include <set>

namespace plotara {
namespace {

using player::parseMovieUrl;

struct Recorder {
    std::vector<std::string> names;
    void attach(ChartPlayer& p) {
        p.onFlashCall([this](const String& r) {
            std::string s = toUtf8(r);
            auto a = s.find("name=\"") + 6;
            names.push_back(s.substr(a, s.find('"', a) - a));
        });
    }
};

TEST(MovieUrl, SplitsLocationAndQuery) {
    struct Case {
        std::string url, folder, file;
    } cases[] = {
        {"file:///C:\\Charts\\PTM11.swf?nocache=1", "C:/Charts", "PTM11.swf"},
        {"file:///C:\\PTM01.swf?nocache=1", "C:", "PTM01.swf"},
        {"file:////opt/charts/PTM02.swf?x=1", "/opt/charts", "PTM02.swf"},
        {"file:////opt/charts\\\\PTM02.swf", "/opt/charts", "PTM02.swf"},
        {"PTM03.swf?a=b", "", "PTM03.swf"},
    };
    for (const Case& c : cases) {
        auto u = parseMovieUrl(c.url);
        EXPECT_EQ(u.folder, c.folder) << c.url;
        EXPECT_EQ(u.movieFile, c.file) << c.url;
    }
}

TEST(MovieUrl, DataXmlRunsToTheEndAndIsDecodedOnce) {
    auto u = parseMovieUrl("file:///c/PTM02.swf?nocache=1&chartWidth=300&dataXML=<chart "
                           "caption='R&D %26apos;x%26apos; 100%25 a%2bb %2525'/>");
    ASSERT_NE(u.find("dataXML"), nullptr);
    EXPECT_EQ(*u.find("dataXML"), "<chart caption='R&D &apos;x&apos; 100% a+b %25'/>");
    EXPECT_EQ(*u.find("chartwidth"), "300");
    auto v = parseMovieUrl("x/PTM02.swf?dataURL=file:///tmp/a&b.xml");
    EXPECT_EQ(*v.find("dataURL"), "file:///tmp/a&b.xml");
    EXPECT_EQ(player::localPathFromLocation("file:////tmp/a%20b.xml"), "/tmp/a b.xml");
    EXPECT_EQ(player::localPathFromLocation("http://example.com/a.xml"), "");
}

TEST(MovieUrl, PercentCodesAreDecodedWhereverTheyStand) {
    // Texts without a percent sign are copied whole; codes at either end, next to each other,
    // cut short or not hexadecimal are each handled as in the middle of a text.
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"<chart/>", "<chart/>"},
        {"%41", "A"},
        {"%41%42c%43", "ABcC"},
        {"a%4", "a%4"},
        {"a%", "a%"},
        {"%", "%"},
        {"%%41", "%A"},
        {"%zz%4g", "%zz%4g"},
        {"%e2%82%AC", "\xE2\x82\xAC"},
        {"50%25 of %2525", "50% of %25"},
    };
    for (const auto& [text, decoded] : cases) {
        EXPECT_EQ(player::percentDecode(text), decoded) << text;
        const auto url = parseMovieUrl("PTM01.swf?a=" + text + "&dataXML=" + text);
        EXPECT_EQ(*url.find("a"), decoded) << text;
        EXPECT_EQ(*url.find("dataXML"), decoded) << text;
        // The document handed beside the head is decoded in place, to the same text.
        const MovieUrlParts parts{"PTM01.swf?dataXML=", std::make_shared<const std::string>(text),
                                  MovieDocumentForm::Whole};
        EXPECT_EQ(*parseMovieUrl(parts).find("dataXML"), decoded) << text;
    }
}

TEST(PlayerLoading, AUrlInPartsLoadsAsTheWholeUrlAndGivesItBackExactly) {
    // The document shared beside the URL's head, in each of its forms, against the same URL
    // handed over whole (as shared UTF-8 text, kept as it is, and as wide text): the same URL
    // back, the same load (state, messages, debug panel) and the same picture. Expected URL
    // documents are written out by hand.
    struct Case {
        const char* name;
        std::string document;
        MovieDocumentForm form;
        std::string inUrl; // the document as the URL holds it
    };
    const std::string set = "<set label='A' value='3'/>";
    const Case cases[] = {
        {"percent codes", "<chart caption='50%25 %3Cb%3E %zz'>" + set + "</chart%3E",
         MovieDocumentForm::Whole, "<chart caption='50%25 %3Cb%3E %zz'>" + set + "</chart%3E"},
        {"pairs go", "<chart>\r\n\t" + set + "\r\r\n\n</chart>\r", MovieDocumentForm::WithoutCrLf,
         "<chart>\t" + set + "\r\n</chart>\r"},
        {"a code cut by a pair", "<chart caption='%4\r\n1'>" + set + "</chart>",
         MovieDocumentForm::WithoutCrLf, "<chart caption='%41'>" + set + "</chart>"},
        {"pairs, tabs and CRs go", "<chart>\r\n\t" + set + "\r\r\n\n</chart>\r",
         MovieDocumentForm::WithoutCrLfAndTabs, "<chart>" + set + "\n</chart>"},
        {"ampersands and non-ASCII",
         "<chart caption='R&amp;D &dataXML=x Caf\xC3\xA9 \xF0\x9F\x98\x80'>" + set + "</chart>",
         MovieDocumentForm::WithoutCrLf,
         "<chart caption='R&amp;D &dataXML=x Caf\xC3\xA9 \xF0\x9F\x98\x80'>" + set + "</chart>"},
        {"not a chart", "<chart caption='a'>\r\n<set", MovieDocumentForm::WithoutCrLf,
         "<chart caption='a'><set"},
        {"empty", "", MovieDocumentForm::WithoutCrLfAndTabs, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string url = testing::movieUrl(1, c.inUrl);
        const MovieUrlParts parts{testing::movieUrl(1, ""),
                                  std::make_shared<const std::string>(c.document), c.form};
        ChartPlayer inParts, whole, wide;
        Recorder partsCalls, wholeCalls;
        partsCalls.attach(inParts);
        wholeCalls.attach(whole);
        const auto document = parts.document;
        const auto text = std::make_shared<const std::string>(url);
        inParts.put_MovieParts(parts);
        whole.put_MovieText(text);
        wide.put_Movie(fromUtf8(url));
        for (const ChartPlayer* p : {&inParts, &whole, &wide})
            EXPECT_EQ(p->get_Movie(), fromUtf8(url));
        EXPECT_EQ(inParts.state(), whole.state());
        EXPECT_EQ(inParts.messageLog(), whole.messageLog());
        EXPECT_EQ(inParts.debugLines(), whole.debugLines());
        EXPECT_EQ(partsCalls.names, wholeCalls.names);
        EXPECT_EQ(inParts.svg(), whole.svg());
        EXPECT_EQ(wide.svg(), whole.svg());
        // The players keep the texts themselves, not copies; a new URL lets them go.
        EXPECT_EQ(document.use_count(), 3);
        EXPECT_EQ(text.use_count(), 2);
        inParts.put_Movie(L"file:///nowhere/PTM01.swf");
        whole.put_Movie(L"file:///nowhere/PTM01.swf");
        EXPECT_EQ(document.use_count(), 2);
        EXPECT_EQ(text.use_count(), 1);
        EXPECT_EQ(inParts.get_Movie(), L"file:///nowhere/PTM01.swf");
    }
}

TEST(MovieUrl, PartsAreSplitAsTheWholeUrlWhateverTheHeadHolds) {
    // A head whose last parameter is not the dataXML that runs into the document (an earlier
    // dataXML or dataURL, no query at all, a parameter after it) splits as the whole text would.
    const std::string heads[] = {
        "PTM01.swf?a=1&dataXML=",       "PTM01.swf?dataXML=x&b=2&dataXML=",
        "PTM01.swf?dataURL=f&dataXML=", "PTM01.swf?DATAXML=",
        "PTM01.swf?dataXML=&b=",        "PTM01.swf",
        "PTM01.swf?a=%41&dataXML",      "",
    };
    for (const std::string& head : heads) {
        for (const char* document : {"<chart a='%41'>\r\n</chart>", "", "&x=%"}) {
            MovieUrlParts parts{head, std::make_shared<const std::string>(document),
                                MovieDocumentForm::WithoutCrLf};
            const auto fromParts = parseMovieUrl(parts);
            const auto fromWhole = parseMovieUrl(parts.text());
            EXPECT_EQ(fromParts.folder, fromWhole.folder) << head << document;
            EXPECT_EQ(fromParts.movieFile, fromWhole.movieFile) << head << document;
            EXPECT_EQ(fromParts.params, fromWhole.params) << head << document;
        }
    }
}

TEST(PlayerLoading, MissingOrBrokenMovieShowsNothingAndCallsNothing) {
    std::string dir = ::testing::TempDir();
    std::ofstream(dir + "/PTM02.swf") << "not a chart movie";
    for (const std::string& url :
         {"file:///" + dir + "/PTM99.swf?dataXML=<chart><set value='1'/></chart>",
          "file:///" + dir + "\\PTM02.swf?dataXML=<chart><set value='1'/></chart>", std::string(""),
          std::string("???&&&==")}) {
        ChartPlayer p;
        Recorder rec;
        rec.attach(p);
        p.put_Movie(fromUtf8(url));
        EXPECT_EQ(p.state(), PlayerState::Empty) << url;
        EXPECT_TRUE(rec.names.empty()) << url;
        EXPECT_TRUE(p.scene().items.empty());
        EXPECT_FALSE(p.png().empty()) << "an empty player still paints its background";
    }
}

TEST(PlayerLoading, CallbacksComeInOrderAndFollowTheRequestFormat) {
    ChartPlayer p;
    std::vector<String> raw;
    p.onFlashCall([&](const String& r) { raw.push_back(r); });
    p.put_Movie(fromUtf8(testing::movieUrl(2, testing::singleSeriesSample)));
    ASSERT_EQ(raw.size(), 2u);
    EXPECT_EQ(toUtf8(raw[0]), "<invoke name=\"PT_Loaded\" returntype=\"xml\"><arguments>"
                              "<string></string></arguments></invoke>");
    EXPECT_NE(raw[1].find(L"\"PT_Rendered\""), String::npos);
    // A bad document: loaded, but nothing rendered.
    raw.clear();
    p.put_Movie(fromUtf8(testing::movieUrl(2, "<chart><set value='1'")));
    ASSERT_EQ(raw.size(), 1u);
    EXPECT_NE(raw[0].find(L"\"PT_Loaded\""), String::npos);
}

TEST(PlayerLoading, AHandlerThatLoadsAnotherMovieWins) {
    ChartPlayer p;
    int calls = 0;
    p.onFlashCall([&](const String&) {
        if (++calls == 1) p.put_Movie(fromUtf8(testing::movieUrl(4, testing::singleSeriesSample)));
    });
    p.put_Movie(fromUtf8(testing::movieUrl(2, testing::singleSeriesSample)));
    EXPECT_EQ(p.state(), PlayerState::Chart);
    EXPECT_EQ(p.scene().hits.front().kind, player::HitKind::Slice);
    EXPECT_EQ(calls, 3); // Loaded (2), Loaded (4), Rendered (4)
}

TEST(PlayerMessages, DefaultsAndOverrides) {
    struct Case {
        std::string data, extra, expected;
    } cases[] = {
        {"&dataXML=<chart><set value='1'", "", "Invalid XML data."},
        {"&dataXML=<chart><set value='1'", "&InvalidXMLText=Bad!", "Bad!"},
        {"&dataXML=<notachart/>", "", "Invalid XML data."},
        {"&dataXML=<chart caption='x'/>", "", "No data to display."},
        {"&dataXML=<chart><set value='abc'/><set/></chart>", "&ChartNoDataText=Empty", "Empty"},
        {"&dataXML=", "", "Invalid XML data."},
        {"", "", "No data to display."},
        {"", "&LoadDataErrorText=XML file not found", "XML file not found"},
        {"&dataURL=http://example.com/data.xml", "", "Error in loading data."},
        {"&dataURL=file:////nonexistent/data.xml", "&LoadDataErrorText=Gone", "Gone"},
        {"&dataURL=file:///" + ::testing::TempDir(), "", "Error in loading data."},
        {"&dataXML=<chart><set value='-1'/><set value='0'/></chart>", "", "No data to display."},
    };
    for (const Case& c : cases) {
        char file[16];
        int type =
            c.expected == "No data to display." && c.data.find("-1") != std::string::npos ? 4 : 2;
        std::snprintf(file, sizeof file, "PTM%02d.swf", type);
        std::string url = "file:///" + testing::chartsDir() + "/" + file +
                          "?nocache=1&chartWidth=300&chartHeight=200" + c.extra + c.data;
        ChartPlayer p;
        p.put_Movie(fromUtf8(url));
        EXPECT_EQ(p.state(), PlayerState::Message) << url;
        EXPECT_EQ(toUtf8(p.messageText()), c.expected) << url;
        auto texts = p.scene().texts();
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.front()->text, c.expected);
    }
}

TEST(PlayerMessages, ProgressTextsAreShownInOrder) {
    std::string path = ::testing::TempDir() + "/sample.xml";
    std::ofstream(path) << testing::singleSeriesSample;
    ChartPlayer p;
    p.put_Movie(fromUtf8("file:///" + testing::chartsDir() +
                         "/PTM07.swf?nocache=1&PBarLoadingText=L&XMLLoadingText=X"
                         "&ParsingDataText=P&RenderingChartText=R&dataURL=file:///" +
                         path));
    ASSERT_EQ(p.state(), PlayerState::Chart);
    std::vector<String> expected = {L"L", L"X", L"P", L"R"};
    EXPECT_EQ(p.messageLog(), expected);
}

TEST(PlayerLoading, SizeBackgroundAndDebugPanel) {
    ChartPlayer p;
    p.put_Width(500);
    p.put_Height(300);
    p.put_Movie(fromUtf8(
        "file:///" + testing::chartsDir() +
        "/PTM02.swf?nocache=1&BGColor=FF0000&debugMode=1&dataXML=" + testing::singleSeriesSample));
    EXPECT_EQ(p.chartWidth(), 500);
    EXPECT_EQ(p.chartHeight(), 300);
    auto image = p.surface(1);
    EXPECT_EQ(image.pixel(499, 299), 0xFFFF0000u);
    bool panel = false;
    for (const auto* t : p.scene().texts())
        panel = panel || t->text == "Chart movie: PTM02.swf (column2d, column)";
    EXPECT_TRUE(panel) << "the debug panel names the chart movie";
    auto lines = p.debugLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1], L"Chart size: 500 x 300");
}

// Documents that must draw what makes sense or show a message, never crash or hang.
TEST(PlayerBadInput, NeverCrashes) {
    std::string deep;
    for (int i = 0; i < 20000; ++i)
        deep += "<a>";
    std::string many = "<chart>";
    for (int i = 0; i < 5000; ++i)
        many += "<set label='' value='" + std::to_string(i) + "'/>";
    many += "</chart>";
    std::vector<testing::Dataset> sets(3, {"s", {}});
    for (int i = 0; i < 3000; ++i)
        for (int d = 0; d < 3; ++d)
            sets[static_cast<std::size_t>(d)].values.push_back(i * d);
    const std::string big = testing::multiSeries("", testing::numbered("c", 3000), sets);
    const std::string docs[] = {
        "<chart><set value='NaN'/><set value='1e308'/><set value='-1e308'/><set "
        "value='inf'/></chart>",
        "<chart yAxisMinValue='5' yAxisMaxValue='5' numDivLines='-4'><set value='1'/></chart>",
        "<chart numDivLines='100000' decimals='99'><set value='0.000001'/></chart>",
        "<chart><set value='-5'/><set value='-10'/></chart>",
        "<chart><set value='1e300'/><set value='-1e300'/></chart>",
        "<chart palette='-3' baseFontSize='9999' chartLeftMargin='99999'><set value='1'/></chart>",
        "<chart><categories/><dataset><dataset><set value='1'/></dataset></dataset></chart>",
        "<chart><lineset><set value='3'/></lineset></chart>",
        "<chart><trendlines><line startValue='1e308'/></trendlines><set value='1'/></chart>",
        "<chart><set value='1' link='host:'/><set value='2' color='#zz'/></chart>",
        "<chart><dataset><set x='NaN' y='1' z='-4'/><set x='1' y='1e308' z='1e308'/>"
        "</dataset></chart>",
        "<chart",
        std::string("\0\0\0", 3),
        "\xff\xfe<\x00c\x00",
    };
    const std::set<int> heavy = {2, 4, 7, 9, 12, 17, 26, 29, 30, 31, 37};
    for (int type = 1; type <= 37; ++type) {
        std::vector<const std::string*> list;
        for (const std::string& doc : docs)
            list.push_back(&doc);
        if (heavy.contains(type)) list.insert(list.end(), {&deep, &many, &big});
        for (const std::string* doc : list) {
            ChartPlayer p;
            Recorder rec;
            rec.attach(p);
            p.put_Movie(fromUtf8(testing::movieUrl(type, *doc, 320, 240)));
            EXPECT_NE(p.state(), PlayerState::Empty) << type;
            EXPECT_FALSE(p.png().empty());
            ASSERT_FALSE(rec.names.empty());
            EXPECT_EQ(rec.names.front(), "PT_Loaded");
            EXPECT_EQ(rec.names.size() == 2, p.state() == PlayerState::Chart);
        }
    }
}

TEST(PlayerBadInput, ObjectStaysUsableAfterErrors) {
    ChartPlayer p;
    EXPECT_THROW(p.CallFunction(L"<invoke name=\"print\"/>"), Error);
    EXPECT_FALSE(p.clickAt(10, 10).hit);
    EXPECT_FALSE(p.svg().empty());
    p.put_Width(std::numeric_limits<float>::quiet_NaN());
    p.put_Height(-5);
    p.put_Movie(fromUtf8(testing::movieUrl(2, testing::singleSeriesSample, 0, 99999999)));
    EXPECT_EQ(p.state(), PlayerState::Chart);
    EXPECT_LE(p.chartHeight(), 16384);
}

} // namespace
} // namespace plotara
