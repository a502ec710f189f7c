#include "control/Picture.h"

#include "core/AtomicFile.h"
#include "core/BmpHeader.h"
#include "core/DispatchTable.h"
#include "core/Error.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace plotara {

namespace {

std::uint8_t nearestIndex(std::uint32_t rgb, const std::vector<std::uint32_t>& palette) {
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    long best = -1;
    std::size_t chosen = 0;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const long dr = r - static_cast<int>((palette[i] >> 16) & 0xFF);
        const long dg = g - static_cast<int>((palette[i] >> 8) & 0xFF);
        const long db = b - static_cast<int>(palette[i] & 0xFF);
        const long d = dr * dr + dg * dg + db * db;
        if (best < 0 || d < best) {
            best = d;
            chosen = i;
            if (d == 0) break;
        }
    }
    return static_cast<std::uint8_t>(chosen);
}

const DispatchTable<Picture>& table() {
    static const DispatchTable<Picture> instance = [] {
        DispatchTable<Picture> t;
        t.property(L"Handle", 0, [](Picture& p) { return Variant(p.handle()); });
        t.property(L"hPal", 2, [](Picture& p) { return Variant(p.paletteHandle()); });
        t.property(L"Type", 3, [](Picture& p) { return Variant(static_cast<Integer>(p.type())); });
        t.property(L"Width", 4, [](Picture& p) { return Variant(p.width()); });
        t.property(L"Height", 5, [](Picture& p) { return Variant(p.height()); });
        return t;
    }();
    return instance;
}

} // namespace

Picture::Picture(Long handle, Long width, Long height, std::vector<std::uint32_t> pixels,
                 std::vector<std::uint32_t> palette, Long paletteHandle)
    : handle_(handle), paletteHandle_(paletteHandle), width_(width), height_(height),
      pixels_(std::move(pixels)), palette_(std::move(palette)) {
    if (width < 0 || height < 0 || palette_.size() > 256 ||
        pixels_.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        raise(errors::invalidProcedureCall());
}

std::string Picture::bmpBytes() const {
    if (handle_ == 0 || width_ == 0 || height_ == 0) raise(Error(380, L"Invalid property value"));
    const bool indexed = !palette_.empty();
    const std::uint32_t w = static_cast<std::uint32_t>(width_);
    const std::uint32_t h = static_cast<std::uint32_t>(height_);
    const std::uint32_t bits = indexed ? 8 : 24;
    const std::uint32_t rowBytes = bmp::rowBytes(w, bits);
    const auto paletteSize = static_cast<std::uint32_t>(palette_.size());

    std::string out;
    out.reserve(14 + 40 + paletteSize * 4 + rowBytes * h);
    bmp::appendHeaders(out, w, h, static_cast<std::uint16_t>(bits), paletteSize);
    for (const std::uint32_t colour : palette_) {
        out += static_cast<char>(colour & 0xFF);
        out += static_cast<char>((colour >> 8) & 0xFF);
        out += static_cast<char>((colour >> 16) & 0xFF);
        out += '\0';
    }
    for (std::uint32_t row = h; row-- > 0;) {
        const std::size_t start = out.size();
        for (std::uint32_t column = 0; column < w; ++column) {
            const std::uint32_t rgb = pixels_[static_cast<std::size_t>(row) * w + column];
            if (indexed) {
                out += static_cast<char>(nearestIndex(rgb, palette_));
            } else {
                out += static_cast<char>(rgb & 0xFF);
                out += static_cast<char>((rgb >> 8) & 0xFF);
                out += static_cast<char>((rgb >> 16) & 0xFF);
            }
        }
        out.append(rowBytes - (out.size() - start), '\0');
    }
    return out;
}

void Picture::saveAsBmp(const std::filesystem::path& path) const {
    // A file is written beside the target and renamed over it once complete: a full disk or a
    // failing write never leaves a half-written picture, and an existing file stays as it was.
    // A device or a pipe takes the bytes in place and stays what it was.
    const int error = replaceFile(path, bmpBytes());
    if (error == ENOENT || error == ENOTDIR) raise(Error(76, L"Path not found"));
    if (error != 0) raise(Error(75, L"Path/File access error"));
}

Long Picture::idOfName(const String& name) const {
    return table().idOfName(name);
}

Variant Picture::invoke(Long dispId, InvokeKind kind, std::vector<Variant>& args) {
    return table().invoke(*this, dispId, kind, args);
}

} // namespace plotara
