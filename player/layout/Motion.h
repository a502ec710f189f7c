// How a chart moves: a chart drawing itself in, or moving from the chart shown before to a new
// one. The player keeps no clock; it lays the chart out at a progress from 0 to 1 and the
// families ask the motion, at the few places where a value becomes geometry, where that value
// stands at that progress: a column's or a line point's value, a pie's sweep, a marker's or a
// bubble's radius and place, and whether a point's value label may show yet. Everything else
// (texts, legend) is laid out as in the still picture, and the frame is drawn by the same scene
// code as the still picture, so there is a single drawing path for every chart type. Without a
// motion (progress 1) the families take their still path, so the last frame is the still picture.
#pragma once

#include "player/layout/ChartLayout.h"
#include "player/layout/NiceScale.h"
#include "player/model/ChartModel.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace plotara::player {

// Ease-out cubic over 0..1 (clamped): fast at first, settling at the end. Cannot fail.
double easeOutCubic(double t);

// What matches a category of one chart with a category of the next: its label, or its position
// where it has none. Cannot fail beyond running out of memory.
std::string categoryKey(const ChartModel& model, std::size_t index);

// What a transition starts from: the values of the chart shown before, by series name and
// category label (by the point's position where the category has no label), its XY points by
// series name and position, its series (so that those the new chart lacks can leave) and its
// value axes.
class MotionStart {
public:
    // A series of the chart before: what a series that the new chart lacks is drawn as while it
    // shrinks out.
    struct SeriesBefore {
        std::string name;
        std::string renderAs; // column, bar, line, area, ... as the layout names it
        std::string axis;     // "y" or "y2"
        Color color;
        int stack = -1;
    };
    // Takes the values of model and the axes of its layout. Cannot fail beyond running out of
    // memory.
    MotionStart(const ChartModel& model, const ChartLayout& layout);
    // The start value of the point of a series at a category (index: its position); false when
    // the chart before had no such point (the point is new). Cannot fail.
    bool find(const std::string& series, const std::string& category, std::size_t index,
              double& value) const;
    // The chart before's axis with the id, or nullptr. Cannot fail.
    const LayoutAxis* axis(const std::string& id) const;
    // A slice of the pie before: the label, position and value of its point, and its colour.
    struct SliceBefore {
        std::string label;
        std::size_t index = 0;
        double value = 0;
        Color color;
    };
    // The slices the chart before had (were it a pie): the positive points of its first series,
    // coloured as a pie colours them. Cannot fail.
    const std::vector<SliceBefore>& slices() const { return slices_; }
    // The chart before's series, in its order. Cannot fail.
    const std::vector<SeriesBefore>& series() const { return series_; }
    // The XY points the chart before had in the series of that name; nullptr when it had no
    // such series. Cannot fail.
    const std::vector<XYPoint>* xy(const std::string& series) const;
    // Makes this start (taken from the chart a motion moves to) what a frame of that motion
    // showed at eased share f: its values and XY points part way from the motion's own start
    // (`from`; nullptr for a draw-in, whose values rose from zero), and the points `from` had and
    // the chart lacks part way out. The axes are those of the layout it was taken from: the
    // frame's. A motion that interrupts another starts from what was on screen. Cannot fail
    // beyond running out of memory.
    void partWay(const MotionStart* from, double f);
    // The chart before's categories, each as categoryKey names it. Cannot fail.
    const std::vector<std::string>& categories() const { return categories_; }

private:
    std::unordered_map<std::string, double> values_;
    std::vector<std::string> categories_;
    std::unordered_map<std::string, std::vector<XYPoint>> xy_;
    std::vector<SeriesBefore> series_;
    std::vector<SliceBefore> slices_;
    std::vector<LayoutAxis> axes_;
};

class Motion {
public:
    // A draw-in (start == nullptr) or a transition from start, at progress 0..1.
    Motion(double progress, const MotionStart* start) : progress_(progress), start_(start) {}
    bool transition() const { return start_ != nullptr; }
    // On a draw-in, n points (categories, slices, bubbles) set off one after another, the last
    // a little after the first, so that the first ones arrive (and show their value labels)
    // before the last; the first is point `first` (a scroll chart's window). Cannot fail.
    void stagger(std::size_t points, std::size_t first = 0) {
        points_ = points;
        first_ = first;
    }
    // The eased share of its way point `index` has gone, 0 to 1. Cannot fail.
    double share(std::size_t index) const;
    // The eased share of the whole chart (a pie's sweep). Cannot fail.
    double share() const { return easeOutCubic(progress_); }
    // Whether point `index` has arrived, so that its value label shows. Cannot fail.
    bool arrived(std::size_t index) const { return share(index) >= 1; }
    // Where value v of a point stands now: on its way from where it started (its value in the
    // chart before, or `rest`, the axis' base line, for a draw-in and for a point that is new).
    // A point the chart before had and this one lacks (v missing) shrinks out from its old value
    // to `rest`. Cannot fail.
    double value(const std::string& series, const std::string& category, std::size_t index,
                 double v, double rest) const;
    // Where XY point `index` of a series stands now: on its way from its place in the chart
    // before; `fresh` tells a point the chart before did not have (it stays put and grows). On
    // a logarithmic axis (logX, logY) a coordinate moves in logarithms. Cannot fail.
    XYPoint place(const std::string& series, std::size_t index, const XYPoint& pt, bool& fresh,
                  bool logX = false, bool logY = false) const;
    // Moves a value axis from its range in the chart before to its own (a draw-in keeps the
    // axis as it is); true when the axis is on its way (its range differs from its own).
    // Cannot fail.
    bool easeAxis(const std::string& id, AxisScale& scale) const;
    // The chart before (nullptr on a draw-in). Cannot fail.
    const MotionStart* start() const { return start_; }
    // On a transition whose categories differ, the share of a slot each category of the frame
    // takes (see CategoryMerge.h); empty when every category takes a whole slot. Cannot fail.
    const std::vector<double>& slotShares() const { return slotShares_; }
    void setSlotShares(std::vector<double> shares) { slotShares_ = std::move(shares); }

private:
    double progress_;
    const MotionStart* start_;
    std::size_t points_ = 1, first_ = 0;
    std::vector<double> slotShares_;
};

} // namespace plotara::player
