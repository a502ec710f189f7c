#include "core/String.h"

#include <gtest/gtest.h>

namespace plotara {
namespace {

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
