#include "core/Number.h"

#include "core/Error.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

namespace plotara::number {

namespace {

// The general form of printf's %.*G in the C locale, separator swapped in afterwards.
template <class T>
String formatGeneral(T value, int digits, wchar_t decimalSeparator) {
    if (std::isnan(value)) return L"NaN";
    if (std::isinf(value)) return value < 0 ? L"-Infinity" : L"Infinity";
    if (value == 0) return L"0"; // also for -0
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    wchar_t wide[64];
    std::size_t length = 0;
    for (const char* p = buffer; p != result.ptr; ++p) {
        if (*p == '.')
            wide[length++] = decimalSeparator;
        else if (*p == 'e')
            wide[length++] = L'E';
        else
            wide[length++] = static_cast<wchar_t>(*p);
    }
    return String(wide, length);
}

// The 15-digit general form of a double that is a short decimal (an integer, or at most six
// decimals) between 1E-4 and 1E15, written directly; std::nullopt for every other value.
// When the double nearest to n / 10^k (n below 10^15, k smallest) is the value itself, the value
// lies within half a unit in the last place of that decimal, far inside the rounding interval of
// its 15th significant digit, so %.15G prints exactly n / 10^k: fixed notation in that range,
// trailing zeros dropped.
std::optional<String> formatShortDecimal(double value, wchar_t decimalSeparator) {
    static constexpr double powers[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-4 && magnitude < 1e15)) return std::nullopt;
    for (int k = 0; k < 7; ++k) {
        const double scaled = std::nearbyint(magnitude * powers[k]);
        if (scaled >= 1e15) return std::nullopt;
        if (scaled / powers[k] != magnitude) continue;
        // n's digits, then the separator k places from the right, zeros in front when n is
        // shorter than k + 1 digits.
        wchar_t digitsOut[24];
        int count = 0;
        for (auto n = static_cast<std::uint64_t>(scaled); n != 0; n /= 10)
            digitsOut[count++] = static_cast<wchar_t>(L'0' + n % 10);
        while (count <= k)
            digitsOut[count++] = L'0';
        wchar_t out[32];
        std::size_t length = 0;
        if (value < 0) out[length++] = L'-';
        for (int i = count - 1; i >= 0; --i) {
            out[length++] = digitsOut[i];
            if (i == k && k > 0) out[length++] = decimalSeparator;
        }
        return String(out, length);
    }
    return std::nullopt;
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

wchar_t localeDecimalSeparator() {
    const char* point = std::localeconv()->decimal_point;
    if (point == nullptr || *point == '\0') return L'.';
    const auto first = static_cast<unsigned char>(*point);
    if (first < 0x80) return static_cast<wchar_t>(first);
    const String wide = fromUtf8(point); // a separator outside ASCII is UTF-8 in practice
    return wide.empty() ? L'.' : wide[0];
}

String formatSingle(Single value, wchar_t decimalSeparator) {
    return formatGeneral(value, 7, decimalSeparator);
}

String formatDouble(double value, wchar_t decimalSeparator) {
    if (auto shortForm = formatShortDecimal(value, decimalSeparator)) return std::move(*shortForm);
    return formatGeneral(value, 15, decimalSeparator);
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
