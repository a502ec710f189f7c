// The invoke requests exchanged with a running chart movie.
#pragma once

#include "core/String.h"

#include <array>

namespace plotara {

// The function name (index 0) and the first string argument (index 1) of a request as the movie
// host delivers it; index 2 is always empty. A part that cannot be found, or that would be
// longer than 32,767 characters, is ""; cannot fail.
std::array<String, 3> ParseInvokeRequest(const String& request);

// The request that asks the movie to run a function with one string argument; nothing is
// escaped.
String BuildInvokeRequest(const String& name, const String& argument);

} // namespace plotara
