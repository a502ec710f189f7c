#include "apps/CsvReader.h"

#include "apps/Failures.h"
#include "apps/TextFiles.h"

#include <algorithm>
#include <array>

namespace plotara::apps {

namespace {

constexpr std::array<char, 4> candidateDelimiters{',', ';', '\t', '|'};

// How often c occurs outside quotes in the record that starts at pos; pos moves past it.
std::size_t countInRecord(std::string_view text, std::size_t& pos, char c) {
    std::size_t count = 0;
    bool quoted = false;
    for (; pos < text.size(); ++pos) {
        const char at = text[pos];
        if (at == '"') quoted = !quoted;
        if (quoted) continue;
        if (at == '\n') {
            ++pos;
            break;
        }
        if (at == c) ++count;
    }
    return count;
}

// Cells beyond the header's columns would be dropped: an unquoted separator inside a field
// ("1,234" in a comma-separated file) shifts the row. Empty trailing cells are harmless.
void requireCellsUnderHeader(const CsvTable& table, char delimiter) {
    for (std::size_t row = 0; row < table.rowCount(); ++row) {
        const std::size_t cells = table.cellCount(row);
        for (std::size_t column = table.header.size(); column < cells; ++column)
            if (!trimBlanks(table.cell(row, column)).empty())
                throw ChartFailure(
                    "CSV " + table.where(row) + " has " + std::to_string(cells) +
                    " fields, the header " + std::to_string(table.header.size()) +
                    ": quote fields that hold the separator '" +
                    (delimiter == '\t' ? std::string("tab") : std::string(1, delimiter)) + "'");
    }
}

} // namespace

char csvDelimiterOf(const std::string& option) {
    if (option.empty()) return 0;
    if (option == "tab" || option == "\\t" || option == "\t") return '\t';
    if (option.size() == 1 && (option == "," || option == ";" || option == "|")) return option[0];
    throw UsageFailure("--delimiter takes , ; | or tab, got '" + option + "'");
}

char detectCsvDelimiter(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    char best = ',';
    std::size_t bestCount = 0;
    bool bestConsistent = false;
    for (char c : candidateDelimiters) {
        std::size_t pos = 0;
        const std::size_t header = countInRecord(text, pos, c);
        const bool hasData = pos < text.size();
        const bool consistent = !hasData || countInRecord(text, pos, c) == header;
        if (header == 0) continue;
        if ((consistent && !bestConsistent) ||
            (consistent == bestConsistent && header > bestCount)) {
            best = c;
            bestCount = header;
            bestConsistent = consistent;
        }
    }
    return best;
}

namespace {

// Reads the quoted field that starts at i (on its opening quote) into cell, up to the closing
// quote ("" inside is one quote); i moves past the closing quote and line counts the line
// breaks inside. Raises ChartFailure for a field that never closes and for text after it.
void readQuotedField(std::string_view text, char delimiter, std::size_t& i, std::size_t& line,
                     std::string& cell) {
    const std::size_t start = line;
    ++i;
    for (;;) {
        const std::size_t quote = text.find('"', i);
        if (quote == std::string_view::npos)
            throw ChartFailure("CSV line " + std::to_string(start) +
                               ": a quoted field is not closed");
        const std::string_view run = text.substr(i, quote - i);
        line += static_cast<std::size_t>(std::count(run.begin(), run.end(), '\n'));
        cell.append(run);
        i = quote + 1;
        if (i < text.size() && text[i] == '"') {
            cell += '"';
            ++i;
            continue;
        }
        break;
    }
    if (i < text.size() && text[i] != delimiter && text[i] != '\n' && text[i] != '\r')
        throw ChartFailure("CSV line " + std::to_string(line) +
                           ": text after the closing quote of a field");
}

// Where the unquoted field that starts at i ends: at the separator, a line end or the text's end.
std::size_t unquotedEnd(std::string_view text, char delimiter, std::size_t i) {
    while (i < text.size()) {
        const char c = text[i];
        if (c == delimiter || c == '\n' || c == '\r') break;
        ++i;
    }
    return i;
}

} // namespace

CsvTable parseCsv(std::string_view text, char delimiter) {
    if (delimiter == 0) delimiter = detectCsvDelimiter(text);
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    CsvTable table;
    bool haveHeader = false;
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    table.reserve(lines, 0, text.size());
    std::string quoted; // a quoted field's text, its doubled quotes made single
    std::size_t line = 1, rowStart = 1;
    std::size_t i = 0;
    // The fields of the line end as a row; a blank line (one empty field) is skipped and the
    // first row that is not blank is the header.
    auto endRow = [&] {
        if (table.pendingCells() == 1 && table.pendingCell(0).empty()) {
            table.dropPending();
        } else if (!haveHeader) {
            for (std::size_t k = 0; k < table.pendingCells(); ++k)
                table.header.emplace_back(table.pendingCell(k));
            table.dropPending();
            haveHeader = true;
            table.reserve(lines, lines * table.header.size(), text.size());
        } else {
            table.endRow();
            table.rowNumbers.push_back(rowStart);
        }
    };
    // One field at a time: a quoted field, or an unquoted one taken whole up to its end; then
    // the separator or line end after it.
    std::string_view field;
    bool fieldAtEnd = false; // the text ended right after a field
    while (i < text.size()) {
        if (text[i] == '"') {
            quoted.clear();
            readQuotedField(text, delimiter, i, line, quoted);
            field = quoted;
        } else {
            const std::size_t end = unquotedEnd(text, delimiter, i);
            field = text.substr(i, end - i);
            i = end;
        }
        if (i >= text.size()) {
            fieldAtEnd = true;
            break;
        }
        table.addCell(field);
        const char c = text[i];
        if (c != delimiter) {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            endRow();
            rowStart = ++line;
        }
        ++i;
    }
    // A last line without a line break.
    const std::string_view last = fieldAtEnd ? field : std::string_view();
    if (!last.empty() || table.pendingCells() > 0) {
        table.addCell(last);
        endRow();
    }
    if (!haveHeader) throw ChartFailure("the CSV file has no header row");
    requireCellsUnderHeader(table, delimiter);
    return table;
}

CsvTable readCsvFile(const std::string& path, char delimiter, std::size_t limit) {
    return parseCsv(readTextFile(path, limit), delimiter);
}

} // namespace plotara::apps
