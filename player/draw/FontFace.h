// One opened font file. HarfBuzz reads it (mapped, not copied) for coverage, metrics and shaping;
// cairo's FreeType face for it is opened only when a text is drawn, and shared by every engine.
#pragma once

#include "player/draw/FontCatalog.h"

#include <memory>
#include <mutex>

typedef struct hb_font_t hb_font_t;
typedef struct _cairo_font_face cairo_font_face_t;
typedef struct FT_LibraryRec_* FT_Library;

namespace plotara::player {

// A FreeType library shared by the colour faces of one text engine. cairo may release a face after
// the engine is gone, from any thread: each face keeps the library alive, and the mutex guards the
// library's list of faces, which FreeType does not lock.
struct FreeTypeLibrary {
    FT_Library library = nullptr;
    std::mutex mutex;

    // nullptr when FreeType cannot start (out of memory).
    static std::shared_ptr<FreeTypeLibrary> create();
    ~FreeTypeLibrary();
};

// Vertical metrics and underline of a face, in ems (multiply by the font size for pixels).
struct FaceMetrics {
    double ascent = 0, descent = 0; // both positive, from the baseline
    double underlinePosition = 0;   // below the baseline when negative
    double underlineThickness = 0;
};

class FontFace {
public:
    // Opens a font file; nullptr when it cannot be read or holds no glyphs.
    static std::unique_ptr<FontFace> open(const FontFile& file,
                                          std::shared_ptr<FreeTypeLibrary> freeType);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // True when the face maps the character to a glyph. Cannot fail.
    bool hasGlyph(char32_t c) const;
    // A HarfBuzz font whose scale is the face's units per em. Cannot fail.
    hb_font_t* hbFont() const { return hb_; }
    // Units per em of the face's glyph coordinates. Cannot fail.
    double unitsPerEm() const { return upem_; }
    const FaceMetrics& metrics() const { return metrics_; }
    const FontFile& file() const { return file_; }
    // The cairo face to draw with, emboldened by cairo when asked; nullptr when FreeType cannot
    // load the file. Opened on first use and kept. Faces of outline fonts are shared by every
    // engine of the process (the same pointer for the same file and emboldening); colour fonts
    // get a face of their own.
    cairo_font_face_t* cairoFace(bool syntheticBold);
    // True for fonts with colour glyphs (bitmaps or layers). Cannot fail.
    bool colour() const { return colour_; }

private:
    FontFace() = default;
    cairo_font_face_t* sharedCairoFace(bool syntheticBold) const;
    cairo_font_face_t* ownedCairoFace(bool syntheticBold) const;
    FontFile file_;
    hb_font_t* hb_ = nullptr;
    double upem_ = 1000;
    FaceMetrics metrics_;
    std::shared_ptr<FreeTypeLibrary> freeType_;
    cairo_font_face_t* cairo_[2] = {nullptr, nullptr}; // regular, emboldened
    bool cairoFailed_ = false;
    bool colour_ = false;
};

} // namespace plotara::player
