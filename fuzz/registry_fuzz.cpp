// Arbitrary bytes as a .reg file (UTF-8 or, after a byte order mark, UTF-16) looked up at the
// default chart folder's value: lookups never fail, and find nothing in a text without header.
#include "platform/Registry.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto text = plotara::fromUtf8({reinterpret_cast<const char*>(data), size});
    const bool header = plotara::registry::isRegistryText(text);
    for (const wchar_t* path : {L"HKLM\\Software\\Plotara\\ChartsPath", L"HKLM\\A\\", L"x"})
        if (plotara::registry::lookup(text, path) && !header) __builtin_trap();
    return 0;
}
