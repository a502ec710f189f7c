#include "apps/CellTable.h"

namespace plotara::apps {

std::string_view CellTable::cell(std::size_t row, std::size_t column) const noexcept {
    return column < cellCount(row) ? text(rowStarts_[row] + column) : std::string_view();
}

std::vector<std::vector<std::string>> CellTable::rowTexts() const {
    std::vector<std::vector<std::string>> rows(rowCount());
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (std::size_t column = 0; column < cellCount(row); ++column)
            rows[row].emplace_back(cell(row, column));
    return rows;
}

void CellTable::addCell(std::string_view cellText) {
    text_.append(cellText);
    cellEnds_.push_back(text_.size());
}

std::string_view CellTable::pendingCell(std::size_t i) const noexcept {
    return text(rowStarts_.back() + i);
}

void CellTable::endRow() {
    rowStarts_.push_back(cellEnds_.size());
}

void CellTable::dropPending() noexcept {
    const std::size_t first = rowStarts_.back();
    text_.resize(first == 0 ? 0 : cellEnds_[first - 1]);
    cellEnds_.resize(first);
}

void CellTable::addRow(const std::vector<std::string>& cells) {
    for (const std::string& c : cells)
        addCell(c);
    endRow();
}

void CellTable::copyRow(const CellTable& from, std::size_t row) {
    for (std::size_t column = 0; column < from.cellCount(row); ++column)
        addCell(from.cell(row, column));
    endRow();
}

void CellTable::reserve(std::size_t rows, std::size_t cells, std::size_t bytes) {
    rowStarts_.reserve(rows + 1);
    cellEnds_.reserve(cells);
    text_.reserve(bytes);
}

std::string CellTable::where(std::size_t row) const {
    const std::size_t number = row < rowNumbers.size() ? rowNumbers[row] : row + 1;
    return rowWord + " " + std::to_string(number);
}

std::string CellTable::columnList() const {
    std::string listed;
    for (const std::string& name : header)
        listed += (listed.empty() ? "" : ", ") + name;
    return listed;
}

std::string trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::string();
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

} // namespace plotara::apps
