// Arbitrary bytes as a parameter string, split on a delimiter taken from the first byte; every
// parsed name must be a non-blank prefix of its piece, and parsing must never fail.
#include "data/detail/ParamParser.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const plotara::String delimiter(data[0] % 3, static_cast<wchar_t>(L';' + data[0] % 2));
    const auto text = plotara::fromUtf8({reinterpret_cast<const char*>(data + 1), size - 1});
    for (const auto& row : plotara::parseParams(text, delimiter, data[0] & 4))
        if (row.name.find_first_not_of(L' ') == plotara::String::npos) __builtin_trap();
    return 0;
}
