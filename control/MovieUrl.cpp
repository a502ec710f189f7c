#include "control/MovieUrl.h"

#include "core/Error.h"
#include "core/Number.h"

#include <cwchar>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plotara::movieurl {

bool FileExists(const String& path) {
    String p = path;
    if (!p.empty() && p.back() == L'\\') p.pop_back();
    const std::string native = toUtf8(p);
    if (native.empty() || native.find('\0') != std::string::npos) return false;
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    const bool readable = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
    ::close(fd);
    return readable;
}

namespace {

// The general case, one character at a time: a CR is dropped when a LF follows it and a LF when
// a CR precedes it (CR LF pairs cannot overlap, so this is the left-to-right removal of the
// pairs); with everything set, every other CR and every tab go as well. Removing the pairs first
// and the tabs and CRs afterwards gives the same text, as no LF changes its fate.
void compactEachCharacter(String& text, bool everything) {
    wchar_t* chars = text.data();
    const std::size_t size = text.size();
    std::size_t kept = 0;
    wchar_t previous = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const wchar_t c = chars[i];
        const wchar_t next = i + 1 < size ? chars[i + 1] : 0;
        const bool drop = (c == L'\r' && (everything || next == L'\n')) ||
                          (c == L'\n' && previous == L'\r') || (everything && c == L'\t');
        chars[kept] = c;
        kept += drop ? 0 : 1;
        previous = c;
    }
    text.resize(kept);
}

// The same rules for a text without tabs, moving whole runs between carriage returns: documents
// have a line break every few dozen characters, and a run is moved far faster than it is walked.
void compact(String& text, bool everything) {
    if (everything && text.find(L'\t') != String::npos) {
        compactEachCharacter(text, everything);
        return;
    }
    wchar_t* chars = text.data();
    const std::size_t size = text.size();
    std::size_t in = 0, out = 0;
    while (in < size) {
        const wchar_t* cr = std::wmemchr(chars + in, L'\r', size - in);
        const std::size_t end = cr == nullptr ? size : static_cast<std::size_t>(cr - chars);
        if (out != in) std::wmemmove(chars + out, chars + in, end - in);
        out += end - in;
        in = end;
        if (in == size) break;
        if (in + 1 < size && chars[in + 1] == L'\n') {
            in += 2; // a CR LF pair
        } else {
            if (!everything) chars[out++] = L'\r'; // a lone CR
            in += 1;
        }
    }
    text.resize(out);
}

} // namespace

String StripLineBreaks(String text) {
    compact(text, false);
    return text;
}

void stripLineBreaksTabsAndCarriageReturns(String& text) {
    compact(text, true);
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
