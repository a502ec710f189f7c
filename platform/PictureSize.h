// The largest side of a picture: charts, bitmaps and written pictures are at most this many
// pixels (chart units) a side; the headless OS refuses larger bitmaps as an out-of-memory system
// would.
#pragma once

namespace plotara {

inline constexpr int maxPictureSide = 16384;

} // namespace plotara
