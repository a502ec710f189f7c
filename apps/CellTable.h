// A table of text cells as the data routes read it (a CSV file, or the rows of a query): the
// column names, the rows, and where each row came from, so that a bad cell can be pointed at.
// The cells' texts lie one after another in one buffer, each row a run of cells: a file of tens
// of thousands of rows is held without an allocation per row or per cell.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plotara::apps {

class CellTable {
public:
    std::vector<std::string> header;
    // The line (CSV) or row (query) number of each row, from 1; empty means "row index + 1".
    std::vector<std::size_t> rowNumbers;
    std::string origin = "the CSV file"; // the table as messages name it
    std::string rowWord = "line";        // what rowNumbers count

    // The number of rows.
    std::size_t rowCount() const noexcept { return rowStarts_.size() - 1; }
    // The number of cells of a row, which may be fewer or more than the header's.
    std::size_t cellCount(std::size_t row) const noexcept {
        return rowStarts_[row + 1] - rowStarts_[row];
    }
    // The cell, or "" beyond the end of a short row; valid until a row is added.
    std::string_view cell(std::size_t row, std::size_t column) const noexcept;
    // The rows' cells as texts (for tests and small tables).
    std::vector<std::vector<std::string>> rowTexts() const;

    // Adds a cell to the row being read; endRow makes them a row.
    void addCell(std::string_view text);
    // The cells added since the last row ended.
    std::size_t pendingCells() const noexcept { return cellEnds_.size() - rowStarts_.back(); }
    // The pending cell i.
    std::string_view pendingCell(std::size_t i) const noexcept;
    // Makes the pending cells a row.
    void endRow();
    // Drops the pending cells.
    void dropPending() noexcept;
    // Adds a whole row.
    void addRow(const std::vector<std::string>& cells);
    // Adds a copy of a row of another table (its row number is the caller's).
    void copyRow(const CellTable& from, std::size_t row);
    // Makes room for about this many rows and bytes of text.
    void reserve(std::size_t rows, std::size_t cells, std::size_t bytes);

    // "line 4" or "row 3": where the row is in the input.
    std::string where(std::size_t row) const;
    // The column names as a comma-separated list.
    std::string columnList() const;

private:
    std::string_view text(std::size_t cellIndex) const noexcept {
        const std::size_t begin = cellIndex == 0 ? 0 : cellEnds_[cellIndex - 1];
        return std::string_view(text_).substr(begin, cellEnds_[cellIndex] - begin);
    }

    std::string text_;                      // every cell's text, one after another
    std::vector<std::size_t> cellEnds_;     // where each cell's text ends in text_
    std::vector<std::size_t> rowStarts_{0}; // each row's first cell, then the end of the last
};

// The text without leading and trailing blanks (U+0020).
std::string trimBlanks(std::string_view text);

} // namespace plotara::apps
