// Pictures for the render tests: reading the PNG files the tool writes, writing texture images,
// and the flat mesh the texture tests look at.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "mesh/LlmMesh.h"

namespace tovmar::test {

using Rgb = std::array<int, 3>;

// The background of every picture: the clear colour 0.25 as 8-bit channels.
inline constexpr Rgb kBackground{64, 64, 64};

struct Picture {
  int width = 0;
  int height = 0;
  // PNG colour type from the file's header (2: RGB without alpha); -1 when it is no PNG.
  int colorType = -1;
  std::vector<std::uint8_t> rgb;  // top row first

  Rgb At(int x, int y) const;
  bool IsBackground(int x, int y) const { return At(x, y) == kBackground; }
};

// The PNG file at `path`; width 0 when it cannot be read.
Picture ReadPicture(const std::string& path);

// The smallest rectangle holding every pixel that is not the background; empty() when there is
// none.
struct Box {
  int left = 0, top = 0, right = -1, bottom = -1;
  bool empty() const { return right < left; }
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};
Box DrawnBox(const Picture& picture);

// Writes a width x height PNG of `rgb` (top row first); false when it cannot be written.
bool WritePng(const std::string& path, const std::vector<std::uint8_t>& rgb, int width, int height);

// A square of side 0.4 in the file's y-z plane facing +X (the camera), two triangles, normals
// along +X, texture coordinates (0,0) at the bottom left to (1,1) at the top right as the camera
// sees it. Drawn at the start distance it covers the middle three quarters of the picture.
LlmMesh MakeFacingQuad();

}  // namespace tovmar::test
