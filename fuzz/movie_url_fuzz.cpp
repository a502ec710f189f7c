// Arbitrary bytes as a movie URL: splitting and decoding never fail, no parameter name holds a
// "&", and a data location read as a local path is never a web address.
#include "player/MovieUrlParser.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const plotara::player::MovieUrl url =
        plotara::player::parseMovieUrl({reinterpret_cast<const char*>(data), size});
    for (const auto& [name, value] : url.params)
        if (name.find('&') != std::string::npos) __builtin_trap();
    if (const std::string* location = url.find("dataURL"))
        if (plotara::player::localPathFromLocation(*location).starts_with("http://"))
            __builtin_trap();
    return 0;
}
