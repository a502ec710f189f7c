#include "core/Dispatch.h"

namespace plotara {

Variant callByName(Dispatch& object, const String& name, InvokeKind kind,
                   std::vector<Variant> args) {
    const Long dispId = object.idOfName(name);
    return object.invoke(dispId, kind, args);
}

} // namespace plotara
