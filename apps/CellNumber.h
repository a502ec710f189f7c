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
// and numbers beyond the range of a double.
std::optional<std::string> numberCell(std::string_view cell);

// The same reading without a copy: the number's text as a view into the cell when the cell
// writes it plainly (the usual case), or into scratch when the text changes (a "+" or thousands
// commas dropped); a later call may reuse scratch.
std::optional<std::string_view> numberText(std::string_view cell, std::string& scratch);

// The positions of the cells in sorted order: numbers by value before texts, texts by their
// bytes (so ISO dates sort as dates), equal cells in their given order.
std::vector<std::size_t> sortedOrder(const std::vector<std::string>& cells);

} // namespace plotara::apps
