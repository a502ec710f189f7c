#include "player/detail/Printer.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace plotara::player {

std::string spoolPdf(const std::string& pdf, const std::vector<std::string>& command) {
    if (command.empty() || command.front().empty()) return "No print command is configured";
    const char* dir = std::getenv("TMPDIR");
    std::string path = std::string(dir && *dir ? dir : "/tmp") + "/plotara-print-XXXXXX.pdf";
    std::vector<char> name(path.begin(), path.end());
    name.push_back('\0');
    int fd = ::mkstemps(name.data(), 4);
    if (fd < 0) return std::string("Cannot create the print file: ") + std::strerror(errno);
    std::size_t written = 0;
    while (written < pdf.size()) {
        ssize_t n = ::write(fd, pdf.data() + written, pdf.size() - written);
        if (n <= 0) break;
        written += static_cast<std::size_t>(n);
    }
    ::close(fd);
    std::string file(name.data());
    if (written != pdf.size()) {
        ::unlink(file.c_str());
        return "Cannot write the print file";
    }
    std::vector<std::string> args = command;
    args.push_back(file);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    int rc = ::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    std::string error;
    if (rc != 0) {
        error = "The print spooler '" + command.front() +
                "' could not be started: " + std::strerror(rc);
    } else {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
            error = "The print spooler '" + command.front() + "' is not available";
        } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            error = "The print spooler '" + command.front() + "' failed (exit status " +
                    std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")";
        }
    }
    ::unlink(file.c_str());
    return error;
}

} // namespace plotara::player
