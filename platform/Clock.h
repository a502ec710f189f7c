// The clock behind the movie URL's cache breaker.
#pragma once

#include "core/String.h"

namespace plotara {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since local midnight, with the fraction; cannot fail.
    virtual Single secondsSinceMidnight() const = 0;
};

// The machine's clock in the local time zone, to the millisecond.
class SystemClock final : public Clock {
public:
    // Cannot fail: a clock that cannot be read gives 0.
    Single secondsSinceMidnight() const override;
};

} // namespace plotara
