// The operating-system functions the component calls for window capture, pictures, file
// dialogs and the folder browser, declared by their published names with records that mirror the
// published structures. Handles are 32-bit numbers, 0 for none. Texts travel as wide strings;
// a desktop implementation converts them to its own encoding and back.
//
// One implementation is installed for the process (installOsApi); without one, every call fails
// the way the system call does when nothing can be done (0 handles, cancelled dialogs), except
// that an empty picture (bitmap handle 0) can still be created.
// platform/headless/HeadlessOsApi.h answers from a script and records every record it is given.
#pragma once

#include "core/String.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace plotara {

struct PALETTEENTRY {
    std::uint8_t peRed = 0, peGreen = 0, peBlue = 0, peFlags = 0;
    bool operator==(const PALETTEENTRY&) const = default;
};

// The logical palette record (room for 256 entries).
struct LOGPALETTE {
    Integer palVersion = 0;
    Integer palNumEntries = 0;
    std::array<PALETTEENTRY, 256> palPalEntry{};
};

// The picture description handed to OleCreatePictureIndirect (bitmap form).
struct PICTDESC {
    Long cbSizeofstruct = 0;
    Long picType = 0; // 1 bitmap
    Long hbitmap = 0;
    Long hpal = 0;
};

// What a created picture holds: the handles it owns and the bitmap's pixels (0x00RRGGBB, rows
// top to bottom) with the palette's colours when it has one.
struct PictureBits {
    Long handle = 0;
    Long hPal = 0;
    Long width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::vector<std::uint32_t> palette;
};

// The common file dialog record. Text buffers are Strings whose length is the buffer size; the
// dialog writes its answer into them, ended by NUL, as the system does.
struct OPENFILENAME {
    Long lStructSize = 0;
    Long hwndOwner = 0;
    Long hInstance = 0;
    String lpstrFilter; // pairs of description and pattern, each ended by NUL, the list by NUL
    String lpstrCustomFilter;
    Long nMaxCustFilter = 0;
    Long nFilterIndex = 0;
    String lpstrFile;
    Long nMaxFile = 0;
    String lpstrFileTitle;
    Long nMaxFileTitle = 0;
    String lpstrInitialDir;
    String lpstrTitle;
    Long Flags = 0;
    Integer nFileOffset = 0;
    Integer nFileExtension = 0;
    String lpstrDefExt;
    Long lCustData = 0;
    Long lpfnHook = 0;
    String lpTemplateName;
};

// The folder browser's callback: window, message, parameter, callback data.
using BrowseCallbackProc = Long (*)(Long hwnd, Long uMsg, std::intptr_t lParam,
                                    std::intptr_t lpData);

// The folder browser record. lParam is handed to the callback unchanged; the component passes
// the address of its initial-folder String there.
struct BROWSEINFO {
    Long hwndOwner = 0;
    Long pidlRoot = 0;
    String* pszDisplayName = nullptr;
    String lpszTitle;
    Long ulFlags = 0;
    BrowseCallbackProc lpfn = nullptr;
    std::intptr_t lParam = 0;
    Long iImage = 0;
};

class OsApi {
public:
    virtual ~OsApi() = default;
    // --- graphics device interface: failures give 0 (or false), never an Error ----------------
    virtual Long GetDC(Long hwnd) = 0;
    virtual Long GetWindowDC(Long hwnd) = 0;
    virtual Long ReleaseDC(Long hwnd, Long hdc) = 0;
    virtual Long CreateCompatibleDC(Long hdc) = 0;
    virtual Long CreateCompatibleBitmap(Long hdc, Long width, Long height) = 0;
    // The object (bitmap) previously selected, 0 on failure.
    virtual Long SelectObject(Long hdc, Long object) = 0;
    virtual Long GetDeviceCaps(Long hdc, Long index) = 0;
    // Copies count entries from start into entries; the number copied, 0 on a device without a
    // palette.
    virtual Long GetSystemPaletteEntries(Long hdc, Long start, Long count,
                                         PALETTEENTRY* entries) = 0;
    virtual Long CreatePalette(const LOGPALETTE& palette) = 0;
    // The palette previously selected, 0 on failure.
    virtual Long SelectPalette(Long hdc, Long palette, Long forceBackground) = 0;
    virtual Long RealizePalette(Long hdc) = 0;
    virtual Long BitBlt(Long hdcDest, Long x, Long y, Long width, Long height, Long hdcSource,
                        Long xSource, Long ySource, Long rasterOperation) = 0;
    virtual Long DeleteDC(Long hdc) = 0;
    // --- picture objects ------------------------------------------------------------------------
    // Creates a picture from the description; with own the picture owns (and later frees) the
    // handles. The status code (0 success, negative failure); picture is set on success only.
    virtual Long OleCreatePictureIndirect(const PICTDESC& description, const String& interfaceId,
                                          bool own, std::optional<PictureBits>& picture) = 0;
    // --- common dialogs and the folder browser: a cancel or failure gives 0 ----------------------
    virtual Long GetSaveFileNameA(OPENFILENAME& record) = 0;
    virtual Long GetOpenFileNameA(OPENFILENAME& record) = 0;
    // The chosen folder's item list, 0 when the user cancelled.
    virtual Long SHBrowseForFolder(BROWSEINFO& record) = 0;
    // Writes the item list's path, ended by NUL, into the start of buffer; false when the path
    // does not fit or the item list is unknown.
    virtual bool SHGetPathFromIDList(Long itemList, String& buffer) = 0;
    virtual void CoTaskMemFree(Long itemList) = 0;
    // lParam is the address of a String for messages that pass text.
    virtual Long SendMessageA(Long hwnd, Long message, Long wParam, std::intptr_t lParam) = 0;
};

// The installed implementation (the failing one when none is installed). Cannot fail.
OsApi& osApi();
// Installs an implementation for the whole process (nullptr goes back to the failing one) and
// returns the one installed before. Cannot fail.
std::shared_ptr<OsApi> installOsApi(std::shared_ptr<OsApi> api);

} // namespace plotara
