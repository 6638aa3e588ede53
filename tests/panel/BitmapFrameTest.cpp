#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "panel/BitmapFrame.h"
#include "tests/panel/TestFrame.h"

namespace tovmar {
namespace {

constexpr Rgb kWhite{255, 255, 255};

// A texture buffer: width x height pixels of red, green, blue and a fourth byte, bottom row first.
class TexturePixels {
 public:
  TexturePixels(int width, int height)
      : m_width(width), m_bytes(std::size_t(width) * height * 4, 0) {}
  void Set(int x, int row, Rgb colour, std::uint8_t fourth = 0) {
    std::uint8_t* pixel = &m_bytes[(std::size_t(row) * m_width + x) * 4];
    pixel[0] = static_cast<std::uint8_t>(colour.red);
    pixel[1] = static_cast<std::uint8_t>(colour.green);
    pixel[2] = static_cast<std::uint8_t>(colour.blue);
    pixel[3] = fourth;
  }
  const std::uint8_t* data() const { return m_bytes.data(); }

 private:
  int m_width;
  std::vector<std::uint8_t> m_bytes;
};

class BitmapFrameTest : public ShownFrameTest {
 protected:
  // The thumbnail's size on the panel: 48 x 54 dialog units.
  BitmapFrame* MakeThumbnail(wxSize size = wxSize(96, 108)) {
    return new BitmapFrame(m_panel, 1009, "Texture", wxPoint(10, 10), size);
  }
};

TEST_F(BitmapFrameTest, EmptyThumbnailPaintsWhiteAtClientSize) {
  BitmapFrame* thumbnail = MakeThumbnail();
  const wxImage shown = PaintAndGrab(thumbnail);
  ASSERT_EQ(shown.GetSize(), wxSize(96, 108));
  EXPECT_TRUE(AllPixelsAre(shown, kWhite));
}

TEST_F(BitmapFrameTest, OnePixelImageFillsTheWholeThumbnail) {
  BitmapFrame* thumbnail = MakeThumbnail();
  TexturePixels pixels(1, 1);
  pixels.Set(0, 0, {10, 200, 30}, 255);
  thumbnail->SetImage(1, 1, pixels.data());
  EXPECT_TRUE(AllPixelsAre(PaintAndGrab(thumbnail), Rgb{10, 200, 30}));
}

// Four quadrants of 128 x 64 texels: the bottom half of the texture comes first in the buffer.
TEST_F(BitmapFrameTest, WideImageIsStretchedUnevenlyOverTheWholeThumbnail) {
  const Rgb bottomLeft{255, 0, 0}, bottomRight{0, 255, 0};
  const Rgb topLeft{0, 0, 255}, topRight{255, 255, 0};
  TexturePixels pixels(256, 128);
  for (int row = 0; row < 128; ++row) {
    for (int x = 0; x < 256; ++x) {
      const bool top = row >= 64;
      const bool right = x >= 128;
      pixels.Set(x, row, top ? (right ? topRight : topLeft) : (right ? bottomRight : bottomLeft));
    }
  }
  BitmapFrame* thumbnail = MakeThumbnail();
  thumbnail->SetImage(256, 128, pixels.data());
  const wxImage shown = PaintAndGrab(thumbnail);

  // Each half of the image covers half of the control in each direction, with no blended
  // colours at the seams.
  EXPECT_EQ(PixelAt(shown, 0, 0), topLeft);
  EXPECT_EQ(PixelAt(shown, 47, 53), topLeft);
  EXPECT_EQ(PixelAt(shown, 48, 53), topRight);
  EXPECT_EQ(PixelAt(shown, 95, 0), topRight);
  EXPECT_EQ(PixelAt(shown, 47, 54), bottomLeft);
  EXPECT_EQ(PixelAt(shown, 0, 107), bottomLeft);
  EXPECT_EQ(PixelAt(shown, 48, 54), bottomRight);
  EXPECT_EQ(PixelAt(shown, 95, 107), bottomRight);
}

TEST_F(BitmapFrameTest, FirstSourcePixelShowsBottomLeftAndFourthByteHasNoEffect) {
  TexturePixels pixels(2, 2);
  pixels.Set(0, 0, {200, 10, 20}, 0);
  pixels.Set(1, 0, {10, 200, 20}, 255);
  pixels.Set(0, 1, {10, 20, 200}, 128);
  pixels.Set(1, 1, {90, 90, 90}, 7);
  BitmapFrame* thumbnail = MakeThumbnail(wxSize(40, 40));
  thumbnail->SetImage(2, 2, pixels.data());
  const wxImage shown = PaintAndGrab(thumbnail);
  EXPECT_EQ(PixelAt(shown, 0, 39), (Rgb{200, 10, 20}));
  EXPECT_EQ(PixelAt(shown, 39, 39), (Rgb{10, 200, 20}));
  EXPECT_EQ(PixelAt(shown, 0, 0), (Rgb{10, 20, 200}));
  EXPECT_EQ(PixelAt(shown, 39, 0), (Rgb{90, 90, 90}));
}

// Every way of taking the image away leaves a white thumbnail at the next paint, including a
// size the thumbnail refuses: an old texture must not stay on show.
TEST_F(BitmapFrameTest, EmptiedThumbnailPaintsWhiteAgain) {
  TexturePixels red(1, 1);
  red.Set(0, 0, {255, 0, 0});
  BitmapFrame* thumbnail = MakeThumbnail();
  const struct {
    const char* name;
    std::int32_t width, height;
    const std::uint8_t* pixels;
  } cases[] = {{"width 0", 0, 1, red.data()},
               {"height 0", 1, 0, red.data()},
               {"no pixels", 1, 1, nullptr},
               {"width too large", 65536, 1, red.data()},
               {"negative height", 1, -1, red.data()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    thumbnail->SetImage(1, 1, red.data());
    ASSERT_TRUE(AllPixelsAre(PaintAndGrab(thumbnail), Rgb{255, 0, 0}));
    thumbnail->SetImage(c.width, c.height, c.pixels);
    EXPECT_TRUE(AllPixelsAre(PaintAndGrab(thumbnail), kWhite));
  }

  thumbnail->SetImage(1, 1, red.data());
  thumbnail->Clear();
  EXPECT_TRUE(AllPixelsAre(PaintAndGrab(thumbnail), kWhite));
}

TEST_F(BitmapFrameTest, AllocateRefusesSidesOutsideTheLimitAndKeepsTheImage) {
  TexturePixels blue(1, 1);
  blue.Set(0, 0, {0, 0, 255});
  BitmapFrame* thumbnail = MakeThumbnail();
  thumbnail->SetImage(1, 1, blue.data());

  EXPECT_FALSE(thumbnail->Allocate(65536, 1));
  EXPECT_FALSE(thumbnail->Allocate(1, 65536));
  EXPECT_FALSE(thumbnail->Allocate(0, 5));
  EXPECT_FALSE(thumbnail->Allocate(5, -1));
  EXPECT_TRUE(AllPixelsAre(PaintAndGrab(thumbnail), Rgb{0, 0, 255}));

  // The largest side is taken; the buffers start black.
  EXPECT_TRUE(thumbnail->Allocate(65535, 1));
  EXPECT_TRUE(thumbnail->Allocate(2, 3));
  EXPECT_TRUE(AllPixelsAre(PaintAndGrab(thumbnail), Rgb{0, 0, 0}));
}

TEST_F(BitmapFrameTest, FillPaintsTheValueAsBlueGreenRedBytes) {
  BitmapFrame* thumbnail = MakeThumbnail();
  ASSERT_TRUE(thumbnail->Allocate(3, 3));
  thumbnail->Fill(0x00C86420);
  EXPECT_TRUE(AllPixelsAre(PaintAndGrab(thumbnail), Rgb{0xC8, 0x64, 0x20}));
}

}  // namespace
}  // namespace tovmar
