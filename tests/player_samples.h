// The catalogue's sample documents and helpers shared by the player tests.
#pragma once

#include "core/ChartTypes.h"
#include "core/String.h"

#include <string>
#include <vector>

namespace plotara::testing {

// The chart types' names by number (1 to 37; 0 is ""), as the gallery names its pictures.
inline const std::vector<std::string> sampleTypeNames = [] {
    std::vector<std::string> names(1);
    for (Long type = 1; type <= chart_types::count; ++type)
        names.push_back(toUtf8(chart_types::find(type)->name));
    return names;
}();

inline const std::string singleSeriesSample =
    "<chart caption='Product-wise sales' subcaption='For the year 2008' xAxisName='Product' "
    "yAxisName='Revenue' numberPrefix='$' chartRightMargin='40'><set label='Product A' "
    "value='235000' /><set label='Product B' value='125100' /><set label='Product C' "
    "value='464200' /><set label='Product D' value='434500' /></chart>";

inline std::string multiSeriesSample(bool combination) {
    return std::string("<chart caption='Product-wise sales' subcaption='Comparison' "
                       "numberPrefix='$' chartRightMargin='40' xAxisName='Product' "
                       "yAxisName='Revenue'><categories><category label='Product A' />"
                       "<category label='Product B' /><category label='Product C' />"
                       "<category label='Product D' /></categories><dataset seriesName='2008'>"
                       "<set value='235000' /><set value='125100' /><set value='464200' />"
                       "<set value='434500' /></dataset><dataset seriesName='2007'") +
           (combination ? " renderAs='Line'" : "") +
           "><set value='198000' /><set value='109300' /><set value='253600' />"
           "<set value='345100' /></dataset></chart>";
}

inline const std::string dualAxisSample =
    "<chart caption='Product-wise sales' subcaption='Comparison' numberPrefix='$' "
    "chartRightMargin='40' PYAxisName='Revenue' SYAxisName='Quantity'><categories>"
    "<category label='Product A' /><category label='Product B' /><category label='Product C' />"
    "<category label='Product D' /></categories><dataset seriesName='Revenue'><set "
    "value='235000' /><set value='125100' /><set value='464200' /><set value='434500' />"
    "</dataset><dataset seriesName='Units' parentYAxis='S' renderAs='Line'><set value='345' />"
    "<set value='434' /><set value='546' /><set value='123' /></dataset></chart>";

inline std::string msStackedSample(bool withLine) {
    std::string s =
        "<chart caption='Break-up of Annual Revenue' subcaption='In Million $' xaxisname='Year' "
        "Yaxisname='Sales in M$' numdivlines='3' numberPrefix='$' numberSuffix='M' "
        "showSum='1'><categories><category label='2008' /><category label='2007' /><category "
        "label='2006' /><category label='2005' /></categories><dataset><dataset "
        "seriesName='Product A' showValues='0'><set value='23' /><set value='25' /><set "
        "value='46' /><set value='43' /></dataset><dataset seriesName='Product B' "
        "showValues='0'><set value='19' /><set value='10' /><set value='25' /><set value='34' "
        "/></dataset></dataset><dataset><dataset seriesName='Service A' showValues='0'><set "
        "value='27' /><set value='25' /><set value='28' /><set value='26' /></dataset><dataset "
        "seriesName='Service B' showValues='0'><set value='17' /><set value='15' /><set "
        "value='18' /><set value='16' /></dataset></dataset>";
    if (withLine)
        s += "<lineset seriesname='Cost as % of Revenue' showValues='0' lineThickness='4'><set "
             "value='40' /><set value='38' /><set value='29' /><set value='45' /></lineset>";
    return s + "</chart>";
}

inline std::string scatterSample() {
    std::string s =
        "<chart palette='2' caption='Server Performance' numDivLines='13' yAxisName='Response "
        "Time (sec)' xAxisName='Server Load (TPS)' rotateNames='0' showLegend='1' "
        "showNames='1' xAxisMaxValue='100' xAxisMinValue='20' yAxisMaxValue='7' "
        "decimals='1'><categories verticalLineColor='666666' verticalLineThickness='1'>";
    for (int x = 20; x <= 100; x += 10) {
        s += "<category label='" + std::to_string(x) + "' x='" + std::to_string(x) +
             "' showVerticalLine='" + (x == 100 ? "0" : "1") + "' />";
    }
    s += "</categories><dataSet seriesName='Server 1' color='009900' anchorSides='3' "
         "anchorRadius='4' anchorBgColor='D5FFD5' anchorBorderColor='009900'>";
    const double s1[][2] = {{2.4, 21}, {3.5, 32}, {2.5, 43}, {4.1, 48}, {3.5, 50},
                            {4.6, 56}, {4.8, 59}, {4.9, 73}, {4.6, 89}, {4.2, 93}};
    for (auto& p : s1)
        s += "<set y='" + std::to_string(p[0]) + "' x='" + std::to_string(p[1]) + "' />";
    s += "</dataSet><dataSet seriesName='Server 2' color='0000FF' anchorSides='4' "
         "anchorRadius='4' anchorBgColor='C6C6FF' anchorBorderColor='0000FF'>";
    const double s2[][2] = {{1.4, 23}, {1.5, 29}, {1.5, 33}, {1.1, 41}, {1.5, 47},
                            {1.6, 49}, {1.8, 51}, {1.9, 53}, {1.6, 57}, {1.2, 58},
                            {1.9, 61}, {1.1, 63}, {1.9, 64}, {1.7, 71}, {1.1, 77},
                            {1.3, 79}, {1.7, 83}, {1.8, 89}, {1.9, 91}, {1.0, 93}};
    for (auto& p : s2)
        s += "<set y='" + std::to_string(p[0]) + "' x='" + std::to_string(p[1]) + "' />";
    s += "</dataSet><vTrendlines><line startValue='20' endValue='65' alpha='5' "
         "color='00FF00' /><line startValue='65' endValue='75' alpha='15' color='FFFF00' />"
         "<line startValue='75' endValue='100' alpha='15' color='FF0000' /></vTrendlines>"
         "<hTrendlines><line startValue='5.2' displayValue='Check' lineThickness='2' "
         "color='FF0000' valueOnRight='1' dashed='1' dashGap='5' /></hTrendlines></chart>";
    return s;
}

// The bubble sample as it travels in a movie URL: its per-cent signs already written as %25.
inline const std::string bubbleSampleEncoded =
    "<chart palette='3' numberPrefix='$' is3D='1' animation='1' clipBubbles='1' "
    "xAxisMaxValue='100' showPlotBorder='0' xAxisName='Stickiness' yAxisName='Cost Per "
    "Service' chartRightMargin='30'><categories><category label='0%25' x='0' /><category "
    "label='20%25' x='20' showVerticalLine='1' /><category label='40%25' x='40' "
    "showVerticalLine='1' /><category label='60%25' x='60' showVerticalLine='1' /><category "
    "label='80%25' x='80' showVerticalLine='1' /><category label='100%25' x='100' "
    "showVerticalLine='1' /></categories><dataSet showValues='0'><set x='30' y='1.3' z='116' "
    "name='Traders' /><set x='32' y='3.5' z='99' name='Farmers' /><set x='8' y='2.1' z='33' "
    "name='Individuals' /><set x='62' y='2.5' z='72' name='Medium Business Houses' /><set "
    "x='78' y='2.3' z='55' name='Corporate Group A' /><set x='75' y='1.4' z='58' "
    "name='Corporate Group C' /><set x='68' y='3.7' z='80' name='HNW Individuals' /><set "
    "x='50' y='2.1' z='105' name='Small Business Houses' /></dataSet><trendlines><line "
    "startValue='2.5' isTrendZone='0' displayValue='Median Cost' color='0372AB' />"
    "</trendlines><vTrendlines><line startValue='0' endValue='60' isTrendZone='1' "
    "displayValue='Potential Wins' color='663333' alpha='10' /><line startValue='60' "
    "endValue='100' isTrendZone='1' displayValue='Cash Cows' color='990099' alpha='5' />"
    "</vTrendlines></chart>";

// The sample document of a chart type (1 to 37), as the designer preview sends it.
inline std::string sampleFor(int type) {
    if ((type >= 1 && type <= 9) || type == 37) return singleSeriesSample;
    if (type == 23 || type == 25 || type == 28 || type == 36) return dualAxisSample;
    if (type == 21 || type == 22 || type == 24) return multiSeriesSample(true);
    if (type == 26) return msStackedSample(false);
    if (type == 27) return msStackedSample(true);
    if (type == 29) return scatterSample();
    if (type == 30) return bubbleSampleEncoded;
    return multiSeriesSample(false);
}

// The chart folder the build installs from.
inline std::string chartsDir() {
    return PLOTARA_CHARTS_DIR;
}

// A movie URL as the control writes it: folder, "\", movie file, the query and the data.
inline std::string movieUrl(int type, const std::string& data, int width = 640, int height = 480,
                            const std::string& extra = "") {
    char file[16];
    std::snprintf(file, sizeof file, "PTM%02d.swf", type);
    return "file:///" + chartsDir() + "\\" + file +
           "?nocache=1234.5&chartWidth=" + std::to_string(width) +
           "&chartHeight=" + std::to_string(height) + extra +
           "&registerWithJS=1&debugMode=0&dataXML=" + data;
}

} // namespace plotara::testing
