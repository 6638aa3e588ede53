// A decoded picture in the pixel order of an uncompressed bottom-up 24-bit BMP file, the form in
// which Tovmar's own decoders hand pictures to the BMP writer: it writes their rows as they are.
#pragma once

#include <cstdint>
#include <vector>

namespace tovmar {

struct BgrPicture {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> bgr;  // width x height pixels of B, G, R bytes, bottom row first
};

}  // namespace tovmar
