// What every chart family shares around its plot: the text helper, titles, the legend and the
// data-value labels that must not collide.
#pragma once

#include "player/draw/Scene.h"
#include "player/draw/TextEngine.h"
#include "player/layout/ChartStyle.h"
#include "player/layout/Motion.h"
#include "player/layout/NumberFormat.h"
#include "player/layout/ViewRange.h"

#include <optional>
#include <vector>

namespace plotara::player {

struct ChartContext {
    Scene& scene;
    TextEngine& text;
    const ChartModel& model;
    ChartStyle style;
    double width, height;
    bool drawing = true;      // false: the families lay the chart out and add nothing to the scene
    Motion* motion = nullptr; // a frame on the way to this chart; nullptr for the still picture
    const ViewOptions* view = nullptr; // series hidden and the zoomed range; nullptr: none

    // Whether the viewer hid the series at index. Cannot fail.
    bool hides(int series) const { return view != nullptr && view->hidden.hides(series); }
};

// Lays a text tagged with its role out at the anchor (its box measured) without drawing it.
// Cannot fail.
TextItem placeText(const ChartContext& ctx, TextTag tag, std::string text, const Font& font,
                   double x, double y, HAlign h, VAlign v, double angle = 0, double maxWidth = 0);
// The area inside the chart margins (chartLeftMargin ... chartBottomMargin). Cannot fail.
Rect marginArea(const ChartContext& ctx);
// Lists laid-out texts in the layout's texts, in the order the drawing step will paint them;
// empty texts are left out, as the drawing leaves them out. Cannot fail.
void listTexts(ChartLayout& layout, const std::vector<TextItem>& texts);
// Adds laid-out texts to the scene as they were laid out, empty ones left out. Cannot fail.
void drawTexts(Scene& scene, const std::vector<TextItem>& texts);

// Caption and subcaption laid out centred at the top of an area, and what is left below.
struct TitleLayout {
    std::vector<TextItem> texts;
    Rect rest;
};
// Lays caption and subcaption out centred at the top of the area. Cannot fail.
TitleLayout layoutTitles(const ChartContext& ctx, Rect area);

struct LegendItem {
    std::string name;
    Color color;
    bool line = false;   // drawn as a line with a marker instead of a box
    int series = -1;     // the series the entry stands for; -1: a slice or point
    bool hidden = false; // the viewer hid the series: the entry is drawn dimmed
};

// One legend entry where the layout put it: its swatch and name inside box.
struct LegendEntry {
    LegendItem item;
    std::size_t index = 0; // position among the legend's items
    Rect box;
    TextItem text;
};

// The legend as laid out: its frame (none when there are no items), its entries in drawing
// order, and the area left for the plot.
struct LegendLayout {
    std::optional<Rect> frame;
    std::vector<LegendEntry> entries;
    Rect rest;
    // The entries' names in drawing order. Cannot fail.
    std::vector<TextItem> texts() const;
};
// Lays the legend out in rows that wrap at the bottom of the area (or in a column at its right
// with legendPosition='right'); records the entries shown in the layout's legend and notes
// those left out. Cannot fail.
LegendLayout layoutLegend(ChartContext& ctx, const std::vector<LegendItem>& items, Rect area);
// Draws a laid-out legend: frame, swatches, names, and the entries' hit regions. Cannot fail.
void drawLegend(ChartContext& ctx, const LegendLayout& legend);

// Data-value labels that never collide: every label is offered with a priority, and when they
// are settled the labels of higher priority (the extremes of the data) are placed first; a label
// that would overlap one already placed, or leave the bounds, is hidden. Cannot fail.
class ValueLabels {
public:
    ValueLabels(ChartContext& ctx, Rect bounds) : ctx_(ctx), bounds_(bounds) {}
    // Offers the value label of a point (tag: its series and index); false when it cannot fit
    // the bounds (or, with `within`, that rectangle) at all. An offered label may still give way
    // to one of higher priority.
    bool place(TextTag tag, const std::string& text, double x, double y, HAlign h, VAlign v,
               double angle = 0, const Rect* within = nullptr, double priority = 0);
    // Offers the label of a column or bar beyond its far end at (x, y), or when it does not fit
    // there, inside that end (horizontal: a bar; negative: the end is at the left or bottom) in
    // black or white, whichever reads better on the fill; false when neither fits.
    bool placeAtEnd(TextTag tag, const std::string& text, double x, double y, HAlign h, VAlign v,
                    const Rect& bar, bool horizontal, bool negative, Color fill, double priority);
    void reserve(const Rect& box) { placed_.push_back(box); }
    // Whether point `index` stands where the still picture has it: a label of a point shows only
    // then (place and placeAtEnd refuse it before), and the caller asks for a label of no point
    // (a stack's total: whether its category has arrived). Cannot fail.
    bool arrived(std::size_t index) const {
        return ctx_.motion == nullptr || ctx_.motion->arrived(index);
    }
    // Only points whose index is marked keep their labels (bars whose row name is drawn); the
    // others are hidden and noted.
    void onlyFor(std::vector<bool> indexes) { onlyFor_ = std::move(indexes); }
    // A column or bar that only its own label (same series and index) may cover: a label over
    // a neighbour would read as the neighbour's value.
    void obstacle(const Rect& box, TextTag owner) { obstacles_.push_back({box, owner}); }
    // Room for n more obstacles, taken once. Throws std::bad_alloc when memory runs out.
    void reserveObstacles(std::size_t n) { obstacles_.reserve(obstacles_.size() + n); }
    // Whether any label is waiting to be settled (obstacles matter only then). Cannot fail.
    bool anyOffered() const { return !offers_.empty(); }
    // Places the offered labels by priority and returns those kept in the order offered; notes
    // in the layout how many were hidden. The offers are cleared.
    std::vector<TextItem> settle();

private:
    bool offer(TextItem item, const Rect* within, double priority, bool countRejected = true);
    TextItem valueText(TextTag tag, const std::string& text) const;
    struct Offer {
        TextItem item;
        double priority;
    };
    ChartContext& ctx_;
    Rect bounds_;
    std::vector<Rect> placed_;
    std::vector<Offer> offers_;
    struct Obstacle {
        Rect box;
        TextTag owner;
    };
    std::vector<Obstacle> obstacles_;
    std::vector<bool> onlyFor_;
    std::size_t unnamed_ = 0;
    std::size_t dropped_ = 0;
};

} // namespace plotara::player
