// The machine-wide registry file, the scripting shell that reads it, and file attributes.
#include "core/ErrorTrap.h"
#include "platform/FileAttributes.h"
#include "platform/Registry.h"
#include "platform/ScriptingShell.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace plotara {
namespace {

namespace fs = std::filesystem;

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

std::optional<Error> errorOf(const std::function<void()>& statement) {
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
        const auto missing = errorOf([] { registry::regRead(chartsPath + L"X"); });
        ASSERT_TRUE(missing);
        EXPECT_EQ(missing->number(), static_cast<Long>(0x80070002u));
        EXPECT_NE(missing->description().find(L"ChartsPathX"), String::npos);
    }
    {
        RegistryFile file("");
        fs::remove(file.path);
        fs::create_directory(file.path); // a folder where the file should be: unreadable
        EXPECT_EQ(errorOf([] { registry::regRead(chartsPath); })->number(), 70);
        fs::remove(file.path); // and no file at all: the key is missing
        EXPECT_EQ(errorOf([] { registry::regRead(chartsPath); })->number(),
                  static_cast<Long>(0x80070002u));
    }
    {
        RegistryFile file("just text\n");
        EXPECT_EQ(errorOf([] { registry::regRead(chartsPath); })->number(),
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
    EXPECT_EQ(errorOf([&] { callByName(*shell, L"RegRead", InvokeKind::Method); })->number(), 449);
    EXPECT_EQ(errorOf([&] { callByName(*shell, L"RegWrite", InvokeKind::Method); })->number(), 438);
    EXPECT_EQ(errorOf([] { createObject(L"Scripting.Dictionary2"); })->number(), 429);
    ::unsetenv("PLOTARIX_REGISTRY");
}

TEST(PlatformRegistry, FileAttributes) {
    const fs::path base =
        fs::temp_directory_path() / ("plotara_attr_" + std::to_string(::getpid()));
    fs::create_directories(base / ".hidden");
    fs::create_directories(base / "locked");
    std::ofstream(base / "file.xml") << "x";
    fs::permissions(base / "locked", fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(fileAttributes(fromUtf8(base.string())), attrDirectory);
    EXPECT_EQ(fileAttributes(fromUtf8((base / ".hidden").string()) + L"/"),
              attrDirectory | attrHidden);
    EXPECT_EQ(fileAttributes(fromUtf8((base / "locked").string())), attrDirectory | attrReadOnly);
    EXPECT_EQ(fileAttributes(fromUtf8((base / "file.xml").string())), attrArchive);
    EXPECT_EQ(errorOf([&] { fileAttributes(fromUtf8((base / "none").string())); })->number(), 53);
    EXPECT_EQ(errorOf([] { fileAttributes(L""); })->number(), 53);
    fs::remove_all(base);
}

} // namespace
} // namespace plotara
