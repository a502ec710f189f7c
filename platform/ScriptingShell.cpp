#include "platform/ScriptingShell.h"

#include "core/DispatchTable.h"
#include "platform/Registry.h"

namespace plotara {

namespace {

const DispatchTable<ScriptingShell>& table() {
    static const DispatchTable<ScriptingShell> instance = [] {
        DispatchTable<ScriptingShell> t;
        t.method(L"RegRead", 0x7D0, {DispatchParam{L"Name", false, Variant::missing()}},
                 [](ScriptingShell& s, DispatchArgs& a) { return Variant(s.RegRead(a.text(0))); });
        return t;
    }();
    return instance;
}

} // namespace

String ScriptingShell::RegRead(const String& path) {
    return registry::regRead(path);
}

Long ScriptingShell::idOfName(const String& name) const {
    return table().idOfName(name);
}

Variant ScriptingShell::invoke(Long dispId, InvokeKind kind, std::vector<Variant>& args) {
    return table().invoke(*this, dispId, kind, args);
}

std::shared_ptr<Dispatch> createObject(const String& progId) {
    if (text::equalsIgnoreCase(progId, L"WScript.Shell")) return std::make_shared<ScriptingShell>();
    raise(Error(429, L"ActiveX component can't create object"));
}

} // namespace plotara
