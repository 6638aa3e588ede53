#include "mesh/TextureObject.h"

#include <atomic>
#include <new>
#include <utility>

namespace tovmar {

namespace {
// Generations are 1, 2, 3, ... for the life of the process, whichever thread asks.
std::atomic<std::uint64_t> g_lastGeneration{0};

bool AcceptableSides(std::int32_t width, std::int32_t height) {
  return width >= 0 && height >= 0 && width <= kMaxTextureSide && height <= kMaxTextureSide;
}

std::uint64_t PixelBytes(std::int32_t width, std::int32_t height) {
  return std::uint64_t{static_cast<std::uint32_t>(width)} * static_cast<std::uint32_t>(height) * 4u;
}
}  // namespace

const PixelBuffer& TextureObject::Pixels() const {
  static const PixelBuffer kNone;
  return m_pixels != nullptr ? *m_pixels : kNone;
}

TextureObject::TextureObject() {
  header.name = "tex " + std::to_string(header.id);
  RenewGeneration();
}

void TextureObject::RenewGeneration() {
  m_generation = g_lastGeneration.fetch_add(1, std::memory_order_relaxed) + 1;
}

void TextureObject::ReleaseContents() {
  m_pixels = {};
  sourcePath = {};
  RenewGeneration();
}

bool TextureObject::AllocatePixels(std::int32_t newWidth, std::int32_t newHeight) {
  m_pixels = {};
  RenewGeneration();
  if (!AcceptableSides(newWidth, newHeight)) return false;
  try {
    m_pixels = std::make_shared<PixelBuffer>(
        static_cast<std::size_t>(PixelBytes(newWidth, newHeight)), std::uint8_t{0});
  } catch (const std::bad_alloc&) {
    return false;
  }
  m_width = newWidth;
  m_height = newHeight;
  return true;
}

bool TextureObject::SetPicture(PixelBuffer pixels, std::int32_t newWidth, std::int32_t newHeight) {
  if (!AcceptableSides(newWidth, newHeight) || pixels.size() != PixelBytes(newWidth, newHeight)) {
    return false;
  }
  m_pixels = std::make_shared<PixelBuffer>(std::move(pixels));
  m_width = newWidth;
  m_height = newHeight;
  RenewGeneration();
  return true;
}

void TextureObject::TakePicture(TextureObject& from) {
  m_pixels = std::move(from.m_pixels);
  m_width = from.m_width;
  m_height = from.m_height;
  from.m_pixels = {};
  from.RenewGeneration();
  RenewGeneration();
}

void TextureObject::CopyPicture(const TextureObject& from) {
  m_pixels = from.m_pixels;
  m_width = from.m_width;
  m_height = from.m_height;
  m_generation = from.m_generation;
}

}  // namespace tovmar
