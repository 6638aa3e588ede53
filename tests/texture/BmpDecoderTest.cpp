// The BMP decoder of texture sources: files wxImage writes decode as wxImage reads them, every
// depth, header, bit-mask and run-length form decodes to the picture it stores, and hostile run
// lengths, colour tables and headers are cut at the picture's edges or refused.
#include "texture/decode/BmpDecoder.h"

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "mesh/TextureObject.h"
#include "tests/support/WxImageHandlers.h"
#include "tests/texture/DecoderChecks.h"
#include "tests/texture/TestImages.h"
#include "texture/decode/PictureLimits.h"

namespace tovmar {
namespace {

// A BMP file field by field; `extra` (masks, colour table) follows the header as given, and
// the pixel data follows it unless `dataOffset` says otherwise.
struct Bmp {
  std::int32_t width = 1;
  std::int32_t height = 1;
  std::uint32_t bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t headerBytes = 40;
  std::uint32_t colours = 0;
  std::string extra = {};
  std::string data = {};
  std::optional<std::uint32_t> dataOffset = {};

  std::string Bytes() const {
    std::string header;
    PutLittleEndian(header, headerBytes, 4);
    if (headerBytes == 12) {
      PutLittleEndian(header, static_cast<std::uint32_t>(width), 2);
      PutLittleEndian(header, static_cast<std::uint32_t>(height), 2);
      PutLittleEndian(header, 1, 2);
      PutLittleEndian(header, bits, 2);
    } else {
      PutLittleEndian(header, static_cast<std::uint32_t>(width), 4);
      PutLittleEndian(header, static_cast<std::uint32_t>(height), 4);
      PutLittleEndian(header, 1, 2);
      PutLittleEndian(header, bits, 2);
      PutLittleEndian(header, compression, 4);
      PutLittleEndian(header, static_cast<std::uint32_t>(data.size()), 4);
      PutLittleEndian(header, 2835, 4);
      PutLittleEndian(header, 2835, 4);
      PutLittleEndian(header, colours, 4);
      PutLittleEndian(header, 0, 4);
      header.resize(headerBytes, '\0');
    }
    const auto offset = static_cast<std::uint32_t>(14 + header.size() + extra.size());
    std::string out = "BM";
    PutLittleEndian(out, offset + static_cast<std::uint32_t>(data.size()), 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, dataOffset.value_or(offset), 4);
    return out + header + extra + data;
  }
};

// A colour table of B, G, R, 0 entries.
std::string Table(const std::vector<Rgb>& colours) {
  std::string out;
  for (const Rgb& c : colours)
    out += {static_cast<char>(c[2]), static_cast<char>(c[1]), static_cast<char>(c[0]), '\0'};
  return out;
}

std::string Masks(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  std::string out;
  for (const std::uint32_t mask : {red, green, blue}) PutLittleEndian(out, mask, 4);
  return out;
}

// The picture `bytes` decode to, as R, G, B bytes with the top row first.
std::optional<Picture> Decode(const std::string& bytes) {
  return DecodeWith(DecodeBmp, bytes);
}

void ExpectDecodes(const std::string& bytes, std::int32_t width, std::int32_t height,
                   const std::vector<Rgb>& colours) {
  tovmar::ExpectDecodes(DecodeBmp, bytes, width, height, colours);
}

TEST(BmpDecoder, DecodesWhatWxImageWritesAsWxImageDoes) {
  AddWxImageHandlers();
  wxLogNull noLog;
  const std::vector<std::pair<const char*, int>> formats = {
      {"24 bits", wxBMP_24BPP},
      {"8-bit colour table", wxBMP_8BPP_PALETTE},
      {"8-bit grey", wxBMP_8BPP_GREY},
      {"4 bits", wxBMP_4BPP},
      {"1 bit", wxBMP_1BPP_BW}};
  for (const auto& [name, format] : formats) {
    for (const auto& [width, height] : std::vector<std::pair<int, int>>{{7, 5}, {33, 20}}) {
      SCOPED_TRACE(testing::Message() << name << " " << width << "x" << height);
      wxImage image = ToWxImage(MakeQuadrants(width, height));
      if (format == wxBMP_8BPP_PALETTE || format == wxBMP_4BPP) SetQuadrantPalette(image);
      image.SetOption(wxIMAGE_OPTION_BMP_FORMAT, format);
      wxMemoryOutputStream out;
      ASSERT_TRUE(image.SaveFile(out, wxBITMAP_TYPE_BMP));
      std::string bytes(out.GetLength(), '\0');
      out.CopyTo(bytes.data(), bytes.size());

      const std::optional<Picture> ours = Decode(bytes);
      ASSERT_TRUE(ours.has_value());
      wxMemoryInputStream in(bytes.data(), bytes.size());
      wxImage theirs;
      ASSERT_TRUE(theirs.LoadFile(in, wxBITMAP_TYPE_BMP));
      EXPECT_EQ(ours->rgb,
                std::vector<std::uint8_t>(theirs.GetData(),
                                          theirs.GetData() + std::size_t{3} * width * height));
      if (format == wxBMP_24BPP) {
        EXPECT_EQ(ours->rgb, MakeQuadrants(width, height).rgb);
      }
    }
  }
}

TEST(BmpDecoder, EveryDepthRowOrderAndHeaderStoresItsPixels) {
  // Two rows of three pixels: red, green, blue over white, black, red; stored bottom row first.
  const std::vector<Rgb> want = {kRed, kGreen, kBlue, kWhite, kBlack, kRed};
  const std::string table = Table({kBlack, kRed, kGreen, kBlue, kWhite});
  // 8 bits: indices, each row padded to 4 bytes.
  ExpectDecodes(Bmp{.width = 3,
                    .height = 2,
                    .bits = 8,
                    .extra = table,
                    .data = std::string("\4\0\1\0\1\2\3\0", 8)}
                    .Bytes(),
                3, 2, want);
  // Top row first for a negative height.
  ExpectDecodes(Bmp{.width = 3,
                    .height = -2,
                    .bits = 8,
                    .extra = table,
                    .data = std::string("\1\2\3\0\4\0\1\0", 8)}
                    .Bytes(),
                3, 2, want);
  // 4 bits: the first pixel in the high half of each byte.
  ExpectDecodes(Bmp{.width = 3,
                    .height = 2,
                    .bits = 4,
                    .extra = table,
                    .data = std::string("\x40\x10\0\0\x12\x30\0\0", 8)}
                    .Bytes(),
                3, 2, want);
  // 1 bit.
  ExpectDecodes(Bmp{.width = 3,
                    .height = 1,
                    .bits = 1,
                    .extra = Table({kBlack, kWhite}),
                    .data = std::string("\xA0\0\0\0", 4)}
                    .Bytes(),
                3, 1, {kWhite, kBlack, kWhite});
  // 24 bits, and a last row without its padding.
  std::string rows;
  for (const Rgb& c : {kWhite, kBlack, kRed}) rows += {char(c[2]), char(c[1]), char(c[0])};
  rows += std::string(3, '\0');
  for (const Rgb& c : {kRed, kGreen, kBlue}) rows += {char(c[2]), char(c[1]), char(c[0])};
  ExpectDecodes(Bmp{.width = 3, .height = 2, .data = rows}.Bytes(), 3, 2, want);
  // The OS/2 header, whose colour table has entries of three bytes.
  ExpectDecodes(Bmp{.width = 2,
                    .height = 1,
                    .bits = 8,
                    .headerBytes = 12,
                    .extra = std::string("\0\0\xFF\xFF\0\0", 6),
                    .data = std::string("\1\0\0\0", 4)}
                    .Bytes(),
                2, 1, {kBlue, kRed});
  // The version 5 header.
  ExpectDecodes(
      Bmp{.width = 1, .height = 1, .headerBytes = 124, .data = std::string("\0\xFF\0\0", 4)}
          .Bytes(),
      1, 1, {kGreen});
}

TEST(BmpDecoder, SixteenAndThirtyTwoBitsByDefaultAndThroughBitMasks) {
  std::string data;
  for (const std::uint32_t v : {0x7C00u, 0x03E0u, 0x001Fu, 0x8000u}) PutLittleEndian(data, v, 2);
  ExpectDecodes(Bmp{.width = 4, .bits = 16, .data = data}.Bytes(), 4, 1,
                {kRed, kGreen, kBlue, kBlack});
  // 5-6-5 masks after a 40-byte header; a 6-bit channel of 32 is 130.
  data.clear();
  for (const std::uint32_t v : {0xF800u, 0x07E0u, 0x001Fu, 0x0400u}) PutLittleEndian(data, v, 2);
  ExpectDecodes(Bmp{.width = 4,
                    .bits = 16,
                    .compression = 3,
                    .extra = Masks(0xF800, 0x07E0, 0x001F),
                    .data = data}
                    .Bytes(),
                4, 1, {kRed, kGreen, kBlue, {0, 130, 0}});
  // 32 bits: B, G, R and a byte that is not read, or masks inside a version 4 header.
  ExpectDecodes(Bmp{.width = 1, .bits = 32, .data = std::string("\x10\x20\x30\x40", 4)}.Bytes(), 1,
                1, {{0x30, 0x20, 0x10}});
  Bmp v4{.width = 2, .bits = 32, .compression = 3, .headerBytes = 108};
  std::string header = v4.Bytes().substr(14, 40) + Masks(0xFF, 0xFF00, 0xFF000000);
  header.resize(108, '\0');
  std::string file = "BM";
  PutLittleEndian(file, 14 + 108 + 8, 4);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, 14 + 108, 4);
  file += header + std::string("\x11\x22\x00\x33\x44\x55\x00\x66", 8);
  ExpectDecodes(file, 2, 1, {{0x11, 0x22, 0x33}, {0x44, 0x55, 0x66}});
  // Masks with alpha after a 40-byte header, and masks of nothing, which read as black.
  ExpectDecodes(Bmp{.width = 1,
                    .bits = 32,
                    .compression = 6,
                    .extra = Masks(0xFF0000, 0xFF00, 0xFF) + std::string(4, '\0'),
                    .data = std::string("\x10\x20\x30\x40", 4)}
                    .Bytes(),
                1, 1, {{0x30, 0x20, 0x10}});
  ExpectDecodes(Bmp{.width = 1,
                    .bits = 32,
                    .compression = 3,
                    .extra = Masks(0, 0, 0),
                    .data = std::string("\xFF\xFF\xFF\xFF", 4)}
                    .Bytes(),
                1, 1, {kBlack});
}

TEST(BmpDecoder, RunLengthDataOfEveryKind) {
  const std::string table = Table({kBlack, kRed, kGreen, kBlue, kWhite});
  // 8 bits, 4 x 3: a run of four reds and the end of the row; three stored pixels (padded to an
  // even count of bytes) and the end of the row; a move of two right, a run of one and the end.
  const std::string rle8 = std::string("\4\1\0\0", 4) + std::string("\0\3\2\3\4\0\0\0", 8) +
                           std::string("\0\2\2\0\1\4\0\1", 8);
  ExpectDecodes(
      Bmp{.width = 4, .height = 3, .bits = 8, .compression = 1, .extra = table, .data = rle8}
          .Bytes(),
      4, 3,
      {kBlack, kBlack, kWhite, kBlack,  // row 2: only the pixel after the move
       kGreen, kBlue, kWhite, kBlack,   // row 1: stored pixels, the rest skipped
       kRed, kRed, kRed, kRed});        // row 0: the run
  // A move up as well as right.
  ExpectDecodes(Bmp{.width = 2,
                    .height = 2,
                    .bits = 8,
                    .compression = 1,
                    .extra = table,
                    .data = std::string("\0\2\1\1\1\1\0\1", 8)}
                    .Bytes(),
                2, 2, {kBlack, kRed, kBlack, kBlack});
  // 4 bits: a run alternates the two halves of its byte; stored pixels take half a byte each.
  const std::string rle4 =
      std::string("\5\x12", 2) + std::string("\0\0", 2) + std::string("\0\3\x34\x10\0\1", 6);
  ExpectDecodes(
      Bmp{.width = 5, .height = 2, .bits = 4, .compression = 2, .extra = table, .data = rle4}
          .Bytes(),
      5, 2,
      {kBlue, kWhite, kRed, kBlack, kBlack,  // row 1: stored pixels
       kRed, kGreen, kRed, kGreen, kRed});   // row 0: the run
}

TEST(BmpDecoder, HostileRunLengthsAndIndicesStayWithinThePicture) {
  // Each of these made wxImage's decoder read or write outside its buffers.
  const std::string table = Table({kBlack, kRed});
  const auto rle8 = [&](int width, int height, const std::string& data) {
    return Bmp{
        .width = width, .height = height, .bits = 8, .compression = 1, .extra = table, .data = data}
        .Bytes();
  };
  // A run and stored pixels longer than the row are cut at its end.
  ExpectDecodes(rle8(2, 1, std::string("\xFF\1", 2)), 2, 1, {kRed, kRed});
  ExpectDecodes(
      rle8(2, 1, std::string("\0\xFF", 2) + std::string(255, '\1') + std::string("\0", 1)), 2, 1,
      {kRed, kRed});
  // Moves beyond the picture, and ends of rows beyond its last row, end the decoding.
  ExpectDecodes(rle8(2, 2, std::string("\0\2\xFF\xFF\2\1", 6)), 2, 2, std::vector<Rgb>(4, kBlack));
  ExpectDecodes(rle8(2, 2, std::string("\0\2\0\xFF\2\1", 6)), 2, 2, std::vector<Rgb>(4, kBlack));
  ExpectDecodes(rle8(1, 2, std::string(20, '\0') + std::string("\1\1", 2)), 1, 2,
                std::vector<Rgb>(2, kBlack));
  // Data that ends inside a pair, a move or stored pixels keeps what came before.
  ExpectDecodes(rle8(2, 1, std::string("\1\1\0", 3)), 2, 1, {kRed, kBlack});
  ExpectDecodes(rle8(2, 1, std::string("\1\1\0\2\1", 5)), 2, 1, {kRed, kBlack});
  ExpectDecodes(rle8(2, 1, std::string("\1\1\0\4\1", 5)), 2, 1, {kRed, kBlack});
  // Indices past the colour table, in run-length and plain data, are black.
  ExpectDecodes(rle8(2, 1, std::string("\2\xC8", 2)), 2, 1, {kBlack, kBlack});
  ExpectDecodes(Bmp{.width = 2,
                    .bits = 8,
                    .colours = 2,
                    .extra = table + Table({kWhite}),
                    .data = std::string("\2\1\0\0", 4)}
                    .Bytes(),
                2, 1, {kBlack, kRed});
  // The colour table is read no further than where the pixel data starts.
  ExpectDecodes(
      Bmp{.width = 2, .bits = 8, .colours = 256, .extra = table, .data = std::string("\1\2\0\0", 4)}
          .Bytes(),
      2, 1, {kRed, kBlack});
}

TEST(BmpDecoder, RefusesFilesItCannotReadAndLeavesThePicture) {
  const Bmp valid{.width = 2, .height = 2, .data = std::string(16, '\x7F')};
  ASSERT_TRUE(Decode(valid.Bytes()).has_value());
  const auto with = [](Bmp bmp, auto change) {
    change(bmp);
    return bmp.Bytes();
  };
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"empty", ""},
      {"not BM", "BA" + valid.Bytes().substr(2)},
      {"header cut short", valid.Bytes().substr(0, 30)},
      {"header of 20 bytes", with(valid, [](Bmp& b) { b.headerBytes = 20; })},
      {"2 bits", with(valid, [](Bmp& b) { b.bits = 2; })},
      {"64 bits", with(valid, [](Bmp& b) { b.bits = 64; })},
      {"JPEG inside", with(valid, [](Bmp& b) { b.compression = 4; })},
      {"run lengths of 24 bits", with(valid, [](Bmp& b) { b.compression = 1; })},
      {"masks of 24 bits", with(valid, [](Bmp& b) { b.compression = 3; })},
      {"masks cut short", with(valid,
                               [](Bmp& b) {
                                 b.bits = 32;
                                 b.compression = 3;
                                 b.data.clear();
                               })
                              .substr(0, 60)},
      {"run lengths top row first", with(valid,
                                         [](Bmp& b) {
                                           b.bits = 8;
                                           b.compression = 1;
                                           b.height = -2;
                                         })},
      {"no columns", with(valid, [](Bmp& b) { b.width = 0; })},
      {"negative width", with(valid, [](Bmp& b) { b.width = -2; })},
      {"no rows", with(valid, [](Bmp& b) { b.height = 0; })},
      {"taller than the limit", with(valid, [](Bmp& b) { b.height = kMaxPictureSide + 1; })},
      {"wider than the limit", with(valid, [](Bmp& b) { b.width = kMaxPictureSide + 1; })},
      {"data inside the headers", with(valid, [](Bmp& b) { b.dataOffset = 40; })},
      {"data past the end", with(valid, [](Bmp& b) { b.dataOffset = 1000; })},
      {"rows cut short", valid.Bytes().substr(0, valid.Bytes().size() - 4)},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    BgrPicture picture{1, 1, {1, 2, 3}};
    EXPECT_FALSE(DecodeBmp(bytes, picture));
    EXPECT_EQ(picture.width, 1);
    EXPECT_EQ(picture.bgr, (std::vector<std::uint8_t>{1, 2, 3}));
  }
}

TEST(BmpDecoder, ArbitraryDataStaysWithinThePicture) {
  // Random pixel and run-length data after headers of every kind, and random bytes over the
  // headers of valid files: ASan sees any read or write out of bounds.
  std::mt19937 random(17);
  std::uniform_int_distribution<int> anyByte(0, 255);
  const auto noise = [&](std::size_t size) {
    std::string out(size, '\0');
    for (char& c : out) c = static_cast<char>(anyByte(random));
    return out;
  };
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> kinds = {
      {1, 0}, {4, 0}, {8, 0}, {16, 0}, {24, 0}, {32, 0}, {8, 1}, {4, 2}, {16, 3}, {32, 3}, {32, 6}};
  for (const auto& [bits, compression] : kinds) {
    for (int round = 0; round < 30; ++round) {
      const bool masked = compression == 3 || compression == 6;
      const Bmp bmp{.width = 1 + round % 13,
                    .height = 1 + round % 7,
                    .bits = bits,
                    .compression = compression,
                    .colours = static_cast<std::uint32_t>(anyByte(random)),
                    .extra = noise(masked ? 16 : 4 * static_cast<std::size_t>(round % 20)),
                    .data = noise(static_cast<std::size_t>(round) * 23)};
      Decode(bmp.Bytes());
    }
  }
  const std::string table = Table({kBlack, kRed, kGreen, kBlue});
  const std::string valid =
      Bmp{.width = 9, .height = 7, .bits = 8, .compression = 1, .extra = table, .data = noise(200)}
          .Bytes();
  std::uniform_int_distribution<std::size_t> anyPlace(0, valid.size() - 1);
  for (int round = 0; round < 300; ++round) {
    std::string damaged = valid;
    for (int i = 0; i < 1 + round % 4; ++i) {
      damaged[round % 2 == 0 ? anyPlace(random) % 54 : anyPlace(random)] =
          static_cast<char>(anyByte(random));
    }
    Decode(damaged);
  }
}

}  // namespace
}  // namespace tovmar
