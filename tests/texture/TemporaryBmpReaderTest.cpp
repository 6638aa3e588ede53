// Reading the temporary BMP file: row padding, the depths, the row order, and files whose
// headers promise more than they hold.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/texture/TestImages.h"
#include "texture/TemporaryBmpReader.h"

namespace tovmar {
namespace {

BmpStatus Read(const std::string& file, BmpLayout& layout) {
  return ReadBmpLayout(file, file.size(), layout);
}

// Reads `file` and returns its pixels, failing the test unless the header is accepted.
std::vector<std::uint8_t> Convert(const std::string& file, BmpLayout& layout) {
  EXPECT_EQ(Read(file, layout), BmpStatus::kOk);
  std::vector<std::uint8_t> rgba(std::size_t{4} * layout.width * layout.height);
  const auto* rows = reinterpret_cast<const std::uint8_t*>(file.data()) + layout.dataOffset;
  ConvertBmpRows(rows, 0, layout.height, layout, rgba.data());
  return rgba;
}

TEST(BmpReader, PaddedRowsDoNotDrift) {
  for (std::int32_t width : {1, 2, 3, 5}) {
    SCOPED_TRACE(width);
    // Every pixel its own colour; the padding holds bytes that must never show.
    const std::int32_t height = 3;
    std::string rows;
    for (std::int32_t r = 0; r < height; ++r) {
      for (std::int32_t c = 0; c < width; ++c) {
        const auto v = static_cast<char>(r * 16 + c);
        rows += {static_cast<char>(v + 1), static_cast<char>(v + 2), static_cast<char>(v + 3)};
      }
      while (rows.size() % 4 != 0) rows.push_back('\xEE');
    }
    BmpLayout layout;
    const std::vector<std::uint8_t> rgba = Convert(MakeBmp(width, height, 24, rows), layout);
    for (std::int32_t r = 0; r < height; ++r) {
      for (std::int32_t c = 0; c < width; ++c) {
        const std::uint8_t* p = &rgba[4 * (static_cast<std::size_t>(r) * width + c)];
        const int v = r * 16 + c;
        EXPECT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}),
                  (std::vector<int>{v + 3, v + 2, v + 1, 0}));
      }
    }
  }
}

TEST(BmpReader, EightBitsAreGreyWhateverTheColourTable) {
  // A colour table of pure red sits between the headers and the indices.
  std::string table;
  for (int i = 0; i < 256; ++i) table += std::string("\0\0\xFF\0", 4);
  std::string file = MakeBmp(3, 2, 8, "", 54 + 1024);
  file.replace(54, 1024, table);
  file += std::string("\x10\x20\x30\0\x40\x50\x60\0", 8);
  BmpLayout layout;
  const std::vector<std::uint8_t> rgba = Convert(file, layout);
  const std::vector<std::uint8_t> want = {0x10, 0x10, 0x10, 0, 0x20, 0x20, 0x20, 0,
                                          0x30, 0x30, 0x30, 0, 0x40, 0x40, 0x40, 0,
                                          0x50, 0x50, 0x50, 0, 0x60, 0x60, 0x60, 0};
  EXPECT_EQ(rgba, want);
}

TEST(BmpReader, ThirtyTwoBitsDropAlphaAndDepthIsPlanesTimesBitCount) {
  BmpLayout layout;
  const std::string bgra("\x01\x02\x03\xFF\x04\x05\x06\x7F", 8);
  EXPECT_EQ(Convert(MakeBmp(2, 1, 32, bgra), layout),
            (std::vector<std::uint8_t>{3, 2, 1, 0, 6, 5, 4, 0}));

  // Three planes of 8 bits make 24 bits per pixel.
  EXPECT_EQ(Convert(MakeBmp(1, 1, 8, std::string("\x01\x02\x03\0", 4), 54, 3), layout),
            (std::vector<std::uint8_t>{3, 2, 1, 0}));
  EXPECT_EQ(layout.bitsPerPixel, 24u);
}

TEST(BmpReader, OtherDepthsGiveZeroPixelsOfTheRightSize) {
  // 16 bits, 4 bits and zero planes: nothing is read, not even the missing rows.
  for (auto [bitCount, planes] :
       {std::pair<std::uint16_t, std::uint16_t>{16, 1}, {4, 1}, {24, 0}}) {
    SCOPED_TRACE(bitCount);
    BmpLayout layout;
    const std::vector<std::uint8_t> rgba =
        Convert(MakeBmp(5, 3, bitCount, std::string(8, '\x7F'), 54, planes), layout);
    EXPECT_EQ(layout.width, 5);
    EXPECT_EQ(layout.height, 3);
    EXPECT_EQ(rgba, std::vector<std::uint8_t>(60, 0));
  }
}

TEST(BmpReader, TopDownRowsArePutBottomRowFirst) {
  const std::string rows("\x01\x01\x01\0\x02\x02\x02\0\x03\x03\x03\0", 12);
  BmpLayout layout;
  const std::vector<std::uint8_t> rgba = Convert(MakeBmp(1, -3, 24, rows), layout);
  EXPECT_EQ(layout.height, 3);
  EXPECT_TRUE(layout.topDown);
  EXPECT_EQ(rgba, (std::vector<std::uint8_t>{3, 3, 3, 0, 2, 2, 2, 0, 1, 1, 1, 0}));
}

TEST(BmpReader, RefusesFilesShorterThanTheirHeaderOrRows) {
  BmpLayout layout;
  const std::string file = MakeBmp(3, 2, 24, std::string(9 + 3 + 9, '\x11'));
  EXPECT_EQ(Read(file.substr(0, 29), layout), BmpStatus::kTruncated);
  EXPECT_EQ(Read("", layout), BmpStatus::kTruncated);
  // The last row needs its pixels but not its padding.
  EXPECT_EQ(Read(file, layout), BmpStatus::kOk);
  EXPECT_EQ(Read(file.substr(0, file.size() - 1), layout), BmpStatus::kTruncated);
  // Offsets that leave too few bytes, up to the largest one the header can hold.
  for (std::uint32_t offset : {55u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    std::string shifted = MakeBmp(1, 1, 32, "abcd");
    for (int i = 0; i < 4; ++i) shifted[10 + i] = static_cast<char>(offset >> (8 * i));
    EXPECT_EQ(Read(shifted, layout), BmpStatus::kTruncated);
  }
}

TEST(BmpReader, RefusesEmptyNegativeAndOversizedPictures) {
  BmpLayout layout;
  const std::string some(64, '\0');
  EXPECT_EQ(Read(MakeBmp(0, 4, 24, some), layout), BmpStatus::kEmpty);
  EXPECT_EQ(Read(MakeBmp(4, 0, 24, some), layout), BmpStatus::kEmpty);
  EXPECT_EQ(Read(MakeBmp(-4, 2, 24, some), layout), BmpStatus::kEmpty);
  EXPECT_EQ(Read(MakeBmp(16385, 1, 16, some), layout), BmpStatus::kTooLarge);
  EXPECT_EQ(Read(MakeBmp(1, -16385, 16, some), layout), BmpStatus::kTooLarge);
  EXPECT_EQ(Read(MakeBmp(1, INT32_MIN, 24, some), layout), BmpStatus::kTooLarge);
  // The largest size is accepted from the header alone when no rows are read.
  EXPECT_EQ(Read(MakeBmp(16384, 16384, 16, ""), layout), BmpStatus::kOk);
  // ...but rows promised at 24 bits must be there.
  EXPECT_EQ(Read(MakeBmp(16384, 16384, 24, some), layout), BmpStatus::kTruncated);
}

}  // namespace
}  // namespace tovmar
