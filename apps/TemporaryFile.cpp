#include "apps/TemporaryFile.h"

#include "apps/DeviceFolders.h"
#include "apps/Failures.h"

#include <atomic>
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

// The temporary files a signal handler removes: one slot per output being written, so that the
// worker threads of a batch each register their own. Paths are copied into fixed buffers because
// a handler may not allocate; a slot's state is a lock-free atomic, which a handler may read.
// More outputs at once than slots are still written, only without the clean-up on a signal.
// The table is constant-initialised to zeros, so it lives in .bss and costs the process nothing
// until an output is written (a dynamic initialiser would touch each slot's page at start).
constexpr std::size_t slotCount = 64;
struct PendingSlot {
    char path[PATH_MAX + 1]{};
    std::atomic<int> state{0}; // 0 free, 1 being filled, 2 a file to remove
};
constinit PendingSlot pendingSlots[slotCount];
static_assert(std::atomic<int>::is_always_lock_free);

constexpr int cleanedSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGXFSZ};

extern "C" void removePendingFiles(int signal) {
    for (PendingSlot& slot : pendingSlots) {
        if (slot.state.load() == 2) ::unlink(slot.path);
    }
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
            action.sa_handler = removePendingFiles;
            sigemptyset(&action.sa_mask);
            action.sa_flags = 0;
            ::sigaction(signal, &action, nullptr);
        }
    });
}

// Registers a temporary file for removal on a signal; returns its slot, or -1 when none is free.
int registerPending(const std::string& path) {
    if (path.size() >= PATH_MAX) return -1;
    for (std::size_t i = 0; i < slotCount; ++i) {
        int expected = 0;
        if (!pendingSlots[i].state.compare_exchange_strong(expected, 1)) continue;
        std::memcpy(pendingSlots[i].path, path.c_str(), path.size() + 1);
        pendingSlots[i].state.store(2);
        return static_cast<int>(i);
    }
    return -1;
}

void releasePending(int& slot) {
    if (slot >= 0) pendingSlots[slot].state.store(0);
    slot = -1;
}

// The process's file-creation mask, read once: umask can only be read by setting it, which would
// race with files other threads create meanwhile.
mode_t processUmask() {
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
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
        mode_ = 0666 & ~processUmask();
    }
    const std::filesystem::path path(target_);
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    if (isDeviceFolder(folder.string()))
        cannotWrite(target_, "its folder holds the system's device files");
    constexpr std::string_view suffix = ".XXXXXX";
    std::string name = path.filename().string();
    const std::size_t room = nameLimit(folder) - 1 - suffix.size();
    if (name.size() > room) name.resize(room);
    temp_ = (folder / ("." + name + std::string(suffix))).string();
    installHandlers();
    fd_ = ::mkstemp(temp_.data());
    if (fd_ < 0) cannotWrite(target_, std::strerror(errno));
    slot_ = registerPending(temp_);
}

TemporaryFile::~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        releasePending(slot_);
    }
}

void TemporaryFile::fail(int error) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    ::unlink(temp_.c_str());
    releasePending(slot_);
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
    releasePending(slot_);
    temp_.clear();
}

} // namespace plotara::apps
