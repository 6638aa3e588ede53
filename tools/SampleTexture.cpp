#include "tools/SampleTexture.h"

namespace tovmar::sample {

namespace {

struct Rgb {
  int r;
  int g;
  int b;
};

constexpr Rgb kSkin{222, 178, 146};
constexpr Rgb kShirt{110, 150, 205};
constexpr Rgb kBelt{80, 50, 30};
constexpr Rgb kButton{245, 245, 240};

// Rows, counted from the top, where the picture changes. Row y shows the height
// 1.8 m x (1 - (y + 0.5) / 256) on the body: the neck starts at about 1.5 m and the belt spans
// about 0.95 to 1.03 m.
constexpr int kNeckRow = 43;
constexpr int kBeltTopRow = 110;
constexpr int kBeltBottomRow = 121;

// Column 128 is u 0.5, the middle of the body's front.
constexpr int kFrontColumn = kTextureSize / 2;

Rgb PixelAt(int x, int y) {
  Rgb c = kSkin;
  if (y >= kNeckRow && y < kBeltTopRow) {
    c = kShirt;
    const int dx = x - kFrontColumn;
    if (dx >= -3 && dx <= 3 && y % 12 < 4) c = kButton;
  } else if (y >= kBeltTopRow && y < kBeltBottomRow) {
    c = kBelt;
  }
  if (x % 32 == 0 || y % 32 == 0) c = {c.r * 7 / 8, c.g * 7 / 8, c.b * 7 / 8};
  return c;
}

}  // namespace

std::vector<std::uint8_t> MakeSampleTexturePixels() {
  std::vector<std::uint8_t> rgb;
  rgb.reserve(std::size_t{kTextureSize} * kTextureSize * 3);
  for (int y = 0; y < kTextureSize; ++y) {
    for (int x = 0; x < kTextureSize; ++x) {
      const Rgb c = PixelAt(x, y);
      rgb.push_back(static_cast<std::uint8_t>(c.r));
      rgb.push_back(static_cast<std::uint8_t>(c.g));
      rgb.push_back(static_cast<std::uint8_t>(c.b));
    }
  }
  return rgb;
}

}  // namespace tovmar::sample
