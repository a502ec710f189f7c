#include "core/FilePath.h"

namespace plotara {

std::filesystem::path toPath(StringView text) {
    return std::filesystem::path(toUtf8(text));
}

String fromPath(const std::filesystem::path& path) {
    // native() is the narrow byte string on Linux; wstring() would convert through the locale
    // and throw in the "C" locale.
    return fromUtf8(path.native());
}

} // namespace plotara
