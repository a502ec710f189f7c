#include "player/util/Decimals.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace plotara::player {

char* writeDecimals(char* at, double v, int decimals, bool keepZeros) {
    constexpr double scales[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    if (decimals < 0 || decimals > 6 || !(std::fabs(v) < 1e9)) return nullptr;
    // v scaled to a count of its last decimal; below 1e15, so every count is a whole double.
    const double scaled = v * scales[decimals];
    const double rounded = std::nearbyint(scaled);
    // scaled is v * 10^decimals to within half an ulp; the margin covers that error, so the
    // rounding is certain outside it.
    const double margin = std::fabs(scaled) * 0x1p-51 + 1e-12;
    if (std::fabs(std::fabs(scaled - rounded) - 0.5) <= margin) return nullptr;
    const auto units = static_cast<std::int64_t>(rounded);
    char buf[maxDecimalsText];
    char* const end = buf + sizeof buf;
    char* p = end;
    std::uint64_t n =
        units < 0 ? static_cast<std::uint64_t>(-units) : static_cast<std::uint64_t>(units);
    bool trailing = !keepZeros; // only zeros seen so far among the decimals: they are dropped
    for (int digit = 0; digit < decimals; ++digit, n /= 10) {
        const char c = static_cast<char>('0' + n % 10);
        if (trailing && c == '0') continue;
        trailing = false;
        *--p = c;
    }
    if (p != end) *--p = '.';
    do {
        *--p = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    if (units < 0) *--p = '-';
    return std::copy(p, end, at);
}

} // namespace plotara::player
