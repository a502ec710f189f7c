#include "core/Error.h"
#include "core/ErrorTrap.h"
#include "tests/core_test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace plotara {
namespace {

TEST(CoreError, FactoriesCarryTheirNumbersAndTexts) {
    const struct {
        Error error;
        Long number;
        const wchar_t* text;
    } cases[] = {
        {errors::invalidProcedureCall(), 5, L"Invalid procedure call or argument"},
        {errors::overflow(), 6, L"Overflow"},
        {errors::subscriptOutOfRange(), 9, L"Subscript out of range"},
        {errors::divisionByZero(), 11, L"Division by zero"},
        {errors::typeMismatch(), 13, L"Type mismatch"},
        {errors::invalidUseOfNull(), 94, L"Invalid use of Null"},
        {errors::objectRequired(), 424, L"Object required"},
        {errors::notSupported(), 438, L"Object doesn't support this property or method"},
        {errors::argumentNotOptional(), 449, L"Argument not optional"},
        {errors::wrongArgumentCount(), 450,
         L"Wrong number of arguments or invalid property assignment"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.error.number(), c.number);
        EXPECT_EQ(c.error.description(), c.text);
        EXPECT_EQ(c.error.what(), toUtf8(c.text));
    }
}

TEST(CoreError, ComponentErrorsAreOffsetFromTheObjectBase) {
    const Error e = errors::component(513, L"Größe");
    EXPECT_EQ(e.number(), objectErrorBase + 513);
    EXPECT_LT(e.number(), 0); // the base has the top bit set
    EXPECT_STREQ(e.what(), "Gr\xC3\xB6\xC3\x9F"
                           "e");
    EXPECT_THROW(raise(e), Error);
}

TEST(CoreErrorTrap, ResumeSwallowsRunTimeErrorsAndGoesOn) {
    int reached = 0;
    EXPECT_FALSE(ErrorTrap::resume([] { raise(errors::overflow()); }));
    EXPECT_TRUE(ErrorTrap::resume([&] { ++reached; }));
    EXPECT_EQ(reached, 1);
}

TEST(CoreErrorTrap, CaptureStopsAtTheFirstError) {
    bool secondRan = false;
    const auto error = ErrorTrap::capture([&] {
        raise(errors::subscriptOutOfRange());
        secondRan = true;
    });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), 9);
    EXPECT_FALSE(secondRan);
    EXPECT_FALSE(ErrorTrap::capture([] {}).has_value());
}

TEST(CoreErrorTrap, OtherExceptionsAreNotTrapped) {
    EXPECT_THROW(ErrorTrap::resume([] { throw std::runtime_error("x"); }), std::runtime_error);
    EXPECT_THROW(ErrorTrap::capture([] { throw std::runtime_error("x"); }), std::runtime_error);
}

} // namespace
} // namespace plotara
