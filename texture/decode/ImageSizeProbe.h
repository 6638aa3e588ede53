// The picture size that an image file's header declares, read before a decoder runs so that a
// small file cannot make the decoder allocate and fill an enormous picture.
#pragma once

#include <cstdint>
#include <string_view>

namespace tovmar {

// The formats whose headers are read here; only these are handed to a decoder.
enum class ImageFormat { kUnknown, kPng, kJpeg, kGif, kBmp, kTiff, kTga };

struct ImageExtent {
  ImageFormat format = ImageFormat::kUnknown;
  std::uint32_t width = 0;        // the widest picture the file declares
  std::uint32_t height = 0;       // the tallest picture the file declares
  std::uint64_t totalPixels = 0;  // all pictures the decoder fills, added up
};

enum class ProbeResult {
  kKnown,       // the extent was read
  kCutShort,    // a known format whose bytes end early; the extent holds what they declared
  kCutInFrame,  // bytes that end where a decoder would misread the end of the file: a GIF
                // before a frame's compression starts, where the frame's parameters would be
                // taken from what follows; a PNG inside a chunk or before IEND
  kNotProbed,   // not a format read here, or one too damaged to say
};

// Reads the format and the declared extent of a PNG, JPEG, GIF (every frame), BMP, TIFF (first
// image) or TGA file from its first bytes, or from all of them for GIF and PNG. GIF files whose
// blocks or compression parameters a decoder could misread, GIF frames without pixels, and
// colour-mapped TGA files without a colour map, are not probed.
ProbeResult ProbeImageExtent(std::string_view bytes, ImageExtent& extent);

}  // namespace tovmar
