// Decoding the first picture of a GIF file into BMP pixel order, reading only within the file's
// bytes and writing only within the picture, whatever the compressed data holds.
#pragma once

#include <string_view>

#include "texture/decode/BgrPicture.h"

namespace tovmar {

// Decodes the first image of the GIF87a or GIF89a file in `bytes` at that image's own size; its
// place on the logical screen and every later image are ignored. The image's local colour table
// is used, else the global one. Pixels whose index lies beyond the table are black; the
// transparent index of a graphic control block before the image shows as magenta (R, G, B of 255,
// 0, 255), and an opaque magenta of the table as (255, 0, 254).
// Returns false, leaving `picture` as it was, for a file without an image, without a colour
// table, with an image side of 0 or over kMaxPictureSide, with a compression code size outside 1
// to 8, whose blocks before the image's data are damaged or cut short, or whose compressed data
// ends or turns invalid before every pixel of the image has its colour (data far too short for
// the image is refused before the image is allocated). Throws std::bad_alloc when the picture
// cannot be allocated.
bool DecodeGif(std::string_view bytes, BgrPicture& picture);

}  // namespace tovmar
