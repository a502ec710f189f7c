// The drawn chart as a display list: shapes, texts and marker sets in painting order, plus the
// regions that hit testing looks at. Families build a Scene; a Canvas paints it.
#pragma once

#include "player/draw/Color.h"
#include "player/draw/Geometry.h"
#include "player/draw/HitStore.h"
#include "player/draw/PointHits.h"
#include "player/layout/ChartLayout.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace plotara::player {

struct Stroke {
    Color color;
    double width = 1;
    double dash = 0, gap = 0; // a dashed line when dash > 0
};

struct Font {
    std::string family = "DejaVu Sans";
    double size = 10; // pixels
    bool bold = false, italic = false, underline = false;
    Color color;
};

enum class HAlign : std::uint8_t { Left, Center, Right };
enum class VAlign : std::uint8_t { Top, Middle, Bottom };

struct ShapeItem {
    Path path;
    bool filled = false;
    Color fill;
    bool stroked = false;
    Stroke stroke;
};

// A line of text placed at an anchor: the alignments place the unrotated text box relative to
// the anchor, then the box turns about the anchor by angle degrees (negative: counter-clockwise).
struct TextItem {
    std::string text;
    Font font;
    double x = 0, y = 0;
    double angle = 0;
    HAlign h = HAlign::Left;
    VAlign v = VAlign::Top;
    double maxWidth = 0;  // > 0: placing shortens a wider text to this width with an ellipsis
    std::string fullText; // the whole text when placing shortened it (text is what is drawn)
    Rect box;             // the axis-aligned box it covers, filled in by the layout
    TextTag tag;          // what the text is for (the layout model lists it by this)
};

// Many identical markers: one pre-drawn marker stamped at every point.
struct MarkerItem {
    std::vector<Point> points;
    int sides = 0; // 0 circle, 3 triangle, 4 diamond, ...
    double radius = 3;
    Color fill;
    bool bordered = true;
    Stroke border;
};

struct ClipPush {
    Rect rect;
};
struct ClipPop {};

// A hint that the items after it draw one series (series >= 0, numbered as the hit regions number
// series) until the next hint or the end of the enclosing clip; -1 ends the series. Pictures do
// not change: only a page that hides series looks at it.
struct SeriesMark {
    int series = -1;
};

// How compact rectangles look: their fill and, when width > 0, a solid outline.
struct RectLook {
    Color fill;
    Color edge;
    double width = 0; // of the outline; none when 0
};

// The looks of a scene's compact rectangles, each kept once: a chart of a million columns has
// a handful (a chart of per-point colours as many as its palette).
class RectLooks {
public:
    // The position of look, added when it is new. Cannot fail beyond running out of memory.
    std::uint32_t positionOf(const RectLook& look);
    const RectLook& operator[](std::uint32_t at) const { return looks_[at]; }
    std::size_t size() const { return looks_.size(); }
    void clear();

private:
    using Key = std::array<double, 9>;
    std::vector<RectLook> looks_;
    std::map<Key, std::uint32_t> positions_;
    std::uint32_t last_ = 0; // rectangles drawn one after another mostly look alike
};

// A filled rectangle, plain or with a solid outline, kept without a path: the columns and bars
// of a large chart are most of its shapes. It paints as the ShapeItem shapeOf makes of it; its
// look is one of the scene's few (Scene::rectLooks), so it takes 40 bytes.
struct RectItem {
    Rect rect;
    std::uint32_t look = 0;   // in Scene::rectLooks
    std::int32_t series = -1; // the series it draws (Scene::markSeries), -1 none
};

// A stretch of Scene::rects, painted in order where the run stands among the items.
struct RectRun {
    std::size_t first = 0, count = 0;
};

using SceneItem =
    std::variant<ShapeItem, TextItem, MarkerItem, ClipPush, ClipPop, RectRun, SeriesMark>;

// The shape a compact rectangle of the given looks paints as: the rectangle's path, filled, and
// stroked when outlined, as fillPath and fillStroke draw it. Cannot fail beyond running out of
// memory.
ShapeItem shapeOf(const RectItem& item, const RectLooks& looks);

// The region of one compactly kept point (entry of hits), its texts left to be worked out
// (lazyText). Cannot fail.
HitRegion pointRegion(const PointHits& hits, std::size_t entry);

struct Scene {
    double width = 0, height = 0;
    Color background{1, 1, 1, 1};
    std::vector<SceneItem> items;
    std::vector<RectItem> rects; // the rectangles the items' RectRuns stand for
    RectLooks rectLooks;         // how rects look
    HitStore hits;
    PointHits pointHits; // the many points of scatter series, compactly
    ChartLayout layout;  // what the layout decided (axes, texts, series counts, notes)

    void add(SceneItem item);
    // The items and rectangles added from now on draw this series (-1: none). A rectangle keeps
    // its series itself, other items get a SeriesMark before them when the series changed, so
    // a chart of many columns takes no more items. Cannot fail beyond running out of memory.
    void markSeries(int series) { markedSeries_ = series; }
    void fillRect(const Rect& r, Color c);
    void fillPath(Path p, Color c);
    void strokePath(Path p, const Stroke& s);
    void fillStroke(Path p, Color fill, const Stroke& s);
    void line(double x0, double y0, double x1, double y1, const Stroke& s);
    // A filled rectangle, outlined when outline is given (a dashed outline makes a ShapeItem),
    // kept compactly in rects: consecutive ones share one item. Cannot fail beyond running out
    // of memory.
    void addRect(const Rect& r, Color fill, const Stroke* outline = nullptr);
    // Visits every shape in painting order, compact rectangles as shapeOf paints them. Cannot
    // fail beyond what visit raises.
    template <class Visit>
    void forEachShape(Visit&& visit) const {
        for (const SceneItem& item : items) {
            if (const auto* shape = std::get_if<ShapeItem>(&item)) {
                visit(*shape);
            } else if (const auto* run = std::get_if<RectRun>(&item)) {
                for (std::size_t i = run->first; i < run->first + run->count; ++i)
                    visit(shapeOf(rects[i], rectLooks));
            }
        }
    }
    // The topmost region holding p: the last of `hits`, or a point of `pointHits` drawn after it
    // (given as a circle region whose texts are left to be worked out); nothing when none.
    // Cannot fail.
    std::optional<HitRegion> hitAt(Point p) const;
    // The texts of the scene, in order (tests and the debug panel look at them).
    std::vector<const TextItem*> texts() const;

private:
    // Appends an item, after a SeriesMark when the marked series changed since the last item.
    void push(SceneItem&& item);
    int markedSeries_ = -1, itemSeries_ = -1;
};

} // namespace plotara::player
