// Decoding a PNG file with libpng into BMP pixel order.
#pragma once

#include <string_view>

#include "texture/decode/BgrPicture.h"

namespace tovmar {

// Decodes the PNG file in `bytes`: every colour type and bit depth, interlaced or not. Alpha and
// transparency are dropped, grey becomes three equal channels, 16-bit channels keep their high
// byte; gamma and colour profiles are not applied. Returns false, leaving `picture` as it was,
// for bytes that libpng refuses (damaged data, a wrong checksum on a critical chunk, data that
// ends before the picture is full) and for a size that AcceptablePictureSize refuses for a file
// of this many bytes, checked before the picture is allocated. Throws std::bad_alloc when the
// picture cannot be allocated.
bool DecodePng(std::string_view bytes, BgrPicture& picture);

}  // namespace tovmar
