// The control's state, its property writers and the container's lifecycle calls.
#include "control/Plotara.h"

#include "control/PlotaraOcxModule.h"
#include "core/ErrorTrap.h"
#include "core/Number.h"
#include "core/Text.h"

namespace plotara {

Plotara::Plotara(Container& container, std::unique_ptr<MovieHost> movieHost,
                 std::shared_ptr<const Clock> clock)
    : container_(container), movieHost_(std::move(movieHost)), clock_(std::move(clock)),
      data_(std::make_shared<PlotaraData>()) {
    if (!movieHost_) raise(objectVariableNotSet());
    if (!clock_) clock_ = std::make_shared<SystemClock>();
    movieHost_->applySettings(MovieHostSettings{});
    movieHost_->onFlashCall([this](const String& request) { FlashCall(request); });
}

Plotara::~Plotara() {
    // The movie host may outlive this call by a moment while it is torn down: no more events.
    // A failing host cannot stop the release.
    ErrorTrap::resume([this] { movieHost_->onFlashCall(nullptr); });
}

PlotaraData& Plotara::data() const {
    if (!data_) raise(objectVariableNotSet());
    return *data_;
}

bool Plotara::designMode() const {
    return !container_.ambientUserMode();
}

void Plotara::putref_Data(std::shared_ptr<PlotaraData> data) {
    data_ = std::move(data);
    if (data_ && diagnostics_.listening()) data_->setDiagnostics(diagnostics_.handler());
}

void Plotara::setDiagnostics(DiagnosticsHandler handler) {
    diagnostics_.set(handler);
    if (data_) data_->setDiagnostics(handler);
    if (auto* source = dynamic_cast<DiagnosticsSource*>(movieHost_.get()))
        source->setDiagnostics(std::move(handler));
}

bool Plotara::get_Enabled() const {
    return container_.enabled();
}

void Plotara::put_Enabled(bool value) {
    container_.setEnabled(value);
    container_.propertyChanged(L"Enabled");
}

Long Plotara::get_hWnd() const {
    return container_.hWnd();
}

void Plotara::put_Border(enumBorderStyle value) {
    m_Border = static_cast<Long>(value);
    const Integer t = number::toInteger(static_cast<double>(m_Border));
    container_.setBorderStyle(t <= 0 ? 0 : 1);
    container_.setAppearance(t <= 1 ? 0 : 1);
    container_.propertyChanged(L"Border");
}

void Plotara::put_BGColor(const String& value) {
    m_BGColor = value;
    ErrorTrap::resume([&] { movieHost_->put_BGColor(value); });
    ErrorTrap::resume([&] {
        if (designMode() && !m_RestoringProperties) RefreshDesignPreview();
    });
    ErrorTrap::resume([&] { container_.propertyChanged(L"BGColor"); });
}

void Plotara::put_Menu(bool value) {
    m_Menu = value;
    movieHost_->put_Menu(value);
    container_.propertyChanged(L"Menu");
}

void Plotara::put_ChartHeight(Single value) {
    container_.setHeight(value);
    movieHost_->put_Height(value);
    container_.propertyChanged(L"ChartHeight");
}

void Plotara::put_ChartPath(const String& value) {
    m_ChartPath = value;
    container_.propertyChanged(L"ChartPath");
    if (designMode() && !m_RestoringProperties) RefreshDesignPreview();
}

void Plotara::put_Debugger(bool value) {
    m_Debugger = value;
    container_.propertyChanged(L"Debugger");
    if (designMode() && !m_RestoringProperties) RefreshDesignPreview();
}

void Plotara::put_renderedFrom(const String& value) {
    m_renderedFrom = value;
    container_.propertyChanged(L"renderedFrom");
}

void Plotara::Refresh() {
    container_.refresh();
}

String Plotara::Version() {
    return componentVersion();
}

void Plotara::onShow() {
    const auto error = ErrorTrap::capture([&] { showHandler(); });
    if (!error) return;
    // "Soruce" is misspelt on purpose: hosts see and may match this exact text.
    container_.messageBox(text::decimal(error->number()) + L": " + L"Error Soruce: " +
                              error->source() + L"\n" + error->description(),
                          0);
}

// Leaves by returning early wherever the handler stops without raising Show.
void Plotara::showHandler() {
    if (!container_.ambientDisplayName().empty() && !container_.extenderVisible()) return;
    const bool design = designMode();
    if (design) {
        put_Border(static_cast<enumBorderStyle>(m_Border));
    } else {
        const String x = data().getXML();
        const bool hasOwnDocument = !text::trim(x).empty() && x != L"<chart></chart>" &&
                                    x != L"<chart>\r\n</chart>" &&
                                    x != L"<chart><categories></categories></chart>" &&
                                    x != L"<chart>\r\n<categories>\r\n</categories>\r\n</chart>" &&
                                    !(m_ExternalXML && toUtf8(x) == *m_ExternalXML);
        if (hasOwnDocument) return;
        if (!m_ChartXMLFile.empty()) {
            put_setDataURL(m_ChartXMLFile);
        } else if (!hasExternalXML()) {
            return;
        }
    }
    if (design) {
        if (m_renderedFrom.empty()) put_renderedFrom(L"dtime");
        RefreshDesignPreview();
    }
    container_.raiseEvent(PlotaraEvent::Show, {});
}

void Plotara::onResize() {
    const Single width = container_.scaleWidth();
    const Single height = container_.scaleHeight();
    if (movieHost_->get_Width() != width || movieHost_->get_Height() != height) {
        movieHost_->put_Width(width);
        movieHost_->put_Height(height);
    }
    onShow();
    container_.raiseEvent(PlotaraEvent::Resize, {});
}

void Plotara::onHide() {
    container_.raiseEvent(PlotaraEvent::Hide, {});
}

void Plotara::onAmbientChanged() {}

} // namespace plotara
