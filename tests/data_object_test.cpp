// The public data object: its own rules and its dispatch interface.
#include "core/Error.h"
#include "core/SafeArray.h"
#include "core/Text.h"
#include "core_test_support.h"
#include "data/ArrayClass.h"
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

TEST(DataObject, GridChartDropsDatasetsSilently) {
    auto grid = chart(37);
    grid->addDataset(L"2008");
    EXPECT_FALSE(grid->get_isDataAdded());
    EXPECT_EQ(ArrayClassTestAccess::counters(grid->engine()).datasetCount, 0);
    auto columns = chart(11);
    columns->addDataset(L"2008");
    EXPECT_TRUE(columns->get_isDataAdded());
    EXPECT_EQ(ArrayClassTestAccess::counters(columns->engine()).datasetCount, 1);
}

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

TEST(DataObject, GridParametersAndSeparatorStayOutOfTheDocument) {
    auto data = chart(1);
    data->setGridParams(L"a=1;b=2");
    data->setParamDelimiter(L"|");
    EXPECT_EQ(data->getGridParams(), L"a=1;b=2");
    EXPECT_EQ(data->getDelimiter(), L";");
    EXPECT_EQ(data->engine().delimiter(), L"|");
    EXPECT_EQ(data->getXML(), lines({L"<chart>", L"</chart>"}));
}

TEST(DataObject, ChartTypeTextThatIsNotANumberChangesNothing) {
    auto data = chart(11);
    for (const wchar_t* bad : {L"abc", L"", L"40000", L"1e9"}) {
        EXPECT_NO_THROW(data->setChartTypeNumber(bad));
        EXPECT_EQ(data->engine().chartType(), 11) << toUtf8(bad);
    }
    data->setChartTypeNumber(L" 29.4 ");
    EXPECT_EQ(data->engine().chartType(), 29);
    EXPECT_EQ(data->engine().chartKind(), 5);
    data->setChartTypeNumber(L"99"); // no such chart: the kind stays
    EXPECT_EQ(data->engine().chartKind(), 5);
}

TEST(DataObject, ResetClearsTheFlagAndTheExternalDocument) {
    auto data = chart(1);
    data->addChartData(L"1");
    data->put_externalXML(L"<chart/>");
    data->put_isExternalXML(true);
    data->resetData();
    EXPECT_FALSE(data->get_isDataAdded());
    EXPECT_FALSE(data->get_isExternalXML());
    EXPECT_EQ(data->get_externalXML(), L"");
    EXPECT_EQ(data->getXML(), lines({L"<chart>", L"</chart>"}));
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
    const Variant document = callByName(data, L"getXML", InvokeKind::Method);
    EXPECT_EQ(document.asString(), lines({L"<chart caption='Late'>", L"<set value='10'  />",
                                          L"<set value='2.5'  label='b' />", L"</chart>"}));
    EXPECT_EQ(callByName(data, L"getXML", InvokeKind::PropertyGet).asString(), document.asString());
}

TEST(DataDispatch, ArgumentRules) {
    PlotaraData data;
    data.setChartTypeNumber(L"11");
    EXPECT_EQ(errorOf([&] { callByName(data, L"addCategory", InvokeKind::Method); }), 449);
    EXPECT_EQ(errorOf([&] {
                  callByName(data, L"addDataset", InvokeKind::Method, {Variant::missing(), L"x=1"});
              }),
              449);
    EXPECT_EQ(
        errorOf([&] { callByName(data, L"createMSStDataset", InvokeKind::Method, {L"extra"}); }),
        450);
    EXPECT_EQ(
        errorOf([&] { callByName(data, L"addCategory", InvokeKind::Method, {Variant::null()}); }),
        94);
    EXPECT_EQ(errorOf([&] { callByName(data, L"addCategory", InvokeKind::PropertyPut, {L"a"}); }),
              438);
    EXPECT_EQ(
        errorOf([&] {
            callByName(data, L"addDataFromDatabase", InvokeKind::Method, {L"no recordset", L"v"});
        }),
        424);
    EXPECT_EQ(ArrayClassTestAccess::counters(data.engine()).categoryCount, 0)
        << "failed calls record nothing";
}

TEST(DataDispatch, ArraysArriveAsVariants) {
    PlotaraData data;
    data.setChartTypeNumber(L"1");
    Variant rows(SafeArray::of2D({{L"Jan", Variant(Integer{1})}}));
    callByName(data, L"addChartDataFromArray", InvokeKind::Method, {rows});
    EXPECT_EQ(data.getXML(), lines({L"<chart>", L"<set value='1'  label='Jan' />", L"</chart>"}));
}

} // namespace
} // namespace plotara
