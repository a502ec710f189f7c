// Recording operations: chart parameters, categories, datasets, data points, vertical lines,
// styles and trend lines, stacked datasets, line sets and XY points.
#include "data/ArrayClass.h"

#include "core/ErrorTrap.h"
#include "core/Number.h"
#include "core/Text.h"
#include "data/EscapeText.h"
#include "data/detail/WriterText.h"

#include <algorithm>

namespace plotara {

using namespace std::string_view_literals;

// Stores each pair with its name and value trimmed and its value escaped.
void ArrayClass::storeParams(KeyedNode& node, StringView params) {
    String escaped;
    visitParams(params, delimiter_, [&](StringView name, StringView value) {
        if (needsEscaping(value)) {
            escaped.clear();
            appendEscaped(escaped, value);
            value = escaped;
        }
        node.set(writer::trimmedView(name), writer::trimmedView(value));
    });
}

void ArrayClass::setChartParam(const String& paramName, const String& value) {
    freshStart();
    items().child(L"param"sv).set(paramName, value);
}

void ArrayClass::setChartParams(const String& params) {
    freshStart();
    if (params.empty()) return;
    storeParams(items().child(L"params"sv), params);
}

void ArrayClass::setCategoriesParams(const String& params) {
    freshStart();
    if (params.empty()) return;
    storeParams(items().child(L"categoriesParam"sv), params);
}

void ArrayClass::addCategory(const String& label, const String& params, const String& vlineParams) {
    String escapedLabel = escapeText(label);
    freshStart();
    KeyedNode& category = items().child(L"category"sv).child(categoryCount_);
    category.set(L"label"sv, std::move(escapedLabel));
    if (!params.empty()) storeParams(category, params);
    number::increment(categoryCount_);
    if (!vlineParams.empty()) addVLine(vlineParams);
}

void ArrayClass::addDataset(const String& seriesName, const String& params) {
    String escapedName = escapeText(seriesName);
    freshStart();
    isLinesetMode_ = false;
    KeyedNode& dataset = items().child(L"dataset"sv).child(datasetCount_);
    dataset.set(L"seriesname"sv, std::move(escapedName));
    if (!params.empty()) {
        for (ParamPair& row : parseParams(params, true)) {
            String name = text::trim(row.name);
            // A parameter spelled "seriesname" in any letter case names an unnamed dataset; for a
            // named one it is stored under its own spelling (and only the exact spelling counts).
            if (seriesName.empty() && text::toLower(name) == L"seriesname") name = L"seriesname";
            dataset.set(name, text::trim(row.value));
        }
    }
    number::increment(datasetCount_);
}

// The node of a series' points; the last one is remembered, since points arrive series by series.
KeyedNode& ArrayClass::seriesNode(Integer series) {
    if (cachedSeriesNode_ == nullptr || cachedSeries_ != series) {
        KeyedNode& node = items().child(L"chartdata"sv).child(series);
        xyPoints_.materialize(series, node);
        cachedSeriesNode_ = &node;
        cachedSeries_ = series;
    }
    return *cachedSeriesNode_;
}

bool ArrayClass::storeCompactXYPoint(Integer series, const String& value, const String& params) {
    if (!compactXY_ || !xyPoints_.accepts(series, static_cast<std::size_t>(datasetPointIndex_)))
        return false;
    XYPointTable::Point point;
    if (!XYPointTable::compactForm(value, params, delimiter_, point)) return false;
    return xyPoints_.append(series, point);
}

// Room for a point's value and each "name=value" of its parameters, made in one step.
void ArrayClass::reservePointEntries(KeyedNode& point, const String& params) {
    point.reserve(1 + static_cast<std::size_t>(std::count(params.begin(), params.end(), L'=')));
}

void ArrayClass::storePoint(Integer series, const String& value, const String& params) {
    KeyedNode& point = seriesNode(series).child(pointIndex_);
    if (!params.empty())
        reservePointEntries(point, params);
    else if (labelledPoint_)
        point.reserve(2);
    point.set(L"value"sv, value.empty() ? StringView(L" ") : StringView(value));
    if (!params.empty()) storeParams(point, params);
    number::increment(pointIndex_);
}

// Restarts the point index of a series when the dataset count changed since it was counted.
void ArrayClass::countPointsFor(Integer& index) {
    if (countedDataset_.empty()) {
        countedDataset_ = text::decimal(datasetCount_);
        countedDatasetNumber_ = datasetCount_;
    } else if (countedDatasetNumber_ != datasetCount_) {
        countedDataset_ = text::decimal(datasetCount_);
        countedDatasetNumber_ = datasetCount_;
        index = 0;
    }
}

void ArrayClass::addChartData(const String& value, const String& params,
                              const String& vlineParams) {
    freshStart();
    if (chart_types::isXY(chartType_)) {
        addXYPoint(value, params);
        return;
    }
    number::increment(dataPointCount_);
    if (isLinesetMode_) {
        addLinesetPoint(value, params, vlineParams);
        return;
    }
    if (datasetCount_ > 0) {
        countPointsFor(pointIndex_);
        storePoint(static_cast<Integer>(datasetCount_ - 1), value, params);
        return;
    }
    if (categoryCount_ > 0 && chartKind_ == chart_types::SeriesKind::Single) {
        storePoint(seriesIndex_, value, params);
        return;
    }
    // Without datasets a multi-series chart fills one series per round of categories. The test
    // is on the type number, not the chart kind, and it is deliberately "> 10": type 10
    // (mscolumn3d, the first multi-series type) and an unset type 0 keep every point in series 0,
    // which is how documents recorded for those types have always been written.
    if (categoryCount_ > 0 && chartType_ > 10 && pointIndex_ >= categoryCount_) {
        pointIndex_ = 0;
        number::increment(seriesIndex_);
    }
    storePoint(seriesIndex_, value, params);
    if (!vlineParams.empty()) addVLine(vlineParams);
}

void ArrayClass::addVLine(const String& strParam) {
    freshStart();
    Integer position = 0;
    if (categoryCount_ != 0)
        position = static_cast<Integer>(categoryCount_ - 1);
    else if (pointIndex_ >= 1)
        position = static_cast<Integer>(pointIndex_ - 1);
    items().set(writer::KeyBuffer(position, L'v').view(), strParam);
    hasVLines_ = true;
}

// --- styles and trend lines: stored whole, parsed when written -------------------------------

void ArrayClass::defineStyle(const String& styleName, const String& styleType,
                             const String& styleParams) {
    freshStart();
    items()
        .child(L"styledef"sv)
        .set(text::decimal(styleDefineCount_), L"name=" + styleName + delimiter_ + L" type=" +
                                                   styleType + delimiter_ + L" " + styleParams);
    number::increment(styleDefineCount_);
}

void ArrayClass::applyStyle(const String& toObject, const String& style) {
    freshStart();
    items()
        .child(L"styleapp"sv)
        .set(text::decimal(styleApplyCount_),
             L"toObject=" + toObject + delimiter_ + L" styles=" + style);
    number::increment(styleApplyCount_);
}

void ArrayClass::addTrendLines(const String& strParam) {
    freshStart();
    items().child(L"trendline"sv).set(text::decimal(trendlineCount_), strParam);
    number::increment(trendlineCount_);
}

void ArrayClass::addVTrendLine(const String& strParam) {
    freshStart();
    items().child(L"vtrendline"sv).set(text::decimal(vTrendlineCount_), strParam);
    number::increment(vTrendlineCount_);
}

// --- stacked datasets and line sets ----------------------------------------------------------

void ArrayClass::createMSStDataset() {
    freshStart();
    const std::optional<Error> failure = ErrorTrap::capture([&] {
        if (!stackStarted_) {
            stackGroupEnds_.assign(1, Integer{-1});
            stackStarted_ = true;
        }
        stackGroupEnds_.back() = datasetCount_ != 0 ? static_cast<Integer>(datasetCount_ - 1) : 0;
        // The list is indexed by a 16-bit integer: it cannot grow past entry 32767.
        if (stackGroupEnds_.size() > 32767) raise(errors::overflow());
        stackGroupEnds_.push_back(0);
    });
    reportTrapped(L"createMSStDataset", failure, L"the stack was not started");
}

void ArrayClass::addMSStSubDataset(const String& seriesName, const String& params) {
    addDataset(seriesName, params);
}

void ArrayClass::addMSLineset(const String& seriesName, const String& params) {
    String escapedName = escapeText(seriesName);
    freshStart();
    const std::optional<Error> failure = ErrorTrap::capture([&] {
        isLinesetMode_ = true;
        KeyedNode& lineset = items().child(L"lines"sv).child(linesetCount_);
        lineset.set(L"seriesname"sv, std::move(escapedName));
        if (!params.empty()) storeParams(lineset, params);
        number::increment(linesetCount_);
    });
    reportTrapped(L"addMSLineset", failure, L"the line set was not added");
}

void ArrayClass::addMSLinesetData(const String& value, const String& params,
                                  const String& vlineParams) {
    addChartData(value, params, vlineParams);
}

// The line-set branch of addChartData; like the other line-set operations it traps its errors.
void ArrayClass::addLinesetPoint(const String& value, const String& params,
                                 const String& vlineParams) {
    const std::optional<Error> failure = ErrorTrap::capture([&] {
        if (linesetCount_ > lastLineset_) {
            lastLineset_ = linesetCount_;
            linesetPointIndex_ = 0;
        }
        KeyedNode& point = items()
                               .child(L"lineset"sv)
                               .child(static_cast<Integer>(linesetCount_ - 1))
                               .child(linesetPointIndex_);
        point.set(L"Value"sv, value);
        if (!params.empty()) storeParams(point, params);
        number::increment(linesetPointIndex_);
        if (!vlineParams.empty()) addVLine(vlineParams);
    });
    reportTrapped(L"addMSLinesetData", failure, L"the point was not added");
}

// The XY branch of addChartData. Points added before any dataset are kept under series -1, as
// the record of what the host did, and never written: a scatter point needs a dataset.
void ArrayClass::addXYPoint(const String& value, const String& params) {
    const std::optional<Error> failure = ErrorTrap::capture([&] {
        number::increment(dataPointCount_);
        countPointsFor(datasetPointIndex_);
        const auto series = static_cast<Integer>(datasetCount_ - 1);
        if (!storeCompactXYPoint(series, value, params)) storeKeyedXYPoint(series, value, params);
        number::increment(datasetPointIndex_);
    });
    reportTrapped(L"addChartData", failure, L"the point was not added");
}

void ArrayClass::storeKeyedXYPoint(Integer series, const String& value, const String& params) {
    KeyedNode& point = seriesNode(series).child(datasetPointIndex_);
    if (!params.empty()) reservePointEntries(point, params);
    point.set(L"x"sv, value);
    if (!params.empty()) storeParams(point, params);
}

namespace {

String xyParams(std::string_view y, std::optional<std::string_view> z) {
    String params = L"Y=" + fromUtf8(y);
    if (z) params += L";Z=" + fromUtf8(*z);
    return params;
}

} // namespace

// The same steps as addChartData and addXYPoint, with the point's texts narrow until they turn
// out not to fit the compact table.
void ArrayClass::addXYPointText(std::string_view x, std::string_view y,
                                std::optional<std::string_view> z) {
    freshStart();
    XYPointTable::TextPoint point;
    if (!chart_types::isXY(chartType_) || !compactXY_ || delimiter_ != L";"sv ||
        !XYPointTable::compactTextForm(x, y, z, point)) {
        addChartData(fromUtf8(x), xyParams(y, z));
        return;
    }
    const std::optional<Error> failure = ErrorTrap::capture([&] {
        number::increment(dataPointCount_);
        countPointsFor(datasetPointIndex_);
        const auto series = static_cast<Integer>(datasetCount_ - 1);
        if (!xyPoints_.accepts(series, static_cast<std::size_t>(datasetPointIndex_)) ||
            !xyPoints_.append(series, point))
            storeKeyedXYPoint(series, fromUtf8(x), xyParams(y, z));
        number::increment(datasetPointIndex_);
    });
    reportTrapped(L"addChartData", failure, L"the point was not added");
}

} // namespace plotara
