// Text measuring and drawing with pango. Metrics are unhinted, so a text has the same size in
// PNG, SVG and PDF and at every device pixel ratio.
#pragma once

#include "player/draw/Scene.h"

#include <memory>

typedef struct _cairo cairo_t;

namespace plotara::player {

struct Size {
    double w = 0, h = 0;
};

class TextEngine {
public:
    TextEngine();
    ~TextEngine();
    TextEngine(const TextEngine&) = delete;
    TextEngine& operator=(const TextEngine&) = delete;

    // The logical size of one line of text (maxWidth > 0 ellipsizes). Cannot fail; text that is
    // not UTF-8 is measured after pango's replacement of the bad bytes.
    Size measure(std::string_view text, const Font& font, double maxWidth = 0);
    // Fills in item.box from the item's anchor, alignment and angle. Cannot fail.
    void place(TextItem& item);
    // Draws a placed item on a cairo context. Cannot fail.
    void draw(cairo_t* cr, const TextItem& item);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace plotara::player
