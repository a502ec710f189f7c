// Fonts and colours of a chart: the base font, the palette theme and the document's styles
// applied to the chart's objects (caption, labels, values, ...).
#pragma once

#include "player/draw/Scene.h"
#include "player/model/ChartModel.h"

#include <array>
#include <optional>

namespace plotara::player {

enum class TextRole {
    Caption,
    SubCaption,
    XAxisName,
    YAxisName,
    DataLabels,
    DataValues,
    YAxisValues,
    Legend,
    TrendValues,
    Message
};

class ChartStyle {
public:
    // Reads baseFont, baseFontSize, baseFontColor, palette and the style applications. Cannot
    // fail; unknown objects and styles are ignored.
    explicit ChartStyle(const ChartModel& model);
    // The font of a role: the base font, the role's defaults, then the font styles applied to
    // its object. Worked out once per role. Cannot fail.
    Font font(TextRole role) const;
    const PaletteTheme& theme() const { return theme_; }
    int palette() const { return palette_; }
    // The series colour for index i, honouring the document's paletteColors list. Cannot fail.
    Color seriesColor(std::size_t i) const;

private:
    Font resolveFont(TextRole role) const;

    const ChartModel& model_;
    mutable std::array<std::optional<Font>, 10> fonts_; // by TextRole
    PaletteTheme theme_;
    int palette_ = 1;
    Font base_;
    std::vector<Color> userColors_;
};

} // namespace plotara::player
