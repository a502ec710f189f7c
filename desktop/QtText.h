// Text between the component's wide strings and Qt's QString.
#pragma once

#include "core/String.h"

#include <QString>

namespace plotara::qt {

// Cannot fail.
inline QString toQString(const String& text) {
    return QString::fromStdWString(text);
}

// Cannot fail.
inline String fromQString(const QString& text) {
    return text.toStdWString();
}

} // namespace plotara::qt
