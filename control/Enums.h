// The control's public enumerations, with the member names its type library shows.
#pragma once

#include "core/String.h"

#include <span>

namespace plotara {

// The chart types of the catalogue, 1 to 37.
enum class enumChartNames : Long {
    column3D = 1,
    column2d,
    pie3d,
    pie2d,
    doughnut3d,
    doughnut2d,
    Line2D,
    area2d,
    Bar2D,
    mscolumn3d,
    mscolumn2d,
    msline2d,
    msarea2d,
    msbar3d,
    msbar2d,
    stackedcolumn3d,
    stackedcolumn2d,
    stackedarea2d,
    stackedbar3d,
    stackedbar2d,
    mscombi2d,
    mscombi3d,
    mscombidy2d,
    mscolumn3dline,
    mscolumn3dlinedy,
    msstackedcolumn2d,
    msstackedcolumn2dlinedy,
    stackedcolumn3dlinedy,
    scatter,
    bubble,
    scrollcolumn2d,
    scrollline2d,
    scrollarea2d,
    scrollstackedcolumn2d,
    scrollcombi2d,
    scrollcombidy2d,
    grid = 37
};

// The groups GetChartArray lists.
enum class enumChartGroup : Long {
    All = 0,
    Single_Series,
    Multi_Series,
    Combination,
    Scroll,
    Stacked,
    Multi_Series_Stacked,
    XY_Plot_Charts
};

enum class enumBorderStyle : Long { None = 0, Single_Line = 1, Face_3D = 2 };

enum class enumChartMessageType : Long {
    Chart_Load_on_Progress = 1,
    Retrieving_Data,
    Reading_Data,
    No_data_to_display,
    Rendering_Chart,
    Error_in_loading_data,
    Invalid_XML_data
};

// One member of an enumeration as the type library spells it ("Single Series", "3D_Face").
struct EnumMember {
    const wchar_t* name;
    Long value;
};

// The members of each enumeration in value order, for late-bound tools. Cannot fail.
std::span<const EnumMember> chartNamesMembers();
std::span<const EnumMember> chartGroupMembers();
std::span<const EnumMember> borderStyleMembers();
std::span<const EnumMember> chartMessageTypeMembers();

} // namespace plotara
