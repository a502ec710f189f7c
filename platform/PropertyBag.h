// The property bag a container hands the control to save its settings into and load them from.
#pragma once

#include "core/String.h"
#include "core/Variant.h"

namespace plotara {

class PropertyBag {
public:
    virtual ~PropertyBag() = default;
    // The stored value, or defaultValue when the name is absent. An implementation may raise an
    // Error when its storage cannot be read.
    virtual Variant ReadProperty(const String& name, const Variant& defaultValue) = 0;
    // Stores the value; a value equal to its default is not stored (an earlier value under the
    // name is dropped), so a later read yields the default again. An Error for a value the bag
    // cannot store (an object, an array).
    virtual void WriteProperty(const String& name, const Variant& value,
                               const Variant& defaultValue) = 0;
};

// Whether a value equals its default the way the bag compares them: numbers (Booleans included)
// by numeric value whatever their width, texts exactly, Empty and Null only with themselves.
// Objects and arrays never equal anything. Cannot fail.
bool sameBagValue(const Variant& value, const Variant& defaultValue);

} // namespace plotara
