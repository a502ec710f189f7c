// The attributes of one chart XML element, looked up by name without regard to letter case.
// Most sets of a large document have none beyond their coordinates, so an element without
// attributes keeps only an empty pointer and its number syntax (16 bytes); the names and values
// live in a block of their own once the first one is set.
#pragma once

#include "player/util/TextUtil.h"

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
    Attributes(const Attributes& other);
    Attributes& operator=(const Attributes& other);
    Attributes(Attributes&&) noexcept = default;
    Attributes& operator=(Attributes&&) noexcept = default;

    // Adds or replaces an attribute; the name is stored lower-cased. Cannot fail.
    void set(std::string_view name, std::string value);
    // The value, or nullptr; name must be lower case. Cannot fail.
    const std::string* find(std::string_view lowerName) const;
    // The value or the fallback. Cannot fail.
    std::string text(std::string_view lowerName, std::string_view fallback = {}) const;
    // The separators numbers are read with (those of the document). Cannot fail.
    void setNumberSyntax(NumberSyntax syntax) { syntax_ = syntax; }
    NumberSyntax numberSyntax() const { return syntax_; }
    // The value as a finite number, or the fallback when absent or not a number. Cannot fail.
    double number(std::string_view lowerName, double fallback) const;
    // The value as a number, or nothing. Cannot fail.
    std::optional<double> optionalNumber(std::string_view lowerName) const;
    // "1"/"true"/"yes" as true, "0"/"false"/"no" as false, anything else the fallback.
    bool flag(std::string_view lowerName, bool fallback) const;
    bool has(std::string_view lowerName) const { return find(lowerName) != nullptr; }
    std::size_t size() const { return data_ ? data_->items.size() : 0; }
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
    };

    std::size_t position(std::string_view lowerName) const;
    void buildIndex();

    std::unique_ptr<Data> data_; // null while the element has no attribute
    NumberSyntax syntax_;
};

} // namespace plotara::player
