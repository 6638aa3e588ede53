#include "tests/texture/TestImages.h"

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/palette.h>

#include <algorithm>
#include <cstdlib>

namespace tovmar {

namespace {

constexpr std::uint8_t kColours[4][3] = {
    {200, 30, 60}, {20, 180, 90}, {40, 70, 220}, {250, 240, 10}};
constexpr std::uint8_t kGreys[4] = {30, 90, 160, 230};

const std::uint8_t* PixelAt(const Picture& p, std::int32_t x, std::int32_t y) {
  return &p.rgb[3 * (static_cast<std::size_t>(y) * p.width + x)];
}

// The quadrant (0 to 3) a pixel lies in.
int QuadrantOf(const Picture& p, std::int32_t x, std::int32_t y) {
  return (y < p.height / 2 ? 0 : 2) + (x < p.width / 2 ? 0 : 1);
}

// One pixel of a TGA file: B, G, R (and A) for true colour, an index or a grey byte otherwise.
void PutTgaPixel(std::string& out, const Picture& p, std::int32_t x, std::int32_t y, TgaKind kind) {
  const std::uint8_t* c = PixelAt(p, x, y);
  switch (kind) {
    case TgaKind::kTrueColour24:
    case TgaKind::kTrueColour32:
      out.push_back(static_cast<char>(c[2]));
      out.push_back(static_cast<char>(c[1]));
      out.push_back(static_cast<char>(c[0]));
      if (kind == TgaKind::kTrueColour32) out.push_back('\x80');
      break;
    case TgaKind::kColourMapped:
      out.push_back(static_cast<char>(QuadrantOf(p, x, y)));
      break;
    case TgaKind::kGrey:
      out.push_back(static_cast<char>(c[0]));
      break;
  }
}

}  // namespace

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
}

Picture FromBmpOrder(const BgrPicture& picture) {
  Picture p{picture.width, picture.height, {}};
  p.rgb.reserve(picture.bgr.size());
  for (std::int32_t y = picture.height - 1; y >= 0; --y) {
    const std::uint8_t* row = &picture.bgr[3 * static_cast<std::size_t>(y) * picture.width];
    for (std::int32_t x = 0; x < picture.width; ++x, row += 3) {
      p.rgb.insert(p.rgb.end(), {row[2], row[1], row[0]});
    }
  }
  return p;
}

Picture MakeQuadrants(std::int32_t width, std::int32_t height, bool grey) {
  Picture p{width, height, {}};
  p.rgb.reserve(static_cast<std::size_t>(width) * height * 3);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      const int q = QuadrantOf(p, x, y);
      for (int ch = 0; ch < 3; ++ch) p.rgb.push_back(grey ? kGreys[q] : kColours[q][ch]);
    }
  }
  return p;
}

void ExpectTextureShows(const TextureObject& texture, const Picture& picture, int tolerance,
                        int borderMargin) {
  ASSERT_EQ(texture.Width(), picture.width);
  ASSERT_EQ(texture.Height(), picture.height);
  ASSERT_EQ(texture.Pixels().size(), static_cast<std::size_t>(picture.width) * picture.height * 4);
  int mismatches = 0;
  for (std::int32_t row = 0; row < picture.height; ++row) {
    for (std::int32_t x = 0; x < picture.width; ++x) {
      const std::int32_t y = picture.height - 1 - row;
      if (std::abs(x - picture.width / 2) < borderMargin ||
          std::abs(y - picture.height / 2) < borderMargin) {
        continue;
      }
      const std::uint8_t* want = PixelAt(picture, x, y);
      const std::uint8_t* got =
          &texture.Pixels()[4 * (static_cast<std::size_t>(row) * picture.width + x)];
      bool same = got[3] == 0;
      for (int ch = 0; ch < 3; ++ch) same = same && std::abs(got[ch] - want[ch]) <= tolerance;
      if (!same && ++mismatches <= 3) {
        ADD_FAILURE() << "pixel " << x << "," << row << " from the bottom is " << int{got[0]} << ","
                      << int{got[1]} << "," << int{got[2]} << "," << int{got[3]} << ", expected "
                      << int{want[0]} << "," << int{want[1]} << "," << int{want[2]} << ",0";
      }
    }
  }
}

wxImage ToWxImage(const Picture& picture, bool withAlpha) {
  wxImage image(picture.width, picture.height, false);
  std::copy(picture.rgb.begin(), picture.rgb.end(), image.GetData());
  if (withAlpha) {
    image.InitAlpha();
    std::fill_n(image.GetAlpha(), static_cast<std::size_t>(picture.width) * picture.height, 128);
  }
  return image;
}

void SetQuadrantPalette(wxImage& image) {
  unsigned char channels[3][4];
  for (int q = 0; q < 4; ++q) {
    for (int ch = 0; ch < 3; ++ch) channels[ch][q] = kColours[q][ch];
  }
  image.SetPalette(wxPalette(4, channels[0], channels[1], channels[2]));
}

std::string MakeTga(const Picture& p, TgaKind kind, bool rle, bool topLeft) {
  const bool mapped = kind == TgaKind::kColourMapped;
  const std::uint8_t baseType = mapped ? 1 : kind == TgaKind::kGrey ? 3 : 2;
  const std::uint8_t depth = kind == TgaKind::kTrueColour32   ? 32
                             : kind == TgaKind::kTrueColour24 ? 24
                                                              : 8;
  std::string out;
  out.push_back(0);                                            // no image id
  out.push_back(mapped ? 1 : 0);                               // colour map present
  out.push_back(static_cast<char>(baseType + (rle ? 8 : 0)));  // image type
  PutLittleEndian(out, 0, 2);                                  // first map entry
  PutLittleEndian(out, mapped ? 4 : 0, 2);                     // map length
  out.push_back(mapped ? 24 : 0);                              // map entry size
  PutLittleEndian(out, 0, 4);                                  // origin x, y
  PutLittleEndian(out, static_cast<std::uint32_t>(p.width), 2);
  PutLittleEndian(out, static_cast<std::uint32_t>(p.height), 2);
  out.push_back(static_cast<char>(depth));
  out.push_back(static_cast<char>((topLeft ? 0x20 : 0) | (depth == 32 ? 8 : 0)));
  for (int q = 0; mapped && q < 4; ++q) {
    for (int ch = 2; ch >= 0; --ch) out.push_back(static_cast<char>(kColours[q][ch]));
  }
  for (std::int32_t i = 0; i < p.height; ++i) {
    const std::int32_t y = topLeft ? i : p.height - 1 - i;
    const std::int32_t half = p.width / 2;
    if (!rle) {
      for (std::int32_t x = 0; x < p.width; ++x) PutTgaPixel(out, p, x, y, kind);
      continue;
    }
    if (half > 0) {
      out.push_back(static_cast<char>(half - 1));  // raw packet
      for (std::int32_t x = 0; x < half; ++x) PutTgaPixel(out, p, x, y, kind);
    }
    out.push_back(static_cast<char>(0x80 | (p.width - half - 1)));  // run packet
    PutTgaPixel(out, p, half, y, kind);
  }
  return out;
}

std::string MakeBmp(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                    const std::string& pixelBytes, std::uint32_t dataOffset, std::uint16_t planes) {
  std::string out = "BM";
  PutLittleEndian(out, static_cast<std::uint32_t>(54 + pixelBytes.size()), 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, dataOffset, 4);
  PutLittleEndian(out, 40, 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(width), 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(height), 4);
  PutLittleEndian(out, planes, 2);
  PutLittleEndian(out, bitCount, 2);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(pixelBytes.size()), 4);
  PutLittleEndian(out, 2835, 4);
  PutLittleEndian(out, 2835, 4);
  PutLittleEndian(out, 0, 4);  // colours used
  PutLittleEndian(out, 0, 4);  // important colours
  if (out.size() < dataOffset) out.resize(dataOffset, '\0');
  return out + pixelBytes;
}

}  // namespace tovmar
