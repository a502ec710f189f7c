#include "player/draw/TextRuns.h"

#include <fribidi.h>
#include <harfbuzz/hb.h>

#include <algorithm>

namespace plotara::player {

std::u32string decodeUtf8(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = s[i];
        std::size_t len = b < 0x80         ? 1
                          : (b >> 5) == 6  ? 2
                          : (b >> 4) == 14 ? 3
                          : (b >> 3) == 30 ? 4
                                           : 0;
        char32_t c = len == 1 ? b : len == 2 ? b & 0x1F : len == 3 ? b & 0x0F : b & 0x07;
        bool ok = len > 0 && i + len <= n;
        for (std::size_t k = 1; ok && k < len; ++k) {
            ok = (s[i + k] & 0xC0) == 0x80;
            c = (c << 6) | (s[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not valid either.
        static constexpr char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        ok = ok && c >= least[len] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
        out.push_back(ok ? c : U'\uFFFD');
        i += ok ? len : 1;
    }
    return out;
}

namespace {

std::vector<unsigned char> bidiLevels(const std::u32string& text) {
    const auto n = static_cast<FriBidiStrIndex>(text.size());
    std::vector<FriBidiCharType> types(text.size());
    std::vector<FriBidiBracketType> brackets(text.size());
    std::vector<FriBidiLevel> levels(text.size());
    std::vector<FriBidiChar> chars(text.begin(), text.end());
    fribidi_get_bidi_types(chars.data(), n, types.data());
    fribidi_get_bracket_types(chars.data(), n, types.data(), brackets.data());
    FriBidiParType direction = FRIBIDI_PAR_ON;
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &direction,
                                            levels.data()) == 0)
        std::fill(levels.begin(), levels.end(), 0);
    return {levels.begin(), levels.end()};
}

// Marks, joiners and variation selectors belong with the character before them.
bool attaches(char32_t c) {
    if (c == 0x200C || c == 0x200D || (c >= 0xFE00 && c <= 0xFE0F) ||
        (c >= 0x1F3FB && c <= 0x1F3FF) || (c >= 0xE0100 && c <= 0xE01EF))
        return true;
    switch (hb_unicode_general_category(hb_unicode_funcs_get_default(), c)) {
    case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
        return true;
    default:
        return false;
    }
}

// Pictographs shown as emoji by default (emoticons, transport and map symbols, the supplemental
// pictographs, flags' regional indicators), and any character followed by the emoji variation
// selector U+FE0F.
bool shownAsEmoji(const std::u32string& text, std::size_t i) {
    const char32_t c = text[i];
    if (i + 1 < text.size() && text[i + 1] == 0xFE0F) return true;
    return (c >= 0x1F1E6 && c <= 0x1F1FF) || (c >= 0x1F300 && c <= 0x1F64F) ||
           (c >= 0x1F680 && c <= 0x1F6FF) || (c >= 0x1F900 && c <= 0x1F9FF) ||
           (c >= 0x1FA70 && c <= 0x1FAFF);
}

// Each character's script, with common and inherited characters (spaces, digits, punctuation,
// marks) taking the script of the text around them.
std::vector<hb_script_t> scripts(const std::u32string& text) {
    hb_unicode_funcs_t* ufuncs = hb_unicode_funcs_get_default();
    std::vector<hb_script_t> out(text.size(), HB_SCRIPT_COMMON);
    hb_script_t last = HB_SCRIPT_INVALID;
    for (std::size_t i = 0; i < text.size(); ++i) {
        hb_script_t s = hb_unicode_script(ufuncs, text[i]);
        if (s == HB_SCRIPT_COMMON || s == HB_SCRIPT_INHERITED || s == HB_SCRIPT_UNKNOWN) {
            out[i] = last;
        } else {
            out[i] = last = s;
        }
    }
    // Leading neutrals take the first real script.
    hb_script_t first = last == HB_SCRIPT_INVALID ? HB_SCRIPT_COMMON : HB_SCRIPT_INVALID;
    for (std::size_t i = 0; i < text.size() && out[i] == HB_SCRIPT_INVALID; ++i) {
        if (first == HB_SCRIPT_INVALID) {
            auto real = std::find_if(out.begin() + static_cast<std::ptrdiff_t>(i), out.end(),
                                     [](hb_script_t s) { return s != HB_SCRIPT_INVALID; });
            first = real == out.end() ? HB_SCRIPT_COMMON : *real;
        }
        out[i] = first;
    }
    return out;
}

} // namespace

std::vector<TextRun> itemize(const std::u32string& text, FontSet& fonts, const FaceChoice& primary,
                             bool bold, bool italic) {
    std::vector<TextRun> runs;
    if (text.empty()) return runs;
    const std::vector<unsigned char> levels = bidiLevels(text);
    const std::vector<hb_script_t> script = scripts(text);
    FaceChoice previous = primary;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        // Selectors and joiners stay with their base whether or not its face maps them (HarfBuzz
        // hides them); marks when the base's face has them.
        const bool selector = c == 0x200C || c == 0x200D || (c >= 0xFE00 && c <= 0xFE0F) ||
                              (c >= 0xE0100 && c <= 0xE01EF);
        FaceChoice face =
            i > 0 && attaches(c) && previous.face && (selector || previous.face->hasGlyph(c))
                ? previous
                : fonts.faceFor(primary, bold, italic, c, shownAsEmoji(text, i));
        previous = face;
        TextRun* last = runs.empty() ? nullptr : &runs.back();
        if (last && last->level == levels[i] && last->face == face &&
            last->script == static_cast<unsigned>(script[i])) {
            ++last->length;
        } else {
            runs.push_back({i, 1, levels[i], face, static_cast<unsigned>(script[i])});
        }
    }
    return runs;
}

std::vector<std::size_t> visualOrder(const std::vector<TextRun>& runs) {
    std::vector<std::size_t> order(runs.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    unsigned char highest = 0, lowestOdd = 255;
    for (const TextRun& r : runs) {
        highest = std::max(highest, r.level);
        if (r.level % 2) lowestOdd = std::min(lowestOdd, r.level);
    }
    // From the highest level down to the lowest odd one, reverse every sequence of runs at that
    // level or above.
    for (int level = highest; level >= lowestOdd && level > 0; --level) {
        std::size_t i = 0;
        while (i < order.size()) {
            if (runs[order[i]].level < level) {
                ++i;
                continue;
            }
            std::size_t j = i;
            while (j < order.size() && runs[order[j]].level >= level)
                ++j;
            std::reverse(order.begin() + static_cast<std::ptrdiff_t>(i),
                         order.begin() + static_cast<std::ptrdiff_t>(j));
            i = j;
        }
    }
    return order;
}

} // namespace plotara::player
