// Small text helpers of the player: ASCII case, blanks, numbers and URL decoding over UTF-8 text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plotara::player {

// Lower case of the ASCII letters only; other bytes are kept. Cannot fail.
std::string lowerAscii(std::string_view text);
// Removes leading and trailing white space (blank, tab, CR, LF). Cannot fail.
std::string_view trimSpace(std::string_view text);
// Case-insensitive ASCII comparison. Cannot fail.
bool equalsNoCase(std::string_view a, std::string_view b);
// True when text starts with prefix, ASCII case ignored. Cannot fail.
bool startsWithNoCase(std::string_view text, std::string_view prefix);

// Parses a whole text as a finite number ("  12.5 ", "-3e2", "1,234" with thousands commas).
// Empty text, trailing garbage, NaN and infinities give nothing; magnitudes beyond 1e300 are
// clamped so later arithmetic stays finite. Never throws.
std::optional<double> parseNumber(std::string_view text);

// Decodes %XX escapes once; an incomplete or non-hexadecimal escape is kept as it is; '+' stays
// '+'. Works on bytes, so encoded UTF-8 sequences come out whole. Cannot fail.
std::string percentDecode(std::string_view text);

// Splits at every occurrence of the separator; empty pieces are kept. Cannot fail.
std::vector<std::string_view> splitView(std::string_view text, char separator);

} // namespace plotara::player
