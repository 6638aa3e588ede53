#include "texture/decode/BmpWriter.h"

#include <algorithm>
#include <cstdint>
#include <optional>
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

// Where the rows of a picture lie in its BMP file; nothing for a side of zero or below, or for a
// picture too large for the format.
struct RowLayout {
  std::uint64_t rowBytes = 0;
  std::uint64_t stride = 0;
  std::uint32_t imageBytes = 0;
};

std::optional<RowLayout> LayoutOf(std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0) return std::nullopt;
  RowLayout layout;
  layout.rowBytes = std::uint64_t{3} * static_cast<std::uint32_t>(width);
  layout.stride = (layout.rowBytes + 3) / 4 * 4;
  const std::uint64_t imageBytes = layout.stride * static_cast<std::uint32_t>(height);
  if (imageBytes + kFileHeaderBytes + kInfoHeaderBytes > UINT32_MAX) return std::nullopt;
  layout.imageBytes = static_cast<std::uint32_t>(imageBytes);
  return layout;
}

// Writes rows [first, first + count) at the file's current position, padding included.
bool WriteRows(std::FILE* file, const BgrRows& rows, const RowLayout& layout, std::uint32_t first,
               std::uint32_t count) {
  // Rows without padding are the file's rows already: one write.
  const std::uint8_t* bgr = rows.bgr + layout.rowBytes * first;
  if (layout.stride == layout.rowBytes) {
    return WriteAll(file, bgr, static_cast<std::size_t>(layout.rowBytes * count));
  }

  // Otherwise whole rows are gathered into chunks with their padding, which stays zero.
  const auto rowsPerChunk = static_cast<std::uint32_t>(
      std::clamp<std::uint64_t>(kChunkBytes / layout.stride, 1, std::max(count, 1u)));
  std::vector<std::uint8_t> chunk(static_cast<std::size_t>(layout.stride) * rowsPerChunk, 0);
  for (std::uint32_t done = 0; done < count;) {
    const std::uint32_t n = std::min(rowsPerChunk, count - done);
    for (std::uint32_t i = 0; i < n; ++i, ++done) {
      std::copy_n(bgr + layout.rowBytes * done, layout.rowBytes, chunk.data() + layout.stride * i);
    }
    if (!WriteAll(file, chunk.data(), static_cast<std::size_t>(layout.stride * n))) return false;
  }
  return true;
}

}  // namespace

bool WriteBmp24(std::FILE* file, const BgrPicture& picture) {
  const BgrRows rows{picture.bgr.data(), picture.width, picture.height};
  const std::optional<RowLayout> layout = LayoutOf(rows.width, rows.height);
  if (!layout || picture.bgr.size() < layout->rowBytes * static_cast<std::uint32_t>(rows.height)) {
    return false;
  }
  const std::vector<char> headers = MakeHeaders(rows.width, rows.height, layout->imageBytes);
  return WriteAll(file, headers.data(), headers.size()) &&
         WriteRows(file, rows, *layout, 0, static_cast<std::uint32_t>(rows.height)) &&
         std::fflush(file) == 0;
}

bool WriteBmpHeaders(std::FILE* file, long fileStart, std::int32_t width, std::int32_t height) {
  const std::optional<RowLayout> layout = LayoutOf(width, height);
  if (!layout) return false;
  const std::vector<char> headers = MakeHeaders(width, height, layout->imageBytes);
  return std::fseek(file, fileStart, SEEK_SET) == 0 &&
         WriteAll(file, headers.data(), headers.size());
}

bool WriteBmpRows(std::FILE* file, long fileStart, const BgrRows& rows, std::uint32_t firstRow,
                  std::uint32_t rowCount) {
  const std::optional<RowLayout> layout = LayoutOf(rows.width, rows.height);
  if (!layout || firstRow > static_cast<std::uint32_t>(rows.height) ||
      rowCount > static_cast<std::uint32_t>(rows.height) - firstRow) {
    return false;
  }
  const std::uint64_t at = kFileHeaderBytes + kInfoHeaderBytes + layout->stride * firstRow;
  return std::fseek(file, fileStart + static_cast<long>(at), SEEK_SET) == 0 &&
         WriteRows(file, rows, *layout, firstRow, rowCount);
}

}  // namespace tovmar
