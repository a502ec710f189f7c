// The chart player's answers to a viewer: hit testing, clicks (links and the scroll bar), series
// shown and hidden from the legend, the zoomed range and the category under a point.
#include "player/cartesian/CategoryProbe.h"
#include "player/detail/ChartPlayerImpl.h"
#include "player/draw/HitAnchor.h"
#include "player/draw/HitList.h"
#include "player/util/Utf8.h"

#include <algorithm>
#include <cmath>

namespace plotara {

using namespace player;

HitInfo toHitInfo(const HitRegion* r) {
    HitInfo info;
    if (!r) return info;
    info.hit = true;
    info.kind = r->kind;
    info.series = fromUtf8(r->series);
    info.label = fromUtf8(r->label);
    info.value = fromUtf8(r->value);
    info.toolText = fromUtf8(r->toolText);
    info.link = fromUtf8(r->link);
    info.seriesIndex = r->seriesIndex;
    info.pointIndex = r->pointIndex;
    info.box = boundsOf(*r);
    info.anchor = anchorOf(*r);
    return info;
}

bool ChartPlayer::Impl::redrawChosen() {
    progress = 1;
    bool drawn = redraw();
    noteWholeXY();
    return drawn;
}

void ChartPlayer::Impl::noteWholeXY() {
    if (!xy() || !viewOptions.range.whole()) return;
    const LayoutAxis* x = scene.layout.axis("x");
    const LayoutAxis* y = scene.layout.axis("y");
    if (x && y) wholeXY = {x->min, x->max, y->min, y->max};
}

void ChartPlayer::Impl::describe(std::span<HitRegion> regions) const {
    if (!model) return;
    const ChartMovie* movie = chartMovie ? &*chartMovie : nullptr;
    if (movie && (movie->family == Family::Scatter || movie->family == Family::Bubble)) {
        describeXYPoints(*model, regions);
    } else {
        describeCategoryPoints(*model, movie && movie->dualY, regions);
    }
}

HitInfo ChartPlayer::hoverAt(double x, double y) const {
    std::optional<HitRegion> found = impl_->scene.hitAt({x, y});
    if (!found) return {};
    impl_->describe({&*found, 1});
    return toHitInfo(&*found);
}

std::vector<HitInfo> ChartPlayer::hitRegions() const {
    std::vector<HitRegion> regions = allHitRegions(impl_->scene);
    impl_->describe(regions);
    std::vector<HitInfo> out;
    out.reserve(regions.size());
    for (const HitRegion& r : regions)
        out.push_back(toHitInfo(&r));
    return out;
}

HitInfo ChartPlayer::clickAt(double x, double y) {
    HitInfo info = hoverAt(x, y);
    if (!info.hit) return info;
    if (isScroll(info.kind)) {
        ViewState& v = impl_->view;
        std::size_t page = std::max<std::size_t>(v.scrollVisible, 1);
        if (info.kind == HitKind::ScrollLeft) {
            v.scrollStart = v.scrollStart > 0 ? v.scrollStart - 1 : 0;
        } else if (info.kind == HitKind::ScrollRight) {
            v.scrollStart += 1;
        } else {
            // A click on the track pages towards the click.
            const Scene& s = impl_->scene;
            double thumbCentre = 0;
            for (const HitRegion& h : s.hits) {
                if (h.kind == HitKind::ScrollTrack) {
                    double total = static_cast<double>(std::max<std::size_t>(v.scrollTotal, 1));
                    thumbCentre = h.rect.x + h.rect.w *
                                                 (static_cast<double>(v.scrollStart) +
                                                  static_cast<double>(page) / 2) /
                                                 total;
                }
            }
            if (x < thumbCentre) {
                v.scrollStart = v.scrollStart > page ? v.scrollStart - page : 0;
            } else {
                v.scrollStart += page;
            }
        }
        // A zoomed scroll chart keeps its range's width while it scrolls.
        if (auto& range = impl_->viewOptions.range.x) {
            const double width = range->second - range->first;
            const auto first = static_cast<double>(v.scrollStart);
            range = {first, first + width};
        }
        impl_->redraw();
        return info;
    }
    InvokeCall call = callForLink(toUtf8(info.link));
    if (!call.name.empty()) impl_->call(call.name, call.argument);
    return info;
}

bool ChartPlayer::legendToggles() const {
    const Family f = impl_->family();
    return f != Family::Grid && f != Family::Pie && f != Family::Doughnut &&
           impl_->model->chart.flag("interactivelegend", true);
}

bool ChartPlayer::setSeriesVisible(int index, bool visible) {
    if (!legendToggles() || index < 0 || static_cast<std::size_t>(index) >= impl_->seriesCount())
        return false;
    SeriesFilter& hidden = impl_->viewOptions.hidden;
    if (hidden.hides(index) == !visible) return true;
    std::optional<MotionStart> previous = impl_->start;
    impl_->keepStart();
    hidden.set(index, !visible);
    if (impl_->redrawChosen()) return true;
    // A scatter or bubble chart with no series left has nothing to draw: the series stays.
    hidden.set(index, visible);
    impl_->start = std::move(previous);
    impl_->redrawChosen();
    return false;
}

bool ChartPlayer::setSeriesVisible(const String& name, bool visible) {
    if (!impl_->model) return false;
    const std::string wanted = toUtf8(name);
    int index = 0;
    for (const auto* list : {&impl_->model->datasets, &impl_->model->linesets}) {
        for (const Series& s : *list) {
            if (s.name == wanted) return setSeriesVisible(index, visible);
            ++index;
        }
    }
    return false;
}

bool ChartPlayer::seriesVisible(int index) const {
    return !impl_->viewOptions.hidden.hides(index);
}

std::vector<int> ChartPlayer::hiddenSeries() const {
    std::vector<int> out;
    for (int i = 0; static_cast<std::size_t>(i) < impl_->seriesCount(); ++i)
        if (impl_->viewOptions.hidden.hides(i)) out.push_back(i);
    return out;
}

bool ChartPlayer::zooms() const {
    const Family f = impl_->family();
    if (impl_->xy()) return true;
    return f != Family::Grid && f != Family::Pie && f != Family::Doughnut &&
           impl_->view.categories >= 2;
}

VisibleRange ChartPlayer::fullRange() const {
    if (!zooms()) return {};
    if (impl_->xy()) return impl_->wholeXY;
    const LayoutAxis* y = impl_->scene.layout.axis("y");
    return {0, static_cast<double>(impl_->view.categories - 1), y ? y->min : 0, y ? y->max : 0};
}

VisibleRange ChartPlayer::visibleRange() const {
    if (!zooms()) return {};
    const ChartLayout& layout = impl_->scene.layout;
    const LayoutAxis* y = layout.axis("y");
    VisibleRange shown = fullRange();
    if (y) shown.yMin = y->min, shown.yMax = y->max;
    if (const LayoutAxis* x = impl_->xy() ? layout.axis("x") : nullptr) {
        shown.xMin = x->min, shown.xMax = x->max;
    } else if (!layout.series.empty() && layout.series.front().window) {
        const auto [first, count] = *layout.series.front().window;
        shown.xMin = static_cast<double>(first);
        shown.xMax = static_cast<double>(first + count - 1);
    }
    return shown;
}

bool ChartPlayer::scrolls() const {
    return impl_->state == PlayerState::Chart && impl_->view.scrollVisible > 0;
}

bool ChartPlayer::zoomed() const {
    return !impl_->viewOptions.range.whole();
}

bool ChartPlayer::setVisibleRange(const VisibleRange& r) {
    if (!zooms()) return false;
    for (double v : {r.xMin, r.xMax, r.yMin, r.yMax})
        if (!std::isfinite(v)) return false;
    if (!(r.xMax > r.xMin) || (impl_->xy() && !(r.yMax > r.yMin))) return false;
    ViewRange& range = impl_->viewOptions.range;
    if (range.whole()) impl_->scrollBeforeZoom = impl_->view.scrollStart;
    const VisibleRange whole = fullRange();
    range.x = std::pair{r.xMin, r.xMax};
    range.y.reset();
    if (impl_->xy()) {
        range.y = std::pair{r.yMin, r.yMax};
    } else if (std::round(r.xMin) <= 0 && std::round(r.xMax) >= whole.xMax) {
        range.x.reset(); // every category: the whole chart
        impl_->view.scrollStart = impl_->scrollBeforeZoom;
    }
    impl_->redrawChosen();
    return true;
}

void ChartPlayer::resetVisibleRange() {
    if (impl_->viewOptions.range.whole()) return;
    impl_->viewOptions.range = ViewRange{};
    impl_->view.scrollStart = impl_->scrollBeforeZoom;
    impl_->redrawChosen();
}

CategoryValues ChartPlayer::categoryAt(double x, double y) const {
    const Family f = impl_->family();
    if (f != Family::Line && f != Family::Area) return {};
    auto probe = probeCategory(*impl_->model, impl_->scene.layout, impl_->chartMovie->dualY,
                               impl_->viewOptions.hidden, {x, y});
    if (!probe) return {};
    CategoryValues out;
    out.found = true;
    out.index = static_cast<int>(probe->index);
    out.x = probe->x;
    out.top = probe->plot.y;
    out.bottom = probe->plot.bottom();
    const auto& labels = impl_->model->categories;
    out.label = probe->index < labels.size() ? fromUtf8(labels[probe->index].label) : String();
    out.toolText = out.label;
    for (const HitRegion& point : probe->points) {
        out.values.push_back(toHitInfo(&point));
        String line = point.series.empty() ? String() : fromUtf8(point.series) + L": ";
        line += fromUtf8(point.value);
        out.toolText += (out.toolText.empty() ? L"" : L"\n") + line;
    }
    return out;
}

} // namespace plotara
