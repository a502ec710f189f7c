#include "player/util/TextUtil.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>

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

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

std::optional<double> parseNumber(std::string_view text) {
    text = trimSpace(text);
    if (text.empty() || text.size() > 400) return std::nullopt;
    bool commas = false;
    for (char c : text) {
        if (c == ',') {
            commas = true; // thousands separators as people type them
            continue;
        }
        bool allowed =
            (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
        if (!allowed) return std::nullopt;
    }
    constexpr double limit = 1e300;
    if (!commas) {
        // The common case, without copying: from_chars reads what strtod reads, except a
        // leading '+' and magnitudes out of range, which take the slow path below.
        std::string_view digits = text;
        if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-' && digits[1] != '+')
            digits.remove_prefix(1);
        double v = 0;
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
        if (ec == std::errc{}) {
            if (end != digits.data() + digits.size() || std::isnan(v)) return std::nullopt;
            return std::clamp(v, -limit, limit);
        }
        if (ec != std::errc::result_out_of_range) return std::nullopt;
    }
    std::string digits;
    digits.reserve(text.size());
    for (char c : text) {
        if (c != ',') digits += c;
    }
    if (digits.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(digits.c_str(), &end);
    if (end == digits.c_str() || *end != '\0') return std::nullopt;
    if (std::isnan(v)) return std::nullopt;
    if (v > limit) v = limit;
    if (v < -limit) v = -limit;
    return v;
}

namespace {
int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
} // namespace

std::string percentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            int hi = hexValue(text[i + 1]), lo = hexValue(text[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
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
