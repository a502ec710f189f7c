// Reading input files whole, for the XML and CSV input routes, never more than a limit: a file or
// pipe without end (/dev/zero, an endless producer) fails instead of exhausting memory.
#pragma once

#include <cstddef>
#include <string>

namespace plotara::apps {

// The input limit unless --max-input changes it: 256 MiB.
inline constexpr std::size_t defaultInputLimit = std::size_t{256} << 20;

// The bytes of a file, or of standard input for "-". Raises ChartFailure ("cannot read <path>:
// <reason>") when the file cannot be opened or read, or holds more than limit bytes.
std::string readTextFile(const std::string& path, std::size_t limit = defaultInputLimit);

// Checks a data file that the player will read itself (--url): it must be a regular file of at
// most limit bytes, with something other than blanks in it. Raises ChartFailure otherwise.
void checkDataFile(const std::string& path, std::size_t limit);

// Raises ChartFailure when the text holds nothing but blanks (space, tab, CR, LF). Names the
// file in the message.
void requireDocument(const std::string& path, const std::string& text);

} // namespace plotara::apps
