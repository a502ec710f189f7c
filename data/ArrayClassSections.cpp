// The writers of the stacked and XY bodies, the line sets, the trend lines and the styles.
#include "data/ArrayClass.h"

#include "core/Error.h"
#include "core/Number.h"
#include "data/detail/WriterText.h"

#include <utility>
#include <vector>

namespace plotara {

using namespace writer;
using namespace std::string_view_literals;

namespace {

StringView storedText(KeyedNode& node, Integer index) {
    return node.item(KeyBuffer(index).view()).text();
}

} // namespace

void ArrayClass::appendAttributeList(DocumentText& text, StringView stored) const {
    for (const ParamPair& row : parseParams(stored, true))
        appendTrailing(text, row.name, row.value);
}

// --- styles and trend lines (errors reach the caller of getXML) -----------------------------

void ArrayClass::writeStyles() {
    documentText_ += L"\r\n<styles> \r\n<definition>\r\n"sv;
    // Written aside first: an error here reaches the caller and leaves the document as it was.
    DocumentText text;
    const auto elements = [&](StringView key, StringView open, Integer count) {
        KeyedNode& stored = items().child(key);
        for (Integer i = 0; i < count; ++i) {
            text += open;
            appendAttributeList(text, storedText(stored, i));
            text += L"/>\r\n"sv;
        }
    };
    elements(L"styledef"sv, L"<style "sv, styleDefineCount_);
    text += L"</definition>\r\n<application>\r\n"sv;
    elements(L"styleapp"sv, L"<apply  "sv, styleApplyCount_);
    text += L"</application>\r\n</styles>"sv;
    documentText_ += text;
}

// One <line .../> per stored trend line, inside the given section element.
void ArrayClass::writeLineSection(StringView section, StringView key, Integer count) {
    documentText_ += L"\r\n<"sv;
    documentText_ += section;
    documentText_ += L"> \r\n"sv;
    KeyedNode& lines = items().child(key);
    for (Integer i = 0; i < count; ++i) {
        documentText_ += L"<line "sv;
        appendAttributeList(documentText_, storedText(lines, i));
        documentText_ += L"/>\r\n"sv;
    }
    documentText_ += L"</"sv;
    documentText_ += section;
    documentText_ += L">"sv;
}

void ArrayClass::writeTrendlines() {
    writeLineSection(L"trendlines"sv, L"trendline"sv, trendlineCount_);
}

void ArrayClass::writeVTrendlines() {
    writeLineSection(L"vTrendlines"sv, L"vtrendline"sv, vTrendlineCount_);
}

// --- stacked multi-series body -----------------------------------------------------------------

void ArrayClass::writeStackedBody() {
    writeTrapped([&] {
        if (datasetCount_ == 0) return;
        writeCategories(documentText_, LabelRule::Always);
        // Without createMSStDataset there is no stack list to read.
        if (!stackStarted_) raise(errors::subscriptOutOfRange());
        const int stacks = static_cast<int>(stackGroupEnds_.size()) - 1;
        KeyedNode& datasets = items().child(L"dataset"sv);
        int last = -1;
        for (int g = 0; g < stacks; ++g) {
            const int first = g == 0 ? 0 : last + 1;
            last = g == stacks - 1 ? datasetCount_ - 1
                                   : stackGroupEnds_[static_cast<std::size_t>(g + 1)];
            documentText_ += L"\r\n<dataset>"sv;
            for (int d = first; d <= last; ++d) {
                KeyedNode& dataset = datasets.child(d);
                const bool customColors = color_->isCustomColors();
                documentText_ += L"\r\n<dataset "sv;
                documentText_ += L' ';
                appendTrailing(documentText_, L"seriesName"sv,
                               dataset.item(L"seriesname"sv).text());
                if (customColors) appendTrailing(documentText_, L"color"sv, color_->getColor());
                for (const KeyedNode::Item& item : dataset.items()) {
                    if (item.first.empty() || isSeriesNameName(item.first) ||
                        isColorName(item.first))
                        continue;
                    appendTrailing(documentText_, item.first, item.second.text());
                }
                documentText_ += L">"sv;
                writeDatasetSets(documentText_, static_cast<Integer>(d));
                documentText_ += L"\r\n</dataset>"sv;
            }
            documentText_ += L"\r\n</dataset>"sv;
        }
    });
}

// --- line sets and XY sets ---------------------------------------------------------------------

namespace {

// "seriesName='...' " and the series' other attributes, leaving out only the exact key
// "seriesname" and the empty name.
void appendSeriesAttributes(DocumentText& text, KeyedNode& series) {
    appendTrailing(text, L"seriesName"sv, series.item(L"seriesname"sv).text());
    for (const KeyedNode::Item& item : series.items()) {
        if (item.first.empty() || item.first == L"seriesname"sv) continue;
        appendTrailing(text, item.first, item.second.text());
    }
}

// The narrow text without leading and trailing blanks (U+0020).
std::string_view trimmedBytes(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

int linesetCell(StringView name) {
    return equalsLowerAscii(name, L"value"sv) ? 0 : -1;
}

int xyCell(StringView name) {
    if (name.size() != 1) return -1;
    switch (name[0]) {
    case L'x':
    case L'X':
        return 0;
    case L'y':
    case L'Y':
        return 1;
    case L'z':
    case L'Z':
        return 2;
    default:
        break;
    }
    if (name[0] < 0x80) return -1;
    // A non-ASCII name goes through the full case mapping like every other name comparison.
    if (equalsLowerAscii(name, L"x"sv)) return 0;
    if (equalsLowerAscii(name, L"y"sv)) return 1;
    if (equalsLowerAscii(name, L"z"sv)) return 2;
    return -1;
}

} // namespace

// Reads points 0, 1, 2 ... of a series until the first point without entries and hands each to
// visit(row) as it is read: each name that cellOf maps to a cell fills that cell, any other name
// becomes a pair, and an empty name makes that point the last one read. A point at or past
// rowLimit is the run-time's index error. The host's events are processed once per point.
// Writers call this inside writeTrapped, where an error replaces the whole document, so rows
// are written as they are read instead of being collected first.
template <class Visit>
void ArrayClass::visitPointRows(KeyedNode& points, int rowLimit, int (*cellOf)(StringView),
                                Visit&& visit) {
    PointRow row;
    for (Integer p = 0;; number::increment(p)) {
        const KeyedNode& point = points.child(p);
        if (point.empty()) break;
        if (p >= rowLimit) raise(errors::subscriptOutOfRange());
        row.cells[0] = row.cells[1] = row.cells[2] = StringView();
        row.pairs.clear();
        bool lastPoint = false;
        for (const KeyedNode::Item& item : point.items()) {
            const int cell = cellOf(item.first);
            if (cell >= 0)
                row.cells[cell] = item.second.text();
            else if (item.first.empty())
                lastPoint = true;
            else
                row.pairs.emplace_back(item.first, item.second.text());
        }
        visit(static_cast<const PointRow&>(row));
        yieldToHost();
        if (lastPoint) break;
    }
}

// Each series as its element: the opening text, the series' attributes, its points written by
// writeSets, the closing element.
void ArrayClass::writeSeriesElements(StringView open, StringView close, KeyedNode& series,
                                     Integer count, SetsWriter writeSets) {
    for (Integer n = 0; n < count; ++n) {
        documentText_ += open;
        appendSeriesAttributes(documentText_, series.child(n));
        documentText_ += L">"sv;
        (this->*writeSets)(documentText_, n);
        documentText_ += close;
    }
}

void ArrayClass::writeLinesets() {
    writeTrapped([&] {
        writeSeriesElements(L"\r\n<lineset  "sv, L"\r\n</lineset>"sv, items().child(L"lines"sv),
                            linesetCount_, &ArrayClass::writeLinesetSets);
    });
}

// A line set is written as one set element per row of a table of line sets x categories rows:
// point p fills row p, rows without a point are written empty, and a point past the last row is
// the run-time's index error.
void ArrayClass::writeLinesetSets(DocumentText& text, Integer lineset) {
    const int rowCount = static_cast<int>(linesetCount_) * categoryCount_;
    if (rowCount > 32767) raise(errors::overflow());
    if (rowCount <= 0) raise(errors::subscriptOutOfRange());
    int written = 0;
    visitPointRows(items().child(L"lineset"sv).child(lineset), rowCount, linesetCell,
                   [&](const PointRow& row) {
                       text += L"\r\n<set"sv;
                       const StringView value = trimmedView(row.cells[0]);
                       if (!value.empty()) {
                           text += L' ';
                           appendTrailing(text, L"value"sv, value);
                       }
                       for (const auto& [name, pairValue] : row.pairs)
                           appendLeading(text, name, pairValue);
                       text += L" />"sv;
                       ++written;
                   });
    for (; written < rowCount; ++written)
        text += L"\r\n<set />"sv;
}

void ArrayClass::writeXYBody() {
    writeTrapped([&] {
        if (datasetCount_ == 0) return;
        writeCategories(documentText_, LabelRule::WhenNotEmpty);
        writeSeriesElements(L"\r\n<dataset "sv, L"\r\n</dataset>"sv, items().child(L"dataset"sv),
                            datasetCount_, &ArrayClass::writeXYSets);
    });
}

// The same reading as visitPointRows over the compact points of a series: every point has an x
// entry and only cells, so none ends the reading early. The texts go from the table into the
// document without a wide copy of each point; the first point without an x value ends what is
// written, as in writeXYSet.
void ArrayClass::writeCompactXYSets(DocumentText& text, Integer series, bool bubble) {
    const std::size_t count = xyPoints_.count(series);
    bool ended = false;
    for (Integer p = 0;; number::increment(p)) {
        if (static_cast<std::size_t>(p) >= count) break;
        if (p >= dataPointCount_) raise(errors::subscriptOutOfRange());
        const XYPointTable::TextPoint point = xyPoints_.text(series, static_cast<std::size_t>(p));
        ended = ended || point.x.empty();
        if (!ended) {
            text += L"\r\n<set X='"sv;
            text.appendBytes(trimmedBytes(point.x));
            text += L"' Y='"sv;
            text.appendBytes(point.y);
            if (bubble) {
                text += L"' Z='"sv;
                text.appendBytes(point.z);
            }
            text += L"'  />"sv;
        }
        yieldToHost();
    }
}

void ArrayClass::writeXYSet(DocumentText& text, const PointRow& row, bool bubble, bool& ended) {
    if (ended || row.cells[0].empty()) {
        ended = true;
        return;
    }
    text += L"\r\n<set "sv;
    appendTrailing(text, L"X"sv, trimmedView(row.cells[0]));
    appendTrailing(text, L"Y"sv, trimmedView(row.cells[1]));
    if (bubble) appendTrailing(text, L"Z"sv, trimmedView(row.cells[2]));
    for (const auto& [name, pairValue] : row.pairs)
        appendLeading(text, name, pairValue);
    text += L" />"sv;
}

// XY points are written X, Y (and Z for bubbles) first, in upper case whatever case they were
// stored in, then their other attributes; the first point without an x value ends what is
// written of the dataset, though the points after it are still read (and checked) as before.
void ArrayClass::writeXYSets(DocumentText& text, Integer series) {
    const bool bubble = chart_types::isBubble(chartType_);
    bool ended = false;
    if (xyPoints_.holds(series)) {
        writeCompactXYSets(text, series, bubble);
        return;
    }
    visitPointRows(seriesNode(series), dataPointCount_, xyCell,
                   [&](const PointRow& row) { writeXYSet(text, row, bubble, ended); });
}

} // namespace plotara
