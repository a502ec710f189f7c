// Arbitrary bytes, decoded as UTF-8, through the number parser: only plotara::Error may leave it.
#include "core/Error.h"
#include "core/Number.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto text = plotara::fromUtf8({reinterpret_cast<const char*>(data), size});
    try {
        plotara::number::parseDouble(text, size % 2 ? L',' : L'.');
    } catch (const plotara::Error&) {
    }
    return 0;
}
