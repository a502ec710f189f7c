// Draws a column chart to a PNG file through the chart control and the chart player of an
// installed Plotara. Usage: consumer [OUTPUT.png]   (default sales.png)
#include "control/Plotara.h"
#include "core/Error.h"
#include "core/Version.h"
#include "platform/headless/HeadlessContainer.h"
#include "player/ChartFolder.h"
#include "player/ChartPlayer.h"

#include <cstdio>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    const std::string output = argc > 1 ? argv[1] : "sales.png";
    try {
        plotara::HeadlessContainer form;
        auto owned = std::make_unique<plotara::ChartPlayer>();
        plotara::ChartPlayer& player = *owned;
        plotara::Plotara chart(form, std::move(owned));
        chart.put_ChartPath(plotara::defaultChartFolder());
        chart.put_ChartType(plotara::enumChartNames::mscolumn2d);
        auto data = chart.get_Data();
        data->setChartParams(L"caption=Sales by Region;numberPrefix=$");
        data->addCategory(L"Q1");
        data->addCategory(L"Q2");
        data->addDataset(L"North");
        data->addChartData(L"120");
        data->addChartData(L"135");
        data->addDataset(L"South");
        data->addChartData(L"90");
        data->addChartData(L"150");
        chart.RenderChart();
        // The player draws nothing when it cannot load the chart movie: say so.
        if (player.state() != plotara::PlayerState::Chart) {
            std::fprintf(stderr, "consumer: no chart drawn (chart folder %ls)\n",
                         chart.get_ChartPath().c_str());
            return 1;
        }
        if (!player.savePng(output)) {
            std::fprintf(stderr, "consumer: cannot write %s\n", output.c_str());
            return 1;
        }
    } catch (const plotara::Error& error) {
        std::fprintf(stderr, "consumer: error %d: %s\n", static_cast<int>(error.number()),
                     error.what());
        return 1;
    }
    std::printf("Plotara %s: chart written to %s\n", PLOTARA_VERSION, output.c_str());
    return 0;
}
