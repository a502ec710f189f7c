#include "player/draw/Scene.h"

#include <cmath>
#include <numbers>

namespace plotara::player {

bool HitRegion::contains(Point p) const {
    switch (shape) {
    case Shape::Rect:
        return rect.contains(p);
    case Shape::Circle: {
        double dx = p.x - center.x, dy = p.y - center.y;
        return dx * dx + dy * dy <= radius * radius;
    }
    case Shape::Polygon: {
        bool inside = false;
        for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
            const Point& a = polygon[i];
            const Point& b = polygon[j];
            if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
                inside = !inside;
        }
        return inside;
    }
    case Shape::Wedge: {
        double dx = p.x - center.x;
        double dy = (p.y - center.y) / (yScale > 0 ? yScale : 1);
        double d = std::sqrt(dx * dx + dy * dy);
        if (d > radius || d < inner) return false;
        constexpr double twoPi = 2 * std::numbers::pi;
        double a = std::atan2(dy, dx);
        double from = std::fmod(a0, twoPi);
        if (from < 0) from += twoPi;
        double rel = std::fmod(a - from, twoPi);
        if (rel < 0) rel += twoPi;
        return rel <= (a1 - a0);
    }
    }
    return false;
}

// Out of line: GCC's uninitialized-use analysis loses track of the variant's active member when
// the move is inlined into long drawing functions.
void Scene::push(SceneItem&& item) {
    if (markedSeries_ != itemSeries_) {
        itemSeries_ = markedSeries_;
        items.emplace_back(SeriesMark{itemSeries_});
    }
    items.push_back(std::move(item));
}

void Scene::add(SceneItem item) {
    push(std::move(item));
}

void Scene::fillRect(const Rect& r, Color c) {
    ShapeItem s;
    s.path.rect(r);
    s.filled = true;
    s.fill = c;
    push(std::move(s));
}

void Scene::fillPath(Path p, Color c) {
    ShapeItem s;
    s.path = std::move(p);
    s.filled = true;
    s.fill = c;
    push(std::move(s));
}

void Scene::strokePath(Path p, const Stroke& st) {
    ShapeItem s;
    s.path = std::move(p);
    s.stroked = true;
    s.stroke = st;
    push(std::move(s));
}

void Scene::fillStroke(Path p, Color fill, const Stroke& st) {
    ShapeItem s;
    s.path = std::move(p);
    s.filled = true;
    s.fill = fill;
    s.stroked = true;
    s.stroke = st;
    push(std::move(s));
}

ShapeItem shapeOf(const RectItem& item, const RectLooks& looks) {
    const RectLook& look = looks[item.look];
    ShapeItem s;
    s.path.rect(item.rect);
    s.filled = true;
    s.fill = look.fill;
    if (look.width > 0) {
        s.stroked = true;
        s.stroke = Stroke{look.edge, look.width};
    }
    return s;
}

std::uint32_t RectLooks::positionOf(const RectLook& look) {
    const Key key{look.fill.r, look.fill.g, look.fill.b, look.fill.a, look.edge.r,
                  look.edge.g, look.edge.b, look.edge.a, look.width};
    if (last_ < looks_.size()) {
        const RectLook& l = looks_[last_];
        if (Key{l.fill.r, l.fill.g, l.fill.b, l.fill.a, l.edge.r, l.edge.g, l.edge.b, l.edge.a,
                l.width} == key)
            return last_;
    }
    const auto [at, added] = positions_.try_emplace(key, static_cast<std::uint32_t>(looks_.size()));
    if (added) looks_.push_back(look);
    last_ = at->second;
    return last_;
}

void RectLooks::clear() {
    looks_.clear();
    positions_.clear();
    last_ = 0;
}

void Scene::addRect(const Rect& r, Color fill, const Stroke* outline) {
    // The compact form outlines with a solid line of some width; any other outline keeps its
    // path.
    if (outline && (outline->dash > 0 || !(outline->width > 0))) {
        Path p;
        p.rect(r);
        fillStroke(std::move(p), fill, *outline);
        return;
    }
    // The looks of rectangles cleared away are no longer named.
    if (rects.empty()) rectLooks.clear();
    RectLook look{fill, {}, 0};
    if (outline) look.edge = outline->color, look.width = outline->width;
    rects.push_back({r, rectLooks.positionOf(look), markedSeries_});
    if (!items.empty()) {
        if (auto* run = std::get_if<RectRun>(&items.back());
            run && run->first + run->count + 1 == rects.size()) {
            ++run->count;
            return;
        }
    }
    // A rectangle names its series itself.
    items.emplace_back(RectRun{rects.size() - 1, 1});
}

void Scene::line(double x0, double y0, double x1, double y1, const Stroke& s) {
    Path p;
    p.moveTo(x0, y0);
    p.lineTo(x1, y1);
    strokePath(std::move(p), s);
}

HitRegion pointRegion(const PointHits& hits, std::size_t entry) {
    const PointHits::Entry& e = hits.entry(entry);
    const PointHits::Set& s = hits.setOf(entry);
    HitRegion hit;
    hit.shape = HitRegion::Shape::Circle;
    hit.center = {e.x, e.y};
    hit.radius = e.radius;
    hit.kind = s.kind;
    hit.series = s.series;
    hit.seriesIndex = s.seriesIndex;
    hit.pointIndex = e.point;
    hit.lazyText = true;
    return hit;
}

std::optional<HitRegion> Scene::hitAt(Point p) const {
    const long region = hits.lastContaining(p);
    std::size_t set = 0;
    long point = pointHits.find(p, set);
    if (point >= 0 && static_cast<long>(pointHits.sets()[set].order) > region) {
        return pointRegion(pointHits, static_cast<std::size_t>(point));
    }
    if (region < 0) return std::nullopt;
    return hits[static_cast<std::size_t>(region)];
}

std::vector<const TextItem*> Scene::texts() const {
    std::vector<const TextItem*> out;
    for (const SceneItem& item : items) {
        if (const auto* t = std::get_if<TextItem>(&item)) out.push_back(t);
    }
    return out;
}

} // namespace plotara::player
