#include "data/detail/XYPointTable.h"

#include "data/EscapeText.h"
#include "data/detail/KeyedNode.h"
#include "data/detail/ParamParser.h"
#include "data/detail/WriterText.h"

#include <limits>

namespace plotara {

namespace {

constexpr std::size_t maxLength = std::numeric_limits<std::uint16_t>::max();

bool asciiText(StringView text) noexcept {
    if (text.size() > maxLength) return false;
    for (wchar_t c : text)
        if (static_cast<std::uint32_t>(c) >= 0x80) return false;
    return true;
}

void appendNarrow(std::string& out, StringView text) {
    for (wchar_t c : text)
        out += static_cast<char>(c);
}

// A y or z text that a parameter string carries as one value needing no escaping: printable
// ASCII without the delimiter ";", without "=" and without the characters escapeText changes.
bool plainValue(std::string_view text) noexcept {
    if (text.size() > maxLength) return false;
    for (char c : text) {
        if (c < 0x20 || c > 0x7E) return false;
        switch (c) {
        case ';':
        case '=':
        case '%':
        case '\'':
        case '<':
        case '>':
        case '&':
        case '+':
            return false;
        default:
            break;
        }
    }
    return true;
}

// The text without leading and trailing blanks (U+0020), as the parameter values are stored.
std::string_view trimmedBlanks(std::string_view text) noexcept {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

bool XYPointTable::compactForm(StringView x, StringView params, StringView delimiter,
                               Point& point) {
    point = Point{};
    point.x = x;
    if (!asciiText(x)) return false;
    bool compact = true;
    visitParams(params, delimiter, [&](StringView name, StringView value) {
        if (!compact) return;
        name = writer::trimmedView(name);
        // An escaped value is a new text; such points stay in the store.
        if (name.size() != 1 || needsEscaping(value) || !asciiText(value)) {
            compact = false;
            return;
        }
        value = writer::trimmedView(value);
        const wchar_t letter = name[0];
        if ((letter == L'Y' || letter == L'y') && point.yName == 0) {
            point.y = value;
            point.yName = letter;
        } else if ((letter == L'Z' || letter == L'z') && point.zName == 0) {
            point.z = value;
            point.zName = letter;
            point.zFirst = point.yName == 0;
        } else {
            compact = false; // another attribute, or a second y or z
        }
    });
    return compact;
}

bool XYPointTable::compactTextForm(std::string_view x, std::string_view y,
                                   std::optional<std::string_view> z, TextPoint& point) noexcept {
    point = TextPoint{};
    if (x.size() > maxLength) return false;
    for (char c : x)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    if (!plainValue(y) || (z && !plainValue(*z))) return false;
    point.x = x;
    point.y = trimmedBlanks(y);
    point.yName = 'Y';
    if (z) {
        point.z = trimmedBlanks(*z);
        point.zName = 'Z';
    }
    return true;
}

const XYPointTable::Series* XYPointTable::find(int series) const noexcept {
    const auto slot = static_cast<std::size_t>(series + 1);
    return series >= -1 && slot < series_.size() ? &series_[slot] : nullptr;
}

bool XYPointTable::holds(int series) const noexcept {
    const Series* found = find(series);
    return found != nullptr && !found->entries.empty();
}

std::size_t XYPointTable::count(int series) const noexcept {
    const Series* found = find(series);
    return found == nullptr ? 0 : found->entries.size();
}

bool XYPointTable::accepts(int series, std::size_t position) const noexcept {
    if (series < -1) return false;
    const Series* found = find(series);
    if (found == nullptr) return position == 0;
    return !found->moved && found->entries.size() == position;
}

std::optional<XYPointTable::Entry> XYPointTable::nextEntry(std::size_t x, std::size_t y,
                                                           std::size_t z, char yName,
                                                           char zName) const noexcept {
    if (text_.size() + x + y + z > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    return Entry{static_cast<std::uint32_t>(text_.size()),
                 static_cast<std::uint16_t>(x),
                 static_cast<std::uint16_t>(y),
                 static_cast<std::uint16_t>(z),
                 yName,
                 zName};
}

bool XYPointTable::append(int series, const Point& point) {
    const std::optional<Entry> entry =
        nextEntry(point.x.size(), point.y.size(), point.z.size(), static_cast<char>(point.yName),
                  static_cast<char>(point.zName | (point.zFirst ? 0x80 : 0)));
    if (!entry) return false;
    // The texts first: when memory runs out, a text without its entry is only unused.
    appendNarrow(text_, point.x);
    appendNarrow(text_, point.y);
    appendNarrow(text_, point.z);
    appendEntry(series, *entry);
    return true;
}

bool XYPointTable::append(int series, const TextPoint& point) {
    const std::optional<Entry> entry =
        nextEntry(point.x.size(), point.y.size(), point.z.size(), point.yName, point.zName);
    if (!entry) return false;
    text_.append(point.x).append(point.y).append(point.z);
    appendEntry(series, *entry);
    return true;
}

void XYPointTable::appendEntry(int series, const Entry& entry) {
    const auto slot = static_cast<std::size_t>(series + 1);
    if (slot >= series_.size()) series_.resize(slot + 1);
    series_[slot].entries.push_back(entry);
}

XYPointTable::Point XYPointTable::point(int series, std::size_t position,
                                        std::wstring& buffer) const {
    const Entry& entry = find(series)->entries[position];
    const std::size_t length = std::size_t{entry.xLength} + entry.yLength + entry.zLength;
    buffer.resize(length);
    for (std::size_t i = 0; i < length; ++i)
        buffer[i] = static_cast<unsigned char>(text_[entry.offset + i]);
    const StringView all(buffer);
    Point out;
    out.x = all.substr(0, entry.xLength);
    out.y = all.substr(entry.xLength, entry.yLength);
    out.z = all.substr(std::size_t{entry.xLength} + entry.yLength, entry.zLength);
    out.yName = static_cast<wchar_t>(entry.yName);
    out.zName = static_cast<wchar_t>(entry.zName & 0x7f);
    out.zFirst = (entry.zName & 0x80) != 0;
    return out;
}

XYPointTable::TextPoint XYPointTable::text(int series, std::size_t position) const noexcept {
    const Entry& entry = find(series)->entries[position];
    const std::string_view all(text_.data() + entry.offset,
                               std::size_t{entry.xLength} + entry.yLength + entry.zLength);
    TextPoint out;
    out.x = all.substr(0, entry.xLength);
    out.y = all.substr(entry.xLength, entry.yLength);
    out.z = all.substr(std::size_t{entry.xLength} + entry.yLength);
    out.yName = entry.yName;
    out.zName = static_cast<char>(entry.zName & 0x7f);
    return out;
}

void XYPointTable::materialize(int series, KeyedNode& node) {
    const auto slot = static_cast<std::size_t>(series + 1);
    if (series < -1) return;
    if (slot >= series_.size()) series_.resize(slot + 1);
    Series& target = series_[slot];
    std::wstring buffer;
    for (std::size_t p = 0; p < target.entries.size(); ++p) {
        const Point stored = point(series, p, buffer);
        KeyedNode& keyed = node.child(static_cast<long long>(p));
        keyed.reserve(1 + (stored.yName != 0) + (stored.zName != 0));
        keyed.set(StringView(L"x"), stored.x);
        if (stored.zFirst) keyed.set(StringView(&stored.zName, 1), stored.z);
        if (stored.yName != 0) keyed.set(StringView(&stored.yName, 1), stored.y);
        if (stored.zName != 0 && !stored.zFirst) keyed.set(StringView(&stored.zName, 1), stored.z);
    }
    target.entries = std::vector<Entry>();
    target.moved = true;
}

void XYPointTable::clear() noexcept {
    for (Series& series : series_) {
        series.entries.clear();
        series.moved = false;
    }
    text_.clear();
}

void XYPointTable::release() noexcept {
    series_ = std::vector<Series>();
    std::string().swap(text_); // a moved-in empty string would keep the buffer
}

std::size_t XYPointTable::pointCount() const noexcept {
    std::size_t total = 0;
    for (const Series& series : series_)
        total += series.entries.size();
    return total;
}

std::size_t XYPointTable::bytes() const noexcept {
    // A string's own small buffer is no memory of the table's.
    const std::size_t text = text_.capacity() > std::string().capacity() ? text_.capacity() : 0;
    std::size_t total = text + series_.capacity() * sizeof(Series);
    for (const Series& series : series_)
        total += series.entries.capacity() * sizeof(Entry);
    return total;
}

} // namespace plotara
