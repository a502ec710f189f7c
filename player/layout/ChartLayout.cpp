#include "player/layout/ChartLayout.h"

namespace plotara::player {

const LayoutAxis* ChartLayout::axis(const std::string& id) const {
    for (const LayoutAxis& a : axes) {
        if (a.id == id) return &a;
    }
    return nullptr;
}

LayoutAxis& ChartLayout::axisFor(const std::string& id) {
    for (LayoutAxis& a : axes) {
        if (a.id == id) return a;
    }
    LayoutAxis added;
    added.id = id;
    axes.push_back(std::move(added));
    return axes.back();
}

const char* textKindName(TextKind kind) {
    switch (kind) {
    case TextKind::Caption:
        return "caption";
    case TextKind::SubCaption:
        return "subcaption";
    case TextKind::AxisName:
        return "axis-name";
    case TextKind::CategoryLabel:
        return "category-label";
    case TextKind::ValueLabel:
        return "value-label";
    case TextKind::Legend:
        return "legend";
    case TextKind::Tick:
        return "tick";
    case TextKind::Message:
        return "message";
    case TextKind::Trend:
        return "trend";
    case TextKind::PieLabel:
        return "pie-label";
    case TextKind::Other:
        break;
    }
    return "other";
}

} // namespace plotara::player
