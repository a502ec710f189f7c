// A full disk for the fault injection tests, made real: a child process with a file-size limit.
#pragma once

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace plotara::test {

// Runs body in a child process whose writes past a number of bytes fail as on a full disk: a
// file-size limit with SIGXFSZ ignored, so write() fails with EFBIG. Returns body's result (0 to
// 255) as the child's exit status, 254 when body raised and 255 when the child did not end by
// itself within a minute.
inline int inChildWithFullDisk(rlim_t bytes, const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(60);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        int code = 254;
        try {
            code = body();
        } catch (...) {
        }
        ::_exit(code);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}

} // namespace plotara::test
