#include "player/draw/SystemFonts.h"

#include <fontconfig/fontconfig.h>

namespace plotara::player {

namespace {

std::optional<FontFile> bestFile(FcConfig* config, FcPattern* pattern) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    std::optional<FontFile> out;
    FcChar8* file = nullptr;
    int index = 0;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
        out = FontFile{reinterpret_cast<const char*>(file), index};
    }
    if (match) FcPatternDestroy(match);
    return out;
}

} // namespace

SystemFonts::~SystemFonts() {
    if (config_) FcConfigDestroy(config_);
}

FcConfig* SystemFonts::config() {
    // A configuration of its own: nothing shared with other engines or threads.
    if (!config_ && !failed_) {
        config_ = FcInitLoadConfigAndFonts();
        failed_ = config_ == nullptr;
    }
    return config_;
}

std::optional<FontFile> SystemFonts::fileWith(char32_t c) {
    FcConfig* cfg = config();
    if (!cfg) return std::nullopt;
    FcPattern* pattern = FcPatternCreate();
    FcCharSet* set = FcCharSetCreate();
    FcCharSetAddChar(set, c);
    FcPatternAddCharSet(pattern, FC_CHARSET, set);
    FcCharSetDestroy(set);
    std::optional<FontFile> file = bestFile(cfg, pattern);
    FcPatternDestroy(pattern);
    return file;
}

std::optional<FontFile> SystemFonts::fileFor(const std::string& family) {
    FcConfig* cfg = config();
    if (!cfg) return std::nullopt;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    std::optional<FontFile> file = bestFile(cfg, pattern);
    FcPatternDestroy(pattern);
    return file;
}

} // namespace plotara::player
