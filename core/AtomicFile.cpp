#include "core/AtomicFile.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <pthread.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace plotara {

namespace {

// Creates a new file named ".<name>.XXXXXX" beside the target (the name cut so that the whole
// fits the file system's 255 bytes); its descriptor, or -1 with errno set.
int createBeside(const std::string& target, std::string& temporary) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = target.substr(folder.size()).substr(0, 240);
    std::random_device seed;
    std::minstd_rand random(seed());
    static constexpr char letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + "." + name + ".";
        for (int i = 0; i < 6; ++i)
            temporary += letters[random() % (sizeof letters - 1)];
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

int writeAll(int fd, std::string_view bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        written += static_cast<std::size_t>(n);
    }
    return 0;
}

// Writing to a pipe whose reader has gone raises SIGPIPE, and its default action would end the
// host's process. For the write the signal is blocked in this thread only; a SIGPIPE the write
// raised is taken off before the thread's mask is restored, so the write reports EPIPE instead.
class QuietPipe {
public:
    QuietPipe() {
        sigemptyset(&pipeOnly_);
        sigaddset(&pipeOnly_, SIGPIPE);
        sigset_t pending;
        wasPending_ = ::sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
        ::pthread_sigmask(SIG_BLOCK, &pipeOnly_, &previous_);
    }
    ~QuietPipe() {
        const int saved = errno;
        sigset_t pending;
        if (!wasPending_ && ::sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1) {
            const timespec now{};
            while (::sigtimedwait(&pipeOnly_, nullptr, &now) < 0 && errno == EINTR) {
            }
        }
        ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
        errno = saved;
    }
    QuietPipe(const QuietPipe&) = delete;
    QuietPipe& operator=(const QuietPipe&) = delete;

private:
    sigset_t pipeOnly_{}, previous_{};
    bool wasPending_ = false;
};

// A device or a named pipe takes the bytes in place, as a plain write would: no temporary file
// and no truncation, so the node stays what it is. The open does not wait: a pipe that no one
// reads is ENXIO at once, and a device that would wait for a line (a serial port) opens anyway;
// blocking comes back for the write itself.
int writeInPlace(const std::string& target, const struct stat& node, std::string_view bytes) {
    const int fd =
        ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = 0;
    struct stat opened {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &opened) != 0 || flags < 0) error = errno;
    // Another node put in its place since it was looked at: nothing is written to it.
    else if (opened.st_dev != node.st_dev || opened.st_ino != node.st_ino)
        error = EAGAIN;
    else if (::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        error = errno;
    if (error == 0) {
        std::optional<QuietPipe> quiet;
        if (S_ISFIFO(node.st_mode)) quiet.emplace();
        error = writeAll(fd, bytes);
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    return error;
}

// A regular file, or none, at target: the bytes go to a temporary file beside it that is renamed
// over it once complete. existing is the target's status, or null when there is none.
int replaceRegular(const std::string& target, const struct stat* existing, std::string_view bytes) {
    std::string temporary;
    const int fd = createBeside(target, temporary);
    if (fd < 0) return errno;
    int error = 0;
    if (existing != nullptr && ::fchmod(fd, existing->st_mode & 07777) != 0) error = errno;
    if (error == 0) error = writeAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) ::unlink(temporary.c_str());
    return error;
}

// Follows symbolic links from path to the node they end at, at most 40 as the kernel does;
// path becomes that node's path and info its status. 0 (ENOENT when nothing is there: a link
// to a missing file names the file to create), or the errno of the step that failed.
int followLinks(std::string& path, struct stat& info) {
    for (int hop = 0; hop <= 40; ++hop) {
        if (::lstat(path.c_str(), &info) != 0) return errno;
        if (!S_ISLNK(info.st_mode)) return 0;
        std::error_code failed;
        const std::filesystem::path link = std::filesystem::read_symlink(path, failed);
        if (failed) return failed.value();
        path = link.is_absolute() ? link.native()
                                  : (std::filesystem::path(path).parent_path() / link).native();
    }
    return ELOOP;
}

} // namespace

int replaceFile(const std::filesystem::path& path, std::string_view bytes) {
    std::string target = path.native();
    struct stat node {};
    const int found = followLinks(target, node);
    if (found == ENOENT) return replaceRegular(target, nullptr, bytes);
    if (found != 0) return found;
    if (S_ISREG(node.st_mode)) return replaceRegular(target, &node, bytes);
    if (S_ISCHR(node.st_mode) || S_ISBLK(node.st_mode) || S_ISFIFO(node.st_mode))
        return writeInPlace(target, node, bytes);
    return S_ISDIR(node.st_mode) ? EISDIR : ENXIO;
}

} // namespace plotara
