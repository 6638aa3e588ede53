// The picture size that an image file's header declares, read before a decoder runs so that a
// small file cannot make the decoder allocate and fill an enormous picture.
#pragma once

#include <cstdint>
#include <string_view>

namespace tovmar {

struct ImageExtent {
  std::uint32_t width = 0;        // the widest picture the file declares
  std::uint32_t height = 0;       // the tallest picture the file declares
  std::uint64_t totalPixels = 0;  // all pictures the decoder fills, added up
};

enum class ProbeResult {
  kKnown,      // the extent was read
  kCutShort,   // a known format whose bytes end early; the extent holds what they declared
  kNotProbed,  // not a format read here, or one too damaged to say
};

// Reads the declared extent of a PNG, JPEG, GIF (every frame), BMP, TIFF (first image) or TGA
// file from its first bytes, or from all of them for GIF.
ProbeResult ProbeImageExtent(std::string_view bytes, ImageExtent& extent);

}  // namespace tovmar
