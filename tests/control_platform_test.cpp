// The headless platform the control runs on in tests and on the command line.
#include "control_test_support.h"

namespace plotara {
namespace {

using test::errorOf;

TEST(ControlPlatform, ContainerUnitsAndFrame) {
    HeadlessContainer c;
    EXPECT_EQ(c.scaleWidth(), 320);
    c.setScaleMode(1);
    EXPECT_EQ(c.scaleWidth(), 4800);
    EXPECT_EQ(c.scaleHeight(), 3600);
    c.setScaleWidth(1500);
    EXPECT_EQ(c.widthPixels(), 100);
    c.setScaleMode(3);
    EXPECT_EQ(c.scaleWidth(), 100);
    EXPECT_EQ(c.height(), 3600); // no border: outer and inner are the same
    c.setBorderStyle(1);
    EXPECT_EQ(c.height(), (240 + 4) * 15); // 3D frame of 2 pixels each side
    c.setAppearance(0);
    c.setHeight(3000);
    EXPECT_EQ(c.heightPixels(), 198);
    for (Integer bad : {0, 4, 8, -1})
        EXPECT_EQ(errorOf([&] { c.setScaleMode(bad); }), 380);
    EXPECT_EQ(errorOf([&] { c.setBorderStyle(2); }), 380);
    EXPECT_EQ(errorOf([&] { c.setAppearance(-1); }), 380);
}

TEST(ControlPlatform, ContainerRecordsAndAnswers) {
    HeadlessContainer c;
    std::vector<String> order;
    c.bind({[&] { order.push_back(L"show"); }, [&] { order.push_back(L"resize"); },
            [&] { order.push_back(L"hide"); }, [&] { order.push_back(L"ambient"); }});
    c.show();
    c.resize(10, 20);
    c.hide();
    c.setUserMode(false);
    EXPECT_EQ(order, (std::vector<String>{L"show", L"resize", L"hide", L"ambient"}));
    EXPECT_FALSE(c.ambientUserMode());
    c.queueAnswer(7);
    c.propertyChanged(L"Border");
    c.raiseEvent(PlotaraEvent::DrillDown, {Variant(L"f"), Variant()});
    EXPECT_EQ(c.messageBox(L"Sure?", 4 + 32, L"Title"), 7);
    EXPECT_EQ(c.messageBox(L"Done"), 1);
    EXPECT_EQ(c.journal(), (std::vector<String>{L"changed Border", L"event DrillDown",
                                                L"message Sure?", L"message Done"}));
    const MessageBoxRecord& first = c.messageBoxes()[0];
    EXPECT_EQ(std::make_tuple(first.buttons, first.icon, first.caption, first.answer),
              std::make_tuple(Long{4}, Long{32}, String(L"Title"), Long{7}));
    EXPECT_EQ(c.events()[0].args.size(), 2u);
}

// With no answer queued, each box gets the button Enter would press: its default button, never
// a button it does not have.
TEST(ControlPlatform, UnansweredBoxesGetTheirDefaultButton) {
    const struct {
        Long style;
        Long answer;
    } cases[] = {
        {0, 1},              // OK
        {1 + 32, 1},         // OK/Cancel
        {1 + 0x100, 2},      // OK/Cancel, Cancel the default
        {2, 3},              // Abort/Retry/Ignore
        {2 + 0x200, 5},      // ... Ignore the default
        {3 + 0x100, 7},      // Yes/No/Cancel, No the default
        {4 + 48, 6},         // Yes/No
        {4 + 0x100 + 16, 7}, // Yes/No, No the default
        {4 + 0x200, 6},      // a third default in a set of two: the first
        {5, 4},              // Retry/Cancel
        {5 + 0x100, 2},      // Retry/Cancel, Cancel the default
    };
    HeadlessContainer c;
    for (const auto& k : cases) {
        EXPECT_EQ(c.messageBox(L"?", k.style), k.answer) << k.style;
        EXPECT_EQ(c.messageBoxes().back().answer, k.answer) << k.style;
    }
    c.queueAnswer(2);
    EXPECT_EQ(c.messageBox(L"queued", 4), 2); // a queued answer is given as queued
    EXPECT_EQ(c.messageBox(L"after", 4), 6);
}

TEST(ControlPlatform, MovieHostRecordsAndDelivers) {
    HeadlessMovieHost host;
    std::vector<String> delivered;
    host.deliver(L"lost"); // nobody listens yet
    host.onFlashCall([&](const String& r) { delivered.push_back(r); });
    host.deliver(L"1");
    host.put_Movie(L"a");
    host.keepMovies(false);
    host.put_Movie(L"b");
    host.put_Movie(L"c");
    EXPECT_EQ(delivered, std::vector<String>{L"1"});
    EXPECT_EQ(host.movies(), std::vector<String>{L"c"});
    EXPECT_EQ(host.get_Movie(), L"c");
    host.setReply([](const String& r) { return L"<string>" + r + L"</string>"; });
    EXPECT_EQ(host.CallFunction(L"x"), L"<string>x</string>");
}

TEST(ControlPlatform, SystemClockStaysWithinADay) {
    const Single now = SystemClock().secondsSinceMidnight();
    EXPECT_GE(now, 0);
    EXPECT_LT(now, 86400);
}

} // namespace
} // namespace plotara
