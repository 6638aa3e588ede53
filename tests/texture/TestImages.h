// Test pictures: four coloured quadrants, written in the image formats the loader is given, and
// the check that a loaded texture shows them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mesh/TextureObject.h"
#include "texture/decode/BgrPicture.h"

class wxImage;

namespace tovmar {

// R, G, B bytes, top row first.
struct Picture {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> rgb;
};

// Appends the `bytes` low bytes of `value`, lowest first.
void PutLittleEndian(std::string& out, std::uint32_t value, int bytes);

// A decoded picture in BMP pixel order as R, G, B bytes, top row first.
Picture FromBmpOrder(const BgrPicture& picture);

// Top-left, top-right, bottom-left and bottom-right quadrants in four colours (or four greys);
// the left half is width / 2 pixels wide, the top half height / 2 rows high.
Picture MakeQuadrants(std::int32_t width, std::int32_t height, bool grey = false);

// Expects `texture` to hold `picture` with the bottom row first and A = 0, every channel within
// `tolerance`; pixels closer than `borderMargin` to a quadrant border are not compared.
void ExpectTextureShows(const TextureObject& texture, const Picture& picture, int tolerance = 0,
                        int borderMargin = 0);

// The picture as a wxImage, with an alpha channel of 128 when `withAlpha`.
wxImage ToWxImage(const Picture& picture, bool withAlpha = false);

// Gives `image` a palette of the four quadrant colours, for the writers that need one.
void SetQuadrantPalette(wxImage& image);

enum class TgaKind { kTrueColour24, kTrueColour32, kColourMapped, kGrey };

// A TGA file of `picture`; `rle` writes each row as a raw packet (left half) and a run packet
// (right half); `topLeft` stores the top row first.
std::string MakeTga(const Picture& picture, TgaKind kind, bool rle, bool topLeft);

// A BMP file whose headers say `width`, `height`, `planes`, `bitCount` and `dataOffset`, then
// zeros up to `dataOffset` and `pixelBytes`.
std::string MakeBmp(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                    const std::string& pixelBytes, std::uint32_t dataOffset = 54,
                    std::uint16_t planes = 1);

}  // namespace tovmar
