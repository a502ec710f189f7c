// The control's message boxes as QMessageBox: the button set, icon, default button and caption
// packed into one number the way the control passes them, and the button pressed as the number
// the control expects back.
#pragma once

#include "core/String.h"
#include "desktop/ModalRunner.h"

#include <QMessageBox>

namespace plotara::qt {

// Builds the box without showing it: buttons in the low four bits (0 OK, 1 OK/Cancel,
// 2 Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel; anything else OK), icon in
// the next four (16 critical, 32 question, 48 exclamation, 64 information), default button in
// 0x100 (second) and 0x200 (third); an empty caption becomes the application's name. Cannot fail.
void configureMessageBox(QMessageBox& box, const String& text, Long buttonsAndIcon,
                         const String& caption);

// The control's number for a QMessageBox button (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore,
// 6 Yes, 7 No); a box closed without a button counts as its escape button. Cannot fail.
Long buttonNumber(int standardButton, Long buttonsAndIcon);

// Shows the box modally through the runner and returns the button pressed. Errors of the runner
// reach the caller.
Long showMessageBox(QWidget* parent, const String& text, Long buttonsAndIcon, const String& caption,
                    const ModalRunner& runner);

} // namespace plotara::qt
