#include "platform/qt/ChartElements.h"

#include "platform/qt/QtText.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace plotara::qt {

namespace {

using Key = std::tuple<int, int, String, String>; // series, point, kind, label

struct Samples {
    HitInfo info;
    double left = 0, top = 0, right = 0, bottom = 0; // the extent of the samples
    std::vector<QPointF> points;
};

} // namespace

QString ChartElement::accessibleName() const {
    const QString label = toQString(info.label);
    const QString tool = toQString(info.toolText);
    if (tool.isEmpty())
        return label.isEmpty() ? toQString(info.value)
                               : label + QStringLiteral(": ") + toQString(info.value);
    if (!label.isEmpty() && tool.startsWith(label + QStringLiteral(", ")))
        return label + QStringLiteral(": ") + tool.mid(label.size() + 2);
    return tool;
}

std::vector<ChartElement> findChartElements(WindowPlayer& player, QSize size, int step) {
    std::map<Key, Samples> found;
    for (int y = step / 2; y < size.height(); y += step)
        for (int x = step / 2; x < size.width(); x += step) {
            HitInfo hit = player.hoverAt(x, y);
            if (!hit.hit) continue;
            const Key key{hit.seriesIndex, hit.pointIndex, hit.kind, hit.label};
            Samples& s = found[key];
            if (s.points.empty()) {
                s.info = std::move(hit);
                s.left = s.right = x;
                s.top = s.bottom = y;
            }
            s.left = std::min<double>(s.left, x);
            s.right = std::max<double>(s.right, x);
            s.top = std::min<double>(s.top, y);
            s.bottom = std::max<double>(s.bottom, y);
            s.points.push_back(QPointF(x, y));
        }
    std::vector<ChartElement> elements;
    for (auto& [key, s] : found) {
        // Each sample stands for the step x step square around it.
        const double half = step / 2.0;
        const QRectF bounds(QPointF(s.left - half, s.top - half),
                            QPointF(s.right + half, s.bottom + half));
        const QPointF middle = bounds.center();
        const auto distance = [&](const QPointF& p) {
            const QPointF d = p - middle;
            return d.x() * d.x() + d.y() * d.y();
        };
        const QPointF anchor = *std::min_element(
            s.points.begin(), s.points.end(),
            [&](const QPointF& a, const QPointF& b) { return distance(a) < distance(b); });
        elements.push_back(ChartElement{std::move(s.info), bounds, anchor});
    }
    // Plot elements (series and point known) first, in series and point order; the rest after.
    std::stable_sort(elements.begin(), elements.end(), [](const auto& a, const auto& b) {
        const bool aPlot = a.info.pointIndex >= 0, bPlot = b.info.pointIndex >= 0;
        if (aPlot != bPlot) return aPlot;
        if (a.info.seriesIndex != b.info.seriesIndex)
            return a.info.seriesIndex < b.info.seriesIndex;
        if (a.info.pointIndex != b.info.pointIndex) return a.info.pointIndex < b.info.pointIndex;
        return a.anchor.x() < b.anchor.x();
    });
    return elements;
}

} // namespace plotara::qt
