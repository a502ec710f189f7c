// The XY points of a record in compact form. A scatter or bubble point as hosts and the command
// line record it (an x value and "Y=..;Z=.." parameters, all ASCII) is kept as its three texts,
// one byte a character, and a 12-byte entry, instead of a keyed node with an entry per text
// (about 280 bytes a point). Every other point, and every point of a series after it, lives in
// the keyed store: a series is either wholly here or wholly there, and moves to the store
// (materialize) the first time it needs anything a compact point cannot hold.
#pragma once

#include "core/String.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plotara {

class KeyedNode;

class XYPointTable {
public:
    // The texts of one point as recorded: x untrimmed, y and z trimmed, the names y and z were
    // given under ('Y' or 'y', 0 when the point has none) and their order, which a chart of
    // another kind writes its attributes in.
    struct Point {
        StringView x, y, z;
        wchar_t yName = 0, zName = 0;
        bool zFirst = false;
    };

    // Fills point from an x value and its params split on the delimiter, and tells whether the
    // table can keep it: the params make at most one y and one z pair and nothing else, no value
    // needs escaping, and every text is ASCII and shorter than 64K characters.
    static bool compactForm(StringView x, StringView params, StringView delimiter, Point& point);

    // A point as narrow texts: the x value, y and z as the compact table keeps them, and the names
    // y and z were given under (0 when the point has none).
    struct TextPoint {
        std::string_view x, y, z;
        char yName = 0, zName = 0;
    };

    // Fills point from the texts of addChartData(x, "Y=<y>;Z=<z>") (";Z=<z>" only when z is
    // given) recorded with ";" as the delimiter, and tells whether compactForm would keep that
    // point with these texts: x ASCII, y and z printable ASCII that needs no escaping and holds
    // no ";" or "=", each shorter than 64K characters. Points it refuses take the general way.
    static bool compactTextForm(std::string_view x, std::string_view y,
                                std::optional<std::string_view> z, TextPoint& point) noexcept;

    // Whether series holds compact points (series -1 and up).
    bool holds(int series) const noexcept;
    // The number of compact points of the series.
    std::size_t count(int series) const noexcept;
    // Whether the next point of the series at position may be kept here: the series has not
    // moved to the store and position is its next one.
    bool accepts(int series, std::size_t position) const noexcept;
    // Appends the point to the series; throws std::bad_alloc when memory runs out, and returns
    // false (keeping nothing) when the table's text would pass 4 GB.
    bool append(int series, const Point& point);
    // The same for a point compactTextForm filled.
    bool append(int series, const TextPoint& point);
    // Point position of the series, widened into buffer; valid until the next call with the same
    // buffer.
    Point point(int series, std::size_t position, std::wstring& buffer) const;
    // Point position of the series as its stored texts, one byte a character; valid until the
    // table changes.
    TextPoint text(int series, std::size_t position) const noexcept;
    // Moves the series' points into node (the series' keyed node, expected empty) as keyed
    // points "0", "1", ... with their "x", y and z entries, and marks the series as kept in the
    // store from now on. Errors of the store reach the caller.
    void materialize(int series, KeyedNode& node);
    // Forgets every point, keeping the memory for the next record.
    void clear() noexcept;
    // Forgets every point and gives the memory back.
    void release() noexcept;
    // The number of points and the characters of their texts in every series, which a document
    // written from the table takes its room from.
    std::size_t pointCount() const noexcept;
    std::size_t textLength() const noexcept { return text_.size(); }
    // The bytes the table has allocated.
    std::size_t bytes() const noexcept;

private:
    struct Entry {
        std::uint32_t offset; // of the x text in text_; y and z follow it
        std::uint16_t xLength, yLength, zLength;
        char yName, zName; // zName has its top bit set when z came before y
    };
    struct Series {
        std::vector<Entry> entries;
        bool moved = false; // kept in the keyed store from now on
    };
    const Series* find(int series) const noexcept;
    // The entry of texts of these lengths appended at the end of the text, or nothing when the
    // 32-bit offsets cannot reach past them.
    std::optional<Entry> nextEntry(std::size_t x, std::size_t y, std::size_t z, char yName,
                                   char zName) const noexcept;
    // Appends the entry of texts of these lengths starting at offset, once the texts are in.
    void appendEntry(int series, const Entry& entry);

    // Indexed by series + 1; a series without an entry here has neither compact points nor a
    // move to the store.
    std::vector<Series> series_;
    std::string text_;
};

} // namespace plotara
