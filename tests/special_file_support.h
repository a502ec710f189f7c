// Targets that are not regular files, made real for the writers' tests: named pipes with and
// without a reader, a character device node, a socket and a folder.
#pragma once

#include "file_test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace plotara::test {

// The kind of node at path (S_IFREG, S_IFIFO, S_IFLNK, ...), not following a link; 0 for none.
inline mode_t nodeKind(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

// A reader of a named pipe. It opens the pipe at once, so a writer that does not wait finds it,
// and a thread takes what comes until the writer closes, or until it has `keep` bytes and
// leaves (the writer then meets a pipe without a reader). Gives up after ten seconds without
// a writer, so a failing test does not hang.
class PipeReader {
public:
    explicit PipeReader(const std::filesystem::path& fifo, std::size_t keep = std::string::npos)
        : fd_(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
        thread_ = std::thread([this, keep] {
            char buffer[65536];
            pollfd wait{fd_, POLLIN, 0};
            while (fd_ >= 0 && bytes_.size() < keep && ::poll(&wait, 1, 10000) > 0) {
                const ssize_t n = ::read(fd_, buffer, sizeof buffer);
                if (n == 0) break;
                if (n > 0) bytes_.append(buffer, static_cast<std::size_t>(n));
            }
            if (fd_ >= 0) ::close(fd_);
        });
    }
    ~PipeReader() { bytes(); }
    PipeReader(const PipeReader&) = delete;
    PipeReader& operator=(const PipeReader&) = delete;

    // What the reader took, once it is done.
    const std::string& bytes() {
        if (thread_.joinable()) thread_.join();
        return bytes_;
    }

private:
    int fd_;
    std::string bytes_;
    std::thread thread_;
};

// A character device like /dev/null (1, 3) at path; false when the machine allows none there
// (mknod refused without the capability, or a file system mounted without devices).
inline bool makeNullDevice(const std::filesystem::path& path) {
    if (::mknod(path.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0) return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd >= 0) ::close(fd);
    return fd >= 0;
}

// A listening Unix socket bound at path; its descriptor (closed by the caller), or -1.
inline int bindSocket(const std::filesystem::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.native().size() >= sizeof address.sun_path) return -1;
    path.native().copy(address.sun_path, path.native().size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Runs a writer (true when it reports success) on each kind of target that is not a regular
// file, in folder: a named pipe with a reader gets the very bytes the writer puts in a regular
// file (or ones that same accepts); a pipe without a reader fails at once; a character device node
// takes the bytes; a socket and a folder fail; each node keeps its kind. Returns false when the
// machine allows no device node here, so that the caller can say the device case did not run.
using SameBytes = std::function<bool(const std::string& piped, const std::string& filed)>;
inline bool
expectSpecialTargetsWrittenInPlace(const std::filesystem::path& folder,
                                   const std::function<bool(const std::filesystem::path&)>& write,
                                   const SameBytes& same = {}) {
    namespace fs = std::filesystem;
    const fs::path regular = folder / "regular", fifo = folder / "pipe";
    EXPECT_TRUE(write(regular));
    EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    {
        PipeReader reader(fifo);
        EXPECT_TRUE(write(fifo));
        const std::string piped = reader.bytes(), filed = readAll(regular);
        EXPECT_FALSE(filed.empty());
        EXPECT_TRUE(same ? same(piped, filed) : piped == filed)
            << "the pipe took " << piped.size() << " bytes, the file " << filed.size();
    }
    EXPECT_FALSE(write(fifo)) << "a pipe without a reader";
    EXPECT_EQ(nodeKind(fifo), S_IFIFO);

    const fs::path socket = folder / "socket", subfolder = folder / "folder";
    const int bound = bindSocket(socket);
    EXPECT_GE(bound, 0);
    fs::create_directory(subfolder);
    EXPECT_FALSE(write(socket));
    EXPECT_FALSE(write(subfolder));
    EXPECT_EQ(nodeKind(socket), S_IFSOCK);
    EXPECT_EQ(nodeKind(subfolder), S_IFDIR);
    if (bound >= 0) ::close(bound);

    const fs::path device = folder / "device";
    if (!makeNullDevice(device)) return false;
    EXPECT_TRUE(write(device));
    struct stat info {};
    EXPECT_EQ(::lstat(device.c_str(), &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode) && info.st_rdev == ::makedev(1, 3));
    return true;
}

inline constexpr const char* noDeviceNodes =
    "the pipe, socket and folder cases passed; this machine allows no character device node in "
    "the temporary folder (mknod refused or the file system has no devices), so the device case "
    "did not run";

} // namespace plotara::test
