// The thumbnail's own copy of a texture: a large texture is sampled down to a size that the
// thumbnail can show, so that the window does not hold the picture at full size twice more.
#pragma once

#include <cstdint>
#include <vector>

namespace tovmar {

// The largest thumbnail side kept, in pixels: more than the thumbnail shows on any screen.
inline constexpr std::int32_t kMaxThumbnailSide = 1024;

// Pixels of 4 bytes, bottom row first, as a texture keeps them.
struct ThumbnailPixels {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> pixels;
};

// `pixels` (width x height, 4 bytes each) sampled down to at most maxSide x maxSide, the aspect
// ratio kept as far as whole pixels allow: each kept pixel is the nearest source pixel to the
// start of its span, as a stretched display picks it. Pictures that fit are not asked for.
ThumbnailPixels SampleThumbnail(const std::uint8_t* pixels, std::int32_t width, std::int32_t height,
                                std::int32_t maxSide = kMaxThumbnailSide);

}  // namespace tovmar
