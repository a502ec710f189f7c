#include "player/draw/FontSet.h"

namespace plotara::player {

FontSet::FontSet(FontCatalog catalog)
    : catalog_(std::move(catalog)), freeType_(FreeTypeLibrary::create()) {}

FontSet::~FontSet() = default;

FontFace* FontSet::opened(const FontFile& file) {
    if (file.path.empty()) return nullptr;
    auto key = std::make_pair(file.path, file.index);
    auto it = faces_.find(key);
    if (it == faces_.end()) it = faces_.emplace(key, FontFace::open(file, freeType_)).first;
    return it->second.get();
}

FaceChoice FontSet::styled(const FontFamilyFiles& family, bool bold, bool italic) {
    // The style's own file first, then the nearest one drawn with what it lacks synthesized.
    const struct {
        bool b, i;
    } tries[] = {{bold, italic}, {bold, false}, {false, italic}, {false, false}};
    for (const auto& t : tries) {
        if ((t.b && !bold) || (t.i && !italic)) continue;
        if (FontFace* f = opened(family.styles[styleIndex(t.b, t.i)]))
            return {f, bold && !t.b, italic && !t.i};
    }
    return {};
}

FaceChoice FontSet::primary(const std::string& family, bool bold, bool italic) {
    const PinnedFamily pinned = pinnedFamilyFor(family);
    auto key = std::make_tuple(static_cast<int>(pinned), bold, italic);
    auto it = primaries_.find(key);
    if (it != primaries_.end()) return it->second;
    FontFamilyFiles files;
    files.name = pinnedFamilyName(pinned);
    for (bool b : {false, true})
        for (bool i : {false, true})
            files.styles[styleIndex(b, i)] = pinnedFile(pinned, b, i);
    FaceChoice choice = styled(files, bold, italic);
    if (!choice.face && catalog_.systemLastResort) {
        if (auto file = system_.fileFor(files.name)) choice = {opened(*file), bold, italic};
        if (!choice.face) choice = {};
    }
    primaries_.emplace(key, choice);
    return choice;
}

const FontFile& FontSet::pinnedFile(PinnedFamily family, bool bold, bool italic) {
    const auto key = std::make_tuple(static_cast<int>(family), bold, italic);
    auto it = pinnedFiles_.find(key);
    if (it == pinnedFiles_.end())
        it = pinnedFiles_.emplace(key, catalog_.pinnedFile(family, bold, italic)).first;
    return it->second;
}

FontFace* FontSet::systemFaceWith(char32_t c) {
    auto it = systemByChar_.find(c);
    if (it != systemByChar_.end()) return it->second;
    FontFace* face = nullptr;
    if (catalog_.systemLastResort) {
        if (auto file = system_.fileWith(c)) {
            face = opened(*file);
            if (face && !face->hasGlyph(c)) face = nullptr;
        }
    }
    systemByChar_.emplace(c, face);
    return face;
}

FaceChoice FontSet::faceFor(const FaceChoice& primary, bool bold, bool italic, char32_t c,
                            bool asEmoji) {
    if (asEmoji) {
        for (const FontFamilyFiles& family : catalog_.fallbacks) {
            if (!family.emoji) continue;
            FaceChoice choice = styled(family, bold, italic);
            if (choice.face && choice.face->hasGlyph(c)) return choice;
        }
    }
    if (primary.face && primary.face->hasGlyph(c)) return primary;
    for (const FontFamilyFiles& family : catalog_.fallbacks) {
        FaceChoice choice = styled(family, bold, italic);
        if (choice.face && choice.face->hasGlyph(c)) return choice;
    }
    if (FontFace* face = systemFaceWith(c)) return {face, bold, italic};
    return primary;
}

} // namespace plotara::player
