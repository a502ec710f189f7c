#include "data/ParamParser.h"

#include "data/EscapeText.h"

namespace plotara {
namespace {

void addPiece(std::vector<ParamPair>& rows, StringView piece, bool escape) {
    if (piece.empty()) return;
    const std::size_t equals = piece.find(L'=');
    if (equals == StringView::npos) return;
    const StringView name = piece.substr(0, equals);
    if (name.find_first_not_of(L' ') == StringView::npos) return;
    const StringView value = piece.substr(equals + 1);
    rows.push_back(ParamPair{String(name), escape ? escapeText(value) : String(value)});
}

} // namespace

std::vector<ParamPair> parseParams(StringView text, StringView delimiter, bool escape) {
    std::vector<ParamPair> rows;
    if (text.empty()) return rows;
    if (delimiter.empty()) {
        addPiece(rows, text, escape);
        return rows;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t next = text.find(delimiter, start);
        if (next == StringView::npos) {
            addPiece(rows, text.substr(start), escape);
            return rows;
        }
        addPiece(rows, text.substr(start, next - start), escape);
        start = next + delimiter.size();
    }
}

} // namespace plotara
