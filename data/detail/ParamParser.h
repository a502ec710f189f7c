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

// Calls visit(name, value) for each piece of text, in order, with views into text. Splits text
// at every occurrence of the delimiter (an empty delimiter makes the whole text one piece) and
// each piece at its first "="; skips empty pieces, pieces without "=" and pieces whose name is
// only blanks. Nothing is trimmed or escaped.
template <class Visit>
void visitParams(StringView text, StringView delimiter, Visit&& visit) {
    auto piece = [&](StringView p) {
        const std::size_t equals = p.find(L'=');
        if (equals == StringView::npos) return;
        const StringView name = p.substr(0, equals);
        if (name.find_first_not_of(L' ') == StringView::npos) return;
        visit(name, p.substr(equals + 1));
    };
    if (text.empty()) return;
    if (delimiter.empty()) {
        piece(text);
        return;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t next = text.find(delimiter, start);
        piece(text.substr(start, next == StringView::npos ? StringView::npos : next - start));
        if (next == StringView::npos) return;
        start = next + delimiter.size();
    }
}

// The pieces as a list of pairs, values escaped when escape is set; an empty list stands for
// "no table".
std::vector<ParamPair> parseParams(StringView text, StringView delimiter, bool escape);

} // namespace plotara
