// Objects a component creates late-bound by programmatic identifier, as a script would with
// CreateObject. The platform offers one: the scripting shell "WScript.Shell", whose RegRead reads
// the machine-wide registry (platform/Registry.h).
#pragma once

#include "core/Dispatch.h"

#include <memory>

namespace plotara {

// The scripting shell: member RegRead(path) only.
class ScriptingShell final : public Dispatch {
public:
    // The registry value named by path; the errors of registry::regRead.
    String RegRead(const String& path);

    // Error 438 for any name but "RegRead".
    Long idOfName(const String& name) const override;
    // Error 438 for an unknown id or kind, 449 without the path, 450 for more arguments.
    Variant invoke(Long dispId, InvokeKind kind, std::vector<Variant>& args) override;
};

// A new object of the class the identifier names (case-insensitively). Error 429 "ActiveX
// component can't create object" for an identifier the platform does not know.
std::shared_ptr<Dispatch> createObject(const String& progId);

} // namespace plotara
