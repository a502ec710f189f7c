#include "desktop/QtOsApi.h"

#include "core/Error.h"
#include "desktop/MessageBoxes.h"
#include "desktop/QtText.h"
#include "platform/FileDialogRecord.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <cstring>

namespace plotara::qt {

namespace {

using file_dialog::fileMustExist;
using file_dialog::overwritePrompt;

// The record's filter list as Qt name filters: "Description (patterns)".
QStringList nameFilters(const String& list) {
    QStringList filters;
    std::size_t at = 0;
    while (at < list.size()) {
        const std::size_t descriptionEnd = list.find(L'\0', at);
        if (descriptionEnd == String::npos || descriptionEnd == at) break;
        const std::size_t patternEnd = list.find(L'\0', descriptionEnd + 1);
        if (patternEnd == String::npos) break;
        const QString description = toQString(list.substr(at, descriptionEnd - at));
        QString patterns =
            toQString(list.substr(descriptionEnd + 1, patternEnd - descriptionEnd - 1));
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString shown = QStringLiteral("(%1)").arg(patterns);
        filters << (description.endsWith(shown) ? description : description + u' ' + shown);
        at = patternEnd + 1;
    }
    return filters;
}

// A starting folder as the record gives it ("folder\"), as a path Qt opens.
QString startingFolder(const String& folder) {
    QString path = toQString(folder);
    while (path.size() > 1 && (path.endsWith(u'\\') || path.endsWith(u'/')))
        path.chop(1);
    return path;
}

QWidget* ownerOf(Long hwnd) {
    QWidget* owner = QtOsApi::widgetOfHandle(hwnd);
    return owner != nullptr ? owner : QApplication::activeWindow();
}

} // namespace

// Paints a window device context from the widget's own pixels, its client area (inside the
// frame) or the whole widget.
class QtOsApi::GrabPainter final : public WindowPainter {
public:
    GrabPainter(QWidget* widget, bool clientArea) : widget_(widget), clientArea_(clientArea) {}

    void paintClientArea(Long left, Long top, Long width, Long height,
                         std::uint32_t* argb) const override {
        if (widget_.isNull()) raise(Error(5, L"The window no longer exists"));
        const QRect client = widget_->contentsRect();
        const QPoint origin = clientArea_ ? client.topLeft() : QPoint(0, 0);
        const QRect area =
            (clientArea_ ? client : widget_->rect())
                .intersected(QRect(origin + QPoint(left, top), QSize(width, height)));
        QImage image(width, height, QImage::Format_ARGB32);
        image.fill(widget_->palette().color(QPalette::Window));
        if (!area.isEmpty()) {
            QImage grabbed = widget_->grab(area).toImage();
            if (grabbed.size() != area.size()) // a high-density screen: back to pixels
                grabbed =
                    grabbed.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            grabbed.setDevicePixelRatio(1);
            QPainter painter(&image);
            painter.drawImage(area.topLeft() - origin - QPoint(left, top), grabbed);
        }
        for (Long row = 0; row < height; ++row)
            std::memcpy(argb + static_cast<std::size_t>(row) * static_cast<std::size_t>(width),
                        image.constScanLine(row), static_cast<std::size_t>(width) * 4);
    }

private:
    QPointer<QWidget> widget_;
    bool clientArea_;
};

QtOsApi::QtOsApi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    gdi_.setPaletteDisplay(screen != nullptr && screen->depth() <= 8);
}

QtOsApi::~QtOsApi() = default;

QWidget* QtOsApi::widgetOfHandle(Long hwnd) {
    if (hwnd == 0) return nullptr;
    for (QWidget* widget : QApplication::allWidgets())
        if (widget->internalWinId() != 0 && static_cast<Long>(widget->internalWinId()) == hwnd)
            return widget;
    return nullptr;
}

Long QtOsApi::attach(Long hwnd, bool clientArea) {
    QWidget* widget = widgetOfHandle(hwnd);
    if (widget == nullptr) {
        gdi_.detachWindow(hwnd);
        painters_.erase(hwnd);
        return 0;
    }
    auto& painter = painters_[hwnd];
    painter = std::make_unique<GrabPainter>(widget, clientArea);
    gdi_.attachWindow(hwnd, *painter);
    return hwnd;
}

Long QtOsApi::GetDC(Long hwnd) {
    attach(hwnd, true);
    return gdi_.GetDC(hwnd);
}

Long QtOsApi::GetWindowDC(Long hwnd) {
    attach(hwnd, false);
    return gdi_.GetWindowDC(hwnd);
}

Long QtOsApi::GetSaveFileNameA(OPENFILENAME& record) {
    return fileDialog(record, true);
}

Long QtOsApi::GetOpenFileNameA(OPENFILENAME& record) {
    return fileDialog(record, false);
}

Long QtOsApi::fileDialog(OPENFILENAME& record, bool save) {
    if (record.lStructSize != 76) return 0;
    const QStringList filters = nameFilters(record.lpstrFilter);
    for (;;) {
        QFileDialog dialog(ownerOf(record.hwndOwner), toQString(record.lpstrTitle),
                           startingFolder(record.lpstrInitialDir));
        if (runner_) dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(!save && (record.Flags & fileMustExist) ? QFileDialog::ExistingFile
                                                                   : QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite); // asked below, through the runner
        dialog.setNameFilters(filters);
        const Long index = record.nFilterIndex > 0 ? record.nFilterIndex : 1;
        if (index <= filters.size()) dialog.selectNameFilter(filters.at(index - 1));
        dialog.setDefaultSuffix(toQString(record.lpstrDefExt));
        if (runModal(runner_, dialog) != QDialog::Accepted) return 0;
        String name = fromQString(dialog.selectedFiles().value(0));
        if (name.empty()) return 0;
        name = file_dialog::withDefaultExtension(name, record);
        const QFileInfo file(toQString(name));
        if (save && (record.Flags & overwritePrompt) && file.exists() &&
            showMessageBox(&dialog, name + L" already exists.\nDo you want to replace it?", 4 + 48,
                           record.lpstrTitle, runner_) != 6)
            continue; // back to the dialog for another name
        if (!save && (record.Flags & fileMustExist) && !file.isFile()) {
            showMessageBox(&dialog, name + L"\nFile not found.", 48, record.lpstrTitle, runner_);
            continue;
        }
        if (!file_dialog::storeChoice(record, name)) return 0;
        const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
        record.nFilterIndex = chosen >= 0 ? static_cast<Long>(chosen + 1) : index;
        return 1;
    }
}

Long QtOsApi::SHBrowseForFolder(BROWSEINFO& record) {
    preselected_.clear();
    if (record.lpfn != nullptr) record.lpfn(browserWindow, 1, 0, record.lParam);
    QFileDialog dialog(ownerOf(record.hwndOwner), toQString(record.lpszTitle));
    if (runner_) dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!preselected_.empty()) dialog.setDirectory(toQString(preselected_));
    if (runModal(runner_, dialog) != QDialog::Accepted) return 0;
    const QString folder = dialog.selectedFiles().value(0);
    if (folder.isEmpty()) return 0;
    const Long itemList = nextItemList_++;
    itemLists_[itemList] = fromQString(folder);
    return itemList;
}

bool QtOsApi::SHGetPathFromIDList(Long itemList, String& buffer) {
    const auto found = itemLists_.find(itemList);
    if (found == itemLists_.end()) return false;
    return file_dialog::writeBuffer(buffer, static_cast<Long>(buffer.size()), found->second);
}

void QtOsApi::CoTaskMemFree(Long itemList) {
    itemLists_.erase(itemList);
}

Long QtOsApi::SendMessageA(Long hwnd, Long message, Long wParam, std::intptr_t lParam) {
    constexpr Long setSelection = 0x466;
    if (hwnd != browserWindow || message != setSelection || wParam != 1 || lParam == 0) return 0;
    const String& folder = *reinterpret_cast<const String*>(lParam);
    if (!QFileInfo(toQString(folder)).isDir()) return 0; // the browser stays where it is
    preselected_ = folder;
    return 1;
}

} // namespace plotara::qt
