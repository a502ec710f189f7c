// Text measuring and drawing: the pinned DejaVu files loaded with FreeType and HarfBuzz, no
// system font configuration read unless a character is in none of the listed fonts. Metrics are
// unhinted, so a text has the same size in PNG, SVG and PDF and at every device pixel ratio.
#pragma once

#include "player/draw/FontCatalog.h"
#include "player/draw/Scene.h"

#include <memory>

typedef struct _cairo cairo_t;

namespace plotara::player {

struct Size {
    double w = 0, h = 0;
};

// The pinned font a chart font is drawn with, for writers that name the font instead of drawing
// its glyphs.
struct PinnedFont {
    std::string family; // "DejaVu Sans", "DejaVu Serif" or "DejaVu Sans Mono"
    FontFile file;      // empty path when the pinned file is missing
};

class TextEngine {
public:
    // Uses the installed fonts (FontCatalog::standard()). Cannot fail; nothing is opened yet.
    TextEngine();
    // Uses the given fonts (tests, hosts with their own copy of the fonts). Cannot fail.
    explicit TextEngine(FontCatalog catalog);
    ~TextEngine();
    TextEngine(const TextEngine&) = delete;
    TextEngine& operator=(const TextEngine&) = delete;

    // The logical size of one line of text (maxWidth > 0 ellipsizes). Cannot fail; bytes that
    // are not UTF-8 are measured as U+FFFD.
    Size measure(std::string_view text, const Font& font, double maxWidth = 0);
    // The size a placed item is drawn at. Cannot fail.
    Size measure(const TextItem& item);
    // Fits the item's text to its maxWidth (a wider text becomes its longest beginning that fits
    // with an ellipsis, its whole text kept in fullText; placing again starts from the whole
    // text), then fills in item.box from the anchor, alignment and angle. Cannot fail.
    void place(TextItem& item);
    // Draws a placed item on a cairo context. Cannot fail.
    void draw(cairo_t* cr, const TextItem& item);
    // The pinned family and file a font is drawn with (characters the pinned font lacks come from
    // the fallbacks). Cannot fail.
    PinnedFont pinnedFont(const Font& font);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace plotara::player
