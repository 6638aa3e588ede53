// A texture picture in memory: width x height pixels of R, G, B, A bytes, bottom row first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mesh/SceneItem.h"

namespace tovmar {

class TextureObject {
 public:
  TextureObject();

  bool HasPixels() const { return !pixels.empty(); }

  // Frees the pixels and the source path.
  void ReleaseContents();

  SceneItem header;
  std::uint32_t state = 1;
  std::string sourcePath;
  std::vector<std::uint8_t> pixels;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

}  // namespace tovmar
