#include "platform/MessageBoxStyle.h"

namespace plotara::message_box {

namespace {

// The buttons of a set and the one Escape stands for.
struct ButtonSet {
    std::vector<Answer> buttons;
    Answer escape;
};

ButtonSet buttonSet(Long set) {
    switch (set) {
    case 1:
        return {{Ok, Cancel}, Cancel};
    case 2:
        return {{Abort, Retry, Ignore}, Abort};
    case 3:
        return {{Yes, No, Cancel}, Cancel};
    case 4:
        return {{Yes, No}, No};
    case 5:
        return {{Retry, Cancel}, Cancel};
    default:
        return {{Ok}, Ok};
    }
}

Icon iconOf(Long bits) {
    switch (bits) {
    case Critical:
    case Question:
    case Exclamation:
    case Information:
        return static_cast<Icon>(bits);
    default:
        return NoIcon;
    }
}

} // namespace

Style decode(Long buttonsAndIcon) {
    Style style;
    style.buttonSet = buttonsAndIcon & 0xF;
    style.iconBits = buttonsAndIcon & 0xF0;
    style.icon = iconOf(style.iconBits);
    ButtonSet set = buttonSet(style.buttonSet);
    const std::size_t preferred = (buttonsAndIcon & 0x200) ? 2 : (buttonsAndIcon & 0x100) ? 1 : 0;
    style.defaultButton = set.buttons[preferred < set.buttons.size() ? preferred : 0];
    style.escape = set.escape;
    style.buttons = std::move(set.buttons);
    return style;
}

} // namespace plotara::message_box
