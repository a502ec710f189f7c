#include "apps/CsvReader.h"

#include "apps/TextFiles.h"
#include "apps/Types.h"

namespace plotara::apps {

namespace {

bool blankRow(const std::vector<std::string>& row) {
    return row.size() == 1 && row.front().empty();
}

} // namespace

CsvTable parseCsv(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> row;
    std::string cell;
    std::size_t line = 1;
    std::size_t i = 0;
    auto endRow = [&] {
        row.push_back(std::move(cell));
        cell.clear();
        if (!blankRow(row)) lines.push_back(std::move(row));
        row.clear();
    };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"' && cell.empty()) {
            // A quoted field: up to the closing quote; "" inside is one quote.
            const std::size_t start = line;
            ++i;
            for (;;) {
                if (i >= text.size())
                    throw ChartFailure("CSV line " + std::to_string(start) +
                                       ": a quoted field is not closed");
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        cell += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (text[i] == '\n') ++line;
                cell += text[i++];
            }
            if (i < text.size() && text[i] != ',' && text[i] != '\n' && text[i] != '\r')
                throw ChartFailure("CSV line " + std::to_string(line) +
                                   ": text after the closing quote of a field");
            continue;
        }
        if (c == ',') {
            row.push_back(std::move(cell));
            cell.clear();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            endRow();
            ++line;
        } else {
            cell += c;
        }
        ++i;
    }
    if (!cell.empty() || !row.empty()) endRow();
    if (lines.empty()) throw ChartFailure("the CSV file has no header row");
    CsvTable table;
    table.header = std::move(lines.front());
    table.rows.assign(std::make_move_iterator(lines.begin() + 1),
                      std::make_move_iterator(lines.end()));
    return table;
}

CsvTable readCsvFile(const std::string& path) {
    return parseCsv(readTextFile(path));
}

} // namespace plotara::apps
