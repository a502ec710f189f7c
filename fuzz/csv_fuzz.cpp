// Arbitrary bytes as a CSV file: the reader returns a table or raises ChartFailure, and never
// returns a row longer than the longest line could hold.
#include "apps/CsvReader.h"
#include "apps/Failures.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const auto table = plotara::apps::parseCsv({reinterpret_cast<const char*>(data), size});
        for (std::size_t row = 0; row < table.rowCount(); ++row)
            if (table.cellCount(row) > size + 1) __builtin_trap();
    } catch (const plotara::apps::ChartFailure&) {
    }
    return 0;
}
