// The database imports of the data object.
#include "data/PlotaraData.h"

#include "core/Error.h"

namespace plotara {
namespace {

[[noreturn]] void importsUnavailable() {
    raise(errors::component(2, L"Database imports are not available in this build of Plotara yet; "
                               L"fill the chart with addCategory, addDataset and addChartData"));
}

} // namespace

void PlotaraData::addDataFromDatabase(Recordset&, const String&, const String&, const String&) {
    importsUnavailable();
}

void PlotaraData::addCategoryFromDatabase(Recordset&, const String&) {
    importsUnavailable();
}

void PlotaraData::addDatasetsFromDatabase(Recordset&, const String&, const String&,
                                          const Variant&) {
    importsUnavailable();
}

} // namespace plotara
