// Whole documents for chart parameters, categories, datasets, points and vertical lines, styles,
// trend lines, stacked datasets, line sets and XY data; and the document's lifecycle: caching,
// fresh start, external documents, the packed text.
#include "data/ArrayClass.h"
#include "data/detail/ArrayClassTestAccess.h"
#include "data/detail/DocumentText.h"
#include "data_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace plotara {
namespace {

using test::chart;
using test::lines;

TEST(Documents, ChartElementPointsCategoriesAndDatasets) {
    test::expectDocuments({
        {"parameters from both operations in their order", 1,
         [](PlotaraData& d) {
             d.setChartParams(L"caption=Sales;numberPrefix=$");
             d.addChartData(L"10", L"label=Jan");
             d.addChartData(L"20", L"label=Feb");
         },
         lines({L"<chart caption='Sales' numberPrefix='$'>", L"<set value='10'  label='Jan' />",
                L"<set value='20'  label='Feb' />", L"</chart>"})},
        {"setChartParams come first and names may repeat", 1,
         [](PlotaraData& d) {
             d.setChartParam(L"caption", L"B");
             d.setChartParams(L"caption=A");
         },
         lines({L"<chart caption='A' caption='B'>", L"</chart>"})},
        {"only parameter strings are escaped", 1,
         [](PlotaraData& d) {
             d.setChartParam(L"caption", L"R&D");
             d.setChartParam(L"subCaption", L"Q1's");
             d.setChartParams(L"xAxisName=R&D;yAxisName=Q1's");
         },
         lines({L"<chart xAxisName='R%26D' yAxisName='Q1%26apos;s' caption='R&D' "
                L"subCaption='Q1's'>",
                L"</chart>"})},
        {"repeated names keep the last value at the first place", 1,
         [](PlotaraData& d) { d.setChartParams(L" a = 1 ;b=2;a=3"); },
         lines({L"<chart a='3' b='2'>", L"</chart>"})},
        {"an empty value is a blank written without value", 1,
         [](PlotaraData& d) { d.addChartData(L""); },
         lines({L"<chart>", L"<set  />", L"</chart>"})},
        {"vertical lines follow their point, one per position, parsed when written", 1,
         [](PlotaraData& d) {
             d.addVLine(L"color=FF0000;thickness=2"); // before any point: after position 0
             d.addChartData(L"1");
             d.addChartData(L"2");
             d.addVLine(L"a=1; b=x&y");
             d.addVLine(L"a=2"); // one line per position: the later one replaces it
             d.addChartData(L"3", L"", L"color=00FF00");
         },
         lines({L"<chart>", L"<set value='1'  />", L"<vline color='FF0000' thickness='2' />",
                L"<set value='2'  />", L"<vline a='2' />", L"<set value='3'  />",
                L"<vline color='00FF00' />", L"</chart>"})},
        {"values are written trimmed and attributes escaped", 1,
         [](PlotaraData& d) { d.addChartData(L" 42 ", L" link = a.htm?x=1&y=2 ; toolText=<b> "); },
         lines({L"<chart>", L"<set value='42'  link='a.htm?x=1%26y=2' toolText='%26lt;b%26gt;' />",
                L"</chart>"})},
        {"labels come from categories, extra points have none", 1,
         [](PlotaraData& d) {
             d.addCategory(L"Jan", L"toolText=first");
             d.addCategory(L" ");
             d.addChartData(L"10", L"link=x");
             d.addChartData(L"20");
             d.addChartData(L" 30 ");
         },
         lines({L"<chart>", L"<set label='Jan' toolText='first'  Value='10' link='x' />",
                L"<set  Value='20' />", L"<set Value=' 30 ' />", L"</chart>"})},
        {"categories without points are not written", 2,
         [](PlotaraData& d) {
             d.addCategory(L"Jan", L"", L"color=FF0000");
             d.addCategory(L"Feb");
             d.addChartData(L"10");
         },
         lines({L"<chart>", L"<set label='Jan'  Value='10' />", L"</chart>"})},
        {"a label parameter replaces the label", 1,
         [](PlotaraData& d) {
             d.addCategory(L"R&D", L"label=Ops");
             d.addCategory(L"R&D");
             d.addChartData(L"1");
             d.addChartData(L"2");
         },
         lines({L"<chart>", L"<set label='Ops'  Value='1' />", L"<set label='R%26D'  Value='2' />",
                L"</chart>"})},
        {"datasets collect their points in order", 11,
         [](PlotaraData& d) {
             d.setCategoriesParams(L"font=Arial;fontSize=10");
             d.addCategory(L"Jan");
             d.addCategory(L"", L"showLabel=0", L"color=FF0000");
             d.addDataset(L"A", L"showValues=0");
             d.addChartData(L"1");
             d.addChartData(L"2", L"link=a");
             d.addDataset(L"B");
             d.addChartData(L"3");
             d.addChartData(L""); // stored as a blank: written as a set without value
         },
         lines({L"<chart>", L"<categories font='Arial' fontSize='10'>", L"<category label='Jan' />",
                L"<category showLabel='0' />", L"<vline color='FF0000' />", L"</categories>",
                L"<dataset seriesName='A' showValues='0'>", L"<set value='1'  />",
                L"<set value='2'  link='a' />", L"</dataset>", L"<dataset seriesName='B'>",
                L"<set value='3'  />", L"<set  />", L"</dataset>", L"</chart>"})},
        {"series name from parameters only for unnamed datasets", 12,
         [](PlotaraData& d) {
             d.addDataset(L"", L"SeriesName=Sales");
             d.addDataset(L"Named", L"seriesName=Other");
             d.addDataset(L"Named", L"seriesname=Exact");
             d.addDataset(L"");
         },
         lines({L"<chart>", L"<categories>", L"</categories>", L"<dataset seriesName='Sales'>",
                L"</dataset>", L"<dataset seriesName='Named'>", L"</dataset>",
                L"<dataset seriesName='Exact'>", L"</dataset>", L"<dataset>", L"</dataset>",
                L"</chart>"})},
    });
}

// Types above 10 wrap; type 10 (mscolumn3d) keeps its points in the first series.
TEST(MultiSeries, PointsWithoutDatasetsWrapIntoOneSeriesPerRoundOfCategories) {
    for (int type : {11, 10, 12, 15}) {
        auto data = chart(type);
        data->addCategory(L"a");
        data->addCategory(L"b");
        for (const wchar_t* v : {L"1", L"2", L"3", L"4"})
            data->addChartData(v);
        data->addDataset(L"X");
        data->addDataset(L"Y");
        const String wrapped = lines(
            {L"<chart>", L"<categories>", L"<category label='a' />", L"<category label='b' />",
             L"</categories>", L"<dataset seriesName='X'>", L"<set value='1'  />",
             L"<set value='2'  />", L"</dataset>", L"<dataset seriesName='Y'>",
             L"<set value='3'  />", L"<set value='4'  />", L"</dataset>", L"</chart>"});
        const String unwrapped = lines(
            {L"<chart>", L"<categories>", L"<category label='a' />", L"<category label='b' />",
             L"</categories>", L"<dataset seriesName='X'>", L"<set value='1'  />",
             L"<set value='2'  />", L"<set value='3'  />", L"<set value='4'  />", L"</dataset>",
             L"<dataset seriesName='Y'>", L"</dataset>", L"</chart>"});
        EXPECT_EQ(data->getXML(), type > 10 ? wrapped : unwrapped) << "chart type " << type;
    }
}

TEST(Lifecycle, AnUnsetChartTypeGivesNothingAndKeepsTheRecord) {
    PlotaraData data;
    data.setChartParams(L"caption=Kept");
    data.addChartData(L"5");
    EXPECT_EQ(data.getXML(), L"");
    data.addChartData(L"6");
    data.setChartTypeNumber(L"1");
    EXPECT_EQ(data.getXML(), lines({L"<chart caption='Kept'>", L"<set value='5'  />",
                                    L"<set value='6'  />", L"</chart>"}));
}

TEST(Lifecycle, RecordingAfterAGeneratedDocumentStartsAfresh) {
    auto data = chart(11);
    data->setParamDelimiter(L"|");
    data->addCategory(L"a");
    data->addDataset(L"A");
    data->addChartData(L"1");
    const String first = data->getXML();
    EXPECT_EQ(data->getXML(), first);
    data->setChartParam(L"caption", L"Next");
    const auto counters = ArrayClassTestAccess::counters(data->engine());
    EXPECT_EQ(counters.categoryCount, 0);
    EXPECT_EQ(counters.datasetCount, 0);
    EXPECT_EQ(counters.dataPointCount, 0);
    EXPECT_EQ(data->engine().delimiter(), L"|");
    EXPECT_EQ(data->engine().chartType(), 11);
    EXPECT_EQ(data->getXML(),
              lines({L"<chart caption='Next'>", L"<categories>", L"</categories>", L"</chart>"}));
}

TEST(Lifecycle, ExternalDocumentWinsUntilTheNextRecordingOrAReset) {
    auto data = chart(1);
    data->addChartData(L"1");
    data->put_externalXML(L"<chart><set value='9'/></chart>");
    data->put_isExternalXML(true);
    EXPECT_EQ(data->getXML(), L"<chart><set value='9'/></chart>");
    data->addChartData(L"2");
    EXPECT_FALSE(data->get_isExternalXML());
    EXPECT_EQ(data->get_externalXML(), L"");
    EXPECT_EQ(data->getXML(), lines({L"<chart>", L"<set value='2'  />", L"</chart>"}));
    // A reset clears the flag and the external document; it keeps type, delimiter and palette.
    auto reset = chart(1);
    reset->setParamDelimiter(L"|");
    reset->addColors(L"AAAAAA|BBBBBB");
    reset->addChartData(L"1");
    reset->getXML();
    reset->put_externalXML(L"<chart/>");
    reset->put_isExternalXML(true);
    reset->resetData();
    EXPECT_FALSE(reset->get_isDataAdded());
    EXPECT_FALSE(reset->get_isExternalXML());
    EXPECT_EQ(reset->get_externalXML(), L"");
    reset->addChartData(L"2", L"a=1|b=2");
    EXPECT_EQ(reset->getXML(),
              lines({L"<chart>", L"<set value='2'  a='1' b='2' color='BBBBBB' />", L"</chart>"}));
}

TEST(Counters, AreSixteenBitAndOverflowAtTheCallerAndYieldRunsOncePerPoint) {
    auto data = chart(1);
    for (int i = 0; i < 32767; ++i)
        data->addChartData(L"1");
    // The 32,768th point overflows the point counter.
    EXPECT_EQ(test::errorTextOf([&] { data->addChartData(L"1"); }), L"6 Overflow");
    EXPECT_EQ(ArrayClassTestAccess::counters(data->engine()).dataPointCount, 32767);
    const String document = data->getXML();
    EXPECT_EQ(std::count(document.begin(), document.end(), L'\n'), 32768);
    auto yielding = chart(11);
    int calls = 0;
    bool refused = false;
    yielding->setYieldHandler([&] {
        ++calls;
        try {
            yielding->addChartData(L"99");
        } catch (const Error&) {
            refused = true;
        }
    });
    yielding->addDataset(L"A");
    yielding->addChartData(L"1");
    yielding->addChartData(L"2");
    const String written = yielding->getXML();
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(refused);
    EXPECT_EQ(written.find(L"99"), String::npos);
    EXPECT_EQ(yielding->getXML(), written);
}

bool packed(PlotaraData& data) {
    return ArrayClassTestAccess::documentPacked(data.engine());
}

TEST(PackedDocument, OnlyAGeneratedTextUtf8CarriesIsPacked) {
    auto unset = std::make_unique<PlotaraData>(); // no chart type: no document
    EXPECT_EQ(unset->packDocument(), nullptr);
    EXPECT_FALSE(packed(*unset));

    auto surrogate = chart(1);
    surrogate->addChartData(L"1", String(L"label=") + wchar_t(0xD800));
    const String first = surrogate->getXML();
    EXPECT_EQ(surrogate->packDocument(), nullptr);
    EXPECT_FALSE(packed(*surrogate));
    EXPECT_EQ(surrogate->getXML(), first);

    auto external = chart(1);
    external->put_externalXML(L"<chart><set value='9'/></chart>");
    external->put_isExternalXML(true);
    external->getXML();
    EXPECT_EQ(external->packDocument(), nullptr);
    EXPECT_FALSE(packed(*external));
    EXPECT_EQ(external->getXML(), L"<chart><set value='9'/></chart>");
}

// The packed text is the document's UTF-8 byte for byte (line breaks, tabs, characters of every
// length and NUL included), handed out shared: the caller's text stays as it was whatever the data
// object does next; the document reads back unchanged, also after a second round trip. Recording
// or a reset after packing starts afresh.
TEST(PackedDocument, HandsOutTheDocumentAsUtf8AndKeepsItUnchangedWhileShared) {
    auto data = chart(1);
    data->addChartData(L"1", L"label=Caf\u00e9\tlabel");
    data->addChartData(L"2", String(L"label=\u65e5") + wchar_t(0x1F600) + L'\0' + L"nul");
    data->addChartData(L"2.5");
    const String first = data->getXML();
    const std::shared_ptr<const std::string> text = data->packDocument();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(*text, toUtf8(first));
    EXPECT_NE(text->find("\r\n<set"), std::string::npos);
    EXPECT_EQ(data->packDocument(), text); // packed once, the same text again
    EXPECT_EQ(text.use_count(), 2);        // the caller's and the data object's

    EXPECT_EQ(data->documentView(), first); // reading it back lets go of the text
    EXPECT_FALSE(packed(*data));
    EXPECT_EQ(text.use_count(), 1);
    data->packDocument(); // a second round trip
    EXPECT_EQ(data->getXML(), first);
    data->addChartData(L"3");
    data->getXML();
    EXPECT_EQ(*text, toUtf8(first));
    auto fresh = chart(1);
    fresh->addChartData(L"1");
    fresh->getXML();
    fresh->packDocument();
    fresh->addChartData(L"2");
    EXPECT_FALSE(packed(*fresh));
    EXPECT_EQ(fresh->getXML(), lines({L"<chart>", L"<set value='2'  />", L"</chart>"}));

    fresh->packDocument();
    fresh->resetData();
    EXPECT_FALSE(packed(*fresh));
    fresh->addChartData(L"3");
    EXPECT_EQ(fresh->getXML(), lines({L"<chart>", L"<set value='3'  />", L"</chart>"}));
}

// The document buffer narrows what it is given; a character UTF-8 cannot carry turns the
// whole text wide, wherever it comes. Each case appends its pieces, a piece ending in a blank
// trimmed as the writers trim the chart element, and reads back the concatenation.
TEST(DocumentText, ReadsBackWhatWasAppendedInEveryMix) {
    const String lone(1, wchar_t(0xDC00)), beyond(1, wchar_t(0x110000));
    struct Case {
        const char* name;
        std::vector<String> pieces;
        bool utf8; // whether takeUtf8 hands it over
    } cases[] = {
        {"ascii", {L"<chart ", L"a='1' ", L">"}, true},
        {"two, three and four bytes", {L"Caf\u00e9 ", L"\u65e5\U0001F600", L" x"}, true},
        {"a lone surrogate first", {lone, L"<set/>", L"\u00e9"}, false},
        {"a lone surrogate after multi-byte text",
         {L"\u00e9\u65e5", L"ab" + lone + L"cd", L"e"},
         false},
        {"a code past U+10FFFF", {L"x", beyond}, false},
        {"a long piece", {String(300, L'q') + L"\u00e9" + String(300, L'r')}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentText text;
        String expected;
        for (const String& piece : c.pieces) {
            text += piece;
            expected += piece;
            EXPECT_EQ(text.view(), expected); // read between appends, then appended to again
        }
        text += L' ';
        text.trimRight();
        EXPECT_EQ(text.text(), expected);
        EXPECT_FALSE(text.equalsAscii("x"));
        DocumentText copy;
        copy.appendBytes("<");
        copy += text;
        EXPECT_EQ(copy.view(), L"<" + expected);
        const std::optional<std::string> utf8 = text.takeUtf8();
        EXPECT_EQ(utf8.has_value(), c.utf8);
        if (utf8) {
            EXPECT_EQ(*utf8, toUtf8(expected));
            EXPECT_TRUE(text.empty());
        } else {
            EXPECT_EQ(text.view(), expected); // kept
        }
    }
    DocumentText message;
    message.assign(L"Subscript out of range");
    EXPECT_TRUE(message.equalsAscii("Subscript out of range"));
    message += lone;
    message.trimRight();
    EXPECT_FALSE(message.equalsAscii("Subscript out of range"));
}

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
