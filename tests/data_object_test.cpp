// The public data object: its own rules, its dispatch interface, categories and data from host
// arrays, and the colour palette on its own and as the document writers use it.
#include "core/Error.h"
#include "core/SafeArray.h"
#include "core/Text.h"
#include "core_test_support.h"
#include "data/ArrayClass.h"
#include "data/PTColors.h"
#include "data/detail/ArrayClassTestAccess.h"
#include "data_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace plotara {
namespace {

using test::chart;
using test::lines;

using test::errorOf;

TEST(DataObject, OnlyTheAddingMembersSetTheFlag) {
    auto data = chart(11);
    data->setChartParams(L"a=1");
    data->setCategoriesParams(L"a=1");
    data->applyStyle(L"CAPTION", L"S");
    data->defineStyle(L"S", L"font", L"");
    data->addTrendLine(L"startValue=1");
    data->addVTrendLine(L"startValue=1");
    data->addVLine(L"color=1");
    data->addMSLineset(L"L");
    data->addMSLinesetData(L"1");
    data->createMSStDataset();
    data->addMSStSubDataset(L"S");
    data->addColors(L"FF0000");
    data->setGridParams(L"a=1;b=2");
    EXPECT_FALSE(data->get_isDataAdded());
    data->addCategory(L"c");
    EXPECT_TRUE(data->get_isDataAdded());
    data->put_isDataAdded(false);
    data->addChartData(L"1");
    EXPECT_TRUE(data->get_isDataAdded());
}

TEST(DataObject, GridParametersSeparatorAndChartTypeTexts) {
    auto data = chart(1);
    data->setGridParams(L"a=1;b=2");
    data->setParamDelimiter(L"|");
    EXPECT_EQ(data->getGridParams(), L"a=1;b=2");
    EXPECT_EQ(data->getDelimiter(), L";");
    EXPECT_EQ(data->engine().delimiter(), L"|");
    EXPECT_EQ(data->getXML(), lines({L"<chart>", L"</chart>"}));
    auto typed = chart(11);
    for (const wchar_t* bad : {L"abc", L"", L"40000", L"1e9"}) {
        EXPECT_NO_THROW(typed->setChartTypeNumber(bad));
        EXPECT_EQ(typed->engine().chartType(), 11) << toUtf8(bad);
    }
    typed->setChartTypeNumber(L" 29.4 ");
    EXPECT_EQ(typed->engine().chartType(), 29);
    EXPECT_EQ(typed->engine().chartKind(), 5);
    typed->setChartTypeNumber(L"99"); // no such chart: the kind stays
    EXPECT_EQ(typed->engine().chartKind(), 5);
}

TEST(DataDispatch, EveryMemberByNameAndId) {
    // The ids run from 0x60030006 in this order ("-" for the one left unused).
    std::wistringstream names(
        L"setChartParam setChartParams setCategoriesParams getXML - setParamDelimiter addCategory "
        L"addDataset addChartData applyStyle defineStyle addVLine addTrendLine "
        L"addChartDataFromArray addCategoryFromArray addDataFromDatabase addMSLineset "
        L"addVTrendLine createMSStDataset addMSStSubDataset addMSLinesetData "
        L"addCategoryFromDatabase addDatasetsFromDatabase setGridParams addColors");
    PlotaraData data;
    Long id = 0x60030006;
    for (String name; names >> name; ++id) {
        if (name == L"-") continue;
        EXPECT_EQ(data.idOfName(name), id) << toUtf8(name);
        EXPECT_EQ(data.idOfName(text::toUpper(name)), id) << "names match in any case";
    }
    EXPECT_EQ(id, 0x6003001f);
    EXPECT_EQ(data.idOfName(L"clearUserColor"), 0x60030024);
    EXPECT_EQ(errorOf([&] { data.idOfName(L"getXml2"); }), 438);
    EXPECT_EQ(errorOf([&] { data.idOfName(L"resetData"); }), 438) << "internal members stay hidden";
    std::vector<Variant> none;
    EXPECT_EQ(errorOf([&] { data.invoke(0x60030001, InvokeKind::Method, none); }), 438);
}

TEST(DataDispatch, BuildsADocumentLateBound) {
    PlotaraData data;
    data.setChartTypeNumber(L"1");
    callByName(data, L"setChartParams", InvokeKind::Method, {L"caption=Late"});
    callByName(data, L"addChartData", InvokeKind::Method, {Variant(Integer{10})});
    callByName(data, L"ADDCHARTDATA", InvokeKind::Method,
               {Variant(2.5), L"label=b", Variant::missing()});
    Variant rows(SafeArray::of2D({{L"Jan", Variant(Integer{1})}})); // arrays arrive as variants
    callByName(data, L"addChartDataFromArray", InvokeKind::Method, {rows});
    const Variant document = callByName(data, L"getXML", InvokeKind::Method);
    EXPECT_EQ(document.asString(), lines({L"<chart caption='Late'>", L"<set value='10'  />",
                                          L"<set value='2.5'  label='b' />",
                                          L"<set value='1'  label='Jan' />", L"</chart>"}));
    EXPECT_EQ(callByName(data, L"getXML", InvokeKind::PropertyGet).asString(), document.asString());
}

TEST(DataDispatch, ArgumentRules) {
    PlotaraData data;
    data.setChartTypeNumber(L"11");
    const struct {
        const wchar_t* name;
        InvokeKind kind;
        std::vector<Variant> arguments;
        Long error;
    } cases[] = {
        {L"addCategory", InvokeKind::Method, {}, 449},
        {L"addDataset", InvokeKind::Method, {Variant::missing(), L"x=1"}, 449},
        {L"createMSStDataset", InvokeKind::Method, {L"extra"}, 450},
        {L"addCategory", InvokeKind::Method, {Variant::null()}, 94},
        {L"addCategory", InvokeKind::PropertyPut, {L"a"}, 438},
        {L"addDataFromDatabase", InvokeKind::Method, {L"no recordset", L"v"}, 424},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorOf([&] { callByName(data, c.name, c.kind, c.arguments); }), c.error)
            << toUtf8(c.name);
    EXPECT_EQ(ArrayClassTestAccess::counters(data.engine()).categoryCount, 0)
        << "failed calls record nothing";
}

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
        for (const wchar_t* value : {L"1", L"2", L"3"})
            data->addChartData(value);
        EXPECT_EQ(data->getXML(), lines({L"<chart>", L"<set label='Jan'  Value='1' />",
                                         L"<set label='2'  Value='2' />",
                                         L"<set label='2.5'  Value='3' />", L"</chart>"}))
            << "lower bound " << lower;
    }
}

// Whole documents from arrays. The composed XY parameter texts ("X=20;", "Y=1.3;Z=116") are
// parsed with the delimiter "|": their ";" stays. The object's own separator splits XY cells
// whatever the parameter delimiter.
TEST(DataArrays, DocumentsOfEveryForm) {
    test::expectDocuments({
        {"single-series rows are label and value", 1,
         [](PlotaraData& d) {
             d.addChartDataFromArray(
                 table({{L"Jan", Variant(Integer{10})}, {L"Feb", Variant(20.5)}}, 1));
         },
         lines({L"<chart>", L"<set value='10'  label='Jan' />",
                L"<set value='20.5'  label='Feb' />", L"</chart>"})},
        {"multi-series rows after categories skip empty cells", 11,
         [](PlotaraData& d) {
             for (const wchar_t* label : {L"a", L"b", L"c"})
                 d.addCategory(label);
             d.addChartDataFromArray(table({{L"2008", L"", L"1", L"2", L"", L"4"}}));
         },
         lines({L"<chart>", L"<categories>", L"<category label='a' />", L"<category label='b' />",
                L"<category label='c' />", L"</categories>", L"<dataset seriesName='2008'>",
                L"<set value='1'  />", L"<set value='2'  />", L"<set value='4'  />", L"</dataset>",
                L"</chart>"})},
        {"a category array always selects the multi-series form", 11,
         [](PlotaraData& d) {
             d.addChartDataFromArray(
                 table({{L"A", L"showValues=0", L"1", L"2"}, {L"B", L"", L"3", L"4"}}),
                 row1D({L"x", L"y"}));
         },
         lines({L"<chart>", L"<categories>", L"<category label='x' />", L"<category label='y' />",
                L"</categories>", L"<dataset seriesName='A' showValues='0'>", L"<set value='1'  />",
                L"<set value='2'  />", L"</dataset>", L"<dataset seriesName='B'>",
                L"<set value='3'  />", L"<set value='4'  />", L"</dataset>", L"</chart>"})},
        {"XY category rows carry their x position with a fixed semicolon", 29,
         [](PlotaraData& d) {
             d.setParamDelimiter(L"|");
             d.addCategoryFromArray(table({{L"20", L"20"}, {L"", Variant(Long{35})}}, 1));
             d.addDataset(L"S");
             d.addChartData(L"1");
         },
         lines({L"<chart>", L"<categories>", L"<category label='20' X='20;' />",
                L"<category X='35;' />", L"</categories>", L"<dataset seriesName='S' >",
                L"<set X='1' Y=''  />", L"</dataset>", L"</chart>"})},
        {"bubble cells split into X, Y and Z", 30,
         [](PlotaraData& d) {
             d.addCategory(L"", L"x=0");
             d.addChartDataFromArray(
                 table({{L"S", L"", L"30;1.3;116", L"31", L"32;2", L"33;1;2;3"}}));
         },
         lines({L"<chart>", L"<categories>", L"<category x='0' />", L"</categories>",
                L"<dataset seriesName='S' >", L"<set X='30' Y='1.3' Z='116'  />",
                L"<set X='31' Y='' Z=''  />", L"<set X='32' Y='2' Z=''  />",
                L"<set X='33' Y='' Z=''  />", L"</dataset>", L"</chart>"})},
        {"XY cells split on the object's separator", 30,
         [](PlotaraData& d) {
             d.setParamDelimiter(L"|");
             d.addCategory(L"", L"x=0|showVerticalLine=1");
             d.addChartDataFromArray(table({{L"S", L"", L"30;1.3;116", L"31|2|3"}}));
         },
         lines({L"<chart>", L"<categories>", L"<category x='0' showVerticalLine='1' />",
                L"</categories>", L"<dataset seriesName='S' >",
                L"<set X='30' Y='1.3;Z=116' Z=''  />", L"<set X='31|2|3' Y='' Z=''  />",
                L"</dataset>", L"</chart>"})},
    });
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

std::vector<String> next(PTColors& palette, int count) {
    std::vector<String> out;
    for (int i = 0; i < count; ++i)
        out.push_back(palette.getColor());
    return out;
}

TEST(PTColors, TheBuiltInListWrapsEvery24EntriesIndexedUserColoursDoNot) {
    PTColors palette;
    EXPECT_EQ(palette.getColor(0), L"");
    EXPECT_EQ(palette.getColor(1), L"AFD8F8");
    EXPECT_EQ(palette.getColor(23), L"6DCFF6");
    EXPECT_EQ(palette.getColor(24), L"");
    EXPECT_EQ(palette.getColor(25), L"AFD8F8");
    EXPECT_EQ(palette.colorIndex(), 0) << "the running index belongs to user colours";
    EXPECT_THROW(palette.getColor(-1), Error);
    PTColors user;
    user.addColors(L"FF0000;00FF00;0000FF");
    EXPECT_EQ(user.getColor(2), L"00FF00");
    EXPECT_EQ(user.getColor(3), L"0000FF");
    EXPECT_EQ(user.getColor(7), L"0000FF");
    EXPECT_EQ(test::errorOf([&] { user.getColor(-2); }), 9);
}

TEST(PTColors, UserColoursCycleInListOrderUntilAnEmptyListSwitchesThemOff) {
    PTColors palette;
    palette.addColors(L"FF0000;00FF00;0000FF");
    EXPECT_EQ(next(palette, 5),
              (std::vector<String>{L"FF0000", L"00FF00", L"0000FF", L"FF0000", L"00FF00"}));
    PTColors single;
    single.addColors(L"ABCDEF");
    EXPECT_EQ(next(single, 3), (std::vector<String>{L"ABCDEF", L"ABCDEF", L"ABCDEF"}));
    palette.addColors(L"FF0000");
    palette.addColors(L"");
    EXPECT_FALSE(palette.isCustomColors());
    EXPECT_EQ(palette.getColor(), L"");
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
