#include "platform/Recordset.h"

namespace plotara {

int Recordset::columnIndex(const String&) const {
    return -1;
}

void Recordset::fieldText(const String& name, int, String& out) {
    const Variant value = field(name);
    if (value.isNull())
        out.clear();
    else
        out = toText(value);
}

} // namespace plotara
