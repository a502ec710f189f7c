#include "platform/FileAttributes.h"

#include "core/Error.h"

#include <sys/stat.h>

namespace plotara {

Long fileAttributes(const std::filesystem::path& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) raise(Error(53, L"File not found"));
    Long attributes = S_ISDIR(info.st_mode) ? attrDirectory : attrArchive;
    if ((info.st_mode & S_IWUSR) == 0) attributes |= attrReadOnly;
    std::string trimmed = path.native();
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const std::size_t slash = trimmed.rfind('/');
    const std::string name = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    if (name.size() > 1 && name.front() == '.' && name != "..") attributes |= attrHidden;
    return attributes;
}

} // namespace plotara
