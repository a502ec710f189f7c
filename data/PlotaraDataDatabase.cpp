// The database imports of the data object: each sets isDataAdded, then forwards to the engine.
#include "data/PlotaraData.h"

#include "data/ArrayClass.h"

namespace plotara {

void PlotaraData::addDataFromDatabase(Recordset& query_result, const String& db_field_ChartData,
                                      const String& db_field_CategoryNames,
                                      const String& strParam) {
    isDataAdded_ = true;
    engine_->addChartDataFromDatabase(query_result, db_field_ChartData, db_field_CategoryNames,
                                      strParam);
}

void PlotaraData::addCategoryFromDatabase(Recordset& query_result, const String& categoryColumn) {
    isDataAdded_ = true;
    engine_->addCategoryFromDatabase(query_result, categoryColumn);
}

void PlotaraData::addDatasetsFromDatabase(Recordset& query_result, const String& ctrlField,
                                          const String& setField,
                                          const Variant& datasetParamArray) {
    isDataAdded_ = true;
    engine_->addDatasetsFromDatabase(query_result, ctrlField, setField, datasetParamArray);
}

void PlotaraData::setMessageSink(std::shared_ptr<MessageSink> sink) {
    engine_->setMessageSink(std::move(sink));
}

} // namespace plotara
