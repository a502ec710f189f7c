// Text without the system font configuration: which file a chart font is, what a missing file or a
// missing glyph does, malformed UTF-8, right-to-left order and placement, and ellipsizing.
#include "player/draw/TextEngine.h"
#include "player/draw/TextRuns.h"
#include "player/draw/TextShaper.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <harfbuzz/hb.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace plotara::player {
namespace {

// A catalogue with no fallbacks and no system fonts: only the pinned DejaVu files.
FontCatalog pinnedOnly() {
    FontCatalog c = FontCatalog::standard();
    c.fallbacks.clear();
    c.systemLastResort = false;
    return c;
}

unsigned glyphOf(const FaceChoice& face, char32_t c) {
    hb_codepoint_t g = 0;
    hb_font_get_nominal_glyph(face.face->hbFont(), c, &g);
    return g;
}

// The leftmost, rightmost, top and bottom rows and columns with ink, -1 when blank.
struct Ink {
    int left = -1, right = -1, top = -1, bottom = -1;
};

// The ink of the item drawn by the engine on a clear surface of the size.
Ink drawnInk(TextEngine& engine, const TextItem& item, int width, int height) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(s);
    engine.draw(cr, item);
    EXPECT_EQ(cairo_status(cr), CAIRO_STATUS_SUCCESS);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    Ink ink;
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* d = cairo_image_surface_get_data(s);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (d[y * stride + x * 4 + 3] > 64) {
                if (ink.left < 0 || x < ink.left) ink.left = x;
                ink.right = std::max(ink.right, x);
                if (ink.top < 0) ink.top = y;
                ink.bottom = y;
            }
    cairo_surface_destroy(s);
    return ink;
}

TEST(PlayerFonts, ChartFontNamesStandForAPinnedFamily) {
    const struct {
        const char* name;
        PinnedFamily family;
    } cases[] = {{"", PinnedFamily::Sans},
                 {"Arial", PinnedFamily::Sans},
                 {"VERDANA", PinnedFamily::Sans},
                 {"Microsoft Sans Serif", PinnedFamily::Sans},
                 {"DejaVu Serif", PinnedFamily::Serif},
                 {"Times New Roman", PinnedFamily::Serif},
                 {"serif", PinnedFamily::Serif},
                 {"Courier New", PinnedFamily::Mono},
                 {"DejaVu Sans Mono", PinnedFamily::Mono},
                 {"monospace", PinnedFamily::Mono}};
    for (const auto& c : cases)
        EXPECT_EQ(pinnedFamilyFor(c.name), c.family) << c.name;
    EXPECT_EQ(pinnedFileName(PinnedFamily::Sans, true, true), "DejaVuSans-BoldOblique.ttf");
    EXPECT_EQ(pinnedFileName(PinnedFamily::Serif, false, true), "DejaVuSerif-Italic.ttf");
    EXPECT_EQ(pinnedFileName(PinnedFamily::Mono, true, false), "DejaVuSansMono-Bold.ttf");
    EXPECT_EQ(pinnedFileName(PinnedFamily::Sans, false, false), "DejaVuSans.ttf");

    TextEngine engine;
    Font font;
    font.family = "Georgia";
    PinnedFont pinned = engine.pinnedFont(font);
    EXPECT_EQ(pinned.family, "DejaVu Serif");
    EXPECT_TRUE(std::filesystem::is_regular_file(pinned.file.path)) << pinned.file.path;
}

TEST(PlayerFonts, MalformedUtf8BecomesOneReplacementPerBadByte) {
    const struct {
        const char* bytes;
        std::u32string expected;
    } cases[] = {
        {"a\xC3\xA9z", U"a\u00E9z"},
        {"\xE2\x82\xAC\xF0\x9F\x98\x80", U"\u20AC\U0001F600"},
        {"a\x80z", U"a\uFFFDz"},                           // a lone continuation byte
        {"a\xE2\x82", U"a\uFFFD\uFFFD"},                   // cut short at the end
        {"\xC0\xAF", U"\uFFFD\uFFFD"},                     // overlong "/"
        {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},           // a surrogate
        {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"}, // past U+10FFFF
        {"\xFF\x62", U"\uFFFDb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeUtf8(c.bytes), c.expected) << c.bytes;
    TextEngine engine;
    Font font;
    EXPECT_DOUBLE_EQ(engine.measure("a\xFF\x62", font).w,
                     engine.measure("a\xEF\xBF\xBD\x62", font).w);
}

TEST(PlayerFonts, MetricsAreUnhintedAndScaleWithTheSize) {
    TextEngine engine;
    Font small, large;
    large.size = 3 * small.size;
    for (const char* text : {"Revenue 2008", "iiii", "WAVE", "\xD7\xA2\xD7\x91\xD7\xA8"}) {
        const Size a = engine.measure(text, small), b = engine.measure(text, large);
        EXPECT_GT(a.w, 0) << text;
        EXPECT_NEAR(b.w, 3 * a.w, 1e-9) << text;
        EXPECT_NEAR(b.h, 3 * a.h, 1e-9) << text;
    }
    // DejaVu Sans: ascender 1901 and descender 483 of 2048 units, bold or not (the SVG's
    // baselines sit at the ascender's share of the line).
    EXPECT_DOUBLE_EQ(engine.measure("Ag", small).h, 10.0 * (1901 + 483) / 2048);
    large.bold = true;
    EXPECT_NEAR(engine.measure("Hg", large).h, 30.0 * (1901 + 483) / 2048, 1e-9);
    // Kerning applies: "AV" is narrower than its letters apart.
    EXPECT_LT(engine.measure("AV", small).w,
              engine.measure("A", small).w + engine.measure("V", small).w - 0.1);
}

TEST(PlayerFonts, AMissingPinnedFileFallsBackOrDrawsNothing) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("plotara-fonts-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    Font font;
    font.bold = true;
    Size real = TextEngine(pinnedOnly()).measure("Total", font);
    {
        // Nothing at all: no width, no height, nothing drawn, no crash.
        FontCatalog none = pinnedOnly();
        none.directories = {dir.string()};
        TextEngine engine(none);
        EXPECT_EQ(engine.measure("Total", font).w, 0);
        EXPECT_EQ(engine.pinnedFont(font).file.path, "");
        TextItem item;
        item.text = "Total";
        item.x = item.y = 10;
        EXPECT_EQ(drawnInk(engine, item, 50, 20).left, -1);
    }
    {
        // Only the regular file: bold is drawn emboldened from it, with the regular's metrics.
        std::filesystem::copy_file(TextEngine().pinnedFont(Font{}).file.path,
                                   dir / "DejaVuSans.ttf");
        FontCatalog regular = pinnedOnly();
        regular.directories = {dir.string()};
        FontSet fonts(regular);
        FaceChoice bold = fonts.primary("Arial", true, false);
        ASSERT_NE(bold.face, nullptr);
        EXPECT_TRUE(bold.syntheticBold);
        EXPECT_FALSE(bold.syntheticItalic);
        Font plain;
        EXPECT_DOUBLE_EQ(TextEngine(regular).measure("Total", font).w,
                         TextEngine(pinnedOnly()).measure("Total", plain).w);
        EXPECT_NE(TextEngine(regular).measure("Total", font).w, real.w);
    }
    {
        // A file that is not a font is skipped like a missing one.
        std::filesystem::remove(dir / "DejaVuSans.ttf");
        std::FILE* f = std::fopen((dir / "DejaVuSans.ttf").c_str(), "w");
        std::fputs("not a font", f);
        std::fclose(f);
        FontCatalog broken = pinnedOnly();
        broken.directories = {dir.string()};
        EXPECT_EQ(FontSet(broken).primary("", false, false).face, nullptr);
    }
    std::filesystem::remove_all(dir);
}

TEST(PlayerFonts, AFontSetLooksEachPinnedFileUpOnce) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("plotara-pinned-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const FontCatalog standard = pinnedOnly();
    FontCatalog copied = pinnedOnly();
    copied.directories = {dir.string()};
    for (bool bold : {false, true})
        std::filesystem::copy_file(standard.pinnedFile(PinnedFamily::Sans, bold, false).path,
                                   dir / pinnedFileName(PinnedFamily::Sans, bold, false));
    FontSet fonts(copied);
    // Every family and style, asked twice in turn: the set answers as the catalogue does.
    for (int round = 0; round < 2; ++round)
        for (PinnedFamily family : {PinnedFamily::Sans, PinnedFamily::Serif, PinnedFamily::Mono})
            for (bool bold : {false, true})
                for (bool italic : {false, true}) {
                    const FontFile& file = fonts.pinnedFile(family, bold, italic);
                    EXPECT_EQ(file, copied.pinnedFile(family, bold, italic))
                        << pinnedFileName(family, bold, italic) << " round " << round;
                    const bool present = family == PinnedFamily::Sans && !italic;
                    EXPECT_EQ(file.path.empty(), !present) << pinnedFileName(family, bold, italic);
                }
    // A file that goes away later is still the set's; a new set no longer finds it.
    std::filesystem::remove(dir / pinnedFileName(PinnedFamily::Sans, true, false));
    EXPECT_EQ(fonts.pinnedFile(PinnedFamily::Sans, true, false).path,
              (dir / "DejaVuSans-Bold.ttf").string());
    EXPECT_EQ(FontSet(copied).pinnedFile(PinnedFamily::Sans, true, false).path, "");
    std::filesystem::remove_all(dir);
}

TEST(PlayerFonts, CharactersDejaVuLacksComeFromTheFallbacksInOrder) {
    FontSet fonts(FontCatalog::standard());
    const FaceChoice primary = fonts.primary("", false, false);
    ASSERT_NE(primary.face, nullptr);
    const struct {
        char32_t c;
        const char* file; // part of the path of the face that draws it
    } cases[] = {{U'A', "DejaVuSans.ttf"},
                 {U'\u05D0', "DejaVuSans.ttf"},   // Hebrew: DejaVu has it
                 {U'\u4E2D', "wqy-microhei"},     // CJK
                 {U'\uD55C', "wqy-microhei"},     // Hangul
                 {U'\u0E44', "Garuda"},           // Thai
                 {U'\u0939', "Lohit-Devanagari"}, // Devanagari
                 {U'\U0001F389', "NotoColorEmoji"}};
    for (const auto& c : cases) {
        const FaceChoice f = fonts.faceFor(primary, false, false, c.c);
        ASSERT_NE(f.face, nullptr);
        EXPECT_NE(f.face->file().path.find(c.file), std::string::npos)
            << std::hex << static_cast<unsigned>(c.c) << " from " << f.face->file().path;
    }
    // Pictographs are shown as emoji even where DejaVu draws them as text, and so is a symbol
    // that asks for it with U+FE0F; without it the symbol stays text.
    for (const char* text : {"a\xF0\x9F\x98\x80", "a\xE2\x98\x80\xEF\xB8\x8F", "a\xE2\x98\x80"}) {
        const std::vector<TextRun> runs = itemize(decodeUtf8(text), fonts, primary, false, false);
        const bool emoji = std::string(text).size() != 4;
        ASSERT_EQ(runs.size(), emoji ? 2u : 1u) << text;
        EXPECT_EQ(runs.back().face.face->file().path.find("NotoColorEmoji") != std::string::npos,
                  emoji)
            << text;
    }
    // A bold request of a fallback without a bold file is emboldened in drawing.
    EXPECT_TRUE(
        fonts.faceFor(fonts.primary("", true, false), true, false, U'\u4E2D').syntheticBold);

    // A character no font has (a private-use one) stays with the primary face, whose
    // missing-glyph box keeps its place in the line.
    FontSet pinned(pinnedOnly());
    const FaceChoice p = pinned.primary("", false, false);
    EXPECT_EQ(pinned.faceFor(p, false, false, U'\U0010FFFD'), p);
    const ShapedLine line = shapeLine(pinned, "a\xF4\x8F\xBF\xBD\x62", p, false, false, 10, 0);
    ASSERT_EQ(line.runs.size(), 1u);
    ASSERT_EQ(line.runs[0].glyphs.size(), 3u);
    EXPECT_EQ(line.runs[0].glyphs[1].index, 0u);
    EXPECT_GT(line.runs[0].glyphs[2].x, line.runs[0].glyphs[1].x);
}

TEST(PlayerFonts, EnginesShareTheCairoFaceOfAFile) {
    // Two engines (each player has its own) drawing the same file get the same cairo face, so
    // cairo's scaled fonts and glyph caches are not made again for every player.
    FontSet first(FontCatalog::standard()), second(FontCatalog::standard());
    for (const char32_t c : {U'A', U'\u4E2D'}) {
        const FaceChoice a = first.faceFor(first.primary("", false, false), false, false, c);
        const FaceChoice b = second.faceFor(second.primary("", false, false), false, false, c);
        ASSERT_NE(a.face, b.face); // separate engines open the file each
        EXPECT_FALSE(a.face->colour());
        cairo_font_face_t* regular = a.face->cairoFace(false);
        ASSERT_NE(regular, nullptr);
        EXPECT_EQ(cairo_font_face_status(regular), CAIRO_STATUS_SUCCESS);
        EXPECT_EQ(regular, b.face->cairoFace(false)) << a.face->file().path;
        // Emboldening is a face of its own, shared the same way.
        cairo_font_face_t* bold = a.face->cairoFace(true);
        EXPECT_NE(bold, regular);
        EXPECT_EQ(bold, b.face->cairoFace(true));
    }
    // Colour fonts keep a face per engine, loaded with colour glyphs.
    const FaceChoice e =
        first.faceFor(first.primary("", false, false), false, false, U'\U0001F389', true);
    ASSERT_NE(e.face, nullptr);
    EXPECT_TRUE(e.face->colour());
    EXPECT_NE(e.face->cairoFace(false), nullptr);
}

TEST(PlayerFonts, RunsFollowCoverageAndBidiLevels) {
    FontSet fonts(FontCatalog::standard());
    const FaceChoice primary = fonts.primary("", false, false);
    const std::vector<TextRun> mixed =
        itemize(decodeUtf8("Sales \xE4\xB8\xAD\xE6\x96\x87 2008"), fonts, primary, false, false);
    ASSERT_EQ(mixed.size(), 3u);
    EXPECT_EQ(mixed[0].face, primary);
    EXPECT_NE(mixed[1].face, primary);
    EXPECT_EQ(mixed[1].start, 6u);
    EXPECT_EQ(mixed[1].length, 2u);
    EXPECT_EQ(mixed[2].face, primary);

    // A Hebrew paragraph with a number inside: the number reads left to right, the runs right to
    // left.
    const std::vector<TextRun> rtl =
        itemize(decodeUtf8("\xD7\x90\xD7\x91 12 \xD7\x92\xD7\x93"), fonts, primary, false, false);
    ASSERT_EQ(rtl.size(), 3u);
    EXPECT_EQ(rtl[0].level, 1);
    EXPECT_EQ(rtl[1].level, 2);
    EXPECT_EQ(visualOrder(rtl), (std::vector<std::size_t>{2, 1, 0}));
    // Latin with a Hebrew word: only the word turns.
    const std::vector<TextRun> ltr =
        itemize(decodeUtf8("go \xD7\x90\xD7\x91 now"), fonts, primary, false, false);
    const std::vector<std::size_t> order = visualOrder(ltr);
    EXPECT_GE(order.size(), 3u);
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));

    // In a shaped Hebrew word the first letter is the rightmost glyph.
    const ShapedLine word =
        shapeLine(fonts, "\xD7\x90\xD7\x91\xD7\x92", primary, false, false, 10, 0);
    ASSERT_EQ(word.runs.size(), 1u);
    const auto& g = word.runs[0].glyphs;
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[2].index, glyphOf(primary, U'\u05D0'));
    EXPECT_EQ(g[0].index, glyphOf(primary, U'\u05D2'));
    // Arabic letters join: no glyph of a joined word is its letter's isolated form.
    const ShapedLine arabic =
        shapeLine(fonts, "\xD8\xB3\xD9\x86\xD8\xA9", primary, false, false, 10, 0);
    ASSERT_EQ(arabic.runs.size(), 1u);
    EXPECT_NE(arabic.runs[0].glyphs.back().index, glyphOf(primary, U'\u0633'));
}

TEST(PlayerFonts, EllipsizingKeepsTheLongestBeginningThatFits) {
    TextEngine engine(pinnedOnly());
    FontSet fonts(pinnedOnly());
    const FaceChoice primary = fonts.primary("", false, false);
    Font font;
    const double ellipsis = engine.measure("\xE2\x80\xA6", font).w;
    const char* hebrew = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D "
                         "\xD7\x92\xD7\x93\xD7\x95\xD7\x9C";
    for (const char* text : {"Month number 12 of 2008", hebrew}) {
        const double full = engine.measure(text, font).w;
        for (double width : {full + 1, full - 1, full / 2, 20.0, 1.0}) {
            SCOPED_TRACE(std::string(text) + " in " + std::to_string(width));
            const ShapedLine line = shapeLine(fonts, text, primary, false, false, 10, width);
            EXPECT_DOUBLE_EQ(engine.measure(text, font, width).w, line.width);
            if (width >= full) {
                EXPECT_DOUBLE_EQ(line.width, full);
                continue;
            }
            // An ellipsized line fills the width (or is the ellipsis alone); its glyphs fit, and
            // one character more (none is 10 px wide at 10 px) would not have.
            EXPECT_DOUBLE_EQ(line.width, std::max(width, ellipsis));
            double inked = 0;
            for (const GlyphRun& r : line.runs)
                inked += r.width;
            EXPECT_LE(inked, std::max(width, ellipsis));
            EXPECT_GT(inked, width - 10);
            // The ellipsis ends the text: rightmost in Latin, leftmost in Hebrew.
            const bool rtl = text == hebrew;
            const auto& run = rtl ? line.runs.front() : line.runs.back();
            const ShapedGlyph& end = rtl ? run.glyphs.front() : run.glyphs.back();
            EXPECT_EQ(end.index, glyphOf(primary, U'\u2026'));
        }
    }
}

TEST(PlayerFonts, DrawnTextTurnsWithItsAngleAndStaysInItsBox) {
    TextEngine engine;
    for (double angle : {0.0, -90.0, -45.0}) {
        for (const char* text : {"Quarterly", "\xE4\xB8\xAD\xE6\x96\x87 sales \xF0\x9F\x98\x80"}) {
            SCOPED_TRACE(std::string(text) + " at " + std::to_string(angle));
            TextItem item;
            item.text = text;
            item.font.size = 16;
            item.font.underline = true;
            item.x = 100;
            item.y = 100;
            item.angle = angle;
            item.h = HAlign::Center;
            item.v = VAlign::Middle;
            engine.place(item);
            const Ink ink = drawnInk(engine, item, 200, 200);
            ASSERT_GE(ink.left, 0);
            EXPECT_GE(ink.left, item.box.x - 1);
            EXPECT_LE(ink.right, item.box.x + item.box.w + 1);
            EXPECT_GE(ink.top, item.box.y - 1);
            EXPECT_LE(ink.bottom, item.box.y + item.box.h + 1);
            if (angle == -90) {
                EXPECT_GT(ink.bottom - ink.top, 3 * (ink.right - ink.left));
            } else if (angle == 0) {
                EXPECT_GT(ink.right - ink.left, 3 * (ink.bottom - ink.top));
            }
        }
    }
}

// Right-to-left text is placed like any other: its ink sits where the anchor and alignment say,
// with or without a width to fit, for Hebrew, Arabic and, as the reference, Latin labels.
TEST(PlayerRtl, LabelsOfEveryDirectionSitWhereTheirAnchorSays) {
    TextEngine engine;
    const char* texts[] = {"Latin", "\xD7\xA2\xD7\x91\xD7\xA8\xD7\x99\xD7\xAA",
                           "\xD8\xA7\xD9\x84\xD8\xB9\xD8\xB1\xD8\xA8\xD9\x8A\xD8\xA9"};
    for (const char* text : texts) {
        for (const double maxWidth : {0.0, 180.0}) {
            for (const HAlign align : {HAlign::Left, HAlign::Center, HAlign::Right}) {
                SCOPED_TRACE(std::string(text) + " width " + std::to_string(maxWidth) + " align " +
                             std::to_string(static_cast<int>(align)));
                TextItem item;
                item.text = text;
                item.font.size = 16;
                item.x = 150;
                item.y = 20;
                item.h = align;
                item.v = VAlign::Middle;
                item.maxWidth = maxWidth;
                const Ink ink = drawnInk(engine, item, 300, 40);
                const int first = ink.left, last = ink.right;
                ASSERT_GE(first, 0);
                const double expected = align == HAlign::Left    ? first - 150.0
                                        : align == HAlign::Right ? last - 150.0
                                                                 : (first + last) / 2.0 - 150.0;
                EXPECT_NEAR(expected, 0, 4) << first << ".." << last;
            }
        }
    }
}

} // namespace
} // namespace plotara::player

namespace plotara::player {
namespace {

// An engine keeps the lines it shaped: asked again in any order, and after more lines than it
// keeps, it measures every variant of a text as a fresh engine does (nothing that tells two
// variants apart may be left out of what it keys them by).
TEST(PlayerFonts, KeptShapesMeasureAsFreshOnes) {
    struct Variant {
        const char* name;
        Font font;
        double maxWidth = 0;
    };
    std::vector<Variant> variants;
    for (const char* family : {"DejaVu Sans", "DejaVu Serif", "Courier New"}) {
        for (int style = 0; style < 4; ++style) {
            for (const double size : {10.0, 10.5, 14.0}) {
                Font font;
                font.family = family;
                font.size = size;
                font.bold = style & 1;
                font.italic = style & 2;
                variants.push_back({family, font});
            }
        }
    }
    variants.push_back({"fitted to 40", variants.front().font, 40});
    variants.push_back({"fitted to 25", variants.front().font, 25});
    const char* texts[] = {"Revenue", "Revenue ", "Rev", "مبيعات", "Q1 2026"};
    TextEngine kept(pinnedOnly());
    for (int pass = 0; pass < 2; ++pass) {
        for (const char* text : texts) {
            for (const Variant& v : variants) {
                TextEngine fresh(pinnedOnly());
                const Size a = kept.measure(text, v.font, v.maxWidth);
                const Size b = fresh.measure(text, v.font, v.maxWidth);
                EXPECT_EQ(a.w, b.w) << text << ", " << v.name << " " << v.font.size << " bold "
                                    << v.font.bold << " italic " << v.font.italic;
                EXPECT_EQ(a.h, b.h) << text << ", " << v.name;
            }
        }
        // More lines than the engine keeps: it starts again and still measures right.
        for (int i = 0; i < 1100; ++i)
            kept.measure("label " + std::to_string(i), variants.front().font);
    }
    // A shortened item is kept apart from the whole text it was cut from.
    TextItem item;
    item.text = "A long category name";
    item.font = variants.front().font;
    item.maxWidth = 60;
    kept.place(item);
    ASSERT_FALSE(item.fullText.empty());
    EXPECT_NEAR(kept.measure(item).w, 60, 0.01);
    EXPECT_GT(kept.measure(item.fullText, item.font).w, 60);
}

} // namespace
} // namespace plotara::player
