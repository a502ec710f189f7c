// PNG encoding tuned for charts: fast compression (large flat areas compress well anyway).
#pragma once

#include <memory>
#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace plotara::player {

// Encodes an ARGB32 image surface as PNG (RGB when every pixel is opaque, else RGBA,
// un-premultiplied); "" when libpng fails. Never throws.
std::string encodePng(cairo_surface_t* image);

// Whether every pixel of `rows` rows of premultiplied ARGB32 (`stride` bytes apart) is opaque.
// Cannot fail.
bool opaqueRows(const unsigned char* data, int width, int rows, int stride);

// A PNG written a band of rows at a time, so that the rows painted first can be compressed while
// later ones are still being painted. The colour type is fixed at the start: rows given to an
// opaque (RGB) writer lose their alpha, so the caller checks them with opaqueRows first.
class PngWriter {
public:
    // Starts a width x height PNG; failed() when libpng cannot start or the size is empty.
    PngWriter(int width, int height, bool opaque);
    ~PngWriter();
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    // Adds the next `rows` rows of premultiplied ARGB32; ignored once failed. Never throws.
    void addRows(const unsigned char* data, int rows, int stride);
    // The file once every row was added; "" when libpng failed or rows are missing.
    std::string finish();
    // True when libpng reported an error. Cannot fail.
    bool failed() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace plotara::player
