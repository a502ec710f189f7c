// The chart as one self-contained HTML page (or only its <figure>, for a host page): the still
// picture as inline SVG with its series in groups, an invisible element over every hit region
// named as a screen reader reads it, the chart's data as JSON and as a table, and the page's
// script (page.js), allowed by a Content-Security-Policy hash. docs/web.md describes the page.
#pragma once

#include "player/ChartPlayer.h"
#include "player/draw/HitRegion.h"
#include "player/layout/ChartLayout.h"

#include <string>
#include <vector>

namespace plotara::player {

// What the page is made of, as the player has it.
struct HtmlChart {
    std::string svg; // writeGroupedSvgDocument of the still picture
    std::vector<HitRegion>
        regions; // every hit region, texts worked out, as hitRegions() lists them
    const ChartLayout* layout = nullptr;
    bool legendToggles = false;
    std::vector<int> hiddenSeries; // hidden by the viewer: not in the picture
    double drawIn = 0;             // seconds of the load animation, 0 when the chart does not move
};

// The prefix of every id of the chart's page: HtmlOptions::idPrefix, "plotara" when empty.
std::string pageIdPrefix(const HtmlOptions& options);

// The page, or the figure alone. Cannot fail beyond running out of memory.
std::string writeHtmlPage(const HtmlChart& chart, const HtmlOptions& options);

// The invisible elements over the hit regions (bottom to top, as the SVG paints them), to go last
// inside the <svg>. Cannot fail beyond running out of memory.
void appendHitElements(std::string& out, const HtmlChart& chart);
// The chart data the script reads, as JSON that is safe inside a <script> element. Cannot fail
// beyond running out of memory.
std::string pageDataJson(const HtmlChart& chart);

} // namespace plotara::player
