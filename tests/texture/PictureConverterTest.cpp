// Every image format through the whole texture load with Tovmar's conversion stage: the pictures
// are written by the test (with wxImage where the project writes no such files), loaded, and
// compared pixel by pixel.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <wx/image.h>
#include <wx/mstream.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/FileBytes.h"
#include "mesh/TextureObject.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/WxImageHandlers.h"
#include "tests/texture/TestImages.h"
#include "tests/texture/TextureTestFolder.h"
#include "texture/PictureConverter.h"
#include "texture/TemporaryBmpReader.h"
#include "texture/TemporaryFile.h"
#include "texture/decode/BmpWriter.h"
#include "texture/decode/BmpWriterThread.h"
#include "texture/decode/DecodePicture.h"
#include "texture/decode/ImageSizeProbe.h"

namespace tovmar {
namespace {

// The bytes wxImage writes for `image` as `type`, after the options of `setUp`.
std::string Encode(wxImage image, wxBitmapType type,
                   const std::function<void(wxImage&)>& setUp = nullptr) {
  AddWxImageHandlers();
  if (setUp) setUp(image);
  wxMemoryOutputStream out;
  EXPECT_TRUE(image.SaveFile(out, type));
  std::string bytes(out.GetLength(), '\0');
  out.CopyTo(bytes.data(), bytes.size());
  return bytes;
}

// A 32-bit BMP of `picture` with alpha bytes, bottom row first.
std::string Bmp32(const Picture& p) {
  std::string rows;
  for (std::int32_t y = p.height; y-- > 0;) {
    for (std::int32_t x = 0; x < p.width; ++x) {
      const std::uint8_t* c = &p.rgb[3 * (static_cast<std::size_t>(y) * p.width + x)];
      rows += {static_cast<char>(c[2]), static_cast<char>(c[1]), static_cast<char>(c[0]), '\x55'};
    }
  }
  return MakeBmp(p.width, p.height, 32, rows);
}

struct Format {
  const char* name;
  bool grey;
  int tolerance;  // JPEG is compared away from the borders, where colours bleed
  std::function<std::string(const Picture&)> write;
};

std::vector<Format> Formats() {
  auto tga = [](TgaKind kind, bool rle, bool topLeft) {
    return [=](const Picture& p) { return MakeTga(p, kind, rle, topLeft); };
  };
  auto png = [](int pngType, int bitDepth, bool alpha) {
    return [=](const Picture& p) {
      return Encode(ToWxImage(p, alpha), wxBITMAP_TYPE_PNG, [&](wxImage& i) {
        i.SetOption(wxIMAGE_OPTION_PNG_FORMAT, pngType);
        i.SetOption(wxIMAGE_OPTION_PNG_BITDEPTH, bitDepth);
      });
    };
  };
  return {
      {"png-rgb.png", false, 0, png(wxPNG_TYPE_COLOUR, 8, false)},
      {"png-rgba.png", false, 0, png(wxPNG_TYPE_COLOUR, 8, true)},
      {"png-palette.png", false, 0, png(wxPNG_TYPE_PALETTE, 8, false)},
      {"png-grey.png", true, 0, png(wxPNG_TYPE_GREY_RED, 8, false)},
      {"png-16bit.png", false, 0, png(wxPNG_TYPE_COLOUR, 16, false)},
      {"jpeg-baseline.jpg", false, 12,
       [](const Picture& p) {
         return Encode(ToWxImage(p), wxBITMAP_TYPE_JPEG,
                       [](wxImage& i) { i.SetOption(wxIMAGE_OPTION_QUALITY, 95); });
       }},
      {"bmp-8bit-palette.bmp", false, 0,
       [](const Picture& p) {
         return Encode(ToWxImage(p), wxBITMAP_TYPE_BMP, [](wxImage& i) {
           SetQuadrantPalette(i);
           i.SetOption(wxIMAGE_OPTION_BMP_FORMAT, wxBMP_8BPP_PALETTE);
         });
       }},
      {"bmp-24bit.bmp", false, 0,
       [](const Picture& p) { return Encode(ToWxImage(p), wxBITMAP_TYPE_BMP); }},
      {"bmp-32bit.bmp", false, 0, Bmp32},
      {"tiff.tif", false, 0,
       [](const Picture& p) { return Encode(ToWxImage(p), wxBITMAP_TYPE_TIFF); }},
      {"gif.gif", false, 0,
       [](const Picture& p) {
         return Encode(ToWxImage(p), wxBITMAP_TYPE_GIF, SetQuadrantPalette);
       }},
      {"tga-24-bottom-left.tga", false, 0, tga(TgaKind::kTrueColour24, false, false)},
      {"tga-24-rle-top-left.tga", false, 0, tga(TgaKind::kTrueColour24, true, true)},
      {"tga-32-top-left.tga", false, 0, tga(TgaKind::kTrueColour32, false, true)},
      {"tga-32-rle-bottom-left.tga", false, 0, tga(TgaKind::kTrueColour32, true, false)},
      {"tga-mapped.tga", false, 0, tga(TgaKind::kColourMapped, false, false)},
      {"tga-mapped-rle-top-left.tga", false, 0, tga(TgaKind::kColourMapped, true, true)},
      {"tga-grey.tga", true, 0, tga(TgaKind::kGrey, false, false)},
      {"tga-grey-rle.tga", true, 0, tga(TgaKind::kGrey, true, false)},
  };
}

class PictureLoad : public ::testing::Test {
 protected:
  TextureTestFolder folder;
  RecordingMessageSink messages;
  PictureConverter converter;
  ScopedImageConverter installed{&converter};
};

TEST_F(PictureLoad, EveryFormatArrivesBottomRowFirstWithoutAlpha) {
  for (const Format& f : Formats()) {
    // 7 x 5 pads every 24-bit row, 8 x 6 none; JPEG gets blocks of one colour each.
    const bool jpeg = std::string(f.name).starts_with("jpeg");
    for (const auto& [width, height] : jpeg ? std::vector<std::pair<int, int>>{{32, 32}}
                                            : std::vector<std::pair<int, int>>{{7, 5}, {8, 6}}) {
      SCOPED_TRACE(testing::Message() << f.name << " " << width << "x" << height);
      const Picture picture = MakeQuadrants(width, height, f.grey);
      const std::string bytes = f.write(picture);
      // The extension says nothing: the decoder is chosen by the content.
      TextureObject texture;
      const std::string path = folder.WriteImage(std::string(f.name) + ".image", bytes);
      ASSERT_TRUE(texture.Load(path));
      ExpectTextureShows(texture, picture, f.tolerance, f.tolerance > 0 ? 3 : 0);
      EXPECT_EQ(texture.sourcePath, path);
    }
  }
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_TRUE(folder.LeftoverBmpFiles().empty());
}

TEST_F(PictureLoad, JapaneseFileNamesWorkForSmallAndLargeFiles) {
  // The small file is read at once, the large one after its first bytes declared its size.
  const Picture small = MakeQuadrants(6, 4);
  const Picture large = MakeQuadrants(200, 150);
  const std::vector<std::pair<std::string, const Picture*>> files = {
      {folder.WriteImage("テクスチャ 画像.png", Encode(ToWxImage(small), wxBITMAP_TYPE_PNG)),
       &small},
      {folder.WriteImage("大きい画像.tga", MakeTga(large, TgaKind::kTrueColour24, false, false)),
       &large},
  };
  for (const auto& [path, picture] : files) {
    SCOPED_TRACE(path);
    TextureObject texture;
    ASSERT_TRUE(texture.Load(path));
    ExpectTextureShows(texture, *picture);
    EXPECT_EQ(texture.sourcePath, path);
  }
}

TEST_F(PictureLoad, UndecodableMissingAndOversizedFilesAreNotDecodable) {
  // PNG, GIF and JPEG headers that promise far more pixels than the limit, in a few bytes.
  const std::string png =
      std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x4e\x20\0\0\x4e\x20", 24) +
      std::string("\x08\x02\0\0\0", 5) + std::string(64, '\0');
  const std::string jpeg =
      std::string("\xFF\xD8\xFF\xC0\0\x11\x08\x75\x30\x75\x30\x03", 12) + std::string(64, '\0');
  // The same size declared after 128 KiB of application segments.
  std::string lateJpeg("\xFF\xD8", 2);
  for (int segment = 0; segment < 2; ++segment) {
    lateJpeg += std::string("\xFF\xE1\xFF\xFF", 4) + std::string(0xFFFD, 'x');
  }
  lateJpeg += jpeg.substr(2);
  std::string gif("GIF89a\x10\0\x10\0\0\0\0", 13);
  for (int frame = 0; frame < 8; ++frame) {
    gif += std::string("\x2C\0\0\0\0\0\x40\0\x40\0\x08\x01\0\0", 14);  // 16384 x 16384
  }
  const std::vector<std::pair<const char*, std::string>> files = {
      {"text.png", "this is no picture"}, {"empty.tga", ""}, {"huge.png", png}, {"huge.jpg", jpeg},
      {"many-frames.gif", gif},
  };
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    messages.messages.clear();
    TextureObject texture;
    EXPECT_FALSE(texture.Load(folder.WriteImage(name, bytes)));
    EXPECT_EQ(messages.messages, std::vector<std::string>{"D3DXCreateTextureFromFile error"});
    EXPECT_TRUE(folder.LeftoverBmpFiles().empty());
  }
  // No file, a folder, a device that never ends, and a pipe that nobody writes to.
  const std::string pipe = folder.ImagePath("pipe.png");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& path :
       {folder.ImagePath("missing.png"), folder.ImagePath(""), std::string("/dev/zero"), pipe}) {
    SCOPED_TRACE(path);
    messages.messages.clear();
    TextureObject texture;
    EXPECT_FALSE(texture.Load(path));
    EXPECT_EQ(messages.messages, std::vector<std::string>{"D3DXCreateTextureFromFile error"});
  }
  EXPECT_TRUE(folder.LeftoverBmpFiles().empty());
}

// Files that crashed, flooded or misled the decoders when they were tried in turn: a valid TGA
// whose first byte looks like another format, GIF compression parameters beyond the format,
// a GIF with a stray byte before a huge frame, colour-mapped TGA files without colours or of a
// huge size, and formats whose headers are not read before decoding. Also files on which
// wxImage's decoders wrote or read outside their buffers: a GIF with damaged compressed data, TGA
// files whose colour map starts past index 0, and BMP files whose run-length data runs past its
// rows or picture or whose indices lie past the colour table.
TEST_F(PictureLoad, FilesFoundByFuzzingAreDecodedSafelyOrRefused) {
  const std::filesystem::path folderPath = TOVMAR_FUZZ_REGRESSIONS_DIR "/fuzz_image";
  ASSERT_TRUE(std::filesystem::is_directory(folderPath));
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folderPath)) {
    const std::string name = entry.path().filename().string();
    SCOPED_TRACE(name);
    TextureObject texture;
    const bool loaded = texture.Load(PathToUtf8(entry.path()));
    // The valid TGA and the BMP files, whose run-length data is cut at the picture's edges,
    // decode; every other file is refused with the decoding message.
    EXPECT_EQ(loaded, name == "tga-image-id-10-bytes.tga" || name.starts_with("bmp-"));
    ++files;
  }
  EXPECT_GE(files, 20);
  EXPECT_TRUE(folder.LeftoverBmpFiles().empty());
}

TEST_F(PictureLoad, WritesAnUncompressedBottomUp24BitBmpAtThePicturesOwnSize) {
  const Picture picture = MakeQuadrants(5, 3);
  const std::string source =
      folder.WriteImage("p.png", Encode(ToWxImage(picture, true), wxBITMAP_TYPE_PNG));
  TemporaryFile bmp;
  ASSERT_TRUE(bmp.Create(folder.Temp(), "bmp"));
  ASSERT_TRUE(converter.ConvertToBmp(source, bmp.File()));
  std::rewind(bmp.File());
  std::string bytes(1000, '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), bmp.File()));
  BmpLayout layout;
  ASSERT_EQ(ReadBmpLayout(bytes, bytes.size(), layout), BmpStatus::kOk);
  EXPECT_EQ(layout.bitsPerPixel, 24u);
  EXPECT_FALSE(layout.topDown);
  EXPECT_EQ(layout.width, 5);
  EXPECT_EQ(layout.height, 3);
  EXPECT_EQ(bytes.size(), 54u + 16 * 3);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(bytes[30], 0);  // no compression
}

TEST(ImageSizeProbe, ReadsTheDeclaredSizeOfEachFormat) {
  struct Case {
    const char* name;
    std::string bytes;
    std::uint32_t width, height;
  };
  const std::vector<Case> cases = {
      {"bmp top-down", MakeBmp(300, -200, 24, ""), 300, 200},
      {"bmp core header", std::string("BM\0\0\0\0\0\0\0\0\0\0\0\0\x0c\0\0\0\x2c\x01\xc8\0", 22),
       300, 200},
      {"tga", MakeTga(MakeQuadrants(3, 2), TgaKind::kGrey, false, false), 3, 2},
      {"tiff little-endian",
       std::string("II*\0\x08\0\0\0\x02\0\0\x01\x03\0\x01\0\0\0\x2c\x01\0\0"
                   "\x01\x01\x04\0\x01\0\0\0\xc8\0\0\0",
                   34),
       300, 200},
      {"tiff big-endian",
       std::string("MM\0*\0\0\0\x08\0\x02\x01\0\0\x04\0\0\0\x01\0\0\x01\x2c"
                   "\x01\x01\0\x03\0\0\0\x01\0\xc8\0\0",
                   34),
       300, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ImageExtent extent;
    ASSERT_EQ(ProbeImageExtent(c.bytes, extent), ProbeResult::kKnown);
    EXPECT_EQ(extent.width, c.width);
    EXPECT_EQ(extent.height, c.height);
  }
  // Cut short: more bytes are needed. No format read here: the decoder is left to judge.
  ImageExtent extent;
  EXPECT_EQ(ProbeImageExtent(std::string("\x89PNG\r\n\x1a\n", 8), extent), ProbeResult::kCutShort);
  EXPECT_EQ(ProbeImageExtent(std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10), extent),
            ProbeResult::kCutShort);
  EXPECT_EQ(ProbeImageExtent(std::string("GIF89a\x10\0\x10\0\0\0\0\x21\xF9\x04", 16), extent),
            ProbeResult::kCutShort);
  // A GIF ending inside a frame's descriptor, or before its code size, would be misread.
  EXPECT_EQ(ProbeImageExtent(std::string("GIF89a\x10\0\x10\0\0\0\0\x2C\0", 15), extent),
            ProbeResult::kCutInFrame);
  EXPECT_EQ(ProbeImageExtent(std::string("GIF89a\x10\0\x10\0\0\0\0\x2C\0\0\0\0\x10\0\x10\0\0", 23),
                             extent),
            ProbeResult::kCutInFrame);
  EXPECT_EQ(ProbeImageExtent("P6\n# made by hand\n3 2\n255\n", extent), ProbeResult::kNotProbed);

  // A PNG is walked chunk by chunk to IEND: a chunk that runs past the end, or an end before
  // IEND, would have wxImage's reader inflate nothing for as long as the length says.
  const auto chunk = [](const char* type, const std::string& data, std::uint32_t length) {
    std::string out;
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<char>((length >> (8 * i)) & 0xFFu));
    return out + type + data + std::string(4, '\0');
  };
  const std::string head = std::string("\x89PNG\r\n\x1a\n", 8) +
                           chunk("IHDR", std::string("\0\0\1\0\0\0\0\x80\x08\2\0\0\0", 13), 13);
  const std::string idat = chunk("IDAT", "data", 4);
  const std::string iend = chunk("IEND", "", 0);
  EXPECT_EQ(ProbeImageExtent(head + idat + iend, extent), ProbeResult::kKnown);
  EXPECT_EQ(extent.width, 256u);
  EXPECT_EQ(extent.height, 128u);
  EXPECT_EQ(ProbeImageExtent(head + idat, extent), ProbeResult::kCutInFrame);
  EXPECT_EQ(ProbeImageExtent(head + chunk("IDAT", "data", 1728054227) + iend, extent),
            ProbeResult::kCutInFrame);
  EXPECT_EQ(ProbeImageExtent(head + chunk("IDAT", "data", 0x80000000u) + iend, extent),
            ProbeResult::kNotProbed);
}

// The whole bytes of a file from its start.
std::string FileBytes(std::FILE* file) {
  std::string bytes;
  std::rewind(file);
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) bytes += static_cast<char>(c);
  return bytes;
}

TEST_F(PictureLoad, AJpegWrittenWhileItDecodesIsTheFileWrittenAfterwards) {
  // Many blocks of rows, the last one short, and padded rows.
  const std::string jpeg = Encode(ToWxImage(MakeQuadrants(130, 333)), wxBITMAP_TYPE_JPEG);
  const std::string path = folder.WriteImage("rows.jpg", jpeg);
  const FilePtr streamed(std::tmpfile());
  const FilePtr whole(std::tmpfile());
  ASSERT_TRUE(streamed && whole);
  ASSERT_TRUE(converter.ConvertToBmp(path, streamed.get()));
  BgrPicture picture;
  ASSERT_TRUE(DecodePicture(jpeg, picture));
  ASSERT_TRUE(WriteBmp24(whole.get(), picture));
  EXPECT_EQ(std::ftell(streamed.get()), std::ftell(whole.get()));
  EXPECT_EQ(FileBytes(streamed.get()), FileBytes(whole.get()));

  // A decode that fails after some rows were told ends the thread before the rows go.
  const FilePtr abandoned(std::tmpfile());
  {
    BmpWriterThread writer(abandoned.get());
    const RowsDecoded report = writer.Reporter();
    auto rows = std::make_unique<BgrPicture>(picture);
    for (std::int32_t row = 1; row <= 200; ++row) report(*rows, row);
    report(*rows, -1);
    rows.reset();
  }
}

}  // namespace
}  // namespace tovmar
