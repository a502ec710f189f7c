// Large documents through the parser: the elements it gives up as it reads them must all arrive
// in the model, in document order, with the vertical lines between them in place, whatever
// other elements lie between them.
#include "player/model/ChartParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace plotara {
namespace {

using namespace player;

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
} // namespace plotara
