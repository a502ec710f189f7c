#include "player/layout/Motion.h"

#include "player/model/ChartModel.h"

#include <algorithm>

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

} // namespace

double easeOutCubic(double t) {
    t = std::clamp(t, 0.0, 1.0);
    const double u = 1 - t;
    return 1 - u * u * u;
}

MotionStart::MotionStart(const ChartModel& model, const ChartLayout& layout) {
    auto take = [&](const Series& s) {
        for (std::size_t i = 0; i < s.points.size(); ++i) {
            const double v = s.points[i].value;
            if (isMissing(v)) continue;
            values_.try_emplace(indexKey(s.name, i), v);
            if (i < model.categories.size() && !model.categories[i].label.empty())
                values_.try_emplace(labelKey(s.name, model.categories[i].label), v);
        }
    };
    for (const Series& s : model.datasets)
        take(s);
    for (const Series& s : model.linesets)
        take(s);
    for (const LayoutAxis& a : layout.axes)
        axes_.push_back({a.id, a.min, a.max, a.log, {}});
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
    if (f >= 1 || isMissing(v)) return v;
    double from = rest;
    if (start_ != nullptr) start_->find(series, category, index, from);
    return from + (v - from) * f;
}

void Motion::easeAxis(const std::string& id, AxisScale& scale) const {
    const LayoutAxis* before = start_ != nullptr ? start_->axis(id) : nullptr;
    if (before == nullptr || before->log || scale.log || scale.divisions <= 0) return;
    const double f = share();
    scale.min = before->min + (scale.min - before->min) * f;
    scale.max = before->max + (scale.max - before->max) * f;
    scale.step = (scale.max - scale.min) / scale.divisions;
}

} // namespace plotara::player
