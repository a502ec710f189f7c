// Capturing the chart's window and saving it as a bitmap, on the headless OS seam: the movie host
// paints the window and the Save dialog answers from a script.
#include "bmp_test_support.h"
#include "control/MovieUrlText.h"
#include "control/PlotaraOcxModule.h"
#include "control_test_support.h"
#include "core/FilePath.h"
#include "platform/headless/HeadlessOsApi.h"
#include "special_file_support.h"

#include <clocale>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace plotara {
namespace {

namespace fs = std::filesystem;
using test::CaptureRig;
using test::errorOf;

// The headless movie host's test picture over a white background.
std::uint32_t patternAt(long x, long y) {
    return (static_cast<std::uint32_t>(x) << 16) | (static_cast<std::uint32_t>(y) << 8) | 0xFF;
}

std::vector<std::uint32_t> expectedPattern(long width, long height) {
    std::vector<std::uint32_t> pixels;
    for (long y = 0; y < height; ++y)
        for (long x = 0; x < width; ++x)
            pixels.push_back(patternAt(x, y));
    return pixels;
}

void expectIdentify(const String& path, const std::string& expected) {
    if (!test::identifyAvailable()) GTEST_SKIP() << "ImageMagick identify is not installed";
    const auto out =
        test::commandOutput("identify -format '%m %w %h %z %r' '" + toUtf8(path) + "'");
    ASSERT_TRUE(out.has_value()) << "identify could not read " << toUtf8(path);
    EXPECT_EQ(out->substr(0, expected.size()), expected) << *out;
}

TEST(ControlCapture, SaveWithConfirmationWritesA24BitBitmap) {
    CaptureRig rig;
    rig.answer(rig.file("chart")); // typed without an extension
    EXPECT_TRUE(rig->SaveAsImage());
    const String path = rig.file("chart.bmp");
    ASSERT_EQ(rig.container.messageBoxes().size(), 1u);
    const MessageBoxRecord& box = rig.container.messageBoxes()[0];
    EXPECT_EQ(box.text, L"Plotara image is saved.\nFilename: " + path);
    EXPECT_EQ(std::make_tuple(box.buttons, box.icon, box.caption),
              std::make_tuple(Long{0}, Long{64}, String(L"Plotara: Done")));

    const auto image = test::readBmp(toUtf8(path));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->bitsPerPixel, 24);
    EXPECT_EQ(std::make_pair(image->width, image->height), std::make_pair(37L, 23L));
    EXPECT_EQ(image->pixels, expectedPattern(37, 23));

    // The capture came first, then the dialog; every device context went back.
    const std::vector<String>& calls = rig.os->calls();
    const auto dialog = std::find(calls.begin(), calls.end(), L"GetSaveFileNameA");
    EXPECT_LT(std::find(calls.begin(), calls.end(), L"BitBlt"), dialog);
    EXPECT_EQ(rig.os->openDeviceContexts(), 0u);

    const OPENFILENAME& r = rig.os->saveRecords().at(0);
    EXPECT_EQ(std::vector<Long>({r.lStructSize, r.hwndOwner, r.nMaxFile, r.nMaxFileTitle, r.Flags,
                                 r.nFilterIndex}),
              std::vector<Long>({76, 0, 2048, 2048, 0x280406, 0}));
    EXPECT_EQ(
        std::vector<String>({r.lpstrFilter, r.lpstrFile, r.lpstrFileTitle, r.lpstrInitialDir,
                             r.lpstrTitle, r.lpstrDefExt}),
        std::vector<String>({String(L"Bitmap Files (*.bmp)\0*.bmp\0All Files (*.*)\0*.*\0\0", 48),
                             String(2047, L' ') + L'\0', String(2048, L' '),
                             ComponentFolder() + L"\\", L"Save As", L"bmp"}));
    EXPECT_FALSE(ComponentFolder().empty());
    expectIdentify(path, "BMP3 37 23 8 DirectClass");
}

TEST(ControlCapture, CancelledAndFailingSaves) {
    for (const bool confirm : {true, false}) {
        CaptureRig rig;
        rig.os->queueFileAnswer(FileDialogAnswer::cancelled());
        EXPECT_FALSE(rig->SaveAsImage(confirm));
        EXPECT_TRUE(rig.container.messageBoxes().empty());
        EXPECT_EQ(rig.os->saveRecords().size(), 1u);
        EXPECT_TRUE(fs::is_empty(rig.folder));
    }
    CaptureRig rig;
    // An error while saving (no such folder) returns False without a message.
    rig.answer(rig.file("missing/chart.bmp"));
    EXPECT_FALSE(rig->SaveAsImage());
    EXPECT_TRUE(rig.container.messageBoxes().empty());
    // A character device is written to and stays a device: no normal file is found afterwards,
    // so the failure box comes. The dialog adds ".bmp" to a name without one: a link reaches it.
    const fs::path link = rig.folder / "null.bmp";
    fs::create_symlink("/dev/null", link);
    rig.answer(fromPath(link));
    EXPECT_FALSE(rig->SaveAsImage(true));
    EXPECT_EQ(test::nodeKind(link), S_IFLNK);
    EXPECT_EQ(test::nodeKind("/dev/null"), S_IFCHR);
    EXPECT_EQ(test::fileNames(rig.folder), std::vector<std::string>{"null.bmp"});
    // So does a save that raises nothing but leaves no normal file (a hidden name).
    rig.answer(rig.file(".hidden.bmp"));
    EXPECT_FALSE(rig->SaveAsImage());
    ASSERT_EQ(rig.container.messageBoxes().size(), 2u);
    for (const MessageBoxRecord& box : rig.container.messageBoxes())
        EXPECT_EQ(std::make_tuple(box.text, box.icon, box.caption),
                  std::make_tuple(String(L"Sorry! Image saving failed."), Long{16},
                                  String(L"Plotara: Error")));
    rig.answer(rig.file(".hidden2.bmp"));
    EXPECT_FALSE(rig->SaveAsImage(false));
    EXPECT_EQ(rig.container.messageBoxes().size(), 2u);
}

TEST(ControlCapture, OtherExtensionWithoutConfirmationAndTheFilterComesBack) {
    CaptureRig rig;
    const String png = rig.file("chart.png");
    rig.answer(png, 2); // "All Files (*.*)"
    EXPECT_TRUE(rig->SaveAsImage(false));
    EXPECT_TRUE(rig.container.messageBoxes().empty());
    const auto image = test::readBmp(toUtf8(png));
    ASSERT_TRUE(image.has_value()); // bitmap data whatever the name says
    EXPECT_EQ(image->pixels, expectedPattern(37, 23));
    expectIdentify(png, "BMP3 37 23");

    // The second dialog opens with the filter picked the first time and prompts before
    // overwriting; declining and then cancelling leaves the file alone.
    rig->put_BGColor(L"000000");
    rig.answer(png, 0, false);
    rig.os->queueFileAnswer(FileDialogAnswer::cancelled());
    EXPECT_FALSE(rig->SaveAsImage());
    EXPECT_EQ(rig.os->saveRecords().at(1).nFilterIndex, 2);
    EXPECT_EQ(rig.os->overwritePrompts(), std::vector<String>{png});
    EXPECT_EQ(test::readBmp(toUtf8(png))->pixels, expectedPattern(37, 23));
    // Confirming the overwrite saves the new picture (now over black).
    rig.answer(png, 0, true);
    EXPECT_TRUE(rig->SaveAsImage(false));
    EXPECT_EQ(test::readBmp(toUtf8(png))->pixels.at(0), 0x000000u);
}

TEST(ControlCapture, CaptureErrorShowsItsBoxThenTheDialogStillOpens) {
    CaptureRig rig;
    rig.container.setScaleMode(1);
    rig.host->put_Width(1e12f); // does not fit a 32-bit integer: Error 6 inside the capture
    rig.answer(rig.file("chart.bmp"));
    EXPECT_FALSE(rig->SaveAsImage());
    ASSERT_EQ(rig.container.messageBoxes().size(), 1u);
    EXPECT_EQ(rig.container.messageBoxes()[0].text, L"Error Number: 6\nDescription: Overflow");
    EXPECT_EQ(rig.container.messageBoxes()[0].caption, L"");
    EXPECT_EQ(rig.os->saveRecords().size(), 1u);
    EXPECT_FALSE(fs::exists(rig.folder / "chart.bmp")); // the empty picture cannot be saved
    EXPECT_EQ(rig.container.scaleMode(), 1);
}

TEST(ControlCapture, GetPictureCapturesAnewEachTime) {
    CaptureRig rig;
    rig.container.setScaleMode(6);
    rig.host->put_Width(20.5f);  // rounded half to even: 20
    rig.host->put_Height(11.5f); // 12
    const std::shared_ptr<Picture> first = rig->GetPicture();
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first->handle(), 0);
    EXPECT_EQ(std::make_pair(first->width(), first->height()), std::make_pair(Long{20}, Long{12}));
    EXPECT_TRUE(first->palette().empty());
    EXPECT_EQ(rig.container.scaleMode(), 6);
    rig->put_BGColor(L"123456");
    rig.host->put_Movie(L"");
    const std::shared_ptr<Picture> second = rig->GetPicture();
    EXPECT_NE(second, first);
    EXPECT_NE(second->handle(), first->handle());
    EXPECT_EQ(second->pixels(), std::vector<std::uint32_t>(20 * 12, 0x123456));
    EXPECT_EQ(first->pixels().at(0), patternAt(0, 0)); // the earlier picture did not change
    const Variant late = callByName(*rig, L"GetPicture", InvokeKind::Method);
    EXPECT_EQ(callByName(*late.asObject(), L"Width", InvokeKind::PropertyGet), Variant(Long{20}));
    EXPECT_NE(callByName(*late.asObject(), L"Handle", InvokeKind::PropertyGet), Variant(Long{0}));
    // A window nobody paints gives the empty picture, without a message.
    rig.os->detachWindow(rig.container.hWnd());
    EXPECT_EQ(rig->GetPicture()->handle(), 0);
    EXPECT_TRUE(rig.container.messageBoxes().empty());
    EXPECT_EQ(rig.os->openDeviceContexts(), 0u);
}

TEST(ControlCapture, PaletteDisplayGivesAn8BitBitmapWithTheSystemPalette) {
    CaptureRig rig;
    rig.os->setPaletteDisplay(true);
    const std::shared_ptr<Picture> picture = rig->GetPicture();
    std::vector<std::uint32_t> system;
    for (const PALETTEENTRY& e : HeadlessOsApi::systemPalette())
        system.push_back((std::uint32_t{e.peRed} << 16) | (std::uint32_t{e.peGreen} << 8) |
                         e.peBlue);
    EXPECT_EQ(picture->palette(), system);
    EXPECT_NE(picture->paletteHandle(), 0);
    rig.answer(rig.file("palette.bmp"));
    EXPECT_TRUE(rig->SaveAsImage(false));
    const auto image = test::readBmp(toUtf8(rig.file("palette.bmp")));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->bitsPerPixel, 8);
    EXPECT_EQ(image->palette, system);
    // Every pixel is the palette colour nearest the painted one (a 51-step cube: within 26).
    ASSERT_EQ(image->pixels.size(), 37u * 23u);
    for (long y = 0; y < 23; ++y)
        for (long x = 0; x < 37; ++x) {
            const std::uint32_t got = image->pixels[static_cast<std::size_t>(y * 37 + x)];
            EXPECT_NE(std::find(system.begin(), system.end(), got), system.end());
            EXPECT_LE(std::abs(static_cast<int>(got >> 16) - static_cast<int>(x)), 26);
            EXPECT_LE(std::abs(static_cast<int>((got >> 8) & 0xFF) - static_cast<int>(y)), 26);
        }
    EXPECT_EQ(image->pixels[0], 0x0000FFu);
    expectIdentify(rig.file("palette.bmp"), "BMP3 37 23 8 PseudoClass");
}

TEST(ControlCapture, BitmapWriterEdgeCasesPipesAndDevices) {
    EXPECT_EQ(errorOf([] { Picture().saveAsBmp(L"/tmp/never.bmp"); }), 380);
    EXPECT_EQ(errorOf([] { Picture(1, 2, 2, {1, 2, 3}); }), 5);
    EXPECT_EQ(errorOf([] { Picture(1, 1, 1, {1}, std::vector<std::uint32_t>(257)); }), 5);
    // A one-pixel-wide picture: three bytes of colour and one of padding a row.
    const std::string bytes = Picture(7, 1, 2, {0x112233, 0x445566}).bmpBytes();
    ASSERT_EQ(bytes.size(), 54u + 8u);
    EXPECT_EQ(bytes.substr(54), std::string("\x66\x55\x44\0\x33\x22\x11\0", 8));
    // A small palette: the colour table holds just its entries, pixels map to the nearest.
    const std::string indexed =
        Picture(7, 2, 1, {0xFF0000, 0x0000F0}, {0x0000FF, 0xFF0000}).bmpBytes();
    ASSERT_EQ(indexed.size(), 54u + 8u + 4u);
    EXPECT_EQ(indexed.substr(62), std::string("\x01\x00\0\0", 4));
    CaptureRig rig; // for its folder
    // 200 x 120 pixels: more than a pipe holds at once.
    const Picture picture(7, 200, 120, std::vector<std::uint32_t>(200 * 120, 0x336699));
    const bool deviceRan =
        test::expectSpecialTargetsWrittenInPlace(rig.folder, [&](const fs::path& target) {
            const Long error = errorOf([&] { picture.saveAsBmp(target); });
            EXPECT_TRUE(error == 0 || error == 75) << error;
            return error == 0;
        });
    if (!deviceRan) GTEST_SKIP() << test::noDeviceNodes;
}

TEST(ControlCapture, NamesOutsideAsciiSaveInEveryLocale) {
    // A folder and file name in UTF-8; the wide text the dialog hands back is converted through
    // UTF-8, never through the locale (which cannot convert it in the "C" locale).
    const std::string folderName = "\xC3\x9C"
                                   "bersicht";
    const std::string fileName = "\xE5\x9B\xBE\xE8\xA1\xA8.bmp";
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        SCOPED_TRACE(locale);
        ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr)
            << locale << " is missing: localedef -i de_DE -f UTF-8 de_DE.UTF-8";
        {
            CaptureRig rig;
            fs::create_directories(rig.folder / folderName);
            const String target = rig.file(folderName + "/" + fileName);
            ASSERT_NE(target.find(L"\u00dcbersicht/\u56fe\u8868.bmp"), String::npos);
            const fs::path native = rig.folder / folderName / fileName;

            // SaveAsImage: the dialog's answer becomes the file, and the confirmation names it.
            rig.answer(target);
            EXPECT_TRUE(rig->SaveAsImage());
            EXPECT_TRUE(fs::is_regular_file(native));
            ASSERT_EQ(rig.container.messageBoxes().size(), 1u);
            EXPECT_NE(rig.container.messageBoxes()[0].text.find(target), String::npos);
            EXPECT_TRUE(NormalFileExists(target));
            EXPECT_TRUE(movieurl::FileExists(target));
            EXPECT_TRUE(movieurl::FileExists(fromPath(rig.folder / folderName) + L"/" +
                                             L"\u56fe\u8868.bmp\\"));
            EXPECT_FALSE(NormalFileExists(rig.file(folderName + "/absent.bmp")));

            // saveAsBmp given the path directly replaces the file with the same bytes.
            fs::remove(native);
            const Picture picture(1, 2, 1, {0x112233, 0x445566});
            picture.saveAsBmp(toPath(target));
            std::ifstream in(native, std::ios::binary);
            const std::string written((std::istreambuf_iterator<char>(in)), {});
            EXPECT_EQ(written, picture.bmpBytes());
            // A missing folder with such a name is Error 76, not a conversion failure.
            EXPECT_EQ(errorOf([&] {
                          picture.saveAsBmp(toPath(rig.file("\xC3\xA9t\xC3\xA9/" + fileName)));
                      }),
                      76);
        }
        std::setlocale(LC_ALL, "C");
    }
}

} // namespace
} // namespace plotara
