// The faces one text engine draws with: the pinned face of each chart font, the fallbacks for
// characters it lacks, each file opened once and kept for the engine's life.
#pragma once

#include "player/draw/FontFace.h"
#include "player/draw/SystemFonts.h"

#include <map>
#include <memory>
#include <unordered_map>

namespace plotara::player {

// A face in a style: the style's own file, or a regular face slanted or emboldened in drawing.
struct FaceChoice {
    FontFace* face = nullptr;
    bool syntheticBold = false, syntheticItalic = false;
    bool operator==(const FaceChoice&) const = default;
};

class FontSet {
public:
    // Nothing is opened until a text asks for it. Cannot fail.
    explicit FontSet(FontCatalog catalog);
    ~FontSet();
    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;

    // The face a chart font starts from: its pinned DejaVu file; the system's match for the name
    // when that file is missing; face == nullptr when there is no font at all.
    FaceChoice primary(const std::string& family, bool bold, bool italic);
    // The face to draw a character with: the primary when it has the character, else the first
    // fallback that has it, else a system font (looked up once per character); the primary (which
    // draws its missing-glyph box) when no font has it. A character shown as emoji tries the emoji
    // fallbacks first.
    FaceChoice faceFor(const FaceChoice& primary, bool bold, bool italic, char32_t c,
                       bool asEmoji = false);
    // The catalogue the set was made from. Cannot fail.
    const FontCatalog& catalog() const { return catalog_; }
    // The catalogue's pinned file of a family and style, looked up on the disk once per set;
    // an empty path when no directory has it. Cannot fail.
    const FontFile& pinnedFile(PinnedFamily family, bool bold, bool italic);

private:
    FontFace* opened(const FontFile& file);
    FaceChoice styled(const FontFamilyFiles& family, bool bold, bool italic);
    FontFace* systemFaceWith(char32_t c);

    FontCatalog catalog_;
    std::shared_ptr<FreeTypeLibrary> freeType_;
    std::map<std::pair<std::string, int>, std::unique_ptr<FontFace>> faces_; // null: unreadable
    std::map<std::tuple<int, bool, bool>, FaceChoice> primaries_;
    std::unordered_map<char32_t, FontFace*> systemByChar_;
    std::map<std::tuple<int, bool, bool>, FontFile> pinnedFiles_;
    SystemFonts system_;
};

} // namespace plotara::player
