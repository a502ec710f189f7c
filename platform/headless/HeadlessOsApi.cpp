#include "platform/headless/HeadlessOsApi.h"

#include "core/ErrorTrap.h"
#include "core/FilePath.h"
#include "platform/FileDialogRecord.h"
#include "platform/PictureSize.h"

#include <sys/stat.h>

namespace plotara {

namespace {

constexpr Long stockBitmap = 1;  // the 1 x 1 bitmap every new memory context starts with
constexpr Long stockPalette = 2; // the default palette of every new context
constexpr Long plainCopy = 0xCC0020;
constexpr Long success = 0;
constexpr Long invalidArgument = static_cast<Long>(0x80070057u);

bool pathExists(const String& path, bool regularOnly, bool directoryOnly = false) {
    struct stat info {};
    if (path.empty() || ::stat(toPath(path).c_str(), &info) != 0) return false;
    if (regularOnly) return S_ISREG(info.st_mode);
    if (directoryOnly) return S_ISDIR(info.st_mode);
    return true;
}

std::uint32_t rgbOf(const PALETTEENTRY& e) {
    return (std::uint32_t{e.peRed} << 16) | (std::uint32_t{e.peGreen} << 8) | e.peBlue;
}

std::uint32_t nearest(std::uint32_t rgb, const std::vector<PALETTEENTRY>& palette) {
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    long best = -1;
    std::uint32_t chosen = 0;
    for (const PALETTEENTRY& e : palette) {
        const long dr = r - e.peRed, dg = g - e.peGreen, db = b - e.peBlue;
        const long d = dr * dr + dg * dg + db * db;
        if (best < 0 || d < best) {
            best = d;
            chosen = rgbOf(e);
        }
    }
    return chosen;
}

} // namespace

const std::array<PALETTEENTRY, 256>& HeadlessOsApi::systemPalette() {
    static const std::array<PALETTEENTRY, 256> palette = [] {
        std::array<PALETTEENTRY, 256> p{};
        for (int i = 0; i < 216; ++i)
            p[i] = PALETTEENTRY{static_cast<std::uint8_t>(i / 36 * 51),
                                static_cast<std::uint8_t>(i / 6 % 6 * 51),
                                static_cast<std::uint8_t>(i % 6 * 51), 0};
        for (int i = 0; i < 40; ++i) {
            const auto grey = static_cast<std::uint8_t>(i * 255 / 39);
            p[216 + i] = PALETTEENTRY{grey, grey, grey, 0};
        }
        return p;
    }();
    return palette;
}

void HeadlessOsApi::clearRecords() {
    saveRecords_.clear();
    openRecords_.clear();
    browseRecords_.clear();
    overwritePrompts_.clear();
    mustExistRefusals_.clear();
    preselections_.clear();
    calls_.clear();
}

Long HeadlessOsApi::windowContext(const wchar_t* call, Long hwnd) {
    calls_.push_back(call);
    if (!windows_.count(hwnd)) return 0;
    const Long dc = newHandle();
    dcs_[dc] = DeviceContext{hwnd, 0, stockPalette};
    return dc;
}

Long HeadlessOsApi::GetDC(Long hwnd) {
    return windowContext(L"GetDC", hwnd);
}

Long HeadlessOsApi::GetWindowDC(Long hwnd) {
    return windowContext(L"GetWindowDC", hwnd);
}

Long HeadlessOsApi::ReleaseDC(Long hwnd, Long hdc) {
    calls_.push_back(L"ReleaseDC");
    const auto found = dcs_.find(hdc);
    if (found == dcs_.end() || found->second.window == 0 || found->second.window != hwnd) return 0;
    dcs_.erase(found);
    return 1;
}

Long HeadlessOsApi::CreateCompatibleDC(Long hdc) {
    calls_.push_back(L"CreateCompatibleDC");
    if (hdc != 0 && !dcs_.count(hdc)) return 0;
    const Long dc = newHandle();
    dcs_[dc] = DeviceContext{0, stockBitmap, stockPalette};
    return dc;
}

Long HeadlessOsApi::CreateCompatibleBitmap(Long hdc, Long width, Long height) {
    calls_.push_back(L"CreateCompatibleBitmap");
    if (!dcs_.count(hdc) || width <= 0 || height <= 0 || width > maxPictureSide ||
        height > maxPictureSide)
        return 0;
    const Long bitmap = newHandle();
    bitmaps_[bitmap] =
        Bitmap{width, height, paletteDisplay_,
               std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, 0)};
    return bitmap;
}

Long HeadlessOsApi::SelectObject(Long hdc, Long object) {
    calls_.push_back(L"SelectObject");
    const auto found = dcs_.find(hdc);
    if (found == dcs_.end() || found->second.window != 0) return 0;
    if (object != stockBitmap && !bitmaps_.count(object)) return 0;
    const Long previous = found->second.bitmap;
    found->second.bitmap = object;
    return previous;
}

Long HeadlessOsApi::GetDeviceCaps(Long hdc, Long index) {
    calls_.push_back(L"GetDeviceCaps");
    if (!dcs_.count(hdc)) return 0;
    switch (index) {
    case 12: // bits per pixel
        return paletteDisplay_ ? 8 : 32;
    case 38: // raster capabilities; 0x100 is the palette capability
        return paletteDisplay_ ? 0x7E99 | 0x100 : 0x7E99;
    case 104: // palette size
        return paletteDisplay_ ? 256 : 0;
    default:
        return 0;
    }
}

Long HeadlessOsApi::GetSystemPaletteEntries(Long hdc, Long start, Long count,
                                            PALETTEENTRY* entries) {
    calls_.push_back(L"GetSystemPaletteEntries");
    if (!paletteDisplay_ || !dcs_.count(hdc) || entries == nullptr || start < 0 || count < 0)
        return 0;
    Long copied = 0;
    for (Long i = start; i < 256 && copied < count; ++i)
        entries[copied++] = systemPalette()[static_cast<std::size_t>(i)];
    return copied;
}

Long HeadlessOsApi::CreatePalette(const LOGPALETTE& palette) {
    calls_.push_back(L"CreatePalette");
    if (palette.palVersion != 0x300 || palette.palNumEntries < 1 || palette.palNumEntries > 256)
        return 0;
    const Long handle = newHandle();
    palettes_[handle].assign(palette.palPalEntry.begin(),
                             palette.palPalEntry.begin() + palette.palNumEntries);
    return handle;
}

Long HeadlessOsApi::SelectPalette(Long hdc, Long palette, Long) {
    calls_.push_back(L"SelectPalette");
    const auto found = dcs_.find(hdc);
    if (found == dcs_.end() || (palette != stockPalette && !palettes_.count(palette))) return 0;
    const Long previous = found->second.palette;
    found->second.palette = palette;
    return previous;
}

Long HeadlessOsApi::RealizePalette(Long hdc) {
    calls_.push_back(L"RealizePalette");
    const auto found = dcs_.find(hdc);
    if (found == dcs_.end()) return 0;
    const auto palette = palettes_.find(found->second.palette);
    return palette == palettes_.end() ? 20 : static_cast<Long>(palette->second.size());
}

Long HeadlessOsApi::BitBlt(Long hdcDest, Long x, Long y, Long width, Long height, Long hdcSource,
                           Long xSource, Long ySource, Long rasterOperation) {
    calls_.push_back(L"BitBlt");
    const auto dest = dcs_.find(hdcDest);
    const auto source = dcs_.find(hdcSource);
    if (rasterOperation != plainCopy || dest == dcs_.end() || source == dcs_.end()) return 0;
    const auto target = bitmaps_.find(dest->second.bitmap);
    if (target == bitmaps_.end() || width <= 0 || height <= 0 || width > maxPictureSide ||
        height > maxPictureSide)
        return 0;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, 0);
    if (source->second.window != 0) {
        const WindowPainter* painter = windows_.at(source->second.window);
        if (!ErrorTrap::resume(
                [&] { painter->paintClientArea(xSource, ySource, width, height, pixels.data()); }))
            return 0;
    } else {
        const auto from = bitmaps_.find(source->second.bitmap);
        if (from == bitmaps_.end()) return 0;
        const Bitmap& b = from->second;
        for (Long row = 0; row < height; ++row)
            for (Long column = 0; column < width; ++column) {
                const Long sx = xSource + column, sy = ySource + row;
                if (sx >= 0 && sy >= 0 && sx < b.width && sy < b.height)
                    pixels[static_cast<std::size_t>(row) * width + column] =
                        b.pixels[static_cast<std::size_t>(sy) * b.width + sx];
            }
    }
    Bitmap& b = target->second;
    const auto realized = palettes_.find(dest->second.palette);
    const std::vector<PALETTEENTRY> palette =
        realized != palettes_.end()
            ? realized->second
            : std::vector<PALETTEENTRY>(systemPalette().begin(), systemPalette().end());
    for (Long row = 0; row < height; ++row)
        for (Long column = 0; column < width; ++column) {
            const Long dx = x + column, dy = y + row;
            if (dx < 0 || dy < 0 || dx >= b.width || dy >= b.height) continue;
            std::uint32_t rgb = pixels[static_cast<std::size_t>(row) * width + column] & 0xFFFFFF;
            if (b.paletteDevice) rgb = nearest(rgb, palette);
            b.pixels[static_cast<std::size_t>(dy) * b.width + dx] = rgb;
        }
    return 1;
}

Long HeadlessOsApi::DeleteDC(Long hdc) {
    calls_.push_back(L"DeleteDC");
    const auto found = dcs_.find(hdc);
    if (found == dcs_.end() || found->second.window != 0) return 0;
    dcs_.erase(found);
    return 1;
}

Long HeadlessOsApi::OleCreatePictureIndirect(const PICTDESC& description, const String&, bool own,
                                             std::optional<PictureBits>& picture) {
    calls_.push_back(L"OleCreatePictureIndirect");
    if (description.cbSizeofstruct != 20 || description.picType != 1) return invalidArgument;
    PictureBits bits;
    if (description.hbitmap != 0) {
        const auto bitmap = bitmaps_.find(description.hbitmap);
        if (bitmap == bitmaps_.end()) return invalidArgument;
        bits.handle = description.hbitmap;
        bits.width = bitmap->second.width;
        bits.height = bitmap->second.height;
        bits.pixels = bitmap->second.pixels;
        if (own) bitmaps_.erase(bitmap); // the picture owns it now
    }
    if (description.hpal != 0) {
        const auto palette = palettes_.find(description.hpal);
        if (palette == palettes_.end()) return invalidArgument;
        bits.hPal = description.hpal;
        for (const PALETTEENTRY& e : palette->second)
            bits.palette.push_back(rgbOf(e));
        if (own) palettes_.erase(palette);
    }
    picture = std::move(bits);
    return success;
}

Long HeadlessOsApi::fileDialog(OPENFILENAME& record, bool save) {
    calls_.push_back(save ? L"GetSaveFileNameA" : L"GetOpenFileNameA");
    (save ? saveRecords_ : openRecords_).push_back(record);
    if (record.lStructSize != 76) return 0;
    while (!fileAnswers_.empty()) {
        const FileDialogAnswer answer = fileAnswers_.front();
        fileAnswers_.pop_front();
        if (answer.cancel) return 0;
        String name = answer.name;
        if (name.empty()) continue; // an empty name box keeps the dialog open
        name = file_dialog::withDefaultExtension(name, record);
        if (save && (record.Flags & 0x2) && pathExists(name, false)) {
            overwritePrompts_.push_back(name);
            if (!answer.confirmOverwrite) continue; // back to the dialog for another name
        }
        if (!save && (record.Flags & 0x1000) && !pathExists(name, true)) {
            mustExistRefusals_.push_back(name);
            continue;
        }
        if (!file_dialog::storeChoice(record, name)) return 0;
        if (answer.filterIndex > 0)
            record.nFilterIndex = answer.filterIndex;
        else if (record.nFilterIndex == 0)
            record.nFilterIndex = 1;
        return 1;
    }
    return 0; // nothing scripted: the user cancels
}

Long HeadlessOsApi::GetSaveFileNameA(OPENFILENAME& record) {
    return fileDialog(record, true);
}

Long HeadlessOsApi::GetOpenFileNameA(OPENFILENAME& record) {
    return fileDialog(record, false);
}

Long HeadlessOsApi::SHBrowseForFolder(BROWSEINFO& record) {
    calls_.push_back(L"SHBrowseForFolder");
    browseRecords_.push_back(record);
    preselected_.clear();
    if (record.lpfn != nullptr) record.lpfn(browserWindow, 1, 0, record.lParam);
    preselections_.push_back(preselected_);
    if (folderAnswers_.empty()) return 0;
    const FolderAnswer answer = folderAnswers_.front();
    folderAnswers_.pop_front();
    if (answer.cancel) return 0;
    const Long itemList = newHandle();
    itemLists_[itemList] = answer.folder;
    return itemList;
}

bool HeadlessOsApi::SHGetPathFromIDList(Long itemList, String& buffer) {
    calls_.push_back(L"SHGetPathFromIDList");
    const auto found = itemLists_.find(itemList);
    if (found == itemLists_.end()) return false;
    return file_dialog::writeBuffer(buffer, static_cast<Long>(buffer.size()), found->second);
}

void HeadlessOsApi::CoTaskMemFree(Long itemList) {
    calls_.push_back(L"CoTaskMemFree");
    itemLists_.erase(itemList);
}

Long HeadlessOsApi::SendMessageA(Long hwnd, Long message, Long wParam, std::intptr_t lParam) {
    calls_.push_back(L"SendMessageA");
    constexpr Long setSelection = 0x466;
    if (hwnd != browserWindow || message != setSelection || wParam != 1 || lParam == 0) return 0;
    const String& folder = *reinterpret_cast<const String*>(lParam);
    if (!pathExists(folder, false, true)) return 0; // the browser stays where it is
    preselected_ = folder;
    return 1;
}

} // namespace plotara
