// Small text helpers of the player: ASCII case, blanks, numbers and URL decoding over UTF-8 text.
#pragma once

#include <cstdint>
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
// Whether a NUL-terminated text is `lower` (all lower case) in any ASCII letter case, as
// equalsNoCase compares, without measuring the text first (XML names). Cannot fail.
bool isLowerNoCase(const char* text, std::string_view lower);
// True when text starts with prefix, ASCII case ignored. Cannot fail.
bool startsWithNoCase(std::string_view text, std::string_view prefix);

// The separators a number text is written with. The defaults read "1,234.5".
struct NumberSyntax {
    char32_t decimal = U'.';   // the decimal separator
    char32_t thousands = U','; // the thousands separator; 0 for none
    bool operator==(const NumberSyntax&) const = default;
};

// The separators of the process's numeric locale (LC_NUMERIC): "1.234,5" under de_DE.UTF-8,
// "1 234,5" (narrow no-break space) under fr_FR.UTF-8, the defaults under C. Cannot fail.
NumberSyntax localeNumberSyntax();

// Parses a whole text as a finite number ("  12.5 ", "-3e2", "1,234" with thousands separators)
// written with the given separators. A thousands separator must stand between digit groups of
// three; one that does not, in a text without a decimal separator, is read as the decimal
// separator ("2.4" is 2.4 under "1.234,5"), and a '.' that is not the thousands separator is
// always a decimal point. A space-like thousands separator (blank, U+00A0, U+202F) matches any
// of the three. Empty text, trailing garbage, badly grouped digits, NaN and infinities give
// nothing; magnitudes beyond 1e300 are clamped so later arithmetic stays finite. Never throws.
std::optional<double> parseNumber(std::string_view text, NumberSyntax syntax = {});
// The same for a NUL-terminated text (an XML attribute's value). Never throws.
std::optional<double> parseNumber(const char* text, NumberSyntax syntax = {});

// The first UTF-8 character of a text as a code point, 0 for an empty or malformed text. Cannot
// fail.
char32_t firstCodePoint(std::string_view text);
// A code point as UTF-8 ("" for 0). Cannot fail.
std::string utf8Of(char32_t codePoint);

// The value of a hexadecimal digit (either case), -1 for any other character. Cannot fail.
int hexDigit(char c);
// Decodes %XX escapes once; an incomplete or non-hexadecimal escape is kept as it is; '+' stays
// '+'. Works on bytes, so encoded UTF-8 sequences come out whole. Cannot fail.
std::string percentDecode(std::string_view text);

// Splits at every occurrence of the separator; empty pieces are kept. Cannot fail.
std::vector<std::string_view> splitView(std::string_view text, char separator);

} // namespace plotara::player
