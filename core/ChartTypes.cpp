#include "core/ChartTypes.h"

namespace plotara::chart_types {

namespace {

using enum SeriesKind;
using enum Family;

// Rows 1 to 37, indexed by number - 1.
// clang-format off
constexpr ChartType table[count] = {
//   no  name                        movie         light            kind          family    stack  combi  dualY  scroll
    {1,  L"column3d",                L"PTM01.swf", L"PTL_PTM01.swf", Single,       Column,   false, false, false, false},
    {2,  L"column2d",                L"PTM02.swf", L"PTL_PTM02.swf", Single,       Column,   false, false, false, false},
    {3,  L"pie3d",                   L"PTM03.swf", L"PTL_PTM03.swf", Single,       Pie,      false, false, false, false},
    {4,  L"pie2d",                   L"PTM04.swf", L"PTL_PTM04.swf", Single,       Pie,      false, false, false, false},
    {5,  L"doughnut3d",              L"PTM05.swf", L"0",             Single,       Doughnut, false, false, false, false},
    {6,  L"doughnut2d",              L"PTM06.swf", L"PTL_PTM06.swf", Single,       Doughnut, false, false, false, false},
    {7,  L"line2d",                  L"PTM07.swf", L"PTL_PTM07.swf", Single,       Line,     false, false, false, false},
    {8,  L"area2d",                  L"PTM08.swf", L"PTL_PTM08.swf", Single,       Area,     false, false, false, false},
    {9,  L"bar2d",                   L"PTM09.swf", L"PTL_PTM09.swf", Single,       Bar,      false, false, false, false},
    {10, L"mscolumn3d",              L"PTM10.swf", L"PTL_PTM10.swf", Multi,        Column,   false, false, false, false},
    {11, L"mscolumn2d",              L"PTM11.swf", L"PTL_PTM11.swf", Multi,        Column,   false, false, false, false},
    {12, L"msline2d",                L"PTM12.swf", L"PTL_PTM12.swf", Multi,        Line,     false, false, false, false},
    {13, L"msarea2d",                L"PTM13.swf", L"PTL_PTM13.swf", Multi,        Area,     false, false, false, false},
    {14, L"msbar3d",                 L"PTM14.swf", L"0",             Multi,        Bar,      false, false, false, false},
    {15, L"msbar2d",                 L"PTM15.swf", L"PTL_PTM15.swf", Multi,        Bar,      false, false, false, false},
    {16, L"stackedcolumn3d",         L"PTM16.swf", L"PTL_PTM16.swf", Multi,        Column,   true,  false, false, false},
    {17, L"stackedcolumn2d",         L"PTM17.swf", L"PTL_PTM17.swf", Multi,        Column,   true,  false, false, false},
    {18, L"stackedarea2d",           L"PTM18.swf", L"PTL_PTM18.swf", Multi,        Area,     true,  false, false, false},
    {19, L"stackedbar3d",            L"PTM19.swf", L"0",             Multi,        Bar,      true,  false, false, false},
    {20, L"stackedbar2d",            L"PTM20.swf", L"PTL_PTM20.swf", Multi,        Bar,      true,  false, false, false},
    {21, L"mscombi2d",               L"PTM21.swf", L"0",             Multi,        Column,   false, true,  false, false},
    {22, L"mscombi3d",               L"PTM22.swf", L"0",             Multi,        Column,   false, true,  false, false},
    {23, L"mscombidy2d",             L"PTM23.swf", L"PTL_PTM23.swf", Multi,        Column,   false, true,  true,  false},
    {24, L"mscolumn3dline",          L"PTM24.swf", L"0",             Multi,        Column,   false, true,  false, false},
    {25, L"mscolumn3dlinedy",        L"PTM25.swf", L"PTL_PTM25.swf", Multi,        Column,   false, true,  true,  false},
    {26, L"msstackedcolumn2d",       L"PTM26.swf", L"0",             MultiStacked, Column,   true,  false, false, false},
    {27, L"msstackedcolumn2dlinedy", L"PTM27.swf", L"0",             MultiStacked, Column,   true,  true,  true,  false},
    {28, L"stackedcolumn3dlinedy",   L"PTM28.swf", L"0",             Multi,        Column,   true,  true,  true,  false},
    {29, L"scatter",                 L"PTM29.swf", L"0",             XY,           Scatter,  false, false, false, false},
    {30, L"bubble",                  L"PTM30.swf", L"0",             XY,           Bubble,   false, false, false, false},
    {31, L"scrollcolumn2d",          L"PTM31.swf", L"0",             Multi,        Column,   false, false, false, true},
    {32, L"scrollline2d",            L"PTM32.swf", L"0",             Multi,        Line,     false, false, false, true},
    {33, L"scrollarea2d",            L"PTM33.swf", L"0",             Multi,        Area,     false, false, false, true},
    {34, L"scrollstackedcolumn2d",   L"PTM34.swf", L"0",             Multi,        Column,   true,  false, false, true},
    {35, L"scrollcombi2d",           L"PTM35.swf", L"0",             Multi,        Column,   false, true,  false, true},
    {36, L"scrollcombidy2d",         L"PTM36.swf", L"0",             Multi,        Column,   false, true,  true,  true},
    {37, L"grid",                    L"PTM37.swf", L"0",             Single,       Grid,     false, false, false, false},
};
// clang-format on

} // namespace

const ChartType* find(Long number) noexcept {
    return number >= 1 && number <= count ? &table[number - 1] : nullptr;
}

SeriesKind seriesKind(Long number) noexcept {
    const ChartType* type = find(number);
    return type ? type->kind : None;
}

bool isXY(Long number) noexcept {
    return seriesKind(number) == XY;
}

bool isBubble(Long number) noexcept {
    const ChartType* type = find(number);
    return type && type->family == Bubble;
}

bool isGrid(Long number) noexcept {
    const ChartType* type = find(number);
    return type && type->family == Grid;
}

bool isMultiStacked(Long number) noexcept {
    return seriesKind(number) == MultiStacked;
}

} // namespace plotara::chart_types
