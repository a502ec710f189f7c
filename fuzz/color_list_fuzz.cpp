// Arbitrary bytes as a colour list (the delimiter from the first byte) through the palette, and
// each item through the player's colour reader: every colour handed out is at least six long.
#include "core/ErrorTrap.h"
#include "data/PTColors.h"
#include "player/draw/Color.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    plotara::PTColors palette;
    palette.setDelimiter(data[0] % 2 ? L";" : L",");
    const std::string_view list(reinterpret_cast<const char*>(data + 1), size - 1);
    palette.addColors(plotara::fromUtf8(list));
    for (plotara::Integer i = 0; i < 8 && palette.isCustomColors(); ++i)
        if (palette.getColor(i % 2 ? 0 : i).size() < 6) __builtin_trap();
    plotara::player::parseColor(list, plotara::player::Color{});
    return 0;
}
