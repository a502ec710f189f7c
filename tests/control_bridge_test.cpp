// The movie bridge: invoke-request parsing, the events of FlashCall, and PrintChart.
#include "control/detail/InvokeRequest.h"
#include "control_test_support.h"
#include "core/SafeArray.h"

namespace plotara {
namespace {

using test::ControlRig;

String request(const String& name, const String& argument) {
    return L"<invoke name=\"" + name + L"\" returntype=\"xml\"><arguments><string>" + argument +
           L"</string></arguments></invoke>";
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

TEST(ControlBridge, BuildInvokeRequestEscapesNothing) {
    EXPECT_EQ(BuildInvokeRequest(L"print", L""),
              L"<invoke name='print'> <arguments> <string></string> </arguments> </invoke>");
    EXPECT_EQ(BuildInvokeRequest(L"a'b", L"<&>"),
              L"<invoke name='a'b'> <arguments> <string><&></string> </arguments> </invoke>");
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

TEST(ControlBridge, PrintChartSendsThePrintRequest) {
    ControlRig rig;
    rig->PrintChart();
    EXPECT_EQ(rig.host->requests(),
              std::vector<String>{
                  L"<invoke name='print'> <arguments> <string></string> </arguments> </invoke>"});
    EXPECT_TRUE(rig.container.messageBoxes().empty());
}

TEST(ControlBridge, PrintChartShowsItsErrorInAMessageBox) {
    ControlRig rig;
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

} // namespace
} // namespace plotara
