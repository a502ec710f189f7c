// The Paths property page as Qt widgets and its property sheet: layout from the page's table,
// typing and applying, OK, Apply and Cancel, and the Browse dialogs through QtOsApi.
#include "desktop/QtOsApi.h"
#include "desktop/designer/PropertySheet.h"
#include "qt_test_support.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <fstream>

namespace plotara::test {
namespace {

using qt::PathsPage;
using qt::PropertySheet;

// The widget's control as the page's selection (the widget owns it).
std::vector<std::shared_ptr<Dispatch>> selection(qt::PlotaraWidget& widget) {
    return {std::shared_ptr<Dispatch>(std::shared_ptr<Dispatch>(), &widget.control())};
}

struct SheetRig : WidgetRig {
    std::shared_ptr<qt::QtOsApi> api = std::make_shared<qt::QtOsApi>();
    std::shared_ptr<OsApi> previous;
    QTemporaryDir folder;
    QSignalSpy* notified = nullptr;

    SheetRig() {
        api->setModalRunner(dialogs.runner());
        previous = installOsApi(api);
        widget->control().put_ChartPath(qt::fromQString(folder.path()));
    }
    ~SheetRig() {
        delete notified;
        installOsApi(previous);
    }
    std::unique_ptr<PropertySheet> open() {
        auto sheet = std::make_unique<PropertySheet>(selection(*widget), "Plotara1");
        sheet->setModalRunner(dialogs.runner());
        delete notified;
        notified = new QSignalSpy(widget, &qt::PlotaraWidget::controlPropertyChanged);
        return sheet;
    }
    QStringList notifications() const {
        QStringList keys;
        for (const auto& arguments : *notified)
            keys << arguments.at(0).toString();
        return keys;
    }
};

QLineEdit* box(PropertySheet& sheet, const char* name) {
    return sheet.pathsPage().findChild<QLineEdit*>(name);
}

TEST(QtPathsPage, LaidOutFromThePagesTableInTabOrder) {
    PathsPage page;
    ASSERT_EQ(page.logicalDpiX(), 96);
    EXPECT_EQ(page.size(), QSize(395, 121)); // 5925 x 1815 twips
    struct Case {
        const char* name;
        QRect geometry;
        QString caption;
    } cases[] = {
        {"Label1", {8, 8, 180, 16}, "Chart's Path:"},
        {"txtChartPath", {8, 25, 180, 22}, ""},
        {"cmdDirChooser", {194, 24, 89, 25}, "Browse..."},
        {"lblChartExternalDataPath", {8, 56, 180, 16}, "Chart's XML file path:"},
        {"txtChartExternalDataPath", {8, 73, 180, 22}, ""},
        {"cmdXMLOpen", {194, 72, 89, 25}, "Browse..."},
    };
    for (const Case& c : cases) {
        auto* widget = page.findChild<QWidget*>(c.name);
        ASSERT_NE(widget, nullptr) << c.name;
        EXPECT_EQ(widget->geometry(), c.geometry) << c.name;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(label->text(), c.caption);
        }
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_EQ(button->text(), c.caption);
        }
    }
    QStringList chain;
    QWidget* at = page.findChild<QWidget*>("txtChartPath");
    for (int i = 0; i < 12 && chain.size() < 4; ++i, at = at->nextInFocusChain())
        if (at->focusPolicy() & Qt::TabFocus) chain << at->objectName();
    EXPECT_EQ(chain.join(",").toStdString(),
              "txtChartPath,cmdDirChooser,txtChartExternalDataPath,cmdXMLOpen");
}

TEST(QtPropertySheet, OkWithoutEditsAndCancelWriteNothing) {
    SheetRig rig;
    auto sheet = rig.open();
    EXPECT_EQ(box(*sheet, "txtChartPath")->text(), rig.folder.path());
    EXPECT_EQ(box(*sheet, "txtChartExternalDataPath")->text(), "");
    EXPECT_EQ(sheet->windowTitle(), "Plotara1 Properties");
    EXPECT_TRUE(sheet->button(QDialogButtonBox::Apply)->isEnabled()) << "filling marks the page";
    QTest::mouseClick(sheet->button(QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_FALSE(sheet->pathsPage().changed());
    EXPECT_TRUE(rig.notifications().isEmpty()) << rig.notifications().join(",").toStdString();

    // Cancel after an edit leaves the control as it was.
    sheet = rig.open();
    QTest::keyClicks(box(*sheet, "txtChartPath"), "/elsewhere");
    QTest::mouseClick(sheet->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    EXPECT_EQ(sheet->result(), QDialog::Rejected);
    EXPECT_EQ(rig->control().get_ChartPath(), qt::fromQString(rig.folder.path()));
    EXPECT_TRUE(rig.notifications().isEmpty());
}

TEST(QtPropertySheet, ApplyWritesBothPathsAndFollowsChanged) {
    SheetRig rig;
    auto sheet = rig.open();
    sheet->show();
    QPushButton* apply = sheet->button(QDialogButtonBox::Apply);
    QTest::mouseClick(apply, Qt::LeftButton); // nothing differs: the mark is cleared
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_TRUE(rig.notifications().isEmpty());

    const QString data = rig.folder.filePath("data.xml");
    QLineEdit* dataBox = box(*sheet, "txtChartExternalDataPath");
    QTest::keyClicks(dataBox, data);
    EXPECT_EQ(sheet->pathsPage().page().txtChartExternalDataPath.text, qt::fromQString(data));
    EXPECT_TRUE(apply->isEnabled());
    EXPECT_TRUE(rig.notifications().isEmpty()) << "typing alone changes nothing";
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_EQ(rig->control().get_setDataURL(), qt::fromQString(data));
    EXPECT_EQ(rig->control().get_ChartPath(), qt::fromQString(rig.folder.path()));
    EXPECT_EQ(rig.notifications().mid(0, 2), QStringList({"ChartPath", "XMLDataPath"}))
        << "both written, the folder with its unchanged text";
}

TEST(QtPropertySheet, FocusSelectsTheWholeText) {
    SheetRig rig;
    auto sheet = rig.open();
    sheet->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet.get()));
    QLineEdit* chart = box(*sheet, "txtChartPath");
    box(*sheet, "txtChartExternalDataPath")->setFocus();
    chart->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(chart->selectedText(), rig.folder.path());
    EXPECT_EQ(sheet->pathsPage().page().txtChartPath.selLength, rig.folder.path().size());
}

TEST(QtPathsDialogs, FolderBrowserOpensAtTheChartFolder) {
    SheetRig rig;
    QTemporaryDir other;
    auto sheet = rig.open();
    rig.dialogs.steps.push_back([&](QDialog& dialog) {
        auto& files = dynamic_cast<QFileDialog&>(dialog);
        EXPECT_EQ(files.fileMode(), QFileDialog::Directory);
        EXPECT_EQ(files.windowTitle(), "Select the chart folder");
        EXPECT_EQ(files.directory().absolutePath(), rig.folder.path()) << "preselected";
        files.selectFile(other.path());
        return static_cast<int>(QDialog::Accepted);
    });
    QTest::mouseClick(sheet->pathsPage().findChild<QPushButton*>("cmdDirChooser"), Qt::LeftButton);
    EXPECT_EQ(box(*sheet, "txtChartPath")->text(), other.path());
    rig.dialogs.steps.push_back([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
    QTest::mouseClick(sheet->pathsPage().findChild<QPushButton*>("cmdDirChooser"), Qt::LeftButton);
    EXPECT_EQ(box(*sheet, "txtChartPath")->text(), other.path()) << "cancel keeps the text";
    EXPECT_EQ(rig->control().get_ChartPath(), qt::fromQString(rig.folder.path()));
}

TEST(QtPathsDialogs, OpenDialogForAnExistingXmlFile) {
    SheetRig rig;
    rig->control().put_setDataURL(qt::fromQString(rig.folder.path())); // an existing folder
    const QString chosen = rig.folder.filePath("sales.xml");
    std::ofstream(chosen.toStdString()) << "<chart></chart>";
    auto sheet = rig.open();
    rig.dialogs.steps.push_back([&](QDialog& dialog) {
        auto& files = dynamic_cast<QFileDialog&>(dialog);
        EXPECT_EQ(files.windowTitle(), "Select the XML file");
        EXPECT_EQ(files.fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(files.nameFilters(), QStringList({"XML Files (*.xml)", "All Files (*.*)"}));
        EXPECT_EQ(files.defaultSuffix(), "xml");
        EXPECT_EQ(files.directory().absolutePath(), rig.folder.path());
        files.selectFile(rig.folder.filePath("sales")); // the extension is added
        return static_cast<int>(QDialog::Accepted);
    });
    QTest::mouseClick(sheet->pathsPage().findChild<QPushButton*>("cmdXMLOpen"), Qt::LeftButton);
    EXPECT_EQ(box(*sheet, "txtChartExternalDataPath")->text(), chosen);
    EXPECT_TRUE(sheet->pathsPage().changed());

    // A file that does not exist is refused with a message and the dialog comes back.
    rig.dialogs.steps.push_back([&](QDialog& dialog) {
        dynamic_cast<QFileDialog&>(dialog).selectFile(rig.folder.filePath("missing.xml"));
        return static_cast<int>(QDialog::Accepted);
    });
    rig.dialogs.steps.push_back([](QDialog& dialog) {
        EXPECT_TRUE(dynamic_cast<QMessageBox&>(dialog).text().endsWith("File not found."));
        return static_cast<int>(QMessageBox::Ok);
    });
    rig.dialogs.steps.push_back([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
    QTest::mouseClick(sheet->pathsPage().findChild<QPushButton*>("cmdXMLOpen"), Qt::LeftButton);
    EXPECT_EQ(box(*sheet, "txtChartExternalDataPath")->text(), chosen);
    EXPECT_EQ(rig.dialogs.unanswered, 0);
}

} // namespace
} // namespace plotara::test
