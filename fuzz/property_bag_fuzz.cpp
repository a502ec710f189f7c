// Arbitrary bytes as a saved form: parsing raises only plotara::Error, and a form that parses
// and writes back reads back to the same text.
#include "core/ErrorTrap.h"
#include "platform/FilePropertyBag.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    plotara::ErrorTrap::capture([&] {
        const std::string text =
            plotara::FilePropertyBag::parse({reinterpret_cast<const char*>(data), size}, "fuzz.frm")
                .text();
        if (plotara::FilePropertyBag::parse(text, "fuzz.frm").text() != text) __builtin_trap();
    });
    return 0;
}
