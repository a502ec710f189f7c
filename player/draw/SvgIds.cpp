#include "player/draw/SvgIds.h"

#include <map>
#include <string_view>

namespace plotara::player {

namespace {

constexpr std::string_view surfaceWord = "surface";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether the "surface" at `at` is an id or a reference rather than text of the chart.
bool isIdContext(const std::string& svg, std::size_t at) {
    if (at >= 4 && svg.compare(at - 4, 4, "id=\"") == 0) return true;
    return at >= 2 && svg[at - 1] == '#' && (svg[at - 2] == '"' || svg[at - 2] == '(');
}

} // namespace

void renumberSurfaceIds(std::string& svg) {
    std::map<std::string, std::string> renamed;
    std::string out;
    out.reserve(svg.size());
    std::size_t copied = 0;
    for (std::size_t at = svg.find(surfaceWord); at != std::string::npos;
         at = svg.find(surfaceWord, at + surfaceWord.size())) {
        const std::size_t digits = at + surfaceWord.size();
        std::size_t end = digits;
        while (end < svg.size() && isDigit(svg[end]))
            ++end;
        if (end == digits || !isIdContext(svg, at)) continue;
        const std::string number = svg.substr(digits, end - digits);
        const auto entry = renamed.try_emplace(number, std::to_string(renamed.size() + 1)).first;
        out.append(svg, copied, digits - copied);
        out += entry->second;
        copied = end;
    }
    if (copied == 0) return;
    out.append(svg, copied, std::string::npos);
    svg = std::move(out);
}

} // namespace plotara::player
