// Number text in the run-time's general form and the conversions of text to numbers.
#pragma once

#include "core/String.h"

namespace plotara::number {

// The decimal separator of the process's numeric locale (LC_NUMERIC), '.' in the C locale.
wchar_t localeDecimalSeparator();
// The thousands separator of LC_NUMERIC (THOUSEP), or L'\0' when the locale groups without one
// (the C locale). Cannot fail.
wchar_t localeThousandsSeparator();

// General form: at most 7 significant digits, no trailing zeros, scientific form ("1.234568E+07",
// "1E-05") when the exponent is below -4 or at least 7. Cannot fail; NaN and infinities give
// "NaN", "Infinity" and "-Infinity".
String formatSingle(Single value, wchar_t decimalSeparator = localeDecimalSeparator());
// The same with at most 15 significant digits (scientific from an exponent of 15).
String formatDouble(double value, wchar_t decimalSeparator = localeDecimalSeparator());
// Appends formatDouble's text to out. Cannot fail.
void appendDouble(String& out, double value, wchar_t decimalSeparator = localeDecimalSeparator());

// Parses text as a number the way the run-time's numeric conversions do: blanks around the text,
// an optional sign, digits with the given decimal separator, an optional exponent (E or D), or
// "&H"/"&O" for hexadecimal and octal. Raises Error 13 "Type mismatch" for anything else,
// including "", and Error 6 "Overflow" beyond the range of a Double (or 64 bits for &H/&O).
double parseDouble(StringView text, wchar_t decimalSeparator = localeDecimalSeparator());

// Rounds half to even to a 16-bit integer (CInt). Error 6 "Overflow" outside -32768..32767.
Integer toInteger(double value);
// Text to a 16-bit integer: parseDouble then toInteger (Error 13, then Error 6).
Integer toInteger(StringView text, wchar_t decimalSeparator = localeDecimalSeparator());
// Rounds half to even to a 32-bit integer (CLng). Error 6 outside the 32-bit range.
Long toLong(double value);

// Adds one to a 16-bit counter; Error 6 "Overflow" past 32767, leaving the counter unchanged.
void increment(Integer& counter);

} // namespace plotara::number
