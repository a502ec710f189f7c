#include "apps/OutputWriters.h"

#include "apps/TemporaryFile.h"
#include "control/Picture.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace plotara::apps {

namespace {

// The player's picture laid over white, written by the control's Picture as a 24-bit BMP.
std::string bmpOf(const player::ArgbImage& image) {
    if (image.width <= 0 || image.height <= 0) return {};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(image.width) *
                                      static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            // Premultiplied colour over white: each channel plus (255 - alpha).
            const std::uint32_t argb = image.pixel(x, y);
            const std::uint32_t under = 255 - (argb >> 24);
            const std::uint32_t r = ((argb >> 16) & 0xFF) + under, g = ((argb >> 8) & 0xFF) + under,
                                b = (argb & 0xFF) + under;
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                   static_cast<std::size_t>(x)] = (r << 16) | (g << 8) | b;
        }
    }
    return Picture(1, image.width, image.height, std::move(pixels)).bmpBytes();
}

} // namespace

namespace {

std::string lowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

} // namespace

OutputFormat outputFormatOf(const std::string& path) {
    if (path == "-") return OutputFormat::Png;
    const std::string ext = lowerExtension(path);
    if (ext == ".png") return OutputFormat::Png;
    if (ext == ".svg") return OutputFormat::Svg;
    if (ext == ".pdf") return OutputFormat::Pdf;
    if (ext == ".bmp") return OutputFormat::Bmp;
    throw UsageFailure("cannot tell the output format of '" + path +
                       "': use .png, .svg, .pdf or .bmp (or - for PNG on standard output)");
}

std::string encodeChart(const ChartPlayer& player, OutputFormat format, double scale) {
    std::string bytes;
    switch (format) {
    case OutputFormat::Png:
        bytes = player.png(scale);
        break;
    case OutputFormat::Svg:
        bytes = player.svg();
        break;
    case OutputFormat::Pdf:
        bytes = player.pdf();
        break;
    case OutputFormat::Bmp:
        bytes = bmpOf(player.surface(scale));
        break;
    }
    if (bytes.empty()) throw ChartFailure("the chart could not be encoded");
    return bytes;
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    TemporaryFile file(path);
    file.write(bytes);
    file.commit();
}

void writeChart(const ChartPlayer& player, const std::string& path, double scale,
                std::ostream& out) {
    const OutputFormat format = outputFormatOf(path);
    const std::string bytes = encodeChart(player, format, scale);
    if (path == "-") {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) throw ChartFailure("cannot write the chart to standard output");
        return;
    }
    writeFileAtomically(path, bytes);
}

} // namespace plotara::apps
