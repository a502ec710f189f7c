#include "desktop/MessageBoxes.h"

#include "desktop/QtText.h"
#include "platform/MessageBoxStyle.h"

#include <QCoreApplication>

namespace plotara::qt {

namespace {

using message_box::Answer;

struct ButtonOfAnswer {
    Answer answer;
    QMessageBox::StandardButton button;
};

constexpr ButtonOfAnswer buttons[] = {
    {message_box::Ok, QMessageBox::Ok},         {message_box::Cancel, QMessageBox::Cancel},
    {message_box::Abort, QMessageBox::Abort},   {message_box::Retry, QMessageBox::Retry},
    {message_box::Ignore, QMessageBox::Ignore}, {message_box::Yes, QMessageBox::Yes},
    {message_box::No, QMessageBox::No},
};

QMessageBox::StandardButton buttonOf(Answer answer) {
    for (const ButtonOfAnswer& b : buttons)
        if (b.answer == answer) return b.button;
    return QMessageBox::Ok;
}

QMessageBox::Icon iconOf(message_box::Icon icon) {
    switch (icon) {
    case message_box::Critical:
        return QMessageBox::Critical;
    case message_box::Question:
        return QMessageBox::Question;
    case message_box::Exclamation:
        return QMessageBox::Warning;
    case message_box::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

void configureMessageBox(QMessageBox& box, const String& text, Long buttonsAndIcon,
                         const String& caption) {
    const message_box::Style style = message_box::decode(buttonsAndIcon);
    box.setText(toQString(text));
    box.setIcon(iconOf(style.icon));
    box.setWindowTitle(caption.empty() ? QCoreApplication::applicationName() : toQString(caption));
    QMessageBox::StandardButtons set;
    for (const Answer answer : style.buttons)
        set |= buttonOf(answer);
    box.setStandardButtons(set);
    box.setDefaultButton(buttonOf(style.defaultButton));
    box.setEscapeButton(buttonOf(style.escape));
}

Long buttonNumber(int standardButton, Long buttonsAndIcon) {
    for (const ButtonOfAnswer& b : buttons)
        if (b.button == standardButton) return b.answer;
    return message_box::decode(buttonsAndIcon).escape;
}

Long showMessageBox(QWidget* parent, const String& text, Long buttonsAndIcon, const String& caption,
                    const ModalRunner& runner) {
    QMessageBox box(parent);
    configureMessageBox(box, text, buttonsAndIcon, caption);
    return buttonNumber(runModal(runner, box), buttonsAndIcon);
}

} // namespace plotara::qt
