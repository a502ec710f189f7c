// The machine-wide registry file, the scripting shell that reads it, and file attributes; and
// folder and file names outside ASCII through every member that takes a file path, in the "C"
// locale (where a wide string cannot be converted to a path by the standard library) and in a
// UTF-8 locale.
#include "core/ErrorTrap.h"
#include "core/FilePath.h"
#include "core_test_support.h"
#include "file_test_support.h"
#include "platform/FileAttributes.h"
#include "platform/FilePropertyBag.h"
#include "platform/Registry.h"
#include "platform/ScriptingShell.h"
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
    fs::create_directories(native(".hidden"));
    fs::create_directories(native("locked"));
    fs::permissions(native("locked"), fs::perms::owner_write, fs::perm_options::remove);
    const struct {
        String name;
        Long attributes;
    } cases[] = {
        {L"", attrDirectory}, // the folder, its name ending in "/"
        {fileWide + L".xml", attrArchive},
        {L".\u56fe", attrArchive | attrHidden},
        {L".hidden/", attrDirectory | attrHidden},
        {L"locked", attrDirectory | attrReadOnly},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fileAttributes(toPath(wide(c.name))), c.attributes) << toUtf8(c.name);
    EXPECT_EQ(errorOf([&] { fileAttributes(toPath(wide(L"\u00e9"))); }), 53);
    EXPECT_EQ(errorOf([] { fileAttributes(L""); }), 53);
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

const String chartsPath = L"HKLM\\Software\\Quenmark\\Plotarix\\1.0.0\\ChartsPath";

struct RegistryFile {
    fs::path path = fs::temp_directory_path() / ("plotara_registry_" + std::to_string(::getpid()));
    explicit RegistryFile(const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
        ::setenv("PLOTARIX_REGISTRY", path.c_str(), 1);
    }
    ~RegistryFile() {
        fs::remove_all(path);
        ::unsetenv("PLOTARIX_REGISTRY");
    }
};

std::optional<Error> failure(const std::function<void()>& statement) {
    return ErrorTrap::capture(statement);
}

TEST(PlatformRegistry, ReadsTheWayAnImportWould) {
    const String reg = L"Windows Registry Editor Version 5.00\n"
                       L"; a comment with \"ChartsPath\"=\"not this\"\n"
                       L"\n"
                       L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenmark\\Plotarix\\1.0.0]\r\n"
                       L"\"ChartsPath\"=\"first\"\r\n"
                       L"@=\"default value\"\r\n"
                       L"  \"Spaced\" = \"a\\\\b \\\"c\\\"\"  \r\n"
                       L"\"Gone\"=\"soon\"\n"
                       L"\"Gone\"=-\n"
                       L"\"Bad\"=hex:00,01\n"
                       L"\"Count\"=dword:0000001f\n"
                       L"[HKEY_LOCAL_MACHINE\\Software\\Quenmark\\Plotarix\\1.0.0]\n"
                       L"\"chartspath\"=\"later wins\"\n"
                       L"[HKEY_LOCAL_MACHINE\\Software\\Quenmark\\Old]\n"
                       L"\"Value\"=\"x\"\n"
                       L"[-HKEY_LOCAL_MACHINE\\Software\\Quenmark\\Old]\n";
    struct Case {
        const wchar_t* path;
        std::optional<String> value;
    };
    const Case cases[] = {
        {chartsPath.c_str(), String(L"later wins")},
        {L"HKLM\\Software\\Quenmark\\Plotarix\\1.0.0\\", String(L"default value")},
        {L"HKLM\\Software\\Quenmark\\Plotarix\\1.0.0\\spaced", String(L"a\\b \"c\"")},
        {L"HKLM\\Software\\Quenmark\\Plotarix\\1.0.0\\Gone", std::nullopt},
        {L"HKLM\\Software\\Quenmark\\Plotarix\\1.0.0\\Bad", std::nullopt},
        {L"HKLM\\Software\\Quenmark\\Old\\Value", std::nullopt},
        {L"hklm\\SOFTWARE\\quenmark\\plotarix\\1.0.0\\Count", String(L"31")},
        {L"HKEY_LOCAL_MACHINE\\Software\\Quenmark\\Plotarix\\1.0.0\\ChartsPath",
         String(L"later wins")},
        {L"HKLM\\Software\\Quenmark\\Plotarix\\1.0.1\\ChartsPath", std::nullopt},
        {L"ChartsPath", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(registry::lookup(reg, c.path), c.value) << toUtf8(c.path);
    EXPECT_EQ(registry::lookup(L"[HKEY_LOCAL_MACHINE\\A]\n\"B\"=\"c\"\n", L"HKLM\\A\\B"),
              std::nullopt); // no header line: not a registry export
}

TEST(PlatformRegistry, RegReadPresentMissingAndUnreadable) {
    {
        RegistryFile file("Windows Registry Editor Version 5.00\r\n\r\n"
                          "[HKEY_LOCAL_MACHINE\\Software\\Quenmark\\Plotarix\\1.0.0]\r\n"
                          "\"ChartsPath\"=\"/opt/charts/\"\r\n");
        EXPECT_EQ(registry::regRead(chartsPath), L"/opt/charts/");
        const auto missing = failure([] { registry::regRead(chartsPath + L"X"); });
        ASSERT_TRUE(missing);
        EXPECT_EQ(missing->number(), static_cast<Long>(0x80070002u));
        EXPECT_NE(missing->description().find(L"ChartsPathX"), String::npos);
    }
    {
        RegistryFile file("");
        fs::remove(file.path);
        fs::create_directory(file.path); // a folder where the file should be: unreadable
        EXPECT_EQ(failure([] { registry::regRead(chartsPath); })->number(), 70);
        fs::remove(file.path); // and no file at all: the key is missing
        EXPECT_EQ(failure([] { registry::regRead(chartsPath); })->number(),
                  static_cast<Long>(0x80070002u));
    }
    {
        RegistryFile file("just text\n");
        EXPECT_EQ(failure([] { registry::regRead(chartsPath); })->number(),
                  static_cast<Long>(0x8007000Du));
    }
}

TEST(PlatformRegistry, ReadsUtf16ExportsAsTheEditorWritesThem) {
    const std::u16string text = u"Windows Registry Editor Version 5.00\r\n\r\n"
                                u"[HKEY_LOCAL_MACHINE\\Software\\Quenmark\\Plotarix\\1.0.0]\r\n"
                                u"\"ChartsPath\"=\"C:\\\\Diagramme \u00fc\U0001F4C8\\\\\"\r\n";
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    RegistryFile file(bytes);
    EXPECT_EQ(registry::regRead(chartsPath), L"C:\\Diagramme \u00fc\U0001F4C8\\");
}

TEST(PlatformRegistry, ShellReadsLateBoundAndTheShippedExample) {
    ::setenv("PLOTARIX_REGISTRY", PLOTARA_EXAMPLES "/registry.reg", 1);
    const std::shared_ptr<Dispatch> shell = createObject(L"wscript.shell");
    EXPECT_EQ(callByName(*shell, L"REGREAD", InvokeKind::Method, {Variant(chartsPath)}),
              Variant(L"share/plotara/charts"));
    EXPECT_EQ(failure([&] { callByName(*shell, L"RegRead", InvokeKind::Method); })->number(), 449);
    EXPECT_EQ(failure([&] { callByName(*shell, L"RegWrite", InvokeKind::Method); })->number(), 438);
    EXPECT_EQ(failure([] { createObject(L"Scripting.Dictionary2"); })->number(), 429);
    ::unsetenv("PLOTARIX_REGISTRY");
}

} // namespace
} // namespace plotara
