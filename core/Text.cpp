#include "core/Text.h"

#include "core/Error.h"

#include <charconv>
#include <locale.h>
#include <wctype.h>

namespace plotara::text {

namespace {

// Case mapping must not depend on the process locale, so it uses one UTF-8 character-type
// locale created on first use; without it only ASCII letters change case. ASCII is mapped
// without it (the locale maps it the same way), so that text in ASCII, the names and keywords
// a chart is made of, never loads the locale files.
locale_t caseLocale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return locale;
}

wchar_t lowerChar(wchar_t c) {
    if (c >= 0 && c < 0x80)
        return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
    if (locale_t locale = caseLocale()) return static_cast<wchar_t>(towlower_l(c, locale));
    return c;
}

wchar_t upperChar(wchar_t c) {
    if (c >= 0 && c < 0x80)
        return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - (L'a' - L'A')) : c;
    if (locale_t locale = caseLocale()) return static_cast<wchar_t>(towupper_l(c, locale));
    return c;
}

} // namespace

String trim(StringView text) {
    return trimRight(trimLeft(text));
}

String trimLeft(StringView text) {
    const auto first = text.find_first_not_of(L' ');
    return first == StringView::npos ? String() : String(text.substr(first));
}

String trimRight(StringView text) {
    const auto last = text.find_last_not_of(L' ');
    return last == StringView::npos ? String() : String(text.substr(0, last + 1));
}

String toLower(StringView text) {
    String out(text);
    for (wchar_t& c : out)
        c = lowerChar(c);
    return out;
}

String toUpper(StringView text) {
    String out(text);
    for (wchar_t& c : out)
        c = upperChar(c);
    return out;
}

bool equalsIgnoreCase(StringView a, StringView b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && lowerChar(a[i]) != lowerChar(b[i])) return false;
    }
    return true;
}

// A limit of 0 asks for no items at all, as the run-time's Split does.
std::vector<String> split(StringView text, StringView delimiter, int limit) {
    std::vector<String> items;
    if (text.empty() || limit == 0) return items;
    if (delimiter.empty()) {
        items.emplace_back(text);
        return items;
    }
    std::size_t start = 0;
    while (limit < 0 || items.size() + 1 < static_cast<std::size_t>(limit)) {
        const auto found = text.find(delimiter, start);
        if (found == StringView::npos) break;
        items.emplace_back(text.substr(start, found - start));
        start = found + delimiter.size();
    }
    items.emplace_back(text.substr(start));
    return items;
}

String replace(StringView text, StringView find, StringView with) {
    String out;
    appendReplaced(out, text, find, with);
    return out;
}

void appendReplaced(String& out, StringView text, StringView find, StringView with) {
    if (find.empty()) {
        out.append(text);
        return;
    }
    std::size_t start = 0;
    for (auto found = text.find(find); found != StringView::npos; found = text.find(find, start)) {
        out.append(text.substr(start, found - start));
        out.append(with);
        start = found + find.size();
    }
    out.append(text.substr(start));
}

Long instr(Long start, StringView text, StringView find) {
    if (start < 1) raise(errors::invalidProcedureCall());
    const auto from = static_cast<std::size_t>(start - 1);
    if (find.empty()) return from <= text.size() ? start : 0;
    if (from >= text.size()) return 0;
    const auto found = text.find(find, from);
    return found == StringView::npos ? 0 : static_cast<Long>(found + 1);
}

String decimal(long long value) {
    return std::to_wstring(value);
}

void appendDecimal(String& out, long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    for (const char* p = buffer; p != result.ptr; ++p)
        out += static_cast<wchar_t>(*p);
}

} // namespace plotara::text
