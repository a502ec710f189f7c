// A number with a fixed count of decimals, the fast way: a dense chart writes one for every
// point (coordinates in SVG, values in tool texts), and std::to_chars's exact expansion took a
// tenth of a dense line's page.
#pragma once

namespace plotara::player {

// The longest text writeDecimals writes, sign included.
inline constexpr int maxDecimalsText = 24;

// Writes v rounded to `decimals` places at `at` (room for maxDecimalsText characters), the same
// text as std::to_chars's fixed form but for trailing zeros of the decimals (dropped unless
// keepZeros) and the sign of a value that rounds to zero (none); returns the end. Returns nullptr,
// writing nothing, when v is not finite, is 1e9 or more in size, decimals is outside 0 to 6, or v
// lies so near a halfway point that only its exact decimal expansion decides: the caller then uses
// std::to_chars.
char* writeDecimals(char* at, double v, int decimals, bool keepZeros);

} // namespace plotara::player
