// The standard picture the control hands out for a captured chart: a bitmap with an optional
// palette, identified by a handle that is 0 for an empty picture. Late-bound it offers the
// picture members Handle (the default member), hPal, Type, Width and Height.
#pragma once

#include "core/Dispatch.h"
#include "core/String.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace plotara {

class Picture final : public Dispatch {
public:
    // An empty picture: handle 0, no pixels.
    Picture() = default;
    // A bitmap of width x height pixels (0x00RRGGBB, rows top to bottom) with an optional palette
    // of up to 256 colours (0x00RRGGBB) and its handle; Error 5 when the pixel count does not
    // match the size, the size is negative or the palette has more than 256 colours.
    Picture(Long handle, Long width, Long height, std::vector<std::uint32_t> pixels,
            std::vector<std::uint32_t> palette = {}, Long paletteHandle = 0);

    Long handle() const noexcept { return handle_; }
    Long paletteHandle() const noexcept { return paletteHandle_; }
    // 1 (bitmap) for a picture with a bitmap, 0 (none) for an empty one.
    Long type() const noexcept { return handle_ != 0 ? 1 : 0; }
    // The size in pixels.
    Long width() const noexcept { return width_; }
    Long height() const noexcept { return height_; }
    const std::vector<std::uint32_t>& pixels() const noexcept { return pixels_; }
    const std::vector<std::uint32_t>& palette() const noexcept { return palette_; }

    // Writes the picture as a Windows bitmap file, whatever the path's extension: 24 bits a pixel,
    // or 8 bits a pixel with a colour table of the palette when the picture has one (each pixel
    // takes the palette entry nearest its colour). Error 380 "Invalid property value" for an empty
    // picture; Error 76 "Path not found" when the folder does not exist; Error 75 "Path/File
    // access error" when the file cannot be written, the target then as it was and no partial file
    // left. A device or a named pipe at the path is written in place and stays one (replaceFile);
    // a pipe without a reader, a socket or a folder is Error 75.
    void saveAsBmp(const std::filesystem::path& path) const;
    // The bytes saveAsBmp writes. Error 380 for an empty picture.
    std::string bmpBytes() const;

    // Error 438 for an unknown name.
    Long idOfName(const String& name) const override;
    // The members are read-only: Error 438 for a put or an unknown id.
    Variant invoke(Long dispId, InvokeKind kind, std::vector<Variant>& args) override;

private:
    Long handle_ = 0;
    Long paletteHandle_ = 0;
    Long width_ = 0;
    Long height_ = 0;
    std::vector<std::uint32_t> pixels_;
    std::vector<std::uint32_t> palette_;
};

} // namespace plotara
