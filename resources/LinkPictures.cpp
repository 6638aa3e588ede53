#include "resources/LinkPictures.h"

#include <cstddef>
#include <utility>

namespace tovmar {

namespace {

struct Rgb {
  int red, green, blue;
};

// An 84 x 36 picture being drawn, in the byte order the links take.
class Banner {
 public:
  Banner() : m_pixels(std::size_t{kLinkPictureWidth} * kLinkPictureHeight * 4, 0) {}

  void SetPixel(int x, int y, Rgb colour) {
    std::uint8_t* pixel = &m_pixels[(std::size_t(y) * kLinkPictureWidth + x) * 4];
    pixel[0] = static_cast<std::uint8_t>(colour.blue);
    pixel[1] = static_cast<std::uint8_t>(colour.green);
    pixel[2] = static_cast<std::uint8_t>(colour.red);
    pixel[3] = 0;
  }

  // Every row in one colour, blending from `top` in the first row to `bottom` in the last.
  void FillGradient(Rgb top, Rgb bottom) {
    for (int y = 0; y < kLinkPictureHeight; ++y) {
      const Rgb row{Blend(top.red, bottom.red, y), Blend(top.green, bottom.green, y),
                    Blend(top.blue, bottom.blue, y)};
      FillRect(0, y, kLinkPictureWidth, y + 1, row);
    }
  }

  // Pixels x0 <= x < x1, y0 <= y < y1.
  void FillRect(int x0, int y0, int x1, int y1, Rgb colour) {
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) SetPixel(x, y, colour);
    }
  }

  void FillDisc(int cx, int cy, int radius, Rgb colour) {
    for (int y = cy - radius; y <= cy + radius; ++y) {
      for (int x = cx - radius; x <= cx + radius; ++x) {
        if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius) SetPixel(x, y, colour);
      }
    }
  }

  // A one-pixel border round the whole picture.
  void DrawBorder(Rgb colour) {
    FillRect(0, 0, kLinkPictureWidth, 1, colour);
    FillRect(0, kLinkPictureHeight - 1, kLinkPictureWidth, kLinkPictureHeight, colour);
    FillRect(0, 0, 1, kLinkPictureHeight, colour);
    FillRect(kLinkPictureWidth - 1, 0, kLinkPictureWidth, kLinkPictureHeight, colour);
  }

  std::vector<std::uint8_t> Take() { return std::move(m_pixels); }

 private:
  static int Blend(int from, int to, int y) {
    return from + (to - from) * y / (kLinkPictureHeight - 1);
  }

  std::vector<std::uint8_t> m_pixels;
};

constexpr Rgb kWhite{255, 255, 255};

}  // namespace

std::vector<std::uint8_t> MakeHomePagePicture() {
  Banner banner;
  banner.FillGradient({20, 40, 120}, {60, 140, 220});
  banner.DrawBorder({10, 20, 70});

  // An avatar figure on the left: head, arms, body and legs.
  banner.FillDisc(20, 9, 5, kWhite);
  banner.FillRect(10, 16, 31, 19, kWhite);
  banner.FillRect(15, 16, 26, 27, kWhite);
  banner.FillRect(15, 27, 19, 33, kWhite);
  banner.FillRect(22, 27, 26, 33, kWhite);

  // Three bars on the right, like lines of a title.
  const Rgb bar{170, 210, 250};
  banner.FillRect(38, 9, 76, 13, bar);
  banner.FillRect(38, 17, 68, 20, bar);
  banner.FillRect(38, 24, 72, 27, bar);
  return banner.Take();
}

std::vector<std::uint8_t> MakeGuidePicture() {
  Banner banner;
  banner.FillGradient({30, 110, 50}, {130, 200, 80});
  banner.DrawBorder({15, 60, 25});

  // An open book in the middle: two pages, the spine, lines of text and a bookmark.
  const Rgb page{250, 250, 235};
  const Rgb ink{60, 70, 60};
  banner.FillRect(18, 7, 41, 30, page);
  banner.FillRect(43, 7, 66, 30, page);
  banner.FillRect(41, 6, 43, 31, {90, 60, 30});
  for (int y = 11; y < 28; y += 4) {
    banner.FillRect(21, y, 38, y + 1, ink);
    banner.FillRect(46, y, 63, y + 1, ink);
  }
  banner.FillRect(58, 4, 62, 14, {230, 40, 40});
  return banner.Take();
}

}  // namespace tovmar
