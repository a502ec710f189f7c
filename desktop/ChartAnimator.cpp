#include "desktop/ChartAnimator.h"

#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace plotara::qt {

bool desktopAllowsMotion(const QWidget& widget) {
    return widget.style()->styleHint(QStyle::SH_Widget_Animation_Duration, nullptr, &widget) > 0;
}

ChartAnimator::ChartAnimator() {
    setStartValue(0.0);
    setEndValue(1.0);
    next_.setSingleShot(true);
    next_.setInterval(0);
    connect(&next_, &QTimer::timeout, this, [this] { begin(); });
    connect(this, &QVariantAnimation::valueChanged, this, [this] {
        if (frame_) frame_();
    });
    connect(this, &QAbstractAnimation::finished, this, [this] { finish(); });
}

void ChartAnimator::plan(double seconds, std::function<void()> done) {
    end();
    setDuration(std::max(1, static_cast<int>(std::lround(seconds * 1000))));
    done_ = std::move(done);
    planned_ = true;
    next_.start();
}

void ChartAnimator::begin() {
    if (!planned_) return;
    planned_ = false;
    start();
}

void ChartAnimator::end() {
    next_.stop();
    planned_ = false;
    if (state() != Stopped) stop(); // stop() does not signal finished
    finish();
}

void ChartAnimator::finish() {
    // Taken first: done may plan the next motion.
    std::function<void()> done = std::move(done_);
    done_ = nullptr;
    if (!done) return;
    if (frame_) frame_();
    done();
}

double ChartAnimator::progress() const {
    if (planned_) return 0;
    if (state() == Stopped) return 1;
    return std::clamp(currentValue().toDouble(), 0.0, 1.0);
}

} // namespace plotara::qt
