// Text helpers with the semantics of the component model's run-time (Trim, LCase, Split, ...).
#pragma once

#include "core/String.h"

#include <vector>

namespace plotara::text {

// Removes leading and trailing blanks (U+0020) only; tabs and line breaks stay. Cannot fail.
String trim(StringView text);
String trimLeft(StringView text);
String trimRight(StringView text);

// Lower or upper case of every character (full Unicode simple case mapping). Cannot fail.
String toLower(StringView text);
String toUpper(StringView text);

// Exact, case-sensitive equality; the default comparison everywhere.
inline bool equals(StringView a, StringView b) noexcept {
    return a == b;
}
// Equality after lower-casing both sides; for names that match case-insensitively.
bool equalsIgnoreCase(StringView a, StringView b);

// Split as the run-time does: "" gives no items; an empty delimiter gives the whole text as one
// item; otherwise every occurrence splits and empty items stay. limit < 0 means no limit.
std::vector<String> split(StringView text, StringView delimiter, int limit = -1);

// Replaces every occurrence of find, scanning left to right without overlap. An empty find
// returns the text unchanged. Cannot fail.
String replace(StringView text, StringView find, StringView with);
// Appends the replaced text to out instead of returning it.
void appendReplaced(String& out, StringView text, StringView find, StringView with);

// 1-based position of find in text at or after start, 0 when absent; InStr semantics:
// an empty find gives start when start <= len(text) + 1. start < 1 raises Error 5.
Long instr(Long start, StringView text, StringView find);
inline Long instr(StringView text, StringView find) {
    return instr(1, text, find);
}

// Decimal text of a whole number without blanks ("0", "-12").
String decimal(long long value);
// Appends decimal's text to out. Cannot fail.
void appendDecimal(String& out, long long value);

} // namespace plotara::text
