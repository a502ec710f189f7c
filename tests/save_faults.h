// One rig for every writer's save on a failing disk: a full disk (a file-size limit in a child)
// and a read-only folder (a child without the right to write there). The save must fail its own
// way, keep each existing file as it was (also one writable in place) and leave nothing beside it.
#pragma once

#include "file_test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace plotara::test {

// Runs body in a child process that an alarm ends after a minute. Returns body's result (0 to
// 255) as the child's exit status, 254 when body raised and 255 when the child did not end by
// itself.
inline int inChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(60);
        int code = 254;
        try {
            code = body();
        } catch (...) {
        }
        ::_exit(code);
    }
    int status = 0;
    while (pid > 0 && ::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return pid > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}

// Runs body in a child (see inChild) whose writes past a number of bytes fail as on a full
// disk: a file-size limit with SIGXFSZ ignored, so write() fails with EFBIG.
inline int inChildWithFullDisk(rlim_t bytes, const std::function<int()>& body) {
    return inChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return body();
    });
}

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

// Runs body in a child (see inChild) for which folder is read-only: the folder's mode is 0555
// while the child runs, and a child of root becomes user and group 65534 first. The status is
// notReadOnlyHere when the child could not drop its privileges or could still create a file in
// the folder (the caller skips). The folder gets mode 0755 back.
inline int inChildOverReadOnlyFolder(const std::filesystem::path& folder,
                                     const std::function<int()>& body) {
    ::chmod(folder.c_str(), 0555);
    const int status =
        inChild([&] { return detail::becomeReader(folder) ? body() : notReadOnlyHere; });
    ::chmod(folder.c_str(), 0755);
    return status;
}

enum class DiskFault { Full, ReadOnly };

// Runs failsItsWay(target, fault) in a child for an existing file and a new one on a full disk
// of diskBytes, and for a read-only file, a writable one and a new one in a read-only folder;
// failsItsWay returns true when the save failed as the writer promises (false, an error number,
// no message box). folder is left with the files it had, the two old ones still "old". Returns
// false when no child here could be denied writing (the read-only half did not run).
inline bool expectSaveFailsCleanly(
    const std::filesystem::path& folder, const std::string& ext,
    const std::function<bool(const std::filesystem::path&, DiskFault)>& failsItsWay,
    rlim_t diskBytes = 1024) {
    const std::filesystem::path locked = folder / ("locked." + ext),
                                open = folder / ("open." + ext), fresh = folder / ("new." + ext);
    std::ofstream(locked) << "old";
    std::ofstream(open) << "old";
    ::chmod(open.c_str(), 0666);
    const std::vector<std::string> before = fileNames(folder);
    auto wrongOf = [&](DiskFault fault, std::vector<std::filesystem::path> targets) {
        int wrong = 0;
        for (const std::filesystem::path& target : targets)
            wrong += !failsItsWay(target, fault);
        return wrong;
    };
    const int full = inChildWithFullDisk(diskBytes, [&] {
        return wrongOf(DiskFault::Full, {open, fresh});
    });
    EXPECT_EQ(full, 0) << "saves on a full disk that did not fail as they should";
    const int status = inChildOverReadOnlyFolder(folder, [&] {
        return wrongOf(DiskFault::ReadOnly, {locked, open, fresh});
    });
    EXPECT_TRUE(status == 0 || status == notReadOnlyHere)
        << status << " saves into a read-only folder did not fail as they should";
    EXPECT_EQ(fileNames(folder), before);
    EXPECT_EQ(readAll(locked), "old");
    EXPECT_EQ(readAll(open), "old");
    return status != notReadOnlyHere;
}

} // namespace plotara::test
