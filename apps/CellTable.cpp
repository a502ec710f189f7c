#include "apps/CellTable.h"

namespace plotara::apps {

const std::string& CellTable::cell(std::size_t row, std::size_t column) const {
    static const std::string empty;
    const std::vector<std::string>& cells = rows[row];
    return column < cells.size() ? cells[column] : empty;
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
