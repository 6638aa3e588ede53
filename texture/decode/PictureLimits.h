// The sizes of picture that the decoders make: checked against what a file declares before
// anything is allocated, so that a small file cannot make a decoder fill an enormous picture.
#pragma once

#include <cstdint>

namespace tovmar {

// The largest picture side, in pixels: 16384 x 16384 pixels of 4 bytes take 1 GiB.
inline constexpr std::int32_t kMaxPictureSide = 16384;

// The most pixels a file may declare for each of its bytes. Real colour pictures stay far below
// it (a picture of one colour reaches about 350 in PNG and 200 in JPEG); a file of a few bytes
// that declares millions of pixels would only make the decoder allocate and write for nothing.
inline constexpr std::uint64_t kMaxPixelsPerFileByte = 4096;

// Whether a file of `fileBytes` bytes may be decoded into pictures of at most `width` x `height`
// pixels that hold `totalPixels` pixels in all.
inline bool AcceptablePictureSize(std::uint64_t width, std::uint64_t height,
                                  std::uint64_t totalPixels, std::uint64_t fileBytes) {
  constexpr auto kMaxSide = static_cast<std::uint64_t>(kMaxPictureSide);
  return width <= kMaxSide && height <= kMaxSide && totalPixels <= kMaxSide * kMaxSide &&
         totalPixels <= fileBytes * kMaxPixelsPerFileByte;
}

}  // namespace tovmar
