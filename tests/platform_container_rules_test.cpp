// The rules every container applies alike: frame and coordinate properties at the common screen
// densities, and the message-box style number taken apart.
#include "core_test_support.h"
#include "platform/ContainerUnits.h"
#include "platform/MessageBoxStyle.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace plotara {
namespace {

using namespace container_units;

TEST(ContainerUnits, UnitsPerPixelAtEachDensity) {
    const struct {
        Integer mode;
        double at96, at144;
    } cases[] = {
        {1, 15, 10},                // twips
        {2, 0.75, 0.5},             // points
        {3, 1, 1},                  // pixels, whatever the density
        {5, 1.0 / 96, 1.0 / 144},   // inches
        {6, 25.4 / 96, 25.4 / 144}, // millimetres
        {7, 2.54 / 96, 2.54 / 144}, // centimetres
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(unitsPerPixel(c.mode, 96), c.at96) << c.mode;
        EXPECT_DOUBLE_EQ(unitsPerPixel(c.mode, 144), c.at144) << c.mode;
    }
}

TEST(ContainerUnits, RefusedValuesRaiseInvalidPropertyValue) {
    for (const Integer mode : {1, 2, 3, 5, 6, 7})
        EXPECT_EQ(checkedScaleMode(mode), mode);
    for (const Integer mode : {-1, 0, 4, 8, 0x7FFF})
        EXPECT_EQ(test::errorOf([&] { checkedScaleMode(mode); }), 380) << mode;
    EXPECT_EQ(checkedFlag(0), 0);
    EXPECT_EQ(checkedFlag(1), 1);
    for (const Integer flag : {-1, 2})
        EXPECT_EQ(test::errorOf([&] { checkedFlag(flag); }), 380) << flag;
    EXPECT_EQ(checkedSize(0), 0);
    EXPECT_EQ(checkedSize(12.5f), 12.5f);
    for (const Single size : {-0.5f, std::numeric_limits<Single>::quiet_NaN()})
        EXPECT_EQ(test::errorOf([&] { checkedSize(size); }), 380) << size;
}

TEST(MessageBoxStyle, ButtonsDefaultAndEscapeOfEachSet) {
    using namespace message_box;
    const struct {
        Long style;
        std::vector<Answer> buttons;
        Answer defaultButton, escape;
        Icon icon;
    } cases[] = {
        {0, {Ok}, Ok, Ok, NoIcon},
        {1 + 16, {Ok, Cancel}, Ok, Cancel, Critical},
        {1 + 0x100, {Ok, Cancel}, Cancel, Cancel, NoIcon},
        {2 + 0x200 + 48, {Abort, Retry, Ignore}, Ignore, Abort, Exclamation},
        {3 + 0x100 + 32, {Yes, No, Cancel}, No, Cancel, Question},
        {4 + 64, {Yes, No}, Yes, No, Information},
        {4 + 0x200, {Yes, No}, Yes, No, NoIcon}, // a third default in a set of two: the first
        {5, {Retry, Cancel}, Retry, Cancel, NoIcon},
        {6 + 80, {Ok}, Ok, Ok, NoIcon}, // unknown set and icon
    };
    for (const auto& c : cases) {
        const Style style = decode(c.style);
        EXPECT_EQ(style.buttons, c.buttons) << c.style;
        EXPECT_EQ(style.defaultButton, c.defaultButton) << c.style;
        EXPECT_EQ(style.escape, c.escape) << c.style;
        EXPECT_EQ(style.icon, c.icon) << c.style;
        EXPECT_EQ(style.buttonSet, c.style & 0xF) << c.style;
        EXPECT_EQ(style.iconBits, c.style & 0xF0) << c.style;
    }
}

} // namespace
} // namespace plotara
