// The parameter-string parser: "name=value" pieces joined by a delimiter.
#pragma once

#include "core/String.h"

#include <vector>

namespace plotara {

struct ParamPair {
    String name;  // exactly as written, blanks kept
    String value; // exactly as written, or escaped when asked for
    bool operator==(const ParamPair&) const = default;
};

// Splits text at every occurrence of the delimiter (an empty delimiter makes the whole text one
// piece) and each piece at its first "="; skips empty pieces, pieces without "=" and pieces whose
// name is only blanks. Nothing is trimmed. An empty result stands for "no table". Cannot fail.
std::vector<ParamPair> parseParams(StringView text, StringView delimiter, bool escape);

} // namespace plotara
