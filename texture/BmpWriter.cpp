#include "texture/BmpWriter.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "mesh/FileBytes.h"

namespace tovmar {

namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

// Rows are gathered into chunks of at most about this size before each write.
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

// Opens `path` for writing from its start, creating it when it does not exist. An existing file
// is not truncated on opening: on ext4, a file truncated and written again is flushed to disk
// when closed, which would double the cost of the short-lived temporary file.
std::fstream OpenForWriting(const std::filesystem::path& path) {
  std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
  if (!file.is_open()) file.open(path, std::ios::binary | std::ios::out | std::ios::trunc);
  return file;
}

// The sizes of a picture's rows in the file.
struct RowLayout {
  std::uint64_t rowBytes;  // the pixels of a row
  std::uint64_t stride;    // a row with its padding to a multiple of 4 bytes
};

// Gathers whole rows into chunks and writes them; `fillRow(row, out)` puts the pixels of row
// `row` (0 the bottom) at `out`; the padding stays zero.
template <typename FillRow>
void WriteInChunks(std::fstream& file, const RowLayout& layout, std::int32_t height,
                   const FillRow& fillRow) {
  const auto rowsPerChunk = static_cast<std::int32_t>(std::clamp<std::uint64_t>(
      kChunkBytes / layout.stride, 1, static_cast<std::uint32_t>(height)));
  std::vector<char> chunk(static_cast<std::size_t>(layout.stride) * rowsPerChunk, 0);
  for (std::int32_t row = 0; row < height;) {
    const std::int32_t rows = std::min(rowsPerChunk, height - row);
    for (std::int32_t i = 0; i < rows; ++i, ++row) {
      fillRow(row, chunk.data() + layout.stride * static_cast<std::uint32_t>(i));
    }
    file.write(chunk.data(),
               static_cast<std::streamsize>(layout.stride * static_cast<std::uint32_t>(rows)));
  }
}

// Writes the headers of a width x height picture to `path` (UTF-8), then its rows through
// `writeRows(file, layout)`, and cuts an older, longer file at the new end.
template <typename WriteRows>
bool WriteBmpFile(const std::string& path, std::int32_t width, std::int32_t height,
                  const WriteRows& writeRows) {
  if (width <= 0 || height <= 0) return false;
  RowLayout layout;
  layout.rowBytes = std::uint64_t{3} * static_cast<std::uint32_t>(width);
  layout.stride = (layout.rowBytes + 3) / 4 * 4;
  const std::uint64_t imageBytes = layout.stride * static_cast<std::uint32_t>(height);
  if (imageBytes + kFileHeaderBytes + kInfoHeaderBytes > UINT32_MAX) return false;

  const std::filesystem::path target = PathFromUtf8(path);
  std::fstream file = OpenForWriting(target);
  if (!file) return false;
  const std::vector<char> headers =
      MakeHeaders(width, height, static_cast<std::uint32_t>(imageBytes));
  file.write(headers.data(), static_cast<std::streamsize>(headers.size()));
  writeRows(file, layout);
  file.close();
  if (!file) return false;

  // Whatever an older, longer file held beyond the picture goes.
  const std::uint64_t written = headers.size() + imageBytes;
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(target, ec);
  if (!ec && size > written) std::filesystem::resize_file(target, written, ec);
  return !ec;
}

}  // namespace

bool WriteBmp24(const std::string& path, const std::uint8_t* rgb, std::int32_t width,
                std::int32_t height) {
  return WriteBmpFile(path, width, height, [&](std::fstream& file, const RowLayout& layout) {
    // Bottom row first, each pixel as B, G, R.
    WriteInChunks(file, layout, height, [&](std::int32_t row, char* dst) {
      const std::uint8_t* src =
          rgb + layout.rowBytes * static_cast<std::uint32_t>(height - 1 - row);
      for (std::int32_t x = 0; x < width; ++x, src += 3, dst += 3) {
        // Loaded before storing: the compiler cannot know that the chunk and `rgb` never meet.
        const std::uint8_t r = src[0], g = src[1], b = src[2];
        dst[0] = static_cast<char>(b);
        dst[1] = static_cast<char>(g);
        dst[2] = static_cast<char>(r);
      }
    });
  });
}

bool WriteBmp24(const std::string& path, const BgrPicture& picture) {
  const std::uint8_t* bgr = picture.bgr.data();
  return WriteBmpFile(
      path, picture.width, picture.height, [&](std::fstream& file, const RowLayout& layout) {
        // Rows without padding are the file's rows already.
        if (layout.stride == layout.rowBytes) {
          file.write(reinterpret_cast<const char*>(bgr),
                     static_cast<std::streamsize>(picture.bgr.size()));
          return;
        }
        WriteInChunks(file, layout, picture.height, [&](std::int32_t row, char* dst) {
          std::copy_n(bgr + layout.rowBytes * static_cast<std::uint32_t>(row), layout.rowBytes,
                      dst);
        });
      });
}

}  // namespace tovmar
