// fuzz_make_seeds FOLDER: writes the seed inputs of the fuzz targets into FOLDER/<target>/: valid
// files of every variant the readers know, made with the project's own writers and with wxImage.
#include <wx/image.h>
#include <wx/palette.h>
#include <wx/quantize.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "base/FileBytes.h"
#include "fuzz/SquareMesh.h"
#include "texture/decode/BmpWriter.h"
#include "texture/decode/PngWriter.h"
#include "tools/LlmWriter.h"
#include "tools/SampleAppearance.h"
#include "tools/SampleMesh.h"
#include "tools/SampleSkeleton.h"
#include "tools/SampleTexture.h"

namespace tovmar::fuzz {

namespace {

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "fuzz_make_seeds: %s\n", what.c_str());
  std::exit(1);
}

// One target's seed folder, emptied when opened so that no seed of an earlier run stays.
class SeedFolder {
 public:
  SeedFolder(const std::filesystem::path& root, const char* target) : m_dir(root / target) {
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
    if (!std::filesystem::create_directories(m_dir, ec)) {
      Fail("could not create " + PathToUtf8(m_dir));
    }
  }

  std::string PathOf(const std::string& name) const { return PathToUtf8(m_dir / name); }

  void Write(const std::string& name, const std::string& bytes) const {
    if (!WriteFileBytes(PathOf(name), bytes)) Fail("could not write " + PathOf(name));
  }

 private:
  std::filesystem::path m_dir;
};

void PutLittleEndian(std::string& out, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
}

// A joint or target name as the 64-byte block of a mesh file holds it.
NameSlot Name(std::string_view text) {
  NameSlot slot{};
  std::memcpy(slot.data(), text.data(), std::min<std::size_t>(text.size(), 64));
  return slot;
}

// The square mesh with a header, a joint and a remap, as a mesh file holds them.
LlmMesh SeedMesh(std::span<const std::string_view> targetNames) {
  LlmMesh mesh = MakeSquareMesh(targetNames);
  constexpr std::string_view kHeader = "Tovmar fuzz seed";
  std::memcpy(mesh.header.data(), kHeader.data(), kHeader.size());
  mesh.scale = {1, 1, 1};
  mesh.numSkinJoints = 1;
  mesh.skinJointNames = {Name("mPelvis")};
  mesh.numRemaps = 1;
  mesh.remaps = {{3, 0}};
  return mesh;
}

void AddWeights(LlmMesh& mesh) {
  mesh.hasWeights = 1;
  mesh.weights = {{0, 0, 0x80, 0x3F}, {0, 0, 0, 0x40}, {0, 0, 0x40, 0x40}, {0, 0, 0x80, 0x40}};
}

void AddDetailTexCoords(LlmMesh& mesh) {
  mesh.hasDetailTexCoords = 1;
  mesh.detailTexCoords = {{0, 0}, {2, 0}, {2, 2}, {0, 2}};
}

// Mesh files with and without weights and detail texture coordinates, with odd counts, names and
// indices, cut short, and the sample mesh.
void WriteMeshSeeds(const SeedFolder& folder) {
  const std::string_view twoNames[] = {kTargetNames[0], kTargetNames[1]};
  LlmMesh empty;
  folder.Write("empty.llm", WriteLlm(empty));

  const LlmMesh plain = SeedMesh(twoNames);
  const std::string plainBytes = WriteLlm(plain);
  folder.Write("plain.llm", plainBytes);

  LlmMesh weights = SeedMesh(twoNames);
  AddWeights(weights);
  folder.Write("weights.llm", WriteLlm(weights));

  LlmMesh detail = SeedMesh(twoNames);
  AddDetailTexCoords(detail);
  folder.Write("detail.llm", WriteLlm(detail));

  LlmMesh both = SeedMesh(kTargetNames);
  AddWeights(both);
  AddDetailTexCoords(both);
  both.numSkinJoints = 3;
  both.skinJointNames = {Name("mPelvis"), Name("mTorso"), Name("mChest")};
  both.numRemaps = 3;
  both.remaps = {{3, 0}, {2, 1}, {1, 2}};
  const std::string bothBytes = WriteLlm(both);
  folder.Write("weights-detail.llm", bothBytes);
  // Cut inside the morph records: counts larger than what the file holds.
  folder.Write("cut.llm", bothBytes.substr(0, bothBytes.size() - 90));

  // Records and triangle corners outside the mesh.
  LlmMesh outside = SeedMesh(twoNames);
  outside.faces = {0, 1, 9, 0, 2, 3};
  outside.morphTargets[0].vertices[0].vertexIndex = -1;
  outside.morphTargets[1].vertices[0].vertexIndex = 4;
  folder.Write("outside.llm", WriteLlm(outside));

  // A name filling its whole block, one that is not valid UTF-8 and one that is.
  const std::string longName(64, 'N');
  const std::string_view names[] = {longName, "\xC0\xFF", "Gr\u00F6\u00DFe"};
  folder.Write("names.llm", WriteLlm(SeedMesh(names)));

  // Negative counts: no records and no remaps.
  LlmMesh negative = SeedMesh(twoNames);
  negative.morphTargets[0].numVertices = -3;
  negative.morphTargets[0].vertices.clear();
  negative.numRemaps = -1;
  negative.remaps.clear();
  folder.Write("negative-counts.llm", WriteLlm(negative));

  // A morph section that the file ends without its end block.
  folder.Write("no-end.llm", plainBytes.substr(0, plainBytes.find("End Morphs")));

  folder.Write("sample.llm", WriteLlm(sample::MakeSampleMesh()));
}

// A width x height picture of four coloured quadrants with a gradient, R, G, B, top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

constexpr std::uint8_t kColours[4][3] = {
    {200, 30, 60}, {20, 180, 90}, {40, 70, 220}, {250, 240, 10}};

int QuadrantOf(int x, int y, int width, int height) {
  return (y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1);
}

Picture MakePicture(int width, int height) {
  Picture p{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* c = kColours[QuadrantOf(x, y, width, height)];
      for (int ch = 0; ch < 3; ++ch) p.rgb.push_back(static_cast<std::uint8_t>(c[ch] + x + y));
    }
  }
  return p;
}

const std::uint8_t* PixelAt(const Picture& p, int x, int y) {
  return &p.rgb[3 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width) +
                     static_cast<std::size_t>(x))];
}

// One pixel as the BMP file stores it at `bitsPerPixel`: grey, 5-5-5, B G R, or B G R and a
// spare byte.
void PutBmpPixel(std::string& out, const std::uint8_t* c, int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 8:
      out.push_back(static_cast<char>((c[0] + c[1] + c[2]) / 3));
      break;
    case 16:
      PutLittleEndian(out, ((c[0] >> 3u) << 10u) | ((c[1] >> 3u) << 5u) | (c[2] >> 3u), 2);
      break;
    default:
      out.push_back(static_cast<char>(c[2]));
      out.push_back(static_cast<char>(c[1]));
      out.push_back(static_cast<char>(c[0]));
      if (bitsPerPixel == 32) out.push_back('\0');
      break;
  }
}

// An uncompressed BMP file of `p` at planes x bitCount bits per pixel (8 bits with a grey colour
// table), rows bottom-up or top-down, each padded to 4 bytes.
std::string MakeBmp(const Picture& p, std::uint16_t planes, std::uint16_t bitCount, bool topDown) {
  const int bitsPerPixel = planes * bitCount;
  const std::uint32_t tableBytes = bitsPerPixel == 8 ? 256 * 4 : 0;
  std::string pixels;
  for (int i = 0; i < p.height; ++i) {
    const int y = topDown ? i : p.height - 1 - i;
    for (int x = 0; x < p.width; ++x) PutBmpPixel(pixels, PixelAt(p, x, y), bitsPerPixel);
    pixels.resize((pixels.size() + 3) / 4 * 4, '\0');
  }
  const std::uint32_t dataOffset = 54 + tableBytes;
  std::string out = "BM";
  PutLittleEndian(out, dataOffset + static_cast<std::uint32_t>(pixels.size()), 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, dataOffset, 4);
  PutLittleEndian(out, 40, 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(p.width), 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(topDown ? -p.height : p.height), 4);
  PutLittleEndian(out, planes, 2);
  PutLittleEndian(out, bitCount, 2);
  PutLittleEndian(out, 0, 4);  // no compression
  PutLittleEndian(out, static_cast<std::uint32_t>(pixels.size()), 4);
  PutLittleEndian(out, 2835, 4);
  PutLittleEndian(out, 2835, 4);
  PutLittleEndian(out, 0, 4);  // colours used: all
  PutLittleEndian(out, 0, 4);  // important colours: all
  for (std::uint32_t v = 0; v < tableBytes / 4; ++v) PutLittleEndian(out, v * 0x010101u, 4);
  return out + pixels;
}

// The same BMP files go to the BMP reader and to the conversion stage.
void WriteBmpSeeds(const SeedFolder& bmpFolder, const SeedFolder& imageFolder) {
  // 5 pixels per row, so that 8- and 24-bit rows need padding.
  const Picture p = MakePicture(5, 3);
  for (const int bits : {8, 16, 24, 32}) {
    for (const bool topDown : {false, true}) {
      const std::string name =
          "b" + std::to_string(bits) + (topDown ? "-top-down.bmp" : "-bottom-up.bmp");
      const std::string bytes = MakeBmp(p, 1, static_cast<std::uint16_t>(bits), topDown);
      bmpFolder.Write(name, bytes);
      imageFolder.Write(name, bytes);
    }
  }
  // The bits per pixel are planes times bit count.
  bmpFolder.Write("planes3x8.bmp", MakeBmp(p, 3, 8, false));

  // The file the conversion stage writes: its rows bottom row first, each pixel B, G, R.
  const Picture q = MakePicture(7, 4);
  BgrPicture bgr{q.width, q.height, {}};
  for (int y = q.height - 1; y >= 0; --y) {
    for (int x = 0; x < q.width; ++x) {
      const std::uint8_t* c = &q.rgb[3 * (static_cast<std::size_t>(y) * q.width + x)];
      bgr.bgr.insert(bgr.bgr.end(), {c[2], c[1], c[0]});
    }
  }
  const FilePtr file(std::fopen(bmpFolder.PathOf("converter.bmp").c_str(), "wb"));
  if (file == nullptr || !WriteBmp24(file.get(), bgr)) {
    Fail("could not write " + bmpFolder.PathOf("converter.bmp"));
  }
}

// A BMP file of the given information header, what follows it (masks, colour table) and the
// pixel data.
std::string BmpFile(const std::string& header, const std::string& extra, const std::string& data) {
  const auto dataOffset = static_cast<std::uint32_t>(14 + header.size() + extra.size());
  std::string out = "BM";
  PutLittleEndian(out, dataOffset + static_cast<std::uint32_t>(data.size()), 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, dataOffset, 4);
  return out + header + extra + data;
}

// A 40-byte information header, lengthened with zeros to `size` bytes.
std::string InfoHeader(std::int32_t width, std::int32_t height, std::uint16_t bits,
                       std::uint32_t compression, std::uint32_t colours, std::uint32_t size = 40) {
  std::string h;
  PutLittleEndian(h, size, 4);
  PutLittleEndian(h, static_cast<std::uint32_t>(width), 4);
  PutLittleEndian(h, static_cast<std::uint32_t>(height), 4);
  PutLittleEndian(h, 1, 2);
  PutLittleEndian(h, bits, 2);
  PutLittleEndian(h, compression, 4);
  PutLittleEndian(h, 0, 4);  // image bytes, may be 0
  PutLittleEndian(h, 2835, 4);
  PutLittleEndian(h, 2835, 4);
  PutLittleEndian(h, colours, 4);
  PutLittleEndian(h, 0, 4);
  h.resize(size, '\0');
  return h;
}

// BMP forms that wxImage does not write, for the conversion stage: run-length coded 8- and 4-bit
// pictures with every code, 16 and 32 bits through bit masks, and the OS/2 header.
void WriteOtherBmpSeeds(const SeedFolder& folder) {
  std::string table;
  for (std::uint32_t v = 0; v < 16; ++v) PutLittleEndian(table, v * 0x0F0F0Fu, 4);
  // Runs, stored pixels (odd and even counts), ends of rows, a move and the end of the picture.
  const std::string rle8("\4\1\0\0\0\3\2\3\4\0\0\0\0\2\2\1\2\5\0\4\6\7\10\11\0\1", 26);
  folder.Write("rle8.bmp", BmpFile(InfoHeader(8, 4, 8, 1, 16), table, rle8));
  const std::string rle4("\6\x12\0\0\0\5\x34\x56\x70\0\0\0\0\2\1\1\3\x9A\0\1", 20);
  folder.Write("rle4.bmp", BmpFile(InfoHeader(8, 4, 4, 2, 16), table, rle4));

  std::string masks;
  for (const std::uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu}) PutLittleEndian(masks, mask, 4);
  std::string pixels16;
  for (std::uint32_t v = 0; v < 16; ++v) PutLittleEndian(pixels16, v * 0x1111u, 2);
  folder.Write("masks565.bmp", BmpFile(InfoHeader(4, 4, 16, 3, 0), masks, pixels16));

  // Masks inside a version 4 header.
  std::string v4 = InfoHeader(2, 2, 32, 3, 0, 108);
  std::string masks32;
  for (const std::uint32_t mask : {0xFF00u, 0xFF0000u, 0xFF000000u}) {
    PutLittleEndian(masks32, mask, 4);
  }
  v4.replace(40, masks32.size(), masks32);
  folder.Write("v4-masks.bmp",
               BmpFile(v4, "", std::string("\1\2\3\4\5\6\7\10\11\12\13\14\15\16\17\20", 16)));

  std::string core;
  PutLittleEndian(core, 12, 4);
  PutLittleEndian(core, 3, 2);
  PutLittleEndian(core, 2, 2);
  PutLittleEndian(core, 1, 2);
  PutLittleEndian(core, 8, 2);
  folder.Write("os2.bmp", BmpFile(core, std::string("\0\0\xFF\0\xFF\0\xFF\0\0", 9),
                                  std::string("\0\1\2\0\2\1\0\0", 8)));
}

enum class TgaKind { kTrueColour, kColourMapped, kGrey };

// A TGA file of `p`: 24-bit true colour, colour-mapped with the quadrant colours, or 8-bit grey.
// `rle` writes each row as a raw packet (left half) and a run packet (right half, repeating its
// first pixel); `topLeft` stores the top row first.
std::string MakeTga(const Picture& p, TgaKind kind, bool rle, bool topLeft) {
  const bool mapped = kind == TgaKind::kColourMapped;
  const int baseType = mapped ? 1 : kind == TgaKind::kGrey ? 3 : 2;
  const int depth = kind == TgaKind::kTrueColour ? 24 : 8;
  std::string out;
  out.push_back(0);                                            // no image id
  out.push_back(mapped ? 1 : 0);                               // colour map present
  out.push_back(static_cast<char>(baseType + (rle ? 8 : 0)));  // image type
  PutLittleEndian(out, 0, 2);                                  // first map entry
  PutLittleEndian(out, mapped ? 4 : 0, 2);                     // map length
  out.push_back(mapped ? 24 : 0);                              // map entry size
  PutLittleEndian(out, 0, 4);                                  // origin x, y
  PutLittleEndian(out, static_cast<std::uint32_t>(p.width), 2);
  PutLittleEndian(out, static_cast<std::uint32_t>(p.height), 2);
  out.push_back(static_cast<char>(depth));
  out.push_back(topLeft ? 0x20 : 0);
  for (int q = 0; mapped && q < 4; ++q) {
    for (int ch = 2; ch >= 0; --ch) out.push_back(static_cast<char>(kColours[q][ch]));
  }
  auto pixel = [&](int x, int y) {
    const std::uint8_t* c = PixelAt(p, x, y);
    if (mapped) {
      out.push_back(static_cast<char>(QuadrantOf(x, y, p.width, p.height)));
    } else if (kind == TgaKind::kGrey) {
      out.push_back(static_cast<char>(c[0]));
    } else {
      out.push_back(static_cast<char>(c[2]));
      out.push_back(static_cast<char>(c[1]));
      out.push_back(static_cast<char>(c[0]));
    }
  };
  for (int i = 0; i < p.height; ++i) {
    const int y = topLeft ? i : p.height - 1 - i;
    const int half = p.width / 2;
    if (!rle) {
      for (int x = 0; x < p.width; ++x) pixel(x, y);
      continue;
    }
    out.push_back(static_cast<char>(half - 1));  // raw packet
    for (int x = 0; x < half; ++x) pixel(x, y);
    out.push_back(static_cast<char>(0x80 | (p.width - half - 1)));  // run packet
    pixel(half, y);
  }
  return out;
}

wxImage ToWxImage(const Picture& p, bool withAlpha) {
  wxImage image(p.width, p.height, false);
  std::copy(p.rgb.begin(), p.rgb.end(), image.GetData());
  if (withAlpha) {
    image.InitAlpha();
    for (int y = 0; y < p.height; ++y) {
      for (int x = 0; x < p.width; ++x) image.SetAlpha(x, y, static_cast<unsigned char>(20 * x));
    }
  }
  return image;
}

// Saves `image` with wxImage's writer for `type`, after setting `option` to `value` when given.
void SaveWx(const SeedFolder& folder, const std::string& name, wxImage image, wxBitmapType type,
            const wxString& option = wxString(), int value = 0) {
  if (!option.empty()) image.SetOption(option, value);
  if (!image.SaveFile(wxString::FromUTF8(folder.PathOf(name)), type)) {
    Fail("wxImage could not write " + folder.PathOf(name));
  }
}

// Pictures in every type and variant that wxImage writes, the sample texture, and TGA variants
// written here.
void WriteImageSeeds(const SeedFolder& folder) {
  const Picture p = MakePicture(12, 8);
  const wxImage colour = ToWxImage(p, false);
  const wxImage withAlpha = ToWxImage(p, true);

  SaveWx(folder, "colour.png", colour, wxBITMAP_TYPE_PNG);
  SaveWx(folder, "alpha.png", withAlpha, wxBITMAP_TYPE_PNG);
  SaveWx(folder, "grey.png", colour, wxBITMAP_TYPE_PNG, wxIMAGE_OPTION_PNG_FORMAT, wxPNG_TYPE_GREY);
  SaveWx(folder, "palette.png", colour, wxBITMAP_TYPE_PNG, wxIMAGE_OPTION_PNG_FORMAT,
         wxPNG_TYPE_PALETTE);
  folder.Write("sample.png", EncodePngRgb(sample::MakeSampleTexturePixels(), sample::kTextureSize,
                                          sample::kTextureSize, PngCompression::kSmall));
  SaveWx(folder, "colour.jpg", colour, wxBITMAP_TYPE_JPEG);
  SaveWx(folder, "low-quality.jpeg", colour, wxBITMAP_TYPE_JPEG, wxIMAGE_OPTION_QUALITY, 10);
  wxImage quantized;
  wxPalette* palette = nullptr;
  if (!wxQuantize::Quantize(colour, quantized, &palette, 256)) Fail("wxQuantize failed");
  quantized.SetPalette(*palette);
  delete palette;
  SaveWx(folder, "colour.gif", quantized, wxBITMAP_TYPE_GIF);
  SaveWx(folder, "wx.tga", colour, wxBITMAP_TYPE_TGA);
  SaveWx(folder, "alpha.tga", withAlpha, wxBITMAP_TYPE_TGA);
  SaveWx(folder, "wx.bmp", colour, wxBITMAP_TYPE_BMP);
  SaveWx(folder, "palette8.bmp", colour, wxBITMAP_TYPE_BMP, wxIMAGE_OPTION_BMP_FORMAT, wxBMP_8BPP);
  SaveWx(folder, "grey8.bmp", colour, wxBITMAP_TYPE_BMP, wxIMAGE_OPTION_BMP_FORMAT,
         wxBMP_8BPP_GREY);
  SaveWx(folder, "palette4.bmp", colour, wxBITMAP_TYPE_BMP, wxIMAGE_OPTION_BMP_FORMAT, wxBMP_4BPP);
  SaveWx(folder, "mono.bmp", colour, wxBITMAP_TYPE_BMP, wxIMAGE_OPTION_BMP_FORMAT, wxBMP_1BPP_BW);
  // Types the stage decodes too, whatever the file's extension says.
  SaveWx(folder, "colour.tif", colour, wxBITMAP_TYPE_TIFF);
  SaveWx(folder, "colour.pcx", colour, wxBITMAP_TYPE_PCX);
  SaveWx(folder, "colour.pnm", colour, wxBITMAP_TYPE_PNM);
  SaveWx(folder, "colour.xpm", colour, wxBITMAP_TYPE_XPM);
  SaveWx(folder, "colour.ico", colour, wxBITMAP_TYPE_ICO);
  SaveWx(folder, "colour.cur", colour, wxBITMAP_TYPE_CUR);

  for (const bool rle : {false, true}) {
    const std::string packing = rle ? "-rle" : "";
    folder.Write("true-colour" + packing + ".tga", MakeTga(p, TgaKind::kTrueColour, rle, false));
    folder.Write("mapped" + packing + ".tga", MakeTga(p, TgaKind::kColourMapped, rle, false));
    folder.Write("grey" + packing + ".tga", MakeTga(p, TgaKind::kGrey, rle, false));
    folder.Write("top-left" + packing + ".tga", MakeTga(p, TgaKind::kTrueColour, rle, true));
  }
}

// A document whose archetype holds `params`, each a complete <param .../> element.
std::string Archetype(const std::string& params) {
  return "<?xml version=\"1.0\"?>\n<linden_genepool version=\"1.0\">\n<archetype name=\"seed\">\n" +
         params + "</archetype>\n</linden_genepool>\n";
}

// The sample appearance file and documents that vary attribute order, case, numbers, separators,
// namespaces, entities, node kinds, paths and encodings.
void WriteAppearanceSeeds(const SeedFolder& folder) {
  folder.Write("sample.xml", sample::MakeSampleAppearanceXml());
  folder.Write("one.xml", Archetype("<param id=\"1\" name=\"Big_Chest\" value=\"1\"/>\n"));
  folder.Write("order-and-case.xml",
               Archetype("<param name=\"long_legs\" value=\"-1.5\" id=\"7\"/>\n"
                         "<param VALUE=\"0.25\" ID=\"8\" NAME=\"BIG_BELLY_TORSO\"/>\n"));
  folder.Write("numbers.xml",
               Archetype("<param id=\" +42abc\" name=\"big_chest\" value=\" +1e3\"/>\n"
                         "<param id=\"-2147483649\" name=\"long_legs\" value=\"0x1p-2\"/>\n"
                         "<param id=\"99999999999\" name=\"Big_Belly_Torso\" value=\"1e40\"/>\n"
                         "<param id=\"3\" name=\"big_chest\" value=\"nan\"/>\n"
                         "<param id=\"4\" name=\"long_legs\" value=\"-inf\"/>\n"));
  folder.Write("separators.xml", Archetype("<param id=\"5\" name=\"big,chest\" value=\"1:2,3\"/>\n"
                                           "<param id=\"6:7\" name=\"long_legs\" value=\",\"/>\n"));
  folder.Write("no-id.xml", Archetype("<param name=\"big_chest\" value=\"2\"/>\n"
                                      "<param name=\"long_legs\" value=\"1\" id=\"9\"/>\n"));
  folder.Write("namespaces.xml",
               "<linden_genepool xmlns:a=\"urn:a\"><archetype><param xmlns=\"urn:b\" a:id=\"1\" "
               "id=\"2\" name=\"big_chest\" value=\"0.5\"/><a:param id=\"3\" name=\"long_legs\" "
               "value=\"1\"/></archetype></linden_genepool>");
  folder.Write("entities.xml",
               "<?xml version=\"1.0\"?>\n<!DOCTYPE linden_genepool [\n"
               "<!ENTITY big \"Big_Belly_Torso\">\n<!ENTITY one \"1\">\n]>\n"
               "<linden_genepool><archetype><param id=\"1\" name=\"&big;\" value=\"&one;\"/>"
               "<param id=\"2\" name=\"Fu&#xDF;_L&#xE4;nge\" value=\"&#x31;.5\"/>"
               "<param id=\"3\" name=\"&#x8155;\" value=\"2\"/></archetype></linden_genepool>");
  folder.Write("node-kinds.xml",
               "<linden_genepool><!-- comment --><archetype>text<?pi data?>"
               "<![CDATA[<param id=\"0\"/>]]><param id=\"1\" name=\"big_chest\" value=\"1\">"
               "<param id=\"2\" name=\"long_legs\" value=\"2\"/></param></archetype>"
               "<archetype><param id=\"3\" name=\"Big_Belly_Torso\" value=\"3\"/></archetype>"
               "</linden_genepool>");
  folder.Write("wrong-path.xml",
               "<linden_genepool><wrap><archetype><param id=\"1\" name=\"big_chest\" "
               "value=\"1\"/></archetype></wrap><param id=\"2\" name=\"long_legs\" value=\"2\"/>"
               "</linden_genepool>");
  folder.Write("latin1.xml",
               "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
               "<linden_genepool><archetype><param id=\"1\" name=\"Fu\xDF_L\xE4nge\" "
               "value=\"0.75\"/></archetype></linden_genepool>");
  std::string many;
  for (int i = 0; i < 40; ++i) {
    many += "<param id=\"" + std::to_string(1000 + i) + "\" name=\"" +
            std::string(kTargetNames[static_cast<std::size_t>(i) % std::size(kTargetNames)]) +
            "\" value=\"0." + std::to_string(i) + "\"/>\n";
  }
  folder.Write("many.xml", Archetype(many));
  // The same document as UTF-16 with a byte order mark.
  const std::string ascii = Archetype("<param id=\"1\" name=\"big_chest\" value=\"1\"/>\n");
  std::string utf16 = "\xFF\xFE";
  for (const char c : ascii) {
    utf16.push_back(c);
    utf16.push_back('\0');
  }
  folder.Write("utf16.xml", utf16);
}

// The small sample skeleton and documents that vary its number forms, nesting and node kinds.
void WriteSkeletonSeeds(const SeedFolder& folder) {
  folder.Write("sample.xml", SampleSkeletonXml());
  folder.Write("one-bone.xml", "<linden_skeleton><bone name=\"mPelvis\"/></linden_skeleton>");
  folder.Write("numbers.xml",
               "<linden_skeleton><bone name=\"a\" pos=\"+1e-2\t-0.5\n3\" rot=\"360 -90 45.5\" "
               "scale=\"-1 0.001 1000\" pivot=\" 0 0 0 \"><bone name=\"mEyeLeft\" "
               "pos=\"1 2 3\"/><bone name=\"mEyeRight\" pos=\"1 -2 3\"/></bone>"
               "</linden_skeleton>");
  folder.Write("node-kinds.xml",
               "<?xml version=\"1.0\"?>\n<!DOCTYPE linden_skeleton [<!ENTITY v \"1 2 3\">]>\n"
               "<linden_skeleton><!-- c --><bone name=\"a\" pos=\"&v;\">text<?pi x?>"
               "<collision_volume name=\"C\"><bone name=\"hidden\"/></collision_volume>"
               "<other><bone name=\"b\"/></other><bone name=\"c\" support=\"extended\"/>"
               "</bone></linden_skeleton>");
}

}  // namespace

}  // namespace tovmar::fuzz

int main(int argc, char** argv) {
  using namespace tovmar;
  using namespace tovmar::fuzz;
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_make_seeds FOLDER\n");
    return 2;
  }
  // The seeds of other formats are written with wxImage; without wxApp its BMP writer, too,
  // comes only with the standard handlers.
  wxImage::InitStandardHandlers();
  wxInitAllImageHandlers();
  const std::filesystem::path root = PathFromUtf8(argv[1]);
  const SeedFolder images(root, "fuzz_image");
  WriteMeshSeeds(SeedFolder(root, "fuzz_llm"));
  WriteBmpSeeds(SeedFolder(root, "fuzz_bmp"), images);
  WriteImageSeeds(images);
  WriteOtherBmpSeeds(images);
  WriteAppearanceSeeds(SeedFolder(root, "fuzz_appearance"));
  WriteSkeletonSeeds(SeedFolder(root, "fuzz_skeleton"));
  return 0;
}
