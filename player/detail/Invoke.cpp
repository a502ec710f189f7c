#include "player/detail/Invoke.h"

#include "player/util/TextUtil.h"

namespace plotara::player {

std::string buildInvokeRequest(std::string_view name, std::string_view argument) {
    std::string clean;
    for (char ch : name) {
        if (ch != '"') clean += ch;
    }
    std::string out = "<invoke name=\"";
    out += clean;
    out += "\" returntype=\"xml\"><arguments><string>";
    out += argument;
    out += "</string></arguments></invoke>";
    return out;
}

InvokeCall parseInvokeRequest(std::string_view r) {
    InvokeCall call;
    std::size_t p = r.find("name=");
    if (p != std::string_view::npos && p + 5 < r.size()) {
        char quote = r[p + 5];
        if (quote == '"' || quote == '\'') {
            std::size_t q = r.find(quote, p + 6);
            if (q != std::string_view::npos) call.name = std::string(r.substr(p + 6, q - p - 6));
        }
    }
    std::size_t s = r.find("<string>");
    if (s != std::string_view::npos) {
        std::size_t e = r.find("</string>", s + 8);
        if (e != std::string_view::npos) call.argument = std::string(r.substr(s + 8, e - s - 8));
    }
    return call;
}

InvokeCall callForLink(std::string_view link) {
    std::string_view t = trimSpace(link);
    InvokeCall call;
    if (t.empty()) return call;
    if (startsWithNoCase(t, "host:")) {
        std::string_view rest = t.substr(5);
        std::size_t colon = rest.find(':');
        call.name = std::string(trimSpace(rest.substr(0, colon)));
        if (colon != std::string_view::npos) call.argument = std::string(rest.substr(colon + 1));
        return call;
    }
    if (startsWithNoCase(t, "javascript:")) {
        std::string_view rest = trimSpace(t.substr(11));
        std::size_t open = rest.find('(');
        std::size_t close = rest.rfind(')');
        if (open != std::string_view::npos && close != std::string_view::npos && close > open) {
            call.name = std::string(trimSpace(rest.substr(0, open)));
            std::string_view arg = trimSpace(rest.substr(open + 1, close - open - 1));
            if (arg.size() >= 2 && (arg.front() == '\'' || arg.front() == '"') &&
                arg.back() == arg.front())
                arg = arg.substr(1, arg.size() - 2);
            call.argument = std::string(arg);
            if (!call.name.empty()) return call;
        }
    }
    // The control splits arguments at commas on their way to the host; an address arrives whole
    // with its commas percent-encoded, which names the same address.
    call.name = "PT_Link";
    call.argument.reserve(t.size());
    for (char c : t) {
        if (c == ',')
            call.argument += "%2C";
        else
            call.argument += c;
    }
    return call;
}

bool isOpenableAddress(std::string_view link) {
    const std::string_view t = trimSpace(link);
    for (unsigned char c : t) {
        if (c <= ' ' || c == 0x7F) return false;
    }
    for (std::string_view scheme : {"http://", "https://", "mailto:"}) {
        if (t.size() > scheme.size() && startsWithNoCase(t, scheme)) return true;
    }
    return false;
}

} // namespace plotara::player
