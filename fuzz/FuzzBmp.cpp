// Fuzzes the reading of the texture load's temporary BMP file: any bytes as that file, its header
// read and checked, its rows converted in blocks as the loader reads them, and every pixel
// compared with what the file's bytes say it is.
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "mesh/TextureObject.h"
#include "texture/TemporaryBmpReader.h"

namespace tovmar::fuzz {

namespace {

// Rows are handed over in blocks of about this many bytes: small, so that even a small file
// spans several blocks.
constexpr std::uint64_t kBlockBytes = 64;

// What an accepted layout promises: sane sides and depths, padded rows, and converted rows that
// lie within the file.
void CheckLayout(const BmpLayout& layout, std::size_t fileSize) {
  Require(layout.width > 0 && layout.width <= kMaxTextureSide && layout.height > 0 &&
              layout.height <= kMaxTextureSide,
          "an accepted picture has sides from 1 to the largest texture side");
  const std::uint64_t bytesPerPixel = layout.rowBytes / static_cast<std::uint64_t>(layout.width);
  const bool converted =
      layout.bitsPerPixel == 8 || layout.bitsPerPixel == 24 || layout.bitsPerPixel == 32;
  Require(bytesPerPixel == (converted ? layout.bitsPerPixel / 8 : 0) &&
              layout.rowBytes == bytesPerPixel * static_cast<std::uint64_t>(layout.width),
          "rows of 8, 24 and 32 bits per pixel are converted, no others");
  Require(layout.rowStride % 4 == 0 && layout.rowStride >= layout.rowBytes &&
              layout.rowStride - layout.rowBytes < 4,
          "rows are padded to a multiple of 4 bytes");
  Require(layout.rowBytes == 0 ||
              layout.dataOffset + layout.rowStride * static_cast<std::uint64_t>(layout.height - 1) +
                      layout.rowBytes <=
                  fileSize,
          "the converted rows lie within the file");
}

// The rows in file order, a block at a time, each block in a buffer of exactly the bytes the
// loader reads for it: the last row of the file without its padding.
std::vector<std::uint8_t> ConvertInBlocks(std::string_view file, const BmpLayout& layout) {
  std::vector<std::uint8_t> rgba(std::size_t{4} * static_cast<std::size_t>(layout.width) *
                                 static_cast<std::size_t>(layout.height));
  const auto rowsPerBlock = static_cast<std::int32_t>(std::clamp<std::uint64_t>(
      kBlockBytes / layout.rowStride, 1, static_cast<std::uint64_t>(layout.height)));
  for (std::int32_t row = 0; row < layout.height; row += rowsPerBlock) {
    const std::int32_t rows = std::min(rowsPerBlock, layout.height - row);
    const bool last = row + rows == layout.height;
    const std::uint64_t start =
        layout.dataOffset + layout.rowStride * static_cast<std::uint64_t>(row);
    const std::uint64_t want = layout.rowStride * static_cast<std::uint64_t>(rows - 1) +
                               (last ? layout.rowBytes : layout.rowStride);
    const std::vector<std::uint8_t> block(file.begin() + static_cast<std::ptrdiff_t>(start),
                                          file.begin() + static_cast<std::ptrdiff_t>(start + want));
    ConvertBmpRows(block.data(), row, rows, layout, rgba.data());
  }
  return rgba;
}

// Each pixel is R, G, B, 0 from its place in the file: grey from one byte, colour from B, G, R.
void CheckPixels(std::string_view file, const BmpLayout& layout,
                 const std::vector<std::uint8_t>& rgba) {
  const std::uint64_t bytesPerPixel = layout.rowBytes / static_cast<std::uint64_t>(layout.width);
  for (std::int32_t y = 0; y < layout.height; ++y) {
    const std::int32_t fileRow = layout.topDown ? layout.height - 1 - y : y;
    const auto* src = reinterpret_cast<const std::uint8_t*>(file.data()) + layout.dataOffset +
                      layout.rowStride * static_cast<std::uint64_t>(fileRow);
    const std::uint8_t* dst = rgba.data() + std::size_t{4} * static_cast<std::size_t>(y) *
                                                static_cast<std::size_t>(layout.width);
    for (std::int32_t x = 0; x < layout.width; ++x, src += bytesPerPixel, dst += 4) {
      const bool grey = bytesPerPixel == 1;
      Require(dst[0] == (grey ? src[0] : src[2]) && dst[1] == (grey ? src[0] : src[1]) &&
                  dst[2] == src[0] && dst[3] == 0,
              "every pixel shows its bytes in the file, bottom row first");
    }
  }
}

}  // namespace

}  // namespace tovmar::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tovmar;
  using namespace tovmar::fuzz;
  const std::string_view file(reinterpret_cast<const char*>(data), size);

  BmpLayout layout;
  if (ReadBmpLayout(file.substr(0, kBmpHeaderBytes), size, layout) != BmpStatus::kOk) return 0;
  CheckLayout(layout, size);
  // Other depths are not read at all, and the loader keeps their zero-filled pixels; the rows
  // that are read bound the pixels to 4 bytes for each byte of the file.
  if (layout.rowBytes == 0) return 0;
  CheckPixels(file, layout, ConvertInBlocks(file, layout));
  return 0;
}
