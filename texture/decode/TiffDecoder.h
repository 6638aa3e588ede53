// Decoding the first image of a TIFF file with libtiff into BMP pixel order.
#pragma once

#include <string_view>

#include "texture/decode/BgrPicture.h"

namespace tovmar {

// Decodes the first image of the TIFF file in `bytes` through libtiff's RGBA interface: every
// photometric interpretation, depth, compression and layout that interface reads. Alpha is
// dropped. Returns false, leaving `picture` as it was, for bytes that libtiff refuses or cannot
// decode whole, and for a size that AcceptablePictureSize refuses for a file of this many bytes,
// checked on the size libtiff itself reads before anything is decoded. Throws std::bad_alloc
// when the picture cannot be allocated.
bool DecodeTiff(std::string_view bytes, BgrPicture& picture);

}  // namespace tovmar
