// A small property sheet for the chart control: the "Paths" page on a tab, with OK, Cancel and
// Apply. Apply is enabled while the page's Changed flag is set; OK and Apply apply the page's
// changes (OK only when there are any) and clear the flag; Cancel leaves the control as it was.
#pragma once

#include "desktop/ModalRunner.h"
#include "desktop/designer/PathsPage.h"

#include <QDialog>
#include <QDialogButtonBox>

class QPushButton;

namespace plotara::qt {

class PropertySheet : public QDialog {
    Q_OBJECT
public:
    // The sheet for the selected controls (the first one is edited), titled "<name> Properties".
    // The controls must outlive the sheet. Error 9 without a control; the control's errors while
    // the page reads it reach the caller.
    PropertySheet(std::vector<std::shared_ptr<Dispatch>> selected, const QString& name,
                  QWidget* parent = nullptr);

    PathsPage& pathsPage() noexcept { return *page_; }
    // The OK, Cancel and Apply buttons. Cannot fail.
    QPushButton* button(QDialogButtonBox::StandardButton which) const;
    // Runs the message box that reports an error while applying (the default runs its loop).
    void setModalRunner(ModalRunner runner) { runner_ = std::move(runner); }

    // OK: applies when the page is changed, then closes; an error keeps the sheet open.
    void accept() override;

private:
    // Applies the page; false (after a message box with the error) when that failed.
    bool apply();

    PathsPage* page_;
    QDialogButtonBox* buttons_;
    ModalRunner runner_;
};

} // namespace plotara::qt
