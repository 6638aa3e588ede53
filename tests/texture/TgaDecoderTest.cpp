// The TGA decoder: every image type, depth and row order decodes to the picture it stores, files
// wxImage writes decode as wxImage reads them, colour maps may start at any index, packets run
// across rows, and damaged or hostile files are refused or stay within the picture.
#include "texture/decode/TgaDecoder.h"

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "mesh/TextureObject.h"
#include "tests/support/WxImageHandlers.h"
#include "tests/texture/DecoderChecks.h"
#include "tests/texture/TestImages.h"
#include "texture/decode/PictureLimits.h"

namespace tovmar {
namespace {

// A TGA file field by field; `map` and `data` are stored as given.
struct Tga {
  std::uint32_t type = 2;
  std::uint32_t depth = 24;
  std::uint32_t width = 1;
  std::uint32_t height = 1;
  std::uint32_t descriptor = 0;
  std::string id = {};
  std::uint32_t mapType = 0;
  std::uint32_t mapFirst = 0;
  std::uint32_t mapEntries = 0;
  std::uint32_t mapBits = 0;
  std::string map = {};
  std::string data = {};

  std::string Bytes() const {
    std::string out;
    PutLittleEndian(out, static_cast<std::uint32_t>(id.size()), 1);
    PutLittleEndian(out, mapType, 1);
    PutLittleEndian(out, type, 1);
    PutLittleEndian(out, mapFirst, 2);
    PutLittleEndian(out, mapEntries, 2);
    PutLittleEndian(out, mapBits, 1);
    PutLittleEndian(out, 0, 4);  // origin x, y
    PutLittleEndian(out, width, 2);
    PutLittleEndian(out, height, 2);
    PutLittleEndian(out, depth, 1);
    PutLittleEndian(out, descriptor, 1);
    return out + id + map + data;
  }
};

std::string Bgr(const std::vector<Rgb>& colours) {
  std::string out;
  for (const Rgb& c : colours) {
    out.push_back(static_cast<char>(c[2]));
    out.push_back(static_cast<char>(c[1]));
    out.push_back(static_cast<char>(c[0]));
  }
  return out;
}

// The picture `bytes` decode to, as R, G, B bytes with the top row first.
std::optional<Picture> Decode(const std::string& bytes) {
  return DecodeWith(DecodeTga, bytes);
}

void ExpectDecodes(const std::string& bytes, std::int32_t width, std::int32_t height,
                   const std::vector<Rgb>& colours) {
  tovmar::ExpectDecodes(DecodeTga, bytes, width, height, colours);
}

constexpr Rgb kGrey{90, 90, 90};

TEST(TgaDecoder, EveryKindOfPictureDecodesToTheQuadrants) {
  // Widths below and above one packet's 128 pixels, in both row orders, plain and packed.
  for (const auto& [width, height] : std::vector<std::pair<int, int>>{{7, 5}, {1, 1}, {200, 3}}) {
    for (const TgaKind kind :
         {TgaKind::kTrueColour24, TgaKind::kTrueColour32, TgaKind::kColourMapped, TgaKind::kGrey}) {
      for (const bool rle : {false, true}) {
        for (const bool topLeft : {false, true}) {
          SCOPED_TRACE(testing::Message()
                       << width << "x" << height << " kind " << static_cast<int>(kind) << " rle "
                       << rle << " top-left " << topLeft);
          const Picture picture = MakeQuadrants(width, height, kind == TgaKind::kGrey);
          const std::optional<Picture> got = Decode(MakeTga(picture, kind, rle, topLeft));
          ASSERT_TRUE(got.has_value());
          EXPECT_EQ(got->width, width);
          EXPECT_EQ(got->height, height);
          EXPECT_EQ(got->rgb, picture.rgb);
        }
      }
    }
  }
}

TEST(TgaDecoder, DecodesWhatWxImageWritesAsWxImageDoes) {
  AddWxImageHandlers();
  wxLogNull noLog;
  for (const bool alpha : {false, true}) {
    SCOPED_TRACE(alpha ? "with alpha" : "without alpha");
    const Picture picture = MakeQuadrants(33, 20);
    wxMemoryOutputStream out;
    ASSERT_TRUE(ToWxImage(picture, alpha).SaveFile(out, wxBITMAP_TYPE_TGA));
    std::string bytes(out.GetLength(), '\0');
    out.CopyTo(bytes.data(), bytes.size());

    const std::optional<Picture> ours = Decode(bytes);
    ASSERT_TRUE(ours.has_value());
    EXPECT_EQ(ours->rgb, picture.rgb);
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxImage theirs;
    ASSERT_TRUE(theirs.LoadFile(in, wxBITMAP_TYPE_TGA));
    EXPECT_EQ(std::vector<std::uint8_t>(theirs.GetData(), theirs.GetData() + 33 * 20 * 3),
              ours->rgb);
  }
}

TEST(TgaDecoder, RowsMayRunFromTheTopAndFromTheRight) {
  // The stored order is always the same six pixels; bits 4 and 5 say where they belong.
  const std::vector<Rgb> stored = {kRed, kGreen, kBlue, kWhite, kBlack, kGrey};
  Tga tga{.width = 3, .height = 2, .data = Bgr(stored)};
  tga.descriptor = 0x00;  // bottom row first, from the left
  ExpectDecodes(tga.Bytes(), 3, 2, {kWhite, kBlack, kGrey, kRed, kGreen, kBlue});
  tga.descriptor = 0x20;  // top row first
  ExpectDecodes(tga.Bytes(), 3, 2, stored);
  tga.descriptor = 0x10;  // bottom row first, from the right
  ExpectDecodes(tga.Bytes(), 3, 2, {kGrey, kBlack, kWhite, kBlue, kGreen, kRed});
  tga.descriptor = 0x30;  // top row first, from the right
  ExpectDecodes(tga.Bytes(), 3, 2, {kBlue, kGreen, kRed, kGrey, kBlack, kWhite});
}

TEST(TgaDecoder, FiveBitChannelsWidenOverTheWholeRangeAndAlphaIsDropped) {
  std::string data = {};
  // White, black, red, green, blue, the attribute bit alone, and channels of 16, 1 and 30.
  for (const std::uint32_t value :
       {0x7FFFu, 0x0000u, 0x7C00u, 0x03E0u, 0x001Fu, 0x8000u, (16u << 10) | (1u << 5) | 30u}) {
    PutLittleEndian(data, value, 2);
  }
  const std::vector<Rgb> want = {kWhite, kBlack, kRed, kGreen, kBlue, kBlack, {132, 8, 247}};
  for (const std::uint32_t depth : {15u, 16u}) {
    SCOPED_TRACE(depth);
    ExpectDecodes(Tga{.depth = depth, .width = 7, .descriptor = 0x20, .data = data}.Bytes(), 7, 1,
                  want);
  }
}

TEST(TgaDecoder, ColourMapsOfEveryEntrySizeStartingAtAnyIndex) {
  // Three entries from index 10: indices below the first and past the last are black.
  const std::string indices = {9, 10, 11, 12, 13, static_cast<char>(255)};
  const std::vector<Rgb> want = {kBlack, kRed, kGreen, kBlue, kBlack, kBlack};
  std::string map32;
  for (const Rgb& c : {kRed, kGreen, kBlue}) map32 += Bgr({c}) + "\x7F";
  std::string map16;
  for (const std::uint32_t value : {0x7C00u, 0x03E0u, 0x801Fu}) PutLittleEndian(map16, value, 2);
  const std::vector<std::pair<std::uint32_t, std::string>> maps = {
      {24, Bgr({kRed, kGreen, kBlue})}, {32, map32}, {16, map16}, {15, map16}};
  for (const auto& [bits, map] : maps) {
    SCOPED_TRACE(bits);
    const Tga tga{.type = 1,
                  .depth = 8,
                  .width = 6,
                  .descriptor = 0x20,
                  .mapType = 1,
                  .mapFirst = 10,
                  .mapEntries = 3,
                  .mapBits = bits,
                  .map = map,
                  .data = indices};
    ExpectDecodes(tga.Bytes(), 6, 1, want);
  }

  // 16-bit indices into a map that starts past the first 256.
  std::string wide;
  for (const std::uint32_t index : {300u, 301u, 44u, 302u}) PutLittleEndian(wide, index, 2);
  const Tga tga16{.type = 1,
                  .depth = 16,
                  .width = 4,
                  .descriptor = 0x20,
                  .mapType = 1,
                  .mapFirst = 300,
                  .mapEntries = 2,
                  .mapBits = 24,
                  .map = Bgr({kGreen, kBlue}),
                  .data = wide};
  ExpectDecodes(tga16.Bytes(), 4, 1, {kGreen, kBlue, kBlack, kBlack});

  // A true-colour picture may carry a map it does not use, after an image id.
  const Tga carried{.width = 2,
                    .descriptor = 0x20,
                    .id = "skin",
                    .mapType = 1,
                    .mapEntries = 2,
                    .mapBits = 16,
                    .map = "abcd",
                    .data = Bgr({kBlue, kRed})};
  ExpectDecodes(carried.Bytes(), 2, 1, {kBlue, kRed});
}

TEST(TgaDecoder, GreyPicturesOfOneOrTwoBytesAPixel) {
  ExpectDecodes(
      Tga{.type = 3, .depth = 8, .width = 2, .descriptor = 0x20, .data = "\x5A\xFF"}.Bytes(), 2, 1,
      {kGrey, kWhite});
  // The second byte of each pixel is alpha.
  ExpectDecodes(Tga{.type = 11,
                    .depth = 16,
                    .width = 3,
                    .descriptor = 0x20,
                    .data = std::string("\x82\x5A\x00", 3)}
                    .Bytes(),
                3, 1, {kGrey, kGrey, kGrey});
}

TEST(TgaDecoder, PacketsRunAcrossRowsAndStopAtTheLastPixel) {
  // A run of four over the first row and into the second, then a raw packet of two.
  const std::string packets = "\x83" + Bgr({kRed}) + "\x01" + Bgr({kGreen, kBlue});
  ExpectDecodes(
      Tga{.type = 10, .width = 3, .height = 2, .descriptor = 0x20, .data = packets}.Bytes(), 3, 2,
      {kRed, kRed, kRed, kRed, kGreen, kBlue});
  // A run of 128 fills a picture of six pixels and no more.
  ExpectDecodes(Tga{.type = 10, .width = 3, .height = 2, .data = "\xFF" + Bgr({kBlue})}.Bytes(), 3,
                2, std::vector<Rgb>(6, kBlue));
  // A raw packet of five for the last two pixels needs only their bytes.
  ExpectDecodes(
      Tga{.type = 10, .width = 2, .descriptor = 0x20, .data = "\x04" + Bgr({kRed, kGreen})}.Bytes(),
      2, 1, {kRed, kGreen});
}

TEST(TgaDecoder, RefusesFilesItCannotReadWholeAndLeavesThePicture) {
  const Tga valid{.width = 2, .height = 2, .data = Bgr({kRed, kGreen, kBlue, kWhite})};
  const Tga mapped{.type = 1,
                   .depth = 8,
                   .width = 2,
                   .mapType = 1,
                   .mapEntries = 1,
                   .mapBits = 24,
                   .map = Bgr({kRed}),
                   .data = std::string(2, '\0')};
  ASSERT_TRUE(Decode(valid.Bytes()).has_value());
  ASSERT_TRUE(Decode(mapped.Bytes()).has_value());
  const auto with = [](Tga tga, auto change) {
    change(tga);
    return tga.Bytes();
  };
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"empty", ""},
      {"header cut short", valid.Bytes().substr(0, 17)},
      {"image id past the end", valid.Bytes().replace(0, 1, "\xFF")},
      {"colour map past the end", with(mapped, [](Tga& t) { t.mapEntries = 40; })},
      {"no image", with(valid, [](Tga& t) { t.type = 0; })},
      {"type 4", with(valid, [](Tga& t) { t.type = 4; })},
      {"type 32", with(valid, [](Tga& t) { t.type = 32; })},
      {"map type 2", with(valid, [](Tga& t) { t.mapType = 2; })},
      {"mapped without a map", with(mapped, [](Tga& t) { t.mapType = 0; })},
      {"mapped with no entries", with(mapped, [](Tga& t) { t.mapEntries = 0; })},
      {"map entries of 8 bits", with(mapped, [](Tga& t) { t.mapBits = 8; })},
      {"mapped at 24 bits", with(mapped, [](Tga& t) { t.depth = 24; })},
      {"true colour at 8 bits", with(valid, [](Tga& t) { t.depth = 8; })},
      {"grey at 24 bits", with(valid, [](Tga& t) { t.type = 3; })},
      {"no columns", with(valid, [](Tga& t) { t.width = 0; })},
      {"no rows", with(valid, [](Tga& t) { t.height = 0; })},
      {"wider than the limit", with(valid, [](Tga& t) { t.width = kMaxPictureSide + 1; })},
      {"plain pixels one byte short", valid.Bytes().substr(0, valid.Bytes().size() - 1)},
      {"packets end before the last pixel", with(valid,
                                                 [](Tga& t) {
                                                   t.type = 10;
                                                   t.data = "\x82" + Bgr({kRed});
                                                 })},
      {"packets end in a header", with(valid,
                                       [](Tga& t) {
                                         t.type = 10;
                                         t.data = "\x82" + Bgr({kRed}) + "\x00";
                                       })},
      {"packets end inside a raw packet", with(valid,
                                               [](Tga& t) {
                                                 t.type = 10;
                                                 t.data = "\x03" + Bgr({kRed, kGreen, kBlue});
                                               })},
      {"far too short for the size", with(valid,
                                          [](Tga& t) {
                                            t.type = 10;
                                            t.width = t.height = kMaxPictureSide;
                                          })},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    BgrPicture picture{1, 1, {1, 2, 3}};
    EXPECT_FALSE(DecodeTga(bytes, picture));
    EXPECT_EQ(picture.width, 1);
    EXPECT_EQ(picture.bgr, (std::vector<std::uint8_t>{1, 2, 3}));
  }
  // The limit itself is accepted.
  const Tga wide{.width = kMaxPictureSide, .data = Bgr(std::vector<Rgb>(kMaxPictureSide, kRed))};
  ExpectDecodes(wide.Bytes(), kMaxPictureSide, 1, std::vector<Rgb>(kMaxPictureSide, kRed));
}

TEST(TgaDecoder, ArbitraryDataStaysWithinThePicture) {
  // Random pixel data and packets after headers of every kind, and random bytes over the headers
  // of valid files: ASan sees any read or write out of bounds.
  std::mt19937 random(11);
  std::uniform_int_distribution<int> anyByte(0, 255);
  const auto noise = [&](std::size_t size) {
    std::string out(size, '\0');
    for (char& c : out) c = static_cast<char>(anyByte(random));
    return out;
  };
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> kinds = {
      {1, 8}, {1, 16}, {2, 15}, {2, 16}, {2, 24}, {2, 32}, {3, 8}, {3, 16}};
  for (const auto& [type, depth] : kinds) {
    for (const std::uint32_t packed : {0u, 8u}) {
      for (int round = 0; round < 20; ++round) {
        Tga tga{.type = type + packed,
                .depth = depth,
                .width = 13,
                .height = 9,
                .descriptor = static_cast<std::uint32_t>(anyByte(random)),
                .mapType = type == 1 ? 1u : 0u,
                .mapFirst = static_cast<std::uint32_t>(round * 7),
                .mapEntries = type == 1 ? 5u : 0u,
                .mapBits = type == 1 ? 24u : 0u,
                .map = type == 1 ? noise(15) : "",
                .data = noise(static_cast<std::size_t>(round) * 31)};
        Decode(tga.Bytes());
      }
    }
  }
  const std::string valid = MakeTga(MakeQuadrants(40, 30), TgaKind::kColourMapped, true, false);
  std::uniform_int_distribution<std::size_t> anyPlace(0, valid.size() - 1);
  for (int round = 0; round < 300; ++round) {
    std::string damaged = valid;
    for (int i = 0; i < 1 + round % 4; ++i) {
      damaged[round % 2 == 0 ? anyPlace(random) % 18 : anyPlace(random)] =
          static_cast<char>(anyByte(random));
    }
    Decode(damaged);
  }
}

}  // namespace
}  // namespace tovmar
