#include "texture/decode/FastPngEncoder.h"

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace tovmar {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kFilterUp = 2;
// A chunk's length and type before its data, its check value after.
constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kChunkCrcSize = 4;
constexpr std::size_t kHeaderDataSize = 13;
// The largest chunk the format allows.
constexpr std::uint64_t kMaxChunkData = 0x7FFFFFFF;
// About how many bytes of filtered rows are compressed at a time, and the room first made for
// the compressed rows (a drawn picture of 512 x 512 pixels takes 30 to 70 KiB).
constexpr std::size_t kGroupBytes = 128 * 1024;
constexpr std::size_t kFirstRoom = 64 * 1024;

void PutBigEndian(std::uint8_t* out, std::uint32_t value) {
  out[0] = static_cast<std::uint8_t>(value >> 24);
  out[1] = static_cast<std::uint8_t>(value >> 16);
  out[2] = static_cast<std::uint8_t>(value >> 8);
  out[3] = static_cast<std::uint8_t>(value);
}

// Writes the length and type of a chunk whose `size` bytes of data follow at out + 8, and after
// them the check value of its type and data; returns the position after the chunk.
std::uint8_t* FinishChunk(std::uint8_t* out, const char (&type)[5], std::uint32_t size) {
  PutBigEndian(out, size);
  std::memcpy(out + 4, type, 4);
  PutBigEndian(out + kChunkHeaderSize + size, crc32_gzip_refl(0, out + 4, 4 + size));
  return out + kChunkHeaderSize + size + kChunkCrcSize;
}

// Rows [first, first + count) behind their filter bytes, each as its difference from the row above
// it; the first row's "row above" is zeros, so it stays as it is. Drawn pictures' equal
// background rows become runs of zeros.
void FilterRowsUp(const std::uint8_t* pixels, std::size_t stride, std::size_t first,
                  std::size_t count, std::uint8_t* out) {
  for (std::size_t y = first; y < first + count; ++y) {
    const std::uint8_t* __restrict row = pixels + y * stride;
    std::uint8_t* __restrict filtered = out + (y - first) * (stride + 1);
    filtered[0] = kFilterUp;
    if (y == 0) {
      std::memcpy(filtered + 1, row, stride);
      continue;
    }
    const std::uint8_t* __restrict above = row - stride;
    for (std::size_t i = 0; i < stride; ++i) {
      filtered[1 + i] = static_cast<std::uint8_t>(row[i] - above[i]);
    }
  }
}

// Appends to `file` the zlib stream of the picture's filtered rows, filtering and compressing a
// group of rows at a time so that the encoder's memory does not grow with the picture. False
// when the compressor refuses.
bool AppendCompressedRows(const std::uint8_t* pixels, std::size_t stride, std::size_t height,
                          std::string& file) {
  const std::size_t groupRows = std::max<std::size_t>(1, kGroupBytes / (stride + 1));
  const std::unique_ptr<std::uint8_t[]> filtered =
      std::make_unique_for_overwrite<std::uint8_t[]>(groupRows * (stride + 1));
  const std::unique_ptr<std::uint8_t[]> levelBuffer =
      std::make_unique_for_overwrite<std::uint8_t[]>(ISAL_DEF_LVL1_DEFAULT);
  const auto stream = std::make_unique<isal_zstream>();
  isal_deflate_init(stream.get());
  stream->level = 1;
  stream->level_buf = levelBuffer.get();
  stream->level_buf_size = ISAL_DEF_LVL1_DEFAULT;
  stream->gzip_flag = IGZIP_ZLIB;
  stream->flush = NO_FLUSH;

  std::size_t written = file.size();
  file.resize(written + kFirstRoom);
  for (std::size_t first = 0; first < height; first += groupRows) {
    const std::size_t rows = std::min(groupRows, height - first);
    FilterRowsUp(pixels, stride, first, rows, filtered.get());
    stream->next_in = filtered.get();
    stream->avail_in = static_cast<std::uint32_t>(rows * (stride + 1));
    stream->end_of_stream = first + rows == height ? 1 : 0;
    // The compressor stops when it has taken every byte, or when the output is full: then the
    // file grows and it goes on.
    do {
      if (written == file.size()) file.resize(2 * file.size());
      auto* const start = reinterpret_cast<std::uint8_t*>(file.data());
      stream->next_out = start + written;
      stream->avail_out = static_cast<std::uint32_t>(
          std::min<std::size_t>(file.size() - written, std::numeric_limits<std::uint32_t>::max()));
      if (isal_deflate(stream.get()) != COMP_OK) return false;
      written = static_cast<std::size_t>(stream->next_out - start);
    } while (stream->avail_out == 0);
    if (stream->avail_in != 0) return false;
  }
  file.resize(written);
  return stream->internal_state.state == ZSTATE_END;
}

}  // namespace

std::string EncodeFastPng(const std::uint8_t* pixels, int width, int height, int channels) {
  if (width <= 0 || height <= 0 || (channels != 3 && channels != 4)) return {};
  const std::uint64_t stride =
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(channels);
  // The compressed rows go into one chunk, which rows that the compressor cannot shrink would
  // not fit.
  if ((stride + 1) * static_cast<std::uint64_t>(height) > kMaxChunkData / 2) return {};

  try {
    std::string file(sizeof kSignature + 2 * kChunkHeaderSize + kChunkCrcSize + kHeaderDataSize,
                     '\0');
    auto* out = reinterpret_cast<std::uint8_t*>(file.data());
    std::memcpy(out, kSignature, sizeof kSignature);
    out += sizeof kSignature;
    std::uint8_t* header = out + kChunkHeaderSize;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header + 4, static_cast<std::uint32_t>(height));
    header[8] = 8;                      // bits a channel
    header[9] = channels == 4 ? 6 : 2;  // colour type: RGB with or without alpha
    header[10] = 0;                     // deflate
    header[11] = 0;                     // the five row filters
    header[12] = 0;                     // not interlaced
    FinishChunk(out, "IHDR", kHeaderDataSize);

    const std::size_t dataStart = file.size();
    if (!AppendCompressedRows(pixels, stride, static_cast<std::size_t>(height), file)) return {};
    const std::size_t dataSize = file.size() - dataStart;
    if (dataSize > kMaxChunkData) return {};
    file.resize(file.size() + kChunkCrcSize + kChunkHeaderSize + kChunkCrcSize);
    out = reinterpret_cast<std::uint8_t*>(file.data()) + dataStart - kChunkHeaderSize;
    out = FinishChunk(out, "IDAT", static_cast<std::uint32_t>(dataSize));
    FinishChunk(out, "IEND", 0);
    return file;
  } catch (const std::bad_alloc&) {
    return {};
  }
}

}  // namespace tovmar
