// An operating-system seam without a window system, for the tests and the command line.
//
// Capture: windows are attached with the painter that draws their client area (the movie host);
// a window device context reads its pixels from that painter, memory device contexts and
// bitmaps live in tables here, and BitBlt copies between them. setPaletteDisplay(true) turns the
// display into a 256-colour palette device whose system palette is systemPalette(): bitmaps
// made for it hold palette colours only (nearest entry).
//
// Dialogs: the Save and Open dialogs and the folder browser take their answers from queues and
// act like the system dialogs on them (default extension, overwrite prompt, must-exist rule,
// buffer sizes, the filter index written back); every record they are given is kept as it came
// in, and every call is journaled by name.
#pragma once

#include "platform/OsApi.h"
#include "platform/WindowPainter.h"

#include <deque>
#include <map>

namespace plotara {

// One scripted answer of a Save or Open dialog.
struct FileDialogAnswer {
    bool cancel = false;
    String name;                  // the name typed or picked, as the user gave it
    Long filterIndex = 0;         // the filter picked (1-based); 0 leaves the record's choice
    bool confirmOverwrite = true; // the answer to the overwrite prompt, when one appears

    static FileDialogAnswer cancelled() { return FileDialogAnswer{true, {}, 0, true}; }
};

// One scripted answer of the folder browser: a folder, or cancel.
struct FolderAnswer {
    bool cancel = false;
    String folder;

    static FolderAnswer cancelled() { return FolderAnswer{true, {}}; }
};

class HeadlessOsApi final : public OsApi {
public:
    // The window handle of the folder browser while it is open.
    static constexpr Long browserWindow = 0x00B0F001;

    HeadlessOsApi() = default;

    // --- scripting ------------------------------------------------------------------------
    // The painter must outlive its attachment.
    void attachWindow(Long hwnd, const WindowPainter& painter) { windows_[hwnd] = &painter; }
    void detachWindow(Long hwnd) { windows_.erase(hwnd); }
    void setPaletteDisplay(bool palette) { paletteDisplay_ = palette; }
    // The 256 colours of the palette display: a 6 x 6 x 6 colour cube (entries 0 to 215) and 40
    // greys from black to white (216 to 255). Cannot fail.
    static const std::array<PALETTEENTRY, 256>& systemPalette();
    // Answers for the next Save and Open dialogs, first in first out; an empty queue cancels.
    void queueFileAnswer(FileDialogAnswer answer) { fileAnswers_.push_back(std::move(answer)); }
    // Answers for the next folder browsers; an empty queue cancels.
    void queueFolderAnswer(FolderAnswer answer) { folderAnswers_.push_back(std::move(answer)); }

    // --- what was asked -----------------------------------------------------------------------
    // Every Save and Open dialog record as it was handed in, before the dialog wrote to it.
    const std::vector<OPENFILENAME>& saveRecords() const noexcept { return saveRecords_; }
    const std::vector<OPENFILENAME>& openRecords() const noexcept { return openRecords_; }
    const std::vector<BROWSEINFO>& browseRecords() const noexcept { return browseRecords_; }
    // The files the overwrite prompt asked about, and the names refused as not existing.
    const std::vector<String>& overwritePrompts() const noexcept { return overwritePrompts_; }
    const std::vector<String>& mustExistRefusals() const noexcept { return mustExistRefusals_; }
    // The folder each browser opened with preselected ("" when it stayed at its default).
    const std::vector<String>& preselections() const noexcept { return preselections_; }
    // Every call by its name, in order ("GetDC", "BitBlt", "GetSaveFileNameA" ...).
    const std::vector<String>& calls() const noexcept { return calls_; }
    // Device contexts obtained and not yet released or deleted, and item lists not yet freed.
    std::size_t openDeviceContexts() const noexcept { return dcs_.size(); }
    std::size_t openItemLists() const noexcept { return itemLists_.size(); }
    void clearRecords();

    // --- OsApi ------------------------------------------------------------------------------
    Long GetDC(Long hwnd) override;
    Long GetWindowDC(Long hwnd) override;
    Long ReleaseDC(Long hwnd, Long hdc) override;
    Long CreateCompatibleDC(Long hdc) override;
    Long CreateCompatibleBitmap(Long hdc, Long width, Long height) override;
    Long SelectObject(Long hdc, Long object) override;
    Long GetDeviceCaps(Long hdc, Long index) override;
    Long GetSystemPaletteEntries(Long hdc, Long start, Long count, PALETTEENTRY* entries) override;
    Long CreatePalette(const LOGPALETTE& palette) override;
    Long SelectPalette(Long hdc, Long palette, Long forceBackground) override;
    Long RealizePalette(Long hdc) override;
    Long BitBlt(Long hdcDest, Long x, Long y, Long width, Long height, Long hdcSource, Long xSource,
                Long ySource, Long rasterOperation) override;
    Long DeleteDC(Long hdc) override;
    Long OleCreatePictureIndirect(const PICTDESC& description, const String& interfaceId, bool own,
                                  std::optional<PictureBits>& picture) override;
    Long GetSaveFileNameA(OPENFILENAME& record) override;
    Long GetOpenFileNameA(OPENFILENAME& record) override;
    Long SHBrowseForFolder(BROWSEINFO& record) override;
    bool SHGetPathFromIDList(Long itemList, String& buffer) override;
    void CoTaskMemFree(Long itemList) override;
    Long SendMessageA(Long hwnd, Long message, Long wParam, std::intptr_t lParam) override;

private:
    struct DeviceContext {
        Long window = 0; // 0 for a memory context
        Long bitmap = 0;
        Long palette = 0;
    };
    struct Bitmap {
        Long width = 0, height = 0;
        bool paletteDevice = false;
        std::vector<std::uint32_t> pixels;
    };
    Long fileDialog(OPENFILENAME& record, bool save);
    // A device context on a known window (GetDC and GetWindowDC alike), 0 for any other handle.
    Long windowContext(const wchar_t* call, Long hwnd);
    Long newHandle() { return nextHandle_++; }

    std::map<Long, const WindowPainter*> windows_;
    bool paletteDisplay_ = false;
    std::map<Long, DeviceContext> dcs_;
    std::map<Long, Bitmap> bitmaps_;
    std::map<Long, std::vector<PALETTEENTRY>> palettes_;
    std::map<Long, String> itemLists_;
    Long nextHandle_ = 0x1000;
    std::deque<FileDialogAnswer> fileAnswers_;
    std::deque<FolderAnswer> folderAnswers_;
    std::vector<OPENFILENAME> saveRecords_, openRecords_;
    std::vector<BROWSEINFO> browseRecords_;
    std::vector<String> overwritePrompts_, mustExistRefusals_, preselections_, calls_;
    String preselected_;
};

} // namespace plotara
