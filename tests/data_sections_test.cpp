// Styles, trend lines, stacked datasets, line sets and XY data.
#include "data/ArrayClass.h"
#include "data_test_support.h"

#include <gtest/gtest.h>

namespace plotara {
namespace {

using test::chart;
using test::lines;

TEST(Styles, DefinitionsAndApplicationsWithTheirDoubleBlanks) {
    auto data = chart(1);
    data->defineStyle(L"MyFont", L"font", L"font=Verdana;size=12");
    data->applyStyle(L"CAPTION", L"MyFont");
    EXPECT_EQ(
        data->getXML(),
        lines({L"<chart>", L"<styles> ", L"<definition>",
               L"<style name='MyFont'  type='font'  font='Verdana' size='12' />", L"</definition>",
               L"<application>", L"<apply  toObject='CAPTION'  styles='MyFont' />",
               L"</application>", L"</styles>", L"</chart>"}));
    EXPECT_FALSE(data->get_isDataAdded());
}

TEST(Styles, ApplicationsAloneWriteNothingAndEmptyParametersAddNothing) {
    auto data = chart(1);
    data->applyStyle(L"CAPTION", L"MyFont");
    EXPECT_EQ(data->getXML(), lines({L"<chart>", L"</chart>"}));
    data->defineStyle(L"S", L"font", L"");
    EXPECT_EQ(
        data->getXML(),
        lines({L"<chart>", L"<styles> ", L"<definition>", L"<style name='S'  type='font' />",
               L"</definition>", L"<application>", L"</application>", L"</styles>", L"</chart>"}));
}

TEST(Styles, TheDelimiterAtWritingTimeSplitsTheStoredText) {
    auto data = chart(1);
    data->defineStyle(L"S", L"font", L"size=12");
    data->setParamDelimiter(L"|");
    EXPECT_EQ(
        data->getXML(),
        lines({L"<chart>", L"<styles> ", L"<definition>", L"<style name='S; type=font; size=12' />",
               L"</definition>", L"<application>", L"</application>", L"</styles>", L"</chart>"}));
}

TEST(TrendLines, SectionsInOrderWithValuesEscapedOnce) {
    auto data = chart(1);
    data->defineStyle(L"S", L"font", L"bold=1");
    data->addVTrendLine(L"startValue=1;displayValue=R&D");
    data->addTrendLine(L"startValue=2.5;color=0372AB;displayValue=Median");
    data->addTrendLine(L"startValue=3;displayValue=50%");
    data->addChartData(L"7");
    EXPECT_EQ(
        data->getXML(),
        lines({L"<chart>", L"<set value='7'  />", L"<trendlines> ",
               L"<line startValue='2.5' color='0372AB' displayValue='Median' />",
               L"<line startValue='3' displayValue='50%25' />", L"</trendlines>", L"<vTrendlines> ",
               L"<line startValue='1' displayValue='R%26D' />", L"</vTrendlines>", L"<styles> ",
               L"<definition>", L"<style name='S'  type='font'  bold='1' />", L"</definition>",
               L"<application>", L"</application>", L"</styles>", L"</chart>"}));
}

TEST(Stacked, DatasetsGroupIntoStacks) {
    auto data = chart(26);
    data->addColors(L"FF0000;00FF00");
    data->addCategory(L"Q1");
    data->addCategory(L"", L"", L"thickness=2");
    data->createMSStDataset();
    data->addMSStSubDataset(L"A", L"color=123456;showValues=0");
    data->addChartData(L"1");
    data->addMSStSubDataset(L"B");
    data->addChartData(L"2");
    data->createMSStDataset();
    data->addMSStSubDataset(L"C");
    data->addChartData(L"3");
    EXPECT_EQ(data->getXML(), lines({L"<chart>",
                                     L"<categories>",
                                     L"<category label='Q1' />",
                                     L"<category label='' />",
                                     L"<vline thickness='2' />",
                                     L"</categories>",
                                     L"<dataset>",
                                     L"<dataset  seriesName='A' color='FF0000' showValues='0' >",
                                     L"<set value='1'  />",
                                     L"</dataset>",
                                     L"<dataset  seriesName='B' color='00FF00' >",
                                     L"<set value='2'  />",
                                     L"</dataset>",
                                     L"</dataset>",
                                     L"<dataset>",
                                     L"<dataset  seriesName='C' color='FF0000' >",
                                     L"<set value='3'  />",
                                     L"</dataset>",
                                     L"</dataset>",
                                     L"</chart>"}));
}

TEST(Stacked, TwoOpeningsBeforeAnyDataset) {
    auto data = chart(26);
    data->createMSStDataset();
    data->createMSStDataset();
    for (const wchar_t* name : {L"A", L"B", L"C"})
        data->addMSStSubDataset(name);
    EXPECT_EQ(data->getXML(),
              lines({L"<chart>", L"<categories>", L"</categories>", L"<dataset>",
                     L"<dataset  seriesName='A' >", L"</dataset>", L"</dataset>", L"<dataset>",
                     L"<dataset  seriesName='B' >", L"</dataset>", L"<dataset  seriesName='C' >",
                     L"</dataset>", L"</dataset>", L"</chart>"}));
}

TEST(Stacked, NoDatasetWritesNoBody) {
    auto data = chart(27);
    data->setCategoriesParams(L"font=Arial");
    data->addCategory(L"Q1");
    EXPECT_EQ(data->getXML(), lines({L"<chart>", L"</chart>"}));
}

TEST(Stacked, WithoutAStackTheDocumentIsTheIndexError) {
    auto data = chart(26);
    data->addDataset(L"A");
    EXPECT_EQ(data->getXML(), L"Subscript out of range");
    data->addDataset(L"A");
    data->addTrendLine(L"startValue=1");
    EXPECT_EQ(data->getXML(), lines({L"Subscript out of range", L"<trendlines> ",
                                     L"<line startValue='1' />", L"</trendlines>", L"</chart>"}));
}

TEST(Linesets, RowsForEveryCategoryAndSeriesNamesEscaped) {
    auto data = chart(27);
    for (const wchar_t* label : {L"a", L"b", L"c", L"d"})
        data->addCategory(label);
    data->createMSStDataset();
    data->addMSStSubDataset(L"A");
    data->addChartData(L"1");
    data->addMSLineset(L"Cost & Co", L"showValues=0");
    data->addMSLinesetData(L"40", L"color=FF0000");
    data->addChartData(L" 50 "); // line-set mode: goes to the line set
    data->addMSLinesetData(L"");
    EXPECT_EQ(
        data->getXML(),
        lines({L"<chart>", L"<categories>", L"<category label='a' />", L"<category label='b' />",
               L"<category label='c' />", L"<category label='d' />", L"</categories>", L"<dataset>",
               L"<dataset  seriesName='A' >", L"<set value='1'  />", L"</dataset>", L"</dataset>",
               L"<lineset  seriesName='Cost %26 Co' showValues='0' >",
               L"<set value='40'  color='FF0000' />", L"<set value='50'  />", L"<set />",
               L"<set />", L"</lineset>", L"</chart>"}));
}

TEST(Linesets, AFollowingDatasetEndsLinesetMode) {
    auto data = chart(11);
    data->addCategory(L"a");
    data->addMSLineset(L"L");
    data->addChartData(L"1");
    data->addDataset(L"D");
    data->addChartData(L"2");
    EXPECT_EQ(
        data->getXML(),
        lines({L"<chart>", L"<categories>", L"<category label='a' />", L"</categories>",
               L"<dataset seriesName='D'>", L"<set value='2'  />", L"</dataset>",
               L"<lineset  seriesName='L' >", L"<set value='1'  />", L"</lineset>", L"</chart>"}));
}

TEST(Linesets, MorePointsThanRowsIsTheIndexError) {
    auto data = chart(11);
    data->addCategory(L"a");
    data->addMSLineset(L"L");
    data->addChartData(L"1");
    data->addChartData(L"2");
    EXPECT_EQ(data->getXML(), L"Subscript out of range");
}

TEST(XY, ScatterPointsWithUpperCaseNames) {
    auto data = chart(29);
    data->addCategory(L"", L"x=10");
    data->addCategory(L"20", L"X=20;showVerticalLine=1");
    data->addDataset(L"Server 1", L"color=FF0000");
    data->addChartData(L"21", L"Y=2.4");
    data->addChartData(L" 22 ", L"y=5;toolText=T");
    data->addChartData(L"23");
    data->addDataset(L"Server 2");
    data->addChartData(L"1", L"Y=1");
    EXPECT_EQ(data->getXML(),
              lines({L"<chart>", L"<categories>", L"<category x='10' />",
                     L"<category label='20' X='20' showVerticalLine='1' />", L"</categories>",
                     L"<dataset seriesName='Server 1' color='FF0000' >", L"<set X='21' Y='2.4'  />",
                     L"<set X='22' Y='5'  toolText='T' />", L"<set X='23' Y=''  />", L"</dataset>",
                     L"<dataset seriesName='Server 2' >", L"<set X='1' Y='1'  />", L"</dataset>",
                     L"</chart>"}));
}

TEST(XY, BubblesCarryZAndPointsBeforeDatasetsAreNotWritten) {
    auto data = chart(30);
    data->addChartData(L"99", L"Y=9;Z=9");
    data->addDataset(L"Traders");
    data->addChartData(L"30", L"Y=1.3;Z=116;name=Traders");
    EXPECT_EQ(
        data->getXML(),
        lines({L"<chart>", L"<categories>", L"</categories>", L"<dataset seriesName='Traders' >",
               L"<set X='30' Y='1.3' Z='116'  name='Traders' />", L"</dataset>", L"</chart>"}));
    EXPECT_EQ(data->getXML().find(L"99"), String::npos);
}

TEST(XY, NoDatasetWritesNoBody) {
    auto data = chart(29);
    data->addChartData(L"1", L"Y=1");
    EXPECT_EQ(data->getXML(), lines({L"<chart>", L"</chart>"}));
}

} // namespace
} // namespace plotara
