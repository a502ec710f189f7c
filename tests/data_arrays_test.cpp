// Categories and data from host arrays.
#include "core/Error.h"
#include "core/SafeArray.h"
#include "data/ArrayClass.h"
#include "data/detail/ArrayClassTestAccess.h"
#include "data_test_support.h"

#include <gtest/gtest.h>

namespace plotara {
namespace {

using test::chart;
using test::lines;

Variant row1D(std::vector<Variant> items, Long lower = 0) {
    return Variant(SafeArray::of(std::move(items), lower));
}
Variant table(std::vector<std::vector<Variant>> rows, Long rowLower = 0, Long columnLower = 0) {
    return Variant(SafeArray::of2D(std::move(rows), rowLower, columnLower));
}

TEST(CategoryArrays, OneLabelPerElementWhateverTheLowerBound) {
    for (Long lower : {0, 1, -3}) {
        auto data = chart(1);
        data->addCategoryFromArray(row1D({L"Jan", Variant(Integer{2}), Variant(2.5)}, lower));
        data->addChartData(L"1");
        data->addChartData(L"2");
        data->addChartData(L"3");
        EXPECT_TRUE(data->get_isDataAdded());
        EXPECT_EQ(data->getXML(), lines({L"<chart>", L"<set label='Jan'  Value='1' />",
                                         L"<set label='2'  Value='2' />",
                                         L"<set label='2.5'  Value='3' />", L"</chart>"}))
            << "lower bound " << lower;
    }
}

TEST(CategoryArrays, XYRowsCarryTheirXPositionWithAFixedSemicolon) {
    auto data = chart(29);
    data->setParamDelimiter(L"|");
    data->addCategoryFromArray(table({{L"20", L"20"}, {L"", Variant(Long{35})}}, 1));
    data->addDataset(L"S");
    data->addChartData(L"1");
    // The composed parameter text "X=20;" is parsed with the delimiter "|": the ";" stays.
    EXPECT_EQ(data->getXML(),
              lines({L"<chart>", L"<categories>", L"<category label='20' X='20;' />",
                     L"<category X='35;' />", L"</categories>", L"<dataset seriesName='S' >",
                     L"<set X='1' Y=''  />", L"</dataset>", L"</chart>"}));
}

TEST(CategoryArrays, WrongShapesReachTheCallerAndKeepEarlierItems) {
    auto data = chart(1);
    EXPECT_EQ(test::errorOf([&] { data->addCategoryFromArray(Variant(L"not an array")); }), 13);
    auto scatter = chart(29);
    EXPECT_EQ(test::errorOf([&] { scatter->addCategoryFromArray(row1D({L"a"})); }), 9);
    auto ragged = chart(1);
    Variant mixed(SafeArray(std::vector<SafeArray::Bound>{{0, 2}}));
    mixed.array().at(0) = L"ok";
    mixed.array().at(1) = Variant::null();
    EXPECT_THROW(ragged->addCategoryFromArray(mixed), Error);
    EXPECT_EQ(ArrayClassTestAccess::counters(ragged->engine()).categoryCount, 1);
}

TEST(DataArrays, SingleSeriesRowsAreLabelAndValue) {
    auto data = chart(1);
    data->addChartDataFromArray(
        table({{L"Jan", Variant(Integer{10})}, {L"Feb", Variant(20.5)}}, 1));
    EXPECT_TRUE(data->get_isDataAdded());
    EXPECT_EQ(data->getXML(), lines({L"<chart>", L"<set value='10'  label='Jan' />",
                                     L"<set value='20.5'  label='Feb' />", L"</chart>"}));
}

TEST(DataArrays, MultiSeriesRowsAfterCategoriesSkipEmptyCells) {
    auto data = chart(11);
    data->addCategory(L"a");
    data->addCategory(L"b");
    data->addCategory(L"c");
    data->addChartDataFromArray(table({{L"2008", L"", L"1", L"2", L"", L"4"}}));
    EXPECT_EQ(data->getXML(),
              lines({L"<chart>", L"<categories>", L"<category label='a' />",
                     L"<category label='b' />", L"<category label='c' />", L"</categories>",
                     L"<dataset seriesName='2008'>", L"<set value='1'  />", L"<set value='2'  />",
                     L"<set value='4'  />", L"</dataset>", L"</chart>"}));
}

TEST(DataArrays, ACategoryArrayAlwaysSelectsTheMultiSeriesForm) {
    auto data = chart(11);
    data->addChartDataFromArray(
        table({{L"A", L"showValues=0", L"1", L"2"}, {L"B", L"", L"3", L"4"}}), row1D({L"x", L"y"}));
    EXPECT_EQ(
        data->getXML(),
        lines({L"<chart>", L"<categories>", L"<category label='x' />", L"<category label='y' />",
               L"</categories>", L"<dataset seriesName='A' showValues='0'>", L"<set value='1'  />",
               L"<set value='2'  />", L"</dataset>", L"<dataset seriesName='B'>",
               L"<set value='3'  />", L"<set value='4'  />", L"</dataset>", L"</chart>"}));
}

TEST(DataArrays, ColumnTestsUseFixedIndicesNotTheLowerBound) {
    // With columns from 1 there is no column 0: no dataset is opened, column 1 ("A") is skipped,
    // and columns 2 and 3 are values.
    auto data = chart(11);
    data->addCategory(L"a");
    data->addChartDataFromArray(table({{L"A", L"5", L"6"}}, 0, 1));
    const auto counters = ArrayClassTestAccess::counters(data->engine());
    EXPECT_EQ(counters.datasetCount, 0);
    EXPECT_EQ(counters.dataPointCount, 2);
}

TEST(DataArrays, BubbleCellsSplitIntoXYZ) {
    auto data = chart(30);
    data->addCategory(L"", L"x=0");
    data->addChartDataFromArray(table({{L"S", L"", L"30;1.3;116", L"31", L"32;2", L"33;1;2;3"}}));
    EXPECT_EQ(data->getXML(),
              lines({L"<chart>", L"<categories>", L"<category x='0' />", L"</categories>",
                     L"<dataset seriesName='S' >", L"<set X='30' Y='1.3' Z='116'  />",
                     L"<set X='31' Y='' Z=''  />", L"<set X='32' Y='2' Z=''  />",
                     L"<set X='33' Y='' Z=''  />", L"</dataset>", L"</chart>"}));
}

// The object's separator is its own: a parameter delimiter of "|" changes how parameter texts
// are parsed but not how XY cells split, and getDelimiter keeps answering ";". (The point's
// composed "Y=1.3;Z=116" is then parsed with "|", so its ";" stays in the y value.)
TEST(DataArrays, XYCellsSplitOnTheObjectsSeparatorWhateverTheParameterDelimiter) {
    auto data = chart(30);
    data->setParamDelimiter(L"|");
    data->addCategory(L"", L"x=0|showVerticalLine=1");
    data->addChartDataFromArray(table({{L"S", L"", L"30;1.3;116", L"31|2|3"}}));
    EXPECT_EQ(data->getDelimiter(), L";");
    EXPECT_EQ(data->getXML(),
              lines({L"<chart>", L"<categories>", L"<category x='0' showVerticalLine='1' />",
                     L"</categories>", L"<dataset seriesName='S' >",
                     L"<set X='30' Y='1.3;Z=116' Z=''  />", L"<set X='31|2|3' Y='' Z=''  />",
                     L"</dataset>", L"</chart>"}));
}

TEST(DataArrays, NeverRaisesAndStillMarksDataAdded) {
    auto data = chart(11);
    data->addCategory(L"a");
    data->put_isDataAdded(false);
    EXPECT_NO_THROW(data->addChartDataFromArray(row1D({L"A", L"1"})));
    EXPECT_NO_THROW(data->addChartDataFromArray(Variant(L"text")));
    EXPECT_NO_THROW(data->addChartDataFromArray(Variant::null(), Variant(L"not an array")));
    EXPECT_TRUE(data->get_isDataAdded());
    EXPECT_EQ(ArrayClassTestAccess::counters(data->engine()).datasetCount, 0);

    auto single = chart(1);
    EXPECT_NO_THROW(single->addChartDataFromArray(row1D({L"Jan", L"10"})));
    EXPECT_EQ(ArrayClassTestAccess::counters(single->engine()).dataPointCount, 0);
}

} // namespace
} // namespace plotara
