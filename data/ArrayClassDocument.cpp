// Document assembly: the chart element, the body for the chart kind, the optional sections and
// the closing tag, with the finished document cached until the next change.
#include "data/ArrayClass.h"

#include "core/Text.h"
#include "data/detail/WriterText.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <optional>

namespace plotara {

using namespace writer;
using namespace std::string_view_literals;

// Marks the engine as writing for the lifetime of one document build.
class ArrayClass::WritingScope {
public:
    explicit WritingScope(bool& writing) : writing_(writing) { writing_ = true; }
    ~WritingScope() { writing_ = false; }
    WritingScope(const WritingScope&) = delete;
    WritingScope& operator=(const WritingScope&) = delete;

private:
    bool& writing_;
};

// About 32 characters per point and category: enough for most documents in one allocation. A
// compact XY point takes its texts and at most 25 characters of markup
// ("\r\n<set X='' Y='' Z=''  />"), however long its numbers are.
std::size_t ArrayClass::estimatedLength() const noexcept {
    const auto points = static_cast<std::size_t>(std::max<int>(dataPointCount_, pointIndex_));
    const std::size_t compact = std::min(points, xyPoints_.pointCount());
    return 256 + 32 * (points - compact + static_cast<std::size_t>(categoryCount_)) + 25 * compact +
           xyPoints_.textLength();
}

String ArrayClass::getXML() {
    // An external document is converted straight from its UTF-8 text, without a wide copy kept.
    if (isExternalXML_) return externalXML_ ? fromUtf8(*externalXML_) : String();
    // A generated one is widened from the text it was written as, without a wide copy kept.
    return generateDocument() ? documentText_.text() : String();
}

StringView ArrayClass::document() {
    if (isExternalXML_) {
        if (!externalXML_) return StringView();
        if (externalWide_.empty()) externalWide_ = fromUtf8(*externalXML_);
        return externalWide_;
    }
    if (!generateDocument()) return StringView();
    return documentText_.view();
}

bool ArrayClass::generateDocument() {
    if (isXMLGenerated_) {
        if (packedDocument_) unpackDocument();
        return true;
    }
    refuseWhileWriting();
    WritingScope writing(writing_);

    documentText_.clear();
    refreshChartKind();
    if (chartKind_ == chart_types::SeriesKind::None) return false;
    labelAttribute_ = L"label"sv;
    rootElement_ = L"chart"sv;

    // The document is built in place: its buffer is kept from one document to the next.
    documentText_.reserve(estimatedLength());
    documentText_ += L"<"sv;
    documentText_ += rootElement_;
    documentText_ += L" "sv;
    for (const KeyedNode::Item& item : items().child(L"params"sv).items())
        appendTrailing(documentText_, item.first, item.second.text());
    for (const KeyedNode::Item& item : items().child(L"param"sv).items())
        appendTrailing(documentText_, item.first, item.second.text());
    trimRightInPlace(documentText_); // the text starts with "<", so only the end has blanks
    documentText_ += L">"sv;

    switch (chartKind_) {
    case chart_types::SeriesKind::Single:
        if (categoryCount_ > 0)
            writeCategorySets();
        else
            writeSingleSeriesSets();
        break;
    case chart_types::SeriesKind::Multi:
        writeMultiSeries();
        break;
    case chart_types::SeriesKind::MultiStacked:
        writeStackedBody();
        break;
    case chart_types::SeriesKind::XY:
        writeXYBody();
        break;
    default:
        break;
    }
    if (linesetCount_ > 0) writeLinesets();
    if (trendlineCount_ > 0) writeTrendlines();
    if (vTrendlineCount_ > 0) writeVTrendlines();
    if (styleDefineCount_ > 0) writeStyles();

    // A body that failed on a bad index or a missing argument yields the bare message.
    if (!documentText_.equalsAscii("Subscript out of range") &&
        !documentText_.equalsAscii("Argument not optional")) {
        documentText_ += L"\r\n</"sv;
        documentText_ += rootElement_;
        documentText_ += L">"sv;
    }
    isXMLGenerated_ = true;
    return true;
}

std::shared_ptr<const std::string> ArrayClass::packDocument() {
    if (packedDocument_) return packedDocument_;
    // A document generated before a ready text was given is only let go of.
    if (isExternalXML_ ? !isXMLGenerated_ || writing_ : !generateDocument()) return nullptr;
    // The holder is made first: once the text is taken, nothing is left that can fail.
    auto holder = std::make_shared<std::string>();
    std::optional<std::string> text = documentText_.takeUtf8();
    if (!text) return nullptr; // a character UTF-8 cannot carry: the wide text stays
    *holder = std::move(*text);
    packedDocument_ = std::move(holder);
    // The record is never read again: every later recording call starts a new one. The compact
    // points are given back now, while the caller renders; the keyed store keeps its memory for
    // the next record (see BumpArena).
    xyPoints_.release();
    if (isExternalXML_) return nullptr;
    return packedDocument_;
}

void ArrayClass::unpackDocument() {
    documentText_.assignUtf8(*packedDocument_);
    packedDocument_.reset(); // lets go of the text, unless a caller still shares it
}

} // namespace plotara
