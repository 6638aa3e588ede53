// A picture in memory as the exchange writers and the command line make it: R, G, B, A bytes, top
// row first.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace tovmar {

using Rgba = std::array<std::uint8_t, 4>;

struct RgbaPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width x height x 4 bytes, top row first

  // A width x height picture filled with `fill`.
  static RgbaPicture Filled(int width, int height, Rgba fill);

  void Set(int x, int y, Rgba colour) {
    const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                           static_cast<std::size_t>(x)) *
                          4;
    for (std::size_t c = 0; c < 4; ++c) pixels[i + c] = colour[c];
  }
};

inline RgbaPicture RgbaPicture::Filled(int width, int height, Rgba fill) {
  RgbaPicture picture{width, height, {}};
  picture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
    for (std::size_t c = 0; c < 4; ++c) picture.pixels[i + c] = fill[c];
  }
  return picture;
}

}  // namespace tovmar
