#include "apps/OutputWriters.h"

#include "apps/BmpWriter.h"
#include "apps/TemporaryFile.h"

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
    if (ext == ".html" || ext == ".htm") return OutputFormat::Html;
    throw UsageFailure("cannot tell the output format of '" + path +
                       "': use .png, .svg, .pdf, .bmp or .html (or - for PNG on standard output)");
}

bool isRasterOutput(const std::string& path) {
    if (path == "-") return true;
    const std::string ext = lowerExtension(path);
    return ext == ".png" || ext == ".bmp";
}

VectorOptions vectorOptionsOf(const RenderRequest& request) {
    return {request.svgText, HtmlOptions{request.htmlFragment, request.htmlId, request.htmlZoom}};
}

std::string encodeChart(const ChartPlayer& player, OutputFormat format, double scale,
                        const VectorOptions& options) {
    std::string bytes;
    switch (format) {
    case OutputFormat::Png:
        bytes = player.png(scale);
        break;
    case OutputFormat::Svg:
        bytes = player.svg(options.svgText);
        break;
    case OutputFormat::Html:
        bytes = player.html(options.html);
        break;
    case OutputFormat::Pdf:
        bytes = player.pdf();
        break;
    case OutputFormat::Bmp:
        writeBmp(player.surface(scale), [&bytes](std::string_view piece) { bytes += piece; });
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

void writeChart(const ChartPlayer& player, const std::string& path, double scale, std::ostream& out,
                const VectorOptions& options) {
    const OutputFormat format = outputFormatOf(path);
    if (format == OutputFormat::Bmp && path != "-") {
        // Row by row into the file: a 16384-pixel square is 800 MB of BMP, not held twice.
        const player::ArgbImage image = player.surface(scale);
        if (image.width <= 0 || image.height <= 0)
            throw ChartFailure("the chart could not be encoded");
        TemporaryFile file(path);
        writeBmp(image, [&file](std::string_view piece) { file.write(piece); });
        file.commit();
        return;
    }
    const std::string bytes = encodeChart(player, format, scale, options);
    if (path == "-") {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) throw ChartFailure("cannot write the chart to standard output");
        return;
    }
    writeFileAtomically(path, bytes);
}

} // namespace plotara::apps
