// Text helpers: trimming and Unicode case mapping, and the UTF-8 conversions both ways.
#include "core/String.h"
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

TEST(CoreUtf8, RoundTripsEveryEncodedLength) {
    const String text = L"a\u00E9\u20AC\U0001F600\U0010FFFF";
    const std::string utf8 = toUtf8(text);
    EXPECT_EQ(utf8, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF");
    EXPECT_EQ(fromUtf8(utf8), text);
    EXPECT_EQ(fromUtf8(utf8).size(), 5u); // one wchar_t per character, no surrogate pairs
}

TEST(CoreUtf8, MalformedInputBecomesReplacementCharacters) {
    const struct {
        const char* bytes;
        const wchar_t* text;
    } cases[] = {
        {"\xFF", L"\uFFFD"},
        {"a\xC3", L"a\uFFFD"}, // truncated at the end
        {"\xE2\x82"
         "A",
         L"\uFFFD"
         "A"},                                             // truncated, next character kept
        {"\xC0\xAF", L"\uFFFD\uFFFD"},                     // overlong lead byte
        {"\xE0\x80\x80", L"\uFFFD\uFFFD\uFFFD"},           // overlong three-byte form
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},           // encoded surrogate
        {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"}, // past U+10FFFF
        {"\x80"
         "b",
         L"\uFFFD"
         "b"},                       // stray continuation byte
        {"\xF0\x9F\x98", L"\uFFFD"}, // one subpart, one replacement
    };
    for (const auto& c : cases)
        EXPECT_EQ(fromUtf8(c.bytes), c.text) << c.bytes;
}

// The ASCII run at the start is widened in one go; whatever follows it is decoded as usual.
TEST(CoreUtf8, AppendKeepsWhatIsThere) {
    const struct {
        const char* bytes;
        const wchar_t* text;
    } cases[] = {
        {"", L"> "},
        {"plain ASCII", L"> plain ASCII"},
        {"Z\xC3\xBCrich", L"> Z\u00FCrich"},
        {"\xE6\x9D\xB1\xE4\xBA\xAC tail", L"> \u6771\u4EAC tail"},
        {"ab\xFF"
         "cd",
         L"> ab\uFFFD"
         "cd"},
        {"\xF0\x9F\x98\x80", L"> \U0001F600"},
    };
    for (const auto& c : cases) {
        String out = L"> ";
        appendFromUtf8(out, c.bytes);
        EXPECT_EQ(out, c.text) << c.bytes;
    }
}

TEST(CoreUtf8, CharactersOutsideUnicodeAreReplacedOnOutput) {
    const String bad{static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000), L'x'};
    EXPECT_EQ(toUtf8(bad), "\xEF\xBF\xBD\xEF\xBF\xBDx");
}

} // namespace
} // namespace plotara
