// Movie URL building and rendering: RenderChart, the data-source writers, the design-time
// preview and the chart messages.
#include "control/MovieUrlText.h"
#include "control/Plotara.h"
#include "core/ErrorTrap.h"
#include "core/Number.h"
#include "core/Text.h"

namespace plotara {

namespace {

constexpr StringView moviePrefix = L"file:///";

// Runs one statement of a body that ignores errors statement by statement; a listening host
// hears of the statement that was skipped.
template <class Statement>
void step(const DiagnosticsChannel& channel, Statement&& statement) {
    if (const auto error = ErrorTrap::capture(std::forward<Statement>(statement)))
        channel.report(Severity::Warning, L"RenderChart",
                       L"A step was skipped after error " + text::decimal(error->number()) + L" " +
                           error->description());
}

} // namespace

String Plotara::timerText() const {
    return movieurl::numberText(clock_->secondsSinceMidnight(), number::localeDecimalSeparator());
}

String Plotara::sizeQuery() const {
    const wchar_t separator = number::localeDecimalSeparator();
    return L"&chartWidth=" + movieurl::numberText(container_.scaleWidth(), separator) +
           L"&chartHeight=" + movieurl::numberText(container_.scaleHeight(), separator);
}

String Plotara::debugQuery() const {
    return m_Debugger ? L"&registerWithJS=1&debugMode=1" : L"&registerWithJS=1&debugMode=0";
}

String Plotara::movieBase(bool driveRootRule) const {
    String base = m_ChartPath;
    if (!(driveRootRule && m_ChartPath.size() == 3)) base += L'\\';
    base += GetChartFileName();
    base += L"?nocache=";
    base += timerText();
    return base;
}

void Plotara::loadMovie(const String& url) {
    String movie;
    movie.reserve(moviePrefix.size() + url.size());
    movie += moviePrefix;
    movie += url;
    movieHost_->put_Movie(movie);
}

String Plotara::GridParamsQuery() const {
    return text::replace(data().getGridParams(), L";", L"&");
}

void Plotara::RenderChart() {
    // The document is read in place from the data object: a setDataXML document is handed on as
    // the UTF-8 text the data object shares, a generated one as the UTF-8 text the data object
    // keeps of it. When it cannot be read, the chart prepared last time is prepared again, as
    // the field that holds it would be.
    std::shared_ptr<const std::string> external, generated;
    StringView document;
    String previous;
    const bool fromData = ErrorTrap::resume([&] {
        if (data().get_isExternalXML()) external = data().externalXMLText();
        if (external) return;
        generated = data().packDocument();
        if (!generated) document = data().documentView();
    });
    if (!fromData) {
        external.reset();
        generated.reset();
        previous = renderXML();
        document = previous;
    }
    auto appendDocument = [&](std::string& out, bool everything) {
        if (external || generated) {
            movieurl::appendWithoutLineBreaks(
                out, std::string_view(external ? *external : *generated), everything);
        } else {
            movieurl::appendWithoutLineBreaks(out, document, everything);
        }
    };
    // The data branch is known now (nothing below changes either flag): it decides which line
    // breaks, tabs and carriage returns the URL leaves out of the document.
    bool dataAdded = false;
    step(diagnostics_, [&] { dataAdded = data().get_isDataAdded(); });
    const bool ownDocument = dataAdded || m_RenderFromXML;

    String file;
    step(diagnostics_, [&] { file = GetChartFileName(); });
    String head = renderHead(file);
    if (!ownDocument && !m_ChartXMLFile.empty()) {
        auto prepared = std::make_shared<std::string>();
        appendDocument(*prepared, false);
        renderDataFile(head, std::move(prepared));
        return;
    }
    // The document goes to the movie host beside the URL's head, not copied into it, with the
    // line breaks (and for a document of the data object or a ready text also the tabs and
    // carriage returns) the URL leaves out still in it: the host drops them as it reads it. A
    // ready text goes as the control and the data object share it; a generated one as the UTF-8
    // text the data object wrote it as and keeps, so that the document is held once while the
    // player parses and draws. The host keeps the parts for as long as it shows the chart, and
    // nobody changes them once handed out.
    head += L"&dataXML=";
    MovieUrlParts parts;
    parts.head = toUtf8(head);
    parts.form =
        ownDocument ? MovieDocumentForm::WithoutCrLfAndTabs : MovieDocumentForm::WithoutCrLf;
    if (external) {
        parts.document = external;
        // A document generated before the ready text was given is not needed while it shows.
        static_cast<void>(ErrorTrap::resume([&] { data().packDocument(); }));
    } else {
        // A document the data object cannot keep as UTF-8 (or the one prepared last time) is
        // converted here.
        parts.document =
            generated ? generated : std::make_shared<const std::string>(toUtf8(document));
    }
    renderText_ = parts.document;
    renderForm_ = parts.form;
    m_RenderFromXML = false;
    step(diagnostics_, [&] { movieHost_->put_MovieParts(std::move(parts)); });
    step(diagnostics_, [&] { data().put_isDataAdded(false); });
}

String Plotara::renderHead(const String& file) {
    String head;
    head.reserve(moviePrefix.size() + m_ChartPath.size() + 2 * m_ChartMessages.size() +
                 m_ChartXMLFile.size() + 256);
    head += moviePrefix;
    step(diagnostics_, [&] {
        const String location =
            m_ChartPath.size() == 3 ? m_ChartPath + file : m_ChartPath + L"\\" + file;
        head += location + L"?nocache=" + timerText();
    });
    if (text::toLower(file) == L"ptm37.swf")
        step(diagnostics_, [&] { head += L"&" + GridParamsQuery(); });
    step(diagnostics_, [&] { head += sizeQuery() + m_ChartMessages + debugQuery(); });
    return head;
}

void Plotara::renderDataFile(const String& head, std::shared_ptr<std::string> prepared) {
    renderText_ = std::move(prepared);
    renderForm_ = MovieDocumentForm::Whole;
    // A new URL each time: the movie host keeps the last one (get_Movie), so it is never
    // changed once handed out.
    auto movie = std::make_shared<std::string>(toUtf8(head));
    if (!movieurl::FileExists(m_ChartXMLFile)) {
        diagnostics_.report(Severity::Error, L"RenderChart",
                            L"The data file '" + m_ChartXMLFile + L"' does not exist");
        step(diagnostics_, [&] {
            SetChartMessage(enumChartMessageType::Error_in_loading_data, L"XML file not found");
        });
        *movie += toUtf8(m_ChartMessages + L"&dataURL=" + m_ChartXMLFile);
        step(diagnostics_, [&] { movieHost_->put_MovieText(movie); });
        return;
    }
    *movie += toUtf8(L"&dataURL=" + m_ChartXMLFile);
    m_RenderFromXML = false;
    step(diagnostics_, [&] { movieHost_->put_MovieText(movie); });
    step(diagnostics_, [&] { data().put_isDataAdded(false); });
}

void Plotara::put_setDataURL(const String& value) {
    const String v = value; // the writer may be handed its own field
    const auto failure = ErrorTrap::capture([&] {
        m_RenderFromXML = false;
        m_ChartXMLFile = v;
        container_.propertyChanged(L"XMLDataPath");
        if (m_RestoringProperties) return;
        if (v.empty()) {
            put_renderedFrom(hasExternalXML() ? L"exxml" : L"dtime");
            RefreshDesignPreview();
            return;
        }
        if (text::instr(v, L"http://") == 0 && text::instr(v, L"https://") == 0) {
            const String base = movieBase(false);
            String url;
            if (movieurl::FileExists(v)) {
                url =
                    base + sizeQuery() + m_ChartMessages + debugQuery() + L"&dataURL=file:///" + v;
            } else {
                diagnostics_.report(Severity::Error, L"setDataURL",
                                    L"The data file '" + v + L"' does not exist");
                url = text::replace(base, L"\\", L"/") + sizeQuery();
                SetChartMessage(enumChartMessageType::Error_in_loading_data, L"XML file not found");
                url += m_ChartMessages + debugQuery();
            }
            loadMovie(url);
            if (designMode()) put_renderedFrom(L"url");
            return;
        }
        loadMovie(movieBase(false) + sizeQuery() + m_ChartMessages + debugQuery() + L"&dataURL=" +
                  v);
    });
    if (failure)
        diagnostics_.report(Severity::Error, L"setDataURL",
                            L"The writer stopped after error " + text::decimal(failure->number()) +
                                L" " + failure->description());
}

String Plotara::get_setDataXML() const {
    return m_ExternalXML ? fromUtf8(*m_ExternalXML) : String();
}

void Plotara::put_setDataXML(const String& value) {
    put_setDataXMLText(std::make_shared<const std::string>(toUtf8(value)));
}

void Plotara::put_setDataXMLText(std::shared_ptr<const std::string> utf8) {
    // The text is kept once: the data object shares it, and the movie URL is written from it.
    m_ExternalXML = movieurl::validUtf8(std::move(utf8));
    container_.propertyChanged(L"XMLDataString");
    if (!designMode()) {
        RenderFromXML(m_ExternalXML);
        return;
    }
    if (m_RestoringProperties) return;
    if (hasExternalXML())
        put_renderedFrom(L"exxml");
    else
        put_renderedFrom(m_ChartXMLFile.empty() ? L"dtime" : L"url");
    RefreshDesignPreview();
}

void Plotara::RenderFromXML(const String& xml) {
    RenderFromXML(std::make_shared<const std::string>(toUtf8(xml)));
}

void Plotara::RenderFromXML(std::shared_ptr<const std::string> utf8) {
    m_RenderFromXML = true;
    if (utf8 && !utf8->empty()) {
        data().put_externalXMLText(std::move(utf8));
        data().put_isExternalXML(true);
    }
    RenderChart();
}

void Plotara::RenderFromURL(const String& location) {
    const String u = location;
    m_RenderFromXML = false;
    data().put_isDataAdded(false);
    data().resetData();
    put_setDataURL(u);
}

void Plotara::RefreshDesignPreview() {
    movieHost_->put_BGColor(m_BGColor);
    if (m_renderedFrom == L"url") {
        RenderFromURL(m_ChartXMLFile);
        return;
    }
    if (m_renderedFrom == L"exxml" && hasExternalXML()) {
        RenderFromXML(m_ExternalXML);
        return;
    }
    if (m_renderedFrom == L"exxml" || m_renderedFrom == L"dtime") {
        const String url = BuildSampleMovieURL();
        if (!url.empty()) loadMovie(url);
    }
}

String Plotara::BuildSampleMovieURL() const {
    const String sample = GetSampleXML();
    if (sample.empty()) return String();
    return movieBase(false) + sizeQuery() + m_ChartMessages + debugQuery() + L"&BGColor=" +
           m_BGColor + L"&dataXML=" + sample;
}

void Plotara::SetChartMessage(enumChartMessageType msgType, const String& message) {
    if (text::trim(message).empty()) return;
    const Integer type = number::toInteger(static_cast<double>(static_cast<Long>(msgType)));
    m_ChartMessages += L"&" + movieurl::ChartMessageParamName(type) + L"=" + message;
}

} // namespace plotara
