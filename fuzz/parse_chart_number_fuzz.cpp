// Arbitrary bytes through the chart player's number reader under several separator pairs: it
// never throws, what it reads is a finite number within the clamp, and the reading of a
// NUL-terminated attribute value (plain decimals in one pass) gives the same double.
#include "player/util/TextUtil.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    using plotara::player::NumberSyntax;
    static constexpr NumberSyntax syntaxes[] = {{U'.', U','},      {U',', U'.'},
                                                {U',', U'\u202f'}, {U',', 0},
                                                {U'.', U'\''},     {U'\u066b', U'\u066c'}};
    const NumberSyntax syntax = syntaxes[data[0] % std::size(syntaxes)];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto v = plotara::player::parseNumber(text, syntax);
    if (v && (!std::isfinite(*v) || std::fabs(*v) > 1e300)) std::abort();
    if (text.find('\0') == std::string_view::npos) {
        const std::string value(text);
        const auto w = plotara::player::parseNumber(value.c_str(), syntax);
        if (v.has_value() != w.has_value() || (v && std::memcmp(&*v, &*w, sizeof(double)) != 0))
            std::abort();
    }
    (void)plotara::player::utf8Of(plotara::player::firstCodePoint(text));
    return 0;
}
