#include "platform/OsApi.h"

namespace plotara {

namespace {

// Where no window system is reachable: every call fails as the system call would.
class UnavailableOsApi final : public OsApi {
public:
    Long GetDC(Long) override { return 0; }
    Long GetWindowDC(Long) override { return 0; }
    Long ReleaseDC(Long, Long) override { return 0; }
    Long CreateCompatibleDC(Long) override { return 0; }
    Long CreateCompatibleBitmap(Long, Long, Long) override { return 0; }
    Long SelectObject(Long, Long) override { return 0; }
    Long GetDeviceCaps(Long, Long) override { return 0; }
    Long GetSystemPaletteEntries(Long, Long, Long, PALETTEENTRY*) override { return 0; }
    Long CreatePalette(const LOGPALETTE&) override { return 0; }
    Long SelectPalette(Long, Long, Long) override { return 0; }
    Long RealizePalette(Long) override { return 0; }
    Long BitBlt(Long, Long, Long, Long, Long, Long, Long, Long, Long) override { return 0; }
    Long DeleteDC(Long) override { return 0; }
    // Picture objects need no window system: an empty bitmap picture can always be made; the
    // handles of anything else cannot exist here.
    Long OleCreatePictureIndirect(const PICTDESC& description, const String&, bool,
                                  std::optional<PictureBits>& picture) override {
        if (description.cbSizeofstruct != 20 || description.picType != 1 ||
            description.hbitmap != 0 || description.hpal != 0)
            return static_cast<Long>(0x80070057u); // E_INVALIDARG
        picture = PictureBits{};
        return 0;
    }
    Long GetSaveFileNameA(OPENFILENAME&) override { return 0; }
    Long GetOpenFileNameA(OPENFILENAME&) override { return 0; }
    Long SHBrowseForFolder(BROWSEINFO&) override { return 0; }
    bool SHGetPathFromIDList(Long, String&) override { return false; }
    void CoTaskMemFree(Long) override {}
    Long SendMessageA(Long, Long, Long, std::intptr_t) override { return 0; }
};

std::shared_ptr<OsApi>& installed() {
    static std::shared_ptr<OsApi> api;
    return api;
}

} // namespace

OsApi& osApi() {
    static UnavailableOsApi unavailable;
    const auto& api = installed();
    return api ? *api : unavailable;
}

std::shared_ptr<OsApi> installOsApi(std::shared_ptr<OsApi> api) {
    std::swap(installed(), api);
    return api;
}

} // namespace plotara
