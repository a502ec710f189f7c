#include "platform/FileAttributes.h"

#include "core/Error.h"

#include <sys/stat.h>

namespace plotara {

Long fileAttributes(const String& path) {
    struct stat info {};
    if (path.empty() || ::stat(toUtf8(path).c_str(), &info) != 0)
        raise(Error(53, L"File not found"));
    Long attributes = S_ISDIR(info.st_mode) ? attrDirectory : attrArchive;
    if ((info.st_mode & S_IWUSR) == 0) attributes |= attrReadOnly;
    String trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == L'/')
        trimmed.pop_back();
    const std::size_t slash = trimmed.rfind(L'/');
    const String name = slash == String::npos ? trimmed : trimmed.substr(slash + 1);
    if (name.size() > 1 && name.front() == L'.' && name != L"..") attributes |= attrHidden;
    return attributes;
}

} // namespace plotara
