#include "player/draw/TextEngine.h"

#include "player/draw/FontSet.h"
#include "player/draw/ShapeCache.h"
#include "player/draw/TextShaper.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace plotara::player {

struct TextEngine::Impl {
    explicit Impl(FontCatalog catalog) : fonts(std::move(catalog)) {}
    FontSet fonts;
    ShapeCache shaped;
    std::vector<cairo_glyph_t> glyphs; // reused for every run
};

TextEngine::TextEngine() : TextEngine(FontCatalog::standard()) {}

TextEngine::TextEngine(FontCatalog catalog) : impl_(std::make_unique<Impl>(std::move(catalog))) {}

TextEngine::~TextEngine() = default;

namespace {

double clampedSize(const Font& font) {
    return std::clamp(font.size, 1.0, 400.0);
}

const ShapedLine& shape(ShapeCache& cache, FontSet& fonts, std::string_view text, const Font& font,
                        double maxWidth) {
    const double size = clampedSize(font);
    return cache.get(text, font, size, ShapeCache::Mode::Fitted, std::max(maxWidth, 0.0), [&] {
        const FaceChoice primary = fonts.primary(font.family, font.bold, font.italic);
        return shapeLine(fonts, text, primary, font.bold, font.italic, size, maxWidth);
    });
}

// The line of a placed item: its text as drawn, a shortened one as wide as its maxWidth.
const ShapedLine& shapeItem(ShapeCache& cache, FontSet& fonts, const TextItem& item) {
    const Font& font = item.font;
    if (item.fullText.empty() || item.maxWidth <= 0) return shape(cache, fonts, item.text, font, 0);
    const double size = clampedSize(font);
    return cache.get(item.text, font, size, ShapeCache::Mode::Shortened, item.maxWidth, [&] {
        const FaceChoice primary = fonts.primary(font.family, font.bold, font.italic);
        return shapeShortened(fonts, item.text, primary, font.bold, font.italic, size,
                              item.maxWidth);
    });
}

Point anchorOffset(const TextItem& item, Size s) {
    double ax = item.h == HAlign::Left ? 0 : item.h == HAlign::Center ? s.w / 2 : s.w;
    double ay = item.v == VAlign::Top ? 0 : item.v == VAlign::Middle ? s.h / 2 : s.h;
    return {ax, ay};
}

void setFontOptions(cairo_t* cr) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

// Draws one run with its baseline at y = baseline; a synthesized italic slants the glyphs by the
// usual 0.2 shear.
void drawRun(cairo_t* cr, const GlyphRun& run, double size, double baseline,
             std::vector<cairo_glyph_t>& glyphs) {
    cairo_font_face_t* face = run.face.face->cairoFace(run.face.syntheticBold);
    if (!face || run.glyphs.empty()) return;
    cairo_set_font_face(cr, face);
    cairo_matrix_t m;
    cairo_matrix_init(&m, size, 0, run.face.syntheticItalic ? -0.2 * size : 0, size, 0, 0);
    cairo_set_font_matrix(cr, &m);
    glyphs.clear();
    for (const ShapedGlyph& g : run.glyphs)
        glyphs.push_back({g.index, run.x + g.x, baseline + g.y});
    cairo_show_glyphs(cr, glyphs.data(), static_cast<int>(glyphs.size()));
}

void drawUnderline(cairo_t* cr, const ShapedLine& line, const FaceChoice& primary, double size,
                   double baseline) {
    if (!primary.face || line.width <= 0) return;
    const FaceMetrics& m = primary.face->metrics();
    cairo_rectangle(cr, 0, baseline - m.underlinePosition * size, line.width,
                    m.underlineThickness * size);
    cairo_fill(cr);
}

} // namespace

Size TextEngine::measure(std::string_view text, const Font& font, double maxWidth) {
    const ShapedLine& line = shape(impl_->shaped, impl_->fonts, text, font, maxWidth);
    return {line.width, line.ascent + line.descent};
}

Size TextEngine::measure(const TextItem& item) {
    const ShapedLine& line = shapeItem(impl_->shaped, impl_->fonts, item);
    return {line.width, line.ascent + line.descent};
}

void TextEngine::place(TextItem& item) {
    if (!item.fullText.empty()) {
        item.text = std::move(item.fullText);
        item.fullText.clear();
    }
    if (item.maxWidth > 0) {
        const Font& font = item.font;
        const FaceChoice primary = impl_->fonts.primary(font.family, font.bold, font.italic);
        FittedText fitted = fitLine(impl_->fonts, item.text, primary, font.bold, font.italic,
                                    clampedSize(font), item.maxWidth);
        if (fitted.shortened) {
            item.fullText = std::move(item.text);
            item.text = std::move(fitted.text);
        }
    }
    Size s = measure(item);
    Point a = anchorOffset(item, s);
    double rad = item.angle * std::numbers::pi / 180;
    double c = std::cos(rad), sn = std::sin(rad);
    const Point corners[4] = {
        {-a.x, -a.y}, {s.w - a.x, -a.y}, {-a.x, s.h - a.y}, {s.w - a.x, s.h - a.y}};
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (const Point& p : corners) {
        double x = item.x + p.x * c - p.y * sn;
        double y = item.y + p.x * sn + p.y * c;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    item.box = {minX, minY, maxX - minX, maxY - minY};
}

void TextEngine::draw(cairo_t* cr, const TextItem& item) {
    const Font& font = item.font;
    const ShapedLine& line = shapeItem(impl_->shaped, impl_->fonts, item);
    const Size s{line.width, line.ascent + line.descent};
    const Point a = anchorOffset(item, s);
    const double size = clampedSize(font);
    cairo_save(cr);
    cairo_translate(cr, item.x, item.y);
    if (item.angle != 0) cairo_rotate(cr, item.angle * std::numbers::pi / 180);
    cairo_translate(cr, -a.x, -a.y);
    setFontOptions(cr);
    const Color& c = font.color;
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
    for (const GlyphRun& run : line.runs)
        drawRun(cr, run, size, line.ascent, impl_->glyphs);
    if (font.underline)
        drawUnderline(cr, line, impl_->fonts.primary(font.family, font.bold, font.italic), size,
                      line.ascent);
    cairo_restore(cr);
}

PinnedFont TextEngine::pinnedFont(const Font& font) {
    const PinnedFamily family = pinnedFamilyFor(font.family);
    return {pinnedFamilyName(family), impl_->fonts.pinnedFile(family, font.bold, font.italic)};
}

} // namespace plotara::player
