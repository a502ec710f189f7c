// Movie URL building and rendering: RenderChart, the data-source writers, the design-time
// preview and the chart messages.
#include "control/MovieUrl.h"
#include "control/Plotara.h"
#include "core/ErrorTrap.h"
#include "core/Number.h"
#include "core/Text.h"

namespace plotara {

namespace {

constexpr StringView moviePrefix = L"file:///";

// Runs one statement of a body that ignores errors statement by statement.
template <class Statement>
void step(Statement&& statement) {
    ErrorTrap::resume(std::forward<Statement>(statement));
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
    step([&] { m_RenderXML = data().getXML(); });
    // The data branch is known now (nothing below changes either flag), so the line breaks, and
    // for a document of the data object or a ready text also the tabs and carriage returns, go
    // in one pass.
    bool dataAdded = false;
    step([&] { dataAdded = data().get_isDataAdded(); });
    const bool ownDocument = dataAdded || m_RenderFromXML;
    if (ownDocument)
        movieurl::stripLineBreaksTabsAndCarriageReturns(m_RenderXML);
    else
        m_RenderXML = movieurl::StripLineBreaks(std::move(m_RenderXML));

    String file;
    step([&] { file = GetChartFileName(); });
    // The movie host is given "file:///" and the URL; building both in one buffer saves a copy
    // of the document.
    String movie;
    movie.reserve(moviePrefix.size() + m_ChartPath.size() + 2 * m_ChartMessages.size() +
                  m_ChartXMLFile.size() + m_RenderXML.size() + 256);
    movie += moviePrefix;
    step([&] {
        const String location =
            m_ChartPath.size() == 3 ? m_ChartPath + file : m_ChartPath + L"\\" + file;
        movie += location + L"?nocache=" + timerText();
    });
    if (text::toLower(file) == L"ptm37.swf") step([&] { movie += L"&" + GridParamsQuery(); });
    step([&] { movie += sizeQuery() + m_ChartMessages + debugQuery(); });

    if (ownDocument) {
        movie += L"&dataXML=";
        movie += m_RenderXML;
    } else if (!m_ChartXMLFile.empty()) {
        if (!movieurl::FileExists(m_ChartXMLFile)) {
            step([&] {
                SetChartMessage(enumChartMessageType::Error_in_loading_data, L"XML file not found");
            });
            movie += m_ChartMessages;
            movie += L"&dataURL=";
            movie += m_ChartXMLFile;
            step([&] { movieHost_->put_Movie(movie); });
            return;
        }
        movie += L"&dataURL=";
        movie += m_ChartXMLFile;
    } else {
        movie += L"&dataXML=";
        movie += m_RenderXML;
    }
    m_RenderFromXML = false;
    step([&] { movieHost_->put_Movie(movie); });
    step([&] { data().put_isDataAdded(false); });
}

void Plotara::put_setDataURL(const String& value) {
    const String v = value; // the writer may be handed its own field
    ErrorTrap::capture([&] {
        m_RenderFromXML = false;
        m_ChartXMLFile = v;
        container_.propertyChanged(L"XMLDataPath");
        if (m_RestoringProperties) return;
        if (v.empty()) {
            put_renderedFrom(m_ExternalXML.empty() ? L"dtime" : L"exxml");
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
}

void Plotara::put_setDataXML(const String& value) {
    const String v = value;
    m_ExternalXML = v;
    container_.propertyChanged(L"XMLDataString");
    if (!designMode()) {
        RenderFromXML(v);
        return;
    }
    if (m_RestoringProperties) return;
    if (!v.empty())
        put_renderedFrom(L"exxml");
    else
        put_renderedFrom(m_ChartXMLFile.empty() ? L"dtime" : L"url");
    RefreshDesignPreview();
}

void Plotara::RenderFromXML(const String& xml) {
    m_RenderFromXML = true;
    if (!xml.empty()) {
        data().put_externalXML(xml);
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
    if (m_renderedFrom == L"exxml" && !m_ExternalXML.empty()) {
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
