#include "texture/TemporaryBmpReader.h"

#include <bit>
#include <cassert>
#include <cstdlib>
#include <cstring>

#include "mesh/TextureObject.h"
#include "texture/decode/ByteView.h"

namespace tovmar {

namespace {

// The header fields read.
constexpr std::size_t kDataOffsetAt = 10;
constexpr std::size_t kWidthAt = 18;
constexpr std::size_t kHeightAt = 22;
constexpr std::size_t kPlanesAt = 26;
constexpr std::size_t kBitCountAt = 28;
static_assert(kBitCountAt + 2 == kBmpHeaderBytes);

// Bytes per pixel of the depths that are converted; 0 for the others.
std::uint64_t ConvertedBytesPerPixel(std::uint64_t bitsPerPixel) {
  return bitsPerPixel == 8 || bitsPerPixel == 24 || bitsPerPixel == 32 ? bitsPerPixel / 8 : 0;
}

void ConvertGreyRow(const std::uint8_t* src, std::uint8_t* dst, std::int32_t width) {
  for (std::int32_t c = 0; c < width; ++c, dst += 4) {
    dst[0] = dst[1] = dst[2] = src[c];
    dst[3] = 0;
  }
}

template <int kSourceBytes>
void ConvertColourRow(const std::uint8_t* src, std::uint8_t* dst, std::int32_t width) {
  for (std::int32_t c = 0; c < width; ++c, src += kSourceBytes, dst += 4) {
    // Loaded before storing: the compiler cannot know that the two buffers never meet.
    const std::uint8_t b = src[0], g = src[1], r = src[2];
    dst[0] = r;
    dst[1] = g;
    dst[2] = b;
    dst[3] = 0;
  }
}

std::uint32_t Load32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// B, G, R in the low three bytes of a little-endian word as R, G, B, 0.
std::uint32_t BgrToRgb0(std::uint32_t bgr) {
  return __builtin_bswap32(bgr) >> 8;
}

// 24-bit rows four pixels at a time on little-endian machines: three words in, four out; the
// pixels left over, and every pixel elsewhere, go one by one.
void ConvertBgrRow(const std::uint8_t* src, std::uint8_t* dst, std::int32_t width) {
  std::int32_t c = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; c + 4 <= width; c += 4, src += 12, dst += 16) {
      const std::uint32_t w0 = Load32(src), w1 = Load32(src + 4), w2 = Load32(src + 8);
      const std::uint32_t out[4] = {BgrToRgb0(w0), BgrToRgb0((w0 >> 24) | (w1 << 8)),
                                    BgrToRgb0((w1 >> 16) | (w2 << 16)), BgrToRgb0(w2 >> 8)};
      std::memcpy(dst, out, sizeof out);
    }
  }
  ConvertColourRow<3>(src, dst, width - c);
}

}  // namespace

BmpStatus ReadBmpLayout(std::string_view header, std::uint64_t fileSize, BmpLayout& layout) {
  if (header.size() < kBmpHeaderBytes || fileSize < kBmpHeaderBytes) return BmpStatus::kTruncated;

  // The header fields, all little-endian.
  const ByteView h(header);
  const std::uint64_t dataOffset = h.Le32(kDataOffsetAt);
  const auto width = static_cast<std::int32_t>(h.Le32(kWidthAt));
  const auto signedHeight = static_cast<std::int32_t>(h.Le32(kHeightAt));
  const std::uint64_t bitsPerPixel = std::uint64_t{h.Le16(kPlanesAt)} * h.Le16(kBitCountAt);

  // A negative height means the rows are stored top row first.
  const std::int64_t height = std::llabs(std::int64_t{signedHeight});
  if (width <= 0 || height == 0) return BmpStatus::kEmpty;
  if (width > kMaxTextureSide || height > kMaxTextureSide) return BmpStatus::kTooLarge;

  // Every row that is converted must lie within the file; the last may lack its padding.
  const std::uint64_t rowBytes =
      ConvertedBytesPerPixel(bitsPerPixel) * static_cast<std::uint64_t>(width);
  const std::uint64_t rowStride = (rowBytes + 3) / 4 * 4;
  if (rowBytes != 0 &&
      dataOffset + rowStride * static_cast<std::uint64_t>(height - 1) + rowBytes > fileSize) {
    return BmpStatus::kTruncated;
  }

  layout.dataOffset = dataOffset;
  layout.width = width;
  layout.height = static_cast<std::int32_t>(height);
  layout.topDown = signedHeight < 0;
  layout.bitsPerPixel = bitsPerPixel;
  layout.rowBytes = rowBytes;
  layout.rowStride = rowStride;
  return BmpStatus::kOk;
}

void ConvertBmpRows(const std::uint8_t* rows, std::int32_t firstRow, std::int32_t rowCount,
                    const BmpLayout& layout, std::uint8_t* rgba) {
  assert(firstRow >= 0 && rowCount >= 0 && firstRow + rowCount <= layout.height);
  const std::uint64_t bytesPerPixel = layout.rowBytes / static_cast<std::uint64_t>(layout.width);
  const std::size_t dstStride = std::size_t{4} * static_cast<std::size_t>(layout.width);
  for (std::int32_t i = 0; i < rowCount && bytesPerPixel != 0; ++i) {
    // Rows go into the buffer bottom row first, whichever order the file keeps them in.
    const std::int32_t r = firstRow + i;
    const std::int32_t dstRow = layout.topDown ? layout.height - 1 - r : r;
    const std::uint8_t* src = rows + layout.rowStride * static_cast<std::uint64_t>(i);
    std::uint8_t* dst = rgba + dstStride * static_cast<std::size_t>(dstRow);
    switch (bytesPerPixel) {
      case 1:
        ConvertGreyRow(src, dst, layout.width);
        break;
      case 3:
        ConvertBgrRow(src, dst, layout.width);
        break;
      default:
        ConvertColourRow<4>(src, dst, layout.width);
        break;
    }
  }
}

}  // namespace tovmar
