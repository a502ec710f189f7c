#include "player/util/TextUtil.h"

#include "core/Number.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <locale.h>

namespace plotara::player {

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string_view trimSpace(std::string_view text) {
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

namespace {

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

bool isLowerNoCase(const char* text, std::string_view lower) {
    for (const char c : lower)
        if (asciiLower(*text++) != c) return false; // a shorter text fails at its NUL
    return *text == '\0';
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

namespace {

constexpr double numberLimit = 1e300;

bool isSpaceLike(char32_t c) {
    return c == U' ' || c == U'\u00a0' || c == U'\u202f';
}

// Decodes one UTF-8 character at text[i] and advances i; 0 for a malformed sequence.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int extra = lead >= 0xf0 ? 3 : lead >= 0xe0 ? 2 : lead >= 0xc0 ? 1 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) > text.size()) return 0;
    char32_t c = lead & (0x3f >> extra);
    for (int k = 0; k < extra; ++k) {
        const auto b = static_cast<unsigned char>(text[i++]);
        if ((b & 0xc0) != 0x80) return 0;
        c = (c << 6) | (b & 0x3f);
    }
    return c;
}

// strtod in the C locale whatever LC_NUMERIC says; the locale object is made once.
double strtodC(const char* text, char** end) {
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    return c ? strtod_l(text, end, c) : std::strtod(text, end);
}

double clampNumber(double v) {
    return std::clamp(v, -numberLimit, numberLimit);
}

// The text rebuilt with '.' as the decimal point and 'T' for each thousands separator; "" when
// a character is neither a digit, a sign, an exponent nor a separator.
std::string markSeparators(std::string_view text, NumberSyntax syntax, int& decimals) {
    std::string out;
    out.reserve(text.size());
    decimals = 0;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = nextCodePoint(text, i);
        const bool thousands =
            syntax.thousands != 0 &&
            (c == syntax.thousands || (isSpaceLike(syntax.thousands) && isSpaceLike(c)));
        if (thousands) {
            out += 'T';
        } else if (c == syntax.decimal || c == U'.') {
            out += '.';
            ++decimals;
        } else if ((c >= U'0' && c <= U'9') || c == U'-' || c == U'+' || c == U'e' || c == U'E') {
            out += static_cast<char>(c);
        } else {
            return {};
        }
    }
    return out;
}

// Whether the thousands separator at marked[at] stands between a digit and a group of three.
bool groupedAt(const std::string& marked, std::size_t at) {
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (at == 0 || !digit(marked[at - 1])) return false;
    std::size_t n = 0;
    while (at + 1 + n < marked.size() && digit(marked[at + 1 + n]))
        ++n;
    const std::size_t next = at + 1 + n;
    return n == 3 && (next == marked.size() || marked[next] == 'T' || marked[next] == '.' ||
                      marked[next] == 'e' || marked[next] == 'E');
}

// Drops the thousands separators of a marked text, or turns a lone misplaced one into the
// decimal point; false when the grouping is wrong otherwise.
bool resolveSeparators(std::string& marked, int decimals) {
    std::size_t count = 0, misplaced = std::string::npos;
    bool afterPoint = false;
    for (std::size_t i = 0; i < marked.size(); ++i) {
        if (marked[i] == '.' || marked[i] == 'e' || marked[i] == 'E') afterPoint = true;
        if (marked[i] != 'T') continue;
        ++count;
        if (afterPoint || !groupedAt(marked, i)) misplaced = i;
    }
    if (misplaced != std::string::npos) {
        if (count != 1 || decimals != 0) return false;
        marked[misplaced] = '.';
        return true;
    }
    std::erase(marked, 'T');
    return true;
}

} // namespace

NumberSyntax localeNumberSyntax() {
    NumberSyntax syntax;
    syntax.decimal = static_cast<char32_t>(number::localeDecimalSeparator());
    const wchar_t thousands = number::localeThousandsSeparator();
    syntax.thousands = thousands != L'\0'       ? static_cast<char32_t>(thousands)
                       : syntax.decimal == U',' ? U'.'
                                                : U',';
    if (syntax.thousands == syntax.decimal) syntax.thousands = 0;
    return syntax;
}

std::optional<double> parseNumber(std::string_view text, NumberSyntax syntax) {
    text = trimSpace(text);
    if (text.empty() || text.size() > 400) return std::nullopt;
    auto plain = [](char c) {
        return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
    };
    if (syntax == NumberSyntax{} && std::all_of(text.begin(), text.end(), plain)) {
        // The common case, without copying: from_chars reads what strtod reads, except a
        // leading '+' and magnitudes out of range, which take the slow path below.
        std::string_view digits = text;
        if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-' && digits[1] != '+')
            digits.remove_prefix(1);
        double v = 0;
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
        if (ec == std::errc{}) {
            if (end != digits.data() + digits.size() || std::isnan(v)) return std::nullopt;
            return clampNumber(v);
        }
        if (ec != std::errc::result_out_of_range) return std::nullopt;
    }
    int decimals = 0;
    std::string digits = markSeparators(text, syntax, decimals);
    if (digits.empty() || decimals > 1 || !resolveSeparators(digits, decimals)) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    double v = strtodC(digits.c_str(), &end);
    if (end == digits.c_str() || *end != '\0') return std::nullopt;
    if (std::isnan(v)) return std::nullopt;
    return clampNumber(v);
}

std::optional<double> parseNumber(const char* text, NumberSyntax syntax) {
    return parseNumber(std::string_view(text), syntax);
}

char32_t firstCodePoint(std::string_view text) {
    if (text.empty()) return 0;
    std::size_t i = 0;
    return nextCodePoint(text, i);
}

std::string utf8Of(char32_t c) {
    std::string out;
    if (c == 0) return out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xc0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xe0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    }
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string percentDecode(std::string_view text) {
    // Copied in stretches between the percent signs: a document in a URL rarely has any.
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t percent = text.find('%', from);
        if (percent == std::string_view::npos) break;
        out.append(text, from, percent - from);
        from = percent + 1;
        if (percent + 2 < text.size()) {
            const int hi = hexDigit(text[percent + 1]), lo = hexDigit(text[percent + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                from = percent + 3;
                continue;
            }
        }
        out += '%';
    }
    if (from < text.size()) out.append(text, from);
    return out;
}

std::vector<std::string_view> splitView(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t pos = text.find(separator, start);
        if (pos == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, pos - start));
        start = pos + 1;
    }
}

} // namespace plotara::player
