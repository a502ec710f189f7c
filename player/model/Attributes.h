// The attributes of one chart XML element, looked up by name without regard to letter case.
// Most sets of a large document have none beyond their coordinates, so an element keeps one
// word (8 bytes): while it has no attribute, the number syntax it will read them with, packed;
// once the first one is set, a pointer to a block of its own with the names, values and syntax.
#pragma once

#include "player/util/TextUtil.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace plotara::player {

class Attributes {
public:
    Attributes() = default;
    ~Attributes();
    Attributes(const Attributes& other);
    Attributes& operator=(const Attributes& other);
    Attributes(Attributes&& other) noexcept : bits_(std::exchange(other.bits_, 0)) {}
    Attributes& operator=(Attributes&& other) noexcept;

    // Adds or replaces an attribute; the name is stored lower-cased. Cannot fail.
    void set(std::string_view name, std::string value);
    // The value, or nullptr; name must be lower case. Cannot fail.
    const std::string* find(std::string_view lowerName) const;
    // The value or the fallback. Cannot fail.
    std::string text(std::string_view lowerName, std::string_view fallback = {}) const;
    // The separators numbers are read with (those of the document). Cannot fail beyond running
    // out of memory.
    void setNumberSyntax(NumberSyntax syntax);
    // The separators numbers are read with. Cannot fail.
    NumberSyntax numberSyntax() const;
    // The value as a finite number, or the fallback when absent or not a number. Cannot fail.
    double number(std::string_view lowerName, double fallback) const;
    // The value as a number, or nothing. Cannot fail.
    std::optional<double> optionalNumber(std::string_view lowerName) const;
    // "1"/"true"/"yes" as true, "0"/"false"/"no" as false, anything else the fallback.
    bool flag(std::string_view lowerName, bool fallback) const;
    bool has(std::string_view lowerName) const { return find(lowerName) != nullptr; }
    std::size_t size() const { return data() ? data()->items.size() : 0; }
    // The attributes in document order. Cannot fail.
    const std::vector<std::pair<std::string, std::string>>& items() const;

private:
    // Elements with a handful of attributes are searched in order; past indexThreshold a hash
    // index keeps set and find constant-time, so an element with n attributes costs O(n).
    static constexpr std::size_t indexThreshold = 16;
    using Index = std::unordered_map<std::string, std::size_t>;

    using Items = std::vector<std::pair<std::string, std::string>>;
    struct Data {
        Items items;
        std::unique_ptr<Index> index; // name -> position in items, for large elements only
        NumberSyntax syntax;
    };

    Data* data() const;
    Data& ensureData();
    void release();
    std::size_t position(std::string_view lowerName) const;
    void buildIndex();

    // 0: no attribute and the default syntax; low bit set: no attribute, the syntax packed in
    // the bits above it (see Attributes.cpp); else the Data block, owned.
    std::uintptr_t bits_ = 0;
};

} // namespace plotara::player
