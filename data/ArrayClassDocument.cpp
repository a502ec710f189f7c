// Document assembly: the chart element, the body for the chart kind, the optional sections and
// the closing tag, with the finished document cached until the next change.
#include "data/ArrayClass.h"

#include "core/Text.h"
#include "data/detail/WriterText.h"

#include <algorithm>
#include <cstdint>
#include <new>

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
    return String(document());
}

StringView ArrayClass::document() {
    if (isExternalXML_) {
        if (!externalXML_) return StringView();
        if (externalWide_.empty()) externalWide_ = fromUtf8(*externalXML_);
        return externalWide_;
    }
    if (isXMLGenerated_) {
        if (documentPacked_) unpackDocument();
        return documentText_.view();
    }
    refuseWhileWriting();
    WritingScope writing(writing_);

    documentText_.clear();
    refreshChartKind();
    if (chartKind_ == chart_types::SeriesKind::None) return StringView();
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
    if (documentText_.view() != L"Subscript out of range"sv &&
        documentText_.view() != L"Argument not optional"sv) {
        documentText_ += L"\r\n</"sv;
        documentText_ += rootElement_;
        documentText_ += L">"sv;
    }
    isXMLGenerated_ = true;
    return documentText_.view();
}

namespace {

// Whether UTF-8 carries every character of the text, so that it comes back unchanged.
bool utf8Carries(StringView text) noexcept {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) {
        const auto code = static_cast<std::uint32_t>(c);
        return code < 0xD800 || (code > 0xDFFF && code <= 0x10FFFF);
    });
}

} // namespace

void ArrayClass::packDocument(std::shared_ptr<const std::string> copy,
                              std::size_t offset) noexcept {
    if (!isXMLGenerated_ || documentPacked_ || writing_ || !utf8Carries(documentText_.view()))
        return;
    try {
        packedDocument_.pack(documentText_.view(), std::move(copy), offset);
    } catch (const std::bad_alloc&) {
        packedDocument_.release();
        return; // the wide text stays
    }
    documentText_.release();
    documentPacked_ = true;
    // The record is never read again: every later recording call starts a new one. The compact
    // points are given back now, while the caller renders; the keyed store keeps its memory for
    // the next record (see BumpArena).
    xyPoints_.release();
}

void ArrayClass::unpackDocument() {
    const String text = packedDocument_.unpack();
    documentText_.assign(text);
    packedDocument_.release(); // also lets go of the copy it shared
    documentPacked_ = false;
}

} // namespace plotara
