#include "player/draw/FontCatalog.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <sys/stat.h>

#ifndef PLOTARA_FONT_DIR
#define PLOTARA_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif
#ifndef PLOTARA_FALLBACK_FONT_ROOT
#define PLOTARA_FALLBACK_FONT_ROOT "/usr/share/fonts/truetype"
#endif

namespace plotara::player {

namespace {

bool isFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string lowered(std::string_view name) {
    std::string out(name);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool containsAny(const std::string& text, std::initializer_list<const char*> words) {
    return std::any_of(words.begin(), words.end(),
                       [&](const char* w) { return text.find(w) != std::string::npos; });
}

FontFamilyFiles family(const char* name, const std::string& dir, std::array<const char*, 4> files,
                       int index = 0) {
    FontFamilyFiles f;
    f.name = name;
    for (std::size_t i = 0; i < files.size(); ++i)
        if (files[i]) f.styles[i] = {dir + "/" + files[i], index};
    return f;
}

} // namespace

FontCatalog FontCatalog::standard() {
    const std::string root = PLOTARA_FALLBACK_FONT_ROOT;
    FontCatalog c;
    c.directories = {PLOTARA_FONT_DIR};
    c.fallbacks = {
        family("WenQuanYi Micro Hei", root + "/wqy",
               {"wqy-microhei.ttc", nullptr, nullptr, nullptr}),
        family("Garuda", root + "/tlwg",
               {"Garuda.ttf", "Garuda-Bold.ttf", "Garuda-Oblique.ttf", "Garuda-BoldOblique.ttf"}),
        family("Lohit Devanagari", root + "/lohit-devanagari",
               {"Lohit-Devanagari.ttf", nullptr, nullptr, nullptr}),
        family("Noto Color Emoji", root + "/noto",
               {"NotoColorEmoji.ttf", nullptr, nullptr, nullptr}),
    };
    c.fallbacks.back().emoji = true;
    return c;
}

FontFile FontCatalog::pinnedFile(PinnedFamily f, bool bold, bool italic) const {
    const std::string name = pinnedFileName(f, bold, italic);
    for (const std::string& dir : directories) {
        std::string path = dir + "/" + name;
        if (isFile(path)) return {path, 0};
    }
    return {};
}

PinnedFamily pinnedFamilyFor(std::string_view name) {
    const std::string n = lowered(name);
    if (containsAny(n, {"mono", "courier", "consolas", "menlo", "fixed", "lucida console"}))
        return PinnedFamily::Mono;
    if (n.find("sans") != std::string::npos) return PinnedFamily::Sans;
    if (containsAny(n, {"serif", "times", "georgia", "garamond", "cambria", "palatino",
                        "book antiqua", "roman"}))
        return PinnedFamily::Serif;
    return PinnedFamily::Sans;
}

const char* pinnedFamilyName(PinnedFamily family) {
    switch (family) {
    case PinnedFamily::Serif:
        return "DejaVu Serif";
    case PinnedFamily::Mono:
        return "DejaVu Sans Mono";
    case PinnedFamily::Sans:
        break;
    }
    return "DejaVu Sans";
}

std::string pinnedFileName(PinnedFamily family, bool bold, bool italic) {
    std::string stem = family == PinnedFamily::Serif  ? "DejaVuSerif"
                       : family == PinnedFamily::Mono ? "DejaVuSansMono"
                                                      : "DejaVuSans";
    // DejaVu Serif's slanted faces are called Italic, the sans faces' Oblique.
    const char* slant = family == PinnedFamily::Serif ? "Italic" : "Oblique";
    if (bold || italic) stem += "-";
    if (bold) stem += "Bold";
    if (italic) stem += slant;
    return stem + ".ttf";
}

} // namespace plotara::player
