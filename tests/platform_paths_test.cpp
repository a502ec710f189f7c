// Folder and file names outside ASCII through every member that takes a file path, in the "C"
// locale (where a wide string cannot be converted to a path by the standard library) and in a
// UTF-8 locale.
#include "core/ErrorTrap.h"
#include "core/FilePath.h"
#include "core_test_support.h"
#include "file_test_support.h"
#include "platform/FileAttributes.h"
#include "platform/FilePropertyBag.h"
#include "platform/Registry.h"
#include "platform/sqlite/SqliteDatabase.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace plotara {
namespace {

namespace fs = std::filesystem;

using test::errorOf;

// "Übersicht" and "图表" in UTF-8 and as wide text.
const std::string folderUtf8 = "\xC3\x9C"
                               "bersicht";
const std::string fileUtf8 = "\xE5\x9B\xBE\xE8\xA1\xA8";
const String folderWide = L"\u00dcbersicht";
const String fileWide = L"\u56fe\u8868";

class PlatformPaths : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_NE(std::setlocale(LC_ALL, GetParam()), nullptr)
            << GetParam() << " is missing: localedef -i de_DE -f UTF-8 de_DE.UTF-8";
        fs::create_directories(root / folderUtf8);
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
    // The wide name of a file in the non-ASCII folder, as a host would hold it.
    String wide(const String& name) const {
        return fromUtf8(root.native()) + L"/" + folderWide + L"/" + name;
    }
    fs::path native(const std::string& name) const { return root / folderUtf8 / name; }

    test::TempDir temp;
    const fs::path root = temp.path();
};

TEST_P(PlatformPaths, ConversionIsUtf8BothWays) {
    const String name = wide(fileWide + L".bmp");
    const fs::path path = toPath(name);
    EXPECT_EQ(path, native(fileUtf8 + ".bmp"));
    EXPECT_EQ(path.filename().native(), fileUtf8 + ".bmp");
    EXPECT_EQ(fromPath(path), name);
    // Bytes that are not UTF-8 still give text for a message rather than an exception.
    EXPECT_EQ(fromPath(fs::path("a\xFF")), L"a\uFFFD");
}

TEST_P(PlatformPaths, FormFileSavesLoadsAndNamesItself) {
    const fs::path path = toPath(wide(fileWide + L".plf"));
    FilePropertyBag form(path);
    form.addControl(L"Plotara1").set(L"ChartPath", Variant(wide(L"")));
    form.save();
    EXPECT_TRUE(fs::is_regular_file(native(fileUtf8 + ".plf")));
    EXPECT_EQ(form.path(), path);

    const FilePropertyBag loaded = FilePropertyBag::load(path);
    EXPECT_EQ(loaded.path(), path);
    EXPECT_EQ(loaded.control(L"Plotara1").entries(), form.control(L"Plotara1").entries());

    // Errors name the form in wide text.
    const auto corrupt = ErrorTrap::capture([&] { FilePropertyBag::parse("nonsense\n", path); });
    ASSERT_TRUE(corrupt.has_value());
    EXPECT_EQ(corrupt->number(), 321);
    EXPECT_NE(corrupt->description().find(wide(fileWide + L".plf")), String::npos)
        << toUtf8(corrupt->description());
    const auto missing = ErrorTrap::capture([&] { loaded.control(L"Other"); });
    ASSERT_TRUE(missing.has_value());
    EXPECT_NE(missing->description().find(folderWide), String::npos);

    const struct {
        std::string name;
        Long error;
    } failures[] = {
        {fileUtf8 + "-absent.plf", 53}, // no such file
        {"", 75},                       // the folder itself
    };
    for (const auto& f : failures)
        EXPECT_EQ(errorOf([&] { FilePropertyBag::load(native(f.name)); }), f.error) << f.name;
}

TEST_P(PlatformPaths, FileAttributesOfSuchNames) {
    std::ofstream(native(".\xE5\x9B\xBE")) << "x";
    std::ofstream(native(fileUtf8 + ".xml")) << "x";
    const struct {
        String name;
        Long attributes;
    } cases[] = {
        {L"", attrDirectory},
        {fileWide + L".xml", attrArchive},
        {L".\u56fe", attrArchive | attrHidden},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fileAttributes(toPath(wide(c.name))), c.attributes) << toUtf8(c.name);
    EXPECT_EQ(errorOf([&] { fileAttributes(toPath(wide(L"\u00e9"))); }), 53);
}

TEST_P(PlatformPaths, RegistryFileInSuchAFolder) {
    const fs::path file = native(fileUtf8 + ".reg");
    std::ofstream(file) << "Windows Registry Editor Version 5.00\n\n"
                           "[HKEY_LOCAL_MACHINE\\Software\\Vendor]\n"
                           "\"Folder\"=\"" +
                               folderUtf8 + "\"\n";
    ::setenv("PLOTARIX_REGISTRY", file.c_str(), 1);
    EXPECT_EQ(registry::machineRegistryPath(), file);
    const auto value = ErrorTrap::capture(
        [] { EXPECT_EQ(registry::regRead(L"HKLM\\Software\\Vendor\\Folder"), folderWide); });
    EXPECT_FALSE(value.has_value());
    ::unsetenv("PLOTARIX_REGISTRY");
    EXPECT_EQ(registry::machineRegistryPath(), fs::path("/etc/plotarix/registry.reg"));
}

TEST_P(PlatformPaths, SqliteDatabaseInSuchAFolder) {
    const fs::path file = toPath(wide(fileWide + L".db"));
    SqliteDatabase::open(file, SqliteDatabase::Mode::Create);
    EXPECT_TRUE(fs::is_regular_file(native(fileUtf8 + ".db")));
    EXPECT_NO_THROW(SqliteDatabase::open(file));
    // The error names the missing file in wide text.
    const String error =
        test::errorTextOf([&] { SqliteDatabase::open(toPath(wide(L"\u00e9.db"))); });
    EXPECT_NE(error.find(folderWide + L"/\u00e9.db"), String::npos) << toUtf8(error);
}

INSTANTIATE_TEST_SUITE_P(Locales, PlatformPaths, ::testing::Values("C", "de_DE.UTF-8"),
                         [](const auto& info) {
                             return std::string(info.param[0] == 'C' ? "C" : "de_DE");
                         });

} // namespace
} // namespace plotara
