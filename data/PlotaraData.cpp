#include "data/PlotaraData.h"

#include "core/ChartTypes.h"
#include "core/ErrorTrap.h"
#include "core/Number.h"
#include "core/SafeArray.h"
#include "core/Text.h"
#include "data/ArrayClass.h"

namespace plotara {

PlotaraData::PlotaraData() : engine_(std::make_unique<ArrayClass>()) {}

PlotaraData::~PlotaraData() = default;

void PlotaraData::setChartParam(const String& paramName, const String& paramValue) {
    engine_->setChartParam(paramName, paramValue);
}

void PlotaraData::setChartParams(const String& strParams) {
    checkParams(L"setChartParams", strParams);
    engine_->setChartParams(strParams);
}

void PlotaraData::setCategoriesParams(const String& catParams) {
    checkParams(L"setCategoriesParams", catParams);
    engine_->setCategoriesParams(catParams);
}

String PlotaraData::getXML() {
    return engine_->getXML();
}

StringView PlotaraData::documentView() {
    return engine_->document();
}

std::shared_ptr<const std::string> PlotaraData::packDocument() {
    return engine_->packDocument();
}

void PlotaraData::setParamDelimiter(const String& strDelm) {
    engine_->setDelimiter(strDelm);
}

void PlotaraData::addCategory(const String& label, const String& catParams,
                              const String& vlineParams) {
    checkParams(L"addCategory", catParams);
    checkParams(L"addCategory", vlineParams);
    isDataAdded_ = true;
    engine_->addCategory(label, catParams, vlineParams);
}

void PlotaraData::addDataset(const String& seriesName, const String& datasetParams) {
    checkParams(L"addDataset", datasetParams);
    if (chart_types::isGrid(chartType_)) return; // the grid chart has no datasets
    isDataAdded_ = true;
    engine_->addDataset(seriesName, datasetParams);
}

void PlotaraData::addChartData(const String& value, const String& params,
                               const String& vlineParams) {
    checkValue(L"addChartData", value);
    checkParams(L"addChartData", params);
    checkParams(L"addChartData", vlineParams);
    isDataAdded_ = true;
    engine_->addChartData(value, params, vlineParams);
}

void PlotaraData::addXYPointText(std::string_view x, std::string_view y,
                                 std::optional<std::string_view> z) {
    if (engine_->diagnostics().listening()) {
        // The checks read the wide texts; a listening host gets the general call's reports.
        String params = L"Y=" + fromUtf8(y);
        if (z) params += L";Z=" + fromUtf8(*z);
        addChartData(fromUtf8(x), params);
        return;
    }
    isDataAdded_ = true;
    engine_->addXYPointText(x, y, z);
}

void PlotaraData::applyStyle(const String& toObject, const String& styles) {
    engine_->applyStyle(toObject, styles);
}

void PlotaraData::defineStyle(const String& styleName, const String& styleType,
                              const String& styleParams) {
    checkParams(L"defineStyle", styleParams);
    engine_->defineStyle(styleName, styleType, styleParams);
}

void PlotaraData::addVLine(const String& strParam) {
    checkParams(L"addVLine", strParam);
    engine_->addVLine(strParam);
}

void PlotaraData::addTrendLine(const String& tlineParams) {
    checkParams(L"addTrendLine", tlineParams);
    engine_->addTrendLines(tlineParams);
}

void PlotaraData::addChartDataFromArray(const Variant& dataArray, const Variant& dataCatArray) {
    // Runs with errors ignored statement by statement, so nothing reaches the caller.
    auto statement = [](auto&& body) { ErrorTrap::resume(body); };
    bool multiSeries = true;
    if (dataCatArray.isArray()) {
        statement([&] { engine_->addCategoryFromArray(dataCatArray); });
    } else if (engine_->categoryCount() < 1) {
        statement([&] { engine_->addChartDataFromArray(dataArray); });
        multiSeries = false;
    }
    if (multiSeries) engine_->addSeriesRowsFromArray(dataArray, separator_);
    isDataAdded_ = true;
}

void PlotaraData::addCategoryFromArray(const Variant& categoryArray) {
    engine_->addCategoryFromArray(categoryArray);
    isDataAdded_ = true;
}

void PlotaraData::addMSLineset(const String& seriesName, const String& linesetParams) {
    checkParams(L"addMSLineset", linesetParams);
    engine_->addMSLineset(seriesName, linesetParams);
}

void PlotaraData::addVTrendLine(const String& vtlineParams) {
    checkParams(L"addVTrendLine", vtlineParams);
    engine_->addVTrendLine(vtlineParams);
}

void PlotaraData::createMSStDataset() {
    engine_->createMSStDataset();
}

void PlotaraData::addMSStSubDataset(const String& seriesName, const String& datasetParams) {
    checkParams(L"addMSStSubDataset", datasetParams);
    engine_->addMSStSubDataset(seriesName, datasetParams);
}

void PlotaraData::addMSLinesetData(const String& value, const String& params) {
    checkValue(L"addMSLinesetData", value);
    checkParams(L"addMSLinesetData", params);
    engine_->addMSLinesetData(value, params, L"");
}

void PlotaraData::setGridParams(const String& gridParams) {
    gridParams_ = gridParams;
}

void PlotaraData::addColors(const String& colorList) {
    engine_->addColors(colorList);
}

void PlotaraData::clearUserColor() {
    engine_->clearUserColors();
}

bool PlotaraData::get_isExternalXML() const {
    return engine_->isExternalXML();
}

void PlotaraData::put_isExternalXML(bool value) {
    engine_->setExternalXMLFlag(value);
}

String PlotaraData::get_externalXML() const {
    const auto& text = engine_->externalXML();
    return text ? fromUtf8(*text) : String();
}

void PlotaraData::put_externalXML(const String& value) {
    engine_->setExternalXML(std::make_shared<const std::string>(toUtf8(value)));
}

std::shared_ptr<const std::string> PlotaraData::externalXMLText() const {
    return engine_->externalXML();
}

void PlotaraData::put_externalXMLText(std::shared_ptr<const std::string> utf8) noexcept {
    engine_->setExternalXML(std::move(utf8));
}

void PlotaraData::setChartTypeNumber(const String& chartType) {
    ErrorTrap::resume([&] {
        const Integer type = number::toInteger(chartType);
        engine_->setChartTypeNumber(chartType);
        chartType_ = type;
    });
}

void PlotaraData::resetData() {
    isDataAdded_ = false;
    engine_->resetData();
}

void PlotaraData::refreshChartKind() {
    engine_->refreshChartKind();
}

void PlotaraData::setYieldHandler(std::function<void()> handler) {
    engine_->setYield(std::move(handler));
}

} // namespace plotara
