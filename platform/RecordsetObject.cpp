#include "platform/RecordsetObject.h"

#include "core/DispatchTable.h"

namespace plotara {
namespace {

const DispatchTable<RecordsetObject>& table() {
    static const DispatchTable<RecordsetObject> instance = [] {
        DispatchTable<RecordsetObject> t;
        t.method(L"MoveFirst", 1, {}, [](RecordsetObject& r, DispatchArgs&) {
            r.MoveFirst();
            return Variant();
        });
        t.method(L"MoveNext", 2, {}, [](RecordsetObject& r, DispatchArgs&) {
            r.MoveNext();
            return Variant();
        });
        t.property(L"EOF", 3, [](RecordsetObject& r) { return Variant(r.eof()); });
        t.property(L"BOF", 4, [](RecordsetObject& r) { return Variant(r.bof()); });
        t.method(L"Field", 5, {DispatchParam{L"name", false, Variant::missing()}},
                 [](RecordsetObject& r, DispatchArgs& a) { return r.field(a.text(0)); });
        return t;
    }();
    return instance;
}

} // namespace

Long RecordsetObject::idOfName(const String& name) const {
    return table().idOfName(name);
}

Variant RecordsetObject::invoke(Long dispId, InvokeKind kind, std::vector<Variant>& args) {
    return table().invoke(*this, dispId, kind, args);
}

} // namespace plotara
