// Whole-file replacement that a failing write cannot leave half done.
#pragma once

#include <filesystem>
#include <string_view>

namespace plotara {

// Writes bytes to the file at path. A regular file, or a missing one, is replaced whole: the
// bytes go to a temporary file beside it, which is flushed to the disk and renamed over the
// target once complete, so the target holds either its old contents or the new ones and no
// temporary file stays behind. An existing target keeps its permission bits; a new one gets
// 0666 less the umask. A character or block device or a named pipe is written in place, as a
// plain write would, and stays what it was; a pipe that no one reads fails at once. A symbolic
// link is followed (to at most 40 links) and its target treated by these rules; the link stays.
// Returns 0, or the errno of the step that failed: EISDIR for a folder, ENXIO for a socket or a
// pipe without a reader, EPIPE for a reader that left, ELOOP, ENOSPC, EFBIG, EACCES, ENOENT, ...
// Cannot raise.
int replaceFile(const std::filesystem::path& path, std::string_view bytes);

} // namespace plotara
