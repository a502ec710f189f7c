// The operating-system seam on a Qt desktop.
//
// Capture: a window handle is a widget's native window (QWidget::winId); a window device context
// reads the widget's own pixels with QWidget::grab, so a captured picture is what the widget
// shows. Memory device contexts, bitmaps, palettes, BitBlt and pictures are the in-process ones
// of HeadlessOsApi, which this seam drives; a 256-colour display (screen depth 8, or
// setPaletteDisplay) gives pictures with the system palette as there.
//
// Dialogs: the Save and Open dialogs are QFileDialog with the record's title, filter list (the
// record's filter index preselected and the one chosen written back), default extension,
// starting folder, overwrite prompt (a QMessageBox) and must-exist rule; the folder browser is a
// QFileDialog in directory mode that opens at the folder its callback preselects. Every dialog
// and prompt runs through the modal runner.
#pragma once

#include "desktop/ModalRunner.h"
#include "platform/OsApi.h"
#include "platform/headless/HeadlessOsApi.h"

#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>

namespace plotara::qt {

class QtOsApi final : public OsApi {
public:
    // The handle the folder browser has while it is open (its callback receives it).
    static constexpr Long browserWindow = HeadlessOsApi::browserWindow;

    // Cannot fail; needs a QApplication for its dialogs and captures.
    QtOsApi();
    ~QtOsApi() override;

    // Runs the dialogs and prompts (the default runs their modal loop).
    void setModalRunner(ModalRunner runner) { runner_ = std::move(runner); }
    // Treat the display as a 256-colour palette device (it is one when the screen depth is 8).
    void setPaletteDisplay(bool palette) { gdi_.setPaletteDisplay(palette); }
    // The widget whose native window has the handle (its low 32 bits), nullptr when none does.
    // Cannot fail.
    static QWidget* widgetOfHandle(Long hwnd);
    // Every call by its name, in order, as HeadlessOsApi journals them.
    const std::vector<String>& calls() const noexcept { return gdi_.calls(); }

    // --- OsApi ------------------------------------------------------------------------------
    // A context on an unknown window is 0; the others answer as HeadlessOsApi does.
    Long GetDC(Long hwnd) override;
    Long GetWindowDC(Long hwnd) override;
    Long ReleaseDC(Long hwnd, Long hdc) override { return gdi_.ReleaseDC(hwnd, hdc); }
    Long CreateCompatibleDC(Long hdc) override { return gdi_.CreateCompatibleDC(hdc); }
    Long CreateCompatibleBitmap(Long hdc, Long width, Long height) override {
        return gdi_.CreateCompatibleBitmap(hdc, width, height);
    }
    Long SelectObject(Long hdc, Long object) override { return gdi_.SelectObject(hdc, object); }
    Long GetDeviceCaps(Long hdc, Long index) override { return gdi_.GetDeviceCaps(hdc, index); }
    Long GetSystemPaletteEntries(Long hdc, Long start, Long count, PALETTEENTRY* entries) override {
        return gdi_.GetSystemPaletteEntries(hdc, start, count, entries);
    }
    Long CreatePalette(const LOGPALETTE& palette) override { return gdi_.CreatePalette(palette); }
    Long SelectPalette(Long hdc, Long palette, Long forceBackground) override {
        return gdi_.SelectPalette(hdc, palette, forceBackground);
    }
    Long RealizePalette(Long hdc) override { return gdi_.RealizePalette(hdc); }
    Long BitBlt(Long hdcDest, Long x, Long y, Long width, Long height, Long hdcSource, Long xSource,
                Long ySource, Long rasterOperation) override {
        return gdi_.BitBlt(hdcDest, x, y, width, height, hdcSource, xSource, ySource,
                           rasterOperation);
    }
    Long DeleteDC(Long hdc) override { return gdi_.DeleteDC(hdc); }
    Long OleCreatePictureIndirect(const PICTDESC& description, const String& interfaceId, bool own,
                                  std::optional<PictureBits>& picture) override {
        return gdi_.OleCreatePictureIndirect(description, interfaceId, own, picture);
    }
    // 1 when a name was chosen (written into the record), 0 on cancel or a record of another size.
    Long GetSaveFileNameA(OPENFILENAME& record) override;
    Long GetOpenFileNameA(OPENFILENAME& record) override;
    // The chosen folder's item list, 0 when cancelled.
    Long SHBrowseForFolder(BROWSEINFO& record) override;
    bool SHGetPathFromIDList(Long itemList, String& buffer) override;
    void CoTaskMemFree(Long itemList) override;
    // Serves the folder browser's "set selection" (0x466, path in lParam); 0 for anything else.
    Long SendMessageA(Long hwnd, Long message, Long wParam, std::intptr_t lParam) override;

private:
    class GrabPainter;
    Long attach(Long hwnd, bool clientArea);
    Long fileDialog(OPENFILENAME& record, bool save);

    HeadlessOsApi gdi_;
    std::map<Long, std::unique_ptr<GrabPainter>> painters_;
    std::map<Long, String> itemLists_;
    Long nextItemList_ = 0x7000;
    String preselected_;
    ModalRunner runner_;
};

} // namespace plotara::qt
