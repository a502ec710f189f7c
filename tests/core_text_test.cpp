#include "core/Text.h"

#include <gtest/gtest.h>

namespace plotara {
namespace {

TEST(CoreText, TrimRemovesBlanksOnly) {
    EXPECT_EQ(text::trim(L"  a b  "), L"a b");
    EXPECT_EQ(text::trim(L"\t a \n"), L"\t a \n");
    EXPECT_EQ(text::trim(L"   "), L"");
    EXPECT_EQ(text::trimLeft(L"  a  "), L"a  ");
    EXPECT_EQ(text::trimRight(L"  a  "), L"  a");
}

TEST(CoreText, CaseMappingCoversUnicodeInTheCLocale) {
    // The test process runs in the C locale, where plain towlower leaves these unchanged.
    EXPECT_EQ(text::toLower(L"ABC \u00C9\u0391\u0416 \U00010400"),
              L"abc \u00E9\u03B1\u0436 \U00010428");
    EXPECT_EQ(text::toUpper(L"abc \u00E9\u03B1\u0436 \U00010428"),
              L"ABC \u00C9\u0391\u0416 \U00010400");
    EXPECT_EQ(text::toUpper(L"stra\u00DFe"), L"STRA\u00DFE"); // simple mapping: no "SS"
    EXPECT_TRUE(text::equalsIgnoreCase(L"\u00C9t\u00C9", L"\u00E9T\u00E9"));
    EXPECT_FALSE(text::equalsIgnoreCase(L"abc", L"abd"));
    EXPECT_FALSE(text::equalsIgnoreCase(L"abc", L"ab"));
}

TEST(CoreText, CaseMappingAtTheEdgesOfAscii) {
    // ASCII is mapped without the locale: the neighbours of the letter ranges stay as they are,
    // and the first characters past ASCII still follow Unicode.
    const struct {
        wchar_t c, lower, upper;
    } cases[] = {{L'@', L'@', L'@'},
                 {L'A', L'a', L'A'},
                 {L'Z', L'z', L'Z'},
                 {L'[', L'[', L'['},
                 {L'`', L'`', L'`'},
                 {L'a', L'a', L'A'},
                 {L'z', L'z', L'Z'},
                 {L'{', L'{', L'{'},
                 {L'\x7F', L'\x7F', L'\x7F'},
                 {L'\0', L'\0', L'\0'},
                 {L'\u00C0', L'\u00E0', L'\u00C0'},
                 {L'\u00FF', L'\u00FF', L'\u0178'},
                 {L'\u00D7', L'\u00D7', L'\u00D7'}};
    for (const auto& t : cases) {
        SCOPED_TRACE(static_cast<int>(t.c));
        EXPECT_EQ(text::toLower(String(1, t.c)), String(1, t.lower));
        EXPECT_EQ(text::toUpper(String(1, t.c)), String(1, t.upper));
        EXPECT_TRUE(text::equalsIgnoreCase(String(1, t.lower), String(1, t.upper)));
    }
    EXPECT_FALSE(text::equalsIgnoreCase(L"@", L"`")) << "0x40 and 0x60 differ by the case bit only";
    EXPECT_FALSE(text::equalsIgnoreCase(L"[", L"{"));
}

} // namespace
} // namespace plotara
