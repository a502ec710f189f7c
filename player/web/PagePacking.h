// Text a page carries packed: base64, and a zlib stream in base64 that the page's script
// inflates with the browser's DecompressionStream. The zoom windows of a page repeat the same
// markup hundreds of times over (a 10,000-point line's 501 windows are 5.9 MB of JSON); packed
// they take 0.3 MB, and the browser only scans them as one text until the first zoom.
#pragma once

#include <string>
#include <string_view>

namespace plotara::player {

// The bytes in base64 (RFC 4648, with padding). Cannot fail beyond running out of memory.
std::string base64(std::string_view bytes);
// The text as a zlib stream (RFC 1950, what DecompressionStream("deflate") reads), in base64.
// Throws std::bad_alloc when memory runs out.
std::string deflatedBase64(std::string_view text);

} // namespace plotara::player
