// A texture picture in memory: width x height pixels of R, G, B, A bytes, bottom row first.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "mesh/SceneItem.h"

namespace tovmar {

// The largest texture side accepted, in pixels: 16384 x 16384 pixels take 1 GiB.
inline constexpr std::int32_t kMaxTextureSide = 16384;

class TextureObject {
 public:
  TextureObject();

  bool HasPixels() const { return !pixels.empty(); }

  // Gives the object a new generation; whoever changes the pixels, the width or the height
  // without the members below calls it.
  void MarkPixelsChanged();

  // Frees the pixels and the source path.
  void ReleaseContents();

  // Fills the object from an image file through a temporary BMP file. On failure it shows a
  // message, keeps no pixels and an empty source path, and width and height keep their values.
  // (Body in texture/TextureLoad.cpp.)
  bool Load(const std::string& sourcePath);

  // Decodes the image file with the installed image converter and writes it as a BMP file into
  // `tempFile`, the open temporary file; shows "D3DXCreateTextureFromFile error" when that is
  // not possible. (Body in texture/TextureLoad.cpp, with Load.)
  bool ConvertToBmp(const std::string& sourcePath, std::FILE* tempFile);

  // Frees the pixels and allocates zero-filled ones for width x height, which it then records.
  // Refuses negative sizes, sides over kMaxTextureSide and a failed allocation (no pixels then;
  // width and height unchanged).
  bool AllocatePixels(std::int32_t newWidth, std::int32_t newHeight);

  // Takes the pixels, width and height of `from`, which keeps none, under a new generation, so
  // that every context that drew the earlier picture puts this one in at its next draw.
  void TakePicture(TextureObject& from);

  SceneItem header;
  std::uint32_t state = 1;
  std::string sourcePath;
  std::vector<std::uint8_t> pixels;
  std::int32_t width = 0;
  std::int32_t height = 0;
  // Stands for the pixels with their width and height: unique in the process to each picture
  // an object has held, so that a context's copy of the picture is known by it. A copy of the
  // pixels, width and height may take the generation along.
  std::uint64_t generation = 0;
};

}  // namespace tovmar
