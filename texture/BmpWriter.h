// Writing a picture as an uncompressed bottom-up BMP file of 24 bits per pixel, the layout that
// the texture load reads back.
#pragma once

#include <cstdint>
#include <string>

#include "texture/BgrPicture.h"

namespace tovmar {

// Writes `rgb`, width x height pixels of R, G, B bytes with the top row first, to `path` (UTF-8).
// Returns false for a size of zero or below, or when the file cannot be written.
bool WriteBmp24(const std::string& path, const std::uint8_t* rgb, std::int32_t width,
                std::int32_t height);

// Writes `picture`, whose pixels are already in the file's order, to `path` (UTF-8); the same
// refusals.
bool WriteBmp24(const std::string& path, const BgrPicture& picture);

}  // namespace tovmar
