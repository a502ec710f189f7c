#include "core/Text.h"
#include "tests/core_test_support.h"

#include <gtest/gtest.h>

namespace plotara {
namespace {

using test::errorOf;
using Items = std::vector<String>;

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

TEST(CoreText, Split) {
    const struct {
        const wchar_t* text;
        const wchar_t* delimiter;
        int limit;
        Items items;
    } cases[] = {
        {L"", L",", -1, {}},
        {L"a,b", L"", -1, {L"a,b"}},
        {L"a,b,,c", L",", -1, {L"a", L"b", L"", L"c"}},
        {L",a,", L",", -1, {L"", L"a", L""}},
        {L"a::b:c", L"::", -1, {L"a", L"b:c"}},
        {L"aaa", L"aa", -1, {L"", L"a"}},
        {L"a,b,c", L",", 2, {L"a", L"b,c"}},
        {L"a,b,c", L",", 1, {L"a,b,c"}},
        {L"a,b,c", L",", 5, {L"a", L"b", L"c"}},
        {L"a,b,c", L",", 0, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text::split(c.text, c.delimiter, c.limit), c.items)
            << "split(\"" << toUtf8(c.text) << "\", \"" << toUtf8(c.delimiter) << "\", " << c.limit
            << ")";
}

TEST(CoreText, Replace) {
    EXPECT_EQ(text::replace(L"aaa", L"aa", L"b"), L"ba");
    EXPECT_EQ(text::replace(L"a.b.c", L".", L".."), L"a..b..c"); // no rescanning
    EXPECT_EQ(text::replace(L"abc", L"", L"x"), L"abc");
    EXPECT_EQ(text::replace(L"", L"a", L"x"), L"");
    EXPECT_EQ(text::replace(L"%a%", L"%", L"%25"), L"%25a%25");
    String out = L"<";
    text::appendReplaced(out, L"x-y", L"-", L"+");
    EXPECT_EQ(out, L"<x+y");
}

TEST(CoreText, Instr) {
    const struct {
        Long start;
        const wchar_t* text;
        const wchar_t* find;
        Long position;
    } cases[] = {
        {1, L"abcabc", L"c", 3}, {4, L"abcabc", L"c", 6}, {7, L"abcabc", L"c", 0},
        {1, L"ABC", L"b", 0},    {1, L"abc", L"abcd", 0}, {1, L"abc", L"", 1},
        {4, L"abc", L"", 4},     {5, L"abc", L"", 0},     {1, L"", L"", 1},
        {2, L"abc", L"bc", 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text::instr(c.start, c.text, c.find), c.position)
            << c.start << " " << toUtf8(c.text) << " " << toUtf8(c.find);
    EXPECT_EQ(errorOf([] { text::instr(0, L"abc", L"a"); }), 5);
    EXPECT_EQ(errorOf([] { text::instr(-1, L"abc", L""); }), 5);
}

} // namespace
} // namespace plotara
