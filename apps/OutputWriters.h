// The outputs of `plotara render` and `plotara gallery`: the player's picture encoded by the
// file's extension and written to a temporary file that is renamed over the target only once
// it is complete, so a failure never leaves a partial file behind.
#pragma once

#include "apps/Failures.h"
#include "player/ChartPlayer.h"

#include <ostream>
#include <string>
#include <string_view>

namespace plotara::apps {

// The format of an output path by its extension (.png, .svg, .pdf, .bmp, .html, .htm, any letter
// case); "-" is PNG. Raises UsageFailure for any other extension.
OutputFormat outputFormatOf(const std::string& path);
// Whether the output is a picture of pixels (PNG or BMP, by the same rules).
bool isRasterOutput(const std::string& path);

// How the vector outputs are written: the SVG's texts, and the web page's form.
struct VectorOptions {
    player::SvgTextMode svgText = player::SvgTextMode::Text;
    HtmlOptions html;
};
// The vector options a render request asks for.
VectorOptions vectorOptionsOf(const RenderRequest& request);

// What the player drew, encoded: PNG and BMP at the device pixel ratio, SVG and PDF as vectors,
// HTML as the chart's web page. Raises ChartFailure when cairo cannot encode the picture.
std::string encodeChart(const ChartPlayer& player, OutputFormat format, double scale,
                        const VectorOptions& options = {});

// Writes the bytes to a temporary file in the target's folder (TemporaryFile), then renames it
// over the target, which keeps its permission bits. Raises ChartFailure ("cannot write <path>:
// <reason>") for a target that is not a regular file and when any step fails, and removes the
// temporary file; the target is then untouched.
void writeFileAtomically(const std::string& path, std::string_view bytes);

// Encodes and writes the chart to the path, or as PNG to out for "-". Raises as above.
void writeChart(const ChartPlayer& player, const std::string& path, double scale, std::ostream& out,
                const VectorOptions& options = {});

} // namespace plotara::apps
