// Late binding: an object whose members are reached by name or dispatch id.
#pragma once

#include "core/Variant.h"

#include <vector>

namespace plotara {

enum class InvokeKind { Method, PropertyGet, PropertyPut, PropertyPutRef };

class Dispatch {
public:
    virtual ~Dispatch() = default;
    // Error 438 when no member has the name; names match case-insensitively.
    virtual Long idOfName(const String& name) const = 0;
    // Arguments in declaration order (the value of a property put last). Error 438 for an unknown
    // id or a kind the member does not support, 449 for a missing required argument, 450 for too
    // many arguments; errors raised by the member itself pass through unchanged.
    virtual Variant invoke(Long dispId, InvokeKind kind, std::vector<Variant>& args) = 0;
};

// idOfName then invoke; the errors of both reach the caller.
Variant callByName(Dispatch& object, const String& name, InvokeKind kind,
                   std::vector<Variant> args = {});

} // namespace plotara
