// Arbitrary bytes as the chart document of a movie URL, for a chart type taken from the first
// byte: the player parses, lays out and draws it to a small in-memory surface.
#include "player/ChartPlayer.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 65536) return 0;
    const int type = 1 + data[0] % 37;
    const std::string movie = std::string("PTM") + char('0' + type / 10) + char('0' + type % 10);
    const std::string xml(reinterpret_cast<const char*>(data + 1), size - 1);
    plotara::ChartPlayer player;
    player.put_Movie(plotara::fromUtf8("file:///" PLOTARA_CHARTS_DIR "/" + movie +
                                       ".swf?chartWidth=160&chartHeight=120&dataXML=" + xml));
    player.surface(0.5);
    return 0;
}
