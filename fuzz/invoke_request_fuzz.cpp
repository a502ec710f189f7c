// Arbitrary bytes as an invoke request through the control's and the player's readers, and as
// a chart link; a request built from a parsed name (without double quotes) reads it back.
#include "control/detail/InvokeRequest.h"
#include "player/detail/Invoke.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    plotara::ParseInvokeRequest(plotara::fromUtf8(bytes));
    const auto call = plotara::player::parseInvokeRequest(bytes);
    plotara::player::callForLink(bytes);
    std::string name = call.name; // the builder drops double quotes
    std::erase(name, '"');
    const auto again = plotara::player::buildInvokeRequest(name, "");
    if (plotara::player::parseInvokeRequest(again).name != name) __builtin_trap();
    return 0;
}
