// QtOsApi: capture reads the widget's own pixels; the Save dialog is a QFileDialog that keeps the
// control's texts, filters, default extension, overwrite prompt, cancel and last filter.
#include "control/PlotaraOcxModule.h"
#include "desktop/QtOsApi.h"
#include "qt_test_support.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>

#include <fstream>

namespace plotara::test {
namespace {

using qt::QtOsApi;

// A rig whose process-wide seam is a QtOsApi answering from the rig's dialog script.
struct DesktopRig : WidgetRig {
    std::shared_ptr<QtOsApi> api = std::make_shared<QtOsApi>();
    std::shared_ptr<OsApi> previous;
    QTemporaryDir folder;

    DesktopRig() {
        api->setModalRunner(dialogs.runner());
        previous = installOsApi(api);
        ResetSaveImageDialog();
    }
    ~DesktopRig() { installOsApi(previous); }
    String path(const QString& name) const { return qt::fromQString(folder.filePath(name)); }

    // A Save dialog step: checks the dialog, types the name and picks the filter (empty keeps it).
    void typeName(const QString& name, const QString& filter = {}) {
        dialogs.steps.push_back([this, name, filter](QDialog& dialog) {
            auto& files = dynamic_cast<QFileDialog&>(dialog);
            EXPECT_EQ(files.acceptMode(), QFileDialog::AcceptSave);
            EXPECT_EQ(files.nameFilters(),
                      QStringList({"Bitmap Files (*.bmp)", "All Files (*.*)"}));
            EXPECT_EQ(files.defaultSuffix(), "bmp");
            if (!filter.isEmpty()) files.selectNameFilter(filter);
            files.selectFile(folder.filePath(name));
            return static_cast<int>(QDialog::Accepted);
        });
    }
    void answer(int button, const QString& expectedText) {
        dialogs.steps.push_back([button, expectedText](QDialog& dialog) {
            EXPECT_EQ(dynamic_cast<QMessageBox&>(dialog).text(), expectedText);
            return button;
        });
    }
};

std::string fileStart(const String& path, std::size_t bytes) {
    std::ifstream in(toUtf8(path), std::ios::binary);
    std::string head(bytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(bytes));
    return head.substr(0, static_cast<std::size_t>(in.gcount()));
}

TEST(QtCapture, ThePictureIsTheWidgetsPixels) {
    DesktopRig rig;
    rig->container().setBorderStyle(1); // the frame is not part of the client area
    rig.renderSales();
    const std::shared_ptr<Picture> picture = rig->control().GetPicture();
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(picture->handle(), 0);
    const QRect client = rig->contentsRect();
    ASSERT_EQ(picture->width(), client.width());
    ASSERT_EQ(picture->height(), client.height());
    EXPECT_TRUE(picture->palette().empty());
    const QImage shown = rig->grab(client).toImage().convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if ((shown.pixel(x, y) & 0xFFFFFF) !=
                picture->pixels()[static_cast<std::size_t>(y * picture->width() + x)])
                ++differing;
    EXPECT_EQ(differing, 0);
    // Something was drawn: not one colour everywhere.
    const auto& pixels = picture->pixels();
    EXPECT_NE(std::count(pixels.begin(), pixels.end(), pixels.front()),
              static_cast<long>(pixels.size()));
    EXPECT_NE(rig->control().GetPicture(), picture) << "every call captures afresh";
}

TEST(QtCapture, APaletteDisplayGivesTheSystemPalette) {
    DesktopRig rig;
    rig.api->setPaletteDisplay(true);
    rig.renderSales();
    const std::shared_ptr<Picture> picture = rig->control().GetPicture();
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->palette().size(), 256u);
    EXPECT_NE(picture->paletteHandle(), 0);
    for (std::uint32_t pixel : picture->pixels())
        ASSERT_NE(std::find(picture->palette().begin(), picture->palette().end(), pixel),
                  picture->palette().end());
}

TEST(QtCapture, AnUnknownWindowGivesAnEmptyPicture) {
    DesktopRig rig;
    EXPECT_EQ(QtOsApi::widgetOfHandle(0x7FFFFF00), nullptr);
    EXPECT_EQ(rig.api->GetDC(0x7FFFFF00), 0);
    const std::shared_ptr<Picture> picture = CopyWindowToPicture(0x7FFFFF00, true, 0, 0, 10, 10);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->handle(), 0);
    EXPECT_EQ(QtOsApi::widgetOfHandle(static_cast<Long>(rig->winId())), rig.widget);
}

TEST(QtSaveDialog, SavesABitmapConfirmsAndRemembersTheFilter) {
    DesktopRig rig;
    rig.renderSales();
    rig.typeName("chart"); // no extension: ".bmp" is added
    const String saved = rig.path("chart.bmp");
    rig.answer(QMessageBox::Ok, qt::toQString(L"Plotara image is saved.\nFilename: " + saved));
    EXPECT_TRUE(rig->control().SaveAsImage());
    EXPECT_EQ(fileStart(saved, 2), "BM");

    rig.typeName("chart.png", "All Files (*.*)");
    EXPECT_TRUE(rig->control().SaveAsImage(false));
    EXPECT_EQ(fileStart(rig.path("chart.png"), 2), "BM") << "bitmap data whatever the name";
    EXPECT_EQ(SaveImageDialogRecord().nFilterIndex, 2);

    // The next dialog opens with the filter chosen last; cancelling writes and shows nothing.
    rig.dialogs.steps.push_back([](QDialog& dialog) {
        EXPECT_EQ(dynamic_cast<QFileDialog&>(dialog).selectedNameFilter(), "All Files (*.*)");
        EXPECT_EQ(dialog.windowTitle(), "Save As");
        return static_cast<int>(QDialog::Rejected);
    });
    EXPECT_FALSE(rig->control().SaveAsImage(true));
    EXPECT_EQ(rig.dialogs.seen.size(), 4u);
    EXPECT_EQ(rig.dialogs.unanswered, 0);
}

TEST(QtSaveDialog, AnExistingFileIsReplacedOnlyWhenConfirmed) {
    DesktopRig rig;
    rig.renderSales();
    const String existing = rig.path("old.bmp");
    std::ofstream(toUtf8(existing)) << "keep me";
    const QString prompt =
        qt::toQString(existing + L" already exists.\nDo you want to replace it?");
    rig.typeName("old.bmp");
    rig.answer(QMessageBox::No, prompt);
    rig.dialogs.steps.push_back([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
    EXPECT_FALSE(rig->control().SaveAsImage(false));
    EXPECT_EQ(fileStart(existing, 7), "keep me");

    rig.typeName("old.bmp");
    rig.answer(QMessageBox::Yes, prompt);
    EXPECT_TRUE(rig->control().SaveAsImage(false));
    EXPECT_EQ(fileStart(existing, 2), "BM");
    EXPECT_EQ(rig.dialogs.unanswered, 0);
}

TEST(QtSaveDialog, ARecordOfAnotherSizeIsRefused) {
    DesktopRig rig;
    OPENFILENAME record;
    record.lStructSize = 88;
    EXPECT_EQ(rig.api->GetSaveFileNameA(record), 0);
    EXPECT_TRUE(rig.dialogs.seen.empty()) << "no dialog opened";
}

} // namespace
} // namespace plotara::test
