#include "player/detail/ChartMovie.h"

#include "player/util/TextUtil.h"

#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace plotara::player {

namespace {
constexpr std::string_view magic = "plotara-chart-movie 1";

bool isOn(std::string_view v) {
    v = trimSpace(v);
    return v == "1" || equalsNoCase(v, "yes") || equalsNoCase(v, "true");
}
} // namespace

const char* familyName(Family family) {
    switch (family) {
    case Family::Column:
        return "column";
    case Family::Bar:
        return "bar";
    case Family::Line:
        return "line";
    case Family::Area:
        return "area";
    case Family::Pie:
        return "pie";
    case Family::Doughnut:
        return "doughnut";
    case Family::Scatter:
        return "scatter";
    case Family::Bubble:
        return "bubble";
    case Family::Grid:
        return "grid";
    }
    return "column";
}

std::optional<ChartMovie> parseChartMovie(std::string_view text) {
    ChartMovie movie;
    bool sawMagic = false, sawFamily = false;
    for (std::string_view raw : splitView(text, '\n')) {
        std::string_view line = trimSpace(raw);
        if (line.empty() || line.front() == '#') continue;
        if (!sawMagic) {
            if (line != magic) return std::nullopt;
            sawMagic = true;
            continue;
        }
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string key = lowerAscii(trimSpace(line.substr(0, eq)));
        std::string value = lowerAscii(trimSpace(line.substr(eq + 1)));
        if (key == "type") {
            movie.type = value;
        } else if (key == "family") {
            static constexpr Family all[] = {Family::Column,  Family::Bar,    Family::Line,
                                             Family::Area,    Family::Pie,    Family::Doughnut,
                                             Family::Scatter, Family::Bubble, Family::Grid};
            for (Family f : all) {
                if (value == familyName(f)) {
                    movie.family = f;
                    sawFamily = true;
                }
            }
        } else if (key == "series") {
            if (value == "multi") movie.series = SeriesMode::Multi;
            if (value == "stacked") movie.series = SeriesMode::Stacked;
            if (value == "multi-stacked") movie.series = SeriesMode::MultiStacked;
        } else if (key == "look") {
            movie.threeD = value == "3d";
        } else if (key == "combination") {
            movie.combination = isOn(value);
        } else if (key == "dual-y") {
            movie.dualY = isOn(value);
        } else if (key == "scroll") {
            movie.scroll = isOn(value);
        }
    }
    if (!sawMagic || !sawFamily) return std::nullopt;
    return movie;
}

std::optional<ChartMovie> loadChartMovie(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size > 65536)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return parseChartMovie(text);
}

} // namespace plotara::player
