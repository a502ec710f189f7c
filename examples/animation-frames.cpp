// Writes the frames of a chart drawing itself in, as a window shows them: the chart document is
// loaded once through the chart player and laid out again at evenly spaced progresses from 0 to
// 1 (the last frame is the still picture). Each frame is a binary PPM file, which ImageMagick
// assembles into an animated picture (scripts/make-animation-picture.sh).
//
//   plotara_animation_frames CHARTS_DIR MOVIE_FILE DOCUMENT WIDTH HEIGHT FRAMES OUT_PREFIX
//
// writes OUT_PREFIX-000.ppm, OUT_PREFIX-001.ppm ... and exits 1 when the document shows no chart
// or does not move.
#include "player/ChartPlayer.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

namespace {

// The picture as PPM: the chart's background is opaque, so the premultiplied pixels are the
// colours themselves.
bool writePpm(const plotara::player::ArgbImage& image, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.width << ' ' << image.height << "\n255\n";
    std::string row(static_cast<std::size_t>(image.width) * 3, '\0');
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.pixel(x, y);
            const auto at = static_cast<std::size_t>(x) * 3;
            row[at] = static_cast<char>((p >> 16) & 0xff);
            row[at + 1] = static_cast<char>((p >> 8) & 0xff);
            row[at + 2] = static_cast<char>(p & 0xff);
        }
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 8) {
        std::cerr << "usage: " << argv[0]
                  << " CHARTS_DIR MOVIE_FILE DOCUMENT WIDTH HEIGHT FRAMES OUT_PREFIX\n";
        return 2;
    }
    const std::string url = std::string("file:///") + argv[1] + "/" + argv[2] +
                            "?chartWidth=" + argv[4] + "&chartHeight=" + argv[5] +
                            "&dataURL=" + argv[3];
    const int frames = std::stoi(argv[6]);
    plotara::ChartPlayer player;
    player.put_MovieText(std::make_shared<const std::string>(url));
    if (player.state() != plotara::PlayerState::Chart || !player.animates() || frames < 2) {
        std::cerr << argv[3] << ": no chart that moves (" << plotara::toUtf8(player.messageText())
                  << ")\n";
        return 1;
    }
    for (int i = 0; i < frames; ++i) {
        player.setAnimationProgress(static_cast<double>(i) / (frames - 1));
        char name[32];
        std::snprintf(name, sizeof name, "-%03d.ppm", i);
        if (!writePpm(player.surface(1), argv[7] + std::string(name))) {
            std::cerr << "cannot write " << argv[7] << name << "\n";
            return 1;
        }
    }
    return 0;
}
