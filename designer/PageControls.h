// The controls a property page is made of, as plain state the page's host lays out and drives:
// labels, text boxes with their change and focus behaviour, and buttons. Positions and sizes are
// in twips.
#pragma once

#include "core/String.h"

#include <functional>

namespace plotara {

struct ControlLayout {
    Long left = 0, top = 0, width = 0, height = 0;
    Long tabIndex = 0;
};

struct Label {
    String name;
    String caption;
    ControlLayout layout;
};

struct CommandButton {
    String name;
    String caption;
    ControlLayout layout;
};

struct TextBox {
    String name;
    ControlLayout layout;
    String text;
    Long selStart = 0;
    Long selLength = 0;
    // The Change event, raised when the text takes a different value.
    std::function<void()> onChange;

    // Sets the text; raises Change when it differs from the text before. Errors of the Change
    // handler reach the caller.
    void setText(const String& value) {
        if (value == text) return;
        text = value;
        if (onChange) onChange();
    }
    // Selects the whole text, as the page does when the box receives the focus. Cannot fail.
    void selectAll() {
        selStart = 0;
        selLength = static_cast<Long>(text.size());
    }
};

} // namespace plotara
