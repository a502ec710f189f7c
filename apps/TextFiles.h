// Reading input files whole, for the XML and CSV input routes.
#pragma once

#include <string>

namespace plotara::apps {

// The bytes of a file, or of standard input for "-". Raises ChartFailure ("cannot read <path>:
// <reason>") when the file cannot be opened or read.
std::string readTextFile(const std::string& path);

} // namespace plotara::apps
