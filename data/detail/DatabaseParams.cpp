#include "data/detail/DatabaseParams.h"

namespace plotara {

std::vector<String> parseBracketList(StringView text) {
    if (text.empty()) return {};
    std::vector<String> items(1);
    std::size_t closed = 0;
    for (wchar_t c : text) {
        if (c == L'[') continue;
        if (c == L']') {
            ++closed;
            items.emplace_back();
        } else if (c != L' ') {
            items.back() += c;
        }
    }
    items.resize(closed);
    return items;
}

String buildParamString(const std::vector<ParamPair>& pairs) {
    if (pairs.empty()) return L"";
    String out = L" ";
    for (const ParamPair& pair : pairs) {
        if (pair.name.empty()) continue;
        out += pair.name;
        out += L'=';
        out += pair.value;
        out += L"; ";
    }
    return out;
}

} // namespace plotara
