#include <cstdint>
#include <functional>
#include <numeric>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "resources/LightPosBitmap.h"
#include "resources/LinkPictures.h"
#include "tests/panel/TestFrame.h"

namespace tovmar {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kMidGrey{128, 128, 128};
constexpr Rgb kLightGrey{192, 192, 192};

TEST(LightPosBitmapTest, GreyDiscWithCrossHairsAndWhiteCentreOnWhite) {
  const wxImage image = MakeLightPosImage();
  ASSERT_EQ(image.GetSize(), wxSize(81, 81));
  for (const wxPoint corner : {wxPoint(0, 0), wxPoint(80, 0), wxPoint(0, 80), wxPoint(80, 80)}) {
    EXPECT_EQ(PixelAt(image, corner.x, corner.y), kWhite);
  }
  for (int d = -1; d <= 1; ++d) {
    EXPECT_EQ(PixelAt(image, 40 + d, 40), kWhite);
    EXPECT_EQ(PixelAt(image, 40, 40 + d), kWhite);
  }
  EXPECT_EQ(PixelAt(image, 20, 20), kMidGrey);
  EXPECT_EQ(PixelAt(image, 60, 55), kMidGrey);
  EXPECT_EQ(PixelAt(image, 40, 10), kLightGrey);
  EXPECT_EQ(PixelAt(image, 70, 40), kLightGrey);
  EXPECT_EQ(PixelAt(image, 41, 10), kMidGrey);

  EXPECT_TRUE(MakeLightPosBitmap().IsOk());
}

TEST(LightPosBitmapTest, UsesOnlyColoursOfTheSixteenColourPalette) {
  const std::set<std::vector<int>> palette = {
      {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
      {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
      {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
  const wxImage image = MakeLightPosImage();
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      const Rgb pixel = PixelAt(image, x, y);
      ASSERT_TRUE(palette.count({pixel.red, pixel.green, pixel.blue}) == 1)
          << "at " << x << ", " << y;
    }
  }
}

TEST(LinkPicturesTest, TwoDistinctBanners) {
  const std::vector<std::uint8_t> home = MakeHomePagePicture();
  const std::vector<std::uint8_t> guide = MakeGuidePicture();
  for (const std::vector<std::uint8_t>* picture : {&home, &guide}) {
    ASSERT_EQ(picture->size(), std::size_t{84} * 36 * 4);
    for (std::size_t i = 3; i < picture->size(); i += 4) ASSERT_EQ((*picture)[i], 0) << i;
    // A picture, not a plain area: many different colours.
    std::set<std::uint32_t> colours;
    for (std::size_t i = 0; i < picture->size(); i += 4) {
      colours.insert(std::uint32_t{(*picture)[i]} << 16 | std::uint32_t{(*picture)[i + 1]} << 8 |
                     (*picture)[i + 2]);
    }
    EXPECT_GT(colours.size(), 10u);
  }
  const auto differing = std::inner_product(home.begin(), home.end(), guide.begin(), 0,
                                            std::plus<>(), std::not_equal_to<>());
  EXPECT_GT(differing, 84 * 36);
}

}  // namespace
}  // namespace tovmar
