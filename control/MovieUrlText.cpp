#include "control/MovieUrlText.h"

#include "core/Error.h"
#include "core/FilePath.h"
#include "core/Number.h"
#include "platform/MovieUrlParts.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace plotara::movieurl {

bool FileExists(const String& path) {
    String p = path;
    if (!p.empty() && p.back() == L'\\') p.pop_back();
    const std::string native = toPath(p).native();
    if (native.empty() || native.find('\0') != std::string::npos) return false;
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    const bool readable = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
    ::close(fd);
    return readable;
}

namespace {

// The rules, for the character at i: a CR is dropped when a LF follows it and a LF when a CR
// precedes it (CR LF pairs cannot overlap, so this is the left-to-right removal of the pairs);
// with everything set, every other CR and every tab go as well. Removing the pairs first and the
// tabs and CRs afterwards gives the same text, as no LF changes its fate. Each character's fate
// depends only on its neighbours in the text, so any stretch of the text can be done apart.
bool dropped(const wchar_t* chars, std::size_t size, std::size_t i, bool everything) {
    const wchar_t c = chars[i];
    if (c == L'\r') return everything || (i + 1 < size && chars[i + 1] == L'\n');
    if (c == L'\n') return i > 0 && chars[i - 1] == L'\r';
    return everything && c == L'\t';
}

// The UTF-8 output of the removal: a string written through a position, grown (by half again, so
// that many wide characters cost amortised constant time) when a character might not fit in
// what is left. `room` is what the rest of the text needs if it is all ASCII, plus a margin.
struct Output {
    std::string& text;
    std::size_t at;

    char* reserve(std::size_t room) {
        if (at + room > text.size()) text.resize(std::max(at + room, text.size() * 3 / 2));
        return text.data() + at;
    }
};

// Characters begin to end of the text, one at a time.
void removeStepwise(const wchar_t* chars, std::size_t size, std::size_t begin, std::size_t end,
                    bool everything, Output& out) {
    for (std::size_t i = begin; i < end; ++i) {
        if (dropped(chars, size, i, everything)) continue;
        const wchar_t c = chars[i];
        if (c >= 0 && c < 0x80) {
            out.text[out.at++] = static_cast<char>(c);
            continue;
        }
        // Past the 1 byte per character that room counts, 3 more for this one.
        out.at += encodeUtf8(c, out.reserve(size - i + 16 + 3));
    }
}

// Whether text is UTF-8 that fromUtf8 reads without a replacement: no stray continuation
// byte, overlong form, surrogate or code point past U+10FFFF.
bool isValidUtf8(std::string_view text) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t need = 0;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            need = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            need = 2;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            need = 3;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (i + need >= n) return false;
        for (std::size_t k = 1; k <= need; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            const unsigned char lo = k == 1 ? low : 0x80, hi = k == 1 ? high : 0xBF;
            if (next < lo || next > hi) return false;
        }
        i += need + 1;
    }
    return true;
}

// The wide-to-wide form: the kept characters of text, moved to the front of it.
void compact(String& text, bool everything) {
    std::size_t written = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!dropped(text.data(), text.size(), i, everything)) text[written++] = text[i];
    }
    text.resize(written);
}

} // namespace

String StripLineBreaks(String text) {
    compact(text, false);
    return text;
}

void stripLineBreaksTabsAndCarriageReturns(String& text) {
    compact(text, true);
}

void appendWithoutLineBreaks(std::string& out, StringView text, bool everything) {
    const wchar_t* chars = text.data();
    const std::size_t size = text.size();
    Output output{out, out.size()};
    output.reserve(size + 16);
    removeStepwise(chars, size, 0, size, everything, output);
    out.resize(output.at);
}

void appendWithoutLineBreaks(std::string& out, std::string_view utf8, bool everything) {
    appendMovieDocument(out, utf8,
                        everything ? MovieDocumentForm::WithoutCrLfAndTabs
                                   : MovieDocumentForm::WithoutCrLf);
}

std::shared_ptr<const std::string> validUtf8(std::shared_ptr<const std::string> text) {
    if (!text) return std::make_shared<const std::string>();
    if (isValidUtf8(*text)) return text;
    return std::make_shared<const std::string>(toUtf8(fromUtf8(*text)));
}

String ChartMessageParamName(Integer messageType) {
    static constexpr const wchar_t* names[] = {
        L"",
        L"PBarLoadingText",
        L"XMLLoadingText",
        L"ParsingDataText",
        L"ChartNoDataText",
        L"RenderingChartText",
        L"LoadDataErrorText",
        L"InvalidXMLText",
    };
    if (messageType < 0 || messageType > 7) raise(errors::subscriptOutOfRange());
    return names[messageType];
}

String numberText(Single value, wchar_t decimalSeparator) {
    return number::formatSingle(value, decimalSeparator);
}

} // namespace plotara::movieurl
