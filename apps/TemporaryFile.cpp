#include "apps/TemporaryFile.h"

#include "apps/Types.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace plotara::apps {

namespace {

// The one temporary file a signal handler removes. A process writes one output at a time; the
// path is copied into a fixed buffer because a handler may not allocate.
char pendingPath[PATH_MAX + 1];
volatile std::sig_atomic_t pending = 0;

constexpr int cleanedSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGXFSZ};

extern "C" void removePendingFile(int signal) {
    if (pending) ::unlink(pendingPath);
    pending = 0;
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void installHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const int signal : cleanedSignals) {
            struct sigaction action {};
            if (::sigaction(signal, nullptr, &action) != 0) continue;
            // A signal the caller ignores (nohup) stays ignored.
            if (action.sa_handler == SIG_IGN) continue;
            action.sa_handler = removePendingFile;
            sigemptyset(&action.sa_mask);
            action.sa_flags = 0;
            ::sigaction(signal, &action, nullptr);
        }
    });
}

void setPending(const std::string& path) {
    pending = 0;
    if (path.size() >= sizeof pendingPath) return;
    std::memcpy(pendingPath, path.c_str(), path.size() + 1);
    pending = 1;
}

[[noreturn]] void cannotWrite(const std::string& path, const std::string& reason) {
    throw ChartFailure("cannot write " + path + ": " + reason);
}

// The longest file name the folder takes (255 on the usual file systems).
std::size_t nameLimit(const std::filesystem::path& folder) {
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

} // namespace

TemporaryFile::TemporaryFile(std::string target) : target_(std::move(target)) {
    struct stat info {};
    if (::stat(target_.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode)) cannotWrite(target_, "it is not a regular file");
        mode_ = info.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode_ = 0666 & ~mask;
    }
    const std::filesystem::path path(target_);
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    constexpr std::string_view suffix = ".XXXXXX";
    std::string name = path.filename().string();
    const std::size_t room = nameLimit(folder) - 1 - suffix.size();
    if (name.size() > room) name.resize(room);
    temp_ = (folder / ("." + name + std::string(suffix))).string();
    installHandlers();
    fd_ = ::mkstemp(temp_.data());
    if (fd_ < 0) cannotWrite(target_, std::strerror(errno));
    setPending(temp_);
}

TemporaryFile::~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) {
        pending = 0;
        ::unlink(temp_.c_str());
    }
}

void TemporaryFile::fail(int error) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    pending = 0;
    ::unlink(temp_.c_str());
    temp_.clear();
    cannotWrite(target_, std::strerror(error));
}

void TemporaryFile::write(std::string_view bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        written += static_cast<std::size_t>(n);
    }
}

void TemporaryFile::commit() {
    // mkstemp makes the file private; the output gets the target's bits or the usual ones.
    if (::fchmod(fd_, mode_) != 0) fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail(errno);
    if (::rename(temp_.c_str(), target_.c_str()) != 0) fail(errno);
    pending = 0;
    temp_.clear();
}

} // namespace plotara::apps
