#include "apps/TextFiles.h"

#include "apps/Failures.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plotara::apps {

namespace {

[[noreturn]] void cannotRead(const std::string& path, const std::string& reason) {
    throw ChartFailure("cannot read " + path + ": " + reason);
}

[[noreturn]] void tooLarge(const std::string& path, std::size_t limit) {
    cannotRead(path, "it holds more than " + std::to_string(limit >> 20) +
                         " MiB (--max-input MiB raises the limit)");
}

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Closes the descriptor when reading ends, however it ends.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd > STDERR_FILENO) ::close(fd);
    }
};

} // namespace

std::string readTextFile(const std::string& path, std::size_t limit) {
    const bool standardInput = path == "-";
    const Descriptor in{standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (in.fd < 0) cannotRead(path, std::strerror(errno));
    struct stat info {};
    if (::fstat(in.fd, &info) != 0) cannotRead(path, std::strerror(errno));
    if (S_ISDIR(info.st_mode)) cannotRead(path, "it is a folder");
    if (S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) > limit)
        tooLarge(path, limit);
    std::string bytes;
    if (S_ISREG(info.st_mode)) bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in.fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            cannotRead(path, std::strerror(errno));
        }
        if (bytes.size() + static_cast<std::size_t>(n) > limit) tooLarge(path, limit);
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

void checkDataFile(const std::string& path, std::size_t limit) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return; // the control reports a missing file itself
    if (S_ISDIR(info.st_mode)) cannotRead(path, "it is a folder");
    if (!S_ISREG(info.st_mode)) cannotRead(path, "it is not a regular file (use --xml for a pipe)");
    if (static_cast<std::size_t>(info.st_size) > limit) tooLarge(path, limit);
    // Only the first non-blank byte is looked for; it is usually the first byte.
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return;
    int c = 0;
    while ((c = std::fgetc(file)) != EOF && blank(static_cast<char>(c))) {
    }
    std::fclose(file);
    if (c == EOF) requireDocument(path, "");
}

void requireDocument(const std::string& path, const std::string& text) {
    for (const char c : text)
        if (!blank(c)) return;
    throw ChartFailure((path == "-" ? std::string("standard input") : path) +
                       " holds no chart document (it is empty)");
}

} // namespace plotara::apps
