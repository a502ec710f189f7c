// Bulk recording from database recordsets, expressed through the item operations: what an import
// stores equals what the equivalent addCategory, addDataset and addChartData calls would store.
#include "data/ArrayClass.h"

#include "core/ErrorTrap.h"
#include "core/Number.h"
#include "core/SafeArray.h"
#include "core/Text.h"
#include "data/DatabaseParams.h"
#include "platform/MessageSink.h"
#include "platform/Recordset.h"

#include <optional>

namespace plotara {
namespace {

// The text of a column of the current row, as it is stored; Null reads as "".
String fieldValue(Recordset& rs, const String& name) {
    const Variant value = rs.field(name);
    return value.isNull() ? String() : toText(value);
}

// The text of a column trimmed of blanks, the form in which the imports read values and labels.
String fieldText(Recordset& rs, const String& name) {
    return text::trim(fieldValue(rs, name));
}

} // namespace

// The dataset parameters of addDatasetsFromDatabase, handed out one dataset at a time.
class ArrayClass::DatasetParams {
public:
    DatasetParams(const ArrayClass& engine, const Variant& given) : engine_(engine), given_(given) {
        if (given.isArray()) {
            next_ = given.array().lbound(1);
            upper_ = given.array().ubound(1);
        } else if (!given.isMissing() && !given.isNull()) {
            text_ = toText(given);
            if (!text_.empty()) brackets_ = parseBracketList(text_);
        }
    }

    bool isMissing() const noexcept { return given_.isMissing(); }
    bool isArray() const noexcept { return given_.isArray(); }
    bool hasBracketList() const noexcept { return brackets_.has_value(); }

    // The next element of an array, normalised; "" once the elements are used up.
    String nextElement() {
        if (next_ > upper_) return L"";
        return normalised(toText(given_.array().at(next_++)));
    }
    // The whole text, normalised ("" when missing or Null).
    String wholeText() const { return normalised(text_); }
    // Item f of the bracket list; Error 9 past its end.
    const String& bracketItem(std::size_t f) const {
        if (f >= brackets_->size()) raise(errors::subscriptOutOfRange());
        return (*brackets_)[f];
    }

private:
    String normalised(const String& text) const {
        return buildParamString(engine_.parseParams(text, false));
    }

    const ArrayClass& engine_;
    const Variant& given_;
    Long next_ = 0, upper_ = -1;
    String text_;
    std::optional<std::vector<String>> brackets_;
};

void ArrayClass::setMessageSink(std::shared_ptr<MessageSink> sink) {
    messageSink_ = sink ? std::move(sink) : std::make_shared<StandardErrorMessageSink>();
}

void ArrayClass::addChartDataFromDatabase(Recordset& rs, const String& valueField,
                                          const String& categoryField, const String& params) {
    freshStart();
    // From here a run-time error ends the import without a word; the rows read so far stay.
    ErrorTrap::capture([&] {
        Integer row = 0;
        rs.MoveFirst();
        while (!rs.eof()) {
            const String value = fieldText(rs, valueField);
            if (categoryField.empty()) {
                addChartData(value, params, L"");
            } else {
                // The label and the caller's parameters travel in one parameter text; its ";" is
                // fixed, whatever the delimiter.
                const String label = text::trim(fieldValue(rs, categoryField) + L";" + params);
                addChartData(value, L"label=" + label, L"");
            }
            if (categoryCount_ > 0) {
                if (row == categoryCount_ - 1) break;
            }
            number::increment(row);
            yieldToHost();
            rs.MoveNext();
        }
    });
}

void ArrayClass::addCategoryFromDatabase(Recordset& rs, const String& categoryColumn) {
    refreshChartKind();
    freshStart();
    const std::optional<Error> failure = ErrorTrap::capture([&] {
        rs.MoveFirst();
        if (chartKind_ != 5) {
            while (!rs.eof()) {
                addCategory(fieldText(rs, categoryColumn), L"", L"");
                yieldToHost();
                rs.MoveNext();
            }
            return;
        }
        // XY charts: "label column<delimiter>x column"; a name that is not there is Error 9 as
        // soon as a row needs it.
        const std::vector<String> names = text::split(categoryColumn, delimiter_);
        auto name = [&](std::size_t i) -> const String& {
            if (i >= names.size()) raise(errors::subscriptOutOfRange());
            return names[i];
        };
        while (!rs.eof()) {
            const String label = name(0).empty() ? String() : fieldText(rs, name(0));
            addCategory(label, L"x=" + fieldText(rs, name(1)), L"");
            yieldToHost();
            rs.MoveNext();
        }
    });
    if (failure) messageSink_->show(categoryColumn + L": " + failure->description());
}

void ArrayClass::addDatasetsFromDatabase(Recordset& rs, const String& ctrlField,
                                         const String& valueField, const Variant& datasetParams) {
    freshStart();
    refreshChartKind();
    if (chartKind_ == 5) return;
    DatasetParams params(*this, datasetParams);

    std::vector<String> columns;
    for (String& item : text::split(ctrlField, delimiter_))
        if (!text::trim(item).empty()) columns.push_back(std::move(item));
    // Fewer than two names (including none) is the grouped form over ctrlField as written, so a
    // blank control field is reported as a missing column rather than ignored.
    if (columns.size() < 2)
        addGroupedDatasets(rs, ctrlField, valueField, params);
    else
        addColumnDatasets(rs, columns, valueField, params);
}

void ArrayClass::addGroupedDatasets(Recordset& rs, const String& ctrlField,
                                    const String& valueField, DatasetParams& params) {
    if (rs.bof()) return;
    bool first = true;
    while (!rs.eof()) {
        String datasetParams;
        if (params.isArray())
            datasetParams = params.nextElement();
        else if (first)
            datasetParams = params.wholeText();
        first = false;

        // Every change of the control value starts a new dataset named after it.
        const String key = fieldText(rs, ctrlField);
        addDataset(key, datasetParams);
        do {
            if (fieldText(rs, ctrlField) != key) break;
            addChartData(fieldText(rs, valueField), L"", L"");
            yieldToHost();
            rs.MoveNext();
        } while (!rs.eof());
    }
}

void ArrayClass::addColumnDatasets(Recordset& rs, const std::vector<String>& columns,
                                   const String& valueField, DatasetParams& params) {
    if (rs.bof()) return;
    // Here the value field names the category column.
    addCategoryFromDatabase(rs, valueField);
    for (std::size_t f = 0; f < columns.size(); ++f) {
        const String& column = columns[f];
        rs.MoveFirst();
        String seriesName, datasetParams;
        if (params.isMissing()) {
            seriesName = text::replace(text::replace(column, L"[", L""), L"]", L"");
        } else if (params.hasBracketList()) {
            datasetParams = params.bracketItem(f);
        } else if (params.isArray()) {
            datasetParams = params.nextElement();
        }
        if (seriesName.empty() && text::toLower(datasetParams).find(L"seriesname") == String::npos)
            datasetParams += L";SeriesName=" + column;
        addDataset(seriesName, datasetParams);
        while (!rs.eof()) {
            addChartData(fieldText(rs, column), L"", L"");
            yieldToHost();
            rs.MoveNext();
        }
    }
}

} // namespace plotara
