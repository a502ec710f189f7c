#include "player/draw/TextEngine.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace plotara::player {

struct TextEngine::Impl {
    PangoContext* context = nullptr;
    PangoLayout* layout = nullptr; // reused for every text
    PangoFontDescription* desc = nullptr;
};

TextEngine::TextEngine() : impl_(std::make_unique<Impl>()) {
    PangoFontMap* map = pango_cairo_font_map_get_default();
    impl_->context = pango_font_map_create_context(map);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(impl_->context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(impl_->context, FALSE);
    impl_->layout = pango_layout_new(impl_->context);
    impl_->desc = pango_font_description_new();
}

TextEngine::~TextEngine() {
    pango_font_description_free(impl_->desc);
    g_object_unref(impl_->layout);
    g_object_unref(impl_->context);
}

namespace {

void setup(PangoLayout* layout, PangoFontDescription* desc, std::string_view text, const Font& font,
           double maxWidth) {
    pango_font_description_set_family(desc,
                                      font.family.empty() ? "DejaVu Sans" : font.family.c_str());
    double size = std::clamp(font.size, 1.0, 400.0);
    pango_font_description_set_absolute_size(desc, size * PANGO_SCALE);
    pango_font_description_set_weight(desc, font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(desc, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(layout, desc);
    // Very long texts are cut before pango sees them: no label needs more.
    std::size_t n = std::min<std::size_t>(text.size(), 4000);
    pango_layout_set_text(layout, text.data(), static_cast<int>(n));
    if (font.underline) {
        PangoAttrList* attrs = pango_attr_list_new();
        pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        pango_layout_set_attributes(layout, attrs);
        pango_attr_list_unref(attrs);
    } else {
        pango_layout_set_attributes(layout, nullptr);
    }
    if (maxWidth > 0) {
        pango_layout_set_width(layout, static_cast<int>(maxWidth * PANGO_SCALE));
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    } else {
        pango_layout_set_width(layout, -1);
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_NONE);
    }
    pango_layout_set_single_paragraph_mode(layout, TRUE);
}

Size logicalSize(PangoLayout* layout) {
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    return {static_cast<double>(logical.width) / PANGO_SCALE,
            static_cast<double>(logical.height) / PANGO_SCALE};
}

Point anchorOffset(const TextItem& item, Size s) {
    double ax = item.h == HAlign::Left ? 0 : item.h == HAlign::Center ? s.w / 2 : s.w;
    double ay = item.v == VAlign::Top ? 0 : item.v == VAlign::Middle ? s.h / 2 : s.h;
    return {ax, ay};
}

} // namespace

Size TextEngine::measure(std::string_view text, const Font& font, double maxWidth) {
    setup(impl_->layout, impl_->desc, text, font, maxWidth);
    return logicalSize(impl_->layout);
}

void TextEngine::place(TextItem& item) {
    Size s = measure(item.text, item.font, item.maxWidth);
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
    setup(impl_->layout, impl_->desc, item.text, item.font, item.maxWidth);
    PangoRectangle logical;
    pango_layout_get_extents(impl_->layout, nullptr, &logical);
    const Size s{static_cast<double>(logical.width) / PANGO_SCALE,
                 static_cast<double>(logical.height) / PANGO_SCALE};
    Point a = anchorOffset(item, s);
    cairo_save(cr);
    cairo_translate(cr, item.x, item.y);
    if (item.angle != 0) cairo_rotate(cr, item.angle * std::numbers::pi / 180);
    // A right-to-left paragraph in a layout of a given width starts at the width's right end
    // (logical.x > 0): the text is placed by its own extents, like any other.
    cairo_move_to(cr, -a.x - static_cast<double>(logical.x) / PANGO_SCALE,
                  -a.y - static_cast<double>(logical.y) / PANGO_SCALE);
    const Color& c = item.font.color;
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
    pango_cairo_show_layout(cr, impl_->layout);
    cairo_restore(cr);
}

} // namespace plotara::player
