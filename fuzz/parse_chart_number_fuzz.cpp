// Arbitrary bytes through the player's number reader under several separator pairs: what it reads
// is finite and within the clamp, and the one-pass reading of a NUL-terminated value agrees.
#include "player/util/TextUtil.h"
#include <cmath>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plotara::player;
    static constexpr NumberSyntax syntaxes[] = {{U'.', U','},      {U',', U'.'},
                                                {U',', U'\u202f'}, {U',', 0},
                                                {U'.', U'\''},     {U'\u066b', U'\u066c'}};
    if (size == 0) return 0;
    const NumberSyntax syntax = syntaxes[data[0] % std::size(syntaxes)];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto v = parseNumber(std::string_view(text), syntax);
    if (v && (!std::isfinite(*v) || std::fabs(*v) > 1e300)) __builtin_trap();
    const auto w = text.find('\0') == std::string::npos ? parseNumber(text.c_str(), syntax) : v;
    if (v.has_value() != w.has_value() || (v && std::memcmp(&*v, &*w, sizeof(double)) != 0))
        __builtin_trap();
    (void)utf8Of(firstCodePoint(text));
    return 0;
}
