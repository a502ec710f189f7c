// The texts around a cartesian chart's plot: the tick labels of its value axes, its category
// labels (thinned when they do not fit) and its axis names, laid out with the plot.
#include "player/cartesian/CalendarLabels.h"
#include "player/cartesian/CartesianFrame.h"

#include <algorithm>

namespace plotara::player {

namespace {

// 1st, 2nd, 3rd, 4th, ... 11th, 12th, 13th, ... 21st.
std::string ordinal(std::size_t n) {
    const char* suffix = "th";
    if (n % 100 < 11 || n % 100 > 13) {
        if (n % 10 == 1) suffix = "st";
        if (n % 10 == 2) suffix = "nd";
        if (n % 10 == 3) suffix = "rd";
    }
    return std::to_string(n) + suffix;
}

} // namespace

// The labels drawn: all when they fit, else those starting a calendar period when the labels
// are dates, else every step-th; what was left out is noted in the layout.
std::vector<std::size_t> CartesianFrame::shownLabels() {
    std::size_t last = std::min(labels_.size(), g_.first + g_.count);
    std::size_t step = std::max<std::size_t>(plan_.step, 1);
    std::vector<std::size_t> shown;
    std::string how = "only every " + ordinal(step) + " label fits";
    if (step > 1) {
        if (auto picks = calendarLabels(labels_, g_.first, last, step)) {
            shown = std::move(picks->shown);
            bool several = !picks->period.empty() &&
                           std::isdigit(static_cast<unsigned char>(picks->period.front()));
            how = (several ? "one label every " : "one label a ") + picks->period;
        }
    }
    if (shown.empty()) {
        for (std::size_t i = g_.first; i < last; i += step)
            shown.push_back(i);
    }
    std::size_t named = 0, drawn = 0;
    for (std::size_t i = g_.first; i < last; ++i)
        named += !labels_[i].empty();
    for (std::size_t i : shown)
        drawn += !labels_[i].empty();
    if (drawn < named)
        ctx_.scene.layout.notes.push_back(std::to_string(named - drawn) +
                                          " category labels thinned: " + how);
    return shown;
}

// A text laid out with its box; the front of the frame draws it as laid out.
void CartesianFrame::lay(TextTag tag, std::string text, const Font& font, double x, double y,
                         HAlign h, VAlign v, double angle, double maxWidth) {
    TextItem item = placeText(ctx_, tag, std::move(text), font, x, y, h, v, angle, maxWidth);
    if (!item.text.empty()) axisTexts_.push_back(std::move(item));
}

// As lay, returning the box (that of an empty text too: the layout's tick keeps it).

Rect CartesianFrame::layBox(TextTag tag, std::string text, const Font& font, double x, double y,
                            HAlign h, VAlign v) {
    TextItem item = placeText(ctx_, tag, std::move(text), font, x, y, h, v);
    Rect box = item.box;
    if (!item.text.empty()) axisTexts_.push_back(std::move(item));
    return box;
}

void CartesianFrame::layoutCategoryLabels() {
    Font font = ctx_.style.font(TextRole::DataLabels);
    Rect p = g_.plot;
    for (std::size_t k = 0; k < shown_.size(); ++k) {
        std::size_t i = shown_[k];
        const std::string label(labels_[i]);
        if (label.empty() || g_.partial(i)) continue; // entering or leaving: no label
        double pos = g_.categoryPos(i);
        TextTag tag{TextKind::CategoryLabel, -1, static_cast<int>(i)};
        if (g_.horizontal) {
            lay(tag, label, font, p.x - 4, pos, HAlign::Right, VAlign::Middle, 0,
                plan_.maxTextWidth);
            continue;
        }
        double y = p.bottom() + labelGap_;
        switch (plan_.mode) {
        case CategoryLabelPlan::Mode::Horizontal:
            lay(tag, label, font, pos, y, HAlign::Center, VAlign::Top, 0, plan_.maxTextWidth);
            break;
        case CategoryLabelPlan::Mode::Stagger:
            lay(tag, label, font, pos, y + static_cast<double>(k % 2) * (plan_.lineHeight + 2),
                HAlign::Center, VAlign::Top, 0, plan_.maxTextWidth);
            break;
        case CategoryLabelPlan::Mode::Slant: {
            // The text runs down to the left from under its category; it is shortened rather
            // than let out of the chart's left edge.
            double room = (pos - 2) / 0.70710678118654752 - plan_.lineHeight / 2;
            lay(tag, label, font, pos, y + plan_.lineHeight * 0.35, HAlign::Right, VAlign::Middle,
                -45, std::max(std::min(plan_.maxTextWidth, room), 8.0));
            break;
        }
        case CategoryLabelPlan::Mode::Rotate:
            lay(tag, label, font, pos, y, HAlign::Right, VAlign::Middle, -90, plan_.maxTextWidth);
            break;
        }
    }
}

// The tick labels of a value axis, thinned to keep them apart, and the layout's ticks.
void CartesianFrame::layoutTicks(const AxisScale& a, bool secondary) {
    Rect p = g_.plot;
    Font tickFont = ctx_.style.font(TextRole::YAxisValues);
    double tickH = ctx_.text.measure("Ag", tickFont).h;
    double spacing = (g_.horizontal ? p.w : p.h) / std::max(a.divisions, 1);
    int every = 1;
    while (spacing * every < tickH * 1.2 && every < 1000)
        ++every;
    if (g_.horizontal) {
        double widest = 0;
        for (int i = 0; i <= a.divisions; ++i)
            widest =
                std::max(widest, ctx_.text.measure(tickText(a.tick(i), secondary), tickFont).w);
        while (spacing * every < widest + textGap && every < 1000)
            ++every;
    }
    LayoutAxis& axisModel = ctx_.scene.layout.axisFor(secondary ? "y2" : "y");
    for (int i = 0; i <= a.divisions; ++i) {
        LayoutTick tick;
        tick.value = a.tick(i);
        if (i % every == 0 && !moving_[secondary ? 1 : 0]) {
            double pos = g_.valuePos(a.tick(i), secondary);
            tick.label = tickText(a.tick(i), secondary);
            TextTag tag{TextKind::Tick};
            if (g_.horizontal) {
                double y = secondary ? p.y - g_.depth - 4 : p.bottom() + 4;
                tick.box = layBox(tag, tick.label, tickFont, pos, y, HAlign::Center,
                                  secondary ? VAlign::Bottom : VAlign::Top);
            } else if (secondary) {
                tick.box = layBox(tag, tick.label, tickFont, p.right() + g_.depth + textGap,
                                  pos - g_.depth, HAlign::Left, VAlign::Middle);
            } else {
                tick.box =
                    layBox(tag, tick.label, tickFont, p.x - 5, pos, HAlign::Right, VAlign::Middle);
            }
        }
        axisModel.ticks.push_back(std::move(tick));
    }
}

// The names of the value and category axes beside or under their labels.
void CartesianFrame::layoutAxisNames(bool showTicks) {
    const Attributes& c = ctx_.model.chart;
    Rect p = g_.plot;
    Font nameFont = ctx_.style.font(TextRole::YAxisName);
    Font xNameFont = ctx_.style.font(TextRole::XAxisName);
    std::string pName = c.text("pyaxisname", c.text("yaxisname"));
    std::string sName = c.text("syaxisname");
    std::string xName = c.text("xaxisname");
    if (pName.empty() && sName.empty() && xName.empty()) return;
    double tickH = ctx_.text.measure("Ag", ctx_.style.font(TextRole::YAxisValues)).h;
    double nameH = ctx_.text.measure("Ag", nameFont).h;
    const Rect area = area_; // the names stand at its edges, clear of a legend at the right
    if (!g_.horizontal) {
        if (!pName.empty())
            lay({TextKind::AxisName}, pName, nameFont, area.x + nameH / 2, p.y + p.h / 2,
                HAlign::Center, VAlign::Middle, -90, p.h);
        if (g_.hasSecondary && !sName.empty())
            lay({TextKind::AxisName}, sName, nameFont, area.right() - nameH / 2, p.y + p.h / 2,
                HAlign::Center, VAlign::Middle, 90, p.h);
        if (!xName.empty()) {
            double y = p.bottom() + plan_.extent + labelGap_;
            lay({TextKind::AxisName}, xName, xNameFont, p.x + p.w / 2, y, HAlign::Center,
                VAlign::Top, 0, p.w);
        }
    } else {
        if (!xName.empty())
            lay({TextKind::AxisName}, xName, xNameFont, area.x + nameH / 2, p.y + p.h / 2,
                HAlign::Center, VAlign::Middle, -90, p.h);
        if (!pName.empty()) {
            double y = p.bottom() + (showTicks ? tickH + 8 : 4);
            lay({TextKind::AxisName}, pName, nameFont, p.x + p.w / 2, y, HAlign::Center,
                VAlign::Top, 0, p.w);
        }
    }
}

// Tick labels, category labels and axis names, in the order they are drawn.
void CartesianFrame::layoutAxisTexts() {
    const Attributes& c = ctx_.model.chart;
    axisTexts_.clear();
    bool showTicks = c.flag("showyaxisvalues", c.flag("showlimits", true));
    if (showTicks) layoutTicks(g_.primary, false);
    if (showTicks && g_.hasSecondary) layoutTicks(g_.secondary, true);
    layoutCategoryLabels();
    layoutAxisNames(showTicks);
}

} // namespace plotara::player
