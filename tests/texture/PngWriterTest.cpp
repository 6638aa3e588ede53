// The PNG writer: what it writes reads back as the same pixels at either setting.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "texture/decode/PngWriter.h"

namespace tovmar {
namespace {

// Shaded rows over a flat background, as drawn pictures are.
std::vector<std::uint8_t> MakePixels(int width, int height, int channels) {
  std::vector<std::uint8_t> pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool body = x > width / 4 && x < 3 * width / 4;
      for (int c = 0; c < channels; ++c) {
        pixels.push_back(static_cast<std::uint8_t>(body ? (x * 7 + y * 3 + c * 50) % 256 : 64));
      }
    }
  }
  return pixels;
}

// The pixels of a PNG file image in the given layout; empty when it does not read.
std::vector<std::uint8_t> Decode(const std::string& file, int channels, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_memory(&image, file.data(), file.size()) == 0) return {};
  image.format = channels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) return {};
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  return pixels;
}

std::string Encode(const std::vector<std::uint8_t>& pixels, int width, int height, int channels,
                   PngCompression compression) {
  return channels == 4 ? EncodePngRgba(pixels, width, height, compression)
                       : EncodePngRgb(pixels, width, height, compression);
}

TEST(PngWriter, EverySettingReadsBackAsTheSamePixelsAndTheSameBytes) {
  // One pixel, one row, one column, and a picture of more rows than are compressed at a time.
  constexpr std::pair<int, int> kSizes[] = {{97, 41}, {1, 1}, {300, 1}, {1, 200}, {640, 480}};
  for (const int channels : {3, 4}) {
    for (const PngCompression compression : {PngCompression::kFast, PngCompression::kSmall}) {
      for (const auto& [wide, high] : kSizes) {
        SCOPED_TRACE(testing::Message()
                     << channels << " channels, setting " << static_cast<int>(compression) << ", "
                     << wide << "x" << high);
        const std::vector<std::uint8_t> pixels = MakePixels(wide, high, channels);
        const std::string file = Encode(pixels, wide, high, channels, compression);
        int width = 0, height = 0;
        EXPECT_EQ(Decode(file, channels, width, height), pixels);
        EXPECT_EQ(width, wide);
        EXPECT_EQ(height, high);
        EXPECT_EQ(Encode(pixels, wide, high, channels, compression), file) << "no varying chunk";
      }
    }
  }
}

TEST(PngWriter, NoisePicturesThatDoNotCompressStillReadBack) {
  // Its compressed rows outgrow the room first made for them.
  std::vector<std::uint8_t> pixels(211 * 157 * 3);
  std::uint32_t state = 12345;
  for (std::uint8_t& byte : pixels) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<std::uint8_t>(state >> 24);
  }
  const std::string file = EncodePngRgb(pixels, 211, 157, PngCompression::kFast);
  int width = 0, height = 0;
  EXPECT_EQ(Decode(file, 3, width, height), pixels);
}

TEST(PngWriter, SmallIsSmallerThanFast) {
  const std::vector<std::uint8_t> pixels = MakePixels(256, 256, 3);
  const std::string fast = EncodePngRgb(pixels, 256, 256, PngCompression::kFast);
  const std::string small = EncodePngRgb(pixels, 256, 256, PngCompression::kSmall);
  ASSERT_FALSE(fast.empty());
  EXPECT_LT(small.size(), fast.size());
}

TEST(PngWriter, PixelsThatDoNotFitTheSizeAreRefused) {
  const std::vector<std::uint8_t> pixels = MakePixels(4, 4, 3);
  for (const auto& [width, height] : {std::pair{4, 5}, {5, 4}, {0, 4}, {4, -4}, {-4, -4}}) {
    EXPECT_EQ(EncodePngRgb(pixels, width, height, PngCompression::kFast), "")
        << width << "x" << height;
  }
  EXPECT_EQ(EncodePngRgba(pixels, 4, 4, PngCompression::kSmall), "") << "3 bytes a pixel, not 4";
}

}  // namespace
}  // namespace tovmar
