// The font files of the process: each face of a file is mapped and parsed once and its HarfBuzz
// face shared by every text engine, so that the players of a batch (one per chart) neither map
// the file again nor rebuild the face's tables and shaping plans.
#pragma once

#include <string>

typedef struct hb_face_t hb_face_t;

namespace plotara::player {

// The HarfBuzz face of a face of a font file (index > 0 in a collection), immutable and shared;
// the caller owns one reference (hb_face_destroy). A file replaced or changed on the disk since
// it was mapped (another device, inode, size or modification time) is mapped anew. nullptr when
// the file cannot be read or the face holds no glyphs (nothing is kept then). Safe to call from
// several threads.
hb_face_t* sharedFontFace(const std::string& path, int index);

} // namespace plotara::player
