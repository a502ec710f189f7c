// The escaping that lets a chart document travel in the query string of a movie URL: one URL
// decoding turns the result back into well-formed XML text.
#pragma once

#include "core/String.h"

namespace plotara {

// "%" -> "%25", "'" -> "%26apos;", "<" -> "%26lt;", ">" -> "%26gt;", "&" -> "%26", "+" -> "%2b";
// every other character passes unchanged. Cannot fail.
String escapeText(StringView text);
// Appends the escaped text to out.
void appendEscaped(String& out, StringView text);
// Whether escaping would change the text.
bool needsEscaping(StringView text) noexcept;

} // namespace plotara
