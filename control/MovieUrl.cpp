#include "control/MovieUrl.h"

#include "core/Error.h"
#include "core/Number.h"

#include <algorithm>
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

String StripLineBreaks(String text) {
    auto out = text.begin();
    for (auto in = text.begin(); in != text.end(); ++in) {
        if (*in == L'\r' && in + 1 != text.end() && in[1] == L'\n') {
            ++in;
            continue;
        }
        *out++ = *in;
    }
    text.erase(out, text.end());
    return text;
}

void removeTabsAndCarriageReturns(String& text) {
    std::erase_if(text, [](wchar_t c) { return c == L'\t' || c == L'\r'; });
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
