// Keeps documents that reach the player from files or the movie URL valid UTF-8, as the text
// engine requires.
#pragma once

#include <string>

namespace plotara::player {

// The text with every malformed UTF-8 sequence (stray continuation bytes, truncated or overlong
// sequences, surrogates, values beyond U+10FFFF) replaced by U+FFFD, one for a bad lead byte
// and the continuation bytes after it. Valid text is returned as it is, without a copy. Cannot
// fail.
std::string validUtf8(std::string text);

} // namespace plotara::player
