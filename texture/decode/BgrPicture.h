// A decoded picture in the pixel order of an uncompressed bottom-up 24-bit BMP file, the form in
// which Tovmar's own decoders hand pictures to the BMP writer: it writes their rows as they are.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace tovmar {

struct BgrPicture {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> bgr;  // width x height pixels of B, G, R bytes, bottom row first
};

// What a decoder that makes the rows one after another tells as they become final: the picture,
// its size set and its pixels in place (they stay where they are when the picture is handed
// over), and how many of its rows, counted from the top, are decoded. A count below zero says
// that the decode failed and the rows are about to go; nothing is told after it.
using RowsDecoded = std::function<void(const BgrPicture& picture, std::int32_t rowsFromTop)>;

}  // namespace tovmar
