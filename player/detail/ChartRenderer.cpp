#include "player/detail/ChartRenderer.h"

#include "player/grid/GridChart.h"
#include "player/layout/CategoryMerge.h"
#include "player/pie/PieChart.h"

#include <algorithm>

namespace plotara::player {

namespace {

bool hasCategories(Family f) {
    return f != Family::Pie && f != Family::Doughnut && f != Family::Scatter &&
           f != Family::Bubble && f != Family::Grid;
}

// A transition frame of a category chart whose categories changed: the categories of both charts
// (see CategoryMerge.h), unless the chart scrolls or is zoomed (their windows are the new
// chart's). The motion takes the slots' shares.
std::optional<CategoryMerge> mergeFrame(const ChartModel& model, const ChartMovie& movie,
                                        const ViewState& view, Motion* motion,
                                        const ViewOptions* options) {
    if (motion == nullptr || motion->start() == nullptr || !hasCategories(movie.family) ||
        view.scrollVisible > 0 || (options != nullptr && !options->range.whole()))
        return std::nullopt;
    std::optional<CategoryMerge> merged =
        mergeCategories(model, motion->start()->categories(), motion->share());
    if (merged) motion->setSlotShares(merged->slotShares);
    return merged;
}

// The hit regions of a merged frame name points by their place in the new chart; those of a
// leaving category belong to no series or point.
void renumberPoints(HitStore& hits, const std::vector<int>& positions) {
    std::vector<HitRegion> all(hits.begin(), hits.end());
    hits.clear();
    for (HitRegion& h : all) {
        if (h.pointIndex >= 0 && static_cast<std::size_t>(h.pointIndex) < positions.size()) {
            h.pointIndex = positions[static_cast<std::size_t>(h.pointIndex)];
            if (h.pointIndex < 0) h.seriesIndex = -1;
        }
        hits.push_back(std::move(h));
    }
}

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
        if (std::optional<CategoryMerge> merged = mergeFrame(model, movie, view, motion, options)) {
            ChartContext frame{scene,  text,   merged->model, ChartStyle(merged->model),
                               width,  height, drawing,       motion,
                               options};
            ViewState frameView = view; // the categories shown stay the new chart's
            drawn = renderCartesian(frame, movie, frameView);
            renumberPoints(scene.hits, merged->positions);
        } else {
            drawn = renderCartesian(ctx, movie, view);
        }
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
