#include "designer/xmlOpenDialog.h"

#include "core/ErrorTrap.h"
#include "core/FilePath.h"
#include "designer/PageDialogs.h"
#include "platform/FileAttributes.h"

namespace plotara {

namespace {

String readText(Dispatch& control, const wchar_t* name) {
    return toText(callByName(control, name, InvokeKind::PropertyGet));
}

} // namespace

const String& xmlOpenDialog::caption() {
    static const String text = L"Paths";
    return text;
}

xmlOpenDialog::xmlOpenDialog(Long hWnd)
    : Label1{L"Label1", L"Chart's Path:", {120, 120, 2700, 240, 4}},
      txtChartPath{L"txtChartPath", {120, 375, 2700, 330, 0}, {}, 0, 0, {}},
      cmdDirChooser{L"cmdDirChooser", L"Browse...", {2910, 360, 1335, 375, 1}},
      lblChartExternalDataPath{
          L"lblChartExternalDataPath", L"Chart's XML file path:", {120, 840, 2700, 240, 5}},
      txtChartExternalDataPath{
          L"txtChartExternalDataPath", {120, 1095, 2700, 330, 2}, {}, 0, 0, {}},
      cmdXMLOpen{L"cmdXMLOpen", L"Browse...", {2910, 1080, 1335, 375, 3}}, hWnd_(hWnd) {
    txtChartPath.onChange = [this] { txtChartPath_Change(); };
    txtChartExternalDataPath.onChange = [this] { txtChartExternalDataPath_Change(); };
}

Dispatch& xmlOpenDialog::firstSelected() const {
    if (selected_.empty() || !selected_.front()) raise(errors::subscriptOutOfRange());
    return *selected_.front();
}

void xmlOpenDialog::SelectionChanged() {
    Dispatch& control = firstSelected();
    txtChartPath.setText(readText(control, L"ChartPath"));
    txtChartExternalDataPath.setText(readText(control, L"setDataURL"));
}

void xmlOpenDialog::ApplyChanges() {
    Dispatch& control = firstSelected();
    const bool pathDiffers = txtChartPath.text != readText(control, L"ChartPath");
    const bool urlDiffers = txtChartExternalDataPath.text != readText(control, L"setDataURL");
    if (pathDiffers || urlDiffers) {
        callByName(control, L"ChartPath", InvokeKind::PropertyPut, {Variant(txtChartPath.text)});
        callByName(control, L"setDataURL", InvokeKind::PropertyPut,
                   {Variant(txtChartExternalDataPath.text)});
    } else {
        changed_ = false;
    }
}

void xmlOpenDialog::cmdDirChooser_Click() {
    String chosen;
    ErrorTrap::resume([&] {
        chosen = BrowseForFolderPath(hWnd_, L"Select the chart folder", txtChartPath.text);
    });
    ErrorTrap::resume([&] {
        if (!chosen.empty()) txtChartPath.setText(chosen);
    });
}

void xmlOpenDialog::cmdXMLOpen_Click() {
    String start;
    ErrorTrap::resume([&] { start = readText(firstSelected(), L"setDataURL"); });
    // A plain folder (attributes exactly "directory") is used whole; anything else is cut to the
    // part up to and including its last backslash.
    bool plainFolder = false;
    ErrorTrap::resume([&] { plainFolder = fileAttributes(toPath(start)) == attrDirectory; });
    if (!plainFolder) {
        const std::size_t last = start.rfind(L'\\');
        start = last == String::npos ? String() : start.substr(0, last + 1);
    }
    String chosen;
    ErrorTrap::resume([&] { chosen = ShowOpenXMLDialog(start, L"Select the XML file", hWnd_); });
    ErrorTrap::resume([&] {
        if (!chosen.empty()) txtChartExternalDataPath.setText(chosen);
    });
}

} // namespace plotara
