// Drawing a document into a player and reading its layout model, for the layout tests.
#pragma once

#include "player/ChartPlayer.h"
#include "player_samples.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace plotara::testing {

// A player that drew the document as the chart type (1 to 37) at the size; the test fails when
// no chart shows.
inline std::unique_ptr<ChartPlayer> drawChart(int type, const std::string& xml, int width = 640,
                                              int height = 480, const std::string& extra = "") {
    auto player = std::make_unique<ChartPlayer>();
    player->put_Movie(fromUtf8(movieUrl(type, xml, width, height, extra)));
    EXPECT_EQ(player->state(), PlayerState::Chart) << toUtf8(player->messageText());
    return player;
}

// "<chart ...><set value='v0'/>...</chart>" with the chart attributes given.
inline std::string singleSeries(const std::string& chartAttrs, const std::vector<double>& values,
                                const std::string& labelPrefix = "C") {
    std::string xml = "<chart " + chartAttrs + ">";
    int i = 0;
    for (double v : values) {
        char num[40];
        std::snprintf(num, sizeof num, "%.17g", v);
        xml += "<set label='" + labelPrefix + std::to_string(i++) + "' value='" + num + "'/>";
    }
    return xml + "</chart>";
}

} // namespace plotara::testing
