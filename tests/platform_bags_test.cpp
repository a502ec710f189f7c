// Property bags: the default rule of the in-memory bag, and the saved-form file: round trips of
// every type, corrupt and truncated files, and atomic saving, also on a failing disk. And the
// rules every container applies alike: frame and coordinate properties at the common screen
// densities, and the message-box style number taken apart.
#include "core/ErrorTrap.h"
#include "core/SafeArray.h"
#include "core_test_support.h"
#include "file_test_support.h"
#include "platform/ContainerUnits.h"
#include "platform/FilePropertyBag.h"
#include "platform/MessageBoxStyle.h"
#include "save_faults.h"
#include "special_file_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

namespace plotara {
namespace {

namespace fs = std::filesystem;

using test::errorOf;

using TempFolder = test::TempDir;

std::string readAll(const String& path) {
    return test::readAll(toUtf8(path));
}

TEST(PlatformBags, MemoryBagKeepsOnlyValuesAwayFromTheirDefaults) {
    MemoryPropertyBag bag;
    EXPECT_EQ(bag.ReadProperty(L"Border", Variant(Integer{2})), Variant(Integer{2}));
    // Numbers compare by value whatever their width; Booleans as -1 and 0.
    bag.WriteProperty(L"Border", Variant(Long{2}), Variant(Integer{2}));
    bag.WriteProperty(L"Height", Variant(Single{240}), Variant(Integer{240}));
    bag.WriteProperty(L"Enabled", Variant(true), Variant(true));
    bag.WriteProperty(L"Path", Variant(L""), Variant(L""));
    EXPECT_TRUE(bag.entries().empty());
    bag.WriteProperty(L"Border", Variant(Long{0}), Variant(Integer{2}));
    bag.WriteProperty(L"Color", Variant(L""), Variant(L"ffffff"));
    bag.WriteProperty(L"Flag", Variant(Long{-1}), Variant(false));
    EXPECT_EQ(bag.entries().size(), 3u);
    EXPECT_EQ(bag.ReadProperty(L"BORDER", Variant(Integer{2})), Variant(Long{0}));
    EXPECT_EQ(bag.ReadProperty(L"Color", Variant(L"ffffff")), Variant(L""));
    // Writing the default again drops the earlier value.
    bag.WriteProperty(L"border", Variant(Integer{2}), Variant(Integer{2}));
    EXPECT_FALSE(bag.contains(L"Border"));
    EXPECT_EQ(bag.ReadProperty(L"Border", Variant(Integer{2})), Variant(Integer{2}));
    EXPECT_EQ(errorOf([&] {
                  bag.WriteProperty(L"Array", Variant(SafeArray({{0, 1}})), Variant());
              }),
              13);
    EXPECT_FALSE(bag.contains(L"Array"));
    EXPECT_FALSE(sameBagValue(Variant(L"2"), Variant(Integer{2})));
    EXPECT_FALSE(sameBagValue(Variant(), Variant(L"")));
}

TEST(PlatformBags, FormFileRoundTripsEveryType) {
    TempFolder folder;
    const String path = folder.file("form.plf");
    FilePropertyBag form(path);
    MemoryPropertyBag& chart = form.addControl(L"Plotara1");
    const std::vector<std::pair<String, Variant>> values = {
        {L"Empty", Variant()},
        {L"Null", Variant::null()},
        {L"Yes", Variant(true)},
        {L"No", Variant(false)},
        {L"Small", Variant(Integer{-32768})},
        {L"Large", Variant(Long{2147483647})},
        {L"Float", Variant(Single{0.1f})},
        {L"Precise", Variant(1.0 / 3.0)},
        {L"Text",
         Variant(String(L"C:\\Charts\\ \"quoted\" = [x]\r\n\ttab \x01 \x7f \u00e9\u4e2d"))},
        {L"Blank", Variant(L"")},
    };
    for (const auto& [name, value] : values)
        chart.set(name, value);
    form.addControl(L"Plotara2").set(L"Border", Variant(Long{0}));
    form.save();

    const FilePropertyBag loaded = FilePropertyBag::load(path);
    EXPECT_EQ(loaded.controlNames(), (std::vector<String>{L"Plotara1", L"Plotara2"}));
    ASSERT_NE(loaded.find(L"plotara1"), nullptr);
    EXPECT_EQ(loaded.find(L"Plotara1")->entries(), chart.entries());
    EXPECT_EQ(loaded.find(L"Plotara2")->entries().size(), 1u);
    EXPECT_EQ(loaded.find(L"Missing"), nullptr);
    // A misspelt name is an error rather than an empty section of defaults, and creates nothing.
    const auto misspelt = ErrorTrap::capture([&] { loaded.control(L"Plotara3"); });
    ASSERT_TRUE(misspelt.has_value());
    EXPECT_EQ(misspelt->number(), 5);
    EXPECT_NE(misspelt->description().find(L"'Plotara3'"), String::npos);
    EXPECT_EQ(loaded.controlNames().size(), 2u);
    // Readable: one line per value, types spelled out, and nothing else left in the folder.
    const std::string text = readAll(path);
    EXPECT_NE(text.find("\nYes = Boolean True\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nLarge = Long 2147483647\n"), std::string::npos);
    EXPECT_NE(text.find("\nFloat = Single 0.1\n"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
    EXPECT_EQ(errorOf([&] { form.addControl(L"Bad]Name"); }), 5);
    form.addControl(L"Plotara1").set(L"A = B", Variant(L"x"));
    EXPECT_EQ(errorOf([&] { form.save(); }), 5);
    EXPECT_EQ(readAll(path), text); // the failed save left the old form
}

TEST(PlatformBags, CorruptOrTruncatedFormsNameTheLine) {
    struct Case {
        std::string text;
        std::size_t line;
        const wchar_t* words;
    };
    const std::string head = "# comment\nplotara-form 1\n[Plotara1]\n";
    const Case cases[] = {
        {"", 1, L"empty"},
        {"plotara-form 2\nend\n", 1, L"plotara-form 1"},
        {head, 4, L"truncated"},
        {head + "Border = Long 1", 5, L"truncated"},
        {head + "Path = String \"C:\\\\Cha", 4, L"closing quote"},
        {head + "Border = Long 12x\nend\n", 4, L"Long"},
        {head + "Border = Integer 40000\nend\n", 4, L"out of range"},
        {head + "Flag = Boolean Yes\nend\n", 4, L"True or False"},
        {head + "Thing = Object 1\nend\n", 4, L"unknown type"},
        {head + "Path = String \"a\\q\"\nend\n", 4, L"escape"},
        {head + "Path = String \"a\" b\nend\n", 4, L"after the closing quote"},
        {head + "Border\nend\n", 4, L"expected"},
        {head + "A = Long 1\na = Long 2\nend\n", 5, L"twice"},
        {head + "end\nA = Long 1\n", 5, L"after the \"end\""},
        {"plotara-form 1\nA = Long 1\nend\n", 2, L"before the first"},
        {"plotara-form 1\r\n[P]\r\n[p]\r\nend\r\n", 3, L"twice"},
    };
    for (const Case& c : cases) {
        const auto error = ErrorTrap::capture([&] { FilePropertyBag::parse(c.text, L"form.plf"); });
        ASSERT_TRUE(error.has_value()) << c.text;
        EXPECT_EQ(error->number(), 321);
        const String where = L"form.plf, line " + std::to_wstring(c.line) + L":";
        EXPECT_NE(error->description().find(where), String::npos)
            << toUtf8(error->description()) << "\n"
            << c.text;
        EXPECT_NE(error->description().find(c.words), String::npos) << toUtf8(error->description());
    }
    // CRLF line ends, comments and blank lines are fine.
    FilePropertyBag ok = FilePropertyBag::parse(
        "plotara-form 1\r\n\r\n# note\r\n[P]\r\nA = String \"x\"\r\nend", L"form.plf");
    EXPECT_EQ(ok.control(L"P").ReadProperty(L"A", Variant()), Variant(L"x"));
}

TEST(PlatformBags, LoadAndSaveFailuresAndFormsSavedToPipesAndDevices) {
    TempFolder folder;
    EXPECT_EQ(errorOf([&] { FilePropertyBag::load(folder.file("absent.plf")); }), 53);
    EXPECT_EQ(errorOf([&] { FilePropertyBag::load(fromUtf8(folder.path().string())); }), 75);
    // A folder in the way of the target: refused before anything is written.
    const String blocked = folder.file("blocked");
    fs::create_directories(folder.path() / "blocked" / "inside");
    FilePropertyBag form(blocked);
    form.addControl(L"P").set(L"A", Variant(Long{1}));
    EXPECT_EQ(errorOf([&] { form.save(); }), 75);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
    FilePropertyBag nowhere(folder.file("missing/form.plf"));
    EXPECT_EQ(errorOf([&] { nowhere.save(); }), 75);
    const bool deviceRan =
        test::expectSpecialTargetsWrittenInPlace(folder.path(), [](const fs::path& target) {
            FilePropertyBag form(target);
            form.addControl(L"Plotara1").set(L"ChartType", Variant(Long{3}));
            const Long error = errorOf([&] { form.save(); });
            EXPECT_TRUE(error == 0 || error == 75) << error;
            return error == 0;
        });
    if (!deviceRan) GTEST_SKIP() << test::noDeviceNodes;
}

// A full disk or a read-only folder: error 75, the form saved before whole, nothing beside it.
TEST(PlatformFaults, APropertyFileOnAFailingDiskKeepsTheFormSavedBefore) {
    const test::TempDir dir;
    const fs::path& folder = dir.path();
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
    EXPECT_NE(test::readAll(folder / "open.plf").find("Plotara1"), std::string::npos);
    if (!readOnlyRan) GTEST_SKIP() << "no child here is denied writing";
}

using namespace container_units;

TEST(ContainerUnits, UnitsPerPixelAtEachDensityAndRefusedValues) {
    const struct {
        Integer mode;
        double at96, at144;
    } cases[] = {
        {1, 15, 10},                // twips
        {2, 0.75, 0.5},             // points
        {3, 1, 1},                  // pixels, whatever the density
        {5, 1.0 / 96, 1.0 / 144},   // inches
        {6, 25.4 / 96, 25.4 / 144}, // millimetres
        {7, 2.54 / 96, 2.54 / 144}, // centimetres
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(unitsPerPixel(c.mode, 96), c.at96) << c.mode;
        EXPECT_DOUBLE_EQ(unitsPerPixel(c.mode, 144), c.at144) << c.mode;
    }
    for (const Integer mode : {1, 2, 3, 5, 6, 7})
        EXPECT_EQ(checkedScaleMode(mode), mode);
    for (const Integer mode : {-1, 0, 4, 8, 0x7FFF})
        EXPECT_EQ(test::errorOf([&] { checkedScaleMode(mode); }), 380) << mode;
    EXPECT_EQ(checkedFlag(0), 0);
    EXPECT_EQ(checkedFlag(1), 1);
    for (const Integer flag : {-1, 2})
        EXPECT_EQ(test::errorOf([&] { checkedFlag(flag); }), 380) << flag;
    EXPECT_EQ(checkedSize(0), 0);
    EXPECT_EQ(checkedSize(12.5f), 12.5f);
    for (const Single size : {-0.5f, std::numeric_limits<Single>::quiet_NaN()})
        EXPECT_EQ(test::errorOf([&] { checkedSize(size); }), 380) << size;
}

TEST(MessageBoxStyle, ButtonsDefaultAndEscapeOfEachSet) {
    using namespace message_box;
    const struct {
        Long style;
        std::vector<Answer> buttons;
        Answer defaultButton, escape;
        Icon icon;
    } cases[] = {
        {0, {Ok}, Ok, Ok, NoIcon},
        {1 + 16, {Ok, Cancel}, Ok, Cancel, Critical},
        {1 + 0x100, {Ok, Cancel}, Cancel, Cancel, NoIcon},
        {2 + 0x200 + 48, {Abort, Retry, Ignore}, Ignore, Abort, Exclamation},
        {3 + 0x100 + 32, {Yes, No, Cancel}, No, Cancel, Question},
        {4 + 64, {Yes, No}, Yes, No, Information},
        {4 + 0x200, {Yes, No}, Yes, No, NoIcon}, // a third default in a set of two: the first
        {5, {Retry, Cancel}, Retry, Cancel, NoIcon},
        {6 + 80, {Ok}, Ok, Ok, NoIcon}, // unknown set and icon
    };
    for (const auto& c : cases) {
        const Style style = decode(c.style);
        EXPECT_EQ(style.buttons, c.buttons) << c.style;
        EXPECT_EQ(style.defaultButton, c.defaultButton) << c.style;
        EXPECT_EQ(style.escape, c.escape) << c.style;
        EXPECT_EQ(style.icon, c.icon) << c.style;
        EXPECT_EQ(style.buttonSet, c.style & 0xF) << c.style;
        EXPECT_EQ(style.iconBits, c.style & 0xF0) << c.style;
    }
}

} // namespace
} // namespace plotara
