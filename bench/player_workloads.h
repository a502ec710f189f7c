// The chart documents of the player's heavier benchmark workloads, shared by the benchmark of
// whole drawings and the benchmark of their phases.
#pragma once

#include <random>
#include <string>

namespace plotara::bench {

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
