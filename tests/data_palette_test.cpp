// The colour palette on its own and as the document writers use it.
#include "core/Error.h"
#include "data/PTColors.h"
#include "data_test_support.h"

#include <gtest/gtest.h>

namespace plotara {
namespace {

using test::chart;
using test::lines;

std::vector<String> next(PTColors& palette, int count) {
    std::vector<String> out;
    for (int i = 0; i < count; ++i)
        out.push_back(palette.getColor());
    return out;
}

TEST(PTColors, BuiltInListWrapsEvery24Entries) {
    PTColors palette;
    EXPECT_EQ(palette.getColor(0), L"");
    EXPECT_EQ(palette.getColor(1), L"AFD8F8");
    EXPECT_EQ(palette.getColor(23), L"6DCFF6");
    EXPECT_EQ(palette.getColor(24), L"");
    EXPECT_EQ(palette.getColor(25), L"AFD8F8");
    EXPECT_EQ(palette.colorIndex(), 0) << "the running index belongs to user colours";
    EXPECT_THROW(palette.getColor(-1), Error);
}

TEST(PTColors, UserColoursCycleInListOrder) {
    PTColors palette;
    palette.addColors(L"FF0000;00FF00;0000FF");
    EXPECT_EQ(next(palette, 5),
              (std::vector<String>{L"FF0000", L"00FF00", L"0000FF", L"FF0000", L"00FF00"}));
    PTColors single;
    single.addColors(L"ABCDEF");
    EXPECT_EQ(next(single, 3), (std::vector<String>{L"ABCDEF", L"ABCDEF", L"ABCDEF"}));
}

TEST(PTColors, IndexedRequestsDoNotWrap) {
    PTColors palette;
    palette.addColors(L"FF0000;00FF00;0000FF");
    EXPECT_EQ(palette.getColor(2), L"00FF00");
    EXPECT_EQ(palette.getColor(3), L"0000FF");
    EXPECT_EQ(palette.getColor(7), L"0000FF");
    EXPECT_EQ(test::errorOf([&] { palette.getColor(-2); }), 9);
}

TEST(PTColors, ItemsArePaddedButNotTrimmed) {
    PTColors palette;
    palette.addColors(L"F;ABC");
    EXPECT_EQ(palette.userColors(), (std::vector<String>{L"00000F", L"000ABC"}));
    palette.addColors(L"FF0000;");
    EXPECT_EQ(palette.userColors(), (std::vector<String>{L"FF0000", L"000000"}));
    palette.addColors(L" FF0000");
    EXPECT_EQ(palette.userColors(), std::vector<String>{L" FF0000"});
    palette.setDelimiter(L"|");
    palette.addColors(L"FF0000|00FF00");
    EXPECT_EQ(palette.userColors().size(), 2u);
}

TEST(PTColors, AnEmptyListSwitchesUserColoursOff) {
    PTColors palette;
    palette.addColors(L"FF0000");
    palette.addColors(L"");
    EXPECT_FALSE(palette.isCustomColors());
    EXPECT_EQ(palette.getColor(), L"");
}

TEST(PaletteInDocuments, DatasetsTakeTheNextColoursAndDropTheirOwn) {
    auto data = chart(11);
    data->addColors(L"FF0000;00FF00");
    data->addCategory(L"Jan");
    data->addDataset(L"A", L"color=123456");
    data->addChartData(L"1");
    data->addDataset(L"B");
    data->addChartData(L"2");
    const String expected =
        lines({L"<chart>", L"<categories>", L"<category label='Jan' />", L"</categories>",
               L"<dataset seriesName='A' color='FF0000'>", L"<set value='1'  />", L"</dataset>",
               L"<dataset seriesName='B' color='00FF00'>", L"<set value='2'  />", L"</dataset>",
               L"</chart>"});
    EXPECT_EQ(data->getXML(), expected);
    EXPECT_EQ(data->getXML(), expected) << "a cached document does not advance the palette";
}

TEST(PaletteInDocuments, SingleSeriesPointsTakeOneColourEach) {
    auto data = chart(1);
    data->addColors(L"FF0000;00FF00");
    data->addChartData(L"10", L"Color=ABCDEF;link=x");
    data->addChartData(L"20");
    data->addChartData(L"30");
    EXPECT_EQ(data->getXML(), lines({L"<chart>", L"<set value='10'  link='x' color='FF0000' />",
                                     L"<set value='20'  color='00FF00' />",
                                     L"<set value='30'  color='FF0000' />", L"</chart>"}));
}

TEST(PaletteInDocuments, TheSequenceContinuesIntoTheNextDocumentUntilCleared) {
    auto data = chart(1);
    data->addColors(L"FF0000;00FF00;0000FF");
    data->addChartData(L"1");
    data->getXML();
    data->addChartData(L"2");
    EXPECT_EQ(data->getXML(),
              lines({L"<chart>", L"<set value='2'  color='00FF00' />", L"</chart>"}));
    data->clearUserColor();
    data->addChartData(L"3", L"color=ABCDEF");
    EXPECT_EQ(data->getXML(),
              lines({L"<chart>", L"<set value='3'  color='ABCDEF' />", L"</chart>"}));
    data->addColors(L"FF0000;00FF00;0000FF");
    data->addChartData(L"4");
    EXPECT_EQ(data->getXML(),
              lines({L"<chart>", L"<set value='4'  color='FF0000' />", L"</chart>"}));
}

TEST(PaletteInDocuments, ColourListsFollowTheParameterDelimiter) {
    auto data = chart(1);
    data->setParamDelimiter(L"|");
    data->addColors(L"FF0000|00FF00");
    data->addChartData(L"1");
    data->addChartData(L"2");
    data->clearUserColor(); // the fresh palette keeps the delimiter
    data->addColors(L"0000FF|FFFF00");
    EXPECT_EQ(data->getXML(), lines({L"<chart>", L"<set value='1'  color='0000FF' />",
                                     L"<set value='2'  color='FFFF00' />", L"</chart>"}));
}

} // namespace
} // namespace plotara
