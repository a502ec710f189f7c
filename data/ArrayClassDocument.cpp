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
    return String(document());
}

StringView ArrayClass::document() {
    if (isExternalXML_) {
        if (!externalXML_) return StringView();
        if (externalWide_.empty()) externalWide_ = fromUtf8(*externalXML_);
        return externalWide_;
    }
    if (isXMLGenerated_) {
        if (packedDocument_) unpackDocument();
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

// The text as UTF-8, or nothing when a character is not a Unicode scalar value (UTF-8 would
// not give it back). A document is ASCII but for its labels: ASCII is narrowed in a plain loop
// into room made once, and only a text with other characters takes the general conversion.
std::optional<std::string> utf8Of(StringView text) {
    std::string out;
    out.resize(text.size());
    const wchar_t* in = text.data();
    char* to = out.data();
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const auto code = static_cast<std::uint32_t>(in[i]);
        if (code >= 0x80) break;
        to[i] = static_cast<char>(code);
    }
    if (i == text.size()) return out;
    for (std::size_t k = i; k < text.size(); ++k) {
        const auto code = static_cast<std::uint32_t>(in[k]);
        if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return std::nullopt;
    }
    out.resize(i);
    out += toUtf8(text.substr(i));
    return out;
}

} // namespace

std::shared_ptr<const std::string> ArrayClass::packDocument() noexcept {
    if (packedDocument_) return packedDocument_;
    if (!isXMLGenerated_ || writing_) return nullptr;
    try {
        std::optional<std::string> text = utf8Of(documentText_.view());
        if (!text) return nullptr;
        packedDocument_ = std::make_shared<const std::string>(std::move(*text));
    } catch (const std::bad_alloc&) {
        return nullptr; // the wide text stays
    }
    documentText_.release();
    // The record is never read again: every later recording call starts a new one. The compact
    // points are given back now, while the caller renders; the keyed store keeps its memory for
    // the next record (see BumpArena).
    xyPoints_.release();
    return packedDocument_;
}

void ArrayClass::unpackDocument() {
    documentText_.assign(fromUtf8(*packedDocument_));
    packedDocument_.reset(); // lets go of the text, unless a caller still shares it
}

} // namespace plotara
