// The last resort for a character no listed font file has: the system's font configuration
// (fontconfig), read on first use only, so that charts whose texts the pinned and fallback fonts
// cover never read it.
#pragma once

#include "player/draw/FontCatalog.h"

#include <optional>

typedef struct _FcConfig FcConfig;

namespace plotara::player {

class SystemFonts {
public:
    SystemFonts() = default;
    ~SystemFonts();
    SystemFonts(const SystemFonts&) = delete;
    SystemFonts& operator=(const SystemFonts&) = delete;

    // A font file of the system that has the character; nothing when none has it or the system
    // has no font configuration.
    std::optional<FontFile> fileWith(char32_t c);
    // The system's best match for a family name; nothing when the system has no fonts.
    std::optional<FontFile> fileFor(const std::string& family);

private:
    FcConfig* config();
    FcConfig* config_ = nullptr;
    bool failed_ = false;
};

} // namespace plotara::player
