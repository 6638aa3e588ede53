// A texture picture in memory: width x height pixels of R, G, B, A bytes, bottom row first.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "mesh/PixelBuffer.h"
#include "mesh/SceneItem.h"

namespace tovmar {

// The largest texture side accepted, in pixels: 16384 x 16384 pixels take 1 GiB.
inline constexpr std::int32_t kMaxTextureSide = 16384;

class TextureObject {
 public:
  TextureObject();

  // The picture: width x height pixels of four bytes, bottom row first, and the generation
  // that stands for it. Unique in the process to each picture an object has held, the
  // generation is how a drawing context knows its copy of the picture: every member that
  // changes the pixels, the width or the height gives the object a new one.
  bool HasPixels() const { return m_pixels != nullptr && !m_pixels->empty(); }
  const PixelBuffer& Pixels() const;
  std::int32_t Width() const { return m_width; }
  std::int32_t Height() const { return m_height; }
  std::uint64_t Generation() const { return m_generation; }

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

  // Takes `pixels` as the picture of width x height. Refuses, changing nothing, sides that
  // AllocatePixels refuses and pixels that are not four bytes for each of width x height.
  bool SetPicture(PixelBuffer pixels, std::int32_t newWidth, std::int32_t newHeight);

  // Takes the pixels, width and height of `from`, which keeps none, under a new generation, so
  // that every context that drew the earlier picture puts this one in at its next draw.
  void TakePicture(TextureObject& from);

  // Copies the picture of `from`, generation included: the same picture, so that a context
  // that holds it from one object draws it for the other without putting it in again. The pixels
  // themselves are shared, not copied: no member changes pixels in place, so objects on several
  // threads can hold one picture.
  void CopyPicture(const TextureObject& from);

  SceneItem header;
  std::uint32_t state = 1;
  std::string sourcePath;

 private:
  // Gives the object a new generation, after its picture changed.
  void RenewGeneration();

  // Never changed in place once held: a change replaces the whole vector.
  std::shared_ptr<PixelBuffer> m_pixels;
  std::int32_t m_width = 0;
  std::int32_t m_height = 0;
  std::uint64_t m_generation = 0;
};

}  // namespace tovmar
