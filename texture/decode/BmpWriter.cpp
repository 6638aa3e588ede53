#include "texture/decode/BmpWriter.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tovmar {

namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

// Padded rows are gathered into chunks of at most about this size before each write.
constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

void PutLittleEndian(std::vector<char>& out, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
}

// BITMAPFILEHEADER and BITMAPINFOHEADER of an uncompressed 24-bit picture with bottom-up rows.
std::vector<char> MakeHeaders(std::int32_t width, std::int32_t height, std::uint32_t imageBytes) {
  std::vector<char> h;
  const std::uint32_t dataOffset = kFileHeaderBytes + kInfoHeaderBytes;
  h.push_back('B');
  h.push_back('M');
  PutLittleEndian(h, dataOffset + imageBytes, 4);
  PutLittleEndian(h, 0, 4);
  PutLittleEndian(h, dataOffset, 4);
  PutLittleEndian(h, kInfoHeaderBytes, 4);
  PutLittleEndian(h, static_cast<std::uint32_t>(width), 4);
  PutLittleEndian(h, static_cast<std::uint32_t>(height), 4);
  PutLittleEndian(h, 1, 2);   // planes
  PutLittleEndian(h, 24, 2);  // bits per pixel
  PutLittleEndian(h, 0, 4);   // no compression
  PutLittleEndian(h, imageBytes, 4);
  PutLittleEndian(h, kPixelsPerMetre, 4);
  PutLittleEndian(h, kPixelsPerMetre, 4);
  PutLittleEndian(h, 0, 4);  // colours used
  PutLittleEndian(h, 0, 4);  // important colours
  return h;
}

bool WriteAll(std::FILE* file, const void* bytes, std::size_t count) {
  return std::fwrite(bytes, 1, count, file) == count;
}

}  // namespace

bool WriteBmp24(std::FILE* file, const BgrPicture& picture) {
  if (picture.width <= 0 || picture.height <= 0) return false;
  const std::uint64_t rowBytes = std::uint64_t{3} * static_cast<std::uint32_t>(picture.width);
  const std::uint64_t stride = (rowBytes + 3) / 4 * 4;
  const auto height = static_cast<std::uint32_t>(picture.height);
  const std::uint64_t imageBytes = stride * height;
  if (imageBytes + kFileHeaderBytes + kInfoHeaderBytes > UINT32_MAX) return false;

  const std::vector<char> headers =
      MakeHeaders(picture.width, picture.height, static_cast<std::uint32_t>(imageBytes));
  if (!WriteAll(file, headers.data(), headers.size())) return false;

  // Rows without padding are the file's rows already: one write.
  const std::uint8_t* bgr = picture.bgr.data();
  if (stride == rowBytes) {
    return WriteAll(file, bgr, picture.bgr.size()) && std::fflush(file) == 0;
  }

  // Otherwise whole rows are gathered into chunks with their padding, which stays zero.
  const auto rowsPerChunk =
      static_cast<std::uint32_t>(std::clamp<std::uint64_t>(kChunkBytes / stride, 1, height));
  std::vector<std::uint8_t> chunk(static_cast<std::size_t>(stride) * rowsPerChunk, 0);
  for (std::uint32_t row = 0; row < height;) {
    const std::uint32_t rows = std::min(rowsPerChunk, height - row);
    for (std::uint32_t i = 0; i < rows; ++i, ++row) {
      std::copy_n(bgr + rowBytes * row, rowBytes, chunk.data() + stride * i);
    }
    if (!WriteAll(file, chunk.data(), static_cast<std::size_t>(stride * rows))) return false;
  }
  return std::fflush(file) == 0;
}

}  // namespace tovmar
