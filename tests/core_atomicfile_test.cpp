// Whole-file replacement: new contents or old ones, never a part, and nothing left beside the
// target, also when the disk fills up half-way (a file-size limit in a child process).
#include "core/AtomicFile.h"
#include "file_test_support.h"
#include "full_disk.h"
#include "read_only_disk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace plotara {
namespace {

namespace fs = std::filesystem;

class AtomicFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "plotara-atomic-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    static std::string read(const fs::path& file) { return test::readAll(file); }
    std::vector<std::string> names() const { return test::fileNames(dir_); }
    static unsigned modeOf(const fs::path& file) {
        struct stat st {};
        ::stat(file.c_str(), &st);
        return st.st_mode & 07777;
    }

    fs::path dir_;
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

TEST_F(AtomicFile, FailuresLeaveNothingBehind) {
    EXPECT_EQ(replaceFile(dir_ / "missing" / "x.png", "x"), ENOENT);
    fs::create_directory(dir_ / "folder");
    EXPECT_EQ(replaceFile(dir_ / "folder", "x"), EISDIR);
    EXPECT_EQ(names(), std::vector<std::string>{"folder"});
}

// The disk fills up half-way through: EFBIG, the old file as it was, nothing beside it; a
// target that did not exist is not created.
TEST_F(AtomicFile, AFullDiskKeepsTheOldFile) {
    const fs::path file = dir_ / "form.plf";
    std::ofstream(file) << "old";
    const std::string big(20000, 'x');
    EXPECT_EQ(test::inChildWithFullDisk(4096, [&] { return replaceFile(file, big); }), EFBIG);
    EXPECT_EQ(read(file), "old");
    EXPECT_EQ(test::inChildWithFullDisk(4096, [&] { return replaceFile(dir_ / "new", big); }),
              EFBIG);
    EXPECT_EQ(names(), std::vector<std::string>{"form.plf"});
    EXPECT_EQ(replaceFile(file, big), 0);
    EXPECT_EQ(read(file), big);
}

// A folder that cannot be written (a read-only disk): EACCES before anything is written, no
// file created, and each target as it was, also one its owner could have written in place.
TEST_F(AtomicFile, AReadOnlyFolderKeepsEveryFileAsItWas) {
    const fs::path locked = dir_ / "locked.png", open = dir_ / "open.png";
    std::ofstream(locked) << "old";
    std::ofstream(open) << "old";
    ::chmod(open.c_str(), 0666);
    const int status = test::inChildOverReadOnlyFolder(dir_, [&] {
        int failures = 0;
        for (const fs::path& file : {locked, open, dir_ / "new.png"})
            failures += replaceFile(file, "new") != EACCES;
        return failures;
    });
    if (status == test::notReadOnlyHere) GTEST_SKIP() << "no child here is denied writing";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(read(locked), "old");
    EXPECT_EQ(read(open), "old");
    EXPECT_EQ(names(), (std::vector<std::string>{"locked.png", "open.png"}));
}

} // namespace
} // namespace plotara
