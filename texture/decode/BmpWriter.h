// Writing a picture as an uncompressed bottom-up BMP file of 24 bits per pixel, the layout that
// the texture load reads back.
#pragma once

#include <cstdio>

#include "texture/decode/BgrPicture.h"

namespace tovmar {

// Writes `picture`, whose pixels are already in the file's order, to `file` at its current
// position. Returns false for a side of zero or below, for a picture too large for the format,
// or when the bytes cannot all be written.
bool WriteBmp24(std::FILE* file, const BgrPicture& picture);

}  // namespace tovmar
