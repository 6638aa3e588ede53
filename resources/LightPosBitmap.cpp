#include "resources/LightPosBitmap.h"

namespace tovmar {

namespace {

constexpr int kCentre = kLightPosSide / 2;
constexpr int kDiscRadius = 38;
// The white square covers the 3 x 3 pixels around the centre, where a click puts the light
// back to its starting place.
constexpr int kCentreHalf = 1;

// Three colours of the standard 16-colour palette.
struct PaletteColour {
  unsigned char red, green, blue;
};
constexpr PaletteColour kWhite{255, 255, 255};
constexpr PaletteColour kMidGrey{128, 128, 128};
constexpr PaletteColour kLightGrey{192, 192, 192};

PaletteColour PixelColour(int x, int y) {
  const int dx = x - kCentre;
  const int dy = y - kCentre;
  if (dx * dx + dy * dy > kDiscRadius * kDiscRadius) return kWhite;
  if (dx >= -kCentreHalf && dx <= kCentreHalf && dy >= -kCentreHalf && dy <= kCentreHalf) {
    return kWhite;
  }
  if (dx == 0 || dy == 0) return kLightGrey;
  return kMidGrey;
}

}  // namespace

wxImage MakeLightPosImage() {
  wxImage image(kLightPosSide, kLightPosSide, false);
  for (int y = 0; y < kLightPosSide; ++y) {
    for (int x = 0; x < kLightPosSide; ++x) {
      const PaletteColour colour = PixelColour(x, y);
      image.SetRGB(x, y, colour.red, colour.green, colour.blue);
    }
  }
  return image;
}

wxBitmap MakeLightPosBitmap() {
  return wxBitmap(MakeLightPosImage());
}

}  // namespace tovmar
