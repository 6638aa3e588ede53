#include "panel/DisplayPixels.h"

#include <algorithm>
#include <cassert>
#include <cstddef>

#include <wx/image.h>

namespace tovmar {

namespace {

// Writes display pixel (blue, green, red, 0) as an image pixel (red, green, blue).
void CopyPixel(const std::uint8_t* bgr0, unsigned char* rgb) {
  rgb[0] = bgr0[2];
  rgb[1] = bgr0[1];
  rgb[2] = bgr0[0];
}

}  // namespace

wxBitmap StretchDisplayPixels(const std::uint8_t* pixels, int width, int height, int outWidth,
                              int outHeight) {
  assert(width >= 1 && height >= 1 && outWidth >= 1 && outHeight >= 1);
  wxImage image(outWidth, outHeight, false);
  unsigned char* out = image.GetData();
  for (int y = 0; y < outHeight; ++y) {
    // Nearest source row and column: the one whose span covers the output pixel's start.
    const std::int64_t sy = std::int64_t{y} * height / outHeight;
    const std::uint8_t* sourceRow = pixels + sy * width * 4;
    for (int x = 0; x < outWidth; ++x) {
      const std::int64_t sx = std::int64_t{x} * width / outWidth;
      CopyPixel(sourceRow + sx * 4, out);
      out += 3;
    }
  }
  return wxBitmap(image);
}

wxBitmap PlaceDisplayPixels(const std::uint8_t* pixels, int width, int height, int outWidth,
                            int outHeight) {
  assert(width >= 1 && height >= 1 && outWidth >= 1 && outHeight >= 1);
  wxImage image(outWidth, outHeight, true);
  unsigned char* out = image.GetData();
  const int shownWidth = std::min(width, outWidth);
  const int shownHeight = std::min(height, outHeight);
  for (int y = 0; y < shownHeight; ++y) {
    const std::uint8_t* sourceRow = pixels + std::size_t(y) * width * 4;
    unsigned char* outRow = out + std::size_t(y) * outWidth * 3;
    for (int x = 0; x < shownWidth; ++x) CopyPixel(sourceRow + x * 4, outRow + x * 3);
  }
  return wxBitmap(image);
}

}  // namespace tovmar
