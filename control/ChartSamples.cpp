// The sample documents the design-time preview shows, one per family of chart types.
#include "control/Catalogue.h"

#include "core/ChartTypes.h"

namespace plotara::catalogue {

namespace {

// The samples are built on first use: a program that never shows a preview does not pay for them.
struct Samples {
    String singleSeries =
        L"<chart caption='Product-wise sales' subcaption='For the year 2008' xAxisName='Product' "
        L"yAxisName='Revenue' numberPrefix='$' chartRightMargin='40'><set label='Product A' "
        L"value='235000' /><set label='Product B' value='125100' /><set label='Product C' "
        L"value='464200' /><set label='Product D' value='434500' /></chart>";

    String productCategories =
        L"<categories><category label='Product A' /><category label='Product B' /><category "
        L"label='Product C' /><category label='Product D' /></categories>";

    String multiSeries =
        L"<chart caption='Product-wise sales' subcaption='Comparison' numberPrefix='$' "
        L"chartRightMargin='40' xAxisName='Product' yAxisName='Revenue'>" +
        productCategories +
        L"<dataset seriesName='2008'><set value='235000' /><set value='125100' /><set "
        L"value='464200' /><set value='434500' /></dataset><dataset seriesName='2007'><set "
        L"value='198000' /><set value='109300' /><set value='253600' /><set value='345100' "
        L"/></dataset></chart>";

    String combination =
        L"<chart caption='Product-wise sales' subcaption='Comparison' numberPrefix='$' "
        L"chartRightMargin='40' xAxisName='Product' yAxisName='Revenue'>" +
        productCategories +
        L"<dataset seriesName='2008'><set value='235000' /><set value='125100' /><set "
        L"value='464200' /><set value='434500' /></dataset><dataset seriesName='2007' "
        L"renderAs='Line'><set value='198000' /><set value='109300' /><set value='253600' /><set "
        L"value='345100' /></dataset></chart>";

    String dualAxis =
        L"<chart caption='Product-wise sales' subcaption='Comparison' numberPrefix='$' "
        L"chartRightMargin='40' PYAxisName='Revenue' SYAxisName='Quantity'>" +
        productCategories +
        L"<dataset seriesName='Revenue'><set value='235000' /><set value='125100' /><set "
        L"value='464200' /><set value='434500' /></dataset><dataset seriesName='Units' "
        L"parentYAxis='S' renderAs='Line'><set value='345' /><set value='434' /><set value='546' "
        L"/><set value='123' /></dataset></chart>";

    String stackedBody =
        L"<chart caption='Break-up of Annual Revenue' subcaption='In Million $' xaxisname='Year' "
        L"Yaxisname='Sales in M$' numdivlines='3' numberPrefix='$' numberSuffix='M' "
        L"showSum='1'><categories><category label='2008' /><category label='2007' /><category "
        L"label='2006' /><category label='2005' /></categories><dataset><dataset "
        L"seriesName='Product "
        L"A' showValues='0'><set value='23' /><set value='25' /><set value='46' /><set value='43' "
        L"/></dataset><dataset seriesName='Product B' showValues='0'><set value='19' /><set "
        L"value='10' /><set value='25' /><set value='34' /></dataset></dataset><dataset><dataset "
        L"seriesName='Service A' showValues='0'><set value='27' /><set value='25' /><set "
        L"value='28' /><set value='26' /></dataset><dataset seriesName='Service B' "
        L"showValues='0'><set value='17' /><set value='15' /><set value='18' /><set value='16' "
        L"/></dataset></dataset>";

    String multiSeriesStacked = stackedBody + L"</chart>";

    String multiSeriesStackedLine =
        stackedBody +
        L"<lineset seriesname='Cost as % of Revenue' showValues='0' lineThickness='4'><set "
        L"value='40' /><set value='38' /><set value='29' /><set value='45' /></lineset></chart>";

    String scatter =
        L"<chart palette='2' caption='Server Performance' numDivLines='13' yAxisName='Response "
        L"Time "
        L"(sec)' xAxisName='Server Load (TPS)' rotateNames='0' showLegend='1' showNames='1' "
        L"xAxisMaxValue='100' xAxisMinValue='20' yAxisMaxValue='7' decimals='1'><categories "
        L"verticalLineColor='666666' verticalLineThickness='1'><category label='20' x='20' "
        L"showVerticalLine='1' /><category label='30' x='30' showVerticalLine='1' /><category "
        L"label='40' x='40' showVerticalLine='1' /><category label='50' x='50' "
        L"showVerticalLine='1' "
        L"/><category label='60' x='60' showVerticalLine='1' /><category label='70' x='70' "
        L"showVerticalLine='1' /><category label='80' x='80' showVerticalLine='1' /><category "
        L"label='90' x='90' showVerticalLine='1' /><category label='100' x='100' "
        L"showVerticalLine='0' /></categories><dataSet seriesName='Server 1' color='009900' "
        L"anchorSides='3' anchorRadius='4' anchorBgColor='D5FFD5' anchorBorderColor='009900'><set "
        L"y='2.4' x='21' /><set y='3.5' x='32' /><set y='2.5' x='43' /><set y='4.1' x='48' /><set "
        L"y='3.5' x='50' /><set y='4.6' x='56' /><set y='4.8' x='59' /><set y='4.9' x='73' /><set "
        L"y='4.6' x='89' /><set y='4.2' x='93' /></dataSet><dataSet seriesName='Server 2' "
        L"color='0000FF' anchorSides='4' anchorRadius='4' anchorBgColor='C6C6FF' "
        L"anchorBorderColor='0000FF'><set y='1.4' x='23' /><set y='1.5' x='29' /><set y='1.5' "
        L"x='33' /><set y='1.1' x='41' /><set y='1.5' x='47' /><set y='1.6' x='49' /><set y='1.8' "
        L"x='51' /><set y='1.9' x='53' /><set y='1.6' x='57' /><set y='1.2' x='58' /><set y='1.9' "
        L"x='61' /><set y='1.1' x='63' /><set y='1.9' x='64' /><set y='1.7' x='71' /><set y='1.1' "
        L"x='77' /><set y='1.3' x='79' /><set y='1.7' x='83' /><set y='1.8' x='89' /><set y='1.9' "
        L"x='91' /><set y='1.0' x='93' /></dataSet><vTrendlines><line startValue='20' "
        L"endValue='65' alpha='5' color='00FF00' /><line startValue='65' endValue='75' alpha='15' "
        L"color='FFFF00' /><line startValue='75' endValue='100' alpha='15' color='FF0000' "
        L"/></vTrendlines><hTrendlines><line startValue='5.2' displayValue='Check' "
        L"lineThickness='2' color='FF0000' valueOnRight='1' dashed='1' dashGap='5' "
        L"/></hTrendlines></chart>";

    String bubble =
        L"<chart palette='3' numberPrefix='$' is3D='1' animation='1' clipBubbles='1' "
        L"xAxisMaxValue='100' showPlotBorder='0' xAxisName='Stickiness' yAxisName='Cost Per "
        L"Service' chartRightMargin='30'><categories><category label='0%25' x='0' /><category "
        L"label='20%25' x='20' showVerticalLine='1' /><category label='40%25' x='40' "
        L"showVerticalLine='1' /><category label='60%25' x='60' showVerticalLine='1' /><category "
        L"label='80%25' x='80' showVerticalLine='1' /><category label='100%25' x='100' "
        L"showVerticalLine='1' /></categories><dataSet showValues='0'><set x='30' y='1.3' z='116' "
        L"name='Traders' /><set x='32' y='3.5' z='99' name='Farmers' /><set x='8' y='2.1' z='33' "
        L"name='Individuals' /><set x='62' y='2.5' z='72' name='Medium Business Houses' /><set "
        L"x='78' y='2.3' z='55' name='Corporate Group A' /><set x='75' y='1.4' z='58' "
        L"name='Corporate Group C' /><set x='68' y='3.7' z='80' name='HNW Individuals' /><set "
        L"x='50' y='2.1' z='105' name='Small Business Houses' /></dataSet><trendlines><line "
        L"startValue='2.5' isTrendZone='0' displayValue='Median Cost' color='0372AB' "
        L"/></trendlines><vTrendlines><line startValue='0' endValue='60' displayValue='Potential "
        L"Wins' color='663333' alpha='10' isTrendZone='1' /><line startValue='60' endValue='100' "
        L"displayValue='Cash Cows' color='990099' alpha='5' isTrendZone='1' "
        L"/></vTrendlines></chart>";
};

const Samples& samples() {
    static const Samples built;
    return built;
}

} // namespace

const String& sampleXML(Long chartType) {
    const chart_types::ChartType* type = chart_types::find(chartType);
    static const String none;
    if (!type) return none;
    switch (type->kind) {
    case chart_types::SeriesKind::Single:
        return samples().singleSeries;
    case chart_types::SeriesKind::XY:
        return type->family == chart_types::Family::Bubble ? samples().bubble : samples().scatter;
    case chart_types::SeriesKind::MultiStacked:
        return type->dualY ? samples().multiSeriesStackedLine : samples().multiSeriesStacked;
    case chart_types::SeriesKind::Multi:
        // A scrolling combination shows the plain multi-series sample.
        if (type->dualY) return samples().dualAxis;
        return type->combination && !type->scroll ? samples().combination : samples().multiSeries;
    case chart_types::SeriesKind::None:
        break;
    }
    return none;
}

} // namespace plotara::catalogue
