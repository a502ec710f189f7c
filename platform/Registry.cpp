#include "platform/Registry.h"

#include "core/Error.h"
#include "core/Text.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

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

// Blanks and tabs around the line; a CR left by CRLF line ends goes too.
String trimLine(StringView line) {
    std::size_t first = 0, last = line.size();
    while (first < last && (line[first] == L' ' || line[first] == L'\t' || line[first] == L'\r'))
        ++first;
    while (last > first &&
           (line[last - 1] == L' ' || line[last - 1] == L'\t' || line[last - 1] == L'\r'))
        --last;
    return String(line.substr(first, last - first));
}

void skipBlanks(StringView line, std::size_t& pos) {
    while (pos < line.size() && (line[pos] == L' ' || line[pos] == L'\t'))
        ++pos;
}

// The data of a value line after "=": text, dword as decimal, or nothing for anything else.
std::optional<String> valueData(StringView line, std::size_t pos) {
    if (pos < line.size() && line[pos] == L'"') {
        auto value = quoted(line, pos);
        skipBlanks(line, pos);
        if (!value || pos != line.size()) return std::nullopt;
        return value;
    }
    const String rest = text::toLower(line.substr(pos));
    if (rest.rfind(L"dword:", 0) != 0) return std::nullopt;
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

Error valueMissing(const String& path) {
    return Error(static_cast<Long>(0x80070002u),
                 L"Unable to open registry key \"" + path + L"\" for reading.");
}

// The file's text: UTF-16 little- or big-endian with its byte order mark, else UTF-8 (a UTF-8
// byte order mark is dropped).
String decode(const std::string& bytes) {
    auto utf16 = [&](bool little) {
        std::u16string units;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const auto lo = static_cast<unsigned char>(bytes[i + (little ? 0 : 1)]);
            const auto hi = static_cast<unsigned char>(bytes[i + (little ? 1 : 0)]);
            units += static_cast<char16_t>(lo | (hi << 8));
        }
        String out;
        for (std::size_t i = 0; i < units.size(); ++i) {
            char32_t c = units[i];
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
                units[i + 1] < 0xE000)
                c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
            else if (c >= 0xD800 && c < 0xE000)
                c = 0xFFFD;
            out += static_cast<wchar_t>(c);
        }
        return out;
    };
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') return utf16(true);
    if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') return utf16(false);
    String content = fromUtf8(bytes);
    if (!content.empty() && content.front() == L'\xFEFF') content.erase(0, 1);
    return content;
}

} // namespace

std::filesystem::path machineRegistryPath() {
    const char* fromEnvironment = std::getenv("PLOTARIX_REGISTRY");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') return fromEnvironment;
    return "/etc/plotarix/registry.reg";
}

bool isRegistryText(StringView regText) {
    const std::size_t end = regText.find(L'\n');
    const String first = trimLine(regText.substr(0, end));
    return first == L"Windows Registry Editor Version 5.00" || first == L"REGEDIT4";
}

std::optional<String> lookup(StringView regText, StringView path) {
    if (!isRegistryText(regText)) return std::nullopt;
    const String full = expandRoot(path);
    const std::size_t cut = full.rfind(L'\\');
    if (cut == String::npos) return std::nullopt;
    const String wantedKey = text::toLower(StringView(full).substr(0, cut));
    const String wantedName = text::toLower(StringView(full).substr(cut + 1));

    std::optional<String> found;
    bool inKey = false;
    for (const String& rawLine : text::split(regText, L"\n")) {
        const String line = trimLine(rawLine);
        if (line.empty() || line.front() == L';') continue;
        if (line.front() == L'[') {
            const std::size_t close = line.rfind(L']');
            if (close == String::npos) {
                inKey = false;
                continue;
            }
            const bool deletes = line.size() > 1 && line[1] == L'-';
            const String key = text::toLower(expandRoot(
                trimLine(StringView(line).substr(deletes ? 2 : 1, close - 1 - deletes))));
            // Deleting the key or one of its parents removes what was set before.
            if (deletes && (key == wantedKey || wantedKey.rfind(key + L"\\", 0) == 0))
                found.reset();
            inKey = !deletes && key == wantedKey;
            continue;
        }
        if (!inKey) continue;
        std::size_t pos = 0;
        String name;
        if (line.front() == L'@') {
            pos = 1;
        } else if (line.front() == L'"') {
            const auto quotedName = quoted(line, pos);
            if (!quotedName) continue;
            name = *quotedName;
        } else {
            continue;
        }
        skipBlanks(line, pos);
        if (pos >= line.size() || line[pos] != L'=') continue;
        ++pos;
        skipBlanks(line, pos);
        if (text::toLower(name) != wantedName) continue;
        if (StringView(line).substr(pos) == L"-") {
            found.reset();
            continue;
        }
        if (auto value = valueData(line, pos)) found = std::move(value);
    }
    return found;
}

String regRead(const String& path) {
    const std::filesystem::path file = machineRegistryPath();
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) raise(valueMissing(path));
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    if (in) bytes << in.rdbuf();
    if (!in || !S_ISREG(info.st_mode)) raise(Error(70, L"Permission denied"));
    const String content = decode(bytes.str());
    if (!isRegistryText(content))
        raise(Error(static_cast<Long>(0x8007000Du), L"The data is invalid."));
    auto value = lookup(content, path);
    if (!value) raise(valueMissing(path));
    return *value;
}

} // namespace plotara::registry
