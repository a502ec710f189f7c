// The standard picture the control hands out for a captured chart: a bitmap with an optional
// palette, identified by a handle that is 0 for an empty picture.
#pragma once

#include "core/String.h"

#include <cstdint>
#include <vector>

namespace plotara {

class Picture {
public:
    // An empty picture: handle 0, no pixels.
    Picture() = default;
    // A bitmap of width x height pixels (0x00RRGGBB, rows top to bottom); Error 5 when the pixel
    // count does not match the size or the size is negative.
    Picture(Long handle, Long width, Long height, std::vector<std::uint32_t> pixels,
            std::vector<std::uint32_t> palette = {});

    Long handle() const noexcept { return handle_; }
    Long width() const noexcept { return width_; }
    Long height() const noexcept { return height_; }
    const std::vector<std::uint32_t>& pixels() const noexcept { return pixels_; }
    const std::vector<std::uint32_t>& palette() const noexcept { return palette_; }

    // Writes the picture as a BMP file. Not available yet: always raises a component error
    // saying so (it comes with chart image capture and export).
    void saveAsBmp(const String& path) const;

private:
    Long handle_ = 0;
    Long width_ = 0;
    Long height_ = 0;
    std::vector<std::uint32_t> pixels_;
    std::vector<std::uint32_t> palette_;
};

} // namespace plotara
