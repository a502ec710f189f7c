// The control late-bound (every member by name and dispatch id, and the typical run-time request
// from filling the data object to a link click) and its bridge to the movie: invoke-request
// parsing, the events of FlashCall, and PrintChart.
#include "control/detail/InvokeRequest.h"
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

String request(const String& name, const String& argument) {
    return L"<invoke name=\"" + name + L"\" returntype=\"xml\"><arguments><string>" + argument +
           L"</string></arguments></invoke>";
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
    // Each value reads back as written; ChartType comes back as a Long.
    const std::pair<const wchar_t*, Variant> values[] = {
        {L"Border", Variant(Long{1})},
        {L"BGColor", Variant(L"abcdef")},
        {L"Menu", Variant(false)},
        {L"ChartType", Variant(Long{11})},
        {L"ChartPath", Variant(L"/charts")},
        {L"Debugger", Variant(true)},
        {L"Enabled", Variant(false)},
        {L"setDataURL", Variant(L"http://example.com/d.xml")},
        {L"setDataXML", Variant(L"<chart></chart>")}};
    for (const auto& [name, value] : values) {
        put(name, name == String(L"ChartType") ? Variant(Integer{11}) : value);
        EXPECT_EQ(get(name), value) << toUtf8(name);
    }
    put(L"ChartHeight", Variant(1500.0));
    EXPECT_EQ(get(L"hWnd"), Variant(rig.container.hWnd()));
    EXPECT_EQ(errorOf([&] { get(L"ChartHeight"); }), 438);
    EXPECT_EQ(errorOf([&] { put(L"hWnd", Variant(Long{1})); }), 438);
    EXPECT_EQ(rig.container.height(), 1500);
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
    rig.host->deliver(request(L"PT_Loaded", L""));
    rig.host->deliver(request(L"PT_Rendered", L""));
    rig.host->deliver(request(L"showDetails", L"Jan,10"));
    EXPECT_EQ(heard, (std::vector<String>{L"ChartLoaded", L"ChartRendered",
                                          L"DrillDown showDetails [Jan..]"}));
    const RaisedEvent& click = rig.container.events().back();
    EXPECT_EQ(click.args[1], Variant(SafeArray::of({Variant(L"Jan"), Variant(L"10")})));
    // The next recording call starts a new document.
    data->addChartData(L"30");
    EXPECT_EQ(data->getXML().find(L"'10'"), String::npos);
}

TEST(ControlBridge, ParseInvokeRequest) {
    struct Case {
        const char* what;
        String request, name, argument;
    };
    const Case cases[] = {
        {"plain", request(L"myFunc", L"a,b"), L"myFunc", L"a,b"},
        {"no name attribute", L"<invoke><arguments><string>x</string></arguments></invoke>", L"",
         L""},
        {"empty name takes the text up to the next quote",
         L"<invoke name=\"\" returntype=\"xml\"><arguments><string>x</string></arguments>",
         L"\" returntype=", L"x"},
        {"single quotes and no double quote",
         L"<invoke name='myFunc'><arguments><string>p</string></arguments></invoke>", L"", L"p"},
        {"no closing quote", L"<invoke name=\"abc", L"", L""},
        {"no string element", L"<invoke name=\"f\"><arguments><number>1</number></arguments>", L"f",
         L""},
        {"no closing string tag", L"<invoke name=\"f\"><arguments><string>abc", L"f", L""},
        {"only the first string", request(L"f", L"one</string><string>two"), L"f", L"one"},
        {"empty string element", request(L"f", L""), L"f", L""},
        {"name= found inside the text", L"xname=\"abc\"", L"abc", L""},
    };
    for (const Case& c : cases) {
        const auto parts = ParseInvokeRequest(c.request);
        EXPECT_EQ(parts[0], c.name) << c.what;
        EXPECT_EQ(parts[1], c.argument) << c.what;
        EXPECT_EQ(parts[2], L"") << c.what;
    }
}

TEST(ControlBridge, PartsLongerThan32767CharactersStayEmpty) {
    const String fits(32767, L'a');
    const String tooLong(32768, L'a');
    EXPECT_EQ(ParseInvokeRequest(request(L"f", fits))[1], fits);
    EXPECT_EQ(ParseInvokeRequest(request(L"f", tooLong))[1], L"");
    EXPECT_EQ(ParseInvokeRequest(request(fits, L"x"))[0], fits);
    const auto longName = ParseInvokeRequest(request(tooLong, L"x"));
    EXPECT_EQ(longName[0], L"");
    EXPECT_EQ(longName[1], L"x");
}

TEST(ControlBridge, BuildInvokeRequestEscapesNothingAndPrintChartSendsIt) {
    EXPECT_EQ(BuildInvokeRequest(L"print", L""),
              L"<invoke name='print'> <arguments> <string></string> </arguments> </invoke>");
    EXPECT_EQ(BuildInvokeRequest(L"a'b", L"<&>"),
              L"<invoke name='a'b'> <arguments> <string><&></string> </arguments> </invoke>");
    ControlRig rig;
    rig->PrintChart();
    EXPECT_EQ(rig.host->requests(), std::vector<String>{BuildInvokeRequest(L"print", L"")});
    EXPECT_TRUE(rig.container.messageBoxes().empty());
    rig.host->setReply([](const String&) -> String { raise(errors::component(5, L"No movie")); });
    EXPECT_NO_THROW(rig->PrintChart());
    ASSERT_EQ(rig.container.messageBoxes().size(), 1u);
    const MessageBoxRecord& box = rig.container.messageBoxes()[0];
    EXPECT_EQ(box.text, L"Error Number: " + std::to_wstring(objectErrorBase + 5) +
                            L"\nDescription: No movie");
    EXPECT_EQ(box.buttons, 0);
    EXPECT_EQ(box.icon, 0);
    EXPECT_EQ(box.caption, L"");
}

TEST(ControlBridge, CallbackNamesBecomeEvents) {
    struct Case {
        String request;
        std::vector<String> journal;
    };
    const Case cases[] = {
        {request(L"PT_Loaded", L"whatever"), {L"event ChartLoaded"}},
        {request(L"PT_Rendered", L""), {L"event ChartRendered"}},
        {L"1", {L"event ChartRendered"}},
        {request(L"PT_Invoke", L"x"), {}},
        {request(L"pt_loaded", L""), {L"event DrillDown"}},
        {L"garbage", {L"event DrillDown"}},
    };
    for (const Case& c : cases) {
        ControlRig rig;
        rig.host->deliver(c.request);
        EXPECT_EQ(rig.container.journal(), c.journal) << toUtf8(c.request);
    }
}

TEST(ControlBridge, DrillDownCarriesTheNameAndTheSplitArgument) {
    ControlRig rig;
    rig.host->deliver(request(L"myFunc", L"a,b,,c"));
    rig.host->deliver(request(L"myFunc", L""));
    rig.host->deliver(L"<invoke name='single'><arguments><string>p</string></arguments>");
    const auto& events = rig.container.events();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].event, PlotaraEvent::DrillDown);
    EXPECT_EQ(events[0].args[0], Variant(L"myFunc"));
    EXPECT_EQ(events[0].args[1],
              Variant(SafeArray::of({Variant(L"a"), Variant(L"b"), Variant(L""), Variant(L"c")})));
    EXPECT_EQ(events[0].args[1].array().lbound(), 0);
    EXPECT_EQ(events[1].args[0], Variant(L"myFunc"));
    EXPECT_TRUE(events[1].args[1].isEmpty());
    EXPECT_EQ(events[2].args[0], Variant(L""));
    EXPECT_EQ(events[2].args[1], Variant(SafeArray::of({Variant(L"p")})));
}

TEST(ControlBridge, ErrorsOfTheHostsHandlerStayInsideTheCallback) {
    ControlRig rig;
    int calls = 0;
    rig.container.onEvent([&](PlotaraEvent, const std::vector<Variant>&) {
        ++calls;
        raise(errors::component(1, L"handler failed"));
    });
    EXPECT_NO_THROW(rig.host->deliver(request(L"PT_Loaded", L"")));
    EXPECT_NO_THROW(rig.host->deliver(request(L"link", L"1,2")));
    EXPECT_EQ(calls, 2);
}

} // namespace
} // namespace plotara
