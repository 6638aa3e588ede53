// Decoding a TGA file into BMP pixel order, reading only within the file's bytes and writing only
// within the picture, whatever its header and packets say.
#pragma once

#include <string_view>

#include "texture/decode/BgrPicture.h"

namespace tovmar {

// Decodes the TGA file in `bytes`: colour-mapped pictures (types 1 and 9) of 8- or 16-bit
// indices into a map of 15-, 16-, 24- or 32-bit entries, true-colour pictures (types 2 and 10)
// of 15, 16, 24 or 32 bits and grey pictures (types 3 and 11) of 8 bits, or of 16 bits whose
// second byte is alpha; types 9 to 11 are run-length encoded, and a packet may run on from one
// row into the next. Rows are stored bottom row first unless bit 5 of the descriptor says top
// row first, and from the right when bit 4 says so. Alpha is dropped; 5-bit channels are
// widened to 8 bits over the whole range; an index outside the colour map is black.
// Returns false, leaving `picture` as it was, for bytes shorter than the header, the image id
// and the colour map; another image type or depth; a colour-mapped picture without a map; a
// side of 0 or over kMaxPictureSide; or pixel data that ends before every pixel has its colour
// (data too short for even the most compressed picture of the declared size is refused before
// the picture is allocated). A packet that runs past the last pixel is cut at it. Throws
// std::bad_alloc when the picture cannot be allocated.
bool DecodeTga(std::string_view bytes, BgrPicture& picture);

}  // namespace tovmar
