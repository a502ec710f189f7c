// The script of a chart page (player/web/page.js, built into the library) and the hash a
// Content-Security-Policy names it by.
#pragma once

#include <string>
#include <string_view>

namespace plotara::player {

// The script's text, byte for byte as page.js holds it. Cannot fail.
std::string_view pageScript();
// "sha256-" and the base64 of the script's SHA-256, as script-src takes it. Cannot fail beyond
// running out of memory.
std::string pageScriptHash();

} // namespace plotara::player
