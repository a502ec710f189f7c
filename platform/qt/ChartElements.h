// The plot elements a chart shows (columns, slices, points, legend entries, scroll buttons), found
// through the player's hit test alone: the client area is sampled on a grid and every distinct
// element keeps the sample nearest the middle of its extent. Keyboard focus, the accessible
// children of the widget and wheel scrolling work on this list.
#pragma once

#include "platform/qt/WindowPlayer.h"

#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

#include <vector>

namespace plotara::qt {

struct ChartElement {
    HitInfo info;
    QRectF bounds;  // the sampled extent, chart units
    QPointF anchor; // a point inside the element, near the middle of its extent
    // The text a screen reader reads: the tool text with "label, " written as "label: ", or
    // "label: value" when the element has no tool text. Cannot fail.
    QString accessibleName() const;
    bool isLink() const { return !info.link.empty(); }
};

// The elements of the chart as laid out for the size, ordered by series, then point, then kind
// and position; sampled every `step` chart units. Cannot fail.
std::vector<ChartElement> findChartElements(WindowPlayer& player, QSize size, int step = 2);

} // namespace plotara::qt
