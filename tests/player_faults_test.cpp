// The player's files on a full disk (a file-size limit in a child process) and in a read-only
// folder (a child without root's rights): a saved picture keeps the old file and leaves nothing
// beside it, and a print file is removed.
#include "file_test_support.h"
#include "full_disk.h"
#include "player/ChartPlayer.h"
#include "player/detail/Printer.h"
#include "player_samples.h"
#include "read_only_disk.h"
#include "special_file_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace plotara {
namespace {

namespace fs = std::filesystem;

class PlayerFaults : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "plotara-player-faults-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        player_.put_Movie(fromUtf8(testing::movieUrl(2, testing::singleSeriesSample, 800, 600)));
        ASSERT_EQ(player_.state(), PlayerState::Chart);
    }
    void TearDown() override { fs::remove_all(dir_); }

    static std::string read(const fs::path& file) { return test::readAll(file); }
    std::vector<std::string> names() const { return test::fileNames(dir_); }

    fs::path dir_;
    ChartPlayer player_;
};

TEST_F(PlayerFaults, PicturesSavedOnAFullDiskKeepTheOldFile) {
    struct Case {
        std::string name, magic;
        bool (*save)(const ChartPlayer&, const fs::path&);
    } cases[] = {
        {"c.png", "\x89PNG", [](const ChartPlayer& p, const fs::path& f) { return p.savePng(f); }},
        {"c.svg", "<?xml", [](const ChartPlayer& p, const fs::path& f) { return p.saveSvg(f); }},
        {"c.pdf", "%PDF", [](const ChartPlayer& p, const fs::path& f) { return p.savePdf(f); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = dir_ / c.name;
        std::ofstream(file) << "old";
        auto saved = [&](const fs::path& target) {
            return test::inChildWithFullDisk(1024, [&] { return c.save(player_, target) ? 0 : 1; });
        };
        EXPECT_EQ(saved(file), 1);
        EXPECT_EQ(read(file), "old");
        EXPECT_EQ(saved(dir_ / ("new-" + c.name)), 1);
        EXPECT_EQ(names(), std::vector<std::string>{c.name});

        ASSERT_TRUE(c.save(player_, file));
        const std::string bytes = read(file);
        EXPECT_GT(bytes.size(), 1024u);
        EXPECT_EQ(bytes.substr(0, c.magic.size()), c.magic);
        fs::remove(file);
    }
}

// Into a folder that cannot be written: each save returns false, an existing picture stays as it
// was (also one the user could have overwritten in place) and no file appears.
TEST_F(PlayerFaults, PicturesSavedIntoAReadOnlyFolderKeepTheOldFile) {
    using Save = bool (*)(const ChartPlayer&, const fs::path&);
    const struct {
        std::string name;
        Save save;
    } cases[] = {
        {"c.png", [](const ChartPlayer& p, const fs::path& f) { return p.savePng(f); }},
        {"c.svg", [](const ChartPlayer& p, const fs::path& f) { return p.saveSvg(f); }},
        {"c.pdf", [](const ChartPlayer& p, const fs::path& f) { return p.savePdf(f); }},
    };
    for (const auto& c : cases) {
        std::ofstream(dir_ / ("locked-" + c.name)) << "old";
        std::ofstream(dir_ / ("open-" + c.name)) << "old";
        ::chmod((dir_ / ("open-" + c.name)).c_str(), 0666);
    }
    const std::vector<std::string> before = names();
    const int status = test::inChildOverReadOnlyFolder(dir_, [&] {
        int saved = 0;
        for (const auto& c : cases) {
            for (const char* prefix : {"locked-", "open-", "new-"})
                saved += c.save(player_, dir_ / (prefix + c.name));
        }
        return saved;
    });
    if (status == test::notReadOnlyHere) GTEST_SKIP() << "no child here is denied writing";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(names(), before);
    for (const std::string& name : before)
        EXPECT_EQ(read(dir_ / name), "old") << name;
    ASSERT_TRUE(cases[0].save(player_, dir_ / "new-c.png")); // the same save, writable again
}

// A named pipe or a device at the target takes the picture in place and stays a pipe or a
// device; a pipe without a reader, a socket and a folder make the save return false.
TEST_F(PlayerFaults, PicturesSavedToPipesAndDevicesLeaveTheNodes) {
    using Save = bool (*)(const ChartPlayer&, const fs::path&);
    const std::pair<std::string, Save> saves[] = {
        {"png", [](const ChartPlayer& p, const fs::path& f) { return p.savePng(f); }},
        {"svg", [](const ChartPlayer& p, const fs::path& f) { return p.saveSvg(f); }},
        {"pdf", [](const ChartPlayer& p, const fs::path& f) { return p.savePdf(f); }},
    };
    // A PDF carries the second it was made in: two saves may differ in those digits only.
    const auto sameButTheDate = [](const std::string& a, const std::string& b) {
        std::size_t differ = 0;
        for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
            differ += a[i] != b[i];
        return a.size() == b.size() && a.rfind("%PDF", 0) == 0 && differ <= 14;
    };
    bool deviceRan = true;
    for (const auto& [format, save] : saves) {
        SCOPED_TRACE(format);
        const fs::path folder = dir_ / format;
        fs::create_directory(folder);
        deviceRan &= test::expectSpecialTargetsWrittenInPlace(
            folder, [&](const fs::path& target) { return save(player_, target); },
            format == "pdf" ? test::SameBytes(sameButTheDate) : test::SameBytes());
    }
    if (!deviceRan) GTEST_SKIP() << test::noDeviceNodes;
}

TEST_F(PlayerFaults, APrintFileThatCannotBeWrittenIsRemoved) {
    const std::string previous = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    ::setenv("TMPDIR", dir_.c_str(), 1);
    const std::string pdf = player_.pdf();
    const int status = test::inChildWithFullDisk(1024, [&] {
        return player::spoolPdf(pdf, {"true"}) == "Cannot write the print file" ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(names().empty());
    EXPECT_EQ(player::spoolPdf(pdf, {"true"}), "");
    EXPECT_TRUE(names().empty());
    if (previous.empty())
        ::unsetenv("TMPDIR");
    else
        ::setenv("TMPDIR", previous.c_str(), 1);
}

} // namespace
} // namespace plotara
