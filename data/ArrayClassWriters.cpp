// Body writers for single-series and multi-series charts, and the vertical lines between items.
#include "data/ArrayClass.h"

#include "core/ErrorTrap.h"
#include "core/Number.h"
#include "core/Text.h"
#include "data/WriterText.h"

namespace plotara {

using namespace writer;

void ArrayClass::writeTrapped(const std::function<void()>& body) {
    if (auto error = ErrorTrap::capture(body)) documentText_ = text::trim(error->description());
}

void ArrayClass::writeVLines(Integer position, String& text) {
    KeyBuffer key(position, L'v');
    const KeyedEntry* entry = items().lookup(key.view());
    if (entry == nullptr) return;
    const StringView stored = entry->text();
    if (stored.empty()) return;
    text += L"\r\n<vline ";
    for (const ParamPair& row : parseParams(stored, true))
        appendTrailing(text, row.name, row.value);
    text += L"/>";
}

void ArrayClass::writeSingleSeriesSets() {
    // Runs with errors ignored statement by statement: a statement that fails is skipped.
    if (pointIndex_ == 0) return;
    String& text = documentText_;
    KeyedNode* series = nullptr;
    ErrorTrap::resume([&] { series = &items().child(L"chartdata").child(L"0"); });
    for (Integer p = 0; p < pointIndex_; ++p) {
        KeyedNode* point = nullptr;
        ErrorTrap::resume([&] {
            if (series) point = &series->child(p);
        });
        const bool customColors = color_->isCustomColors();
        text += L"\r\n<set ";
        if (point) {
            ErrorTrap::resume([&] {
                const StringView value = trimmedView(pointValue(*point, L"value"));
                if (!value.empty()) appendTrailing(text, L"value", value);
            });
            for (const KeyedNode::Item& item : point->items()) {
                if (item.first == L"value" || item.first.empty()) continue;
                if (customColors && isColorName(item.first)) continue;
                ErrorTrap::resume([&] { appendLeading(text, item.first, item.second.text()); });
            }
        }
        if (customColors) {
            ErrorTrap::resume([&] {
                const String colour = color_->getColor();
                appendLeading(text, L"color", colour);
            });
        }
        text += L" />";
        ErrorTrap::resume([&] { writeVLines(p, text); });
    }
}

void ArrayClass::writeCategorySets() {
    writeTrapped([&] {
        String& text = documentText_;
        KeyedNode& categories = items().child(L"category");
        KeyedNode& series = items().child(L"chartdata").child(L"0");
        for (Integer i = 0; i < dataPointCount_; ++i) {
            if (i < categoryCount_) {
                text += L"\r\n<set ";
                KeyedNode& category = categories.child(i);
                const StringView label = category.item(L"label").text();
                if (!trimmedView(label).empty()) appendTrailing(text, labelAttribute_, label);
                for (const KeyedNode::Item& item : category.items()) {
                    if (item.first == L"label" || item.first.empty()) continue;
                    appendTrailing(text, item.first, item.second.text());
                }
            } else {
                text += L"\r\n<set";
            }
            const KeyedNode& point = series.child(i);
            appendLeading(text, L"Value", pointValue(point, L"value"));
            for (const KeyedNode::Item& item : point.items()) {
                if (item.first == L"value" || item.first.empty()) continue;
                appendLeading(text, item.first, item.second.text());
            }
            text += L" />";
        }
    });
}

void ArrayClass::writeCategories(String& text, LabelRule rule) {
    text += L"\r\n<categories";
    for (const KeyedNode::Item& item : items().child(L"categoriesParam").items())
        appendLeading(text, item.first, item.second.text());
    text += L">";
    String& buffer = text; // an error ends the whole body, so the elements go straight in
    KeyedNode& categories = items().child(L"category");
    for (Integer c = 0; c < categoryCount_; ++c) {
        KeyedNode& category = categories.child(c);
        const StringView label = category.item(L"label").text();
        bool withLabel = true;
        if (rule == LabelRule::WhenTrimmedNotEmpty) withLabel = !trimmedView(label).empty();
        if (rule == LabelRule::WhenNotEmpty) withLabel = !label.empty();
        buffer += L"\r\n<category ";
        if (withLabel) appendTrailing(buffer, labelAttribute_, label);
        for (const KeyedNode::Item& item : category.items()) {
            if (item.first == L"label" || item.first.empty()) continue;
            appendTrailing(buffer, item.first, item.second.text());
        }
        buffer += L"/>";
        writeVLines(c, buffer);
    }
    buffer += L"\r\n</categories>";
}

void ArrayClass::writeMultiSeries() {
    writeTrapped([&] {
        writeCategories(documentText_, LabelRule::WhenTrimmedNotEmpty);
        KeyedNode& datasets = items().child(L"dataset");
        for (Integer d = 0; d < datasetCount_; ++d) {
            KeyedNode& dataset = datasets.child(d);
            const bool customColors = color_->isCustomColors();
            String tag = L"\r\n<dataset ";
            const StringView name = dataset.item(L"seriesname").text();
            if (!trimmedView(name).empty()) appendTrailing(tag, L"seriesName", name);
            if (customColors) appendTrailing(tag, L"color", color_->getColor());
            for (const KeyedNode::Item& item : dataset.items()) {
                if (item.first.empty() || isSeriesNameName(item.first)) continue;
                if (customColors && isColorName(item.first)) continue;
                appendTrailing(tag, item.first, item.second.text());
            }
            trimRightInPlace(tag);
            tag += L">";
            trimRightInPlace(documentText_);
            documentText_ += tag;
            writeDatasetSets(documentText_, d);
            documentText_ += L"\r\n</dataset>";
        }
    });
}

void ArrayClass::writeDatasetSets(String& text, Integer series) {
    KeyedNode& points = items().child(L"chartdata").child(series);
    for (Integer p = 0;; number::increment(p)) {
        const KeyedNode& point = points.child(p);
        if (point.empty()) break;
        yieldToHost();
        const StringView value = pointValue(point, L"value");
        if (value.empty()) break;
        text += L"\r\n<set ";
        const StringView trimmed = trimmedView(value);
        if (!trimmed.empty()) appendTrailing(text, L"value", trimmed);
        for (const KeyedNode::Item& item : point.items()) {
            if (item.first == L"value" || item.first.empty()) continue;
            appendLeading(text, item.first, item.second.text());
        }
        text += L" />";
    }
}

} // namespace plotara
