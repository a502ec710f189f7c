#include "player/layout/Motion.h"

#include "player/layout/ChartStyle.h"

#include <algorithm>
#include <cmath>

namespace plotara::player {

namespace {

// A draw-in's points set off over the first 30% of the time: the first arrives at 70%.
constexpr double staggerSpan = 0.3;

std::string labelKey(const std::string& series, const std::string& category) {
    std::string key;
    key.reserve(series.size() + category.size() + 1);
    key.append(series).push_back('\x1f');
    key.append(category);
    return key;
}

std::string indexKey(const std::string& series, std::size_t index) {
    return labelKey(series, '#' + std::to_string(index)) + '\x1f';
}

// A coordinate part way from a to b: on a logarithmic axis in logarithms (both ends positive), so
// that a point keeps its place on an axis whose range scales with it.
double blend(double a, double b, double f, bool log) {
    if (isMissing(a) || isMissing(b)) return b;
    if (log && a > 0 && b > 0) return std::exp(std::log(a) + std::log(b / a) * f);
    return a + (b - a) * f;
}

} // namespace

double easeOutCubic(double t) {
    t = std::clamp(t, 0.0, 1.0);
    const double u = 1 - t;
    return 1 - u * u * u;
}

std::string categoryKey(const ChartModel& model, std::size_t index) {
    if (index < model.categories.size() && !model.categories[index].label.empty())
        return model.categories[index].label;
    return "\x1f#" + std::to_string(index);
}

MotionStart::MotionStart(const ChartModel& model, const ChartLayout& layout) {
    std::size_t categories = model.categories.size();
    for (const auto* list : {&model.datasets, &model.linesets})
        for (const Series& s : *list)
            categories = std::max(categories, s.points.size());
    categories_.reserve(categories);
    for (std::size_t i = 0; i < categories; ++i)
        categories_.push_back(categoryKey(model, i));
    auto take = [&](const Series& s) {
        for (std::size_t i = 0; i < s.points.size(); ++i) {
            const double v = s.points[i].value;
            if (isMissing(v)) continue;
            values_.try_emplace(indexKey(s.name, i), v);
            if (i < model.categories.size() && !model.categories[i].label.empty())
                values_.try_emplace(labelKey(s.name, model.categories[i].label), v);
        }
    };
    // The series as the layout recorded them (one per dataset, then per lineset), coloured as
    // the families colour them.
    const ChartStyle style(model);
    auto keep = [&](const Series& s) {
        take(s);
        if (!s.xy.empty()) xy_.try_emplace(s.name, s.xy);
        const std::size_t k = series_.size();
        SeriesBefore& before = series_.emplace_back();
        before.name = s.name;
        before.color = parseColor(s.attrs.text("color"), style.seriesColor(k));
        before.stack = s.stack;
        if (k < layout.series.size()) {
            before.renderAs = layout.series[k].renderAs;
            before.axis = layout.series[k].axis;
        }
    };
    for (const Series& s : model.datasets)
        keep(s);
    for (const Series& s : model.linesets)
        keep(s);
    for (const LayoutAxis& a : layout.axes)
        axes_.push_back({a.id, a.min, a.max, a.log, {}});
    if (model.datasets.empty()) return;
    const std::vector<DataPoint>& points = model.datasets.front().points;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const DataPoint& p = points[i];
        if (isMissing(p.value) || p.value <= 0) continue;
        const Color color = parseColor(p.attrs.text("color"), style.seriesColor(slices_.size()));
        slices_.push_back({i < model.categories.size() ? model.categories[i].label : std::string(),
                           i, p.value, withAlpha(color, p.attrs.number("alpha", 100))});
    }
}

void MotionStart::partWay(const MotionStart* from, double f) {
    auto between = [f](double a, double b) {
        return isMissing(a) || isMissing(b) ? b : a + (b - a) * f;
    };
    for (auto& [key, v] : values_) {
        const auto was = from ? from->values_.find(key) : values_.end();
        v = from && was != from->values_.end() ? between(was->second, v) : v * f;
    }
    if (from == nullptr) return;
    for (const auto& [key, v] : from->values_)
        values_.try_emplace(key, v * (1 - f)); // leaving: part way to the base line
    const LayoutAxis *xAxis = axis("x"), *yAxis = axis("y");
    const bool logX = xAxis != nullptr && xAxis->log, logY = yAxis != nullptr && yAxis->log;
    for (auto& [name, points] : xy_) {
        const std::vector<XYPoint>* was = from->xy(name);
        for (std::size_t i = 0; was && i < std::min(points.size(), was->size()); ++i) {
            XYPoint& pt = points[i];
            pt.x = blend((*was)[i].x, pt.x, f, logX);
            pt.y = blend((*was)[i].y, pt.y, f, logY);
            pt.z = between((*was)[i].z, pt.z);
        }
    }
    for (SliceBefore& slice : slices_) {
        for (const SliceBefore& was : from->slices_)
            if (was.label == slice.label && was.index == slice.index)
                slice.value = between(was.value, slice.value);
    }
}

const std::vector<XYPoint>* MotionStart::xy(const std::string& series) const {
    auto found = xy_.find(series);
    return found == xy_.end() ? nullptr : &found->second;
}

bool MotionStart::find(const std::string& series, const std::string& category, std::size_t index,
                       double& value) const {
    auto found = category.empty() ? values_.end() : values_.find(labelKey(series, category));
    if (found == values_.end() && category.empty()) found = values_.find(indexKey(series, index));
    if (found == values_.end()) return false;
    value = found->second;
    return true;
}

const LayoutAxis* MotionStart::axis(const std::string& id) const {
    for (const LayoutAxis& a : axes_) {
        if (a.id == id) return &a;
    }
    return nullptr;
}

double Motion::share(std::size_t index) const {
    if (start_ != nullptr || points_ <= 1) return easeOutCubic(progress_);
    const std::size_t order = std::min(index > first_ ? index - first_ : 0, points_ - 1);
    const double delay =
        staggerSpan * static_cast<double>(order) / static_cast<double>(points_ - 1);
    return easeOutCubic((progress_ - delay) / (1 - staggerSpan));
}

double Motion::value(const std::string& series, const std::string& category, std::size_t index,
                     double v, double rest) const {
    const double f = share(index);
    if (f >= 1) return v;
    double from = rest;
    const bool before = start_ != nullptr && start_->find(series, category, index, from);
    if (isMissing(v)) return before ? from + (rest - from) * f : v;
    return from + (v - from) * f;
}

XYPoint Motion::place(const std::string& series, std::size_t index, const XYPoint& pt, bool& fresh,
                      bool logX, bool logY) const {
    const std::vector<XYPoint>* before = start_ != nullptr ? start_->xy(series) : nullptr;
    fresh = before == nullptr || index >= before->size();
    const double f = share(index);
    if (fresh || f >= 1) return pt;
    const XYPoint& from = (*before)[index];
    XYPoint now = pt;
    now.x = blend(from.x, pt.x, f, logX);
    now.y = blend(from.y, pt.y, f, logY);
    now.z = blend(from.z, pt.z, f, false);
    return now;
}

bool Motion::easeAxis(const std::string& id, AxisScale& scale) const {
    const LayoutAxis* before = start_ != nullptr ? start_->axis(id) : nullptr;
    if (before == nullptr || before->log != scale.log || scale.divisions <= 0) return false;
    if (before->min == scale.min && before->max == scale.max) return false;
    const double f = share();
    if (f >= 1) return false;
    if (!scale.log) {
        scale.min = before->min + (scale.min - before->min) * f;
        scale.max = before->max + (scale.max - before->max) * f;
        scale.step = (scale.max - scale.min) / scale.divisions;
        return true;
    }
    // A logarithmic axis eases its ends' logarithms, so that the picture moves as evenly as a
    // linear axis' does; the ratio of two ticks follows.
    if (!(before->min > 0 && before->max > before->min && scale.min > 0 && scale.max > scale.min))
        return false;
    auto between = [f](double a, double b) { return std::exp(std::log(a) + std::log(b / a) * f); };
    scale.min = between(before->min, scale.min);
    scale.max = between(before->max, scale.max);
    scale.step = std::pow(scale.max / scale.min, 1.0 / scale.divisions);
    return true;
}

} // namespace plotara::player
