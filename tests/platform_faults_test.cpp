// A full disk or a read-only folder under the property file: the save fails with the access
// error (75), the form saved before stays whole, and no temporary file is left beside it.
#include "core/ErrorTrap.h"
#include "fault_doubles.h"
#include "file_test_support.h"
#include "platform/FilePropertyBag.h"
#include "save_faults.h"

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

TEST(PlatformFaults, APropertyFileOnAFailingDiskKeepsTheFormSavedBefore) {
    std::string pattern = (fs::temp_directory_path() / "plotara-faults-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path folder = pattern;
    const bool readOnlyRan = test::expectSaveFailsCleanly(
        folder, "plf",
        [](const fs::path& file, test::DiskFault) {
            FilePropertyBag form(fromUtf8(file.string()));
            form.addControl(L"Plotara1").set(L"ExternalXML", Variant(String(20000, L'x')));
            const std::optional<Error> error = ErrorTrap::capture([&] { form.save(); });
            return error && error->number() == 75;
        },
        4096);
    FilePropertyBag form(fromUtf8((folder / "open.plf").string()));
    form.addControl(L"Plotara1").set(L"ChartType", Variant(Long{11}));
    form.save(); // the same save, writable again
    EXPECT_NE(readAll(folder / "open.plf").find("Plotara1"), std::string::npos);
    fs::remove_all(folder);
    if (!readOnlyRan) GTEST_SKIP() << "no child here is denied writing";
}

} // namespace
} // namespace plotara
