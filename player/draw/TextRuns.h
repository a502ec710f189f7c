// A line of text cut into runs that HarfBuzz can shape in one go: the same bidi level, the same
// face and the same script throughout.
#pragma once

#include "player/draw/FontSet.h"

#include <string>
#include <string_view>
#include <vector>

namespace plotara::player {

// The code points of UTF-8 text; every byte that does not belong to a valid sequence becomes
// U+FFFD. Cannot fail.
std::u32string decodeUtf8(std::string_view text);

struct TextRun {
    std::size_t start = 0, length = 0; // code points of the line
    unsigned char level = 0;           // bidi embedding level: odd is right-to-left
    FaceChoice face;
    unsigned script = 0; // an hb_script_t
};

// The runs of a line in logical order, with the paragraph direction taken from its first strong
// character (left to right when it has none). Cannot fail.
std::vector<TextRun> itemize(const std::u32string& text, FontSet& fonts, const FaceChoice& primary,
                             bool bold, bool italic);
// The runs' indices in visual order, left to right (the bidi algorithm's rule L2). Cannot fail.
std::vector<std::size_t> visualOrder(const std::vector<TextRun>& runs);

} // namespace plotara::player
