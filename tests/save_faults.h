// One rig for every writer's save on a failing disk: a full disk (a file-size limit in a child)
// and a read-only folder (a child without the right to write there). The save must fail its own
// way, keep each existing file as it was (also one writable in place) and leave nothing beside it.
#pragma once

#include "file_test_support.h"
#include "full_disk.h"
#include "read_only_disk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace plotara::test {

enum class DiskFault { Full, ReadOnly };

// Runs failsItsWay(target, fault) in a child for an existing file and a new one on a full disk
// of diskBytes, and for a read-only file, a writable one and a new one in a read-only folder;
// failsItsWay returns true when the save failed as the writer promises (false, an error number,
// no message box). folder is left with the files it had, the two old ones still "old". Returns
// false when no child here could be denied writing (the read-only half did not run).
inline bool expectSaveFailsCleanly(
    const std::filesystem::path& folder, const std::string& ext,
    const std::function<bool(const std::filesystem::path&, DiskFault)>& failsItsWay,
    rlim_t diskBytes = 1024) {
    const std::filesystem::path locked = folder / ("locked." + ext),
                                open = folder / ("open." + ext), fresh = folder / ("new." + ext);
    std::ofstream(locked) << "old";
    std::ofstream(open) << "old";
    ::chmod(open.c_str(), 0666);
    const std::vector<std::string> before = fileNames(folder);
    auto wrongOf = [&](DiskFault fault, std::vector<std::filesystem::path> targets) {
        int wrong = 0;
        for (const std::filesystem::path& target : targets)
            wrong += !failsItsWay(target, fault);
        return wrong;
    };
    EXPECT_EQ(inChildWithFullDisk(diskBytes,
                                  [&] {
                                      return wrongOf(DiskFault::Full, {open, fresh});
                                  }),
              0)
        << "saves on a full disk that did not fail as they should";
    const int status = inChildOverReadOnlyFolder(folder, [&] {
        return wrongOf(DiskFault::ReadOnly, {locked, open, fresh});
    });
    EXPECT_TRUE(status == 0 || status == notReadOnlyHere)
        << status << " saves into a read-only folder did not fail as they should";
    EXPECT_EQ(fileNames(folder), before);
    EXPECT_EQ(readAll(locked), "old");
    EXPECT_EQ(readAll(open), "old");
    return status != notReadOnlyHere;
}

} // namespace plotara::test
