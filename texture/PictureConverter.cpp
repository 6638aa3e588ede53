#include "texture/PictureConverter.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string_view>
#include <system_error>

#include "base/FileBytes.h"
#include "mesh/TextureObject.h"
#include "texture/decode/BmpWriterThread.h"
#include "texture/decode/DecodePicture.h"
#include "texture/decode/PictureLimits.h"

namespace tovmar {

namespace {

static_assert(kMaxPictureSide == kMaxTextureSide, "the decoders make what a texture can hold");

// The largest image file decoded: an uncompressed 32-bit picture at the largest size, with room.
constexpr std::uint64_t kMaxSourceBytes =
    std::uint64_t{kMaxPictureSide} * kMaxPictureSide * 4 + (std::uint64_t{1} << 20);

// The first bytes of a file, which hold the declared size of nearly every picture.
constexpr std::size_t kHeadBytes = std::size_t{1} << 16;

bool Convert(const std::string& source, std::FILE* bmpFile) {
  // Only plain files: a device or a pipe could feed a decoder without end.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(PathFromUtf8(source), ec)) return false;
  const FilePtr file = OpenFileForReading(source);
  if (file == nullptr) return false;
  const std::optional<std::uint64_t> length = RegularFileSize(file.get());
  if (!length || *length > kMaxSourceBytes) return false;

  // The bytes go straight into a buffer of the file's length that nothing fills first; a file
  // whose first bytes declare too large a picture is refused before the rest is read.
  const auto size = static_cast<std::size_t>(*length);
  std::unique_ptr<char[]> bytes = std::make_unique_for_overwrite<char[]>(size);
  const std::size_t head = std::min(size, kHeadBytes);
  if (std::fread(bytes.get(), 1, head, file.get()) != head ||
      !MayBeDecodable(std::string_view(bytes.get(), head), size) ||
      std::fread(bytes.get() + head, 1, size - head, file.get()) != size - head) {
    return false;
  }

  // A picture decoded row by row is written while it decodes; the file's bytes go before the rest
  // is written, so that a large picture is not held twice.
  BgrPicture picture;
  BmpWriterThread writer(bmpFile);
  if (!DecodePicture(std::string_view(bytes.get(), size), picture, writer.Reporter())) {
    return false;
  }
  bytes.reset();
  return writer.Finish(picture);
}

}  // namespace

bool PictureConverter::ConvertToBmp(const std::string& source, std::FILE* bmpFile) {
  try {
    return Convert(source, bmpFile);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace tovmar
