// Numbers and text: formatting, parsing and conversions of numbers, trimming and Unicode case
// mapping, and the UTF-8 conversions both ways.
#include "core/Number.h"
#include "core/String.h"
#include "core/Text.h"
#include "tests/core_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace plotara {
namespace {

using test::errorOf;
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// A few forms for reading; every finite value is also compared with printf's general form below.
TEST(CoreNumber, FormatDouble) {
    const struct {
        double value;
        const wchar_t* text;
    } cases[] = {
        {1.5, L"1.5"},
        {0, L"0"},
        {-0.0, L"0"},
        {0.1 + 0.2, L"0.3"},
        {999999999999999.0, L"999999999999999"}, // 15 digits: still plain
        {1e15, L"1E+15"},
        {0.0001, L"0.0001"},
        {-0.000015, L"-1.5E-05"},
        {nan, L"NaN"},
        {inf, L"Infinity"},
        {-inf, L"-Infinity"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(number::formatDouble(c.value, L'.'), c.text) << c.value;
}

TEST(CoreNumber, FormatSingle) {
    const struct {
        Single value;
        const wchar_t* text;
    } cases[] = {
        {0.1f, L"0.1"},
        {1.1f, L"1.1"},
        {-0.0f, L"0"},
        {1234567.0f, L"1234567"},
        {9999999.0f, L"9999999"},
        {12345678.0f, L"1.234568E+07"},
        {0.0001f, L"0.0001"},
        {0.00001f, L"1E-05"},
        {std::numeric_limits<Single>::max(), L"3.402823E+38"},
        {std::numeric_limits<Single>::infinity(), L"Infinity"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(number::formatSingle(c.value, L'.'), c.text) << c.value;
}

TEST(CoreNumber, FormatUsesTheGivenSeparatorAndAppendKeepsWhatIsThere) {
    EXPECT_EQ(number::formatDouble(2.5, L','), L"2,5");
    EXPECT_EQ(number::formatDouble(1.5e-7, L','), L"1,5E-07");
    EXPECT_EQ(number::formatSingle(0.25f, L','), L"0,25");
    EXPECT_EQ(number::localeDecimalSeparator(), L'.'); // tests run in the C locale
    String out = L"x=";
    number::appendDouble(out, 1234.25, L',');
    EXPECT_EQ(out, L"x=1234,25");
    number::appendDouble(out, -0.0001, L',');
    EXPECT_EQ(out, L"x=1234,25-0,0001");
    number::appendDouble(out, 1.0 / 3, L','); // the general path
    EXPECT_EQ(out, L"x=1234,25-0,00010,333333333333333");
}

// Short decimals take a shortcut and everything else the general path; both must print what
// printf's %.15G prints, on values shaped like database decimals, their neighbours one unit in
// the last place away, powers of ten and arbitrary bit patterns.
TEST(CoreNumber, FormatDoubleMatchesPrintfsGeneralForm) {
    auto expectLikePrintf = [](double value) {
        if (value == 0 || !std::isfinite(value)) return;
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.15G", value);
        ASSERT_EQ(toUtf8(number::formatDouble(value, L'.')), expected) << std::hexfloat << value;
    };
    std::mt19937_64 random(20261206);
    for (int i = 0; i < 40000; ++i) {
        // digits x 10^exponent with 1 to 17 digits, as a database's text would spell it
        const int digits = static_cast<int>(random() % 17) + 1;
        const auto mantissa = random() % static_cast<std::uint64_t>(std::pow(10.0, digits));
        const int exponent = static_cast<int>(random() % 41) - 25;
        const std::string text = std::to_string(mantissa) + "e" + std::to_string(exponent);
        const double value = (random() & 1 ? -1 : 1) * std::strtod(text.c_str(), nullptr);
        expectLikePrintf(value);
        expectLikePrintf(std::nextafter(value, HUGE_VAL));
        expectLikePrintf(std::nextafter(value, -HUGE_VAL));

        const std::uint64_t bits = random();
        double any;
        std::memcpy(&any, &bits, sizeof any);
        expectLikePrintf(any);
    }
    for (int exponent = -20; exponent <= 20; ++exponent) {
        const double power = std::pow(10.0, exponent);
        for (double value : {power, std::nextafter(power, 0.0), std::nextafter(power, HUGE_VAL),
                             power * 9.99999999999999, power * 9.999999999999995})
            expectLikePrintf(value);
    }
}

TEST(CoreNumber, ParseDoubleAcceptsTheRunTimeForms) {
    const struct {
        const wchar_t* text;
        wchar_t separator;
        double value;
    } cases[] = {
        {L"1.5", L'.', 1.5},
        {L"  -2.5e3 ", L'.', -2500},
        {L"\t+.5", L'.', 0.5},
        {L"5.", L'.', 5},
        {L"1D2", L'.', 100},
        {L"1e-2", L'.', 0.01},
        {L"2E+3", L'.', 2000},
        {L"0.1", L'.', 0.1},
        {L"123456789012345678", L'.', 123456789012345678.0},
        {L"2.2250738585072014e-308", L'.', 2.2250738585072014e-308},
        {L"1,5", L',', 1.5},
        {L"&HFF", L'.', 255},
        {L"&hff", L'.', 255},
        {L" &O17 ", L'.', 15},
        {L"&HFFFFFFFF", L'.', 4294967295.0},
        {L"1e-999", L'.', 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(number::parseDouble(c.text, c.separator), c.value) << toUtf8(c.text);
}

TEST(CoreNumber, ParseDoubleRejectsEverythingElseAndOverflows) {
    const struct {
        const wchar_t* text;
        wchar_t separator;
    } cases[] = {
        {L"", L'.'},     {L"   ", L'.'}, {L"+", L'.'},   {L"-", L'.'},     {L".", L'.'},
        {L"1e", L'.'},   {L"1e+", L'.'}, {L"abc", L'.'}, {L"1.5x", L'.'},  {L"1 2", L'.'},
        {L"--1", L'.'},  {L"&H", L'.'},  {L"&HG", L'.'}, {L"&O8", L'.'},   {L"&X10", L'.'},
        {L"0x10", L'.'}, {L"1,5", L'.'}, {L"1.5", L','}, {L"1.2.3", L'.'}, {L"inf", L'.'},
        {L"nan", L'.'},  {L"1\n", L'.'}, {L"- 1", L'.'}, {L"1e5.5", L'.'}, {L"\u0661", L'.'},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorOf([&] { number::parseDouble(c.text, c.separator); }), 13) << toUtf8(c.text);
    EXPECT_EQ(errorOf([] { number::parseDouble(L"1e999", L'.'); }), 6);
    EXPECT_EQ(errorOf([] { number::parseDouble(L"-1e309", L'.'); }), 6);
    EXPECT_EQ(errorOf([] { number::parseDouble(L"&H10000000000000000", L'.'); }), 6);
}

TEST(CoreNumber, ToIntegerRoundsHalfToEvenFromNumbersAndTexts) {
    const struct {
        double value;
        Integer result;
    } cases[] = {
        {2.5, 2},       {3.5, 4},         {-2.5, -2},         {-3.5, -4},
        {0.5, 0},       {1.5, 2},         {-0.5, 0},          {2.4999999, 2},
        {2.5000001, 3}, {32767.4, 32767}, {-32768.5, -32768}, {-32767.5, -32768},
    };
    for (const auto& c : cases)
        EXPECT_EQ(number::toInteger(c.value), c.result) << c.value;
    for (double value : {32767.5, 32768.0, -32768.6, -32769.0, nan, inf, -inf})
        EXPECT_EQ(errorOf([&] { number::toInteger(value); }), 6) << value;
    EXPECT_EQ(number::toInteger(L" 2.5 ", L'.'), 2);
    EXPECT_EQ(number::toInteger(L"-7,5", L','), -8);
    EXPECT_EQ(errorOf([] { number::toInteger(L"x", L'.'); }), 13);
    EXPECT_EQ(errorOf([] { number::toInteger(L"40000", L'.'); }), 6);
}

TEST(CoreNumber, ToLongAndIncrementStopAtTheirLimits) {
    EXPECT_EQ(number::toLong(2147483647.0), 2147483647);
    EXPECT_EQ(number::toLong(-2147483648.5), -2147483647 - 1);
    EXPECT_EQ(number::toLong(4.5), 4);
    EXPECT_EQ(number::toLong(1e9 + 0.5), 1000000000);
    for (double value : {2147483647.5, -2147483649.0, 1e10, nan})
        EXPECT_EQ(errorOf([&] { number::toLong(value); }), 6) << value;
    Integer counter = 32766;
    number::increment(counter);
    EXPECT_EQ(counter, 32767);
    EXPECT_EQ(errorOf([&] { number::increment(counter); }), 6);
    EXPECT_EQ(counter, 32767);
}

TEST(CoreText, TrimRemovesBlanksOnlyAndCaseMappingCoversUnicodeInTheCLocale) {
    EXPECT_EQ(text::trim(L"  a b  "), L"a b");
    EXPECT_EQ(text::trim(L"\t a \n"), L"\t a \n");
    EXPECT_EQ(text::trim(L"   "), L"");
    EXPECT_EQ(text::trimLeft(L"  a  "), L"a  ");
    EXPECT_EQ(text::trimRight(L"  a  "), L"  a");
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

TEST(CoreUtf8, RoundTripsEveryEncodedLengthAndReplacesWhatIsNotUnicode) {
    const String text = L"a\u00E9\u20AC\U0001F600\U0010FFFF";
    const std::string utf8 = toUtf8(text);
    EXPECT_EQ(utf8, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF");
    EXPECT_EQ(fromUtf8(utf8), text);
    EXPECT_EQ(fromUtf8(utf8).size(), 5u); // one wchar_t per character, no surrogate pairs
    const String bad{static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000), L'x'};
    EXPECT_EQ(toUtf8(bad), "\xEF\xBF\xBD\xEF\xBF\xBDx");
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

} // namespace
} // namespace plotara
