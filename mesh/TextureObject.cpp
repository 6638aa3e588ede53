#include "mesh/TextureObject.h"

#include <new>

namespace tovmar {

TextureObject::TextureObject() {
  header.name = "tex " + std::to_string(header.id);
}

void TextureObject::ReleaseContents() {
  pixels = {};
  sourcePath = {};
}

bool TextureObject::AllocatePixels(std::int32_t newWidth, std::int32_t newHeight) {
  pixels = {};
  if (newWidth < 0 || newHeight < 0 || newWidth > kMaxTextureSide || newHeight > kMaxTextureSide) {
    return false;
  }
  const std::uint64_t size = std::uint64_t{static_cast<std::uint32_t>(newWidth)} *
                             static_cast<std::uint32_t>(newHeight) * 4u;
  try {
    pixels.assign(static_cast<std::size_t>(size), 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  width = newWidth;
  height = newHeight;
  return true;
}

}  // namespace tovmar
