// Encoding an RGB or RGBA picture as PNG file bytes with libpng, either quickly or as small as
// zlib makes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovmar {

enum class PngCompression {
  // zlib level 1 with its run-length strategy, every row filtered with "up": on drawn pictures
  // about a fifth of the time of libpng's defaults, for files 1.1 to 1.4 times larger.
  kFast,
  // zlib level 9, the filter chosen row by row: about a tenth smaller than libpng's defaults, at
  // five to eight times their time.
  kSmall,
};

// The PNG file image of `rgb` (width x height pixels of R, G, B bytes, top row first), with no
// time stamp or other varying chunk, so that equal pictures give equal bytes. Empty when libpng
// fails or `rgb` does not hold width x height pixels.
std::string EncodePngRgb(const std::vector<std::uint8_t>& rgb, int width, int height,
                         PngCompression compression);

// The same for `rgba`: width x height pixels of R, G, B, A bytes (A 0: transparent).
std::string EncodePngRgba(const std::vector<std::uint8_t>& rgba, int width, int height,
                          PngCompression compression);

}  // namespace tovmar
