// The engine's state and lifecycle: store, delimiter, fresh start, reset, chart type, palette.
#include "data/ArrayClass.h"

#include "core/Error.h"
#include "core/Number.h"
#include "platform/MessageSink.h"

namespace plotara {

ArrayClass::ArrayClass()
    : color_(std::make_unique<PTColors>()),
      messageSink_(std::make_shared<StandardErrorMessageSink>()) {}

ArrayClass::~ArrayClass() = default;

void ArrayClass::setDelimiter(const String& delimiter) {
    delimiter_ = delimiter;
    color_->setDelimiter(delimiter);
}

std::vector<ParamPair> ArrayClass::parseParams(StringView text, bool escape) const {
    return plotara::parseParams(text, delimiter_, escape);
}

void ArrayClass::refuseWhileWriting() const {
    // A host event handler that runs during the per-point yield must not change the record that
    // is being written: the writers hold references into it.
    if (writing_)
        raise(errors::component(1, L"The chart document is being written: its content cannot "
                                   L"change until getXML returns"));
}

void ArrayClass::yieldToHost() {
    if (yield_) yield_();
}

void ArrayClass::resetData() {
    refuseWhileWriting();
    categoryCount_ = datasetCount_ = seriesIndex_ = pointIndex_ = 0;
    trendlineCount_ = styleDefineCount_ = styleApplyCount_ = vTrendlineCount_ = 0;
    dataPointCount_ = 0;
    linesetCount_ = lastLineset_ = linesetPointIndex_ = datasetPointIndex_ = 0;
    isLinesetMode_ = false;
    stackStarted_ = false;
    stackGroupEnds_.clear();
    store_.clear();
    xyPoints_.clear();
    cachedSeriesNode_ = nullptr;
    hasVLines_ = false;
    externalXML_.reset();
    externalWide_ = String();
    isExternalXML_ = false;
    documentText_.clear();
    packedDocument_.reset();
}

void ArrayClass::freshStart() {
    refuseWhileWriting();
    if (isXMLGenerated_ || isExternalXML_) {
        resetData();
        isXMLGenerated_ = false;
    }
}

void ArrayClass::setChartTypeNumber(const String& chartType) {
    chartType_ = number::toInteger(chartType);
    refreshChartKind();
}

void ArrayClass::refreshChartKind() noexcept {
    // A number outside the table leaves the kind of the last valid type in place.
    const chart_types::SeriesKind kind = chart_types::seriesKind(chartType_);
    if (kind != chart_types::SeriesKind::None) chartKind_ = kind;
}

void ArrayClass::addColors(const String& colorList) {
    color_->setDelimiter(delimiter_);
    color_->addColors(colorList);
}

void ArrayClass::clearUserColors() {
    color_ = std::make_unique<PTColors>();
    color_->setDelimiter(delimiter_);
}

ArrayClass::Counters ArrayClass::counters() const noexcept {
    return Counters{categoryCount_,     datasetCount_,   seriesIndex_,     pointIndex_,
                    dataPointCount_,    trendlineCount_, vTrendlineCount_, styleDefineCount_,
                    styleApplyCount_,   linesetCount_,   lastLineset_,     linesetPointIndex_,
                    datasetPointIndex_, isLinesetMode_,  isXMLGenerated_};
}

} // namespace plotara
