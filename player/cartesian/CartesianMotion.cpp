// A transition's frame on a category chart: the series of the chart before that this chart
// lacks are put back as series leaving it, and every value is moved to where it stands now.
#include "player/cartesian/SeriesDrawing.h"

#include <algorithm>
#include <optional>

namespace plotara::player {

namespace {

// A series of the chart before that this chart lacks, as a series leaving it: drawn like the
// series of its kind beside it, from its old values (at the categories this chart still has)
// down to the base line, with no value labels and no place in the layout's series (index -1).
// Columns side by side give it a slot of its own, which narrows as it leaves.
std::optional<PlotSeries> leavingSeries(const MotionStart::SeriesBefore& before,
                                        const std::vector<PlotSeries>& series,
                                        std::size_t categories, double share) {
    const PlotKind kind = before.renderAs == "line"   ? PlotKind::Line
                          : before.renderAs == "area" ? PlotKind::Area
                                                      : PlotKind::Column;
    const bool secondary = before.axis == "y2";
    auto like = std::find_if(series.begin(), series.end(), [&](const PlotSeries& s) {
        return s.kind == kind && s.secondary == secondary && s.index >= 0;
    });
    if (like == series.end()) return {};
    PlotSeries out = *like;
    if (kind == PlotKind::Column && out.stack < 0) out.width = 1 - share;
    out.name = before.name;
    out.color = before.color;
    out.index = -1;
    out.source = nullptr;
    out.perPointColors = false;
    out.showValues = false;
    if (out.stack >= 0 && before.stack >= 0) out.stack = before.stack;
    out.values.assign(categories, missingValue);
    return out;
}

// Puts the series leaving the chart among the others, where they stood in the chart before (a
// stack keeps its order).
void addLeavingSeries(const MotionStart& start, std::vector<PlotSeries>& series,
                      std::size_t categories, double share) {
    std::size_t at = 0;
    for (const MotionStart::SeriesBefore& before : start.series()) {
        auto kept = std::find_if(series.begin(), series.end(), [&](const PlotSeries& s) {
            return s.index >= 0 && s.name == before.name;
        });
        if (kept != series.end()) {
            at = std::max(at, static_cast<std::size_t>(kept - series.begin()) + 1);
            continue;
        }
        if (std::optional<PlotSeries> leaving = leavingSeries(before, series, categories, share))
            series.insert(series.begin() + static_cast<long>(at++), std::move(*leaving));
    }
}

} // namespace

int moveSeries(const ChartContext& ctx, const PlotGeometry& g, std::vector<PlotSeries>& series,
               std::size_t categories) {
    const Motion& motion = *ctx.motion;
    const std::vector<Category>& labels = ctx.model.categories;
    static const std::string none;
    if (const MotionStart* start = motion.start()) {
        for (PlotSeries& s : series) {
            const auto& old = start->series();
            const bool known = std::any_of(old.begin(), old.end(),
                                           [&](const auto& b) { return b.name == s.name; });
            if (s.kind == PlotKind::Column && s.stack < 0 && !known) s.width = motion.share();
        }
        addLeavingSeries(*start, series, categories, motion.share());
    }
    for (PlotSeries& s : series) {
        const AxisScale& a = s.secondary && g.hasSecondary ? g.secondary : g.primary;
        const double rest = a.log ? a.min : std::clamp(0.0, a.min, a.max);
        for (std::size_t i = 0; i < s.values.size(); ++i) {
            const std::string& label = i < labels.size() ? labels[i].label : none;
            s.values[i] = motion.value(s.name, label, i, s.values[i], rest);
        }
    }
    return arrangeStacks(series, categories);
}

} // namespace plotara::player
