// Numbers in data cells: what the command line accepts as a chart value, and the order in which
// it sorts categories and series names.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plotara::apps {

// The cell as a plain decimal number ("-1234.5", "2e3"), or nothing when it is not one. Accepts
// blanks around it, a leading "+", and thousands commas in groups of three ("1,234,567.5",
// which becomes "1234567.5"); refuses "1,5" and "0,125" (decimal commas), hexadecimal, "inf", "nan"
// and numbers beyond the range of a double. Cannot fail.
std::optional<std::string> numberCell(std::string_view cell);

// The positions of the cells in sorted order: numbers by value before texts, texts by their
// bytes (so ISO dates sort as dates), equal cells in their given order. Cannot fail.
std::vector<std::size_t> sortedOrder(const std::vector<std::string>& cells);

} // namespace plotara::apps
