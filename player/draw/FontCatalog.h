// Where the chart fonts come from: the pinned DejaVu families, the fallback files for scripts
// DejaVu lacks, and the family a chart's font name stands for. Nothing here opens a file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plotara::player {

// One face of a font file (index > 0 picks a face of a collection such as a .ttc).
struct FontFile {
    std::string path;
    int index = 0;
    bool operator==(const FontFile&) const = default;
};

// The styles of one font family, indexed by styleIndex(); an empty path is a style the family
// does not have, drawn synthesized (slanted, emboldened) from the regular face.
struct FontFamilyFiles {
    std::string name;
    FontFile styles[4];
    bool emoji = false; // colour pictographs: first choice for characters shown as emoji
};

// Regular 0, bold 1, italic 2, bold italic 3. Cannot fail.
inline int styleIndex(bool bold, bool italic) {
    return (bold ? 1 : 0) + (italic ? 2 : 0);
}

enum class PinnedFamily : unsigned char { Sans, Serif, Mono };

// What the text engine loads: the pinned families from the first directory that holds their
// files, then the fallbacks in order, for characters the pinned font lacks.
struct FontCatalog {
    std::vector<std::string> directories; // searched in order for the pinned DejaVu files
    std::vector<FontFamilyFiles> fallbacks;
    bool systemLastResort = true; // ask fontconfig when no listed file has a character

    // The installed fonts: DejaVu from PLOTARA_FONT_DIR (the build's setting, by default Debian's
    // fonts-dejavu folder), and the fallbacks scripts/install-deps.sh installs. Cannot fail.
    static FontCatalog standard();
    // The pinned family and style as files: the first directory holding the file wins; an empty
    // path when no directory has it. Cannot fail.
    FontFile pinnedFile(PinnedFamily family, bool bold, bool italic) const;
};

// The pinned family a chart's font name stands for: DejaVu Serif for serif names (Times, Georgia,
// "serif"), DejaVu Sans Mono for fixed-pitch ones (Courier, Consolas, "monospace"), DejaVu Sans for
// every other name, the empty one included. Case does not matter. Cannot fail.
PinnedFamily pinnedFamilyFor(std::string_view name);
// "DejaVu Sans", "DejaVu Serif" or "DejaVu Sans Mono". Cannot fail.
const char* pinnedFamilyName(PinnedFamily family);
// The file name of a pinned family's style, e.g. "DejaVuSans-BoldOblique.ttf". Cannot fail.
std::string pinnedFileName(PinnedFamily family, bool bold, bool italic);

} // namespace plotara::player
