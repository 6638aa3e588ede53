#include "texture/decode/GifDecoder.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "texture/decode/ByteView.h"
#include "texture/decode/PictureLimits.h"

namespace tovmar {

namespace {

constexpr std::uint32_t kExtensionIntroducer = 0x21;
constexpr std::uint32_t kImageSeparator = 0x2C;
constexpr std::uint32_t kGraphicControlLabel = 0xF9;
constexpr std::uint32_t kColourTableFlag = 0x80;
constexpr std::uint32_t kInterlaceFlag = 0x40;

// Codes are at most 12 bits wide, so the string table has at most 4096 entries.
constexpr std::uint32_t kMaxCodeWidth = 12;
constexpr std::uint32_t kMaxCodes = std::uint32_t{1} << kMaxCodeWidth;

// Colour indices are bytes; each of the 256 has a colour here.
using Palette = std::array<std::uint8_t, 256 * 3>;

std::uint32_t U8(char c) {
  return static_cast<std::uint8_t>(c);
}

// The bytes of a colour table whose size field (the low three bits of `flags`) is given.
std::size_t ColourTableBytes(std::uint32_t flags) {
  return std::size_t{3} << ((flags & 7u) + 1);
}

// The file's bytes, consumed from the front; nothing is read beyond their end.
class Cursor {
 public:
  explicit Cursor(std::string_view bytes) : m_rest(bytes) {}

  bool Take(std::size_t count, std::string_view& out) {
    if (count > m_rest.size()) return false;
    out = m_rest.substr(0, count);
    m_rest.remove_prefix(count);
    return true;
  }
  bool Byte(std::uint32_t& out) {
    std::string_view one;
    if (!Take(1, one)) return false;
    out = U8(one[0]);
    return true;
  }
  std::string_view Rest() const { return m_rest; }

 private:
  std::string_view m_rest;
};

// Skips a chain of data sub-blocks, each led by its length and the chain ended by a zero length,
// keeping the first sub-block in `first`. False when the bytes end inside the chain.
bool SkipSubBlocks(Cursor& in, std::string_view& first) {
  first = {};
  for (bool isFirst = true;; isFirst = false) {
    std::uint32_t length = 0;
    std::string_view block;
    if (!in.Byte(length) || !in.Take(length, block)) return false;
    if (length == 0) return true;
    if (isFirst) first = block;
  }
}

// The bytes of the compressed data's sub-blocks, as far as the file holds them.
std::uint64_t DataBytes(std::string_view chain) {
  std::uint64_t total = 0;
  while (!chain.empty()) {
    const std::size_t length = std::min<std::size_t>(U8(chain[0]), chain.size() - 1);
    if (length == 0) break;
    total += length;
    chain.remove_prefix(1 + length);
  }
  return total;
}

// Whether data of `dataBytes` bytes can fill `pixels` pixels at all: each code of at least
// `minCodeSize` + 1 bits names one string, and the n-th code's string is at most n indices long
// and never longer than the table has entries. A few bytes cannot make a large picture.
bool CanFill(std::uint64_t pixels, std::uint64_t dataBytes, std::uint32_t minCodeSize) {
  const std::uint64_t codes = dataBytes * 8 / (minCodeSize + 1);
  return pixels <= codes * std::min<std::uint64_t>(codes, kMaxCodes);
}

// The transparent index that a graphic control block's first sub-block sets: its fourth byte,
// when the lowest bit of its first byte is set.
std::optional<std::uint32_t> TransparentIndex(std::string_view graphicControl) {
  if (graphicControl.size() < 4 || (U8(graphicControl[0]) & 1u) == 0) return std::nullopt;
  return U8(graphicControl[3]);
}

// The colours of `table`, then black for the indices beyond it. The texture keeps no
// transparency: the transparent index shows as magenta and an opaque magenta as (255, 0, 254),
// the colours that GIF textures had when wxImage decoded them, so that they look as before.
Palette MakePalette(std::string_view table, std::optional<std::uint32_t> transparent) {
  Palette palette{};
  for (std::size_t i = 0; i < table.size(); ++i) palette[i] = static_cast<std::uint8_t>(table[i]);
  if (transparent) {
    for (std::size_t i = 0; i < table.size(); i += 3) {
      if (palette[i] == 255 && palette[i + 1] == 0 && palette[i + 2] == 255) palette[i + 2] = 254;
    }
    const std::size_t at = 3 * std::size_t{*transparent};
    palette[at] = 255;
    palette[at + 1] = 0;
    palette[at + 2] = 255;
  }
  // The picture is kept as B, G, R.
  for (std::size_t i = 0; i < palette.size(); i += 3) std::swap(palette[i], palette[i + 2]);
  return palette;
}

// The compressed data: codes packed least significant bit first into the bytes of a chain of
// sub-blocks. It ends at the chain's zero length or at the end of the file's bytes.
class CodeReader {
 public:
  explicit CodeReader(std::string_view bytes) : m_rest(bytes) {}

  // The next code of `width` bits; false when the data ends first.
  bool Read(std::uint32_t width, std::uint32_t& code) {
    while (m_bitCount < width) {
      std::uint32_t byte = 0;
      if (!NextByte(byte)) return false;
      m_bits |= byte << m_bitCount;
      m_bitCount += 8;
    }
    code = m_bits & ((std::uint32_t{1} << width) - 1);
    m_bits >>= width;
    m_bitCount -= width;
    return true;
  }

 private:
  bool NextByte(std::uint32_t& byte) {
    if (m_blockLeft == 0) {
      if (m_ended || m_rest.empty()) return false;
      m_blockLeft = U8(m_rest[0]);
      m_rest.remove_prefix(1);
      if (m_blockLeft == 0) {
        m_ended = true;
        return false;
      }
    }
    if (m_rest.empty()) return false;
    byte = U8(m_rest[0]);
    m_rest.remove_prefix(1);
    --m_blockLeft;
    return true;
  }

  std::string_view m_rest;
  std::uint32_t m_blockLeft = 0;  // bytes left in the current sub-block
  bool m_ended = false;           // the zero length was read
  std::uint32_t m_bits = 0;       // bits read but not yet used, the next one lowest
  std::uint32_t m_bitCount = 0;
};

// Places decoded pixels in the picture in the order the image stores its rows: top to bottom,
// or for an interlaced image in four passes, every 8th row from row 0, every 8th from row 4,
// every 4th from row 2 and every 2nd from row 1.
class PixelWriter {
 public:
  PixelWriter(BgrPicture& picture, const Palette& palette, bool interlaced)
      : m_picture(picture),
        m_palette(palette),
        m_passes(interlaced ? kInterlacedPasses.data() : &kSinglePass),
        m_passCount(interlaced ? kInterlacedPasses.size() : 1) {}

  bool Full() const { return m_pass == m_passCount; }

  // Writes the colour of `index` at the next place; only while not Full.
  void Put(std::uint8_t index) {
    // The image's rows run from the top, the picture's from the bottom.
    const std::size_t row = static_cast<std::size_t>(m_picture.height - 1 - m_y);
    const std::size_t at =
        3 * (row * static_cast<std::size_t>(m_picture.width) + static_cast<std::size_t>(m_x));
    std::copy_n(&m_palette[3 * std::size_t{index}], 3, &m_picture.bgr[at]);
    if (++m_x < m_picture.width) return;
    m_x = 0;
    m_y += m_passes[m_pass].step;
    while (m_y >= m_picture.height) {
      if (++m_pass == m_passCount) return;
      m_y = m_passes[m_pass].firstRow;
    }
  }

 private:
  struct Pass {
    std::int32_t firstRow;
    std::int32_t step;
  };
  static constexpr Pass kSinglePass{0, 1};
  static constexpr std::array<Pass, 4> kInterlacedPasses{{{0, 8}, {4, 8}, {2, 4}, {1, 2}}};

  BgrPicture& m_picture;
  const Palette& m_palette;
  const Pass* m_passes;
  std::size_t m_passCount;
  std::size_t m_pass = 0;
  std::int32_t m_x = 0;
  std::int32_t m_y = 0;
};

// The LZW decompression of the image's data. The table's entries are strings of colour indices:
// one for each index below the clear code, then one added for each code read, made of the previous
// code's string and the first index of the current one. A code names an entry already made, or
// the one about to be made; anything else is damage, where decoding stops.
class LzwDecoder {
 public:
  explicit LzwDecoder(std::uint32_t minCodeSize)
      : m_minCodeSize(minCodeSize), m_clear(std::uint32_t{1} << minCodeSize), m_end(m_clear + 1) {
    for (std::uint32_t i = 0; i < m_clear; ++i) {
      m_suffix[i] = static_cast<std::uint8_t>(i);
      m_first[i] = static_cast<std::uint8_t>(i);
    }
    Reset();
  }

  // Decodes codes into `out` until the picture is full, the end code comes, the data ends or
  // turns invalid.
  void Decode(CodeReader& codes, PixelWriter& out) {
    std::uint32_t code = 0;
    while (!out.Full() && codes.Read(m_width, code) && code != m_end) {
      if (code == m_clear) {
        Reset();
        continue;
      }
      const bool known = code < m_next;
      // The code of the entry about to be made: the previous string and its own first index.
      const bool next = code == m_next && m_previous.has_value();
      if (!known && !next) return;
      if (m_previous && m_next < kMaxCodes) {
        m_prefix[m_next] = static_cast<std::uint16_t>(*m_previous);
        m_suffix[m_next] = m_first[known ? code : *m_previous];
        m_first[m_next] = m_first[*m_previous];
        ++m_next;
      }
      Emit(code, out);
      m_previous = code;
      // Once the table reaches the codes' range, codes are one bit wider, up to 12 bits; a full
      // table stays as it is until a clear code.
      if (m_next == (std::uint32_t{1} << m_width) && m_width < kMaxCodeWidth) ++m_width;
    }
  }

 private:
  void Reset() {
    m_width = m_minCodeSize + 1;
    m_next = m_end + 1;
    m_previous.reset();
  }

  // Writes the string of the entry `code` to `out`, as far as the picture has room. Each entry
  // refers to an earlier one, so the chain ends at an index within kMaxCodes steps.
  void Emit(std::uint32_t code, PixelWriter& out) {
    std::size_t length = 0;
    while (code >= m_clear) {
      m_string[length++] = m_suffix[code];
      code = m_prefix[code];
    }
    m_string[length++] = static_cast<std::uint8_t>(code);
    while (length > 0 && !out.Full()) out.Put(m_string[--length]);
  }

  const std::uint32_t m_minCodeSize;
  const std::uint32_t m_clear;              // the clear code; the codes below it are colour indices
  const std::uint32_t m_end;                // the end code
  std::uint32_t m_width = 0;                // the width of the next code, in bits
  std::uint32_t m_next = 0;                 // the entry that the next code read makes
  std::optional<std::uint32_t> m_previous;  // the code read last, unless a clear code was
  std::array<std::uint16_t, kMaxCodes> m_prefix{};
  std::array<std::uint8_t, kMaxCodes> m_suffix{};
  std::array<std::uint8_t, kMaxCodes> m_first{};   // the first index of each entry's string
  std::array<std::uint8_t, kMaxCodes> m_string{};  // an entry's string, last index first
};

}  // namespace

bool DecodeGif(std::string_view bytes, BgrPicture& picture) {
  Cursor in(bytes);
  std::string_view header;
  if (!in.Take(13, header)) return false;
  if (!header.starts_with("GIF87a") && !header.starts_with("GIF89a")) return false;
  const std::uint32_t screenFlags = U8(header[10]);
  std::string_view globalTable;
  if ((screenFlags & kColourTableFlag) != 0 &&
      !in.Take(ColourTableBytes(screenFlags), globalTable)) {
    return false;
  }

  // Extensions up to the first image; the last graphic control block before it applies.
  std::optional<std::uint32_t> transparent;
  for (;;) {
    std::uint32_t block = 0;
    if (!in.Byte(block)) return false;
    if (block == kImageSeparator) break;
    std::uint32_t label = 0;
    std::string_view first;
    // The trailer before any image, or a byte that starts no block.
    if (block != kExtensionIntroducer || !in.Byte(label) || !SkipSubBlocks(in, first)) {
      return false;
    }
    if (label == kGraphicControlLabel) transparent = TransparentIndex(first);
  }

  std::string_view descriptor;
  if (!in.Take(9, descriptor)) return false;
  const ByteView fields(descriptor);
  const std::uint32_t width = fields.Le16(4);
  const std::uint32_t height = fields.Le16(6);
  const std::uint32_t imageFlags = fields.U8(8);
  constexpr auto kMaxSide = static_cast<std::uint32_t>(kMaxPictureSide);
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return false;
  std::string_view table = globalTable;
  if ((imageFlags & kColourTableFlag) != 0 && !in.Take(ColourTableBytes(imageFlags), table)) {
    return false;
  }
  std::uint32_t minCodeSize = 0;
  if (table.empty() || !in.Byte(minCodeSize) || minCodeSize < 1 || minCodeSize > 8) return false;

  // Data too short to fill the picture is refused before the picture is made.
  const std::size_t pixels = std::size_t{width} * height;
  if (!CanFill(pixels, DataBytes(in.Rest()), minCodeSize)) return false;

  const Palette palette = MakePalette(table, transparent);
  BgrPicture decoded{static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), {}};
  decoded.bgr.resize(3 * pixels);
  CodeReader codes(in.Rest());
  PixelWriter out(decoded, palette, (imageFlags & kInterlaceFlag) != 0);
  LzwDecoder(minCodeSize).Decode(codes, out);
  // Data that ends, or turns invalid, before every pixel has its colour is damaged.
  if (!out.Full()) return false;
  picture = std::move(decoded);
  return true;
}

}  // namespace tovmar
