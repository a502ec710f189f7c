#include "data/EscapeText.h"

namespace plotara {

// A single left-to-right pass gives the same result as replacing the six characters one after
// the other in the order above: "%" goes first, and no replacement text holds any of the six
// characters except the "%" that the later replacements introduce.
void appendEscaped(String& out, StringView text) {
    std::size_t plain = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t* replacement;
        switch (text[i]) {
        case L'%':
            replacement = L"%25";
            break;
        case L'\'':
            replacement = L"%26apos;";
            break;
        case L'<':
            replacement = L"%26lt;";
            break;
        case L'>':
            replacement = L"%26gt;";
            break;
        case L'&':
            replacement = L"%26";
            break;
        case L'+':
            replacement = L"%2b";
            break;
        default:
            continue;
        }
        out.append(text.substr(plain, i - plain));
        out.append(replacement);
        plain = i + 1;
    }
    out.append(text.substr(plain));
}

bool needsEscaping(StringView text) noexcept {
    for (wchar_t c : text)
        if (c == L'%' || c == L'\'' || c == L'<' || c == L'>' || c == L'&' || c == L'+')
            return true;
    return false;
}

String escapeText(StringView text) {
    String out;
    out.reserve(text.size());
    appendEscaped(out, text);
    return out;
}

} // namespace plotara
