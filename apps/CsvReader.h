// A small CSV reader (RFC 4180: comma-separated, quoted fields with doubled quotes, LF or CR LF
// line ends, an optional UTF-8 byte-order mark) for the --csv input route.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plotara::apps {

// A table of text cells: the header row, then the data rows. Rows may be shorter than the header
// (missing cells are empty); blank lines are skipped.
struct CsvTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

// Parses CSV text. Raises ChartFailure for a quoted field that never closes, for text after a
// closing quote, and for a text without a header row.
CsvTable parseCsv(std::string_view text);

// Reads and parses a CSV file ("-" reads standard input). Raises ChartFailure when the file
// cannot be read, and as parseCsv.
CsvTable readCsvFile(const std::string& path);

} // namespace plotara::apps
