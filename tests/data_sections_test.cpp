// Styles, trend lines, stacked datasets, line sets and XY data.
#include "data/ArrayClass.h"
#include "data_test_support.h"

#include <gtest/gtest.h>

namespace plotara {
namespace {

using test::chart;
using test::lines;

TEST(Sections, StylesAndTrendLines) {
    test::expectDocuments({
        {"definitions and applications with their double blanks", 1,
         [](PlotaraData& d) {
             d.defineStyle(L"MyFont", L"font", L"font=Verdana;size=12");
             d.applyStyle(L"CAPTION", L"MyFont");
         },
         lines({L"<chart>", L"<styles> ", L"<definition>",
                L"<style name='MyFont'  type='font'  font='Verdana' size='12' />", L"</definition>",
                L"<application>", L"<apply  toObject='CAPTION'  styles='MyFont' />",
                L"</application>", L"</styles>", L"</chart>"})},
        {"applications alone write nothing", 1,
         [](PlotaraData& d) { d.applyStyle(L"CAPTION", L"MyFont"); },
         lines({L"<chart>", L"</chart>"})},
        {"empty parameters add nothing", 1,
         [](PlotaraData& d) { d.defineStyle(L"S", L"font", L""); },
         lines({L"<chart>", L"<styles> ", L"<definition>", L"<style name='S'  type='font' />",
                L"</definition>", L"<application>", L"</application>", L"</styles>", L"</chart>"})},
        {"the delimiter at writing time splits the stored text", 1,
         [](PlotaraData& d) {
             d.defineStyle(L"S", L"font", L"size=12");
             d.setParamDelimiter(L"|");
         },
         lines({L"<chart>", L"<styles> ", L"<definition>",
                L"<style name='S; type=font; size=12' />", L"</definition>", L"<application>",
                L"</application>", L"</styles>", L"</chart>"})},
        {"trend lines in order with values escaped once", 1,
         [](PlotaraData& d) {
             d.defineStyle(L"S", L"font", L"bold=1");
             d.addVTrendLine(L"startValue=1;displayValue=R&D");
             d.addTrendLine(L"startValue=2.5;color=0372AB;displayValue=Median");
             d.addTrendLine(L"startValue=3;displayValue=50%");
             d.addChartData(L"7");
         },
         lines({L"<chart>", L"<set value='7'  />", L"<trendlines> ",
                L"<line startValue='2.5' color='0372AB' displayValue='Median' />",
                L"<line startValue='3' displayValue='50%25' />", L"</trendlines>",
                L"<vTrendlines> ", L"<line startValue='1' displayValue='R%26D' />",
                L"</vTrendlines>", L"<styles> ", L"<definition>",
                L"<style name='S'  type='font'  bold='1' />", L"</definition>", L"<application>",
                L"</application>", L"</styles>", L"</chart>"})},
    });
    auto data = chart(1);
    data->defineStyle(L"S", L"font", L"");
    EXPECT_FALSE(data->get_isDataAdded());
}

TEST(Sections, StacksAndLineSets) {
    test::expectDocuments({
        {"datasets group into stacks", 26,
         [](PlotaraData& d) {
             d.addColors(L"FF0000;00FF00");
             d.addCategory(L"Q1");
             d.addCategory(L"", L"", L"thickness=2");
             d.createMSStDataset();
             d.addMSStSubDataset(L"A", L"color=123456;showValues=0");
             d.addChartData(L"1");
             d.addMSStSubDataset(L"B");
             d.addChartData(L"2");
             d.createMSStDataset();
             d.addMSStSubDataset(L"C");
             d.addChartData(L"3");
         },
         lines({L"<chart>",
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
                L"</chart>"})},
        {"two openings before any dataset", 26,
         [](PlotaraData& d) {
             d.createMSStDataset();
             d.createMSStDataset();
             for (const wchar_t* name : {L"A", L"B", L"C"})
                 d.addMSStSubDataset(name);
         },
         lines({L"<chart>", L"<categories>", L"</categories>", L"<dataset>",
                L"<dataset  seriesName='A' >", L"</dataset>", L"</dataset>", L"<dataset>",
                L"<dataset  seriesName='B' >", L"</dataset>", L"<dataset  seriesName='C' >",
                L"</dataset>", L"</dataset>", L"</chart>"})},
        {"no dataset writes no body", 27,
         [](PlotaraData& d) {
             d.setCategoriesParams(L"font=Arial");
             d.addCategory(L"Q1");
         },
         lines({L"<chart>", L"</chart>"})},
        {"without a stack the document is the index error", 26,
         [](PlotaraData& d) { d.addDataset(L"A"); }, L"Subscript out of range"},
        {"the index error and the sections after it", 26,
         [](PlotaraData& d) {
             d.addDataset(L"A");
             d.addTrendLine(L"startValue=1");
         },
         lines({L"Subscript out of range", L"<trendlines> ", L"<line startValue='1' />",
                L"</trendlines>", L"</chart>"})},
        {"line-set rows for every category, series names escaped", 27,
         [](PlotaraData& d) {
             for (const wchar_t* label : {L"a", L"b", L"c", L"d"})
                 d.addCategory(label);
             d.createMSStDataset();
             d.addMSStSubDataset(L"A");
             d.addChartData(L"1");
             d.addMSLineset(L"Cost & Co", L"showValues=0");
             d.addMSLinesetData(L"40", L"color=FF0000");
             d.addChartData(L" 50 "); // line-set mode: goes to the line set
             d.addMSLinesetData(L"");
         },
         lines({L"<chart>", L"<categories>", L"<category label='a' />", L"<category label='b' />",
                L"<category label='c' />", L"<category label='d' />", L"</categories>",
                L"<dataset>", L"<dataset  seriesName='A' >", L"<set value='1'  />", L"</dataset>",
                L"</dataset>", L"<lineset  seriesName='Cost %26 Co' showValues='0' >",
                L"<set value='40'  color='FF0000' />", L"<set value='50'  />", L"<set />",
                L"<set />", L"</lineset>", L"</chart>"})},
        {"a following dataset ends line-set mode", 11,
         [](PlotaraData& d) {
             d.addCategory(L"a");
             d.addMSLineset(L"L");
             d.addChartData(L"1");
             d.addDataset(L"D");
             d.addChartData(L"2");
         },
         lines({L"<chart>", L"<categories>", L"<category label='a' />", L"</categories>",
                L"<dataset seriesName='D'>", L"<set value='2'  />", L"</dataset>",
                L"<lineset  seriesName='L' >", L"<set value='1'  />", L"</lineset>", L"</chart>"})},
        {"more line-set points than rows is the index error", 11,
         [](PlotaraData& d) {
             d.addCategory(L"a");
             d.addMSLineset(L"L");
             d.addChartData(L"1");
             d.addChartData(L"2");
         },
         L"Subscript out of range"},
    });
}

TEST(Sections, XYData) {
    test::expectDocuments({
        {"scatter points with upper-case names", 29,
         [](PlotaraData& d) {
             d.addCategory(L"", L"x=10");
             d.addCategory(L"20", L"X=20;showVerticalLine=1");
             d.addDataset(L"Server 1", L"color=FF0000");
             d.addChartData(L"21", L"Y=2.4");
             d.addChartData(L" 22 ", L"y=5;toolText=T");
             d.addChartData(L"23");
             d.addDataset(L"Server 2");
             d.addChartData(L"1", L"Y=1");
         },
         lines({L"<chart>", L"<categories>", L"<category x='10' />",
                L"<category label='20' X='20' showVerticalLine='1' />", L"</categories>",
                L"<dataset seriesName='Server 1' color='FF0000' >", L"<set X='21' Y='2.4'  />",
                L"<set X='22' Y='5'  toolText='T' />", L"<set X='23' Y=''  />", L"</dataset>",
                L"<dataset seriesName='Server 2' >", L"<set X='1' Y='1'  />", L"</dataset>",
                L"</chart>"})},
        {"bubbles carry Z, points before datasets are not written", 30,
         [](PlotaraData& d) {
             d.addChartData(L"99", L"Y=9;Z=9");
             d.addDataset(L"Traders");
             d.addChartData(L"30", L"Y=1.3;Z=116;name=Traders");
         },
         lines({L"<chart>", L"<categories>", L"</categories>", L"<dataset seriesName='Traders' >",
                L"<set X='30' Y='1.3' Z='116'  name='Traders' />", L"</dataset>", L"</chart>"})},
        {"no dataset writes no body", 29, [](PlotaraData& d) { d.addChartData(L"1", L"Y=1"); },
         lines({L"<chart>", L"</chart>"})},
    });
}

} // namespace
} // namespace plotara
