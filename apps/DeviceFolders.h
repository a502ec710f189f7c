// Whether a folder belongs to the system's device files (/dev and the file systems mounted for
// them), where a chart must not be written: as root, "-o /dev/full.png" would otherwise leave a
// regular file among the devices.
#pragma once

#include <string>
#include <string_view>

namespace plotara::apps {

// The file system type and mount point of the mount holding a canonical absolute path, read
// from the text of /proc/self/mountinfo; both empty when no line matches.
struct MountOf {
    std::string type;
    std::string point;
};
MountOf mountOf(std::string_view mountinfo, std::string_view canonicalPath);

// True when the folder is /dev, or lies on a devtmpfs, devpts or mqueue file system or on the
// mount at /dev. An unreadable mount table leaves only the /dev test. Never throws.
bool isDeviceFolder(const std::string& folder);

} // namespace plotara::apps
