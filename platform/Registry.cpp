#include "platform/Registry.h"

#include "core/Error.h"
#include "core/Text.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace plotara::registry {

namespace {

String expandRoot(StringView key) {
    const String lower = text::toLower(key);
    if (lower.rfind(L"hklm\\", 0) == 0) return L"HKEY_LOCAL_MACHINE" + String(key.substr(4));
    if (lower == L"hklm") return L"HKEY_LOCAL_MACHINE";
    return String(key);
}

// A quoted .reg string starting at text[pos] == '"': its unescaped content, and pos moved past
// the closing quote. Nothing when the quote is not closed.
std::optional<String> quoted(StringView text, std::size_t& pos) {
    String out;
    for (std::size_t i = pos + 1; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\\' && i + 1 < text.size()) {
            out += text[++i];
        } else if (c == L'"') {
            pos = i + 1;
            return out;
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

} // namespace

std::string machineRegistryPath() {
    const char* fromEnvironment = std::getenv("PLOTARIX_REGISTRY");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') return fromEnvironment;
    return "/etc/plotarix/registry.reg";
}

std::optional<String> lookup(StringView regText, StringView path) {
    const String full = expandRoot(path);
    const std::size_t cut = full.rfind(L'\\');
    if (cut == String::npos) return std::nullopt;
    const String wantedKey = text::toLower(StringView(full).substr(0, cut));
    const String wantedName = text::toLower(StringView(full).substr(cut + 1));

    bool inKey = false;
    for (const String& rawLine : text::split(regText, L"\n")) {
        String line = text::trim(rawLine);
        if (!line.empty() && line.back() == L'\r')
            line = text::trim(line.substr(0, line.size() - 1));
        if (line.empty()) continue;
        if (line.front() == L'[') {
            const std::size_t close = line.rfind(L']');
            if (close == String::npos) continue;
            inKey = text::toLower(expandRoot(StringView(line).substr(1, close - 1))) == wantedKey;
            continue;
        }
        if (!inKey || line.front() != L'"') continue;
        std::size_t pos = 0;
        const auto name = quoted(line, pos);
        if (!name || pos >= line.size() || line[pos] != L'=') continue;
        if (text::toLower(*name) != wantedName) continue;
        ++pos;
        if (pos < line.size() && line[pos] == L'"') return quoted(line, pos);
        const String rest = text::toLower(StringView(line).substr(pos));
        if (rest.rfind(L"dword:", 0) == 0) {
            const String digits = rest.substr(6);
            if (digits.empty() || digits.size() > 8) return std::nullopt;
            unsigned long value = 0;
            for (const wchar_t c : digits) {
                const int d = c >= L'0' && c <= L'9'   ? c - L'0'
                              : c >= L'a' && c <= L'f' ? c - L'a' + 10
                                                       : -1;
                if (d < 0) return std::nullopt;
                value = value * 16 + static_cast<unsigned long>(d);
            }
            return text::decimal(static_cast<long long>(value));
        }
        return std::nullopt;
    }
    return std::nullopt;
}

String regRead(const String& path) {
    std::ifstream file(machineRegistryPath(), std::ios::binary);
    if (!file) raise(errors::invalidProcedureCall());
    std::ostringstream bytes;
    bytes << file.rdbuf();
    String content = fromUtf8(bytes.str());
    if (!content.empty() && content.front() == L'\xFEFF') content.erase(0, 1);
    auto value = lookup(content, path);
    if (!value) raise(errors::invalidProcedureCall());
    return *value;
}

} // namespace plotara::registry
