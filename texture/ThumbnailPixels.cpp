#include "texture/ThumbnailPixels.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace tovmar {

ThumbnailPixels SampleThumbnail(const std::uint8_t* pixels, std::int32_t width, std::int32_t height,
                                std::int32_t maxSide) {
  assert(width > 0 && height > 0 && maxSide > 0);
  // The longer side becomes maxSide; the shorter keeps its share, at least one pixel.
  const std::int64_t longer = std::max(width, height);
  ThumbnailPixels out;
  out.width = static_cast<std::int32_t>(std::max<std::int64_t>(
      1, std::int64_t{width} * std::min<std::int64_t>(maxSide, longer) / longer));
  out.height = static_cast<std::int32_t>(std::max<std::int64_t>(
      1, std::int64_t{height} * std::min<std::int64_t>(maxSide, longer) / longer));
  out.pixels.resize(std::size_t{4} * static_cast<std::size_t>(out.width) *
                    static_cast<std::size_t>(out.height));
  std::uint8_t* to = out.pixels.data();
  for (std::int32_t y = 0; y < out.height; ++y) {
    const std::int64_t sy = std::int64_t{y} * height / out.height;
    const std::uint8_t* row = pixels + sy * width * 4;
    for (std::int32_t x = 0; x < out.width; ++x, to += 4) {
      std::memcpy(to, row + std::int64_t{x} * width / out.width * 4, 4);
    }
  }
  return out;
}

}  // namespace tovmar
