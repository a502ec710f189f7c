// Value types shared by every layer: counted wide-character text and the fixed-width numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plotara {

using String = std::wstring; // counted wide-character text
using StringView = std::wstring_view;
using Integer = std::int16_t; // 16-bit signed
using Long = std::int32_t;    // 32-bit signed
using Single = float;

// Converts to UTF-8 for files and the terminal; characters outside Unicode become U+FFFD.
std::string toUtf8(StringView text);
// Converts from UTF-8; malformed sequences become U+FFFD, never an error.
String fromUtf8(std::string_view text);
// Appends the converted text to out, as fromUtf8 converts it. Cannot fail.
void appendFromUtf8(String& out, std::string_view text);

} // namespace plotara
