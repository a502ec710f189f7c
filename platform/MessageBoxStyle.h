// The style number the control passes with a message box, taken apart the same way by every
// container: the button set in the low four bits, the icon in the next four, the default button
// in 0x100 (second) and 0x200 (third); and the numbers by which the control reads the answer.
#pragma once

#include "core/String.h"

#include <vector>

namespace plotara::message_box {

// The control's number for each button.
enum Answer : Long { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// The icon bits of the style.
enum Icon : Long { NoIcon = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };

struct Style {
    Long buttonSet = 0;          // the low four bits as given (0 OK, 1 OK/Cancel, 4 Yes/No ...)
    Long iconBits = 0;           // the next four bits as given
    Icon icon = NoIcon;          // the icon they name; NoIcon for any value but the four above
    std::vector<Answer> buttons; // the buttons shown, in order; OK alone for an unknown set
    Answer defaultButton = Ok;   // the button chosen by 0x100 or 0x200, else the first
    Answer escape = Ok;          // what Escape and closing the box answer
};

// The style of a box. Cannot fail.
Style decode(Long buttonsAndIcon);

} // namespace plotara::message_box
