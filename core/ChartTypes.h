// The 37 chart types: number, type name, movie files and what kind of data each one draws. The
// data builder, the control's catalogue, the command line and the tests all read this one table.
#pragma once

#include "core/String.h"

namespace plotara::chart_types {

inline constexpr Long count = 37;

// How a chart type takes its data. The values are the data builder's chart-kind numbers.
enum class SeriesKind : Integer {
    None = 0,         // not a chart type
    Single = 2,       // one value per category (also the grid)
    Multi = 3,        // categories and datasets, stacked or not
    MultiStacked = 4, // datasets grouped in stacks, optionally a lineset
    XY = 5,           // points with x and y (and z for bubbles), no category list
};

// What the chart draws, as the chart-movie files name it.
enum class Family { Column, Bar, Line, Area, Pie, Doughnut, Scatter, Bubble, Grid };

// One row of the table.
struct ChartType {
    Long number;
    const wchar_t* name;      // lower-case type name, e.g. L"mscolumn3d"
    const wchar_t* movieFile; // full edition, e.g. L"PTM10.swf"
    const wchar_t* lightFile; // light edition, L"0" where it has no movie
    SeriesKind kind;
    Family family;
    bool stacked;     // values of a category pile up
    bool combination; // datasets choose column, line or area
    bool dualY;       // a secondary y axis
    bool scroll;      // a window of the plot with a scroll bar
};

// The row of a chart type, nullptr outside 1 to 37.
const ChartType* find(Long number) noexcept;

// The kind of a chart type, SeriesKind::None outside 1 to 37.
SeriesKind seriesKind(Long number) noexcept;

// True for scatter and bubble charts.
bool isXY(Long number) noexcept;
// True for the bubble chart, whose points also carry z.
bool isBubble(Long number) noexcept;
// True for the grid chart, which has no datasets.
bool isGrid(Long number) noexcept;
// True for the multi-series stacked charts, whose datasets come in stacks.
bool isMultiStacked(Long number) noexcept;

} // namespace plotara::chart_types
