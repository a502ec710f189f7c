#include "data/detail/ParamParser.h"

#include "data/EscapeText.h"

namespace plotara {

std::vector<ParamPair> parseParams(StringView text, StringView delimiter, bool escape) {
    std::vector<ParamPair> rows;
    visitParams(text, delimiter, [&](StringView name, StringView value) {
        rows.push_back(ParamPair{String(name), escape ? escapeText(value) : String(value)});
    });
    return rows;
}

} // namespace plotara
