#include "core/Number.h"

#include "core/Error.h"

#include <bit>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <langinfo.h>
#include <limits>
#include <string>

namespace plotara::number {

namespace {

// The general form of printf's %.*G in the C locale, separator swapped in afterwards.
template <class T>
void appendGeneral(String& out, T value, int digits, wchar_t decimalSeparator) {
    if (std::isnan(value)) {
        out += L"NaN";
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? L"-Infinity" : L"Infinity";
        return;
    }
    if (value == 0) { // also for -0
        out += L'0';
        return;
    }
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(result.ptr - buffer));
    wchar_t* wide = out.data() + start;
    for (const char* p = buffer; p != result.ptr; ++p, ++wide) {
        if (*p == '.')
            *wide = decimalSeparator;
        else if (*p == 'e')
            *wide = L'E';
        else
            *wide = static_cast<wchar_t>(*p);
    }
}

// Powers of ten that a double holds exactly, 1e0 to 1e18.
constexpr double exactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                       1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};

// A shortcut to the 15-digit general form for the plain decimals that databases mostly hold.
// When a decimal S of at most 15 significant digits converts back to the value, the value lies
// within one unit in its last binary place of S (2^-52 of it), which is less than half the step
// between 15-digit decimals (at least 5 x 10^-16 of it), so rounding the value to 15 digits
// gives S itself: its digits need no further arithmetic. S is found by scaling the value to 15
// digits and taking an integer r; r / 10^d == value is then an exact test, since r and 10^d are
// exact and the quotient is rounded once (to nearest or, in another rounding mode, to a
// neighbour, which keeps within the unit). Handles 1E-04 <= |value| < 1E+15, the fixed-point
// range of the form; false leaves everything else to the general path.
bool appendShortDecimal(String& out, double value, wchar_t decimalSeparator) {
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-4 && magnitude < 1e15)) return false;
    // The decimal exponent, from the binary one: floor(e * log10(2)) is the exponent or one less.
    static constexpr double tenToThe[] = {
        1e-4, 1e-3, 1e-2, 1e-1, 1e0,  1e1,  1e2,  1e3,  1e4,  1e5,
        1e6,  1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15}; // tenToThe[k + 4] = 10^k
    const int binaryExponent =
        static_cast<int>((std::bit_cast<std::uint64_t>(magnitude) >> 52) & 0x7ff) - 1023;
    int exponent = (binaryExponent * 1233) >> 12;
    if (exponent < -4 || magnitude >= tenToThe[exponent + 5]) ++exponent;
    int decimals = 14 - exponent; // 0 to 18
    const double scale = exactPowersOfTen[decimals];
    const double scaled = magnitude * scale + 0.5;
    if (!(scaled < 1e15)) return false;
    auto digits = static_cast<std::uint64_t>(scaled);
    if (static_cast<double>(digits) / scale != magnitude) return false;

    // Trailing zeros go, a few at a time (constant divisors, so no division instructions).
    while (decimals >= 8 && digits % 100000000 == 0) {
        digits /= 100000000;
        decimals -= 8;
    }
    if (decimals >= 4 && digits % 10000 == 0) {
        digits /= 10000;
        decimals -= 4;
    }
    if (decimals >= 2 && digits % 100 == 0) {
        digits /= 100;
        decimals -= 2;
    }
    if (decimals >= 1 && digits % 10 == 0) {
        digits /= 10;
        decimals -= 1;
    }
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, digits);
    const int count = static_cast<int>(result.ptr - text);
    if (count - 1 - decimals < -4) return false; // the scientific range

    // Sign, integer part, separator, the decimals with their leading zeros.
    const int whole = count - decimals;
    std::size_t length = (value < 0 ? 1 : 0) + static_cast<std::size_t>(whole > 0 ? whole : 1);
    if (decimals > 0) length += 1 + static_cast<std::size_t>(decimals);
    const std::size_t start = out.size();
    out.resize(start + length);
    wchar_t* p = out.data() + start;
    if (value < 0) *p++ = L'-';
    if (whole > 0) {
        for (int i = 0; i < whole; ++i)
            *p++ = static_cast<wchar_t>(text[i]);
    } else {
        *p++ = L'0';
    }
    if (decimals > 0) {
        *p++ = decimalSeparator;
        for (int i = whole; i < 0; ++i)
            *p++ = L'0';
        for (int i = whole > 0 ? whole : 0; i < count; ++i)
            *p++ = static_cast<wchar_t>(text[i]);
    }
    return true;
}

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

bool isDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

int digitValue(wchar_t c, int base) {
    int d = -1;
    if (c >= L'0' && c <= L'9')
        d = c - L'0';
    else if (c >= L'a' && c <= L'f')
        d = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F')
        d = c - L'A' + 10;
    return d < base ? d : -1;
}

// "&H..." or "&O...": the digits after the prefix, all of them valid in the base.
double parseRadix(StringView digits, int base) {
    if (digits.empty()) raise(errors::typeMismatch());
    std::uint64_t value = 0;
    for (wchar_t c : digits) {
        const int d = digitValue(c, base);
        if (d < 0) raise(errors::typeMismatch());
        if (value > (std::numeric_limits<std::uint64_t>::max() - d) / base)
            raise(errors::overflow());
        value = value * base + d;
    }
    return static_cast<double>(value);
}

void appendDigits(std::string& out, StringView text, std::size_t& i) {
    while (i < text.size() && isDigit(text[i]))
        out += static_cast<char>(text[i++]);
}

} // namespace

namespace {

// The first character of a langinfo text, or the fallback for an empty one.
wchar_t firstCharacter(const char* text, wchar_t fallback) {
    if (text == nullptr || *text == '\0') return fallback;
    const auto first = static_cast<unsigned char>(*text);
    if (first < 0x80) return static_cast<wchar_t>(first);
    const String wide = fromUtf8(text); // a separator outside ASCII is UTF-8 in practice
    return wide.empty() ? fallback : wide[0];
}

} // namespace

wchar_t localeDecimalSeparator() {
    // The radix character of LC_NUMERIC, as localeconv()->decimal_point gives it but without
    // filling in the whole structure: this runs for every number written as text.
    return firstCharacter(::nl_langinfo(RADIXCHAR), L'.');
}

wchar_t localeThousandsSeparator() {
    return firstCharacter(::nl_langinfo(THOUSEP), L'\0');
}

String formatSingle(Single value, wchar_t decimalSeparator) {
    String out;
    appendGeneral(out, value, 7, decimalSeparator);
    return out;
}

String formatDouble(double value, wchar_t decimalSeparator) {
    String out;
    appendDouble(out, value, decimalSeparator);
    return out;
}

void appendDouble(String& out, double value, wchar_t decimalSeparator) {
    if (value != 0 && appendShortDecimal(out, value, decimalSeparator)) return;
    appendGeneral(out, value, 15, decimalSeparator);
}

double parseDouble(StringView text, wchar_t decimalSeparator) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    const StringView body = text.substr(begin, end - begin);

    if (body.size() >= 2 && body[0] == L'&') {
        if (body[1] == L'H' || body[1] == L'h') return parseRadix(body.substr(2), 16);
        if (body[1] == L'O' || body[1] == L'o') return parseRadix(body.substr(2), 8);
        raise(errors::typeMismatch());
    }

    // Rebuild the number as plain ASCII for strtod, with the C library's own decimal point so
    // that the result does not depend on LC_NUMERIC.
    std::string ascii;
    std::size_t i = 0;
    if (i < body.size() && (body[i] == L'+' || body[i] == L'-'))
        ascii += static_cast<char>(body[i++]);
    const std::size_t digitsBefore = ascii.size();
    appendDigits(ascii, body, i);
    std::size_t mantissaDigits = ascii.size() - digitsBefore;
    if (i < body.size() && body[i] == decimalSeparator) {
        ++i;
        ascii += std::localeconv()->decimal_point;
        const std::size_t before = ascii.size();
        appendDigits(ascii, body, i);
        mantissaDigits += ascii.size() - before;
    }
    if (mantissaDigits == 0) raise(errors::typeMismatch());
    if (i < body.size() &&
        (body[i] == L'E' || body[i] == L'e' || body[i] == L'D' || body[i] == L'd')) {
        ++i;
        ascii += 'e';
        if (i < body.size() && (body[i] == L'+' || body[i] == L'-'))
            ascii += static_cast<char>(body[i++]);
        const std::size_t before = ascii.size();
        appendDigits(ascii, body, i);
        if (ascii.size() == before) raise(errors::typeMismatch());
    }
    if (i != body.size()) raise(errors::typeMismatch());

    errno = 0;
    char* stop = nullptr;
    const double value = std::strtod(ascii.c_str(), &stop);
    if (stop != ascii.c_str() + ascii.size()) raise(errors::typeMismatch());
    if (errno == ERANGE && std::isinf(value)) raise(errors::overflow());
    return value; // an underflow gives zero or a subnormal value, as the run-time does
}

namespace {

// Round half to even without depending on the floating-point rounding mode.
double roundHalfEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor; // exact for every finite double
    if (fraction > 0.5) return floor + 1;
    if (fraction < 0.5) return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

} // namespace

Integer toInteger(double value) {
    if (std::isnan(value)) raise(errors::overflow());
    const double rounded = roundHalfEven(value);
    if (rounded < -32768.0 || rounded > 32767.0) raise(errors::overflow());
    return static_cast<Integer>(rounded);
}

Integer toInteger(StringView text, wchar_t decimalSeparator) {
    return toInteger(parseDouble(text, decimalSeparator));
}

Long toLong(double value) {
    if (std::isnan(value)) raise(errors::overflow());
    const double rounded = roundHalfEven(value);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) raise(errors::overflow());
    return static_cast<Long>(rounded);
}

void increment(Integer& counter) {
    if (counter == std::numeric_limits<Integer>::max()) raise(errors::overflow());
    ++counter;
}

} // namespace plotara::number
