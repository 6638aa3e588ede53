// Fuzzes the image conversion stage: any bytes as an image file with one of the extensions a
// texture file is likely to have, converted into a temporary BMP file, which must then be the
// uncompressed bottom-up 24-bit file that the texture load reads back. The size checks before
// decoding must keep every single allocation within what a picture at the size limit needs.
#include <sanitizer/allocator_interface.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/FileBytes.h"
#include "fuzz/FuzzSupport.h"
#include "mesh/TextureObject.h"
#include "texture/PictureConverter.h"
#include "texture/TemporaryBmpReader.h"
#include "texture/TemporaryFile.h"

namespace tovmar::fuzz {

namespace {

// The extensions a texture file is likely to have: those of the texture file dialog's filter, and
// others that its "all files" choice lets through. The stage picks its decoder by the content, so
// one extension per input is enough: the input's first byte chooses it.
constexpr const char* kExtensions[] = {".png", ".jpg", ".jpeg", ".tga", ".bmp", ".gif"};

// The largest BMP file the stage can write: the largest picture at 3 bytes per pixel, padded.
constexpr std::uint64_t kMaxBmpBytes =
    std::uint64_t{54} + std::uint64_t{kMaxTextureSide} * (std::uint64_t{kMaxTextureSide} * 3 + 3);

// The largest block a decoder needs for a picture at the size limit: 4 bytes per pixel, with
// room for its bookkeeping.
constexpr std::size_t kMaxAllocationBytes =
    std::size_t{kMaxTextureSide} * kMaxTextureSide * 4 + (std::size_t{1} << 20);

// The largest block allocated since it was last reset; racing threads may lose an update, which
// only makes the check miss a finding, never report a wrong one.
std::atomic<std::size_t> g_largestAllocation{0};

void NoteAllocation(const volatile void*, std::size_t size) {
  if (size > g_largestAllocation.load(std::memory_order_relaxed)) {
    g_largestAllocation.store(size, std::memory_order_relaxed);
  }
}

void NoteFree(const volatile void*) {}

// The written file is exactly an uncompressed bottom-up 24-bit BMP that the loader accepts. Only
// its header is read: a picture at the size limit is large enough without a second copy.
void CheckWrittenBmp(std::FILE* file) {
  const std::optional<std::uint64_t> size = RegularFileSize(file);
  Require(size && *size <= kMaxBmpBytes, "the written BMP file has a size within the limit");
  std::rewind(file);
  char header[kBmpHeaderBytes];
  const std::size_t got = std::fread(header, 1, sizeof header, file);
  BmpLayout layout;
  Require(ReadBmpLayout(std::string_view(header, got), *size, layout) == BmpStatus::kOk,
          "the loader accepts the written BMP file");
  Require(std::string_view(header, 2) == "BM" && layout.bitsPerPixel == 24 && !layout.topDown,
          "the written BMP file has 24 bits per pixel and bottom-up rows");
  Require(layout.dataOffset + layout.rowStride * static_cast<std::uint64_t>(layout.height) == *size,
          "the written BMP file holds its rows and nothing more");
}

}  // namespace

}  // namespace tovmar::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  __sanitizer_install_malloc_and_free_hooks(tovmar::fuzz::NoteAllocation, tovmar::fuzz::NoteFree);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tovmar;
  using namespace tovmar::fuzz;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const char* extension = kExtensions[size > 0 ? data[0] % std::size(kExtensions) : 0];

  const NamedInputFile source(bytes, extension);
  TemporaryFile bmp;
  Require(bmp.Create(std::filesystem::temp_directory_path(), "fuzz-image-bmp"),
          "a temporary file can be made");
  PictureConverter converter;
  g_largestAllocation = 0;
  const bool converted = converter.ConvertToBmp(source.Path(), bmp.File());
  Require(g_largestAllocation <= kMaxAllocationBytes,
          "no allocation exceeds what a picture at the size limit needs");
  if (converted) CheckWrittenBmp(bmp.File());
  return 0;
}
