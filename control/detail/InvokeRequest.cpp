#include "control/detail/InvokeRequest.h"

#include "core/ErrorTrap.h"
#include "core/Number.h"
#include "core/Text.h"

namespace plotara {

namespace {

// Mid$: length characters from the 1-based start; Error 5 for a negative length.
String mid(const String& text, Long start, Integer length) {
    if (start < 1 || length < 0) raise(errors::invalidProcedureCall());
    const auto from = static_cast<std::size_t>(start - 1);
    if (from >= text.size()) return String();
    return text.substr(from, static_cast<std::size_t>(length));
}

// Positions are 32-bit, lengths 16-bit: a part longer than 32,767 characters overflows.
Integer lengthBetween(Long end, Long start) {
    return number::toInteger(static_cast<double>(end) - static_cast<double>(start));
}

} // namespace

std::array<String, 3> ParseInvokeRequest(const String& request) {
    std::array<String, 3> parts;
    const Long p = text::instr(1, request, L"name=");
    if (p == 0) return parts;
    // The closing quote is searched from one past the name's first character, so an empty name
    // takes the text up to the next double quote further on.
    ErrorTrap::resume([&] {
        const Long q = text::instr(p + 7, request, L"\"");
        parts[0] = mid(request, p + 6, lengthBetween(q, p + 6));
    });
    ErrorTrap::resume([&] {
        const Long s = text::instr(1, request, L"<string>");
        if (s == 0) return;
        const Long e = text::instr(s + 1, request, L"</string>");
        parts[1] = mid(request, s + 8, lengthBetween(e, s + 8));
    });
    return parts;
}

String BuildInvokeRequest(const String& name, const String& argument) {
    return L"<invoke name='" + name + L"'> <arguments> <string>" + argument +
           L"</string> </arguments> </invoke>";
}

} // namespace plotara
