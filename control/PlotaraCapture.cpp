// Capturing the chart's window into a picture, and saving it as a bitmap file.
#include "control/Plotara.h"

#include "control/PlotaraOcxModule.h"
#include "core/ErrorTrap.h"
#include "core/FilePath.h"
#include "core/Number.h"
#include "core/Text.h"

#include <optional>

namespace plotara {

namespace {
constexpr Integer pixelUnit = 3;
constexpr Long iconInformation = 64, iconCritical = 16;
} // namespace

bool Plotara::CaptureControlImage() {
    std::optional<Integer> unit;
    bool captured = false;
    const auto error = ErrorTrap::capture([&] {
        picture_ = std::make_shared<Picture>();
        unit = container_.scaleMode();
        container_.setScaleMode(pixelUnit);
        const Long window = container_.hWnd();
        const Long width = number::toLong(static_cast<Single>(movieHost_->get_Width()));
        const Long height = number::toLong(static_cast<Single>(movieHost_->get_Height()));
        picture_ = CopyWindowToPicture(window, true, 0, 0, width, height);
        container_.setScaleMode(*unit);
        unit.reset();
        if (!picture_) raise(objectVariableNotSet());
        captured = picture_->handle() != 0;
    });
    if (!error) return captured;
    // The coordinate unit goes back even when the capture failed half-way.
    if (unit) ErrorTrap::resume([&] { container_.setScaleMode(*unit); });
    container_.messageBox(L"Error Number: " + text::decimal(error->number()) + L"\n" +
                              L"Description: " + error->description(),
                          0);
    return false;
}

bool Plotara::SaveAsImage(bool showConfirmation) {
    bool result = false;
    ErrorTrap::capture([&] {
        CaptureControlImage();
        const String path = ShowSaveImageDialog();
        if (path == SaveDialogCancelled()) return;
        if (!picture_) raise(objectVariableNotSet());
        picture_->saveAsBmp(toPath(path));
        const bool success = NormalFileExists(path);
        if (showConfirmation) {
            if (success)
                container_.messageBox(L"Plotara image is saved." + String(1, L'\n') +
                                          L"Filename: " + path,
                                      iconInformation, L"Plotara: Done");
            else
                container_.messageBox(L"Sorry! Image saving failed.", iconCritical,
                                      L"Plotara: Error");
        }
        result = success;
    });
    return result;
}

std::shared_ptr<Picture> Plotara::GetPicture() {
    CaptureControlImage();
    return picture_;
}

} // namespace plotara
