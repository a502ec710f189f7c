// Writing files: whole-file replacement (new contents or old ones, never a part, and nothing left
// beside the target, also when the disk fills up half-way) and the BMP headers, byte for byte
// against headers worked out by hand from the file format.
#include "core/AtomicFile.h"
#include "core/BmpHeader.h"
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

// Names up to the file system's 255 bytes work: the temporary name is cut to fit. A failure
// leaves nothing behind.
TEST_F(AtomicFile, TheLongestNamesCanBeWrittenAndFailuresLeaveNothing) {
    const fs::path file = dir_ / (std::string(251, 'n') + ".png");
    EXPECT_EQ(replaceFile(file, "x"), 0);
    EXPECT_EQ(read(file), "x");
    EXPECT_EQ(replaceFile(dir_ / "missing" / "x.png", "x"), ENOENT);
    EXPECT_EQ(names(), std::vector<std::string>{file.filename().string()});
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

// The bytes as two hexadecimal digits each, for readable failures.
std::string hex(const std::string& bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += digits[b >> 4];
        out += digits[b & 0xF];
    }
    return out;
}

TEST(BmpHeader, RowsArePaddedToFourBytes) {
    const struct {
        std::uint32_t width, bits, bytes;
    } cases[] = {{1, 24, 4}, {3, 24, 12}, {4, 24, 12}, {5, 24, 16}, {1, 8, 4},
                 {4, 8, 4},  {5, 8, 8},   {0, 24, 0},  {0, 8, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(bmp::rowBytes(c.width, c.bits), c.bytes) << c.width << " x " << c.bits;
}

TEST(BmpHeader, HeadersOfTrueColourAndPalettePictures) {
    const struct {
        std::uint32_t width, height;
        std::uint16_t bits;
        std::uint32_t palette;
        const char* header;
    } cases[] = {
        // 3 x 2 at 24 bits: 9-byte rows padded to 12, 24 bytes of pixels right after 54.
        {3, 2, 24, 0,
         "424d4e000000000000003600000028000000030000000200000001001800"
         "0000000018000000c40e0000c40e00000000000000000000"},
        // 5 x 1 at 8 bits with two colours: pixels after the 8-byte colour table, at 62.
        {5, 1, 8, 2,
         "424d46000000000000003e00000028000000050000000100000001000800"
         "0000000008000000c40e0000c40e00000200000000000000"},
    };
    for (const auto& c : cases) {
        std::string out = "kept";
        bmp::appendHeaders(out, c.width, c.height, c.bits, c.palette);
        ASSERT_EQ(out.size(), 4u + 54u);
        EXPECT_EQ(out.substr(0, 4), "kept");
        EXPECT_EQ(hex(out.substr(4)), c.header);
    }
}

} // namespace
} // namespace plotara
