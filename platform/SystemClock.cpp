#include "platform/Clock.h"

#include <chrono>
#include <ctime>

namespace plotara {

Single SystemClock::secondsSinceMidnight() const {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) return 0;
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    const double sinceMidnight = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
                                 static_cast<double>(millis) / 1000.0;
    return static_cast<Single>(sinceMidnight);
}

} // namespace plotara
