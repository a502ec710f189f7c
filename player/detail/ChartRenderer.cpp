#include "player/detail/ChartRenderer.h"

#include "player/grid/GridChart.h"
#include "player/pie/PieChart.h"

#include <algorithm>

namespace plotara::player {

namespace {

// Lays the chart out and, when drawing, walks the layout onto the scene.
bool buildChart(Scene& scene, TextEngine& text, const ChartModel& model, const ChartMovie& movie,
                double width, double height, ViewState& view, const Attributes& gridParams,
                const Color* background, bool drawing, Motion* motion, const ViewOptions* options) {
    // Cleared rather than replaced: the lists keep their capacity from the last drawing.
    scene.items.clear();
    scene.rects.clear();
    scene.hits.clear();
    scene.pointHits.clear();
    scene.layout = ChartLayout{};
    scene.layout.width = width;
    scene.layout.height = height;
    scene.background = Scene{}.background;
    scene.width = width;
    scene.height = height;
    ChartContext ctx{scene,   text,   model,  ChartStyle(model), width, height,
                     drawing, motion, options};
    scene.background = ctx.style.theme().background;
    if (background) scene.background = *background;
    // bgAlpha applies to the background in use, whether bgColor gives it or not.
    if (model.chart.has("bgcolor") || model.chart.has("bgalpha"))
        scene.background = withAlpha(parseColor(model.chart.text("bgcolor"), scene.background),
                                     model.chart.number("bgalpha", 100));
    bool drawn = false;
    switch (movie.family) {
    case Family::Pie:
    case Family::Doughnut:
        drawn = renderPie(ctx, movie);
        break;
    case Family::Scatter:
    case Family::Bubble:
        drawn = renderXY(ctx, movie);
        break;
    case Family::Grid:
        drawn = renderGrid(ctx, gridParams);
        break;
    default:
        drawn = renderCartesian(ctx, movie, view);
        break;
    }
    scene.pointHits.finish();
    return drawn;
}

} // namespace

bool renderChart(Scene& scene, TextEngine& text, const ChartModel& model, const ChartMovie& movie,
                 double width, double height, ViewState& view, const Attributes& gridParams,
                 const Color* background, Motion* motion, const ViewOptions* options) {
    return buildChart(scene, text, model, movie, width, height, view, gridParams, background, true,
                      motion, options);
}

bool layoutChart(Scene& scene, TextEngine& text, const ChartModel& model, const ChartMovie& movie,
                 double width, double height, ViewState& view, const Attributes& gridParams) {
    return buildChart(scene, text, model, movie, width, height, view, gridParams, nullptr, false,
                      nullptr, nullptr);
}

void renderMessage(Scene& scene, TextEngine& text, const std::string& message, double width,
                   double height, const Color* background) {
    scene = Scene{};
    scene.width = width;
    scene.height = height;
    if (background) scene.background = *background;
    scene.layout.width = width;
    scene.layout.height = height;
    TextItem item;
    item.tag = {TextKind::Message};
    item.text = message;
    item.font.size = 12;
    item.font.color = rgb(0x333333);
    item.x = width / 2;
    item.y = height / 2;
    item.h = HAlign::Center;
    item.v = VAlign::Middle;
    item.maxWidth = std::max(width - 10, 10.0);
    text.place(item);
    scene.layout.texts.push_back({item.tag, item.text, item.box, item.angle, item.fullText});
    scene.add(std::move(item));
}

void addDebugPanel(Scene& scene, TextEngine& text, const std::vector<std::string>& lines) {
    Font font;
    font.family = "DejaVu Sans Mono";
    font.size = 9;
    font.color = rgb(0x00FF66);
    double lineH = text.measure("Ag", font).h;
    double maxW = std::max(scene.width - 8, 20.0);
    double widest = 0;
    for (const std::string& l : lines)
        widest = std::max(widest, text.measure(l, font).w);
    std::size_t fit = static_cast<std::size_t>(std::max(1.0, (scene.height - 12) / lineH));
    std::size_t n = std::min(lines.size(), fit);
    Rect panel{4, 4, std::min(widest + 10, maxW), static_cast<double>(n) * lineH + 8};
    scene.fillRect(panel, withAlpha(rgb(0x000000), 80));
    for (std::size_t i = 0; i < n; ++i) {
        TextItem t;
        t.text = lines[i];
        t.font = font;
        t.x = panel.x + 5;
        t.y = panel.y + 4 + static_cast<double>(i) * lineH;
        t.maxWidth = panel.w - 10;
        text.place(t);
        scene.add(std::move(t));
    }
}

} // namespace plotara::player
