// Buys: `plotara types` in 1.3 ms instead of 2.0, the 4 x 1,000 line SVG 3 to 4% sooner at 2 to 4%
// less CPU; measured: 150 interleaved runs of each program under SCHED_FIFO, medians, 2026-12-07.
// The plotara program's HarfBuzz functions, each forwarding to the shared library opened at the
// first call (or by ShaperPreload ahead of it). The program names no HarfBuzz library at link
// time, so its start loads neither HarfBuzz nor the eight libraries under it; only this file is
// built into the program (plotara-view, the libraries and the tests link HarfBuzz as usual).
#include "apps/ShaperPreload.h"

#include <dlfcn.h>
#include <hb-ot.h>
#include <hb.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The opened library; a program that cannot open it stops as the dynamic loader would have.
void* shaper() {
    static void* const handle = [] {
        void* opened = ::dlopen(plotara::apps::shaperLibrary, RTLD_LAZY | RTLD_LOCAL);
        if (opened == nullptr) {
            std::fprintf(stderr, "plotara: cannot load %s: %s\n", plotara::apps::shaperLibrary,
                         ::dlerror());
            std::_Exit(127);
        }
        return opened;
    }();
    return handle;
}

template <class F>
F* function(const char* name) {
    void* found = ::dlsym(shaper(), name);
    if (found == nullptr) {
        std::fprintf(stderr, "plotara: %s has no %s\n", plotara::apps::shaperLibrary, name);
        std::_Exit(127);
    }
    return reinterpret_cast<F*>(found);
}

} // namespace

// Defines NAME(PARAMETERS) as a call of the library's NAME(ARGUMENTS), looked up once.
#define PLOTARA_FORWARD(result, name, parameters, arguments)                                       \
    extern "C" result name parameters {                                                            \
        static auto* const forward = function<decltype(::name)>(#name);                            \
        return forward arguments;                                                                  \
    }

PLOTARA_FORWARD(hb_blob_t*, hb_blob_create_from_file_or_fail, (const char* file), (file))
PLOTARA_FORWARD(void, hb_blob_destroy, (hb_blob_t * blob), (blob))
PLOTARA_FORWARD(void, hb_buffer_add_utf32,
                (hb_buffer_t * buffer, const uint32_t* text, int length, unsigned int offset,
                 int itemLength),
                (buffer, text, length, offset, itemLength))
PLOTARA_FORWARD(void, hb_buffer_clear_contents, (hb_buffer_t * buffer), (buffer))
PLOTARA_FORWARD(hb_buffer_t*, hb_buffer_create, (), ())
PLOTARA_FORWARD(void, hb_buffer_destroy, (hb_buffer_t * buffer), (buffer))
PLOTARA_FORWARD(hb_glyph_info_t*, hb_buffer_get_glyph_infos,
                (hb_buffer_t * buffer, unsigned int* length), (buffer, length))
PLOTARA_FORWARD(hb_glyph_position_t*, hb_buffer_get_glyph_positions,
                (hb_buffer_t * buffer, unsigned int* length), (buffer, length))
PLOTARA_FORWARD(void, hb_buffer_set_direction, (hb_buffer_t * buffer, hb_direction_t direction),
                (buffer, direction))
PLOTARA_FORWARD(void, hb_buffer_set_script, (hb_buffer_t * buffer, hb_script_t script),
                (buffer, script))
PLOTARA_FORWARD(hb_face_t*, hb_face_create, (hb_blob_t * blob, unsigned int index), (blob, index))
PLOTARA_FORWARD(void, hb_face_destroy, (hb_face_t * face), (face))
PLOTARA_FORWARD(unsigned int, hb_face_get_glyph_count, (const hb_face_t* face), (face))
PLOTARA_FORWARD(unsigned int, hb_face_get_upem, (const hb_face_t* face), (face))
PLOTARA_FORWARD(hb_font_t*, hb_font_create, (hb_face_t * face), (face))
PLOTARA_FORWARD(void, hb_font_destroy, (hb_font_t * font), (font))
PLOTARA_FORWARD(hb_bool_t, hb_font_get_h_extents, (hb_font_t * font, hb_font_extents_t* extents),
                (font, extents))
PLOTARA_FORWARD(hb_bool_t, hb_font_get_nominal_glyph,
                (hb_font_t * font, hb_codepoint_t unicode, hb_codepoint_t* glyph),
                (font, unicode, glyph))
PLOTARA_FORWARD(void, hb_font_make_immutable, (hb_font_t * font), (font))
PLOTARA_FORWARD(void, hb_font_set_scale, (hb_font_t * font, int x, int y), (font, x, y))
PLOTARA_FORWARD(hb_bool_t, hb_ot_color_has_layers, (hb_face_t * face), (face))
PLOTARA_FORWARD(hb_bool_t, hb_ot_color_has_png, (hb_face_t * face), (face))
PLOTARA_FORWARD(void, hb_ot_font_set_funcs, (hb_font_t * font), (font))
PLOTARA_FORWARD(hb_bool_t, hb_ot_metrics_get_position,
                (hb_font_t * font, hb_ot_metrics_tag_t tag, hb_position_t* position),
                (font, tag, position))
PLOTARA_FORWARD(void, hb_shape,
                (hb_font_t * font, hb_buffer_t* buffer, const hb_feature_t* features,
                 unsigned int count),
                (font, buffer, features, count))
PLOTARA_FORWARD(hb_unicode_funcs_t*, hb_unicode_funcs_get_default, (), ())
PLOTARA_FORWARD(hb_unicode_general_category_t, hb_unicode_general_category,
                (hb_unicode_funcs_t * funcs, hb_codepoint_t unicode), (funcs, unicode))
PLOTARA_FORWARD(hb_script_t, hb_unicode_script,
                (hb_unicode_funcs_t * funcs, hb_codepoint_t unicode), (funcs, unicode))
