// Bulk recording from database recordsets, expressed through the item operations: what an import
// stores equals what the equivalent addCategory, addDataset and addChartData calls would store.
#include "data/ArrayClass.h"

#include "core/ErrorTrap.h"
#include "core/Number.h"
#include "core/SafeArray.h"
#include "core/Text.h"
#include "data/EscapeText.h"
#include "data/detail/DatabaseParams.h"
#include "data/detail/WriterText.h"
#include "platform/MessageSink.h"
#include "platform/Recordset.h"

#include <limits>
#include <optional>

namespace plotara {

using namespace std::string_view_literals;

namespace {

// Removes leading and trailing blanks in place, as text::trim does.
void trimBlanks(String& text) {
    if (text.empty() || (text.front() != L' ' && text.back() != L' ')) return; // the usual case
    const std::size_t last = text.find_last_not_of(L' ');
    if (last == String::npos) {
        text.clear();
        return;
    }
    text.erase(last + 1);
    text.erase(0, text.find_first_not_of(L' '));
}

// One column that an import reads row after row: its position is asked for once, at the first
// read (so an empty result never looks at the name), and its text goes into a buffer that the
// next row reuses. The text of a Null is "".
class ColumnReader {
public:
    ColumnReader(Recordset& rs, const String& name) : rs_(rs), name_(name) {}

    // The column's text on the current row, as stored. Errors as Recordset::field.
    const String& read() {
        if (column_ == unresolved) column_ = rs_.columnIndex(name_);
        rs_.fieldText(name_, column_, text_);
        return text_;
    }
    // The same trimmed of blanks, the form in which the imports read values and labels.
    const String& readTrimmed() {
        read();
        trimBlanks(text_);
        return text_;
    }
    // What the last read gave.
    const String& last() const noexcept { return text_; }

private:
    static constexpr int unresolved = -2;
    Recordset& rs_;
    const String& name_;
    int column_ = unresolved;
    String text_;
};

// The text of a column trimmed of blanks, for a column read without a ColumnReader.
String fieldText(Recordset& rs, const String& name) {
    String text;
    rs.fieldText(name, -1, text);
    trimBlanks(text);
    return text;
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
    const std::optional<Error> failure = ErrorTrap::capture([&] {
        ColumnReader values(rs, valueField), labels(rs, categoryField);
        String labelParams;
        Integer row = 0;
        rs.MoveFirst();
        while (!rs.eof()) {
            const String& value = values.readTrimmed();
            if (categoryField.empty()) {
                addChartData(value, params, L"");
            } else {
                // The label and the caller's parameters travel in one parameter text,
                // "label=" + Trim(label + ";" + params); its ";" is fixed, whatever the delimiter.
                const String& label = labels.read();
                if (params.empty() && delimiter_.size() == 1 && delimiter_[0] == L';' &&
                    label.find(L';') == String::npos) {
                    // That text would be parsed back into the one label parameter.
                    addLabelledChartData(value, writer::trimmedView(label), labelParams);
                } else {
                    const std::size_t first = label.find_first_not_of(L' ');
                    const std::size_t last = params.find_last_not_of(L' ');
                    labelParams.assign(L"label=");
                    if (first != String::npos) labelParams.append(label, first);
                    labelParams += L';';
                    if (last != String::npos) labelParams.append(params, 0, last + 1);
                    addChartData(value, labelParams, L"");
                }
            }
            if (categoryCount_ > 0) {
                if (row == categoryCount_ - 1) break;
            }
            number::increment(row);
            yieldToHost();
            rs.MoveNext();
        }
    });
    reportTrapped(L"addDataFromDatabase", failure,
                  L"the import stopped there; the rows read before stay");
}

void ArrayClass::addLabelledChartData(const String& value, StringView label, String& escaped) {
    // Points that addChartData stores through storePoint leave their series node cached and
    // pointIndex_ one past them; the label is set on that point as storeParams would set it, the
    // key after "value". XY points, line-set points and a point that would overflow the index
    // (raising after its value was stored) take the general way.
    if (chart_types::isXY(chartType_) || isLinesetMode_ ||
        pointIndex_ == std::numeric_limits<Integer>::max()) {
        escaped.assign(L"label=").append(label) += L';';
        addChartData(value, escaped, L"");
        return;
    }
    static const String none;
    struct Lowered {
        bool& flag;
        ~Lowered() { flag = false; }
    } lowered{labelledPoint_};
    labelledPoint_ = true; // storePoint makes room for the label with the value
    addChartData(value, none, none);
    KeyedNode& point = cachedSeriesNode_->child(pointIndex_ - 1);
    if (needsEscaping(label)) {
        escaped.clear();
        appendEscaped(escaped, label);
        label = escaped;
    }
    point.set(L"label"sv, label);
}

void ArrayClass::addCategoryFromDatabase(Recordset& rs, const String& categoryColumn) {
    refreshChartKind();
    freshStart();
    const std::optional<Error> failure = ErrorTrap::capture([&] {
        rs.MoveFirst();
        if (chartKind_ != chart_types::SeriesKind::XY) {
            ColumnReader labels(rs, categoryColumn);
            while (!rs.eof()) {
                addCategory(labels.readTrimmed(), L"", L"");
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
    reportTrapped(L"addCategoryFromDatabase", failure,
                  L"the import stopped there; the categories read before stay");
}

void ArrayClass::addDatasetsFromDatabase(Recordset& rs, const String& ctrlField,
                                         const String& valueField, const Variant& datasetParams) {
    freshStart();
    refreshChartKind();
    if (chartKind_ == chart_types::SeriesKind::XY) return;
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
    ColumnReader control(rs, ctrlField), values(rs, valueField);
    bool first = true;
    bool controlRead = false; // control holds the current row's value
    String key;
    while (!rs.eof()) {
        String datasetParams;
        if (params.isArray())
            datasetParams = params.nextElement();
        else if (first)
            datasetParams = params.wholeText();
        first = false;

        // Every change of the control value starts a new dataset named after it.
        key = controlRead ? control.last() : control.readTrimmed();
        addDataset(key, datasetParams);
        while (true) {
            addChartData(values.readTrimmed(), L"", L"");
            yieldToHost();
            rs.MoveNext();
            if (rs.eof()) break;
            if (control.readTrimmed() != key) {
                controlRead = true;
                break;
            }
        }
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
        ColumnReader values(rs, column);
        while (!rs.eof()) {
            addChartData(values.readTrimmed(), L"", L"");
            yieldToHost();
            rs.MoveNext();
        }
    }
}

} // namespace plotara
