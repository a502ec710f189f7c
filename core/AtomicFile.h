// Whole-file replacement that a failing write cannot leave half done.
#pragma once

#include <filesystem>
#include <string_view>

namespace plotara {

// Replaces the file at path with bytes: they go to a temporary file beside it, which is flushed
// to the disk and renamed over the target once complete, so the target holds either its old
// contents or the new ones and no temporary file stays behind. An existing target keeps its
// permission bits; a new one gets 0666 less the umask. Returns 0, or the errno of the step that
// failed (ENOSPC, EFBIG, EACCES, ENOENT, ...). Cannot raise.
int replaceFile(const std::filesystem::path& path, std::string_view bytes);

} // namespace plotara
