// A scroll chart on a page: the page has no layout engine, so it holds the chart laid out at
// each start of its window, as the desktop shows it there, and the script shows one at a time.
// The windows share most of their SVG (titles, legend, the value axis, the plot's back, the
// scroll bar's track): the page holds that once and per window only the lines that differ.
#include "player/web/HtmlPage.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace plotara::player {

namespace {

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
    return lines;
}

// The elements open before each line (and after the last): the SVG writer's markup has no "<"
// or ">" inside attribute values or texts.
std::vector<int> depths(const std::vector<std::string_view>& lines) {
    std::vector<int> out{0};
    int depth = 0;
    for (std::string_view line : lines) {
        for (std::size_t at = line.find('<'); at != std::string_view::npos;
             at = line.find('<', at + 1)) {
            const char next = at + 1 < line.size() ? line[at + 1] : '\0';
            const std::size_t close = line.find('>', at);
            if (next == '/') {
                --depth;
            } else if (next != '?' && next != '!' && close != std::string_view::npos &&
                       line[close - 1] != '/') {
                ++depth;
            }
        }
        out.push_back(depth);
    }
    return out;
}

// Widens [first, end) of the lines until it holds whole elements.
void balance(const std::vector<int>& depth, std::size_t& first, std::size_t& end) {
    for (;;) {
        const int least = *std::min_element(depth.begin() + static_cast<std::ptrdiff_t>(first),
                                            depth.begin() + static_cast<std::ptrdiff_t>(end) + 1);
        if (depth[first] == least && depth[end] == least) return;
        while (depth[first] > least)
            --first;
        while (depth[end] > least)
            ++end;
    }
}

std::string joined(const std::vector<std::string_view>& lines, std::size_t first, std::size_t end) {
    std::string out;
    for (std::size_t i = first; i < end; ++i)
        out += lines[i];
    return out;
}

// The elements of lines [first, end) that are open at their depth there, each as one text.
using Elements = std::vector<std::string_view>;
Elements elementsOf(const std::vector<std::string_view>& lines, const std::vector<int>& depth,
                    std::size_t first, std::size_t end) {
    Elements out;
    for (std::size_t i = first, j = first; i < end; i = j) {
        for (++j; j < end && depth[j] > depth[first];)
            ++j;
        out.emplace_back(
            lines[i].data(),
            static_cast<std::size_t>(lines[j - 1].data() + lines[j - 1].size() - lines[i].data()));
    }
    return out;
}

// A longest common subsequence of a and b (its table is a.size() times b.size()).
Elements common(const Elements& a, const Elements& b) {
    const std::size_t w = b.size() + 1;
    std::vector<std::uint32_t> longest((a.size() + 1) * w, 0);
    for (std::size_t i = a.size(); i-- > 0;)
        for (std::size_t j = b.size(); j-- > 0;)
            longest[i * w + j] = a[i] == b[j]
                                     ? longest[(i + 1) * w + j + 1] + 1
                                     : std::max(longest[(i + 1) * w + j], longest[i * w + j + 1]);
    Elements out;
    for (std::size_t i = 0, j = 0; i < a.size() && j < b.size();) {
        if (a[i] == b[j]) {
            out.push_back(a[i]);
            ++i, ++j;
        } else if (longest[(i + 1) * w + j] >= longest[i * w + j + 1]) {
            ++i;
        } else {
            ++j;
        }
    }
    return out;
}

// A window's own elements between those every window has (shared, in its order).
std::vector<std::string> ownParts(const Elements& own, const Elements& shared) {
    std::vector<std::string> parts(shared.size() + 1);
    std::size_t k = 0;
    for (std::string_view e : own) {
        if (k < shared.size() && e == shared[k]) {
            ++k;
        } else {
            parts[k] += e;
        }
    }
    return parts;
}

// The plot elements move with the window; the legend and the scroll bar are in every window.
bool inWindow(const HitRegion& r) {
    return r.pointIndex >= 0 && r.kind != HitKind::Legend && !isScroll(r.kind);
}

// The plot elements' regions of every window after those of the shown one.
void addWindowRegions(HtmlChart& chart, std::vector<ScrollWindow> windows, std::size_t shown) {
    chart.regionWindow.assign(chart.regions.size(), -1);
    for (std::size_t i = 0; i < chart.regions.size(); ++i)
        if (inWindow(chart.regions[i])) chart.regionWindow[i] = static_cast<long>(shown);
    for (ScrollWindow& w : windows) {
        if (w.start == shown) continue;
        for (HitRegion& r : w.regions) {
            if (!inWindow(r)) continue;
            chart.regions.push_back(std::move(r));
            chart.regionWindow.push_back(static_cast<long>(w.start));
        }
    }
}

// Above this many elements in the windows' middle, their lines are not compared.
constexpr std::size_t maxSharedElements = 1000;

} // namespace

std::vector<std::size_t> pageScrollStarts(std::size_t last, std::size_t visible,
                                          std::size_t shown) {
    std::vector<std::size_t> starts;
    const std::size_t most =
        std::max<std::size_t>(pageWindowCategories / std::max<std::size_t>(visible, 1), 2);
    // Never more than a window apart: every category shows in one.
    const std::size_t step = std::clamp<std::size_t>((last + most - 2) / (most - 1), 1,
                                                     std::max<std::size_t>(visible, 1));
    for (std::size_t s = 0; s < last; s += step)
        starts.push_back(s);
    starts.push_back(last);
    if (!std::ranges::binary_search(starts, shown))
        starts.insert(std::ranges::lower_bound(starts, shown), shown);
    return starts;
}

std::string windowIdPrefix(std::string_view pagePrefix, std::size_t start) {
    return std::string(pagePrefix) + "-w" + std::to_string(start);
}

WindowSplit splitWindows(const std::string& stillSvg,
                         const std::vector<std::string_view>& pictures) {
    // The still picture's ids differ from every picture's: lines with ids are never shared.
    const std::vector<std::string_view> still = linesOf(stillSvg);
    std::vector<std::vector<std::string_view>> lines;
    std::size_t head = still.size(), tail = still.size();
    for (std::string_view svg : pictures) {
        const std::vector<std::string_view>& own = lines.emplace_back(linesOf(svg));
        const std::size_t most = std::min(own.size(), still.size());
        const auto same =
            static_cast<std::size_t>(std::ranges::mismatch(own, still).in1 - own.begin());
        if (same == own.size() && same == still.size()) continue; // the still picture itself
        head = std::min(head, same);
        std::size_t after = 0;
        while (after < most - same &&
               own[own.size() - 1 - after] == still[still.size() - 1 - after])
            ++after;
        tail = std::min(tail, after);
    }
    std::size_t first = head, end = still.size() - tail;
    balance(depths(still), first, end);
    // Between them, the elements every picture has (the axis lines, the value axis's labels,
    // the scroll bar's track) are held once too, unless there are too many to compare.
    std::vector<Elements> middles;
    for (const std::vector<std::string_view>& own : lines)
        middles.push_back(elementsOf(own, depths(own), first, own.size() - (still.size() - end)));
    Elements shared = elementsOf(still, depths(still), first, end);
    if (shared.size() > maxSharedElements) shared.clear();
    for (const Elements& m : middles)
        if (!shared.empty()) shared = m.size() > maxSharedElements ? Elements{} : common(shared, m);
    WindowSplit split{joined(still, 0, first), joined(still, end, still.size()), {}};
    split.segments.resize(shared.size() + 1);
    for (std::size_t g = 0; g < shared.size(); ++g)
        split.segments[g].shared = shared[g];
    for (const Elements& m : middles) {
        std::vector<std::string> parts = ownParts(m, shared);
        for (std::size_t g = 0; g < parts.size(); ++g)
            split.segments[g].parts.push_back(std::move(parts[g]));
    }
    return split;
}

void addScrollWindows(HtmlChart& chart, std::vector<ScrollWindow> windows, std::size_t shown,
                      std::size_t visible, std::size_t total) {
    std::vector<std::string_view> pictures;
    PageScroll scroll;
    for (const ScrollWindow& w : windows) {
        pictures.emplace_back(w.svg);
        scroll.starts.push_back(w.start);
    }
    static_cast<WindowSplit&>(scroll) = splitWindows(chart.svg, pictures);
    scroll.shown = shown, scroll.visible = visible, scroll.total = total;
    addWindowRegions(chart, std::move(windows), shown);
    chart.scroll = std::move(scroll);
}

} // namespace plotara::player
