// Encoding an RGB or RGBA picture as PNG file bytes, either quickly (ISA-L's deflate) or as small
// as libpng and zlib make it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovmar {

enum class PngCompression {
  // Every row filtered with "up", compressed by ISA-L's deflate at its fastest level: on drawn
  // pictures about a fortieth of the time of libpng's defaults, for files up to one and a half
  // times as large.
  kFast,
  // zlib level 9, the filter chosen row by row: about a tenth smaller than libpng's defaults, at
  // five to eight times their time.
  kSmall,
};

// The PNG file image of `rgb` (width x height pixels of R, G, B bytes, top row first), with no
// time stamp or other varying chunk, so that equal pictures give equal bytes. Empty when the
// encoder fails or `rgb` does not hold width x height pixels.
std::string EncodePngRgb(const std::vector<std::uint8_t>& rgb, int width, int height,
                         PngCompression compression);

// The same for `rgba`: width x height pixels of R, G, B, A bytes (A 0: transparent).
std::string EncodePngRgba(const std::vector<std::uint8_t>& rgba, int width, int height,
                          PngCompression compression);

}  // namespace tovmar
