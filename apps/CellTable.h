// A table of text cells as the data routes read it (a CSV file, or the rows of a query): the
// column names, the rows, and where each row came from, so that a bad cell can be pointed at.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plotara::apps {

struct CellTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows; // may be shorter than the header
    // The line (CSV) or row (query) number of each row, from 1; empty means "row index + 1".
    std::vector<std::size_t> rowNumbers;
    std::string origin = "the CSV file"; // the table as messages name it
    std::string rowWord = "line";        // what rowNumbers count

    // The cell, or "" beyond the end of a short row. Cannot fail.
    const std::string& cell(std::size_t row, std::size_t column) const;
    // "line 4" or "row 3": where the row is in the input. Cannot fail.
    std::string where(std::size_t row) const;
    // The column names as a comma-separated list. Cannot fail.
    std::string columnList() const;
};

// The text without leading and trailing blanks (U+0020). Cannot fail.
std::string trimBlanks(std::string_view text);

} // namespace plotara::apps
