// Decoding a picture file of any format that Tovmar reads into BMP pixel order: the format is
// named by the file's first bytes, its declared size is checked, then its one decoder runs.
#pragma once

#include <cstdint>
#include <string_view>

#include "texture/decode/BgrPicture.h"

namespace tovmar {

// Whether a file of `fileBytes` bytes that starts with `head` may be decoded: false when its
// first bytes already show that it is no picture read here or that it declares a size that
// AcceptablePictureSize refuses; true when they do, or when only the whole file can tell.
bool MayBeDecodable(std::string_view head, std::uint64_t fileBytes);

// Decodes the PNG, JPEG, GIF, BMP, TIFF or TGA file in `bytes` with the decoder of the format
// that its first bytes name, never by trying one decoder after another. Refused (false, `picture`
// as it was) when ProbeImageExtent cannot read its header, when it ends where a decoder would
// misread the end, when its declared size is refused for a file of this many bytes, or when its
// decoder refuses it. `rowsDecoded`, when given, is told of the rows as they are decoded by the
// decoders that make them one after another (JPEG); the others tell nothing. Throws
// std::bad_alloc when the picture cannot be allocated.
bool DecodePicture(std::string_view bytes, BgrPicture& picture,
                   const RowsDecoded& rowsDecoded = {});

}  // namespace tovmar
