// What the layout of a chart decided, as plain data: the plot rectangle, the value axes with
// their ticks, every text with its role and box, how many points of each series were drawn, the
// legend, and notes on anything left out. Tests and tools read it (ChartPlayer::layoutJson).
#pragma once

#include "player/draw/Color.h"
#include "player/draw/Geometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace plotara::player {

// What a drawn text is for.
enum class TextKind : std::uint8_t {
    Other,
    Caption,
    SubCaption,
    AxisName,
    CategoryLabel,
    ValueLabel,
    Legend,
    Tick,
    Message,
    Trend,
    PieLabel
};

// The role and owner of a text; series and index are -1 when it belongs to no point.
struct TextTag {
    TextKind kind = TextKind::Other;
    int series = -1, index = -1;
};

struct LayoutTick {
    double value = 0;
    std::string label; // "" when the tick has no label (thinned, or labels hidden)
    Rect box;
};

struct LayoutAxis {
    std::string id; // "x", "y" or "y2"
    double min = 0, max = 1;
    bool log = false;
    std::vector<LayoutTick> ticks;
};

struct LayoutText {
    TextTag tag;
    std::string text;     // as drawn
    Rect box;             // after rotation
    double angle = 0;     // degrees the text turns (negative: counter-clockwise)
    std::string fullText; // the whole text when the drawn one is shortened, else ""
};

struct LayoutSeries {
    std::string name;
    std::string axis = "y"; // "y" or "y2"
    std::string renderAs;   // column, bar, line, area, pie, doughnut, scatter, bubble, grid
    std::size_t points = 0; // points in the document
    std::size_t drawn = 0;  // points drawn
    int stack = -1;         // the stack its columns, bars or areas lie in; -1 when not stacked
    std::optional<std::pair<std::size_t, std::size_t>> window; // scroll charts: first, count
};

struct LayoutLegendEntry {
    std::string name;
    Color color;
    bool hidden = false; // the viewer hid the entry's series
};

struct ChartLayout {
    double width = 0, height = 0;
    std::optional<Rect> plot; // none for messages
    std::vector<LayoutAxis> axes;
    std::vector<LayoutText> texts;
    std::vector<LayoutSeries> series;
    std::vector<LayoutLegendEntry> legend;
    std::vector<std::string> notes;

    // The axis with the id, or nullptr. Cannot fail.
    const LayoutAxis* axis(const std::string& id) const;
    // The axis with the id, added when missing. Cannot fail.
    LayoutAxis& axisFor(const std::string& id);
};

// The name of a text kind as the JSON writes it ("value-label", ...). Cannot fail.
const char* textKindName(TextKind kind);

// The layout as a JSON document (schema in docs/player.md). Cannot fail; non-finite numbers
// are written as null.
std::string layoutJson(const ChartLayout& layout);

} // namespace plotara::player
