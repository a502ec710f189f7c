// The layout model of every family: axis ranges and tick labels, texts that never overlap or
// leave the picture, value labels over their own points, and series drawn in full unless a
// note says why. The JSON form of the model is checked against a golden document.
#include "player/layout/ChartLayout.h"
#include "player_model_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <optional>
#include <sstream>
#include <tuple>

namespace plotara {
namespace {

using namespace player;
using testing::describe;
using testing::drawChart;
using testing::singleSeries;

// Whether a text reads as a number: digits with separators, signs, a currency or percent sign
// and a scale letter, nothing else.
bool looksLikeNumber(const std::string& text) {
    return text.find_first_of("0123456789") != std::string::npos &&
           text.find_first_not_of("0123456789.,-+%$ KMB") == std::string::npos;
}

// No number lost characters: ticks and value labels are never shortened, and a shortened text
// (a name, or "name, value") lost no number at its end.
void expectNoNumberShortened(const ChartLayout& l, const std::string& what) {
    const std::string ellipsis = "\xE2\x80\xA6";
    for (const LayoutText& t : l.texts) {
        const bool number = t.tag.kind == TextKind::Tick || t.tag.kind == TextKind::ValueLabel;
        if (number) {
            EXPECT_EQ(t.fullText, "") << what << ": '" << t.text << "' shortened";
            EXPECT_EQ(t.text.find(ellipsis), std::string::npos) << what << ": '" << t.text << "'";
        }
        if (t.fullText.empty()) continue;
        const std::size_t comma = t.fullText.rfind(", ");
        const std::string tail =
            comma == std::string::npos ? t.fullText : t.fullText.substr(comma + 2);
        EXPECT_FALSE(looksLikeNumber(tail))
            << what << ": '" << t.fullText << "' drawn as '" << t.text << "'";
    }
}

// No two texts overlap (by more than a pixel's rounding), all lie inside the picture, and no
// number is shortened.
void expectTextsApartAndInside(const ChartLayout& l, const std::string& what) {
    expectNoNumberShortened(l, what);
    const auto& t = l.texts;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const Rect& a = t[i].box;
        EXPECT_TRUE(a.x >= -0.5 && a.y >= -0.5 && a.right() <= l.width + 0.5 &&
                    a.bottom() <= l.height + 0.5)
            << what << ": '" << t[i].text << "' " << describe(a) << " outside the picture";
        for (std::size_t j = i + 1; j < t.size(); ++j) {
            // Slanted texts side by side: their upright boxes overlap although the texts do not.
            bool slanted = std::fmod(std::fabs(t[i].angle), 90) != 0;
            if (slanted && t[j].angle == t[i].angle) continue;
            Rect b = t[j].box;
            Rect shrunk{a.x + 0.5, a.y + 0.5, a.w - 1, a.h - 1};
            EXPECT_FALSE(shrunk.overlaps(b)) << what << ": '" << t[i].text << "' " << describe(a)
                                             << " and '" << t[j].text << "' " << describe(b);
        }
    }
}

// Every series drew all its points, or the layout says why not.
void expectDrawnOrNoted(const ChartLayout& l, const std::string& what) {
    for (const LayoutSeries& s : l.series) {
        EXPECT_LE(s.drawn, s.points) << what << ": " << s.name;
        if (s.drawn < s.points) {
            EXPECT_FALSE(l.notes.empty()) << what << ": " << s.name << " drew " << s.drawn << " of "
                                          << s.points << " without a note";
        }
    }
}

class EveryType : public ::testing::TestWithParam<int> {};

// The layout is decided before anything is painted: painting the chart (raster and SVG) leaves
// it as it was, laying it out again at another size and back gives it again, and every
// labelled tick's box is the box of the tick text drawn.
TEST_P(EveryType, LayoutDoesNotDependOnDrawing) {
    int type = GetParam();
    auto player = drawChart(type, testing::sampleFor(type), 480, 320);
    // The host takes the size the URL gave, so that a new host size lays the chart out again.
    player->put_Width(480);
    player->put_Height(320);
    const std::string before = player->layoutJson();
    ASSERT_GT(player->surface(1).width, 0);
    ASSERT_FALSE(player->svg().empty());
    EXPECT_EQ(player->layoutJson(), before) << "type " << type << " changed by painting";
    player->put_Width(300);
    EXPECT_NE(player->layoutJson(), before) << "type " << type << " not laid out again";
    player->put_Width(480);
    EXPECT_EQ(player->layoutJson(), before) << "type " << type << " changed by an earlier layout";

    const ChartLayout& l = player->scene().layout;
    for (const LayoutAxis& a : l.axes) {
        for (const LayoutTick& tick : a.ticks) {
            if (tick.label.empty()) continue;
            auto drawn = std::find_if(l.texts.begin(), l.texts.end(), [&](const LayoutText& t) {
                return (t.tag.kind == TextKind::Tick || t.tag.kind == TextKind::CategoryLabel) &&
                       t.text == tick.label && t.box.x == tick.box.x && t.box.y == tick.box.y &&
                       t.box.w == tick.box.w && t.box.h == tick.box.h;
            });
            EXPECT_NE(drawn, l.texts.end())
                << "type " << type << " axis " << a.id << " tick " << tick.label;
        }
    }
}

// The document with every label and name far longer than a chart has room for.
std::string withLongLabels(std::string xml) {
    const std::string longer = " and a description long enough to pass the edge of any picture";
    for (const std::string attr : {"label='", "name='", "seriesName='"}) {
        for (std::size_t at = xml.find(attr); at != std::string::npos; at = xml.find(attr, at)) {
            const std::size_t end = xml.find('\'', at + attr.size());
            if (end == std::string::npos) break;
            xml.insert(end, longer);
            at = end + longer.size();
        }
    }
    return xml;
}

// The sample, and the sample with every label far too long at two sizes (long labels are
// wrapped, thinned or shortened, never cut at the picture's edge): texts apart and inside, every
// point drawn or noted, axes that rise.
TEST_P(EveryType, TextsApartInsideAndEveryPointAccountedFor) {
    const int type = GetParam();
    const std::string sample = testing::sampleFor(type), longer = withLongLabels(sample);
    for (const auto& [xml, width, height] :
         {std::tuple{sample, 480, 320}, std::tuple{longer, 480, 320},
          std::tuple{longer, 320, 240}}) {
        auto player = drawChart(type, xml, width, height);
        const ChartLayout& l = player->scene().layout;
        const std::string what = "type " + std::to_string(type) + " at " + std::to_string(width) +
                                 (xml == sample ? "" : ", long labels");
        EXPECT_EQ(l.width, width);
        EXPECT_EQ(l.height, height);
        ASSERT_TRUE(l.plot.has_value()) << what;
        EXPECT_FALSE(l.series.empty()) << what;
        expectTextsApartAndInside(l, what);
        expectDrawnOrNoted(l, what);
        for (const LayoutAxis& a : l.axes) {
            EXPECT_LT(a.min, a.max) << what << " axis " << a.id;
            for (std::size_t i = 1; i < a.ticks.size(); ++i)
                EXPECT_LT(a.ticks[i - 1].value, a.ticks[i].value) << what << " " << a.id;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllTypes, EveryType, ::testing::Range(1, 38));

// Numbers keep every character where room is short: a tick at the picture's edge moves in (a
// bubble chart 900 px wide whose x axis runs to 150,000 once drew "150,..."), long values beside
// bars stay in the picture with their axis still labelled, and a pie value too long for its
// label column is shown whole after a shortened name, alone, or not at all.
TEST(NumbersKeptWhole, AtThePicturesEdgeAndBesideThePie) {
    const std::string points = "<set x='12000' y='30' z='5'/><set x='120000' y='12' z='7'/>";
    const std::string bars = singleSeries("", {123456789, 987654321, 555555555});
    std::string sets;
    for (const char* name : {"April", "February", "March", "June", "May", "January"})
        sets += std::string("<set label='") + name + " of the year' value='123456789.125'/>";
    const struct {
        int type;
        std::string xml;
        int width, height;
        const char* whole; // a text that must be drawn whole, or ""
    } cases[] = {
        {30, "<chart xAxisMaxValue='150000'><dataset>" + points + "</dataset></chart>", 900, 400,
         "150,000"},
        {30,
         "<chart chartRightMargin='0' xAxisMaxValue='150000'><dataset>" + points +
             "</dataset></chart>",
         900, 400, "150,000"},
        {29, "<chart xNumberPrefix='$' rotateNames='1'><dataset>" + points + "</dataset></chart>",
         300, 200, ""},
        {9, bars, 400, 300, ""},
        {15, bars, 400, 300, ""},
        {20, bars, 400, 300, ""},
        {3, "<chart decimals='3' forceDecimals='1' formatNumberScale='0'>" + sets + "</chart>", 400,
         300, ""},
        {4, "<chart decimals='3' forceDecimals='1' formatNumberScale='0'>" + sets + "</chart>", 300,
         200, ""},
        {6, "<chart showNames='0' decimals='3' formatNumberScale='0'>" + sets + "</chart>", 200,
         150, ""},
    };
    for (const auto& c : cases) {
        const std::string what = "type " + std::to_string(c.type) + " " + c.xml.substr(0, 50) +
                                 " at " + std::to_string(c.width);
        auto player = drawChart(c.type, c.xml, c.width, c.height);
        const ChartLayout& l = player->scene().layout;
        expectTextsApartAndInside(l, what);
        for (const LayoutAxis& a : l.axes) { // thinned, never left without labels
            EXPECT_GE(std::count_if(a.ticks.begin(), a.ticks.end(),
                                    [](const LayoutTick& t) { return !t.label.empty(); }),
                      2)
                << what << " " << a.id;
        }
        if (*c.whole) {
            EXPECT_TRUE(std::any_of(l.texts.begin(), l.texts.end(), [&](const LayoutText& t) {
                return t.text == c.whole;
            })) << what;
        }
        testing::expectSvgTextsMatchLayout(player->svg(), l, what);
    }
}

// A large radius or slicing distance, or no margin, pushes the label columns towards the
// edges: the labels there are shortened (or, with no room at all, left out), never cut, and
// the layout says so.
TEST(PieLabels, LongLabelsOnBothSidesAreShortenedInsideThePictureAndNoted) {
    const std::string longer = " and a description long enough to pass the edge of any picture";
    std::string sets;
    const char* names[] = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta"};
    const int values[] = {10, 20, 30, 25, 5, 8};
    for (int i = 0; i < 6; ++i)
        sets += "<set label='" + std::string(names[i]) + longer + "' value='" +
                std::to_string(values[i]) + "'" + (i == 2 ? " isSliced='1'" : "") + "/>";
    const struct {
        std::string attrs;
        int width, height;
        const char* note;
    } cases[] = {
        {"", 480, 320, "shortened"},
        {"pieRadius='200'", 480, 320, "shortened"},
        {"slicingDistance='60'", 640, 480, "shortened"},
        {"chartLeftMargin='0' chartRightMargin='0'", 640, 480, "shortened"},
        {"showLegend='1' legendPosition='right'", 480, 320, "shortened"},
        {"slicingDistance='60'", 160, 150, "not shown"},
    };
    for (const int type : {3, 4, 5, 6}) {
        for (const auto& c : cases) {
            const std::string what = "type " + std::to_string(type) + " " + c.attrs + " at " +
                                     std::to_string(c.width) + " x " + std::to_string(c.height);
            auto player =
                drawChart(type, "<chart " + c.attrs + ">" + sets + "</chart>", c.width, c.height);
            const ChartLayout& l = player->scene().layout;
            expectTextsApartAndInside(l, what);
            EXPECT_TRUE(testing::hasNote(l, c.note)) << what;
            const auto labels = std::count_if(l.texts.begin(), l.texts.end(), [](const auto& t) {
                return t.tag.kind == TextKind::PieLabel;
            });
            // Without room on either side no label is drawn; otherwise some are.
            EXPECT_EQ(labels > 0, std::string(c.note) == "shortened") << what;
            // A shortened label loses part of its name (drawn before the value), never its
            // value.
            const auto isName = [](const LayoutText& t) {
                return t.tag.kind == TextKind::PieLabel &&
                       (t.fullText.empty() ? t.text : t.fullText).back() == ',';
            };
            for (const auto& t : l.texts) {
                if (!isName(t)) continue;
                const std::string value = std::to_string(values[t.tag.index]);
                EXPECT_TRUE(std::any_of(l.texts.begin(), l.texts.end(),
                                        [&](const auto& v) {
                                            return v.tag.kind == TextKind::PieLabel &&
                                                   v.tag.index == t.tag.index && v.text == value &&
                                                   v.box.x >= 0 && v.box.x + v.box.w <= c.width;
                                        }))
                    << what << ": " << t.text;
            }
            const auto withValues = std::count_if(l.texts.begin(), l.texts.end(), isName);
            EXPECT_EQ(withValues > 0, labels > 0) << what;
        }
    }
}

// A column's value label must name that column: its centre lies over the column's own rectangle
// (across the category axis) and the text is its value.
void expectLabelsOverTheirColumns(const ChartPlayer& player, bool bars, const std::string& what) {
    const Scene& scene = player.scene();
    std::size_t checked = 0;
    for (const LayoutText& t : scene.layout.texts) {
        if (t.tag.kind != TextKind::ValueLabel || t.tag.index < 0) continue;
        std::optional<HitRegion> own;
        for (const HitRegion& h : scene.hits) {
            if (h.kind != player::HitKind::Column && h.kind != player::HitKind::Bar) continue;
            if (h.seriesIndex == t.tag.series && h.pointIndex == t.tag.index) {
                own = h;
            } else {
                // Over a neighbour it would read as the neighbour's value.
                EXPECT_FALSE(t.box.overlaps(h.rect))
                    << what << ": '" << t.text << "' covers point " << h.pointIndex;
            }
        }
        ASSERT_TRUE(own) << what << ": no column for '" << t.text << "'";
        double mid = bars ? t.box.y + t.box.h / 2 : t.box.x + t.box.w / 2;
        double lo = bars ? own->rect.y : own->rect.x;
        double hi = bars ? own->rect.bottom() : own->rect.right();
        EXPECT_GE(mid, lo - 0.5) << what << ": '" << t.text << "' of point " << t.tag.index;
        EXPECT_LE(mid, hi + 0.5) << what << ": '" << t.text << "' of point " << t.tag.index;
        ++checked;
    }
    EXPECT_GT(checked, 0u) << what;
}

TEST(LayoutModel, ValueLabelsSitOverTheirOwnColumns) {
    std::vector<double> many;
    for (int i = 0; i < 60; ++i)
        many.push_back(1000 + 37.0 * ((i * 7919) % 61));
    // A bar per country of the world, values asked for: most are hidden, none collides.
    std::vector<double> countries;
    for (int i = 0; i < 187; ++i)
        countries.push_back(12000 + 881.0 * ((i * 53) % 187));
    struct Case {
        int type;
        std::string xml;
        bool bars;
    } cases[] = {
        {2, testing::singleSeriesSample, false},
        {9, testing::singleSeriesSample, true},
        {1, singleSeries("", {5, -3, 8, -1}), false},
        {11, testing::multiSeriesSample(false), false},
        {2, singleSeries("", many), false},
        {9, singleSeries("", many, "A much longer category name "), true},
        {9, singleSeries("showValues='1'", countries, "Country "), true},
        {14, singleSeries("showValues='1'", countries, "Country "), true},
    };
    for (const Case& c : cases) {
        auto player = drawChart(c.type, c.xml);
        expectLabelsOverTheirColumns(*player, c.bars, c.xml.substr(0, 60));
        expectTextsApartAndInside(player->scene().layout, c.xml.substr(0, 60));
    }
}

// 3D columns with negative values and small decimals, many of them and with the decimals
// settings: every value label sits over its own column, reads as its own value formatted (never
// a "0" run into "0.01"), and no text overlaps another.
TEST(LayoutModel, SmallNegativeValuesOn3DColumnsStayApart) {
    std::vector<double> small;
    for (int i = 0; i < 48; ++i)
        small.push_back((i % 2 ? -1 : 1) * 0.001 * (1 + (i * 7) % 30));
    auto twoSeries = [&](const std::string& attrs, int n) {
        std::vector<testing::Dataset> sets = {{"S0", {}}, {"S1", {}}};
        for (int i = 0; i < n; ++i)
            for (std::size_t d = 0; d < 2; ++d)
                sets[d].values.push_back(small[(i + d * 7) % small.size()]);
        return testing::multiSeries(attrs, testing::numbered("C", n), sets);
    };
    struct Case {
        int type;
        std::string xml;
    } cases[] = {
        {1, singleSeries("decimals='2' forceDecimals='1'", small)},
        {1, singleSeries("decimals='3'", std::vector<double>(small.begin(), small.begin() + 12))},
        {1, singleSeries("", small)},
        {10, twoSeries("decimals='2' forceDecimals='1'", 24)},
        {10, twoSeries("decimals='1'", 8)},
        {16, twoSeries("", 12)},
    };
    for (const Case& c : cases) {
        for (auto [w, h] : {std::pair{640, 400}, std::pair{320, 240}}) {
            // Stacked labels go inside their segments: at the small size none has room.
            if (c.type == 16 && w < 640) continue;
            auto player = drawChart(c.type, c.xml, w, h);
            std::string what = "type " + std::to_string(c.type) + " " + std::to_string(w) + " " +
                               c.xml.substr(0, 50);
            expectTextsApartAndInside(player->scene().layout, what);
            for (const LayoutText& t : player->scene().layout.texts) {
                if (t.tag.kind != TextKind::ValueLabel) continue;
                std::string digits = t.text[0] == '-' ? t.text.substr(1) : t.text;
                EXPECT_FALSE(digits.size() > 1 && digits[0] == '0' && digits[1] != '.')
                    << what << ": " << t.text;
            }
            expectLabelsOverTheirColumns(*player, false, what);
        }
    }
}

TEST(LayoutModel, HiddenValueLabelsAndThinnedCategoriesAreNoted) {
    std::vector<double> many;
    for (int i = 0; i < 120; ++i)
        many.push_back(100000 + 1234.5 * ((i * 37) % 120));
    many[90] = 400000; // the largest value keeps its label, wherever it is
    auto player = drawChart(2, singleSeries("showValues='1'", many), 480, 320);
    expectLabelsOverTheirColumns(*player, false, "120 columns");
    const ChartLayout& l = player->scene().layout;
    std::size_t values = 0, categories = 0;
    bool largestShown = false;
    for (const LayoutText& t : l.texts) {
        values += t.tag.kind == TextKind::ValueLabel;
        categories += t.tag.kind == TextKind::CategoryLabel;
        largestShown |= t.tag.kind == TextKind::ValueLabel && t.tag.index == 90;
    }
    EXPECT_LT(values, 120u);
    EXPECT_TRUE(largestShown);
    EXPECT_LT(categories, 120u);
    EXPECT_TRUE(testing::hasNote(l, "value labels hidden"));
    EXPECT_TRUE(testing::hasNote(l, "category labels thinned"));
    ASSERT_EQ(l.series.size(), 1u);
    EXPECT_EQ(l.series[0].points, 120u);
    EXPECT_EQ(l.series[0].drawn, 120u);
}

TEST(LayoutModel, GridRowsThatDoNotFitEndInAnAndMoreRow) {
    std::vector<double> rows;
    for (int i = 0; i < 200; ++i)
        rows.push_back(i + 1);
    auto player = drawChart(37, singleSeries("", rows, "Row "), 320, 240);
    const ChartLayout& l = player->scene().layout;
    ASSERT_EQ(l.series.size(), 1u);
    EXPECT_EQ(l.series[0].points, 200u);
    std::size_t shown = l.series[0].drawn;
    EXPECT_GT(shown, 10u); // rows got lower before any was left out
    EXPECT_LT(shown, 200u);
    std::string more = "and " + std::to_string(200 - shown) + " more";
    EXPECT_TRUE(std::any_of(l.texts.begin(), l.texts.end(), [&](const LayoutText& t) {
        return t.text == more;
    })) << more;
    ASSERT_FALSE(l.notes.empty());
    EXPECT_NE(l.notes.back().find(std::to_string(200 - shown) + " rows not shown"),
              std::string::npos);
    expectTextsApartAndInside(l, "grid");

    // Rows that fit are all shown, without a note.
    auto few = drawChart(37, singleSeries("", {1, 2, 3}, "Row "), 320, 240);
    EXPECT_EQ(few->scene().layout.series[0].drawn, 3u);
    EXPECT_TRUE(few->scene().layout.notes.empty());
}

TEST(LayoutJson, WritesTheModelWithEscapedTexts) {
    ChartLayout l;
    l.width = 200;
    l.height = 100;
    l.plot = Rect{10.123, 20, 150.5, 60};
    LayoutAxis& y = l.axisFor("y");
    y.min = -5;
    y.max = 2.5e6;
    y.ticks.push_back({-5, "-5", {1, 2, 3, 4}});
    y.ticks.push_back({2.5e6, "", {}});
    l.texts.push_back(
        {{TextKind::Caption}, "A \"quoted\" \\ caption\n\x01", {0, 0, 50, 12}, 0, ""});
    l.texts.push_back({{TextKind::ValueLabel, 1, 3}, "1.5K", {5, 6, 7, 8}, -45, ""});
    l.texts.push_back(
        {{TextKind::CategoryLabel, -1, 2}, "Febr\u2026", {9, 10, 11, 12}, 0, "February"});
    LayoutSeries s;
    s.name = "Sales";
    s.axis = "y2";
    s.renderAs = "line";
    s.points = 12;
    s.drawn = 5;
    s.window = std::pair<std::size_t, std::size_t>{3, 5};
    l.series.push_back(s);
    l.legend.push_back({"Sales", rgb(0x1A2B3C)});
    l.notes.push_back("7 points outside the window");
    std::ifstream golden(std::string(PLOTARA_TEST_DATA) + "/player/layout.json");
    std::stringstream expected;
    expected << golden.rdbuf();
    EXPECT_EQ(layoutJson(l), expected.str());

    ChartLayout message;
    message.width = 10;
    message.height = 10;
    EXPECT_EQ(layoutJson(message),
              "{\"width\":10,\"height\":10,\n\"plot\":null,\n\"axes\":[],\n"
              "\"texts\":[],\n\"series\":[],\n\"legend\":[],\n\"notes\":[]}\n");
}

// Numbers from 0 to 1, the same on every platform.
struct Lcg {
    std::uint32_t seed;
    double operator()() {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<double>(seed >> 8) / static_cast<double>(1u << 24);
    }
};

// Random data of every shape on every type: no two texts overlap and all stay in the picture
// (overlapping labels once printed "00.01" from "0" and "0.01").
TEST(LayoutModel, RandomDataKeepsTextsApart) {
    Lcg next{12345};
    // Long values: no number scale, many decimals, prefixes and suffixes, percentages.
    const char* const looks[] = {"", "formatNumberScale='0' decimals='3' numberPrefix='$ '",
                                 "showPercentValues='1' forceDecimals='1' decimals='5' "
                                 "formatNumberScale='0' numberSuffix=' M'"};
    for (int round = 0; round < 3; ++round) {
        for (int type = 1; type <= 37; ++type) {
            if (type == 29 || type == 30) continue; // XY charts take x and y, not sets
            int n = 3 + static_cast<int>(next() * 40);
            double scale = std::pow(10.0, static_cast<int>(next() * 14) - 3);
            std::vector<testing::Dataset> sets = {{"S0", {}}, {"S1", {}, "parentYAxis='S'"}};
            for (testing::Dataset& d : sets)
                for (int i = 0; i < n; ++i) {
                    char v[40];
                    std::snprintf(v, sizeof v, "%.6g", (next() - 0.3) * scale);
                    d.values.push_back(std::atof(v));
                }
            auto player = testing::drawChart(
                type,
                testing::multiSeries(std::string("showValues='1' ") + looks[round],
                                     testing::numbered("Item ", n), sets),
                400, 300);
            expectTextsApartAndInside(player->scene().layout, "type " + std::to_string(type) +
                                                                  " round " +
                                                                  std::to_string(round));
            expectDrawnOrNoted(player->scene().layout, "type " + std::to_string(type));
        }
    }
}

// Random scatter and bubble data, with value labels, on linear and logarithmic axes.
TEST(LayoutModel, RandomXYDataKeepsTextsApart) {
    Lcg next{99};
    for (int round = 0; round < 6; ++round) {
        const double xScale = std::pow(10.0, round); // x ticks up to 100,000,000
        for (int type : {29, 30}) {
            std::string xml = std::string("<chart showValues='1' formatNumberScale='0'") +
                              (round % 2 ? " logScale='1'" : "") +
                              (round > 3 ? " xNumberPrefix='$' rotateNames='1'" : "") + ">";
            for (int d = 0; d < 2; ++d) {
                xml += "<dataset seriesName='S" + std::to_string(d) + "'>";
                int n = 5 + static_cast<int>(next() * 60);
                for (int i = 0; i < n; ++i) {
                    char v[120];
                    std::snprintf(v, sizeof v, "<set x='%.4g' y='%.4g' z='%.3g' name='P%d'/>",
                                  (next() * 1000 - 100) * xScale, next() * 50 - 5, next() * 30, i);
                    xml += v;
                }
                xml += "</dataset>";
            }
            xml += "</chart>";
            auto player = testing::drawChart(type, xml, round % 3 ? 400 : 900, 300);
            std::string what = "type " + std::to_string(type) + " round " + std::to_string(round);
            expectTextsApartAndInside(player->scene().layout, what);
            expectDrawnOrNoted(player->scene().layout, what);
        }
    }
}

} // namespace
} // namespace plotara
