#include "apps/CellNumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace plotara::apps {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Copies the integer digits from text at pos into out, checking the thousands groups when the
// part holds commas. False for a misplaced comma.
bool integerPart(std::string_view text, std::size_t& pos, std::string& out) {
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
        out += text[pos];
        ++group;
    }
    // "0,123" is a decimal comma, not a thousands group.
    return !commas || (group == 3 && text[start] != '0');
}

} // namespace

std::optional<std::string> numberCell(std::string_view cell) {
    const std::size_t first = cell.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    const std::string_view text = cell.substr(first, cell.find_last_not_of(" \t") - first + 1);
    std::string out;
    std::size_t pos = 0;
    if (text[pos] == '+' || text[pos] == '-') {
        if (text[pos] == '-') out += '-';
        ++pos;
    }
    const std::size_t digitsStart = out.size();
    if (!integerPart(text, pos, out)) return std::nullopt;
    bool digits = out.size() > digitsStart;
    if (pos < text.size() && text[pos] == '.') {
        out += text[pos++];
        for (; pos < text.size() && isDigit(text[pos]); ++pos, digits = true)
            out += text[pos];
    }
    if (!digits) return std::nullopt;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        out += text[pos++];
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) out += text[pos++];
        const std::size_t exponent = pos;
        for (; pos < text.size() && isDigit(text[pos]); ++pos)
            out += text[pos];
        if (pos == exponent) return std::nullopt;
    }
    if (pos != text.size()) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(out.data(), out.data() + out.size(), value);
    if (error != std::errc() || end != out.data() + out.size() || !std::isfinite(value))
        return std::nullopt;
    return out;
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
