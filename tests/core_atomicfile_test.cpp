// Whole-file replacement: new contents or old ones, never a part, and nothing left beside the
// target, also when the disk fills up half-way (a file-size limit in a child process).
#include "core/AtomicFile.h"
#include "file_test_support.h"
#include "save_faults.h"
#include "special_file_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <sys/stat.h>

namespace plotara {
namespace {

namespace fs = std::filesystem;

class AtomicFile : public ::testing::Test {
protected:
    static std::string read(const fs::path& file) { return test::readAll(file); }
    std::vector<std::string> names() const { return test::fileNames(dir_); }
    static unsigned modeOf(const fs::path& file) {
        struct stat st {};
        ::stat(file.c_str(), &st);
        return st.st_mode & 07777;
    }

    test::TempDir temp_;
    const fs::path dir_ = temp_.path();
};

TEST_F(AtomicFile, ReplacesTheContentsAndKeepsThePermissionBits) {
    const fs::path file = dir_ / "chart.png";
    std::ofstream(file) << "old contents, longer than the new ones";
    ::chmod(file.c_str(), 0640);
    EXPECT_EQ(replaceFile(file, "new"), 0);
    EXPECT_EQ(read(file), "new");
    EXPECT_EQ(modeOf(file), 0640u);
    EXPECT_EQ(names(), std::vector<std::string>{"chart.png"});

    const mode_t mask = ::umask(022);
    EXPECT_EQ(replaceFile(dir_ / "fresh.png", ""), 0);
    ::umask(mask);
    EXPECT_EQ(modeOf(dir_ / "fresh.png"), 0644u);
    EXPECT_EQ(read(dir_ / "fresh.png"), "");
}

// Names up to the file system's 255 bytes work: the temporary name is cut to fit.
TEST_F(AtomicFile, TheLongestNamesCanBeWritten) {
    const fs::path file = dir_ / (std::string(251, 'n') + ".png");
    EXPECT_EQ(replaceFile(file, "x"), 0);
    EXPECT_EQ(read(file), "x");
    EXPECT_EQ(names().size(), 1u);
}

// Only a regular file or a missing one is replaced; a device or a pipe is written in place as a
// plain write would, anything else refused with a telling errno, and each node keeps its kind
// (a missing file becomes a regular one; a link stays a link, its target written by the rules).
TEST_F(AtomicFile, EachKindOfTargetIsReplacedWrittenInPlaceOrRefused) {
    std::string bytes(1 << 20, '\0'); // more than a pipe holds, so a reader that leaves is met
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 % 251);
    enum Reader { noReader, readsAll, leaves };
    struct Case {
        const char* name;
        std::function<bool(const fs::path&)> make; // false: the machine does not allow it
        Reader reader;
        int expected;
        mode_t kindAfter;
    };
    const auto pipe = [](const fs::path& p) { return ::mkfifo(p.c_str(), 0600) == 0; };
    std::vector<int> sockets;
    const Case cases[] = {
        {"a regular file", [](const fs::path& p) { return !!(std::ofstream(p) << "old"); },
         noReader, 0, S_IFREG},
        {"nothing", [](const fs::path&) { return true; }, noReader, 0, S_IFREG},
        {"a link to a file",
         [&](const fs::path& p) {
             std::ofstream(dir_ / "file") << "old";
             fs::create_symlink(dir_ / "file", p);
             return true;
         },
         noReader, 0, S_IFLNK},
        {"a relative link to nothing",
         [](const fs::path& p) { return fs::create_symlink("made", p), true; }, noReader, 0,
         S_IFLNK},
        {"a link to itself",
         [](const fs::path& p) { return fs::create_symlink(p.filename(), p), true; }, noReader,
         ELOOP, S_IFLNK},
        {"a pipe with a reader", pipe, readsAll, 0, S_IFIFO},
        {"a pipe without one", pipe, noReader, ENXIO, S_IFIFO},
        {"a pipe whose reader leaves", pipe, leaves, EPIPE, S_IFIFO},
        {"a character device", test::makeNullDevice, noReader, 0, S_IFCHR},
        {"a socket",
         [&](const fs::path& p) { return sockets.push_back(test::bindSocket(p)), true; }, noReader,
         ENXIO, S_IFSOCK},
        {"a folder", [](const fs::path& p) { return fs::create_directory(p); }, noReader, EISDIR,
         S_IFDIR},
    };
    bool deviceRan = true;
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path target = dir_ / ("target" + std::to_string(number++));
        if (!c.make(target)) {
            deviceRan = false; // only the device node may be refused
            continue;
        }
        std::optional<test::PipeReader> reader;
        if (c.reader != noReader)
            reader.emplace(target, c.reader == leaves ? 1 : std::string::npos);
        EXPECT_EQ(replaceFile(target, bytes), c.expected);
        EXPECT_EQ(test::nodeKind(target), c.kindAfter);
        // What arrived: through the pipe, or in the file (a link's target) read back.
        const bool written = c.reader == readsAll                        ? reader->bytes() == bytes
                             : c.expected == 0 && c.kindAfter != S_IFCHR ? read(target) == bytes
                                                                         : true;
        EXPECT_TRUE(written);
    }
    EXPECT_TRUE(read(dir_ / "made") == bytes); // beside the link, not in the working folder
    for (const int fd : sockets)
        EXPECT_EQ(::close(fd), 0);
    for (const std::string& name : names())
        EXPECT_NE(name.front(), '.') << "a temporary file stayed behind";
    if (!deviceRan) GTEST_SKIP() << test::noDeviceNodes;
}

TEST_F(AtomicFile, FailuresLeaveNothingBehind) {
    EXPECT_EQ(replaceFile(dir_ / "missing" / "x.png", "x"), ENOENT);
    EXPECT_EQ(names(), std::vector<std::string>{});
}

// The disk fills up half-way through (EFBIG) or the folder cannot be written (EACCES, before
// anything is written): each target as it was, also one writable in place, nothing beside it.
TEST_F(AtomicFile, AFailingDiskKeepsEveryFileAsItWas) {
    const std::string big(20000, 'x');
    const bool readOnlyRan = test::expectSaveFailsCleanly(
        dir_, "plf",
        [&](const fs::path& file, test::DiskFault fault) {
            return replaceFile(file, big) == (fault == test::DiskFault::Full ? EFBIG : EACCES);
        },
        4096);
    EXPECT_EQ(replaceFile(dir_ / "open.plf", big), 0);
    EXPECT_EQ(read(dir_ / "open.plf"), big);
    if (!readOnlyRan) GTEST_SKIP() << "no child here is denied writing";
}

} // namespace
} // namespace plotara
