// Encoding an RGB or RGBA picture as PNG file bytes with libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovmar::sample {

// The PNG file image of `rgb` (width x height pixels of R, G, B bytes, top row first), with no
// time stamp or other varying chunk, so that equal pictures give equal bytes. Empty when libpng
// fails or `rgb` does not hold width x height pixels.
std::string EncodePngRgb(const std::vector<std::uint8_t>& rgb, int width, int height);

// The same for `rgba`: width x height pixels of R, G, B, A bytes (A 0: transparent).
std::string EncodePngRgba(const std::vector<std::uint8_t>& rgba, int width, int height);

}  // namespace tovmar::sample
