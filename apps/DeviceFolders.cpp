#include "apps/DeviceFolders.h"

#include <filesystem>
#include <fstream>
#include <linux/magic.h>
#include <sstream>
#include <sys/vfs.h>
#include <system_error>
#include <vector>

namespace plotara::apps {
namespace {

// A mount point as written in mountinfo: space, tab, newline and backslash as \ooo escapes.
std::string unescaped(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto isOctal = [&](std::size_t k) { return field[k] >= '0' && field[k] <= '7'; };
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(i + 1) && isOctal(i + 2) &&
            isOctal(i + 3)) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t end = std::min(line.find(' ', at), line.size());
        if (end > at) fields.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    return fields;
}

// True when the mount point holds the path: the same folder or one of its ancestors.
bool holds(std::string_view point, std::string_view path) {
    if (point == "/") return true;
    return path.substr(0, point.size()) == point &&
           (path.size() == point.size() || path[point.size()] == '/');
}

// True when the path lies on a file system no device folder can be on (ext4, xfs, ...): the
// device file systems report the tmpfs or ramfs type (devtmpfs), devpts or mqueue. Lets most
// outputs skip reading the mount table; a path statfs cannot see is left to the table.
bool surelyNoDeviceFileSystem(const std::string& canonicalPath) {
    constexpr unsigned long mqueueMagic = 0x19800202; // the kernel's, not in <linux/magic.h>
    if (canonicalPath == "/dev" || canonicalPath.starts_with("/dev/")) return false;
    struct statfs info {};
    if (::statfs(canonicalPath.c_str(), &info) != 0) return false;
    const auto type = static_cast<unsigned long>(info.f_type);
    return type != TMPFS_MAGIC && type != RAMFS_MAGIC && type != DEVPTS_SUPER_MAGIC &&
           type != mqueueMagic;
}

std::string readMountTable() {
    std::ifstream in("/proc/self/mountinfo");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

MountOf mountOf(std::string_view mountinfo, std::string_view canonicalPath) {
    MountOf best;
    bool found = false;
    std::size_t at = 0;
    while (at < mountinfo.size()) {
        const std::size_t end = std::min(mountinfo.find('\n', at), mountinfo.size());
        const std::vector<std::string_view> fields = fieldsOf(mountinfo.substr(at, end - at));
        at = end + 1;
        std::size_t dash = 6;
        while (dash < fields.size() && fields[dash] != "-")
            ++dash;
        if (fields.size() < 5 || dash + 1 >= fields.size()) continue;
        const std::string point = unescaped(fields[4]);
        // The last matching line wins among equal points: a later mount hides an earlier one.
        if (!holds(point, canonicalPath) || (found && point.size() < best.point.size())) continue;
        best = {std::string(fields[dash + 1]), point};
        found = true;
    }
    return best;
}

bool isDeviceFolder(const std::string& folder) {
    std::error_code error;
    const std::filesystem::path absolute =
        std::filesystem::absolute(folder.empty() ? "." : folder, error);
    if (error) return false;
    const std::filesystem::path path = std::filesystem::weakly_canonical(absolute, error);
    if (error) return false;
    const std::string canonical = path.string();
    if (canonical == "/dev") return true;
    if (surelyNoDeviceFileSystem(canonical)) return false;
    const MountOf mount = mountOf(readMountTable(), canonical);
    return mount.point == "/dev" || mount.type == "devtmpfs" || mount.type == "devpts" ||
           mount.type == "mqueue";
}

} // namespace plotara::apps
