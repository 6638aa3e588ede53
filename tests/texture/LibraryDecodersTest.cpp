// The decoders built on libpng, libjpeg-turbo and libtiff: the same pixels as wxImage's decoders
// give for the same files, progressive JPEG and interlaced PNG, the JPEG scan limit counted in
// scans, and TIFF files that name their size twice.
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/WxImageHandlers.h"
#include "tests/texture/DecoderChecks.h"
#include "tests/texture/TestImages.h"
#include "texture/decode/ImageSizeProbe.h"
#include "texture/decode/JpegDecoder.h"
#include "texture/decode/PngDecoder.h"
#include "texture/decode/TiffDecoder.h"

namespace tovmar {
namespace {

// A picture with a different colour in every pixel, so that a row or a column out of place shows.
Picture MakeGradient(std::int32_t width, std::int32_t height) {
  Picture p{width, height, {}};
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      p.rgb.insert(p.rgb.end(), {static_cast<std::uint8_t>(x * 255 / width),
                                 static_cast<std::uint8_t>(y * 255 / height),
                                 static_cast<std::uint8_t>((x + y) * 7)});
    }
  }
  return p;
}

std::string EncodeWx(const Picture& p, wxBitmapType type, int pngFormat = -1) {
  AddWxImageHandlers();
  wxImage image = ToWxImage(p);
  if (pngFormat >= 0) image.SetOption(wxIMAGE_OPTION_PNG_FORMAT, pngFormat);
  wxMemoryOutputStream out;
  EXPECT_TRUE(image.SaveFile(out, type));
  std::string bytes(out.GetLength(), '\0');
  out.CopyTo(bytes.data(), bytes.size());
  return bytes;
}

std::optional<Picture> DecodeWx(const std::string& bytes, wxBitmapType type) {
  AddWxImageHandlers();
  wxLogNull noLog;
  wxMemoryInputStream in(bytes.data(), bytes.size());
  wxImage image;
  if (!image.LoadFile(in, type)) return std::nullopt;
  Picture p{image.GetWidth(), image.GetHeight(), {}};
  p.rgb.assign(image.GetData(), image.GetData() + 3 * std::size_t(p.width) * p.height);
  return p;
}

// An interlaced 8-bit RGB PNG of `p`, which wxImage does not write.
std::string EncodeInterlacedPng(const Picture& p) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::string bytes;
  png_set_write_fn(
      png, &bytes,
      [](png_structp s, png_bytep data, std::size_t n) {
        static_cast<std::string*>(png_get_io_ptr(s))->append(reinterpret_cast<char*>(data), n);
      },
      nullptr);
  png_set_IHDR(png, info, static_cast<png_uint_32>(p.width), static_cast<png_uint_32>(p.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_ADAM7, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_bytep> rows;
  for (std::int32_t y = 0; y < p.height; ++y) {
    rows.push_back(const_cast<png_bytep>(&p.rgb[3 * std::size_t(y) * p.width]));
  }
  png_set_rows(png, info, rows.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

// A JPEG of `p` at quality 95: progressive as libjpeg's own progression has it (10 scans), or
// baseline; with `cmyk`, each pixel as the inverted inks (R, G, B, 255) that Adobe stores.
std::string EncodeJpeg(const Picture& p, bool progressive, bool cmyk = false) {
  jpeg_compress_struct c{};
  jpeg_error_mgr errors{};
  c.err = jpeg_std_error(&errors);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = static_cast<JDIMENSION>(p.width);
  c.image_height = static_cast<JDIMENSION>(p.height);
  c.input_components = cmyk ? 4 : 3;
  c.in_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  if (progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(p.width) * c.input_components);
  while (c.next_scanline < c.image_height) {
    const std::uint8_t* in = &p.rgb[3 * std::size_t(c.next_scanline) * p.width];
    for (std::int32_t x = 0; x < p.width; ++x) {
      for (int ch = 0; ch < c.input_components; ++ch) {
        row[std::size_t(x) * c.input_components + ch] = ch < 3 ? in[3 * x + ch] : 255;
      }
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::string bytes(reinterpret_cast<char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

// `jpeg` with its last scan sent `extra` more times before the end: each repeat adds a scan that
// changes nothing, as the scans of a "scan bomb" do.
std::string WithRepeatedLastScan(const std::string& jpeg, int extra) {
  const std::size_t lastScan = jpeg.rfind("\xFF\xDA");
  const std::size_t end = jpeg.size() - 2;  // the end-of-image marker
  const std::string scan = jpeg.substr(lastScan, end - lastScan);
  std::string out = jpeg.substr(0, end);
  for (int i = 0; i < extra; ++i) out += scan;
  return out + "\xFF\xD9";
}

void ExpectSame(const Picture& got, const Picture& want) {
  EXPECT_EQ(got.width, want.width);
  EXPECT_EQ(got.height, want.height);
  EXPECT_TRUE(got.rgb == want.rgb);
}

TEST(LibraryDecoders, DecodeAsWxImageDecodesTheSameFiles) {
  struct Case {
    const char* name;
    PictureDecoder decode;
    wxBitmapType type;
    std::function<std::string(const Picture&)> write;
  };
  const std::vector<Case> cases = {
      {"png rgb", DecodePng, wxBITMAP_TYPE_PNG,
       [](const Picture& p) { return EncodeWx(p, wxBITMAP_TYPE_PNG); }},
      {"png grey", DecodePng, wxBITMAP_TYPE_PNG,
       [](const Picture& p) { return EncodeWx(p, wxBITMAP_TYPE_PNG, wxPNG_TYPE_GREY); }},
      {"png interlaced", DecodePng, wxBITMAP_TYPE_PNG, EncodeInterlacedPng},
      {"jpeg baseline", [](std::string_view b, BgrPicture& p) { return DecodeJpeg(b, p); },
       wxBITMAP_TYPE_JPEG, [](const Picture& p) { return EncodeJpeg(p, false); }},
      {"jpeg progressive", [](std::string_view b, BgrPicture& p) { return DecodeJpeg(b, p); },
       wxBITMAP_TYPE_JPEG, [](const Picture& p) { return EncodeJpeg(p, true); }},
      {"tiff", DecodeTiff, wxBITMAP_TYPE_TIFF,
       [](const Picture& p) { return EncodeWx(p, wxBITMAP_TYPE_TIFF); }},
  };
  // 37 x 29: odd sizes, rows that no block or strip size divides; 4100 x 150: wide enough that
  // TIFF rows are decoded a few strips at a time.
  for (const Picture& picture : {MakeGradient(37, 29), MakeGradient(4100, 150)}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.name << " " << picture.width);
      const std::string bytes = c.write(picture);
      const std::optional<Picture> ours = DecodeWith(c.decode, bytes);
      const std::optional<Picture> theirs = DecodeWx(bytes, c.type);
      ASSERT_TRUE(ours.has_value());
      ASSERT_TRUE(theirs.has_value());
      ExpectSame(*ours, *theirs);
    }
  }
}

TEST(LibraryDecoders, CmykJpegIsTakenAsAdobeWritesIt) {
  const Picture picture = MakeQuadrants(32, 32);
  const std::optional<Picture> got =
      DecodeWith([](std::string_view b, BgrPicture& p) { return DecodeJpeg(b, p); },
                 EncodeJpeg(picture, false, true));
  ASSERT_TRUE(got.has_value());
  // Away from the quadrant borders, where the colours bleed.
  for (const auto& [x, y] : {std::pair{4, 4}, {27, 4}, {4, 27}, {27, 27}}) {
    for (int ch = 0; ch < 3; ++ch) {
      const std::size_t i = 3 * (std::size_t(y) * 32 + x) + ch;
      EXPECT_NEAR(got->rgb[i], picture.rgb[i], 3) << x << "," << y;
    }
  }
}

TEST(LibraryDecoders, AJpegOfMoreScansThanAFileMayHaveIsRefusedAtTheFirstScanTooMany) {
  const std::string progressive = EncodeJpeg(MakeGradient(64, 48), true);
  struct Case {
    int extraScans;
    bool decodes;
    int scansRead;
  };
  // libjpeg's progression has 10 scans; the repeats bring the file to the limit, one past it,
  // and far past it, where the decoder still stops one past the limit.
  for (const Case c :
       {Case{0, true, 10}, Case{kMaxJpegScans - 10, true, kMaxJpegScans},
        Case{kMaxJpegScans - 9, false, kMaxJpegScans + 1}, Case{3000, false, kMaxJpegScans + 1}}) {
    SCOPED_TRACE(c.extraScans);
    BgrPicture picture;
    int scans = 0;
    EXPECT_EQ(DecodeJpeg(WithRepeatedLastScan(progressive, c.extraScans), picture, &scans),
              c.decodes);
    EXPECT_EQ(scans, c.scansRead);
  }
}

// A little-endian TIFF of 2 x 2 uncompressed R, G, B pixels whose directory gives the width as
// `widths` in turn, each as a 32-bit value.
std::string TiffWithWidths(const std::vector<std::uint32_t>& widths) {
  std::string out("II*\0", 4);
  const auto entries = static_cast<std::uint32_t>(widths.size() + 6);
  const std::uint32_t pixelsAt = 8 + 2 + 12 * entries + 4;
  PutLittleEndian(out, 8, 4);
  PutLittleEndian(out, entries, 2);
  const auto entry = [&](std::uint32_t tag, std::uint32_t type, std::uint32_t value) {
    PutLittleEndian(out, tag, 2);
    PutLittleEndian(out, type, 2);
    PutLittleEndian(out, 1, 4);
    PutLittleEndian(out, value, 4);
  };
  for (const std::uint32_t width : widths) entry(256, 4, width);
  entry(257, 4, 2);            // height
  entry(258, 3, 8);            // bits per sample (one value, for every sample)
  entry(262, 3, 2);            // RGB
  entry(273, 4, pixelsAt);     // strip offset
  entry(277, 3, 3);            // samples per pixel
  entry(279, 4, 12);           // strip bytes
  PutLittleEndian(out, 0, 4);  // no next directory
  return out + std::string("\xFF\0\0\0\xFF\0\0\0\xFF\xFF\xFF\xFF", 12);
}

TEST(LibraryDecoders, ATiffThatNamesItsWidthTwiceIsReadAsItsFirstWidthByProbeAndDecoder) {
  // Declared first: 2, then 60000 (or the other way round), as a fuzzer made them.
  const std::string small = TiffWithWidths({2, 60000});
  ImageExtent extent;
  ASSERT_EQ(ProbeImageExtent(small, extent), ProbeResult::kKnown);
  EXPECT_EQ(extent.width, 2u);
  ExpectDecodes(DecodeTiff, small, 2, 2, {kRed, kGreen, kBlue, kWhite});

  const std::string huge = TiffWithWidths({60000, 2});
  ASSERT_EQ(ProbeImageExtent(huge, extent), ProbeResult::kKnown);
  EXPECT_EQ(extent.width, 60000u);
  BgrPicture picture;
  EXPECT_FALSE(DecodeTiff(huge, picture));
}

}  // namespace
}  // namespace tovmar
