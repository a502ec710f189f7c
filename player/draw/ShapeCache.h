// Buys: the lines of text a chart shapes again and again kept shaped. A chart measures most texts
// more than once while laying them out and shapes them again to draw them, and a chart refilled
// many times a second has the same axis labels, caption and legend every time: HarfBuzz and
// FriBidi took 6.5% of the live 12-column chart's frame, 1.3% with the lines kept (perf, 3,000
// frames of bench/live --only data --workload column each); the pixels are the same.
#pragma once

#include "player/draw/Scene.h"
#include "player/draw/TextShaper.h"

#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>

namespace plotara::player {

class ShapeCache {
public:
    // How a line was asked for: whole, fitted to a width (ellipsized when wider), or already
    // shortened to a width (the ellipsis widened to fill it).
    enum class Mode : char { Fitted = 'f', Shortened = 's' };

    // The line of text in font for that mode and width, shaped by make() the first time it is
    // asked for. At most `limit` lines are kept: a full cache starts again empty. The reference
    // holds until the next call. Fails only as make() does (then nothing is kept).
    template <class Make>
    const ShapedLine& get(std::string_view text, const Font& font, double size, Mode mode,
                          double width, Make&& make) {
        key_.clear();
        key_ += static_cast<char>(mode);
        key_ += static_cast<char>(font.bold);
        key_ += static_cast<char>(font.italic);
        appendNumber(size);
        appendNumber(width);
        key_ += font.family;
        key_ += '\0';
        key_ += text;
        if (const auto it = lines_.find(key_); it != lines_.end()) return it->second;
        if (lines_.size() >= limit) lines_.clear();
        return lines_.emplace(key_, make()).first->second;
    }

    static constexpr std::size_t limit = 1024;

private:
    void appendNumber(double value) {
        char bytes[sizeof value];
        std::memcpy(bytes, &value, sizeof value);
        key_.append(bytes, sizeof value);
    }

    std::unordered_map<std::string, ShapedLine> lines_;
    std::string key_; // reused for every lookup
};

} // namespace plotara::player
