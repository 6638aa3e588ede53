// A decoded picture as R, G, B bytes, the form in which Tovmar's own decoders hand pictures to the
// BMP writer.
#pragma once

#include <cstdint>
#include <vector>

namespace tovmar {

struct RgbPicture {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> rgb;  // width x height pixels of R, G, B bytes, top row first
};

}  // namespace tovmar
