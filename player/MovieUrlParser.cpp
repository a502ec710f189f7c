#include "player/MovieUrlParser.h"

#include "player/util/TextUtil.h"

#include <cstring>

namespace plotara::player {

const std::string* MovieUrl::find(std::string_view name) const {
    const std::string* found = nullptr;
    for (const auto& [key, value] : params) {
        if (equalsNoCase(key, name)) found = &value;
    }
    return found;
}

std::string MovieUrl::take(std::string_view name) {
    std::string* found = nullptr;
    for (auto& [key, value] : params) {
        if (equalsNoCase(key, name)) found = &value;
    }
    return found ? std::move(*found) : std::string();
}

std::string MovieUrl::moviePath() const {
    if (folder.empty()) return movieFile;
    std::string path = folder;
    if (path.back() != '/') path.push_back('/');
    path.append(movieFile);
    return path;
}

namespace {

// "file:///C:/x" keeps "C:/x"; "file:///" + "/opt/charts" gives "/opt/charts"; a relative
// folder stays relative.
std::string stripFileScheme(std::string_view text) {
    if (startsWithNoCase(text, "file:///")) {
        text.remove_prefix(8);
    } else if (startsWithNoCase(text, "file://")) {
        text.remove_prefix(7);
    }
    std::string out(text);
    for (char& c : out) {
        if (c == '\\') c = '/';
    }
    // Collapse doubled separators that appear when a folder ending in "\" gets another one.
    std::string collapsed;
    collapsed.reserve(out.size());
    for (char c : out) {
        if (c == '/' && !collapsed.empty() && collapsed.back() == '/') continue;
        collapsed += c;
    }
    return collapsed;
}

bool runsToEnd(std::string_view name) {
    return equalsNoCase(name, "dataXML") || equalsNoCase(name, "dataURL");
}

} // namespace

MovieUrl parseMovieUrl(std::string_view url) {
    MovieUrl result;
    std::size_t question = url.find('?');
    std::string location = stripFileScheme(url.substr(0, question));
    std::size_t slash = location.rfind('/');
    if (slash == std::string::npos) {
        result.movieFile = location;
    } else {
        result.folder = location.substr(0, slash);
        if (result.folder.empty()) result.folder.push_back('/');
        result.movieFile = location.substr(slash + 1);
    }
    if (question == std::string_view::npos) return result;

    std::string_view query = url.substr(question + 1);
    std::size_t start = 0;
    while (start <= query.size()) {
        std::size_t amp = query.find('&', start);
        std::string_view piece = query.substr(
            start, amp == std::string_view::npos ? std::string_view::npos : amp - start);
        std::size_t eq = piece.find('=');
        std::string_view name = piece.substr(0, eq);
        if (eq != std::string_view::npos && runsToEnd(name)) {
            result.params.emplace_back(std::string(name),
                                       percentDecode(query.substr(start + eq + 1)));
            break;
        }
        if (!piece.empty()) {
            std::string_view value =
                eq == std::string_view::npos ? std::string_view() : piece.substr(eq + 1);
            result.params.emplace_back(std::string(name), percentDecode(value));
        }
        if (amp == std::string_view::npos) break;
        start = amp + 1;
    }
    return result;
}

namespace {

// percentDecode on the text itself: a decoded text is never longer, so it is written over what
// has been read.
void percentDecodeInPlace(std::string& text) {
    std::size_t from = text.find('%');
    if (from == std::string::npos) return;
    const std::size_t size = text.size();
    std::size_t to = from;
    while (from < size) {
        const std::size_t percent = text.find('%', from);
        const std::size_t stretch = (percent == std::string::npos ? size : percent) - from;
        if (to != from) std::memmove(text.data() + to, text.data() + from, stretch);
        to += stretch;
        if (percent == std::string::npos) break;
        from = percent + 1;
        if (percent + 2 < size) {
            const int hi = hexDigit(text[percent + 1]), lo = hexDigit(text[percent + 2]);
            if (hi >= 0 && lo >= 0) {
                text[to++] = static_cast<char>(hi * 16 + lo);
                from = percent + 3;
                continue;
            }
        }
        text[to++] = '%';
    }
    text.resize(to);
}

} // namespace

MovieUrl parseMovieUrl(const MovieUrlParts& parts) {
    MovieUrl result = parseMovieUrl(parts.head);
    // The split stops at the first dataXML or dataURL: only when that is the head's last
    // parameter, empty up to the head's end, does the document belong to it alone.
    const bool documentFollows =
        !result.params.empty() && equalsNoCase(result.params.back().first, "dataXML") &&
        result.params.back().second.empty() && parts.head.size() > 0 && parts.head.back() == '=';
    if (!documentFollows) return parseMovieUrl(parts.text());
    std::string& value = result.params.back().second;
    value = parts.documentText();
    percentDecodeInPlace(value);
    return result;
}

std::string localPathFromLocation(std::string_view location) {
    std::string_view trimmed = trimSpace(location);
    for (std::string_view scheme : {"http://", "https://", "ftp://"}) {
        if (startsWithNoCase(trimmed, scheme)) return {};
    }
    return percentDecode(stripFileScheme(trimmed));
}

} // namespace plotara::player
