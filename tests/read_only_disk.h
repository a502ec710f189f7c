// A read-only folder for the fault injection tests, made real for tests that run as root (whom
// permission bits do not stop): the writing runs in a child process that drops to an
// unprivileged user over a folder of mode 0555.
#pragma once

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace plotara::test {

// The child's status when the folder could not be made read-only for it.
inline constexpr int notReadOnlyHere = 253;

namespace detail {

// In the child: gives up root for user and group 65534 (nobody), then checks that the folder
// can be listed and entered but that no file can be created in it. False when either fails.
inline bool becomeReader(const std::filesystem::path& folder) {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
        return false;
    if (::geteuid() == 0 || ::access(folder.c_str(), R_OK | X_OK) != 0) return false;
    const std::string probe = (folder / (".probe-" + std::to_string(::getpid()))).string();
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return errno == EACCES || errno == EROFS;
    ::close(fd);
    ::unlink(probe.c_str());
    return false;
}

} // namespace detail

// Runs body in a child process for which folder is read-only: the folder's mode is 0555 while
// the child runs, and a child of root becomes user and group 65534 first. Returns body's result
// (0 to 252) as the child's exit status, notReadOnlyHere when the child could not drop its
// privileges or could still create a file in the folder (the caller skips), 254 when body raised
// and 255 when the child did not end by itself within a minute. The folder gets mode 0755 back.
inline int inChildOverReadOnlyFolder(const std::filesystem::path& folder,
                                     const std::function<int()>& body) {
    ::chmod(folder.c_str(), 0555);
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(60);
        int code = notReadOnlyHere;
        try {
            if (detail::becomeReader(folder)) code = body();
        } catch (...) {
            code = 254;
        }
        ::_exit(code);
    }
    int status = 0;
    while (pid > 0 && ::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    ::chmod(folder.c_str(), 0755);
    return pid > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}

} // namespace plotara::test
