// The plot elements a chart shows (columns, slices, points, legend entries, scroll buttons), from
// the player's exact hit regions: each distinct element with its box and a point inside it where
// the hit test finds it (the region's own anchor, else another point of its box that answers).
// Keyboard focus, the accessible children of the widget and wheel scrolling work on this list.
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
    // The text a screen reader reads (elementName, as the web page names it). Cannot fail.
    QString accessibleName() const;
    bool isLink() const { return !info.link.empty(); }
    // A legend entry that hides and shows its series: a check box, checked while it shows.
    bool checkable = false;
    bool checked = false;
    // Whether Tab reaches the element: a link or a check box. Cannot fail.
    bool focusable() const { return isLink() || checkable; }
};

// The elements of the chart as laid out for the size, ordered by series, then point, then kind
// and position; an element whose anchor, box centre and box quarters are all covered by others
// is left out. Cannot fail.
std::vector<ChartElement> findChartElements(WindowPlayer& player, QSize size);

} // namespace plotara::qt
