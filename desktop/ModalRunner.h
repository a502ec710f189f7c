// How the desktop platform runs its modal dialogs (message boxes, file dialogs, the folder
// browser). By default a dialog runs its own modal loop; a test or an automated host installs a
// runner that inspects and answers the dialog without one.
#pragma once

#include <QDialog>

#include <functional>

namespace plotara::qt {

// Returns what QDialog::exec would: QDialog::Accepted or Rejected for a dialog, the button
// pressed (QMessageBox::StandardButton) for a message box.
using ModalRunner = std::function<int(QDialog&)>;

// Runs the dialog through the runner, or through its own modal loop when the runner is empty.
// Errors of the runner reach the caller.
inline int runModal(const ModalRunner& runner, QDialog& dialog) {
    return runner ? runner(dialog) : dialog.exec();
}

} // namespace plotara::qt
