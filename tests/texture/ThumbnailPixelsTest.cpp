// The thumbnail's copy of a large texture: sampled down to the largest thumbnail side, the
// aspect ratio kept, every kept pixel one of the texture's.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "texture/ThumbnailPixels.h"

namespace tovmar {
namespace {

// Pixels that tell their place: (x low, x high, y low, y high).
std::vector<std::uint8_t> PlacePixels(std::int32_t width, std::int32_t height) {
  std::vector<std::uint8_t> pixels;
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      pixels.insert(pixels.end(),
                    {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(x >> 8),
                     static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(y >> 8)});
    }
  }
  return pixels;
}

TEST(ThumbnailPixels, SamplesTheLongerSideDownToTheLimitKeepingTheAspectRatio) {
  struct Case {
    std::int32_t width, height, maxSide, wantWidth, wantHeight;
  };
  for (const Case c : {Case{3000, 1500, 1024, 1024, 512}, Case{1000, 4000, 100, 25, 100},
                       Case{5000, 3, 1000, 1000, 1}}) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    const std::vector<std::uint8_t> pixels = PlacePixels(c.width, c.height);
    const ThumbnailPixels small = SampleThumbnail(pixels.data(), c.width, c.height, c.maxSide);
    ASSERT_EQ(small.width, c.wantWidth);
    ASSERT_EQ(small.height, c.wantHeight);
    ASSERT_EQ(small.pixels.size(), std::size_t{4} * c.wantWidth * c.wantHeight);
    // Each pixel is the texture's pixel at the start of its span: the corners stay at the
    // corners' side, and the order of rows (bottom row first) is kept.
    for (std::int32_t y = 0; y < small.height; ++y) {
      for (std::int32_t x = 0; x < small.width; ++x) {
        const std::uint8_t* p = &small.pixels[4 * (std::size_t(y) * small.width + x)];
        ASSERT_EQ(p[0] | (p[1] << 8), std::int64_t{x} * c.width / small.width);
        ASSERT_EQ(p[2] | (p[3] << 8), std::int64_t{y} * c.height / small.height);
      }
    }
  }
}

}  // namespace
}  // namespace tovmar
