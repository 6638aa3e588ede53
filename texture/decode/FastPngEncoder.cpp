#include "texture/decode/FastPngEncoder.h"

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>

#include <cstddef>
#include <cstring>
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

// Every row behind its filter byte, as the difference from the row above it; the first row's
// "row above" is zeros, so it stays as it is. Drawn pictures' equal background rows become runs
// of zeros.
void FilterRowsUp(const std::uint8_t* pixels, std::size_t stride, int height, std::uint8_t* out) {
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* __restrict row = pixels + static_cast<std::size_t>(y) * stride;
    std::uint8_t* __restrict filtered = out + static_cast<std::size_t>(y) * (stride + 1);
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

// The zlib stream of `size` bytes at `in`, into `out` of `room` bytes; its length, or 0 when the
// compressor refuses.
std::size_t Deflate(std::uint8_t* in, std::size_t size, std::uint8_t* out, std::size_t room) {
  const std::unique_ptr<std::uint8_t[]> levelBuffer =
      std::make_unique_for_overwrite<std::uint8_t[]>(ISAL_DEF_LVL1_DEFAULT);
  isal_zstream stream;
  isal_deflate_stateless_init(&stream);
  stream.level = 1;
  stream.level_buf = levelBuffer.get();
  stream.level_buf_size = ISAL_DEF_LVL1_DEFAULT;
  stream.gzip_flag = IGZIP_ZLIB;
  stream.end_of_stream = 1;
  stream.flush = NO_FLUSH;
  stream.next_in = in;
  stream.avail_in = static_cast<std::uint32_t>(size);
  stream.next_out = out;
  stream.avail_out = static_cast<std::uint32_t>(room);
  if (isal_deflate_stateless(&stream) != COMP_OK || stream.avail_in != 0) return 0;
  return stream.total_out;
}

}  // namespace

std::string EncodeFastPng(const std::uint8_t* pixels, int width, int height, int channels) {
  if (width <= 0 || height <= 0 || (channels != 3 && channels != 4)) return {};
  const std::uint64_t stride =
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(channels);
  const std::uint64_t rowBytes = (stride + 1) * static_cast<std::uint64_t>(height);
  // The compressed rows are at most the rows in stored blocks of at least 16 KiB, each behind a
  // five-byte header, with the stream's own header and trailer.
  const std::uint64_t room = rowBytes + (rowBytes / 16384 + 1) * 5 + ISAL_DEF_MAX_HDR_SIZE + 16;
  if (room > kMaxChunkData) return {};

  try {
    const std::unique_ptr<std::uint8_t[]> filtered =
        std::make_unique_for_overwrite<std::uint8_t[]>(rowBytes);
    FilterRowsUp(pixels, stride, height, filtered.get());
    const std::unique_ptr<std::uint8_t[]> compressed =
        std::make_unique_for_overwrite<std::uint8_t[]>(room);
    const std::size_t size = Deflate(filtered.get(), rowBytes, compressed.get(), room);
    if (size == 0) return {};

    std::string file(
        sizeof kSignature + 3 * (kChunkHeaderSize + kChunkCrcSize) + kHeaderDataSize + size, '\0');
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
    out = FinishChunk(out, "IHDR", kHeaderDataSize);

    std::memcpy(out + kChunkHeaderSize, compressed.get(), size);
    out = FinishChunk(out, "IDAT", static_cast<std::uint32_t>(size));
    FinishChunk(out, "IEND", 0);
    return file;
  } catch (const std::bad_alloc&) {
    return {};
  }
}

}  // namespace tovmar
