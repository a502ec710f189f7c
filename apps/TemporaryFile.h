// The temporary file an output is written to before it replaces its target. While one exists,
// SIGINT, SIGTERM, SIGHUP and SIGXFSZ (a file-size limit) remove it before the process ends as
// the signal asks, so that a killed run leaves nothing beside the target. Several threads may
// each write their own outputs at once.
#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

namespace plotara::apps {

class TemporaryFile {
public:
    // Creates "." + the target's name (shortened to fit the folder's name limit) + ".XXXXXX" in
    // the target's folder. Raises ChartFailure ("cannot write <target>: <reason>") when the
    // target exists and is not a regular file, its folder is among the device files (/dev, a
    // devtmpfs or devpts mount; see DeviceFolders), or the file cannot be created.
    explicit TemporaryFile(std::string target);
    // Removes the file unless it was committed.
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Appends bytes. Raises ChartFailure with the system's reason (a full disk, a size limit).
    void write(std::string_view bytes);
    // Closes the file and renames it over the target, which keeps its permission bits when it
    // existed (else the usual ones under the umask). Raises ChartFailure; the target is then
    // untouched and the temporary file removed.
    void commit();

    const std::string& path() const noexcept { return temp_; }

private:
    [[noreturn]] void fail(int error);

    std::string target_, temp_;
    int fd_ = -1;
    mode_t mode_ = 0;
    int slot_ = -1; // the signal handler's record of temp_, or -1
};

} // namespace plotara::apps
