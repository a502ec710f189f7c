// The property page "Paths" (xmlOpenDialog) as a Qt widget: its labels, text boxes and Browse
// buttons laid out from the page's control table (twips converted at the screen's dots per inch,
// tab order as the table gives it). Typing, focus and clicks reach the page's events; the
// page's texts come back into the boxes after each. The Browse buttons open their dialogs
// through the installed operating-system seam (desktop/QtOsApi on a desktop).
#pragma once

#include "designer/xmlOpenDialog.h"

#include <QWidget>

#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace plotara::qt {

class PathsPage : public QWidget {
    Q_OBJECT
public:
    // Cannot fail.
    explicit PathsPage(QWidget* parent = nullptr);
    ~PathsPage() override;

    // The page itself (its texts, Changed flag and events).
    xmlOpenDialog& page() noexcept { return *page_; }
    // Hands the page the selected controls and raises SelectionChanged. Error 9 for an empty
    // selection; the control's errors reach the caller (the boxes keep what they showed).
    void setSelectedControls(std::vector<std::shared_ptr<Dispatch>> controls);
    // ApplyChanges, then clears Changed as a property sheet does after applying. The page's and
    // the control's errors reach the caller with Changed left set.
    void applyChanges();
    bool changed() const noexcept { return page_->get_Changed(); }
    // Pixels of a length in twips on this widget's screen. Cannot fail.
    int pixels(Long twips) const;

signals:
    // The page's Changed flag took a new value.
    void changedChanged(bool changed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* addLabel(const Label& label);
    QLineEdit* addTextBox(TextBox& box);
    QPushButton* addButton(const CommandButton& button);
    void place(QWidget* widget, const ControlLayout& layout);
    // Shows the page's texts in the boxes and reports a change of the Changed flag.
    void afterPageCall();

    std::unique_ptr<xmlOpenDialog> page_;
    QLineEdit* chartPath_ = nullptr;
    QLineEdit* dataPath_ = nullptr;
    bool reportedChanged_ = false;
};

} // namespace plotara::qt
