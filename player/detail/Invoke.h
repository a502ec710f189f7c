// Invoke requests (the script-call texts a movie and its container exchange) and the link
// syntax of chart elements.
#pragma once

#include <string>

namespace plotara::player {

// <invoke name="NAME" returntype="xml"><arguments><string>ARG</string></arguments></invoke>;
// double quotes in the name are dropped so the request stays parseable.
std::string buildInvokeRequest(std::string_view name, std::string_view argument);

struct InvokeCall {
    std::string name, argument;
};
// Reads the name (single or double quotes) and the first string argument of a request; empty
// parts when missing.
InvokeCall parseInvokeRequest(std::string_view request);

// What a click on an element with a link attribute calls:
//   "host:NAME" or "host:NAME:ARGUMENT"  -> NAME with ARGUMENT (the container's function)
//   "javascript:NAME(ARGUMENT)"          -> NAME with ARGUMENT, quotes around it removed
//   anything else that is not blank       -> "PT_Link" with the whole link (an address), its
//                                            commas written "%2C" so that it arrives whole
// An empty name means the link calls nothing.
InvokeCall callForLink(std::string_view link);

// Whether an ordinary link (one callForLink sends to "PT_Link") may be opened as an address:
// an absolute http:, https: or mailto: address without spaces or control characters, which a
// browser could otherwise read as another scheme.
bool isOpenableAddress(std::string_view link);

} // namespace plotara::player
