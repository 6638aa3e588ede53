// The GIF decoder: files written by wxImage and by a small LZW encoder of the test's own are
// decoded pixel for pixel and compared with what wxImage's decoder gives for valid files; damaged
// and hostile data never reaches outside the picture; GIF textures load through the whole load.
#include "texture/decode/GifDecoder.h"

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/palette.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "base/FileBytes.h"
#include "mesh/TextureObject.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/WxImageHandlers.h"
#include "tests/texture/DecoderChecks.h"
#include "tests/texture/TestImages.h"
#include "tests/texture/TextureTestFolder.h"
#include "texture/ImageConverter.h"
#include "texture/PictureConverter.h"
#include "texture/decode/PictureLimits.h"

namespace tovmar {
namespace {

using Indices = std::vector<std::uint8_t>;

constexpr std::uint32_t kMaxCodes = 4096;

const std::vector<Rgb> kFour = {{200, 30, 60}, {20, 180, 90}, {40, 70, 220}, {250, 240, 10}};

// The size field of a colour table for `count` colours, which holds 2 << field colours.
std::uint32_t TableSizeField(std::size_t count) {
  std::uint32_t field = 0;
  while ((std::size_t{2} << field) < count) ++field;
  return field;
}

// The bytes of a colour table of `colours`, padded with black to the size its field gives.
std::string TableBytes(const std::vector<Rgb>& colours) {
  std::string out;
  for (const Rgb& c : colours) out.append(c.begin(), c.end());
  out.resize(std::size_t{3} << (TableSizeField(colours.size()) + 1), '\0');
  return out;
}

// The signature and logical screen, with a global colour table unless `global` is empty.
std::string Header(std::uint32_t width, std::uint32_t height, const std::vector<Rgb>& global,
                   const char* version = "GIF89a") {
  std::string out(version);
  PutLittleEndian(out, width, 2);
  PutLittleEndian(out, height, 2);
  out.push_back(global.empty() ? '\0' : static_cast<char>(0x80u | TableSizeField(global.size())));
  out += std::string(2, '\0');  // background colour, pixel shape
  if (!global.empty()) out += TableBytes(global);
  return out;
}

// `data` as a chain of sub-blocks of up to 255 bytes, ended by a zero length.
std::string SubBlocks(const std::string& data) {
  std::string out;
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::string part = data.substr(at, 255);
    out.push_back(static_cast<char>(part.size()));
    out += part;
  }
  out.push_back('\0');
  return out;
}

std::string GraphicControl(std::optional<std::uint8_t> transparent) {
  std::string out("\x21\xF9\x04", 3);
  out.push_back(transparent ? '\x01' : '\0');
  out += std::string(2, '\0');  // delay
  out.push_back(static_cast<char>(transparent.value_or(0)));
  out.push_back('\0');
  return out;
}

// Codes packed least significant bit first.
class BitPacker {
 public:
  void Put(std::uint32_t code, std::uint32_t width) {
    m_bits |= code << m_count;
    m_count += width;
    for (; m_count >= 8; m_count -= 8, m_bits >>= 8) m_bytes.push_back(static_cast<char>(m_bits));
  }
  std::string Bytes() const { return m_count > 0 ? m_bytes + static_cast<char>(m_bits) : m_bytes; }

 private:
  std::string m_bytes;
  std::uint32_t m_bits = 0;
  std::uint32_t m_count = 0;
};

// Codes of the widths given, packed.
std::string Pack(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& codesAndWidths) {
  BitPacker out;
  for (const auto& [code, width] : codesAndWidths) out.Put(code, width);
  return out.Bytes();
}

struct LzwOptions {
  bool clearWhenFull = true;           // otherwise the full table is kept and used on
  std::size_t clearBefore = SIZE_MAX;  // writes a clear code before this index
};

// A plain LZW encoder: the clear code, then the code of the longest known string at each step
// with a new entry after it, widening the codes as the table grows, and the end code.
std::string Lzw(const Indices& indices, std::uint32_t minCodeSize, LzwOptions options = {}) {
  const std::uint32_t clear = 1u << minCodeSize;
  const std::uint32_t end = clear + 1;
  std::map<std::pair<std::uint32_t, std::uint8_t>, std::uint32_t> table;
  std::uint32_t width = 0;
  std::uint32_t next = 0;
  BitPacker out;
  const auto writeClear = [&] {
    out.Put(clear, width == 0 ? minCodeSize + 1 : width);
    table.clear();
    width = minCodeSize + 1;
    next = end + 1;
  };
  // The decoder makes an entry for each code but the first after a clear code, one code behind
  // the encoder; the widths follow the decoder's table.
  std::optional<std::uint32_t> current;
  const auto writeCurrent = [&](std::optional<std::uint8_t> following) {
    out.Put(*current, width);
    if (next == kMaxCodes) return;
    if (following) table[{*current, *following}] = next;
    if (++next > (1u << width) && width < 12) ++width;
  };
  writeClear();
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (i == options.clearBefore && current) {
      writeCurrent(std::nullopt);
      writeClear();
      current.reset();
    }
    const std::uint8_t index = indices[i];
    if (!current) {
      current = index;
      continue;
    }
    const auto found = table.find({*current, index});
    if (found != table.end()) {
      current = found->second;
      continue;
    }
    writeCurrent(index);
    if (next == kMaxCodes && options.clearWhenFull) writeClear();
    current = index;
  }
  if (current) writeCurrent(std::nullopt);
  out.Put(end, width);
  return out.Bytes();
}

struct Image {
  Image(std::uint32_t w, std::uint32_t h, std::string compressed, std::uint32_t codeSize = 2,
        std::vector<Rgb> localTable = {})
      : width(w),
        height(h),
        data(std::move(compressed)),
        minCodeSize(codeSize),
        local(std::move(localTable)) {}

  std::uint32_t width;
  std::uint32_t height;
  std::string data;  // the compressed data
  std::uint32_t minCodeSize;
  std::vector<Rgb> local;  // none when empty
  bool interlaced = false;
  std::uint32_t left = 0;
  std::uint32_t top = 0;
};

// An image descriptor, its local colour table, the code size and the data as sub-blocks.
std::string ImageBlock(const Image& image) {
  std::string out(1, '\x2C');
  PutLittleEndian(out, image.left, 2);
  PutLittleEndian(out, image.top, 2);
  PutLittleEndian(out, image.width, 2);
  PutLittleEndian(out, image.height, 2);
  std::uint32_t flags = image.interlaced ? 0x40u : 0u;
  if (!image.local.empty()) flags |= 0x80u | TableSizeField(image.local.size());
  out.push_back(static_cast<char>(flags));
  if (!image.local.empty()) out += TableBytes(image.local);
  out.push_back(static_cast<char>(image.minCodeSize));
  return out + SubBlocks(image.data);
}

// A file of one image at the screen's size and place.
std::string OneImage(const std::vector<Rgb>& global, const Image& image) {
  return Header(image.width, image.height, global) + ImageBlock(image) + ";";
}

// The picture of `indices` in `colours`, black beyond them.
Picture Expected(std::uint32_t width, std::uint32_t height, const Indices& indices,
                 const std::vector<Rgb>& colours) {
  Picture p{static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), {}};
  for (const std::uint8_t i : indices) {
    const Rgb c = i < colours.size() ? colours[i] : Rgb{0, 0, 0};
    p.rgb.insert(p.rgb.end(), c.begin(), c.end());
  }
  return p;
}

// The four quadrants of MakeQuadrants as indices into kFour.
Indices QuadrantIndices(std::uint32_t width, std::uint32_t height) {
  Indices out;
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      out.push_back(static_cast<std::uint8_t>((y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1)));
    }
  }
  return out;
}

Indices RandomIndices(std::size_t count, int colours, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> pick(0, colours - 1);
  Indices out(count);
  for (std::uint8_t& i : out) i = static_cast<std::uint8_t>(pick(random));
  return out;
}

std::vector<Rgb> ManyColours(int count) {
  std::vector<Rgb> out;
  for (int i = 0; i < count; ++i) {
    out.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                   static_cast<std::uint8_t>((i * 37) & 0xFF)});
  }
  return out;
}

// The picture `bytes` decode to, as R, G, B bytes with the top row first.
std::optional<Picture> Decode(const std::string& bytes) {
  return DecodeWith(DecodeGif, bytes);
}

void ExpectPicture(const std::optional<Picture>& got, const Picture& want) {
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(got->width, want.width);
  EXPECT_EQ(got->height, want.height);
  EXPECT_EQ(got->rgb, want.rgb);
}

// The first picture of `bytes` as wxImage's GIF decoder gives it, for files it reads safely.
std::optional<Picture> DecodeWithWx(const std::string& bytes) {
  AddWxImageHandlers();
  wxLogNull noLog;
  wxMemoryInputStream in(bytes.data(), bytes.size());
  wxImage image;
  if (!image.LoadFile(in, wxBITMAP_TYPE_GIF) || !image.IsOk()) return std::nullopt;
  Picture p{image.GetWidth(), image.GetHeight(), {}};
  p.rgb.assign(image.GetData(),
               image.GetData() + std::size_t{3} * static_cast<std::size_t>(p.width * p.height));
  return p;
}

// The bytes wxImage writes for `image` as a GIF file.
std::string EncodeWithWx(wxImage image) {
  AddWxImageHandlers();
  wxMemoryOutputStream out;
  EXPECT_TRUE(image.SaveFile(out, wxBITMAP_TYPE_GIF));
  std::string bytes(out.GetLength(), '\0');
  out.CopyTo(bytes.data(), bytes.size());
  return bytes;
}

TEST(GifDecoder, DecodesWhatWxImageWritesAsWxImageDoes) {
  // Four colours at sizes from one pixel to more rows than a sub-block holds bytes.
  for (const auto& [width, height] : std::vector<std::pair<int, int>>{{1, 1}, {7, 5}, {64, 300}}) {
    SCOPED_TRACE(testing::Message() << width << "x" << height);
    const Picture picture = MakeQuadrants(width, height);
    wxImage image = ToWxImage(picture);
    SetQuadrantPalette(image);
    const std::string bytes = EncodeWithWx(image);
    ExpectPicture(Decode(bytes), picture);
    const std::optional<Picture> wx = DecodeWithWx(bytes);
    ASSERT_TRUE(wx.has_value());
    EXPECT_EQ(wx->rgb, picture.rgb);
  }
  // 256 colours in noise, where the codes grow to 12 bits and the encoder clears its table.
  const std::vector<Rgb> colours = ManyColours(256);
  const Indices indices = RandomIndices(200 * 150, 256, 7);
  const Picture picture = Expected(200, 150, indices, colours);
  std::array<std::array<unsigned char, 256>, 3> channels{};
  for (std::size_t i = 0; i < colours.size(); ++i) {
    for (std::size_t ch = 0; ch < 3; ++ch) channels[ch][i] = colours[i][ch];
  }
  wxImage image = ToWxImage(picture);
  image.SetPalette(wxPalette(256, channels[0].data(), channels[1].data(), channels[2].data()));
  ExpectPicture(Decode(EncodeWithWx(image)), picture);
}

TEST(GifDecoder, MatchesWxImageOnValidFiles) {
  const Indices quadrants = QuadrantIndices(6, 4);
  const std::string quadrantData = Lzw(quadrants, 2);
  const std::vector<Rgb> local = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};
  const std::vector<Rgb> withMagenta = {{255, 0, 255}, {20, 180, 90}, {40, 70, 220}, {0, 0, 0}};
  const Image plain{6, 4, quadrantData};
  Image withLocal = plain;
  withLocal.local = local;
  Image placed = plain;
  placed.left = 3;
  placed.top = 2;
  Image interlaced{5, 19, Lzw(RandomIndices(5 * 19, 4, 3), 2)};
  interlaced.interlaced = true;
  const Image second{2, 2, Lzw({3, 3, 3, 3}, 2)};
  const std::string extensions = std::string("\x21\xFE", 2) + SubBlocks("made by hand") +
                                 std::string("\x21\xFF\x0BNETSCAPE2.0\x03\x01\0\0\0", 19);

  const std::vector<std::pair<const char*, std::string>> files = {
      {"global table", OneImage(kFour, plain)},
      {"GIF87a", Header(6, 4, kFour, "GIF87a") + ImageBlock(plain) + ";"},
      {"local table over the global one", OneImage(kFour, withLocal)},
      {"local table only", OneImage({}, withLocal)},
      {"image smaller than the screen, placed within it",
       Header(20, 10, kFour) + ImageBlock(placed) + ";"},
      {"image larger than the screen", Header(2, 2, kFour) + ImageBlock(plain) + ";"},
      {"a second image", Header(6, 4, kFour) + ImageBlock(plain) + ImageBlock(second) + ";"},
      {"interlaced", OneImage(kFour, interlaced)},
      {"extensions before the image", Header(6, 4, kFour) + extensions + ImageBlock(plain) + ";"},
      {"transparent index", Header(6, 4, kFour) + GraphicControl(1) + ImageBlock(plain) + ";"},
      {"transparent index and an opaque magenta",
       Header(6, 4, withMagenta) + GraphicControl(2) + ImageBlock(plain) + ";"},
      {"the last graphic control applies", Header(6, 4, kFour) + GraphicControl(1) +
                                               GraphicControl(std::nullopt) + ImageBlock(plain) +
                                               ";"},
      {"a graphic control after the image",
       Header(6, 4, kFour) + ImageBlock(plain) + GraphicControl(1) + ImageBlock(plain) + ";"},
      {"data after the last pixel", OneImage(kFour, {6, 4, Lzw(Indices(40, 2), 2)})},
      {"clear codes in the middle",
       OneImage(kFour, {6, 4, Lzw(quadrants, 2, {.clearBefore = 13})})},
      {"code size 8", OneImage(ManyColours(256), {16, 16, Lzw(RandomIndices(256, 256, 1), 8), 8})},
  };
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    const std::optional<Picture> ours = Decode(bytes);
    const std::optional<Picture> wx = DecodeWithWx(bytes);
    ASSERT_TRUE(ours.has_value());
    ASSERT_TRUE(wx.has_value());
    ExpectPicture(ours, *wx);
  }
}

TEST(GifDecoder, ColourTablesAndTransparency) {
  const Indices indices = {0, 1, 2, 3};
  const std::string data = Lzw(indices, 2);
  const std::vector<Rgb> local = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};
  // The local table wins over the global one; without either there are no colours.
  ExpectPicture(Decode(OneImage(kFour, {4, 1, data, 2, local})), Expected(4, 1, indices, local));
  ExpectPicture(Decode(OneImage(kFour, {4, 1, data})), Expected(4, 1, indices, kFour));
  EXPECT_FALSE(Decode(OneImage({}, {4, 1, data})));
  // Indices beyond the table are black.
  const std::vector<Rgb> two = {{9, 9, 9}, {8, 8, 8}};
  ExpectPicture(Decode(OneImage(two, {4, 1, data})), Expected(4, 1, indices, two));
  const Indices far = {0, 1, 200, 255};
  ExpectPicture(Decode(OneImage(two, {4, 1, Lzw(far, 8), 8})), Expected(4, 1, far, two));
  // The transparent index is magenta, even beyond the table, and an opaque magenta is not.
  const std::vector<Rgb> magenta = {{255, 0, 255}, {5, 5, 5}};
  const Image image{4, 1, Lzw(far, 8), 8};
  ExpectPicture(Decode(Header(4, 1, magenta) + GraphicControl(200) + ImageBlock(image) + ";"),
                Picture{4, 1, {255, 0, 254, 5, 5, 5, 255, 0, 255, 0, 0, 0}});
  ExpectPicture(Decode(Header(4, 1, magenta) + GraphicControl(1) + ImageBlock(image) + ";"),
                Picture{4, 1, {255, 0, 254, 255, 0, 255, 0, 0, 0, 0, 0, 0}});
}

TEST(GifDecoder, InterlacedRowsArriveInFourPasses) {
  // Heights from 1 row, where three passes are empty, to more than two rounds of eight.
  const std::vector<Rgb> colours = ManyColours(32);
  for (std::uint32_t height = 1; height <= 20; ++height) {
    SCOPED_TRACE(height);
    // The rows in the order the file stores them: every 8th from row 0, every 8th from row 4,
    // every 4th from row 2, every 2nd from row 1.
    std::vector<std::uint32_t> order;
    for (const auto& [first, step] : {std::pair{0u, 8u}, {4u, 8u}, {2u, 4u}, {1u, 2u}}) {
      for (std::uint32_t row = first; row < height; row += step) order.push_back(row);
    }
    ASSERT_EQ(order.size(), height);
    Indices stored;
    for (const std::uint32_t row : order) {
      stored.insert(stored.end(), 3, static_cast<std::uint8_t>(row));
    }
    Indices shown;
    for (std::uint32_t row = 0; row < height; ++row) {
      shown.insert(shown.end(), 3, static_cast<std::uint8_t>(row));
    }
    Image image{3, height, Lzw(stored, 5), 5};
    image.interlaced = true;
    ExpectPicture(Decode(OneImage(colours, image)), Expected(3, height, shown, colours));
  }
}

TEST(GifDecoder, LzwCodesOfEveryKind) {
  const std::vector<Rgb> colours = ManyColours(256);
  // Clear, 1, then 6: the entry that this code makes itself, "1" and its own first index.
  ExpectPicture(Decode(OneImage(kFour, {3, 1, Pack({{4, 3}, {1, 3}, {6, 3}, {5, 3}})})),
                Expected(3, 1, {1, 1, 1}, kFour));
  // Codes widened to 12 bits, a clear code there, and narrow codes after it.
  const Indices noise = RandomIndices(128 * 128, 256, 11);
  ExpectPicture(Decode(OneImage(colours, {128, 128, Lzw(noise, 8, {.clearBefore = 9000}), 8})),
                Expected(128, 128, noise, colours));
  // A full table kept without a clear code: 12-bit codes into its 4096 entries until the end.
  const std::string kept = Lzw(noise, 8, {.clearWhenFull = false});
  EXPECT_NE(kept, Lzw(noise, 8));
  ExpectPicture(Decode(OneImage(colours, {128, 128, kept, 8})), Expected(128, 128, noise, colours));
  // Every code size, from 1-bit to 8-bit indices, in noise and in a long run.
  for (std::uint32_t size = 1; size <= 8; ++size) {
    SCOPED_TRACE(size);
    const int count = 1 << size;
    Indices indices = RandomIndices(40 * 40, count, size);
    std::fill_n(indices.begin() + 100, 300, static_cast<std::uint8_t>(count - 1));
    ExpectPicture(Decode(OneImage(colours, {40, 40, Lzw(indices, size), size})),
                  Expected(40, 40, indices, colours));
  }
}

TEST(GifDecoder, DataThatEndsOrTurnsInvalidBeforeThePictureIsFullIsRefused) {
  const std::string header = Header(6, 4, kFour);
  const std::string valid = ImageBlock({6, 4, Lzw(QuadrantIndices(6, 4), 2)});
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"the end code after three pixels", OneImage(kFour, {6, 4, Lzw({3, 2, 1}, 2)})},
      {"no data", OneImage(kFour, {6, 4, ""})},
      {"the file's end after the code size", header + valid.substr(0, 11)},
      {"a code beyond the next entry",
       OneImage(kFour, {6, 4, Pack({{4, 3}, {1, 3}, {7, 3}, {2, 3}, {3, 3}, {5, 3}})})},
      {"the next entry's code with no string before it",
       OneImage(kFour, {6, 4, Pack({{4, 3}, {6, 3}, {1, 3}, {5, 3}})})},
      // A few bytes cannot fill the largest picture: refused before it is made.
      {"the largest picture from ten bytes",
       OneImage(kFour, {kMaxPictureSide, kMaxPictureSide, std::string(10, '\x55')})},
  };
  for (const auto& [name, file] : cases) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(Decode(file).has_value());
  }

  // Cut anywhere in its data, or with a sub-block longer than the rest, a file is refused; whole,
  // it decodes.
  const Indices noise = RandomIndices(30 * 20, 256, 17);
  const std::vector<Rgb> colours = ManyColours(256);
  const std::string file = OneImage(colours, {30, 20, Lzw(noise, 8), 8});
  const std::size_t dataStart = Header(30, 20, colours).size() + 11;
  // The end code and the chain's zero length are not needed once every pixel has its colour.
  const std::size_t needed = file.size() - 4;
  for (std::size_t length = dataStart; length < needed; ++length) {
    SCOPED_TRACE(length);
    EXPECT_FALSE(Decode(file.substr(0, length)).has_value());
  }
  ExpectPicture(Decode(file), Expected(30, 20, noise, colours));
}

TEST(GifDecoder, RefusesFilesWithoutAUsableImage) {
  const std::string data = Lzw(QuadrantIndices(6, 4), 2);
  const Image image{6, 4, data};
  const std::string header = Header(6, 4, kFour);
  const std::string valid = header + ImageBlock(image) + ";";
  ASSERT_TRUE(Decode(valid));
  const auto with = [&](std::uint32_t width, std::uint32_t height, std::uint32_t codeSize) {
    return header + ImageBlock({width, height, data, codeSize}) + ";";
  };
  const std::vector<std::pair<const char*, std::string>> files = {
      {"another version", "GIF88a" + valid.substr(6)},
      {"no GIF", "\x89PNG" + valid.substr(4)},
      {"cut in the screen descriptor", valid.substr(0, 12)},
      {"cut in the global table", valid.substr(0, 20)},
      {"no image", header + ";"},
      {"nothing after the extensions", header + GraphicControl(1)},
      {"cut in an extension", header + GraphicControl(1).substr(0, 6)},
      {"a stray byte before the image", header + "!" + valid.substr(header.size())},
      {"cut in the image descriptor", header + ImageBlock(image).substr(0, 9)},
      {"cut in the local table", header + ImageBlock({6, 4, data, 2, kFour}).substr(0, 15)},
      {"no code size", header + ImageBlock(image).substr(0, 10)},
      {"width 0", with(0, 4, 2)},
      {"height 0", with(6, 0, 2)},
      {"a width over the limit", with(kMaxPictureSide + 1, 1, 2)},
      {"a height over the limit", with(1, kMaxPictureSide + 1, 2)},
      {"code size 0", with(6, 4, 0)},
      {"code size 9", with(6, 4, 9)},
      {"code size 12", with(6, 4, 12)},
      {"no colour table", OneImage({}, image)},
  };
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    BgrPicture picture{1, 1, {1, 2, 3}};
    EXPECT_FALSE(DecodeGif(bytes, picture));
    EXPECT_EQ(picture.bgr, (std::vector<std::uint8_t>{1, 2, 3}));
  }
  // The limit itself is accepted.
  const Indices row(kMaxPictureSide, 1);
  const auto wide = Decode(header + ImageBlock({kMaxPictureSide, 1, Lzw(row, 2)}) + ";");
  ASSERT_TRUE(wide.has_value());
  EXPECT_EQ(wide->width, kMaxPictureSide);
}

TEST(GifDecoder, ArbitraryDataStaysWithinThePicture) {
  // Random compressed data at every code size, and random bytes written over valid data, whose
  // codes go wrong deep into a full table: ASan sees any read or write out of bounds.
  std::mt19937 random(5);
  std::uniform_int_distribution<int> anyByte(0, 255);
  for (std::uint32_t size = 1; size <= 8; ++size) {
    for (int round = 0; round < 40; ++round) {
      std::string data(static_cast<std::size_t>(round) * 37 % 1500, '\0');
      for (char& c : data) c = static_cast<char>(anyByte(random));
      Image image{33, 17, data, size};
      image.interlaced = round % 2 == 1;
      const auto got = Decode(OneImage(ManyColours(1 + round * 7 % 256), image));
      if (got) {
        EXPECT_EQ(got->rgb.size(), 33u * 17 * 3);
      }
    }
  }
  const Indices noise = RandomIndices(128 * 128, 256, 23);
  const std::string valid =
      OneImage(ManyColours(256), {128, 128, Lzw(noise, 8, {.clearWhenFull = false}), 8});
  const std::size_t dataStart = Header(128, 128, ManyColours(256)).size() + 11;
  std::uniform_int_distribution<std::size_t> anyPlace(dataStart, valid.size() - 1);
  for (int round = 0; round < 100; ++round) {
    std::string damaged = valid;
    for (int i = 0; i < 1 + round % 3; ++i)
      damaged[anyPlace(random)] = static_cast<char>(anyByte(random));
    const auto got = Decode(damaged);
    if (got) {
      EXPECT_EQ(got->rgb.size(), 128u * 128 * 3);
    }
  }
}

TEST(GifDecoder, FilesFoundByFuzzingDecodeWithinBoundsOrAreRefused) {
  const std::filesystem::path folderPath = TOVMAR_FUZZ_REGRESSIONS_DIR "/fuzz_image";
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folderPath)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with("gif-")) continue;
    SCOPED_TRACE(name);
    std::string bytes;
    ASSERT_EQ(ReadWholeFile(PathToUtf8(entry.path()), bytes, 1 << 20), FileReadStatus::kOk);
    BgrPicture picture;
    if (DecodeGif(bytes, picture)) {
      EXPECT_EQ(picture.bgr.size(), 3 * static_cast<std::size_t>(picture.width) *
                                        static_cast<std::size_t>(picture.height));
    }
    ++files;
  }
  EXPECT_GE(files, 9);
}

class GifTextureLoad : public ::testing::Test {
 protected:
  TextureTestFolder folder;
  RecordingMessageSink messages;
  PictureConverter converter;
  ScopedImageConverter installed{&converter};
};

TEST_F(GifTextureLoad, GifFilesLoadThroughTheWholeTextureLoad) {
  // Larger than the first read before the size check, with a full table kept, which wxImage
  // refused.
  const std::vector<Rgb> colours = ManyColours(256);
  const Indices noise = RandomIndices(300 * 300, 256, 29);
  const std::string large =
      OneImage(colours, {300, 300, Lzw(noise, 8, {.clearWhenFull = false}), 8});
  ASSERT_GT(large.size(), std::size_t{1} << 16);
  TextureObject texture;
  ASSERT_TRUE(texture.Load(folder.WriteImage("large.gif", large)));
  ExpectTextureShows(texture, Expected(300, 300, noise, colours));

  // Files that the decoder refuses, one without colours and one whose codes go wrong after the
  // first pixel, show the decoding message.
  EXPECT_FALSE(texture.Load(folder.WriteImage("no-colours.gif", OneImage({}, {6, 4, ""}))));
  EXPECT_FALSE(texture.Load(
      folder.WriteImage("damaged.gif", OneImage(kFour, {6, 4, Pack({{4, 3}, {2, 3}, {7, 3}})}))));
  EXPECT_EQ(messages.messages, std::vector<std::string>(2, "D3DXCreateTextureFromFile error"));
  EXPECT_TRUE(folder.LeftoverBmpFiles().empty());
}

}  // namespace
}  // namespace tovmar
