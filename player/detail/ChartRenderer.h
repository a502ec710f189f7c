// Turns a parsed chart into a Scene with the family its chart movie names, and draws the
// message and debug scenes.
#pragma once

#include "player/detail/ChartMovie.h"
#include "player/detail/Families.h"
#include "player/draw/Scene.h"
#include "player/draw/TextEngine.h"
#include "player/model/ChartModel.h"

#include <string>
#include <vector>

namespace plotara::player {

// Builds the chart's scene at the given size; false when the family found nothing to draw (the
// scene then holds the background only). With a motion, the scene is a frame on the way to the
// chart (see Motion.h); without one it is the still picture. With options, series the viewer hid
// are left out and the chart shows the range zoomed to (see ViewRange.h).
bool renderChart(Scene& scene, TextEngine& text, const ChartModel& model, const ChartMovie& movie,
                 double width, double height, ViewState& view, const Attributes& gridParams,
                 const Color* background, Motion* motion = nullptr,
                 const ViewOptions* options = nullptr);
// Lays the chart out at the given size without drawing it: the scene's layout is the one
// renderChart records, and the scene holds no items or hit regions. False as renderChart.
bool layoutChart(Scene& scene, TextEngine& text, const ChartModel& model, const ChartMovie& movie,
                 double width, double height, ViewState& view, const Attributes& gridParams);
// A scene showing one message centred.
void renderMessage(Scene& scene, TextEngine& text, const std::string& message, double width,
                   double height, const Color* background);
// Draws the debug panel (one line per entry) over the top left of a scene.
void addDebugPanel(Scene& scene, TextEngine& text, const std::vector<std::string>& lines);

} // namespace plotara::player
