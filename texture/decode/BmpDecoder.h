// Decoding a BMP picture file, as a texture's source, into BMP pixel order, reading only within
// the file's bytes and writing only within the picture, whatever its headers and data say.
#pragma once

#include <string_view>

#include "texture/decode/BgrPicture.h"

namespace tovmar {

// Decodes the BMP file in `bytes`: headers of 12 bytes (OS/2) or of 40 bytes and more (Windows,
// up to the version 5 header); 1, 4 and 8 bits per pixel through the colour table, also run-length
// coded (8 and 4 bits); 16 and 32 bits as 5-5-5 and B, G, R, unused, or through the bit masks
// that the file gives; 24 bits as B, G, R. Rows are stored bottom row first, or top row first
// for a negative height. Alpha is dropped; a channel of fewer than 8 bits is widened over the
// whole range; an index beyond the colour table is black, and so are pixels that run-length
// data skips or leaves out. The colour table is read up to where the pixel data starts.
// Returns false, leaving `picture` as it was, for bytes that are no such file: a header or
// colour table cut short; another header size, depth or compression; run-length data stored top
// row first; a side of 0 or over kMaxPictureSide; a pixel data offset inside the headers or past
// the end; or uncompressed rows that end before the last one (whose padding may be missing).
// Throws std::bad_alloc when the picture cannot be allocated.
bool DecodeBmp(std::string_view bytes, BgrPicture& picture);

}  // namespace tovmar
