#include "platform/ContainerUnits.h"

#include "core/Error.h"

namespace plotara::container_units {

namespace {

[[noreturn]] void invalidPropertyValue() {
    raise(Error(380, L"Invalid property value"));
}

} // namespace

Integer checkedFlag(Integer value) {
    if (value != 0 && value != 1) invalidPropertyValue();
    return value;
}

Integer checkedScaleMode(Integer value) {
    switch (value) {
    case 1:
    case 2:
    case 3:
    case 5:
    case 6:
    case 7:
        return value;
    default:
        invalidPropertyValue();
    }
}

Single checkedSize(Single value) {
    if (!(value >= 0)) invalidPropertyValue();
    return value;
}

double unitsPerPixel(Integer scaleMode, double dotsPerInch) {
    switch (scaleMode) {
    case 1:
        return twipsPerInch / dotsPerInch;
    case 2:
        return 72.0 / dotsPerInch;
    case 5:
        return 1.0 / dotsPerInch;
    case 6:
        return 25.4 / dotsPerInch;
    case 7:
        return 2.54 / dotsPerInch;
    default:
        return 1.0;
    }
}

} // namespace plotara::container_units
