// The plot elements a chart shows (columns, slices, points, legend entries, scroll buttons), from
// the player's hit regions: each distinct element with its box and a point inside it where the
// hit test finds it (the box centre, or for shapes such as slices the answering point nearest
// it). Keyboard focus, the accessible children of the widget and wheel scrolling work on this
// list.
#pragma once

#include "desktop/WindowPlayer.h"

#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

#include <vector>

namespace plotara::qt {

struct ChartElement {
    HitInfo info;
    QRectF bounds;  // the element's box within the client area, chart units
    QPointF anchor; // a point inside the element where the hit test finds it
    // The text a screen reader reads: the tool text with "label, " written as "label: ", or
    // "label: value" when the element has no tool text. Cannot fail.
    QString accessibleName() const;
    bool isLink() const { return !info.link.empty(); }
};

// The elements of the chart as laid out for the size, ordered by series, then point, then kind
// and position; an element covered wholly by others is left out. Where the box centre is not
// inside the element, the box is searched every `step` chart units. Cannot fail.
std::vector<ChartElement> findChartElements(WindowPlayer& player, QSize size, int step = 2);

} // namespace plotara::qt
