// A small CSV reader (RFC 4180 with a choice of separator: quoted fields with doubled quotes, LF
// or CR LF line ends, an optional UTF-8 byte-order mark) for the --csv input route.
#pragma once

#include "apps/CellTable.h"
#include "apps/TextFiles.h"

#include <string>
#include <string_view>

namespace plotara::apps {

// A CSV file's table: the header row, then the data rows with their line numbers. Rows may be
// shorter than the header (missing cells are empty); blank lines are skipped.
using CsvTable = CellTable;

// The separator an option names: one of , ; | or a tab ("tab" or "\t" spelled out also count);
// 0 for "" (detect it). Raises UsageFailure for anything else.
char csvDelimiterOf(const std::string& option);

// The separator the text most likely uses among , ; tab and |: the one the header row holds
// most often, preferring one that splits the first data row into as many fields. A comma when
// none occurs.
char detectCsvDelimiter(std::string_view text);

// Parses CSV text with the separator (0 detects it). Raises ChartFailure for a quoted field that
// never closes, for text after a closing quote, for a text without a header row, and for a row
// with a non-empty cell beyond the header's columns (an unquoted separator inside a field).
CsvTable parseCsv(std::string_view text, char delimiter = ',');

// Reads and parses a CSV file ("-" reads standard input). Raises ChartFailure when the file
// cannot be read, and as parseCsv.
CsvTable readCsvFile(const std::string& path, char delimiter = 0,
                     std::size_t limit = defaultInputLimit);

} // namespace plotara::apps
