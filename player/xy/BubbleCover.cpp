#include "player/xy/BubbleCover.h"

#include <algorithm>
#include <cmath>

namespace plotara::player {

namespace {
constexpr double reach = 0.7072; // a cell's centre to its farthest corner
} // namespace

BubbleCover::BubbleCover(const Rect& plot, bool clip)
    : x0_(static_cast<int>(std::floor(plot.x))), y0_(static_cast<int>(std::floor(plot.y))),
      w_(static_cast<int>(std::ceil(plot.right())) - x0_),
      h_(static_cast<int>(std::ceil(plot.bottom())) - y0_), clip_(clip),
      light_(static_cast<std::size_t>(w_) * static_cast<std::size_t>(h_), 1.0f) {}

// Calls inside(cell light, distance of its centre) for each cell whose centre lies within the
// radius, and outside() once when the disc reaches past the plot's cells.
template <class Self, class Inside, class Outside>
void BubbleCover::visit(Self& self, Point c, double radius, Inside inside, Outside outside) {
    const int loX = static_cast<int>(std::floor(c.x - radius)) - self.x0_;
    const int hiX = static_cast<int>(std::ceil(c.x + radius)) - self.x0_;
    const int loY = static_cast<int>(std::floor(c.y - radius)) - self.y0_;
    const int hiY = static_cast<int>(std::ceil(c.y + radius)) - self.y0_;
    if (loX < 0 || loY < 0 || hiX >= self.w_ || hiY >= self.h_) outside();
    for (int y = std::max(loY, 0); y <= std::min(hiY, self.h_ - 1); ++y) {
        const double dy = self.y0_ + y + 0.5 - c.y;
        for (int x = std::max(loX, 0); x <= std::min(hiX, self.w_ - 1); ++x) {
            const double dx = self.x0_ + x + 0.5 - c.x;
            const double distance = std::sqrt(dx * dx + dy * dy);
            if (distance <= radius)
                inside(self.light_[static_cast<std::size_t>(y) * self.w_ + x], distance);
        }
    }
}

bool BubbleCover::shows(Point c, double radius) const {
    bool shown = false;
    visit(
        *this, c, radius + 0.5 + reach,
        [&](const float& light, double) { shown = shown || light * 255 >= 0.5f; },
        [&] { shown = shown || !clip_; });
    return shown;
}

void BubbleCover::cover(Point c, double radius, double alpha) {
    const auto through = static_cast<float>(1 - std::clamp(alpha, 0.0, 1.0));
    visit(
        *this, c, radius,
        [&](float& light, double distance) {
            if (distance <= radius - reach) light *= through;
        },
        [] {});
}

} // namespace plotara::player
