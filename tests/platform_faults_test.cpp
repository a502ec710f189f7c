// A full disk or a read-only folder under the property file: the save fails with the access
// error, the form saved before stays whole, and no temporary file is left beside it.
#include "core/ErrorTrap.h"
#include "fault_doubles.h"
#include "file_test_support.h"
#include "platform/FilePropertyBag.h"
#include "read_only_disk.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

namespace plotara {
namespace {

namespace fs = std::filesystem;

using test::readAll;

TEST(PlatformFaults, APropertyFileOnAFullDiskKeepsTheFormSavedBefore) {
    std::string pattern = (fs::temp_directory_path() / "plotara-faults-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path folder = pattern, file = folder / "form.plf";
    FilePropertyBag form(fromUtf8(file.string()));
    form.addControl(L"Plotara1").set(L"ChartType", Variant(Long{11}));
    form.save();
    const std::string saved = readAll(file);

    form.control(L"Plotara1").set(L"ExternalXML", Variant(String(20000, L'x')));
    const int status = test::inChildWithFullDisk(4096, [&] {
        const std::optional<Error> error = ErrorTrap::capture([&] { form.save(); });
        return error ? static_cast<int>(error->number()) : 0;
    });
    EXPECT_EQ(status, 75);
    EXPECT_EQ(readAll(file), saved);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    fs::remove_all(folder);
}

// The folder cannot be written: error 75, whether the form file itself is writable or not, and
// a new form is not created.
TEST(PlatformFaults, APropertyFileInAReadOnlyFolderKeepsTheFormSavedBefore) {
    std::string pattern = (fs::temp_directory_path() / "plotara-faults-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path folder = pattern, locked = folder / "locked.plf", open = folder / "open.plf";
    FilePropertyBag form(fromUtf8(locked.string()));
    form.addControl(L"Plotara1").set(L"ChartType", Variant(Long{11}));
    form.save();
    fs::copy_file(locked, open);
    ::chmod(open.c_str(), 0666);
    const std::string saved = readAll(locked);

    form.control(L"Plotara1").set(L"ChartType", Variant(Long{12}));
    const int status = test::inChildOverReadOnlyFolder(folder, [&] {
        int mismatches = 0;
        for (const fs::path& file : {locked, open, folder / "new.plf"}) {
            FilePropertyBag copy(fromUtf8(file.string()));
            copy.addControl(L"Plotara1").set(L"ChartType", Variant(Long{12}));
            const std::optional<Error> error = ErrorTrap::capture([&] { copy.save(); });
            mismatches += !error || error->number() != 75;
        }
        return mismatches;
    });
    if (status == test::notReadOnlyHere) GTEST_SKIP() << "no child here is denied writing";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readAll(locked), saved);
    EXPECT_EQ(readAll(open), saved);
    EXPECT_EQ(test::fileNames(folder), (std::vector<std::string>{"locked.plf", "open.plf"}));
    fs::remove_all(folder);
}

} // namespace
} // namespace plotara
