// Saving the control's settings into the form's property bag and restoring them.
#include "control/Plotara.h"

#include "control/PlotaraOcxModule.h"

namespace plotara {

namespace {

// Property-bag defaults of the numeric settings travel as 16-bit integers.
const Variant defaultBorder(Integer{2});
const Variant defaultChartType(Integer{1});
const Variant defaultHeight(Integer{240});
const Variant defaultWidth(Integer{320});

// The run-time's CSng: Error 6 when the value does not fit a 32-bit float.
Single toSingle(const Variant& value) {
    const double d = value.asDouble();
    if (d > 3.402823466e38 || d < -3.402823466e38) raise(errors::overflow());
    return static_cast<Single>(d);
}

// Sets the restoring mark for the life of the object; it is cleared however the load ends, so
// that a failed load does not leave the writers' previews suppressed.
class RestoringMark {
public:
    explicit RestoringMark(bool& mark) : mark_(mark) { mark_ = true; }
    ~RestoringMark() { mark_ = false; }
    RestoringMark(const RestoringMark&) = delete;
    RestoringMark& operator=(const RestoringMark&) = delete;

private:
    bool& mark_;
};

} // namespace

void Plotara::InitProperties() {
    m_Border = 2;
    m_ChartType = 1;
    m_ChartPath = GetDefaultChartsPath();
    m_ChartXMLFile.clear();
    m_Menu = true;
    m_Debugger = false;
    m_ExternalXML.reset();
    put_renderedFrom(L"");
}

void Plotara::WriteProperties(PropertyBag& bag) {
    bag.WriteProperty(L"Enabled", Variant(container_.enabled()), Variant(true));
    bag.WriteProperty(L"Border", Variant(m_Border), defaultBorder);
    bag.WriteProperty(L"ChartType", Variant(m_ChartType), defaultChartType);
    bag.WriteProperty(L"ChartHeight", Variant(container_.scaleHeight()), defaultHeight);
    bag.WriteProperty(L"ChartWidth", Variant(container_.scaleWidth()), defaultWidth);
    bag.WriteProperty(L"ChartPath", Variant(m_ChartPath), Variant(GetDefaultChartsPath()));
    bag.WriteProperty(L"ChartXMLFile", Variant(m_ChartXMLFile), Variant(L""));
    bag.WriteProperty(L"Debugger", Variant(m_Debugger), Variant(false));
    bag.WriteProperty(L"ExternalXML", Variant(get_setDataXML()), Variant(L""));
    bag.WriteProperty(L"renderedFrom", Variant(m_renderedFrom), Variant(L""));
    bag.WriteProperty(L"BGColor", Variant(m_BGColor), Variant(L"ffffff"));
    bag.WriteProperty(L"Menu", Variant(m_Menu), Variant(true));
}

void Plotara::ReadProperties(PropertyBag& bag) {
    container_.setEnabled(bag.ReadProperty(L"Enabled", Variant(true)).asBool());
    m_Border = bag.ReadProperty(L"Border", defaultBorder).asLong();
    m_ChartType = bag.ReadProperty(L"ChartType", defaultChartType).asLong();
    container_.setScaleHeight(toSingle(bag.ReadProperty(L"ChartHeight", defaultHeight)));
    container_.setScaleWidth(toSingle(bag.ReadProperty(L"ChartWidth", defaultWidth)));
    const Variant defaultFolder(GetDefaultChartsPath());
    m_ChartPath = toText(bag.ReadProperty(L"ChartPath", defaultFolder));
    m_ChartXMLFile = toText(bag.ReadProperty(L"ChartXMLFile", Variant(L"")));
    m_Debugger = bag.ReadProperty(L"Debugger", Variant(false)).asBool();
    m_ExternalXML = std::make_shared<const std::string>(
        toUtf8(toText(bag.ReadProperty(L"ExternalXML", Variant(L"")))));
    m_BGColor = toText(bag.ReadProperty(L"BGColor", Variant(L"ffffff")));
    m_Menu = bag.ReadProperty(L"Menu", Variant(true)).asBool();
    data().put_externalXMLText(m_ExternalXML);
    m_renderedFrom = toText(bag.ReadProperty(L"renderedFrom", Variant(L"")));

    const RestoringMark restoring(m_RestoringProperties);
    put_Border(static_cast<enumBorderStyle>(m_Border));
    put_ChartType(static_cast<enumChartNames>(m_ChartType));
    put_ChartPath(m_ChartPath);
    put_Debugger(m_Debugger);
    put_setDataXMLText(m_ExternalXML);
    put_setDataURL(m_ChartXMLFile);
    movieHost_->put_BGColor(m_BGColor);
    movieHost_->put_Menu(m_Menu);
    put_renderedFrom(m_renderedFrom);
}

} // namespace plotara
