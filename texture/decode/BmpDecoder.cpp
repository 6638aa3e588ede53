#include "texture/decode/BmpDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "texture/decode/ByteView.h"
#include "texture/decode/PictureLimits.h"

namespace tovmar {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kMasksInHeaderBytes = 52;  // the smallest header that holds the masks

constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

// B, G, R of each of the 256 indices; those beyond the file's colour table are black.
using ColourTable = std::array<std::uint8_t, 256 * 3>;

// A colour channel read through a bit mask and widened over the range 0 to 255.
class Channel {
 public:
  explicit Channel(std::uint32_t mask)
      : m_mask(mask),
        m_shift(mask == 0 ? 0 : std::countr_zero(mask)),
        m_max(std::uint64_t{mask} >> m_shift) {}

  std::uint8_t operator()(std::uint32_t pixel) const {
    if (m_max == 0) return 0;
    const std::uint64_t value = (pixel & m_mask) >> m_shift;
    return static_cast<std::uint8_t>((value * 255 + m_max / 2) / m_max);
  }

 private:
  std::uint32_t m_mask;
  int m_shift;
  std::uint64_t m_max;
};

// The red, green and blue masks of a 16- or 32-bit picture.
struct Masks {
  std::uint32_t red;
  std::uint32_t green;
  std::uint32_t blue;
};

// What the headers say, checked.
struct Layout {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  bool topDown = false;
  std::uint32_t bits = 0;
  std::uint32_t compression = kUncompressed;
  Masks masks{};
  std::size_t tableStart = 0;         // where the colour table starts
  std::size_t entryBytes = 4;         // bytes of a colour-table entry
  std::uint32_t declaredEntries = 0;  // entries the header declares; 0: one for every index
  std::size_t dataOffset = 0;
};

// Where the picture's rows go: Row(n) is the n-th row in the file's order of storing them.
class Rows {
 public:
  Rows(BgrPicture& picture, bool topDown) : m_picture(picture), m_topDown(topDown) {}

  std::uint8_t* Row(std::size_t storedRow) const {
    const auto height = static_cast<std::size_t>(m_picture.height);
    const std::size_t row = m_topDown ? height - 1 - storedRow : storedRow;
    return m_picture.bgr.data() + 3 * row * static_cast<std::size_t>(m_picture.width);
  }

 private:
  BgrPicture& m_picture;
  bool m_topDown;
};

// The colour-table index of pixel `x` of a row of `bits`-bit indices, the first pixel in the
// highest bits of the first byte.
std::uint32_t IndexAt(const std::uint8_t* row, std::uint32_t bits, std::size_t x) {
  const std::size_t bit = x * bits;
  const std::uint32_t shift = 8 - bits - static_cast<std::uint32_t>(bit % 8);
  return (row[bit / 8] >> shift) & ((1u << bits) - 1);
}

// Converts one stored row of uncompressed pixels at `in` to B, G, R at `out`.
void ConvertRow(const std::uint8_t* in, const Layout& layout, const ColourTable& table,
                std::uint8_t* out) {
  const std::size_t width = layout.width;
  switch (layout.bits) {
    case 24:
      std::copy_n(in, 3 * width, out);
      return;
    case 16:
    case 32: {
      const Channel red(layout.masks.red), green(layout.masks.green), blue(layout.masks.blue);
      const std::size_t step = layout.bits / 8;
      for (std::size_t x = 0; x < width; ++x, in += step, out += 3) {
        const std::uint32_t pixel = step == 2 ? in[0] | (std::uint32_t{in[1]} << 8)
                                              : in[0] | (std::uint32_t{in[1]} << 8) |
                                                    (std::uint32_t{in[2]} << 16) |
                                                    (std::uint32_t{in[3]} << 24);
        out[0] = blue(pixel);
        out[1] = green(pixel);
        out[2] = red(pixel);
      }
      return;
    }
    default:  // 1, 4 or 8 bits through the colour table
      for (std::size_t x = 0; x < width; ++x, out += 3) {
        std::copy_n(&table[3 * IndexAt(in, layout.bits, x)], 3, out);
      }
      return;
  }
}

// Decodes run-length coded 8- or 4-bit indices from `data` into the picture's rows, bottom row
// first; pixels beyond a row's end or the last row are dropped, pixels the data skips or leaves
// out stay as they are. Stops at the end-of-picture code or where the data ends.
void DecodeRunLengths(const ByteView& data, std::size_t at, const Layout& layout,
                      const ColourTable& table, const Rows& rows) {
  const bool fourBits = layout.compression == kRle4;
  std::uint64_t x = 0;
  std::uint64_t y = 0;
  const auto put = [&](std::uint32_t index) {
    if (x < layout.width && y < layout.height) {
      std::copy_n(&table[3 * index], 3, rows.Row(static_cast<std::size_t>(y)) + 3 * x);
    }
    ++x;
  };
  while (y < layout.height && data.Has(at, 2)) {
    const std::uint32_t count = data.U8(at);
    const std::uint32_t value = data.U8(at + 1);
    at += 2;
    if (count > 0) {
      // A run: `count` pixels of one index, or of two alternating ones in 4-bit data.
      for (std::uint32_t i = 0; i < count && x < layout.width; ++i) {
        put(fourBits ? (i % 2 == 0 ? value >> 4 : value & 15u) : value);
      }
      continue;
    }
    if (value == 0) {  // end of the row
      x = 0;
      ++y;
    } else if (value == 1) {  // end of the picture
      return;
    } else if (value == 2) {  // a move right and up
      if (!data.Has(at, 2)) return;
      x += data.U8(at);
      y += data.U8(at + 1);
      at += 2;
    } else {  // `value` pixels stored one by one, padded to an even number of bytes
      const std::size_t bytes = fourBits ? (value + 1) / 2 : value;
      const std::uint8_t* in = data.Span(at, bytes);
      if (in == nullptr) return;
      for (std::uint32_t i = 0; i < value && x < layout.width; ++i) {
        put(fourBits ? (i % 2 == 0 ? in[i / 2] >> 4 : in[i / 2] & 15u) : in[i]);
      }
      at += bytes + bytes % 2;
    }
  }
}

// Whether `bits` and `compression` go together.
bool Readable(std::uint32_t bits, std::uint32_t compression) {
  switch (compression) {
    case kUncompressed:
      return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kRle8:
      return bits == 8;
    case kRle4:
      return bits == 4;
    case kBitFields:
    case kAlphaBitFields:
      return bits == 16 || bits == 32;
    default:
      return false;
  }
}

// Reads and checks the headers.
bool ReadLayout(const ByteView& b, Layout& layout) {
  if (!b.Has(0, kFileHeaderBytes + 4) || b.Le16(0) != 0x4D42) return false;  // "BM"
  const std::uint32_t headerBytes = b.Le32(kFileHeaderBytes);
  if ((headerBytes != kCoreHeaderBytes && headerBytes < kInfoHeaderBytes) ||
      !b.Has(kFileHeaderBytes, headerBytes)) {
    return false;
  }
  const std::size_t h = kFileHeaderBytes;
  std::int64_t height = 0;
  std::size_t masksBytes = 0;
  if (headerBytes == kCoreHeaderBytes) {
    layout.width = b.Le16(h + 4);
    height = b.Le16(h + 6);
    layout.bits = b.Le16(h + 10);
    layout.entryBytes = 3;
  } else {
    const auto width = static_cast<std::int32_t>(b.Le32(h + 4));
    height = static_cast<std::int32_t>(b.Le32(h + 8));
    if (width <= 0) return false;
    layout.width = static_cast<std::uint32_t>(width);
    layout.bits = b.Le16(h + 14);
    layout.compression = b.Le32(h + 16);
    layout.declaredEntries = b.Le32(h + 32);
    const bool masked = layout.compression == kBitFields || layout.compression == kAlphaBitFields;
    // The masks follow a 40-byte header, or are its continuation in longer ones.
    if (masked && headerBytes < kMasksInHeaderBytes) {
      masksBytes = layout.compression == kAlphaBitFields ? 16 : 12;
      if (!b.Has(h + headerBytes, masksBytes)) return false;
    }
    if (masked) {
      layout.masks = {b.Le32(h + 40), b.Le32(h + 44), b.Le32(h + 48)};
    }
  }
  if (!Readable(layout.bits, layout.compression)) return false;
  if (!(layout.compression == kBitFields || layout.compression == kAlphaBitFields)) {
    layout.masks =
        layout.bits == 16 ? Masks{0x7C00, 0x03E0, 0x001F} : Masks{0xFF0000, 0x00FF00, 0x0000FF};
  }
  layout.topDown = height < 0;
  const std::uint64_t rows = static_cast<std::uint64_t>(std::llabs(height));
  constexpr auto kMaxSide = static_cast<std::uint64_t>(kMaxPictureSide);
  if (layout.width == 0 || layout.width > kMaxSide || rows == 0 || rows > kMaxSide) {
    return false;
  }
  layout.height = static_cast<std::uint32_t>(rows);
  // Run-length data is always stored bottom row first.
  if (layout.topDown && (layout.compression == kRle8 || layout.compression == kRle4)) {
    return false;
  }

  layout.tableStart = h + headerBytes + masksBytes;
  layout.dataOffset = b.Le32(10);
  return layout.dataOffset >= layout.tableStart && layout.dataOffset <= b.Size();
}

}  // namespace

bool DecodeBmp(std::string_view bytes, BgrPicture& picture) {
  const ByteView b(bytes);
  Layout layout;
  if (!ReadLayout(b, layout)) return false;

  // The colour table, up to where the pixel data starts.
  ColourTable table{};
  if (layout.bits <= 8) {
    const std::size_t indices = std::size_t{1} << layout.bits;
    const std::size_t declared = layout.declaredEntries == 0 ? indices : layout.declaredEntries;
    const std::size_t stored = (layout.dataOffset - layout.tableStart) / layout.entryBytes;
    const std::size_t entries = std::min({declared, indices, stored});
    for (std::size_t i = 0; i < entries; ++i) {
      std::copy_n(b.Span(layout.tableStart + i * layout.entryBytes, 3), 3, &table[3 * i]);
    }
  }

  // Uncompressed rows must all be there (the last one's padding may be missing), and are
  // checked before the picture is made.
  const bool runLengths = layout.compression == kRle8 || layout.compression == kRle4;
  const std::uint64_t rowBits = std::uint64_t{layout.width} * layout.bits;
  const std::uint64_t stride = (rowBits + 31) / 32 * 4;
  if (!runLengths && !b.Has(layout.dataOffset, stride * (layout.height - 1) + (rowBits + 7) / 8)) {
    return false;
  }

  BgrPicture decoded{
      static_cast<std::int32_t>(layout.width), static_cast<std::int32_t>(layout.height), {}};
  decoded.bgr.resize(3 * std::size_t{layout.width} * layout.height);
  const Rows rows(decoded, layout.topDown);
  if (runLengths) {
    DecodeRunLengths(b, layout.dataOffset, layout, table, rows);
  } else {
    for (std::size_t row = 0; row < layout.height; ++row) {
      ConvertRow(b.Span(layout.dataOffset + row * stride, (rowBits + 7) / 8), layout, table,
                 rows.Row(row));
    }
  }
  picture = std::move(decoded);
  return true;
}

}  // namespace tovmar
