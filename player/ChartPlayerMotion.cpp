// The chart player's motion: a chart drawn in, or moving from the chart before, frame by frame
// at the progress a host's clock sets.
#include "player/detail/ChartPlayerImpl.h"

#include <algorithm>
#include <cmath>

namespace plotara {

using namespace player;

void ChartPlayer::Impl::keepStart() {
    if (!animatable || !animationEnabled || !model) return;
    // The values shown: a series hidden before grows from the base line when it shows again.
    MotionStart shown = viewOptions.hidden.any()
                            ? MotionStart(withoutHidden(*model, viewOptions.hidden), scene.layout)
                            : MotionStart(*model, scene.layout);
    if (progress < 1) shown.partWay(start ? &*start : nullptr, easeOutCubic(progress));
    start = std::move(shown);
}

bool ChartPlayer::animates() const {
    return impl_->state == PlayerState::Chart && impl_->animatable && impl_->animationEnabled;
}

bool ChartPlayer::transitions() const {
    return animates() && impl_->start.has_value();
}

double ChartPlayer::animationDuration() const {
    if (!animates()) return 0;
    return impl_->start ? transitionSeconds : drawInSeconds;
}

void ChartPlayer::setAnimationEnabled(bool enabled) {
    if (enabled == impl_->animationEnabled) return;
    impl_->animationEnabled = enabled;
    if (!enabled) setAnimationProgress(1);
}

bool ChartPlayer::animationEnabled() const {
    return impl_->animationEnabled;
}

void ChartPlayer::setAnimationProgress(double progress) {
    double p = std::isfinite(progress) ? std::clamp(progress, 0.0, 1.0) : 1.0;
    if (!animates()) p = 1;
    if (p == impl_->progress) return;
    impl_->progress = p;
    impl_->redraw();
}

double ChartPlayer::animationProgress() const {
    return impl_->progress;
}

} // namespace plotara
