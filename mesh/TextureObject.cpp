#include "mesh/TextureObject.h"

#include <atomic>
#include <new>
#include <utility>

namespace tovmar {

namespace {
// Generations are 1, 2, 3, ... for the life of the process, whichever thread asks.
std::atomic<std::uint64_t> g_lastGeneration{0};
}  // namespace

TextureObject::TextureObject() {
  header.name = "tex " + std::to_string(header.id);
  MarkPixelsChanged();
}

void TextureObject::MarkPixelsChanged() {
  generation = g_lastGeneration.fetch_add(1, std::memory_order_relaxed) + 1;
}

void TextureObject::ReleaseContents() {
  pixels = {};
  sourcePath = {};
  MarkPixelsChanged();
}

void TextureObject::TakePicture(TextureObject& from) {
  pixels = std::move(from.pixels);
  width = from.width;
  height = from.height;
  from.pixels = {};
  from.MarkPixelsChanged();
  MarkPixelsChanged();
}

bool TextureObject::AllocatePixels(std::int32_t newWidth, std::int32_t newHeight) {
  pixels = {};
  MarkPixelsChanged();
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
