#include "texture/decode/ImageSizeProbe.h"

#include <algorithm>
#include <cstdlib>

#include "texture/decode/ByteView.h"

namespace tovmar {

namespace {

ProbeResult Known(ImageExtent& extent, std::uint32_t width, std::uint32_t height) {
  extent.width = width;
  extent.height = height;
  extent.totalPixels = std::uint64_t{width} * height;
  return ProbeResult::kKnown;
}

// Signature, then the IHDR chunk with big-endian width and height, then every chunk up to IEND.
// wxImage's PNG reader does not notice the end of the file: a chunk that runs past it, or a file
// that ends before IEND, has the decoder inflate whatever the length says it holds, up to 2 GiB
// of nothing, for minutes.
ProbeResult ProbePng(const ByteView& b, ImageExtent& extent) {
  constexpr std::uint32_t kIhdr = 0x49484452u;
  constexpr std::uint32_t kIend = 0x49454E44u;
  constexpr std::uint64_t kMaxChunkBytes = 0x7FFFFFFFu;
  if (!b.Has(0, 24)) return ProbeResult::kCutShort;
  if (b.Be32(12) != kIhdr) return ProbeResult::kNotProbed;
  Known(extent, b.Be32(16), b.Be32(20));
  // Each chunk: length, type, data, CRC.
  for (std::uint64_t at = 8;;) {
    if (!b.Has(at, 8)) return ProbeResult::kCutInFrame;
    const std::uint64_t length = b.Be32(at);
    if (length > kMaxChunkBytes) return ProbeResult::kNotProbed;
    if (!b.Has(at + 8, length + 4)) return ProbeResult::kCutInFrame;
    if (b.Be32(at + 4) == kIend) return ProbeResult::kKnown;
    at += 12 + length;
  }
}

bool IsStartOfFrame(std::uint32_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Marker segments up to the first start-of-frame, which holds height and width.
ProbeResult ProbeJpeg(const ByteView& b, ImageExtent& extent) {
  std::uint64_t pos = 2;
  while (b.Has(pos, 2)) {
    if (b.U8(pos) != 0xFF) return ProbeResult::kNotProbed;
    const std::uint32_t marker = b.U8(pos + 1);
    if (marker == 0xFF) {  // fill byte
      pos += 1;
      continue;
    }
    pos += 2;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    if (marker == 0xD9 || marker == 0xDA) return ProbeResult::kNotProbed;
    if (!b.Has(pos, 2)) break;
    const std::uint32_t length = b.Be16(pos);
    if (length < 2) return ProbeResult::kNotProbed;
    if (IsStartOfFrame(marker)) {
      if (!b.Has(pos, 7)) break;
      return Known(extent, b.Be16(pos + 5), b.Be16(pos + 3));
    }
    pos += length;
  }
  return ProbeResult::kCutShort;
}

// Skips a chain of data sub-blocks, each led by its length, ended by a zero length.
std::uint64_t SkipGifSubBlocks(const ByteView& b, std::uint64_t pos) {
  while (b.Has(pos, 1)) {
    const std::uint32_t length = b.U8(pos);
    pos += 1 + length;
    if (length == 0) break;
  }
  return pos;
}

// The logical screen and every image descriptor up to the trailer, since the decoder keeps
// every frame.
ProbeResult ProbeGif(const ByteView& b, ImageExtent& extent) {
  if (!b.Has(0, 13)) return ProbeResult::kCutShort;
  Known(extent, b.Le16(6), b.Le16(8));
  std::uint64_t pos = 13;
  if ((b.U8(10) & 0x80u) != 0) pos += 3u << ((b.U8(10) & 7u) + 1);
  while (b.Has(pos, 1)) {
    const std::uint32_t block = b.U8(pos);
    if (block == 0x3B) return ProbeResult::kKnown;  // the trailer
    if (block == 0x21 && b.Has(pos, 2) && b.U8(pos + 1) == 0xF9) {
      // A graphic control block: a decoder reads its fixed six bytes without looking at its
      // lengths, so one of another shape would be read differently there than here.
      if (!b.Has(pos, 8)) return ProbeResult::kCutShort;
      if (b.U8(pos + 2) != 4 || b.U8(pos + 7) != 0) return ProbeResult::kNotProbed;
      pos += 8;
    } else if (block == 0x21) {
      pos = SkipGifSubBlocks(b, pos + 2);
    } else if (block == 0x2C && b.Has(pos, 10)) {
      const std::uint32_t w = b.Le16(pos + 5);
      const std::uint32_t h = b.Le16(pos + 7);
      // A frame without pixels makes a decoder write into an empty block.
      if (w == 0 || h == 0) return ProbeResult::kNotProbed;
      extent.width = std::max(extent.width, w);
      extent.height = std::max(extent.height, h);
      extent.totalPixels += std::uint64_t{w} * h;
      const std::uint32_t packed = b.U8(pos + 9);
      pos += 10;
      if ((packed & 0x80u) != 0) pos += 3u << ((packed & 7u) + 1);
      // The compression's starting code size: larger ones overrun a decoder's tables, and a
      // decoder that finds none reads the end of the file as one.
      if (!b.Has(pos, 1)) return ProbeResult::kCutInFrame;
      if (b.U8(pos) < 1 || b.U8(pos) > 8) return ProbeResult::kNotProbed;
      pos = SkipGifSubBlocks(b, pos + 1);
    } else if (block == 0x2C) {
      return ProbeResult::kCutInFrame;
    } else {
      return ProbeResult::kNotProbed;  // a stray byte, which a decoder may skip past
    }
  }
  return ProbeResult::kCutShort;
}

// The core header of OS/2 files has 16-bit sizes, the others signed 32-bit ones.
ProbeResult ProbeBmp(const ByteView& b, ImageExtent& extent) {
  if (!b.Has(0, 18)) return ProbeResult::kCutShort;
  if (b.Le32(14) == 12) {
    if (!b.Has(0, 22)) return ProbeResult::kCutShort;
    return Known(extent, b.Le16(18), b.Le16(20));
  }
  if (!b.Has(0, 26)) return ProbeResult::kCutShort;
  const auto width = static_cast<std::int32_t>(b.Le32(18));
  const auto height = static_cast<std::int32_t>(b.Le32(22));
  return Known(extent, static_cast<std::uint32_t>(std::llabs(std::int64_t{width})),
               static_cast<std::uint32_t>(std::llabs(std::int64_t{height})));
}

// The first image file directory, whose entries hold the width (tag 256) and length (tag 257).
// A tag that comes twice counts where it first comes, as the TIFF decoder reads it.
ProbeResult ProbeTiff(const ByteView& b, ImageExtent& extent) {
  const bool little = b.StartsWith("II");
  const auto u16 = [&](std::uint64_t at) { return little ? b.Le16(at) : b.Be16(at); };
  const auto u32 = [&](std::uint64_t at) { return little ? b.Le32(at) : b.Be32(at); };
  if (!b.Has(0, 8)) return ProbeResult::kCutShort;
  const std::uint64_t directory = u32(4);
  if (!b.Has(directory, 2)) return ProbeResult::kCutShort;
  const std::uint32_t entries = u16(directory);
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  bool widthSeen = false;
  bool heightSeen = false;
  for (std::uint32_t i = 0; i < entries; ++i) {
    const std::uint64_t entry = directory + 2 + 12 * std::uint64_t{i};
    if (!b.Has(entry, 12)) return ProbeResult::kCutShort;
    const std::uint32_t tag = u16(entry);
    const bool isWidth = tag == 256 && !widthSeen;
    const bool isHeight = tag == 257 && !heightSeen;
    if (!isWidth && !isHeight) continue;
    const std::uint32_t value = u16(entry + 2) == 3 ? u16(entry + 8) : u32(entry + 8);
    (isWidth ? width : height) = value;
    (isWidth ? widthSeen : heightSeen) = true;
  }
  return Known(extent, width, height);
}

// TGA has no signature: the header must look like one of the types that decoders read.
ProbeResult ProbeTga(const ByteView& b, ImageExtent& extent) {
  if (!b.Has(0, 18)) return ProbeResult::kNotProbed;
  const std::uint32_t mapType = b.U8(1);
  const std::uint32_t imageType = b.U8(2);
  const std::uint32_t depth = b.U8(16);
  const bool mapped = imageType == 1 || imageType == 9;
  const bool direct = imageType == 2 || imageType == 3 || imageType == 10 || imageType == 11;
  if (mapped ? mapType != 1 : !(direct && mapType <= 1)) return ProbeResult::kNotProbed;
  // A colour-mapped picture needs colours in its map.
  if (mapped && b.Le16(5) == 0) return ProbeResult::kNotProbed;
  if (depth != 8 && depth != 15 && depth != 16 && depth != 24 && depth != 32) {
    return ProbeResult::kNotProbed;
  }
  return Known(extent, b.Le16(12), b.Le16(14));
}

// The format by its signature; TGA, which has none, for everything else.
ImageFormat DetectFormat(const ByteView& b) {
  if (b.StartsWith("\x89PNG\r\n\x1a\n")) return ImageFormat::kPng;
  if (b.StartsWith("\xFF\xD8")) return ImageFormat::kJpeg;
  if (b.StartsWith("GIF87a") || b.StartsWith("GIF89a")) return ImageFormat::kGif;
  if (b.StartsWith("BM")) return ImageFormat::kBmp;
  if (b.StartsWith(std::string_view("II*\0", 4)) || b.StartsWith(std::string_view("MM\0*", 4))) {
    return ImageFormat::kTiff;
  }
  return ImageFormat::kTga;
}

}  // namespace

ProbeResult ProbeImageExtent(std::string_view bytes, ImageExtent& extent) {
  const ByteView b(bytes);
  extent.format = DetectFormat(b);
  switch (extent.format) {
    case ImageFormat::kPng:
      return ProbePng(b, extent);
    case ImageFormat::kJpeg:
      return ProbeJpeg(b, extent);
    case ImageFormat::kGif:
      return ProbeGif(b, extent);
    case ImageFormat::kBmp:
      return ProbeBmp(b, extent);
    case ImageFormat::kTiff:
      return ProbeTiff(b, extent);
    case ImageFormat::kTga:
    case ImageFormat::kUnknown:
      break;
  }
  return ProbeTga(b, extent);
}

}  // namespace tovmar
