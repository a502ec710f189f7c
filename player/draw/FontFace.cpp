#include "player/draw/FontFace.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <harfbuzz/hb-ot.h>
#include <harfbuzz/hb.h>

namespace plotara::player {

std::shared_ptr<FreeTypeLibrary> FreeTypeLibrary::create() {
    auto lib = std::make_shared<FreeTypeLibrary>();
    if (FT_Init_FreeType(&lib->library) != 0) return nullptr;
    return lib;
}

FreeTypeLibrary::~FreeTypeLibrary() {
    if (library) FT_Done_FreeType(library);
}

namespace {

// What a cairo font face owns: its FreeType face and a share of the library that made it.
struct FreeTypeFaceHolder {
    FT_Face face = nullptr;
    std::shared_ptr<FreeTypeLibrary> freeType;
};

const cairo_user_data_key_t holderKey{};

void releaseHolder(void* data) {
    auto* holder = static_cast<FreeTypeFaceHolder*>(data);
    {
        std::lock_guard<std::mutex> lock(holder->freeType->mutex);
        FT_Done_Face(holder->face);
    }
    delete holder;
}

FaceMetrics readMetrics(hb_font_t* font, double upem) {
    FaceMetrics m;
    hb_font_extents_t extents{};
    hb_font_get_h_extents(font, &extents);
    m.ascent = extents.ascender / upem;
    m.descent = -extents.descender / upem;
    hb_position_t pos = 0, thickness = 0;
    if (hb_ot_metrics_get_position(font, HB_OT_METRICS_TAG_UNDERLINE_OFFSET, &pos))
        m.underlinePosition = pos / upem;
    else
        m.underlinePosition = -0.1;
    if (hb_ot_metrics_get_position(font, HB_OT_METRICS_TAG_UNDERLINE_SIZE, &thickness) &&
        thickness > 0)
        m.underlineThickness = thickness / upem;
    else
        m.underlineThickness = 0.05;
    return m;
}

} // namespace

std::unique_ptr<FontFace> FontFace::open(const FontFile& file,
                                         std::shared_ptr<FreeTypeLibrary> freeType) {
    if (file.path.empty() || !freeType) return nullptr;
    hb_blob_t* blob = hb_blob_create_from_file_or_fail(file.path.c_str());
    if (!blob) return nullptr;
    hb_face_t* face = hb_face_create(blob, static_cast<unsigned>(file.index));
    hb_blob_destroy(blob);
    if (hb_face_get_glyph_count(face) == 0) {
        hb_face_destroy(face);
        return nullptr;
    }
    std::unique_ptr<FontFace> f(new FontFace());
    f->file_ = file;
    f->freeType_ = std::move(freeType);
    f->upem_ = hb_face_get_upem(face);
    f->colour_ = hb_ot_color_has_png(face) || hb_ot_color_has_layers(face);
    f->hb_ = hb_font_create(face);
    hb_face_destroy(face);
    hb_ot_font_set_funcs(f->hb_);
    // Glyph coordinates in font units: the text engine scales them to any size exactly.
    const int upem = static_cast<int>(f->upem_);
    hb_font_set_scale(f->hb_, upem, upem);
    hb_font_make_immutable(f->hb_);
    f->metrics_ = readMetrics(f->hb_, f->upem_);
    return f;
}

FontFace::~FontFace() {
    for (cairo_font_face_t* face : cairo_)
        if (face) cairo_font_face_destroy(face);
    hb_font_destroy(hb_);
}

bool FontFace::hasGlyph(char32_t c) const {
    hb_codepoint_t glyph = 0;
    return hb_font_get_nominal_glyph(hb_, c, &glyph) && glyph != 0;
}

cairo_font_face_t* FontFace::cairoFace(bool syntheticBold) {
    cairo_font_face_t*& slot = cairo_[syntheticBold ? 1 : 0];
    if (slot || cairoFailed_) return slot;
    slot = colour_ ? ownedCairoFace(syntheticBold) : sharedCairoFace(syntheticBold);
    if (!slot) cairoFailed_ = true;
    return slot;
}

// A face from a pattern that names only the file, its index and the emboldening: cairo keeps one
// FreeType face per file for the whole process and hands every caller that asks with the same
// options the same cairo face, so players share the face and its glyph caches. A pattern with
// FC_FILE is used as it is: no fontconfig configuration or cache is loaded.
cairo_font_face_t* FontFace::sharedCairoFace(bool syntheticBold) const {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return nullptr;
    const auto* path = reinterpret_cast<const FcChar8*>(file_.path.c_str());
    // Unhinted outlines: a text has the same shape and size at every scale and in every format.
    const bool built = FcPatternAddString(pattern, FC_FILE, path) &&
                       FcPatternAddInteger(pattern, FC_INDEX, file_.index) &&
                       FcPatternAddBool(pattern, FC_HINTING, FcFalse) &&
                       FcPatternAddBool(pattern, FC_EMBOLDEN, syntheticBold ? FcTrue : FcFalse);
    cairo_font_face_t* face = built ? cairo_ft_font_face_create_for_pattern(pattern) : nullptr;
    FcPatternDestroy(pattern);
    if (face && cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(face);
        face = nullptr;
    }
    return face;
}

// A face of this engine's own FreeType face, for colour fonts: the pattern route cannot ask for
// FT_LOAD_COLOR, without which colour bitmaps would be drawn grey.
cairo_font_face_t* FontFace::ownedCairoFace(bool syntheticBold) const {
    auto* holder = new FreeTypeFaceHolder{nullptr, freeType_};
    {
        std::lock_guard<std::mutex> lock(freeType_->mutex);
        if (FT_New_Face(freeType_->library, file_.path.c_str(), file_.index, &holder->face) != 0)
            holder->face = nullptr;
    }
    if (!holder->face) {
        delete holder;
        return nullptr;
    }
    cairo_font_face_t* face =
        cairo_ft_font_face_create_for_ft_face(holder->face, FT_LOAD_NO_HINTING | FT_LOAD_COLOR);
    if (cairo_font_face_set_user_data(face, &holderKey, holder, releaseHolder) !=
        CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(face);
        releaseHolder(holder);
        return nullptr;
    }
    if (syntheticBold) cairo_ft_font_face_set_synthesize(face, CAIRO_FT_SYNTHESIZE_BOLD);
    return face;
}

} // namespace plotara::player
