// Arbitrary bytes as picture rows (width and pixel size from the first two bytes) through the
// PNG writer's deflate: zlib must inflate the stream to exactly the rows that went in.
#include "player/detail/PngDeflate.h"
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>
#include <zlib.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t pixelBytes = data[0] % 2 ? 4 : 3, rowBytes = 1 + pixelBytes * (1 + data[1]);
    const std::size_t rows = (size - 2) / rowBytes;
    std::string out;
    plotara::player::RowDeflater deflater(out, rowBytes, pixelBytes);
    for (std::size_t r = 0; r < rows; ++r)
        deflater.addRow(data + 2 + r * rowBytes);
    deflater.finish();
    std::vector<std::uint8_t> back(rows * rowBytes + 1);
    uLongf got = back.size();
    if (uncompress(back.data(), &got, reinterpret_cast<const Bytef*>(out.data()), out.size()) !=
            Z_OK ||
        got != rows * rowBytes || (rows && std::memcmp(back.data(), data + 2, got) != 0))
        __builtin_trap();
    return 0;
}
