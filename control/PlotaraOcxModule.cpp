#include "control/PlotaraOcxModule.h"

#include "control/PlotaraOcxAPIModule.h"
#include "core/Dispatch.h"
#include "core/ErrorTrap.h"
#include "core/FilePath.h"
#include "core/Text.h"
#include "core/Version.h"
#include "platform/ScriptingShell.h"

#include <climits>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plotara {

namespace {

constexpr Long versionMajor = PLOTARA_VERSION_MAJOR, versionMinor = PLOTARA_VERSION_MINOR,
               versionRevision = PLOTARA_VERSION_PATCH;

constexpr Long rasterCaps = 38, sizePalette = 104, paletteCapability = 0x100;
constexpr Long plainCopy = 0xCC0020;
const String iidDispatch = L"{00020400-0000-0000-C000-000000000046}";

// The Save dialog record shared by the whole component and kept between calls, so that the
// fields the dialog writes back (the filter index above all) are there the next time.
OPENFILENAME& sharedSaveRecord() {
    static OPENFILENAME record;
    return record;
}

} // namespace

String componentVersion() {
    return text::decimal(versionMajor) + L"." + text::decimal(versionMinor) + L"." +
           text::decimal(versionRevision);
}

String GetDefaultChartsPath() {
    String folder;
    ErrorTrap::capture([&] {
        const std::shared_ptr<Dispatch> shell = createObject(L"WScript.Shell");
        const String version = text::trim(componentVersion());
        folder = toText(callByName(
            *shell, L"RegRead", InvokeKind::Method,
            {Variant(L"HKLM\\Software\\Quenmark\\Plotarix\\" + version + L"\\ChartsPath")}));
    });
    return folder;
}

std::shared_ptr<Picture> CopyWindowToPicture(Long hwnd, bool clientArea, Long left, Long top,
                                             Long width, Long height) {
    PlotaraOcxAPIModule& api = PlotaraOcxAPI();
    const Long source = clientArea ? api.GetDC(hwnd) : api.GetWindowDC(hwnd);
    const Long memory = api.CreateCompatibleDC(source);
    const Long bitmap = api.CreateCompatibleBitmap(source, width, height);
    const Long previousBitmap = api.SelectObject(memory, bitmap);

    const bool paletteDevice = (api.GetDeviceCaps(source, rasterCaps) & paletteCapability) != 0 &&
                               api.GetDeviceCaps(source, sizePalette) == 256;
    Long previousPalette = 0;
    if (paletteDevice) {
        LOGPALETTE record;
        record.palVersion = 0x300;
        record.palNumEntries = 256;
        api.GetSystemPaletteEntries(source, 0, 256, record.palPalEntry.data());
        const Long palette = api.CreatePalette(record);
        previousPalette = api.SelectPalette(memory, palette, 0);
        api.RealizePalette(memory);
    }
    api.BitBlt(memory, 0, 0, width, height, source, left, top, plainCopy);
    const Long captured = api.SelectObject(memory, previousBitmap);
    Long capturedPalette = 0;
    if (paletteDevice) capturedPalette = api.SelectPalette(memory, previousPalette, 0);
    api.DeleteDC(memory);
    api.ReleaseDC(hwnd, source);
    return PictureFromBitmap(captured, capturedPalette);
}

std::shared_ptr<Picture> PictureFromBitmap(Long bitmap, Long palette) {
    PICTDESC description;
    description.cbSizeofstruct = 20;
    description.picType = 1;
    description.hbitmap = bitmap;
    description.hpal = palette;
    std::optional<PictureBits> bits;
    PlotaraOcxAPI().OleCreatePictureIndirect(description, iidDispatch, true, bits);
    if (!bits) return nullptr;
    std::shared_ptr<Picture> picture;
    ErrorTrap::capture([&] {
        picture = std::make_shared<Picture>(bits->handle, bits->width, bits->height,
                                            std::move(bits->pixels), std::move(bits->palette),
                                            bits->hPal);
    });
    return picture;
}

const String& SaveDialogCancelled() {
    static const String marker(1, L'\0');
    return marker;
}

const OPENFILENAME& SaveImageDialogRecord() {
    return sharedSaveRecord();
}

void ResetSaveImageDialog() {
    sharedSaveRecord() = OPENFILENAME{};
}

String ShowSaveImageDialog() {
    OPENFILENAME& record = sharedSaveRecord();
    record.lStructSize = 76;
    record.hwndOwner = 0;
    record.lpstrFilter = String(L"Bitmap Files (*.bmp)") + L'\0' + L"*.bmp" + L'\0' +
                         L"All Files (*.*)" + L'\0' + L"*.*" + L'\0' + L'\0';
    record.lpstrFile = String(2047, L' ') + L'\0';
    record.nMaxFile = 2048;
    record.lpstrFileTitle = String(2048, L' ');
    record.nMaxFileTitle = 2048;
    record.lpstrInitialDir = ComponentFolder() + L"\\";
    record.lpstrTitle = L"Save As";
    record.Flags = 0x280406;
    record.lpstrDefExt = L"bmp";
    if (PlotaraOcxAPI().GetSaveFileNameA(record) == 0) return SaveDialogCancelled();
    return text::trim(StringView(record.lpstrFile).substr(0, record.lpstrFile.find(L'\0')));
}

String ComponentFolder() {
    Dl_info info{};
    std::string file;
    if (::dladdr(reinterpret_cast<void*>(&ComponentFolder), &info) != 0 &&
        info.dli_fname != nullptr)
        file = info.dli_fname;
    char resolved[PATH_MAX];
    if (file.find('/') == std::string::npos) {
        const ssize_t n = ::readlink("/proc/self/exe", resolved, sizeof resolved - 1);
        file = n > 0 ? std::string(resolved, static_cast<std::size_t>(n)) : std::string();
    } else if (::realpath(file.c_str(), resolved) != nullptr) {
        file = resolved;
    }
    const std::size_t slash = file.rfind('/');
    return slash == std::string::npos ? String() : fromUtf8(file.substr(0, slash));
}

bool NormalFileExists(const String& path) {
    struct stat info {};
    if (path.empty() || ::stat(toPath(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    const std::size_t slash = path.find_last_of(L"/\\");
    const StringView name = StringView(path).substr(slash == String::npos ? 0 : slash + 1);
    return name.empty() || name.front() != L'.';
}

Error objectVariableNotSet() {
    return Error(91, L"Object variable or With block variable not set");
}

} // namespace plotara
