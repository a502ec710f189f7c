// The control's members over the chart catalogue: ChartType, SetChartType, GetChartArray and the
// movie file and sample document of the current type.
#include "control/Catalogue.h"
#include "control/Plotara.h"
#include "core/ErrorTrap.h"
#include "core/Number.h"
#include "core/Text.h"

#include <limits>

namespace plotara {

namespace {

bool fits16(Long value) {
    return value >= std::numeric_limits<Integer>::min() &&
           value <= std::numeric_limits<Integer>::max();
}

bool endsWithSwf(const String& file) {
    return file.size() >= 4 && text::toUpper(StringView(file).substr(file.size() - 4)) == L".SWF";
}

} // namespace

String Plotara::GetChartFileName() const {
    if (!fits16(m_ChartType)) return String();
    return catalogue::ChartMovieFile(1, static_cast<Integer>(m_ChartType));
}

String Plotara::GetSampleXML() const {
    return catalogue::sampleXML(m_ChartType);
}

void Plotara::put_ChartType(enumChartNames value) {
    applyChartType(static_cast<Long>(value));
}

// A type without a movie file steps to the next one, wrapping from 37 to 1; with the full edition
// every type from 1 to 37 has a file, so the stepping ends at 1 for every other value and goes
// there directly (the skipped values would leave no trace but a chart type handed to the data
// object and replaced at once).
void Plotara::applyChartType(Long value) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        m_ChartType = value;
        String file;
        ErrorTrap::resume([&] { file = GetChartFileName(); });
        if (fits16(value))
            ErrorTrap::resume([&] { data().setChartTypeNumber(text::decimal(value)); });
        if (endsWithSwf(file)) {
            bool design = false;
            ErrorTrap::resume([&] { design = designMode(); });
            if (design) {
                if (m_renderedFrom == L"url")
                    ErrorTrap::resume([&] { put_setDataURL(m_ChartXMLFile); });
                else if (m_renderedFrom == L"exxml")
                    ErrorTrap::resume([&] { put_setDataXMLText(m_ExternalXML); });
                else if (m_renderedFrom == L"dtime")
                    ErrorTrap::resume([&] { RefreshDesignPreview(); });
            }
            ErrorTrap::resume([&] { container_.propertyChanged(L"ChartType"); });
            return;
        }
        if (value != 1)
            diagnostics_.report(Severity::Warning, L"ChartType",
                                L"Chart type " + text::decimal(value) +
                                    L" has no chart movie (types are 1 to 37) and became 1");
        value = 1;
    }
}

void Plotara::SetChartType(const String& sChartType) {
    const Long type = catalogue::typeOfName(text::toLower(sChartType));
    if (type == 0)
        diagnostics_.report(Severity::Warning, L"SetChartType",
                            L"'" + sChartType + L"' is not a chart type name; type 1 is used");
    put_ChartType(static_cast<enumChartNames>(type == 0 ? 1 : type));
    RenderChart();
}

std::vector<String> Plotara::GetChartArray(enumChartGroup eChartType) {
    return catalogue::groupNames(static_cast<Long>(eChartType));
}

} // namespace plotara
