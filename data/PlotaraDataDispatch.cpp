// The dispatch interface of the data object: every public member by name and dispatch id.
#include "core/DispatchTable.h"
#include "data/PlotaraData.h"
#include "platform/Recordset.h"

namespace plotara {
namespace {

using Args = DispatchArgs;
using Self = PlotaraData;

DispatchParam required(String name) {
    return DispatchParam{std::move(name), false, Variant::missing()};
}
DispatchParam optional(String name, Variant defaultValue = Variant(L"")) {
    return DispatchParam{std::move(name), true, std::move(defaultValue)};
}

// A recordset arrives as an object that implements both Dispatch and Recordset.
Recordset& recordsetArg(const Args& args, std::size_t i) {
    auto* recordset = dynamic_cast<Recordset*>(args[i].asObject().get());
    if (recordset == nullptr) raise(errors::typeMismatch());
    return *recordset;
}

// The methods that set parameters and add categories, series, values, styles and lines.
void addBuilderMethods(DispatchTable<PlotaraData>& t) {
    t.method(L"setChartParam", 0x60030006, {required(L"paramName"), required(L"paramValue")},
             [](Self& s, Args& a) {
                 s.setChartParam(a.text(0), a.text(1));
                 return Variant();
             });
    t.method(L"setChartParams", 0x60030007, {required(L"strParams")}, [](Self& s, Args& a) {
        s.setChartParams(a.text(0));
        return Variant();
    });
    t.method(L"setCategoriesParams", 0x60030008, {required(L"catParams")}, [](Self& s, Args& a) {
        s.setCategoriesParams(a.text(0));
        return Variant();
    });
    t.method(L"getXML", 0x60030009, {}, [](Self& s, Args&) { return Variant(s.getXML()); });
    t.method(L"setParamDelimiter", 0x6003000b, {required(L"strDelm")}, [](Self& s, Args& a) {
        s.setParamDelimiter(a.text(0));
        return Variant();
    });
    t.method(L"addCategory", 0x6003000c,
             {required(L"label"), optional(L"catParams"), optional(L"vlineParams")},
             [](Self& s, Args& a) {
                 s.addCategory(a.text(0), a.text(1), a.text(2));
                 return Variant();
             });
    t.method(L"addDataset", 0x6003000d, {required(L"seriesName"), optional(L"datasetParams")},
             [](Self& s, Args& a) {
                 s.addDataset(a.text(0), a.text(1));
                 return Variant();
             });
    t.method(L"addChartData", 0x6003000e,
             {required(L"value"), optional(L"params"), optional(L"vlineParams")},
             [](Self& s, Args& a) {
                 s.addChartData(a.text(0), a.text(1), a.text(2));
                 return Variant();
             });
    t.method(L"applyStyle", 0x6003000f, {required(L"toObject"), required(L"styles")},
             [](Self& s, Args& a) {
                 s.applyStyle(a.text(0), a.text(1));
                 return Variant();
             });
    t.method(L"defineStyle", 0x60030010,
             {required(L"styleName"), required(L"styleType"), required(L"styleParams")},
             [](Self& s, Args& a) {
                 s.defineStyle(a.text(0), a.text(1), a.text(2));
                 return Variant();
             });
    t.method(L"addVLine", 0x60030011, {required(L"strParam")}, [](Self& s, Args& a) {
        s.addVLine(a.text(0));
        return Variant();
    });
    t.method(L"addTrendLine", 0x60030012, {required(L"tlineParams")}, [](Self& s, Args& a) {
        s.addTrendLine(a.text(0));
        return Variant();
    });
}

// The methods that take arrays and query results, and the multi-series and colour methods.
void addDataMethods(DispatchTable<PlotaraData>& t) {
    t.method(L"addChartDataFromArray", 0x60030013,
             {required(L"dataArray"), optional(L"dataCatArray", Variant::missing())},
             [](Self& s, Args& a) {
                 s.addChartDataFromArray(a[0], a[1]);
                 return Variant();
             });
    t.method(L"addCategoryFromArray", 0x60030014, {required(L"categoryArray")},
             [](Self& s, Args& a) {
                 s.addCategoryFromArray(a[0]);
                 return Variant();
             });
    t.method(L"addDataFromDatabase", 0x60030015,
             {required(L"query_result"), required(L"db_field_ChartData"),
              optional(L"db_field_CategoryNames"), optional(L"strParam")},
             [](Self& s, Args& a) {
                 s.addDataFromDatabase(recordsetArg(a, 0), a.text(1), a.text(2), a.text(3));
                 return Variant();
             });
    t.method(L"addMSLineset", 0x60030016, {required(L"seriesName"), optional(L"linesetParams")},
             [](Self& s, Args& a) {
                 s.addMSLineset(a.text(0), a.text(1));
                 return Variant();
             });
    t.method(L"addVTrendLine", 0x60030017, {required(L"vtlineParams")}, [](Self& s, Args& a) {
        s.addVTrendLine(a.text(0));
        return Variant();
    });
    t.method(L"createMSStDataset", 0x60030018, {}, [](Self& s, Args&) {
        s.createMSStDataset();
        return Variant();
    });
    t.method(L"addMSStSubDataset", 0x60030019,
             {required(L"seriesName"), optional(L"datasetParams")}, [](Self& s, Args& a) {
                 s.addMSStSubDataset(a.text(0), a.text(1));
                 return Variant();
             });
    t.method(L"addMSLinesetData", 0x6003001a, {required(L"value"), optional(L"params")},
             [](Self& s, Args& a) {
                 s.addMSLinesetData(a.text(0), a.text(1));
                 return Variant();
             });
    t.method(L"addCategoryFromDatabase", 0x6003001b,
             {required(L"query_result"), required(L"categoryColumn")}, [](Self& s, Args& a) {
                 s.addCategoryFromDatabase(recordsetArg(a, 0), a.text(1));
                 return Variant();
             });
    t.method(L"addDatasetsFromDatabase", 0x6003001c,
             {required(L"query_result"), required(L"ctrlField"), required(L"setField"),
              optional(L"datasetParamArray")},
             [](Self& s, Args& a) {
                 s.addDatasetsFromDatabase(recordsetArg(a, 0), a.text(1), a.text(2), a[3]);
                 return Variant();
             });
    t.method(L"setGridParams", 0x6003001d, {required(L"gridParams")}, [](Self& s, Args& a) {
        s.setGridParams(a.text(0));
        return Variant();
    });
    t.method(L"addColors", 0x6003001e, {required(L"colorList")}, [](Self& s, Args& a) {
        s.addColors(a.text(0));
        return Variant();
    });
    t.method(L"clearUserColor", 0x60030024, {}, [](Self& s, Args&) {
        s.clearUserColor();
        return Variant();
    });
}

DispatchTable<PlotaraData> makeTable() {
    DispatchTable<PlotaraData> t;
    addBuilderMethods(t);
    addDataMethods(t);
    return t;
}

const DispatchTable<PlotaraData>& table() {
    static const DispatchTable<PlotaraData> instance = makeTable();
    return instance;
}

} // namespace

Long PlotaraData::idOfName(const String& name) const {
    return table().idOfName(name);
}

Variant PlotaraData::invoke(Long dispId, InvokeKind kind, std::vector<Variant>& args) {
    return table().invoke(*this, dispId, kind, args);
}

} // namespace plotara
