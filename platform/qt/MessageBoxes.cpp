#include "platform/qt/MessageBoxes.h"

#include "platform/qt/QtText.h"

#include <QCoreApplication>
#include <QList>

namespace plotara::qt {

namespace {

QList<QMessageBox::StandardButton> buttonSet(Long buttonsAndIcon) {
    switch (buttonsAndIcon & 0xF) {
    case 1:
        return {QMessageBox::Ok, QMessageBox::Cancel};
    case 2:
        return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
    case 3:
        return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case 4:
        return {QMessageBox::Yes, QMessageBox::No};
    case 5:
        return {QMessageBox::Retry, QMessageBox::Cancel};
    default:
        return {QMessageBox::Ok};
    }
}

QMessageBox::Icon iconOf(Long buttonsAndIcon) {
    switch (buttonsAndIcon & 0xF0) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The button Escape and the window's close button stand for.
QMessageBox::StandardButton escapeButton(Long buttonsAndIcon) {
    switch (buttonsAndIcon & 0xF) {
    case 1:
    case 3:
    case 5:
        return QMessageBox::Cancel;
    case 2:
        return QMessageBox::Abort;
    case 4:
        return QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

} // namespace

void configureMessageBox(QMessageBox& box, const String& text, Long buttonsAndIcon,
                         const String& caption) {
    box.setText(toQString(text));
    box.setIcon(iconOf(buttonsAndIcon));
    box.setWindowTitle(caption.empty() ? QCoreApplication::applicationName() : toQString(caption));
    const QList<QMessageBox::StandardButton> buttons = buttonSet(buttonsAndIcon);
    QMessageBox::StandardButtons set;
    for (QMessageBox::StandardButton b : buttons)
        set |= b;
    box.setStandardButtons(set);
    const qsizetype preferred = (buttonsAndIcon & 0x200) ? 2 : (buttonsAndIcon & 0x100) ? 1 : 0;
    box.setDefaultButton(buttons.at(preferred < buttons.size() ? preferred : 0));
    box.setEscapeButton(escapeButton(buttonsAndIcon));
}

Long buttonNumber(int standardButton, Long buttonsAndIcon) {
    switch (standardButton) {
    case QMessageBox::Ok:
        return 1;
    case QMessageBox::Cancel:
        return 2;
    case QMessageBox::Abort:
        return 3;
    case QMessageBox::Retry:
        return 4;
    case QMessageBox::Ignore:
        return 5;
    case QMessageBox::Yes:
        return 6;
    case QMessageBox::No:
        return 7;
    default:
        return buttonNumber(escapeButton(buttonsAndIcon), buttonsAndIcon);
    }
}

Long showMessageBox(QWidget* parent, const String& text, Long buttonsAndIcon, const String& caption,
                    const ModalRunner& runner) {
    QMessageBox box(parent);
    configureMessageBox(box, text, buttonsAndIcon, caption);
    return buttonNumber(runModal(runner, box), buttonsAndIcon);
}

} // namespace plotara::qt
