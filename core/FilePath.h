// File paths built from wide text. A path is made from the UTF-8 bytes of the text, which on
// Linux is the native narrow form, so folder and file names outside ASCII convert in every
// locale (constructing a path from a wide string converts through the locale and throws in the
// "C" locale for anything outside ASCII).
#pragma once

#include "core/String.h"

#include <filesystem>

namespace plotara {

// The path named by the text, by way of its UTF-8 bytes. Cannot fail (characters outside Unicode
// become U+FFFD, as toUtf8 converts them).
std::filesystem::path toPath(StringView text);
// The path as wide text for messages and late-bound callers; bytes that are not UTF-8 become
// U+FFFD. Cannot fail.
String fromPath(const std::filesystem::path& path);

} // namespace plotara
