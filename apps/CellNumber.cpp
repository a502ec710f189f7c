#include "apps/CellNumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace plotara::apps {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the integer digits of text from pos, checking the thousands groups when the part holds
// commas; digits tells whether there was any. False for a misplaced comma.
bool integerPart(std::string_view text, std::size_t& pos, bool& digits) {
    const std::size_t start = pos;
    std::size_t group = 0;
    bool commas = false;
    for (; pos < text.size() && (isDigit(text[pos]) || text[pos] == ','); ++pos) {
        if (text[pos] == ',') {
            // A comma follows one to three digits first, then exactly three.
            if (pos == start || (commas ? group != 3 : group > 3)) return false;
            commas = true;
            group = 0;
            continue;
        }
        digits = true;
        ++group;
    }
    // "0,123" is a decimal comma, not a thousands group.
    return !commas || (group == 3 && text[start] != '0');
}

} // namespace

std::optional<std::string> numberCell(std::string_view cell) {
    std::string scratch;
    const std::optional<std::string_view> text = numberText(cell, scratch);
    if (!text) return std::nullopt;
    return std::string(*text);
}

std::optional<std::string_view> numberText(std::string_view cell, std::string& scratch) {
    // Blanks and tabs around the number are dropped (a loop: most cells have none).
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t first = 0, last = cell.size();
    while (first < last && blank(cell[first]))
        ++first;
    while (last > first && blank(cell[last - 1]))
        --last;
    if (first == last) return std::nullopt;
    const std::string_view text = cell.substr(first, last - first);
    // Most cells are already the number's text: only a leading "+" and thousands commas are
    // dropped, so the text is checked in place and copied only when it holds either.
    std::size_t pos = 0;
    const bool negative = text[pos] == '-';
    if (text[pos] == '+' || text[pos] == '-') ++pos;
    const std::size_t integer = pos;
    bool digits = false;
    if (!integerPart(text, pos, digits)) return std::nullopt;
    const std::size_t fraction = pos;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        for (; pos < text.size() && isDigit(text[pos]); ++pos)
            digits = true;
    }
    if (!digits) return std::nullopt;
    const bool exponentPart = pos < text.size() && (text[pos] == 'e' || text[pos] == 'E');
    if (exponentPart) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
        const std::size_t exponent = pos;
        while (pos < text.size() && isDigit(text[pos]))
            ++pos;
        if (pos == exponent) return std::nullopt;
    }
    if (pos != text.size()) return std::nullopt;
    std::string_view number = text;
    if (text[0] == '+' ||
        text.substr(integer, fraction - integer).find(',') != std::string_view::npos) {
        scratch.clear();
        if (negative) scratch += '-';
        for (char c : text.substr(integer, fraction - integer))
            if (c != ',') scratch += c;
        scratch.append(text.substr(fraction));
        number = scratch;
    }
    // Without an exponent a text this short lies between 1e-300 and 1e300 (or is zero), inside
    // the range of a double: only longer texts and exponents need the value read.
    if (!exponentPart && number.size() <= 300) return number;
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return std::nullopt;
    return number;
}

std::vector<std::size_t> sortedOrder(const std::vector<std::string>& cells) {
    struct Key {
        bool text;
        double number;
    };
    std::vector<Key> keys;
    keys.reserve(cells.size());
    for (const std::string& cell : cells) {
        Key key{true, 0};
        if (const std::optional<std::string> number = numberCell(cell)) {
            key.text = false;
            std::from_chars(number->data(), number->data() + number->size(), key.number);
        }
        keys.push_back(key);
    }
    std::vector<std::size_t> order(cells.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (keys[a].text != keys[b].text) return keys[b].text;
        if (!keys[a].text) return keys[a].number < keys[b].number;
        return cells[a] < cells[b];
    });
    return order;
}

} // namespace plotara::apps
