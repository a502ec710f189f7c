// The player's files on a full disk (a file-size limit in a child process) and in a read-only
// folder (a child without root's rights): a saved picture keeps the old file and leaves nothing
// beside it, and a print file is removed.
#include "file_test_support.h"
#include "player/ChartPlayer.h"
#include "player/detail/Printer.h"
#include "player_samples.h"
#include "save_faults.h"
#include "special_file_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <tuple>

namespace plotara {
namespace {

namespace fs = std::filesystem;

using Save = bool (*)(const ChartPlayer&, const fs::path&);
const std::tuple<std::string, std::string, Save> saves[] = {
    {"png", "\x89PNG", [](const ChartPlayer& p, const fs::path& f) { return p.savePng(f); }},
    {"svg", "<?xml", [](const ChartPlayer& p, const fs::path& f) { return p.saveSvg(f); }},
    {"pdf", "%PDF", [](const ChartPlayer& p, const fs::path& f) { return p.savePdf(f); }},
};

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

// On a full disk and in a read-only folder each save returns false, keeps the old file and
// leaves nothing beside it; writable again, the same save writes the whole picture.
TEST_F(PlayerFaults, PicturesSavedOnAFailingDiskKeepTheOldFile) {
    bool readOnlyRan = true;
    for (const auto& [ext, magic, save] : saves) {
        SCOPED_TRACE(ext);
        readOnlyRan &=
            test::expectSaveFailsCleanly(dir_, ext, [&](const fs::path& target, test::DiskFault) {
                return !save(player_, target);
            });
        const fs::path made = dir_ / ("made." + ext);
        ASSERT_TRUE(save(player_, made));
        EXPECT_GT(fs::file_size(made), 1024u);
        EXPECT_EQ(read(made).substr(0, magic.size()), magic);
    }
    if (!readOnlyRan) GTEST_SKIP() << "no child here is denied writing";
}

// A named pipe or a device at the target takes the picture in place and stays a pipe or a
// device; a pipe without a reader, a socket and a folder make the save return false.
TEST_F(PlayerFaults, PicturesSavedToPipesAndDevicesLeaveTheNodes) {
    // A PDF carries the second it was made in: two saves may differ in those digits only.
    const auto sameButTheDate = [](const std::string& a, const std::string& b) {
        std::size_t differ = 0;
        for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
            differ += a[i] != b[i];
        return a.size() == b.size() && a.rfind("%PDF", 0) == 0 && differ <= 14;
    };
    bool deviceRan = true;
    for (const auto& [format, magic, save] : saves) {
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
