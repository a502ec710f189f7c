// The data object's diagnostics: input it drops or cannot use, reported to a listening host.
#include "data/PlotaraData.h"

#include "core/ErrorTrap.h"
#include "core/Number.h"
#include "data/ArrayClass.h"

namespace plotara {

namespace {

bool blank(StringView text) {
    return text.find_first_not_of(L" \t") == StringView::npos;
}

// Whether the text reads as a number with the locale's decimal separator, a point or a comma,
// as the chart player reads it (digit grouping aside).
bool readsAsNumber(StringView value) {
    for (wchar_t separator : {number::localeDecimalSeparator(), L'.', L','}) {
        if (ErrorTrap::resume([&] { number::parseDouble(value, separator); })) return true;
    }
    return false;
}

String quoted(StringView text) {
    constexpr std::size_t shown = 60;
    String out = L"'";
    out += text.substr(0, shown);
    if (text.size() > shown) out += L"...";
    return out + L"'";
}

} // namespace

void PlotaraData::setDiagnostics(DiagnosticsHandler handler) {
    engine_->setDiagnostics(std::move(handler));
}

void PlotaraData::checkParams(const wchar_t* member, StringView params) const {
    const DiagnosticsChannel& channel = engine_->diagnostics();
    if (!channel.listening() || params.empty()) return;
    const String& delimiter = engine_->delimiter();
    auto check = [&](StringView piece) {
        if (blank(piece)) return;
        const std::size_t equals = piece.find(L'=');
        if (equals == StringView::npos)
            channel.report(Severity::Warning, member,
                           L"The parameter " + quoted(piece) + L" has no \"=\" and was dropped");
        else if (blank(piece.substr(0, equals)))
            channel.report(Severity::Warning, member,
                           L"The parameter " + quoted(piece) + L" has no name and was dropped");
    };
    if (delimiter.empty()) {
        check(params);
        return;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t next = params.find(delimiter, start);
        check(params.substr(start, next == StringView::npos ? StringView::npos : next - start));
        if (next == StringView::npos) return;
        start = next + delimiter.size();
    }
}

void PlotaraData::checkValue(const wchar_t* member, StringView value) const {
    const DiagnosticsChannel& channel = engine_->diagnostics();
    if (!channel.listening() || blank(value) || readsAsNumber(value)) return;
    channel.report(Severity::Warning, member,
                   L"The value " + quoted(value) +
                       L" is not a number: the point is drawn without a value");
}

} // namespace plotara
