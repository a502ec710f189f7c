// The movie URL and the chart documents of the player's heavier benchmark workloads, shared by
// the benchmarks of whole drawings, of their phases and of degenerate sizes.
#pragma once

#include <cstdio>
#include <random>
#include <string>

namespace plotara::bench {

// The movie URL of a chart type's file in the source tree with a document, at 640 x 480.
inline std::string url(int type, const std::string& xml) {
    char file[16];
    std::snprintf(file, sizeof file, "PTM%02d.swf", type);
    return std::string("file:///") + PLOTARA_SOURCE_DIR + "/share/plotara/charts/" + file +
           "?nocache=1&chartWidth=640&chartHeight=480&registerWithJS=1&debugMode=0&dataXML=" + xml;
}

// Four series of 1,000 points each, a random walk around 100, with 1,000 categories.
inline std::string lineDocument() {
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> d(-1, 1);
    std::string x = "<chart caption='Four series'><categories>";
    for (int i = 0; i < 1000; ++i)
        x += "<category label='" + std::to_string(i) + "'/>";
    x += "</categories>";
    for (int s = 0; s < 4; ++s) {
        x += "<dataset seriesName='S" + std::to_string(s) + "'>";
        double v = 100;
        for (int i = 0; i < 1000; ++i) {
            v += d(rng);
            x += "<set value='" + std::to_string(v) + "'/>";
        }
        x += "</dataset>";
    }
    return x + "</chart>";
}

// Two series of 15,000 normally distributed points each.
inline std::string scatterDocument() {
    std::mt19937 rng(2);
    std::normal_distribution<double> d(50, 15);
    std::string x = "<chart caption='Scatter'>";
    for (int s = 0; s < 2; ++s) {
        x += "<dataset seriesName='S" + std::to_string(s) + "'>";
        for (int i = 0; i < 15000; ++i)
            x += "<set x='" + std::to_string(d(rng)) + "' y='" + std::to_string(d(rng)) + "'/>";
        x += "</dataset>";
    }
    return x + "</chart>";
}

} // namespace plotara::bench
