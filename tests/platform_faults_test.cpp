// A full disk under the property file: the save fails with the access error, the form saved
// before stays whole, and no temporary file is left beside it.
#include "core/ErrorTrap.h"
#include "fault_doubles.h"
#include "file_test_support.h"
#include "platform/FilePropertyBag.h"

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

} // namespace
} // namespace plotara
