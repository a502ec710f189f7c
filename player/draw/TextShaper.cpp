#include "player/draw/TextShaper.h"

#include "player/draw/TextRuns.h"
#include "player/util/TextUtil.h"

#include <harfbuzz/hb.h>

#include <algorithm>
#include <memory>

namespace plotara::player {

namespace {

using Buffer = std::unique_ptr<hb_buffer_t, decltype(&hb_buffer_destroy)>;

// Shapes one run with the whole line as context (Arabic letters join across a face change).
GlyphRun shapeRun(hb_buffer_t* buf, const std::u32string& text, const TextRun& run, double size) {
    hb_buffer_clear_contents(buf);
    hb_buffer_add_utf32(buf, reinterpret_cast<const uint32_t*>(text.data()),
                        static_cast<int>(text.size()), static_cast<unsigned>(run.start),
                        static_cast<int>(run.length));
    hb_buffer_set_direction(buf, run.level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    hb_buffer_set_script(buf, static_cast<hb_script_t>(run.script));
    // No language: the same glyphs whatever the host's locale (and no setlocale call, which is
    // not safe while other threads draw).
    hb_shape(run.face.face->hbFont(), buf, nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buf, &count);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buf, &count);
    const double scale = size / run.face.face->unitsPerEm();
    GlyphRun out;
    out.face = run.face;
    out.glyphs.reserve(count);
    double pen = 0;
    for (unsigned i = 0; i < count; ++i) {
        out.glyphs.push_back({info[i].codepoint, info[i].cluster, pen + pos[i].x_offset * scale,
                              -pos[i].y_offset * scale});
        pen += pos[i].x_advance * scale;
    }
    out.width = pen;
    return out;
}

ShapedLine shapeText(FontSet& fonts, hb_buffer_t* buf, const std::u32string& text,
                     const FaceChoice& primary, bool bold, bool italic, double size) {
    ShapedLine line;
    const std::vector<TextRun> runs = itemize(text, fonts, primary, bold, italic);
    std::vector<GlyphRun> shaped;
    shaped.reserve(runs.size());
    for (const TextRun& run : runs) {
        if (!run.face.face) continue; // no font at all
        shaped.push_back(shapeRun(buf, text, run, size));
        line.ascent = std::max(line.ascent, run.face.face->metrics().ascent * size);
        line.descent = std::max(line.descent, run.face.face->metrics().descent * size);
    }
    if (shaped.size() == runs.size()) {
        for (std::size_t i : visualOrder(runs)) {
            shaped[i].x = line.width;
            line.width += shaped[i].width;
            line.runs.push_back(std::move(shaped[i]));
        }
    }
    if (line.runs.empty() && primary.face) {
        line.ascent = primary.face->metrics().ascent * size;
        line.descent = primary.face->metrics().descent * size;
    }
    return line;
}

// Where a text may be cut: not before a mark, a variation selector or a skin tone, nor on either
// side of a zero-width joiner, which all belong to the character before them.
bool cuttableBefore(const std::u32string& text, std::size_t i) {
    if (i == 0 || i >= text.size()) return true;
    const char32_t c = text[i];
    if (c == 0x200D || text[i - 1] == 0x200D || (c >= 0xFE00 && c <= 0xFE0F) ||
        (c >= 0x1F3FB && c <= 0x1F3FF))
        return false;
    auto cat = hb_unicode_general_category(hb_unicode_funcs_get_default(), c);
    return cat != HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK &&
           cat != HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK &&
           cat != HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK;
}

// Widens the ellipsis (the last code point) to fill the line to the width: everything to its
// right moves over.
void padEllipsis(ShapedLine& line, std::size_t ellipsis, double width) {
    const double extra = width - line.width;
    if (extra <= 0) return;
    double at = line.width;
    for (const GlyphRun& run : line.runs)
        for (const ShapedGlyph& g : run.glyphs)
            if (g.cluster == ellipsis) at = run.x + g.x;
    for (GlyphRun& run : line.runs) {
        if (run.x > at) {
            run.x += extra;
            continue;
        }
        for (ShapedGlyph& g : run.glyphs)
            if (run.x + g.x > at) g.x += extra;
    }
    line.width = width;
}

// The UTF-8 form of code points. Cannot fail beyond allocation.
std::string encodeUtf8(const std::u32string& text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c == 0)
            out += '\0'; // utf8Of gives nothing for it
        else
            out += utf8Of(c);
    }
    return out;
}

// The text's first code points (at most 4000 bytes of it: no label needs more).
std::u32string decodeStart(std::string_view text) {
    return decodeUtf8(text.substr(0, std::min<std::size_t>(text.size(), 4000)));
}

} // namespace

FittedText fitLine(FontSet& fonts, std::string_view text, const FaceChoice& primary, bool bold,
                   bool italic, double size, double maxWidth) {
    const std::u32string all = decodeStart(text);
    Buffer buf(hb_buffer_create(), &hb_buffer_destroy);
    if (maxWidth <= 0 ||
        shapeText(fonts, buf.get(), all, primary, bold, italic, size).width <= maxWidth)
        return {std::string(text), false};
    // The longest beginning that fits with the ellipsis: the widths of the beginnings grow with
    // their length (shaping can change a few glyphs at the cut), so search, then step back.
    std::size_t lo = 0, hi = all.size();
    auto fits = [&](std::size_t keep) {
        std::u32string cut = all.substr(0, keep) + U'\u2026';
        return shapeText(fonts, buf.get(), cut, primary, bold, italic, size).width <= maxWidth;
    };
    while (lo < hi) {
        std::size_t mid = (lo + hi + 1) / 2;
        if (fits(mid)) {
            lo = mid;
        } else {
            hi = mid - 1;
        }
    }
    while (lo > 0 && !cuttableBefore(all, lo))
        --lo;
    return {encodeUtf8(all.substr(0, lo) + U'\u2026'), true};
}

ShapedLine shapeShortened(FontSet& fonts, std::string_view shortened, const FaceChoice& primary,
                          bool bold, bool italic, double size, double width) {
    const std::u32string all = decodeStart(shortened);
    Buffer buf(hb_buffer_create(), &hb_buffer_destroy);
    ShapedLine line = shapeText(fonts, buf.get(), all, primary, bold, italic, size);
    if (!all.empty()) padEllipsis(line, all.size() - 1, width);
    return line;
}

ShapedLine shapeLine(FontSet& fonts, std::string_view text, const FaceChoice& primary, bool bold,
                     bool italic, double size, double maxWidth) {
    const FittedText fitted = fitLine(fonts, text, primary, bold, italic, size, maxWidth);
    if (fitted.shortened)
        return shapeShortened(fonts, fitted.text, primary, bold, italic, size, maxWidth);
    Buffer buf(hb_buffer_create(), &hb_buffer_destroy);
    return shapeText(fonts, buf.get(), decodeStart(text), primary, bold, italic, size);
}

} // namespace plotara::player
