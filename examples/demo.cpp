// Builds a few charts the way a host does, through the public data object, and prints each chart
// XML document. Usage: plotara_demo [--list] [NAME...]
#include "core/SafeArray.h"
#include "data/PlotaraData.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using plotara::PlotaraData;
using plotara::SafeArray;
using plotara::Variant;

struct Demo {
    const char* name;
    const char* description;
    int chartType; // the control's chart type number
    std::function<void(PlotaraData&)> build;
};

const std::vector<Demo>& demos() {
    static const std::vector<Demo> all = {
        {"monthly-sales", "Column chart of half a year's sales with a target line", 2,
         [](PlotaraData& data) {
             data.setChartParams(
                 L"caption=Monthly Sales;subCaption=2026;numberPrefix=$;decimals=0");
             const wchar_t* months[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun"};
             const wchar_t* sales[] = {L"46200", L"51800", L"49300", L"58100", L"61250", L"64900"};
             for (int i = 0; i < 6; ++i)
                 data.addCategory(months[i]);
             for (int i = 0; i < 6; ++i)
                 data.addChartData(sales[i], L"toolText=Sales in " + std::wstring(months[i]));
             data.addTrendLine(L"startValue=55000;color=0372AB;displayValue=Target");
         }},
        {"regions", "Multi-series column chart of sales by region, with the host's own colours", 11,
         [](PlotaraData& data) {
             data.setChartParams(
                 L"caption=Sales by Region;xAxisName=Quarter;yAxisName=Revenue (k$)");
             data.addColors(L"1F77B4;FF7F0E;2CA02C");
             for (const wchar_t* q : {L"Q1", L"Q2", L"Q3", L"Q4"})
                 data.addCategory(q);
             const wchar_t* regions[] = {L"North", L"South", L"R&D Labs"};
             const wchar_t* values[3][4] = {{L"120", L"135", L"128", L"150"},
                                            {L"98", L"104", L"117", L"121"},
                                            {L"45", L"52", L"49", L"61"}};
             for (int r = 0; r < 3; ++r) {
                 data.addDataset(regions[r]);
                 for (const wchar_t* v : values[r])
                     data.addChartData(v);
             }
         }},
        {"products-from-array", "The same kind of chart filled in one call from a host array", 12,
         [](PlotaraData& data) {
             data.setChartParams(L"caption=Units Sold;showValues=0");
             Variant categories(SafeArray::of({L"2024", L"2025", L"2026"}));
             Variant rows(SafeArray::of2D(
                 {{L"Widgets", L"showValues=1", Variant(310), Variant(342), Variant(398)},
                  {L"Gadgets", L"", Variant(205.5), Variant(230.25), Variant(251.0)}}));
             data.addChartDataFromArray(rows, categories);
         }},
        {"stacked-plan", "Stacked columns of plan against actual, with a line set for the margin",
         27,
         [](PlotaraData& data) {
             data.setChartParams(L"caption=Plan vs Actual;PYAxisName=Cost;SYAxisName=Margin %");
             for (const wchar_t* q : {L"Q1", L"Q2", L"Q3"})
                 data.addCategory(q);
             data.createMSStDataset();
             data.addMSStSubDataset(L"Plan: staff");
             for (const wchar_t* v : {L"40", L"42", L"45"})
                 data.addChartData(v);
             data.addMSStSubDataset(L"Plan: material");
             for (const wchar_t* v : {L"20", L"22", L"21"})
                 data.addChartData(v);
             data.createMSStDataset();
             data.addMSStSubDataset(L"Actual");
             for (const wchar_t* v : {L"63", L"61", L"70"})
                 data.addChartData(v);
             data.addMSLineset(L"Margin", L"showValues=0");
             for (const wchar_t* v : {L"12.5", L"14.1", L"9.8"})
                 data.addMSLinesetData(v);
         }},
        {"response-times", "Scatter chart of server response times", 29,
         [](PlotaraData& data) {
             data.setChartParams(
                 L"caption=Response Time vs Load;xAxisName=Requests/s;yAxisName=ms");
             for (int x = 0; x <= 400; x += 100)
                 data.addCategory(std::to_wstring(x), L"x=" + std::to_wstring(x));
             data.addDataset(L"Server A");
             const int load[] = {50, 120, 180, 260, 330};
             const wchar_t* ms[] = {L"12.5", L"14.0", L"19.8", L"31.2", L"55.0"};
             for (int i = 0; i < 5; ++i)
                 data.addChartData(std::to_wstring(load[i]), L"y=" + std::wstring(ms[i]));
         }},
    };
    return all;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> wanted(argv + 1, argv + argc);
    if (!wanted.empty() && wanted[0] == "--list") {
        for (const Demo& demo : demos())
            std::printf("%-22s %s\n", demo.name, demo.description);
        return 0;
    }
    int shown = 0;
    for (const Demo& demo : demos()) {
        if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), demo.name) == wanted.end())
            continue;
        PlotaraData data;
        data.setChartTypeNumber(std::to_wstring(demo.chartType));
        demo.build(data);
        std::printf("==> %s (chart type %d): %s\n%s\n\n", demo.name, demo.chartType,
                    demo.description, plotara::toUtf8(data.getXML()).c_str());
        ++shown;
    }
    if (shown == 0) {
        std::fprintf(stderr, "plotara_demo: no demo named so; try --list\n");
        return 2;
    }
    return 0;
}
