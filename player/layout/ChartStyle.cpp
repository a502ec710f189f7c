#include "player/layout/ChartStyle.h"

#include "player/layout/StyleOrder.h"
#include "player/util/TextUtil.h"

#include <algorithm>

namespace plotara::player {

namespace {
const char* objectName(TextRole role) {
    switch (role) {
    case TextRole::Caption:
        return "caption";
    case TextRole::SubCaption:
        return "subcaption";
    case TextRole::XAxisName:
        return "xaxisname";
    case TextRole::YAxisName:
        return "yaxisname";
    case TextRole::DataLabels:
        return "datalabels";
    case TextRole::DataValues:
        return "datavalues";
    case TextRole::YAxisValues:
        return "yaxisvalues";
    case TextRole::Legend:
        return "legend";
    case TextRole::TrendValues:
        return "trendvalues";
    case TextRole::Message:
        return "message";
    }
    return "";
}
} // namespace

ChartStyle::ChartStyle(const ChartModel& model) : model_(model) {
    double p = model.chart.number("palette", 1);
    palette_ = (p >= 1 && p <= 5) ? static_cast<int>(p) : 1;
    theme_ = paletteTheme(palette_);
    theme_.background = parseColor(model.chart.text("bgcolor"), theme_.background);
    theme_.canvas = parseColor(model.chart.text("canvasbgcolor"), theme_.canvas);
    theme_.canvasBorder = parseColor(model.chart.text("canvasbordercolor"), theme_.canvasBorder);
    theme_.divLine = parseColor(model.chart.text("divlinecolor"), theme_.divLine);
    base_.family = model.chart.text("basefont", "DejaVu Sans");
    base_.size = std::clamp(model.chart.number("basefontsize", 10), 4.0, 72.0);
    base_.color = parseColor(model.chart.text("basefontcolor"), theme_.text);
    // The list is kept in a named string: the views splitView returns point into it, and a
    // temporary would be gone before the loop reads them.
    const std::string colors = model.chart.text("palettecolors");
    for (std::string_view c : splitView(colors, ',')) {
        if (!trimSpace(c).empty()) userColors_.push_back(parseColor(c, rgb(0x888888)));
    }
}

Color ChartStyle::seriesColor(std::size_t i) const {
    if (!userColors_.empty()) return userColors_[i % userColors_.size()];
    return player::seriesColor(palette_, i);
}

Font ChartStyle::font(TextRole role) const {
    std::optional<Font>& cached = fonts_.at(static_cast<std::size_t>(role));
    if (!cached) cached = resolveFont(role);
    return *cached;
}

Font ChartStyle::resolveFont(TextRole role) const {
    Font f = base_;
    switch (role) {
    case TextRole::Caption:
        f.size = base_.size + 3;
        f.bold = true;
        break;
    case TextRole::SubCaption:
        f.size = base_.size + 1;
        break;
    case TextRole::XAxisName:
    case TextRole::YAxisName:
        f.bold = true;
        break;
    case TextRole::Message:
        f.size = base_.size + 1;
        break;
    default:
        break;
    }
    for (const StyleDefinition* def : fontStylesFor(model_, objectName(role))) {
        const Attributes& a = def->attrs;
        if (a.has("font")) f.family = a.text("font");
        if (auto s = a.optionalNumber("size")) f.size = std::clamp(*s, 4.0, 72.0);
        f.color = parseColor(a.text("color"), f.color);
        f.bold = a.flag("bold", f.bold);
        f.italic = a.flag("italic", f.italic);
        f.underline = a.flag("underline", f.underline);
    }
    return f;
}

} // namespace plotara::player
