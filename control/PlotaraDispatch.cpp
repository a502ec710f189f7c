// The control's dispatch interface: every property and method by name and dispatch id, so a
// script host or the property page can drive the control late-bound.
#include "control/Plotara.h"
#include "core/DispatchTable.h"
#include "core/SafeArray.h"

namespace plotara {

namespace {

using Args = DispatchArgs;
using Self = Plotara;

DispatchParam required(String name) {
    return DispatchParam{std::move(name), false, Variant::missing()};
}
DispatchParam optional(String name, Variant defaultValue) {
    return DispatchParam{std::move(name), true, std::move(defaultValue)};
}

// A data object assigned by reference: a PlotaraData or nothing; any other object is Error 13.
std::shared_ptr<PlotaraData> dataObject(const Variant& value) {
    const std::shared_ptr<Dispatch>& object = value.asObject();
    if (!object) return nullptr;
    auto data = std::dynamic_pointer_cast<PlotaraData>(object);
    if (!data) raise(errors::typeMismatch());
    return data;
}

// A list of names as an array of Strings with lower bound 0; no names give an array with no
// elements.
Variant stringArray(const std::vector<String>& names) {
    std::vector<Variant> items(names.begin(), names.end());
    return Variant(SafeArray::of(std::move(items), 0));
}

DispatchTable<Plotara> makeTable() {
    DispatchTable<Plotara> t;
    t.property(
        L"Data", 0x40030016,
        [](Self& s) { return Variant(std::static_pointer_cast<Dispatch>(s.get_Data())); },
        [](Self& s, const Variant& v) { s.putref_Data(dataObject(v)); });
    t.property(
        L"Enabled", 0x6803000C, [](Self& s) { return Variant(s.get_Enabled()); },
        [](Self& s, const Variant& v) { s.put_Enabled(v.asBool()); });
    t.property(L"hWnd", 0x6803000B, [](Self& s) { return Variant(s.get_hWnd()); });
    t.property(
        L"Border", 0x6803000A, [](Self& s) { return Variant(static_cast<Long>(s.get_Border())); },
        [](Self& s, const Variant& v) { s.put_Border(static_cast<enumBorderStyle>(v.asLong())); });
    t.property(
        L"BGColor", 0x68030009, [](Self& s) { return Variant(s.get_BGColor()); },
        [](Self& s, const Variant& v) { s.put_BGColor(toText(v)); });
    t.property(
        L"Menu", 0x68030008, [](Self& s) { return Variant(s.get_Menu()); },
        [](Self& s, const Variant& v) { s.put_Menu(v.asBool()); });
    t.property(
        L"ChartType", 0x68030007,
        [](Self& s) { return Variant(static_cast<Long>(s.get_ChartType())); },
        [](Self& s, const Variant& v) {
            s.put_ChartType(static_cast<enumChartNames>(v.asLong()));
        });
    t.property(L"ChartHeight", 0x68030005, nullptr, [](Self& s, const Variant& v) {
        s.put_ChartHeight(static_cast<Single>(v.asDouble()));
    });
    t.property(
        L"ChartPath", 0x68030003, [](Self& s) { return Variant(s.get_ChartPath()); },
        [](Self& s, const Variant& v) { s.put_ChartPath(toText(v)); });
    t.property(
        L"setDataXML", 0x68030002, [](Self& s) { return Variant(s.get_setDataXML()); },
        [](Self& s, const Variant& v) { s.put_setDataXML(toText(v)); });
    t.property(
        L"setDataURL", 0x68030001, [](Self& s) { return Variant(s.get_setDataURL()); },
        [](Self& s, const Variant& v) { s.put_setDataURL(toText(v)); });
    t.property(
        L"Debugger", 0x68030000, [](Self& s) { return Variant(s.get_Debugger()); },
        [](Self& s, const Variant& v) { s.put_Debugger(v.asBool()); });

    t.method(L"Refresh", 0x6003000D, {}, [](Self& s, Args&) {
        s.Refresh();
        return Variant();
    });
    // Both arguments are by reference and left unchanged.
    t.method(L"SetChartMessage", 0x60030024, {required(L"msgType"), required(L"message")},
             [](Self& s, Args& a) {
                 s.SetChartMessage(static_cast<enumChartMessageType>(a[0].asLong()), a.text(1));
                 return Variant();
             });
    t.method(L"RenderChart", 0x6003002A, {}, [](Self& s, Args&) {
        s.RenderChart();
        return Variant();
    });
    t.method(L"PrintChart", 0x6003002B, {}, [](Self& s, Args&) {
        s.PrintChart();
        return Variant();
    });
    t.method(L"SaveAsImage", 0x6003002D, {optional(L"showConfirmation", Variant(true))},
             [](Self& s, Args& a) { return Variant(s.SaveAsImage(a[0].asBool())); });
    t.method(L"GetPicture", 0x6003002E, {}, [](Self& s, Args&) {
        return Variant(std::static_pointer_cast<Dispatch>(s.GetPicture()));
    });
    t.method(L"Version", 0x60030033, {}, [](Self& s, Args&) { return Variant(s.Version()); });
    t.method(L"SetChartType", 0x60030034, {required(L"sChartType")}, [](Self& s, Args& a) {
        s.SetChartType(a.text(0));
        return Variant();
    });
    t.method(L"GetChartArray", 0x60030035, {optional(L"eChartType", Variant(Long{0}))},
             [](Self& s, Args& a) {
                 return stringArray(s.GetChartArray(static_cast<enumChartGroup>(a[0].asLong())));
             });
    return t;
}

const DispatchTable<Plotara>& table() {
    static const DispatchTable<Plotara> instance = makeTable();
    return instance;
}

} // namespace

Long Plotara::idOfName(const String& name) const {
    return table().idOfName(name);
}

Variant Plotara::invoke(Long dispId, InvokeKind kind, std::vector<Variant>& args) {
    return table().invoke(*this, dispId, kind, args);
}

} // namespace plotara
