// A recordset that late-bound callers can reach too: the shape in which a recordset travels
// through Dispatch (for example as the first argument of PlotaraData's database imports).
#pragma once

#include "core/Dispatch.h"
#include "platform/Recordset.h"

namespace plotara {

// Exposes the Recordset members by name: MoveFirst and MoveNext (methods), EOF and BOF
// (read-only properties) and Field(name) (a method returning the value). Implementations derive
// from this instead of from Recordset alone.
class RecordsetObject : public Dispatch, public Recordset {
public:
    // Error 438 for an unknown name.
    Long idOfName(const String& name) const override;
    // Error 438 for an unknown id, 449/450 for argument counts; the recordset's own errors pass
    // through unchanged.
    Variant invoke(Long dispId, InvokeKind kind, std::vector<Variant>& args) override;
};

} // namespace plotara
