// Arbitrary bytes as picture rows (width, pixel size and a split row from the first two bytes)
// through the PNG writer's deflate, whole or as a head and a tail compressed apart and joined:
// zlib must inflate the stream to exactly the rows that went in.
#include "player/detail/PngDeflate.h"
#include <cstring>
#include <vector>
#include <zlib.h>

using plotara::player::RowDeflater;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t pixelBytes = data[0] % 2 ? 4 : 3, rowBytes = 1 + pixelBytes * (1 + data[1]);
    const std::size_t rows = (size - 2) / rowBytes, split = data[0] / 4 % (rows + 1);
    const bool parts = data[0] & 2;
    std::string out, tail;
    RowDeflater head(out, rowBytes, pixelBytes,
                     parts ? RowDeflater::Part::Head : RowDeflater::Part::Whole);
    RowDeflater second(tail, rowBytes, pixelBytes, RowDeflater::Part::Tail);
    for (std::size_t r = 0; r < rows; ++r)
        (parts && r >= split ? second : head).addRow(data + 2 + r * rowBytes);
    head.finish();
    second.finish();
    const std::uint32_t sum =
        plotara::player::joinedChecksum(head.checksum(), second.checksum(), second.bytesIn());
    if (parts)
        out += tail + std::string{char(sum >> 24), char(sum >> 16), char(sum >> 8), char(sum)};
    std::vector<std::uint8_t> back(rows * rowBytes + 1);
    uLongf got = back.size();
    if (uncompress(back.data(), &got, reinterpret_cast<const Bytef*>(out.data()), out.size()) !=
            Z_OK ||
        got != rows * rowBytes || (rows && std::memcmp(back.data(), data + 2, got) != 0))
        __builtin_trap();
    return 0;
}
