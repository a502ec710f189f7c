// The control's property page "Paths": the chart folder and the XML data file of the first
// selected control, each with a Browse button. The page reaches the control only by member name
// (ChartPath, setDataURL) through Dispatch, so the control's own writers do the rest. Headless:
// the page's host creates it, hands it the selected controls and raises its events.
#pragma once

#include "core/Dispatch.h"
#include "designer/PageControls.h"

#include <memory>
#include <vector>

namespace plotara {

class xmlOpenDialog {
public:
    // The page in its window (the owner of its dialogs).
    explicit xmlOpenDialog(Long hWnd = 0);
    xmlOpenDialog(const xmlOpenDialog&) = delete;
    xmlOpenDialog& operator=(const xmlOpenDialog&) = delete;

    // --- the page and its controls -----------------------------------------------------------
    static constexpr Long pageWidth = 5925, pageHeight = 1815; // twips
    // The tab caption "Paths".
    static const String& caption();
    Long hWnd() const noexcept { return hWnd_; }
    Label Label1;
    TextBox txtChartPath;
    CommandButton cmdDirChooser;
    Label lblChartExternalDataPath;
    TextBox txtChartExternalDataPath;
    CommandButton cmdXMLOpen;

    // --- the property-page framework ----------------------------------------------------------
    void setSelectedControls(std::vector<std::shared_ptr<Dispatch>> controls) {
        selected_ = std::move(controls);
    }
    const std::vector<std::shared_ptr<Dispatch>>& SelectedControls() const noexcept {
        return selected_;
    }
    bool get_Changed() const noexcept { return changed_; }
    void put_Changed(bool value) noexcept { changed_ = value; }

    // --- events -------------------------------------------------------------------------------
    // Shows the first selected control's ChartPath and setDataURL. Error 9 without a selected
    // control; errors of the control reach the caller.
    void SelectionChanged();
    // Writes both paths to the first selected control when either differs, else clears Changed.
    // Error 9 without a selected control; errors of the control reach the caller.
    void ApplyChanges();
    // Mark the page changed. Cannot fail.
    void txtChartPath_Change() { changed_ = true; }
    void txtChartExternalDataPath_Change() { changed_ = true; }
    // Select the whole text of the box. Cannot fail.
    void txtChartPath_GotFocus() { txtChartPath.selectAll(); }
    void txtChartExternalDataPath_GotFocus() { txtChartExternalDataPath.selectAll(); }
    // The Browse buttons. Never fail: each failing step is skipped and the next one runs.
    void cmdDirChooser_Click();
    void cmdXMLOpen_Click();
    // Page click, EditProperty and initialisation do nothing.
    void PropertyPage_Click() {}
    void PropertyPage_EditProperty(const String&) {}
    void PropertyPage_Initialize() {}

private:
    Dispatch& firstSelected() const;

    Long hWnd_;
    bool changed_ = false;
    std::vector<std::shared_ptr<Dispatch>> selected_;
};

} // namespace plotara
