#include "apps/TableFill.h"

#include "apps/CellNumber.h"
#include "apps/ChartSession.h"
#include "apps/Failures.h"
#include "apps/Pivot.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <string_view>

namespace plotara::apps {

namespace {

// The failure of a value cell that is not a number: its column, row and text (cut at 60 bytes).
[[noreturn]] void notANumber(const CellTable& table, std::size_t row, std::size_t column) {
    const std::string_view cell = table.cell(row, column);
    std::size_t cut = std::min<std::size_t>(cell.size(), 60);
    while (cut > 0 && cut < cell.size() && (static_cast<unsigned char>(cell[cut]) & 0xC0) == 0x80)
        --cut; // not inside a UTF-8 sequence
    const std::string shown =
        cut < cell.size() ? std::string(cell.substr(0, cut)) + "..." : std::string(cell);
    throw ChartFailure("column '" + table.header[column] + "', " + table.where(row) + " of " +
                       table.origin + ": '" + shown + "' is not a number");
}

// The value of a cell as number text, "" for an empty cell; a view into the cell, or into scratch
// when the number is written otherwise (valid until scratch is used again).
std::string_view valueText(const CellTable& table, std::size_t row, std::size_t column,
                           std::string& scratch) {
    const std::string_view cell = table.cell(row, column);
    if (cell.find_first_not_of(' ') == std::string::npos) return {};
    if (const std::optional<std::string_view> number = numberText(cell, scratch)) return *number;
    notANumber(table, row, column);
}

// The number texts of value cells, each read once: views into the cells, and the few numbers
// that had to be rewritten ("+1", "1,234") kept here at stable addresses.
class CellNumbers {
public:
    explicit CellNumbers(const CellTable& table) : table_(table) {}

    // The value of a cell as number text, "" for an empty cell; valid while this reader and
    // the table live. Throws ChartFailure for a cell that is not a number.
    std::string_view read(std::size_t row, std::size_t column) {
        const std::string_view text = valueText(table_, row, column, scratch_);
        if (text.data() != scratch_.data()) return text;
        return rewritten_.emplace_back(text);
    }

private:
    const CellTable& table_;
    std::string scratch_;
    std::deque<std::string> rewritten_;
};

// Hands each number text to add as the wide text addChartData takes, in one buffer reused.
template <class Add>
void addValues(const std::vector<std::string_view>& values, Add&& add) {
    String wide;
    for (const std::string_view value : values) {
        wide.clear();
        appendFromUtf8(wide, value);
        add(static_cast<const String&>(wide));
    }
}

String textAt(const CellTable& table, std::size_t row, std::size_t column) {
    return fromUtf8(trimBlanks(table.cell(row, column)));
}

void requirePointCount(std::size_t points, const std::string& what) {
    if (points <= maxChartPoints) return;
    throw ChartFailure("the chart would have " + std::to_string(points) + " points (" + what +
                       "), more than the " + std::to_string(maxChartPoints) +
                       " a chart document holds; filter or aggregate the rows");
}

void addSeries(PlotaraData& data, ChartKind kind, const std::string& name,
               const SeriesStyles& styles) {
    if (kind == ChartKind::MultiStacked)
        data.addMSStSubDataset(fromUtf8(name), styles.datasetParams(name));
    else
        data.addDataset(fromUtf8(name), styles.datasetParams(name));
}

// The styles of the chart's series once they are known: the options', checked against the
// names, with the secondary axis's series chosen when none was named (and the note of it).
SeriesStyles stylesFor(const std::vector<std::string>& names, const FillOptions& options,
                       std::vector<std::string>& notes) {
    options.styles.requireSeries(names);
    SeriesStyles styles = options.styles;
    if (std::string note = styles.chooseSecondary(names); !note.empty())
        notes.push_back(std::move(note));
    return styles;
}

void fillSingleSeries(PlotaraData& data, const CellTable& table, const ColumnPlan& plan) {
    requirePointCount(table.rowCount(), std::to_string(table.rowCount()) + " rows");
    CellNumbers numbers(table);
    std::vector<std::string_view> values;
    values.reserve(table.rowCount());
    for (std::size_t row = 0; row < table.rowCount(); ++row)
        values.push_back(numbers.read(row, plan.values[0]));
    if (!plan.category) {
        addValues(values, [&](const String& value) { data.addChartData(value); });
        return;
    }
    // An empty delimiter keeps "label=<cell>" one parameter, whatever the cell holds (";", "=");
    // the command line uses the default ";" everywhere else.
    data.setParamDelimiter(L"");
    std::size_t row = 0;
    addValues(values, [&](const String& value) {
        data.addChartData(value, L"label=" + textAt(table, row++, *plan.category));
    });
    data.setParamDelimiter(L";");
}

// A category per row, a dataset per value column.
void fillColumns(PlotaraData& data, ChartKind kind, const CellTable& table, const ColumnPlan& plan,
                 const FillOptions& options, std::vector<std::string>& notes) {
    const std::size_t rows = table.rowCount();
    requirePointCount(rows * plan.values.size(), std::to_string(rows) + " rows x " +
                                                     std::to_string(plan.values.size()) +
                                                     " value columns");
    std::vector<std::string> names;
    for (std::size_t column : plan.values)
        names.push_back(trimBlanks(table.header[column]));
    const SeriesStyles styles = stylesFor(names, options, notes);
    CellNumbers numbers(table);
    std::vector<std::vector<std::string_view>> values(plan.values.size());
    for (std::size_t v = 0; v < plan.values.size(); ++v) {
        values[v].reserve(rows);
        for (std::size_t row = 0; row < rows; ++row)
            values[v].push_back(numbers.read(row, plan.values[v]));
    }
    if (plan.category)
        for (std::size_t row = 0; row < rows; ++row)
            data.addCategory(textAt(table, row, *plan.category));
    if (kind == ChartKind::MultiStacked) data.createMSStDataset();
    for (std::size_t v = 0; v < plan.values.size(); ++v) {
        addSeries(data, kind, names[v], styles);
        addValues(values[v], [&](const String& value) { data.addChartData(value); });
    }
}

// The long form pivoted: every value at its own category.
void fillLongForm(PlotaraData& data, ChartKind kind, const CellTable& table, const ColumnPlan& plan,
                  const FillOptions& options, std::vector<std::string>& notes) {
    const LongForm form =
        pivotLongForm(table, *plan.category, *plan.series, options.sortCategories);
    requirePointCount(form.categories.size() * form.series.size(),
                      std::to_string(form.categories.size()) + " categories x " +
                          std::to_string(form.series.size()) + " series");
    const SeriesStyles styles = stylesFor(form.series, options, notes);
    CellNumbers numbers(table);
    std::vector<std::vector<std::string_view>> values(form.series.size());
    for (std::size_t s = 0; s < form.series.size(); ++s) {
        values[s].assign(form.categories.size(), std::string_view());
        for (const auto& [position, row] : form.cells[s])
            values[s][position] = numbers.read(row, plan.values[0]);
    }
    for (const std::string& category : form.categories)
        data.addCategory(fromUtf8(category));
    if (kind == ChartKind::MultiStacked) data.createMSStDataset();
    for (std::size_t s = 0; s < form.series.size(); ++s) {
        addSeries(data, kind, form.series[s], styles);
        addValues(values[s], [&](const String& value) { data.addChartData(value); });
    }
}

// The rows of one series and its y column (and size column).
struct XYSeries {
    std::string name;
    const std::vector<std::size_t>* rows;
    std::size_t y;
    std::optional<std::size_t> size;
};

// The number texts of the points of a table, each cell read once.
class XYPointTexts {
public:
    struct Point {
        std::string_view x, y, z;
    };

    XYPointTexts(const CellTable& table, std::size_t xColumn)
        : numbers_(table), xColumn_(xColumn), xRead_(table.rowCount(), false),
          xs_(table.rowCount()) {}

    // The points of the series that have x, y (and size), in row order; rows missing any of
    // them are skipped. Throws ChartFailure for a cell that is not a number, checking x, y and
    // size of each row in turn.
    std::vector<Point> pointsOf(const XYSeries& series) {
        std::vector<Point> points;
        points.reserve(series.rows->size());
        for (std::size_t row : *series.rows) {
            const std::string_view x = xAt(row), y = numbers_.read(row, series.y);
            const std::string_view z =
                series.size ? numbers_.read(row, *series.size) : std::string_view();
            if (x.empty() || y.empty() || (series.size && z.empty())) continue;
            points.push_back({x, y, z});
        }
        return points;
    }

private:
    // The x column is shared by every series: each of its cells is read once.
    std::string_view xAt(std::size_t row) {
        if (!xRead_[row]) {
            xs_[row] = numbers_.read(row, xColumn_);
            xRead_[row] = true;
        }
        return xs_[row];
    }

    CellNumbers numbers_;
    std::size_t xColumn_;
    std::vector<bool> xRead_;
    std::vector<std::string_view> xs_;
};

// A first pass reads and checks every cell and counts the points, so that a failure records
// nothing; the points then go to the data object as the cells' own texts, narrow.
void fillXY(PlotaraData& data, bool bubble, const CellTable& table, const ColumnPlan& plan) {
    const std::size_t step = bubble ? 2 : 1;
    auto sizeColumn = [&](std::size_t v) {
        return bubble ? std::optional<std::size_t>(plan.values[v + 1]) : std::nullopt;
    };
    SeriesGroups groups;
    std::vector<std::size_t> all;
    std::vector<XYSeries> sets;
    if (plan.series) {
        groups = groupBySeries(table, *plan.series);
        for (std::size_t g = 0; g < groups.names.size(); ++g)
            sets.push_back({groups.names[g], &groups.rows[g], plan.values[0], sizeColumn(0)});
    } else {
        all.resize(table.rowCount());
        for (std::size_t row = 0; row < all.size(); ++row)
            all[row] = row;
        for (std::size_t v = 0; v + step <= plan.values.size(); v += step)
            sets.push_back(
                {trimBlanks(table.header[plan.values[v]]), &all, plan.values[v], sizeColumn(v)});
    }
    XYPointTexts texts(table, *plan.category);
    std::vector<std::vector<XYPointTexts::Point>> points;
    std::size_t count = 0;
    for (const XYSeries& set : sets)
        count += points.emplace_back(texts.pointsOf(set)).size();
    requirePointCount(count, std::to_string(sets.size()) + " series");
    for (std::size_t s = 0; s < sets.size(); ++s) {
        data.addDataset(fromUtf8(sets[s].name));
        for (const XYPointTexts::Point& point : points[s])
            data.addXYPointText(point.x, point.y,
                                bubble ? std::optional<std::string_view>(point.z) : std::nullopt);
    }
}

// The table with its rows in the sorted order of a column (ties keep their order).
CellTable sortedByColumn(const CellTable& table, std::size_t column) {
    std::vector<std::string> keys;
    keys.reserve(table.rowCount());
    for (std::size_t row = 0; row < table.rowCount(); ++row)
        keys.push_back(trimBlanks(table.cell(row, column)));
    CellTable sorted;
    sorted.header = table.header;
    sorted.origin = table.origin;
    sorted.rowWord = table.rowWord;
    for (std::size_t row : sortedOrder(keys)) {
        sorted.copyRow(table, row);
        sorted.rowNumbers.push_back(row < table.rowNumbers.size() ? table.rowNumbers[row]
                                                                  : row + 1);
    }
    return sorted;
}

} // namespace

std::vector<std::string> fillChart(PlotaraData& data, Long chartType, const CellTable& table,
                                   const ColumnPlan& plan, const FillOptions& options) {
    if (options.sortCategories && !plan.series && plan.category) {
        FillOptions unsorted = options;
        unsorted.sortCategories = false;
        return fillChart(data, chartType, sortedByColumn(table, *plan.category), plan, unsorted);
    }
    std::vector<std::string> notes;
    const ChartKind kind = chartKindOf(chartType);
    if (kind == ChartKind::XY) {
        fillXY(data, chart_types::isBubble(chartType), table, plan);
    } else if (kind == ChartKind::Single) {
        fillSingleSeries(data, table, plan);
    } else if (plan.series) {
        fillLongForm(data, kind, table, plan, options, notes);
    } else {
        fillColumns(data, kind, table, plan, options, notes);
    }
    return notes;
}

} // namespace plotara::apps
