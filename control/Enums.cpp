#include "control/Enums.h"

namespace plotara {

namespace {

constexpr EnumMember chartNames[] = {
    {L"column3D", 1},
    {L"column2d", 2},
    {L"pie3d", 3},
    {L"pie2d", 4},
    {L"doughnut3d", 5},
    {L"doughnut2d", 6},
    {L"Line2D", 7},
    {L"area2d", 8},
    {L"Bar2D", 9},
    {L"mscolumn3d", 10},
    {L"mscolumn2d", 11},
    {L"msline2d", 12},
    {L"msarea2d", 13},
    {L"msbar3d", 14},
    {L"msbar2d", 15},
    {L"stackedcolumn3d", 16},
    {L"stackedcolumn2d", 17},
    {L"stackedarea2d", 18},
    {L"stackedbar3d", 19},
    {L"stackedbar2d", 20},
    {L"mscombi2d", 21},
    {L"mscombi3d", 22},
    {L"mscombidy2d", 23},
    {L"mscolumn3dline", 24},
    {L"mscolumn3dlinedy", 25},
    {L"msstackedcolumn2d", 26},
    {L"msstackedcolumn2dlinedy", 27},
    {L"stackedcolumn3dlinedy", 28},
    {L"scatter", 29},
    {L"bubble", 30},
    {L"scrollcolumn2d", 31},
    {L"scrollline2d", 32},
    {L"scrollarea2d", 33},
    {L"scrollstackedcolumn2d", 34},
    {L"scrollcombi2d", 35},
    {L"scrollcombidy2d", 36},
    {L"grid", 37},
};

constexpr EnumMember chartGroups[] = {
    {L"All", 0},    {L"Single Series", 1}, {L"Multi Series", 2},         {L"Combination", 3},
    {L"Scroll", 4}, {L"Stacked", 5},       {L"Multi Series Stacked", 6}, {L"XY Plot Charts", 7},
};

constexpr EnumMember borderStyles[] = {{L"None", 0}, {L"Single_Line", 1}, {L"3D_Face", 2}};

constexpr EnumMember chartMessageTypes[] = {
    {L"Chart_Load_on_Progress", 1}, {L"Retrieving_Data", 2}, {L"Reading_Data", 3},
    {L"No_data_to_display", 4},     {L"Rendering_Chart", 5}, {L"Error_in_loading_data", 6},
    {L"Invalid_XML_data", 7},
};

} // namespace

std::span<const EnumMember> chartNamesMembers() {
    return chartNames;
}
std::span<const EnumMember> chartGroupMembers() {
    return chartGroups;
}
std::span<const EnumMember> borderStyleMembers() {
    return borderStyles;
}
std::span<const EnumMember> chartMessageTypeMembers() {
    return chartMessageTypes;
}

} // namespace plotara
