#include "texture/decode/TgaDecoder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "texture/decode/ByteView.h"
#include "texture/decode/PictureLimits.h"

namespace tovmar {

namespace {

constexpr std::size_t kHeaderBytes = 18;
constexpr std::uint32_t kRightToLeft = 0x10;
constexpr std::uint32_t kTopRowFirst = 0x20;
constexpr std::uint32_t kRunPacket = 0x80;
constexpr std::size_t kMaxPacketPixels = 128;

// A 5-bit channel widened so that 0 stays 0 and 31 becomes 255.
std::uint8_t Widen5(std::uint32_t channel) {
  return static_cast<std::uint8_t>((channel << 3) | (channel >> 2));
}

// Writes the colour of a stored value of `bytes` bytes (2: one 16-bit A1 R5 G5 B5 value; 3 or 4:
// B, G, R and perhaps A) as B, G, R; the same layouts serve pixels and colour-map entries.
void StoredColour(const std::uint8_t* in, std::size_t bytes, std::uint8_t* out) {
  if (bytes == 2) {
    const std::uint32_t v = LoadLe16(in);
    out[0] = Widen5(v & 31u);
    out[1] = Widen5((v >> 5) & 31u);
    out[2] = Widen5((v >> 10) & 31u);
    return;
  }
  std::copy_n(in, 3, out);
}

// Stored pixels of 3 or 4 bytes: B, G, R and perhaps A, kept as they are but for alpha.
struct DirectColour {
  std::size_t stride;
  void One(const std::uint8_t* in, std::uint8_t* out) const { std::copy_n(in, 3, out); }
  void Span(const std::uint8_t* in, std::size_t count, std::uint8_t* out) const {
    if (stride == 3) {
      std::copy_n(in, 3 * count, out);
      return;
    }
    for (std::size_t i = 0; i < count; ++i, in += stride, out += 3) One(in, out);
  }
};

// Stored pixels whose first byte (keyBytes 1) or first two bytes (keyBytes 2, little-endian)
// pick a colour from a table that has one for every value they can hold: colour-map indices,
// greys and 16-bit colours.
struct TableColour {
  std::size_t stride;
  std::size_t keyBytes;
  const std::uint8_t* table;  // B, G, R of each key
  void One(const std::uint8_t* in, std::uint8_t* out) const {
    std::copy_n(table + 3 * (keyBytes == 1 ? in[0] : LoadLe16(in)), 3, out);
  }
  void Span(const std::uint8_t* in, std::size_t count, std::uint8_t* out) const {
    for (std::size_t i = 0; i < count; ++i, in += stride, out += 3) One(in, out);
  }
};

// The picture's rows in the order the file stores them, each filled from the left; the picture
// keeps them bottom row first.
class RowsInFileOrder {
 public:
  RowsInFileOrder(BgrPicture& picture, bool topRowFirst)
      : m_picture(picture), m_topRowFirst(topRowFirst), m_at(RowStart(0)) {}

  // The pixels left in the current row.
  std::size_t LeftInRow() const { return static_cast<std::size_t>(m_picture.width) - m_column; }
  // Where the next `count` pixels of the current row go (count <= LeftInRow()).
  std::uint8_t* Take(std::size_t count) {
    std::uint8_t* at = m_at;
    m_column += count;
    m_at += 3 * count;
    if (m_column == static_cast<std::size_t>(m_picture.width)) {
      m_column = 0;
      if (++m_row < static_cast<std::size_t>(m_picture.height)) m_at = RowStart(m_row);
    }
    return at;
  }

 private:
  std::uint8_t* RowStart(std::size_t fileRow) {
    const std::size_t height = static_cast<std::size_t>(m_picture.height);
    const std::size_t row = m_topRowFirst ? height - 1 - fileRow : fileRow;
    return m_picture.bgr.data() + 3 * row * static_cast<std::size_t>(m_picture.width);
  }

  BgrPicture& m_picture;
  bool m_topRowFirst;
  std::size_t m_row = 0;
  std::size_t m_column = 0;
  std::uint8_t* m_at;
};

// Converts `count` stored pixels from `in` to consecutive places of the rows.
template <typename Convert>
void Copy(const std::uint8_t* in, std::size_t count, const Convert& convert,
          RowsInFileOrder& rows) {
  while (count > 0) {
    const std::size_t now = std::min(count, rows.LeftInRow());
    convert.Span(in, now, rows.Take(now));
    in += now * convert.stride;
    count -= now;
  }
}

// Gives `count` consecutive places of the rows the colour of the one stored pixel at `in`.
template <typename Convert>
void Repeat(const std::uint8_t* in, std::size_t count, const Convert& convert,
            RowsInFileOrder& rows) {
  std::uint8_t colour[3];
  convert.One(in, colour);
  while (count > 0) {
    const std::size_t now = std::min(count, rows.LeftInRow());
    std::uint8_t* out = rows.Take(now);
    for (std::size_t i = 0; i < now; ++i, out += 3) std::copy_n(colour, 3, out);
    count -= now;
  }
}

// Fills the rows from the pixel data `data`, stored plainly or in packets; false when the data
// ends before every pixel has its colour.
template <typename Convert>
bool FillRows(std::string_view data, bool packets, std::size_t pixels, const Convert& convert,
              RowsInFileOrder& rows) {
  const auto* in = reinterpret_cast<const std::uint8_t*>(data.data());
  const std::size_t stride = convert.stride;
  if (!packets) {
    if (data.size() / stride < pixels) return false;
    Copy(in, pixels, convert, rows);
    return true;
  }
  std::size_t left = data.size();
  while (pixels > 0) {
    if (left == 0) return false;
    const std::uint32_t header = *in++;
    --left;
    const std::size_t count = std::min<std::size_t>((header & 0x7Fu) + 1, pixels);
    const std::size_t bytes = (header & kRunPacket) != 0 ? stride : count * stride;
    if (left < bytes) return false;
    if ((header & kRunPacket) != 0) {
      Repeat(in, count, convert, rows);
    } else {
      Copy(in, count, convert, rows);
    }
    in += bytes;
    left -= bytes;
    pixels -= count;
  }
  return true;
}

// The bytes of a stored value of `bits` bits.
std::size_t BytesOf(std::uint32_t bits) {
  return (bits + 7) / 8;
}

// Whether colour-map entries or true-colour pixels of `bits` bits are read.
bool IsColourDepth(std::uint32_t bits) {
  return bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

// The colours of every value of `keyBytes` bytes: index - first picks an entry of the colour map
// `map` (entries of `entryBytes` bytes); an index outside it is black.
std::vector<std::uint8_t> MapTable(std::size_t keyBytes, std::uint32_t first,
                                   const std::uint8_t* map, std::size_t entries,
                                   std::size_t entryBytes) {
  const std::size_t keys = std::size_t{1} << (8 * keyBytes);
  std::vector<std::uint8_t> table(3 * keys, 0);
  for (std::size_t entry = 0; entry < entries && first + entry < keys; ++entry) {
    StoredColour(map + entry * entryBytes, entryBytes, &table[3 * (first + entry)]);
  }
  return table;
}

// The colours of every 16-bit A1 R5 G5 B5 value.
std::vector<std::uint8_t> FiveBitTable() {
  std::vector<std::uint8_t> table(3 * 65536);
  for (std::uint32_t v = 0; v < 65536; ++v) {
    const std::array<std::uint8_t, 2> stored{static_cast<std::uint8_t>(v & 0xFFu),
                                             static_cast<std::uint8_t>(v >> 8)};
    StoredColour(stored.data(), 2, &table[3 * v]);
  }
  return table;
}

// The grey of every byte.
std::vector<std::uint8_t> GreyTable() {
  std::vector<std::uint8_t> table(3 * 256);
  for (std::size_t v = 0; v < 256; ++v) std::fill_n(&table[3 * v], 3, static_cast<std::uint8_t>(v));
  return table;
}

}  // namespace

bool DecodeTga(std::string_view bytes, BgrPicture& picture) {
  const ByteView b(bytes);
  if (!b.Has(0, kHeaderBytes)) return false;
  const std::uint32_t idBytes = b.U8(0);
  const std::uint32_t mapType = b.U8(1);
  const std::uint32_t imageType = b.U8(2);
  const std::uint32_t mapFirst = b.Le16(3);
  const std::uint32_t mapEntries = b.Le16(5);
  const std::uint32_t mapBits = b.U8(7);
  const std::uint32_t width = b.Le16(12);
  const std::uint32_t height = b.Le16(14);
  const std::uint32_t depth = b.U8(16);
  const std::uint32_t descriptor = b.U8(17);

  const bool packets = imageType >= 9;
  const std::uint32_t kind = packets ? imageType - 8 : imageType;  // 1 mapped, 2 colour, 3 grey
  const bool mapped = kind == 1;
  if (mapType > 1 || (mapped && (mapType != 1 || mapEntries == 0 || !IsColourDepth(mapBits)))) {
    return false;
  }
  const bool depthRead = (mapped && (depth == 8 || depth == 16)) ||
                         (kind == 2 && IsColourDepth(depth)) ||
                         (kind == 3 && (depth == 8 || depth == 16));
  if (!depthRead) return false;
  constexpr auto kMaxSide = static_cast<std::uint32_t>(kMaxPictureSide);
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return false;

  // The image id, then the colour map, which a picture that does not use it may still carry.
  const std::size_t mapBytes = mapType == 1 ? std::size_t{mapEntries} * BytesOf(mapBits) : 0;
  const std::size_t dataStart = kHeaderBytes + idBytes + mapBytes;
  const std::uint8_t* map = b.Span(kHeaderBytes + idBytes, mapBytes);
  if (map == nullptr) return false;
  const std::string_view data = b.From(dataStart);

  // Data too short for the picture is refused before the picture is made: plain pixels need all
  // their bytes, packets at least a header and one pixel for every 128 pixels.
  const std::size_t pixels = std::size_t{width} * height;
  const std::size_t stride = BytesOf(depth);
  const std::size_t leastBytes =
      packets ? (pixels + kMaxPacketPixels - 1) / kMaxPacketPixels * (1 + stride) : pixels * stride;
  if (data.size() < leastBytes) return false;

  BgrPicture decoded{static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), {}};
  decoded.bgr.resize(3 * pixels);
  RowsInFileOrder rows(decoded, (descriptor & kTopRowFirst) != 0);
  bool filled = false;
  if (kind == 2 && stride > 2) {
    filled = FillRows(data, packets, pixels, DirectColour{stride}, rows);
  } else {
    const std::vector<std::uint8_t> table =
        mapped      ? MapTable(stride, mapFirst, map, mapEntries, BytesOf(mapBits))
        : kind == 2 ? FiveBitTable()
                    : GreyTable();
    const std::size_t keyBytes = kind == 3 ? 1 : stride;
    filled = FillRows(data, packets, pixels, TableColour{stride, keyBytes, table.data()}, rows);
  }
  if (!filled) return false;

  if ((descriptor & kRightToLeft) != 0) {
    for (std::size_t row = 0; row < height; ++row) {
      std::uint8_t* first = decoded.bgr.data() + 3 * row * width;
      for (std::size_t left = 0, right = width - 1; left < right; ++left, --right) {
        std::swap_ranges(first + 3 * left, first + 3 * left + 3, first + 3 * right);
      }
    }
  }
  picture = std::move(decoded);
  return true;
}

}  // namespace tovmar
