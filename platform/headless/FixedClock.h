// A clock that always reads the same time, for reproducible movie URLs in tests and scripts.
#pragma once

#include "platform/Clock.h"

namespace plotara {

class FixedClock final : public Clock {
public:
    explicit FixedClock(Single seconds = 0) : seconds_(seconds) {}
    void set(Single seconds) { seconds_ = seconds; }
    // Cannot fail.
    Single secondsSinceMidnight() const override { return seconds_; }

private:
    Single seconds_;
};

} // namespace plotara
