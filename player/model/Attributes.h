// The attributes of one chart XML element, looked up by name without regard to letter case.
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
    std::size_t size() const { return items_.size(); }
    const std::vector<std::pair<std::string, std::string>>& items() const { return items_; }

private:
    // Elements with a handful of attributes are searched in order; past indexThreshold a hash
    // index keeps set and find constant-time, so an element with n attributes costs O(n).
    static constexpr std::size_t indexThreshold = 16;
    using Index = std::unordered_map<std::string, std::size_t>;

    std::size_t position(std::string_view lowerName) const;
    void buildIndex();

    std::vector<std::pair<std::string, std::string>> items_;
    NumberSyntax syntax_;
    std::unique_ptr<Index> index_; // name -> position in items_, for large elements only
};

} // namespace plotara::player
