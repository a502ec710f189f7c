// The drawing interface every output goes through: a Scene is painted on a Canvas, whatever the
// target (ARGB surface, PNG, SVG or PDF).
#pragma once

#include "player/draw/Scene.h"

#include <optional>

namespace plotara::player {

class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void shape(const ShapeItem& item) = 0;
    // Paints item, a filled rectangle, except where it lies inside covered, a rectangle that a
    // later opaque shape paints over wholly; canvases whose output keeps every shape (SVG, PDF)
    // paint it whole. Cannot fail.
    virtual void shapeAround(const ShapeItem& item, const Rect& covered) {
        static_cast<void>(covered);
        shape(item);
    }
    virtual void text(const TextItem& item) = 0;
    virtual void markers(const MarkerItem& item) = 0;
    virtual void pushClip(const Rect& rect) = 0;
    virtual void popClip() = 0;
    // The items that follow draw one series (-1: none). Only canvases that keep the series apart
    // (the SVG of a web page) use it; the others draw the same either way.
    virtual void seriesMark(int /*series*/) {}
};

// The rectangle a path is, when it is one with sides along the axes (as Path::rect makes it).
// Cannot fail.
std::optional<Rect> axisRect(const Path& path);

// Paints the scene's background and items in order. Cannot fail.
void paintScene(const Scene& scene, Canvas& canvas);

} // namespace plotara::player
