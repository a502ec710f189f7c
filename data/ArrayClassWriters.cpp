// Body writers for single-series and multi-series charts, and the vertical lines between items.
#include "data/ArrayClass.h"

#include "core/ErrorTrap.h"
#include "core/Number.h"
#include "core/Text.h"
#include "data/detail/WriterText.h"

namespace plotara {

using namespace writer;
using namespace std::string_view_literals;

void ArrayClass::writeTrapped(const std::function<void()>& body) {
    if (auto error = ErrorTrap::capture(body)) {
        documentText_.assign(text::trim(error->description()));
        if (diagnostics_.listening())
            diagnostics_.report(Severity::Error, L"getXML",
                                L"The document is the error text '" +
                                    text::trim(error->description()) + L"' instead of a chart");
    }
}

void ArrayClass::reportTrapped(const wchar_t* member, const std::optional<Error>& failure,
                               const wchar_t* outcome) const {
    if (!failure || !diagnostics_.listening()) return;
    diagnostics_.report(Severity::Error, member,
                        text::decimal(failure->number()) + L" " + failure->description() + L": " +
                            outcome);
}

void ArrayClass::writeVLines(Integer position, DocumentText& text) {
    if (!hasVLines_) return; // most documents have none: skip the lookup per point
    KeyBuffer key(position, L'v');
    const KeyedEntry* entry = items().lookup(key.view());
    if (entry == nullptr) return;
    const StringView stored = entry->text();
    if (stored.empty()) return;
    text += L"\r\n<vline "sv;
    for (const ParamPair& row : parseParams(stored, true))
        appendTrailing(text, row.name, row.value);
    text += L"/>"sv;
}

void ArrayClass::writeSingleSeriesSets() {
    // Runs with errors ignored statement by statement: a statement that fails is skipped.
    if (pointIndex_ == 0) return;
    DocumentText& text = documentText_;
    KeyedNode* series = nullptr;
    ErrorTrap::resume([&] { series = &seriesNode(0); });
    for (Integer p = 0; p < pointIndex_; ++p) {
        KeyedNode* point = nullptr;
        ErrorTrap::resume([&] {
            if (series) point = &series->child(p);
        });
        const bool customColors = color_->isCustomColors();
        text += L"\r\n<set "sv;
        if (point) {
            ErrorTrap::resume([&] {
                const StringView value = trimmedView(pointValue(*point, L"value"sv));
                if (!value.empty()) appendTrailing(text, L"value"sv, value);
            });
            for (const KeyedNode::Item& item : point->items()) {
                if (item.first == L"value"sv || item.first.empty()) continue;
                if (customColors && isColorName(item.first)) continue;
                ErrorTrap::resume([&] { appendLeading(text, item.first, item.second.text()); });
            }
        }
        if (customColors) {
            ErrorTrap::resume([&] {
                const String colour = color_->getColor();
                appendLeading(text, L"color"sv, colour);
            });
        }
        text += L" />"sv;
        ErrorTrap::resume([&] { writeVLines(p, text); });
    }
}

void ArrayClass::writeCategorySets() {
    writeTrapped([&] {
        DocumentText& text = documentText_;
        KeyedNode& categories = items().child(L"category"sv);
        KeyedNode& series = seriesNode(0);
        for (Integer i = 0; i < dataPointCount_; ++i) {
            if (i < categoryCount_) {
                text += L"\r\n<set "sv;
                KeyedNode& category = categories.child(i);
                const StringView label = category.item(L"label"sv).text();
                if (!trimmedView(label).empty()) appendTrailing(text, labelAttribute_, label);
                for (const KeyedNode::Item& item : category.items()) {
                    if (item.first == L"label"sv || item.first.empty()) continue;
                    appendTrailing(text, item.first, item.second.text());
                }
            } else {
                text += L"\r\n<set"sv;
            }
            const KeyedNode& point = series.child(i);
            appendLeading(text, L"Value"sv, pointValue(point, L"value"sv));
            for (const KeyedNode::Item& item : point.items()) {
                if (item.first == L"value"sv || item.first.empty()) continue;
                appendLeading(text, item.first, item.second.text());
            }
            text += L" />"sv;
        }
    });
}

void ArrayClass::writeCategories(DocumentText& text, LabelRule rule) {
    text += L"\r\n<categories"sv;
    for (const KeyedNode::Item& item : items().child(L"categoriesParam"sv).items())
        appendLeading(text, item.first, item.second.text());
    text += L">"sv;
    DocumentText& buffer = text; // an error ends the whole body, so the elements go straight in
    KeyedNode& categories = items().child(L"category"sv);
    for (Integer c = 0; c < categoryCount_; ++c) {
        KeyedNode& category = categories.child(c);
        const StringView label = category.item(L"label"sv).text();
        bool withLabel = true;
        if (rule == LabelRule::WhenTrimmedNotEmpty) withLabel = !trimmedView(label).empty();
        if (rule == LabelRule::WhenNotEmpty) withLabel = !label.empty();
        buffer += L"\r\n<category "sv;
        if (withLabel) appendTrailing(buffer, labelAttribute_, label);
        for (const KeyedNode::Item& item : category.items()) {
            if (item.first == L"label"sv || item.first.empty()) continue;
            appendTrailing(buffer, item.first, item.second.text());
        }
        buffer += L"/>"sv;
        writeVLines(c, buffer);
    }
    buffer += L"\r\n</categories>"sv;
}

void ArrayClass::writeMultiSeries() {
    writeTrapped([&] {
        writeCategories(documentText_, LabelRule::WhenTrimmedNotEmpty);
        KeyedNode& datasets = items().child(L"dataset"sv);
        for (Integer d = 0; d < datasetCount_; ++d) {
            KeyedNode& dataset = datasets.child(d);
            const bool customColors = color_->isCustomColors();
            String tag(L"\r\n<dataset "sv);
            const StringView name = dataset.item(L"seriesname"sv).text();
            if (!trimmedView(name).empty()) appendTrailing(tag, L"seriesName"sv, name);
            if (customColors) appendTrailing(tag, L"color"sv, color_->getColor());
            for (const KeyedNode::Item& item : dataset.items()) {
                if (item.first.empty() || isSeriesNameName(item.first)) continue;
                if (customColors && isColorName(item.first)) continue;
                appendTrailing(tag, item.first, item.second.text());
            }
            trimRightInPlace(tag);
            tag += L">"sv;
            trimRightInPlace(documentText_);
            documentText_ += tag;
            writeDatasetSets(documentText_, d);
            documentText_ += L"\r\n</dataset>"sv;
        }
    });
}

void ArrayClass::writeDatasetSets(DocumentText& text, Integer series) {
    KeyedNode& points = seriesNode(series);
    for (Integer p = 0;; number::increment(p)) {
        const KeyedNode& point = points.child(p);
        if (point.empty()) break;
        yieldToHost();
        const StringView value = pointValue(point, L"value"sv);
        if (value.empty()) break;
        text += L"\r\n<set "sv;
        const StringView trimmed = trimmedView(value);
        if (!trimmed.empty()) appendTrailing(text, L"value"sv, trimmed);
        for (const KeyedNode::Item& item : point.items()) {
            if (item.first == L"value"sv || item.first.empty()) continue;
            appendLeading(text, item.first, item.second.text());
        }
        text += L" />"sv;
    }
}

} // namespace plotara
