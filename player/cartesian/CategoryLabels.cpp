#include "player/cartesian/CategoryLabels.h"

#include "player/util/TextUtil.h"

#include <algorithm>
#include <cmath>

namespace plotara::player {

namespace {
// The widest of the labels. Beyond a few dozen labels only the longest texts (in bytes) are
// measured: text width follows length closely enough, and measuring is the costly part.
double widestLabel(TextEngine& text, const std::vector<std::string_view>& labels,
                   const Font& font) {
    constexpr std::size_t measured = 32;
    std::vector<const std::string_view*> pick;
    pick.reserve(labels.size());
    for (const std::string_view& l : labels) {
        if (!l.empty()) pick.push_back(&l);
    }
    if (pick.size() > measured) {
        std::nth_element(pick.begin(), pick.begin() + measured, pick.end(),
                         [](const std::string_view* a, const std::string_view* b) {
                             return a->size() > b->size();
                         });
        pick.resize(measured);
    }
    double widest = 0;
    for (const std::string_view* l : pick)
        widest = std::max(widest, text.measure(*l, font).w);
    return widest;
}

std::size_t stepFor(double needed, double slot) {
    if (!(slot > 0)) return 1;
    double s = std::ceil(needed / slot - 1e-9);
    if (!(s >= 1)) return 1;
    return static_cast<std::size_t>(std::min(s, 1e9));
}
} // namespace

bool categoryLabelsShown(const Attributes& chart) {
    return chart.flag("shownames", chart.flag("showlabels", true)) &&
           lowerAscii(trimSpace(chart.text("labeldisplay"))) != "none";
}

CategoryLabelPlan planColumnLabels(TextEngine& text, const std::vector<std::string_view>& labels,
                                   const Font& font, double slot, const Attributes& chart,
                                   double maxExtent) {
    CategoryLabelPlan plan;
    plan.lineHeight = text.measure("Ag", font).h;
    bool any = std::any_of(labels.begin(), labels.end(), [](const auto& l) { return !l.empty(); });
    if (!any) return plan;
    std::string display = lowerAscii(chart.text("labeldisplay", "auto"));
    double widest = widestLabel(text, labels, font);
    bool rotateAsked =
        chart.flag("rotatenames", chart.flag("rotatelabels", false)) || display == "rotate";
    bool rotateForbidden = chart.has("rotatenames") && !chart.flag("rotatenames", true);
    double gap = 6;
    if (!rotateAsked && display != "stagger" && widest + gap <= slot) {
        plan.extent = plan.lineHeight + 4;
        plan.maxTextWidth = slot;
        return plan;
    }
    if (!rotateAsked && (display == "stagger" || widest + gap <= 2 * slot) && labels.size() > 1) {
        plan.mode = CategoryLabelPlan::Mode::Stagger;
        plan.extent = 2 * plan.lineHeight + 6;
        plan.maxTextWidth = std::max(2 * slot - gap, 8.0);
        plan.step = widest + gap <= 2 * slot ? 1 : stepFor((widest + gap) / 2, slot);
        return plan;
    }
    // Slanted labels are parallel, slot / sqrt(2) apart across their lines: they fit side by
    // side when that holds a line of text. They read more easily than upright ones, so they come
    // first whenever no label has to be left out for them (or when the document asks for them).
    constexpr double cos45 = 0.70710678118654752;
    bool slantAsked = chart.flag("slantlabels", false);
    bool slantForbidden = chart.has("slantlabels") && !slantAsked;
    double slantRoom = (maxExtent - 6) / cos45 - plan.lineHeight;
    if (!rotateForbidden && !slantForbidden && slantRoom >= 8 &&
        (slantAsked || (!rotateAsked && (plan.lineHeight + 2) / cos45 <= slot))) {
        plan.mode = CategoryLabelPlan::Mode::Slant;
        plan.maxTextWidth = std::max(std::min(widest, slantRoom), 8.0);
        plan.extent = (plan.maxTextWidth + plan.lineHeight) * cos45 + 6;
        plan.step = stepFor((plan.lineHeight + 2) / cos45, slot);
        return plan;
    }
    if (!rotateForbidden) {
        plan.mode = CategoryLabelPlan::Mode::Rotate;
        plan.maxTextWidth = std::max(std::min(widest, maxExtent - 4), 8.0);
        plan.extent = plan.maxTextWidth + 6;
        plan.step = stepFor(plan.lineHeight * 1.1, slot);
        return plan;
    }
    // Horizontal and thinned: each shown label owns step slots.
    plan.step = stepFor(std::min(widest, 200.0) + gap, slot);
    plan.maxTextWidth = std::max(plan.step * slot - gap, 8.0);
    plan.extent = plan.lineHeight + 4;
    return plan;
}

CategoryLabelPlan planBarLabels(TextEngine& text, const std::vector<std::string_view>& labels,
                                const Font& font, double slot, double maxWidth) {
    CategoryLabelPlan plan;
    plan.lineHeight = text.measure("Ag", font).h;
    double widest = widestLabel(text, labels, font);
    plan.maxTextWidth = std::max(std::min(widest, maxWidth), 0.0);
    plan.extent = widest > 0 ? plan.maxTextWidth + 6 : 0;
    plan.step = stepFor(plan.lineHeight, slot);
    return plan;
}

} // namespace plotara::player
