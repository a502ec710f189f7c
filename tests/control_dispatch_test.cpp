// The control late-bound: every member by name and dispatch id, and the typical run-time request
// from filling the data object to a link click.
#include "control_test_support.h"
#include "core/SafeArray.h"
#include "core/Text.h"

namespace plotara {
namespace {

using test::ControlRig;
using test::errorOf;
using test::timer;

Variant call(Plotara& control, const wchar_t* name, std::vector<Variant> args = {},
             InvokeKind kind = InvokeKind::Method) {
    return callByName(control, name, kind, std::move(args));
}

TEST(ControlDispatch, EveryMemberHasItsDispatchId) {
    struct Member {
        const wchar_t* name;
        Long id;
    };
    const Member members[] = {
        {L"Data", 0x40030016},          {L"Enabled", 0x6803000C},
        {L"hWnd", 0x6803000B},          {L"Border", 0x6803000A},
        {L"BGColor", 0x68030009},       {L"Menu", 0x68030008},
        {L"ChartType", 0x68030007},     {L"ChartHeight", 0x68030005},
        {L"ChartPath", 0x68030003},     {L"setDataXML", 0x68030002},
        {L"setDataURL", 0x68030001},    {L"Debugger", 0x68030000},
        {L"Refresh", 0x6003000D},       {L"SetChartMessage", 0x60030024},
        {L"RenderChart", 0x6003002A},   {L"PrintChart", 0x6003002B},
        {L"SaveAsImage", 0x6003002D},   {L"GetPicture", 0x6003002E},
        {L"Version", 0x60030033},       {L"SetChartType", 0x60030034},
        {L"GetChartArray", 0x60030035},
    };
    ControlRig rig;
    for (const Member& m : members) {
        EXPECT_EQ(rig->idOfName(m.name), m.id) << toUtf8(m.name);
        EXPECT_EQ(rig->idOfName(text::toLower(m.name)), m.id) << toUtf8(m.name);
    }
    for (const wchar_t* hidden : {L"renderedFrom", L"RenderFromXML", L"FlashCall", L"ChartWidth"})
        EXPECT_EQ(errorOf([&] { rig->idOfName(hidden); }), 438) << toUtf8(hidden);
}

TEST(ControlDispatch, PropertiesLateBound) {
    ControlRig rig;
    auto put = [&](const wchar_t* name, Variant value) {
        call(*rig, name, {std::move(value)}, InvokeKind::PropertyPut);
    };
    auto get = [&](const wchar_t* name) { return call(*rig, name, {}, InvokeKind::PropertyGet); };
    put(L"Border", Variant(Long{1}));
    put(L"BGColor", Variant(L"abcdef"));
    put(L"Menu", Variant(false));
    put(L"ChartType", Variant(Integer{11}));
    put(L"ChartPath", Variant(L"/charts"));
    put(L"Debugger", Variant(true));
    put(L"Enabled", Variant(false));
    put(L"ChartHeight", Variant(1500.0));
    EXPECT_EQ(get(L"Border"), Variant(Long{1}));
    EXPECT_EQ(get(L"BGColor"), Variant(L"abcdef"));
    EXPECT_EQ(get(L"Menu"), Variant(false));
    EXPECT_EQ(get(L"ChartType"), Variant(Long{11}));
    EXPECT_EQ(get(L"ChartPath"), Variant(L"/charts"));
    EXPECT_EQ(get(L"Debugger"), Variant(true));
    EXPECT_EQ(get(L"Enabled"), Variant(false));
    EXPECT_EQ(get(L"hWnd"), Variant(rig.container.hWnd()));
    EXPECT_EQ(errorOf([&] { get(L"ChartHeight"); }), 438);
    EXPECT_EQ(errorOf([&] { put(L"hWnd", Variant(Long{1})); }), 438);
    EXPECT_EQ(rig.container.height(), 1500);
    put(L"setDataURL", Variant(L"http://example.com/d.xml"));
    EXPECT_EQ(get(L"setDataURL"), Variant(L"http://example.com/d.xml"));
    put(L"setDataXML", Variant(L"<chart></chart>"));
    EXPECT_EQ(get(L"setDataXML"), Variant(L"<chart></chart>"));
}

TEST(ControlDispatch, DataByReference) {
    ControlRig rig;
    const Variant data = call(*rig, L"Data", {}, InvokeKind::PropertyGet);
    ASSERT_TRUE(data.isObject());
    EXPECT_EQ(data.asObject().get(), rig->get_Data().get());
    auto replacement = std::make_shared<PlotaraData>();
    call(*rig, L"Data", {Variant(std::static_pointer_cast<Dispatch>(replacement))},
         InvokeKind::PropertyPutRef);
    EXPECT_EQ(rig->get_Data(), replacement);
    // The data object is reachable late-bound through the control.
    callByName(*call(*rig, L"Data", {}, InvokeKind::PropertyGet).asObject(), L"addChartData",
               InvokeKind::Method, {Variant(L"5")});
    EXPECT_TRUE(replacement->get_isDataAdded());
    // Another kind of object is refused.
    EXPECT_EQ(errorOf([&] {
                  call(*rig, L"Data",
                       {Variant(std::shared_ptr<Dispatch>(rig.control.get(), [](Dispatch*) {}))},
                       InvokeKind::PropertyPutRef);
              }),
              13);
}

TEST(ControlDispatch, MethodsLateBound) {
    ControlRig rig;
    EXPECT_EQ(call(*rig, L"Version"), Variant(L"1.0.0"));
    const Variant all = call(*rig, L"GetChartArray");
    EXPECT_EQ(all.array().lbound(), 0);
    EXPECT_EQ(all.array().ubound(), 36);
    EXPECT_EQ(all.array().at(36), Variant(L"scatter"));
    const Variant none = call(*rig, L"GetChartArray", {Variant(Long{8})});
    EXPECT_EQ(none.array().size(), 0u);
    std::vector<Variant> args = {Variant(Long{2}), Variant(L"Fetching")};
    rig->invoke(rig->idOfName(L"SetChartMessage"), InvokeKind::Method, args);
    EXPECT_EQ(args[0], Variant(Long{2})); // by reference, left unchanged
    EXPECT_EQ(rig->chartMessages(), L"&XMLLoadingText=Fetching");
    EXPECT_EQ(errorOf([&] {
                  call(*rig, L"SetChartMessage", {Variant(Long{9}), Variant(L"x")});
              }),
              9);
    call(*rig, L"SetChartType", {Variant(L"Bubble")});
    EXPECT_EQ(rig->get_ChartType(), enumChartNames::bubble);
    EXPECT_EQ(rig.host->movies().size(), 1u);
    call(*rig, L"RenderChart");
    call(*rig, L"PrintChart");
    call(*rig, L"Refresh");
    EXPECT_EQ(rig.host->movies().size(), 2u);
    EXPECT_EQ(rig.host->requests().size(), 1u);
    EXPECT_EQ(rig.container.refreshCount(), 1);
    EXPECT_EQ(errorOf([&] { call(*rig, L"SetChartType"); }), 449);
    // Without a window system installed: nothing is captured and the Save dialog cancels.
    EXPECT_EQ(call(*rig, L"SaveAsImage"), Variant(false));
    const Variant picture = call(*rig, L"GetPicture");
    ASSERT_TRUE(picture.isObject());
    EXPECT_EQ(callByName(*picture.asObject(), L"Handle", InvokeKind::PropertyGet),
              Variant(Long{0}));
    EXPECT_TRUE(rig.container.messageBoxes().empty());
}

// The typical run-time request: the host fills Data, renders, the movie calls back, the user
// clicks a link.
TEST(ControlDispatch, TypicalRunTimeRequestEndToEnd) {
    ControlRig rig;
    rig->put_ChartPath(LR"(C:\Charts)");
    rig->put_ChartType(enumChartNames::mscolumn2d);
    std::vector<String> heard;
    rig.container.onEvent([&](PlotaraEvent event, const std::vector<Variant>& args) {
        String line = eventName(event);
        for (const Variant& arg : args)
            line +=
                L" " + (arg.isArray() ? L"[" + toText(arg.array().at(0)) + L"..]" : toText(arg));
        heard.push_back(line);
    });
    auto data = rig->get_Data();
    data->setChartParams(L"caption=Sales;numberPrefix=$");
    data->addCategory(L"Jan");
    data->addCategory(L"Feb");
    data->addDataset(L"2008");
    data->addChartData(L"10");
    data->addChartData(L"20");
    rig.clear();
    rig->RenderChart();
    ASSERT_EQ(rig.host->movies().size(), 1u);
    EXPECT_EQ(rig.lastMovie(),
              LR"(file:///C:\Charts\PTM11.swf?nocache=)" + timer +
                  L"&chartWidth=320&chartHeight=240&registerWithJS=1&debugMode=0&dataXML="
                  L"<chart caption='Sales' numberPrefix='$'><categories><category label='Jan' "
                  L"/><category label='Feb' /></categories><dataset seriesName='2008'><set "
                  L"value='10'  /><set value='20'  /></dataset></chart>");
    EXPECT_FALSE(data->get_isDataAdded());
    rig.host->deliver(L"<invoke name=\"PT_Loaded\" returntype=\"xml\"><arguments><string>"
                      L"</string></arguments></invoke>");
    rig.host->deliver(L"<invoke name=\"PT_Rendered\" returntype=\"xml\"><arguments><string>"
                      L"</string></arguments></invoke>");
    rig.host->deliver(L"<invoke name=\"showDetails\" returntype=\"xml\"><arguments><string>"
                      L"Jan,10</string></arguments></invoke>");
    EXPECT_EQ(heard, (std::vector<String>{L"ChartLoaded", L"ChartRendered",
                                          L"DrillDown showDetails [Jan..]"}));
    const RaisedEvent& click = rig.container.events().back();
    EXPECT_EQ(click.args[1], Variant(SafeArray::of({Variant(L"Jan"), Variant(L"10")})));
    // The next recording call starts a new document.
    data->addChartData(L"30");
    EXPECT_EQ(data->getXML().find(L"'10'"), String::npos);
}

} // namespace
} // namespace plotara
