#include "texture/PictureConverter.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <new>
#include <optional>
#include <string_view>
#include <system_error>

#include "mesh/FileBytes.h"
#include "mesh/TextureObject.h"
#include "texture/decode/BmpWriter.h"
#include "texture/decode/DecodePicture.h"
#include "texture/decode/PictureLimits.h"

namespace tovmar {

namespace {

static_assert(kMaxPictureSide == kMaxTextureSide, "the decoders make what a texture can hold");

// The largest image file decoded: an uncompressed 32-bit picture at the largest size, with room.
constexpr std::uint64_t kMaxSourceBytes =
    std::uint64_t{kMaxPictureSide} * kMaxPictureSide * 4 + (std::uint64_t{1} << 20);

// The first bytes of a file, which hold the declared size of nearly every picture: a file that
// declares too large a picture there is refused before the rest is read.
constexpr std::size_t kHeadBytes = std::size_t{1} << 16;

// Appends up to `count` bytes from the current position of `file` to `bytes`, read straight into
// their place.
void AppendUpTo(std::FILE* file, std::size_t count, std::string& bytes) {
  const std::size_t had = bytes.size();
  bytes.resize(had + count);
  bytes.resize(had + std::fread(bytes.data() + had, 1, count, file));
}

bool Convert(const std::string& source, std::FILE* bmpFile) {
  // Only plain files: a device or a pipe could feed a decoder without end.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(PathFromUtf8(source), ec)) return false;
  const FilePtr file = OpenFileForReading(source);
  if (file == nullptr) return false;
  const std::optional<std::uint64_t> length = RegularFileSize(file.get());
  if (!length || *length > kMaxSourceBytes) return false;

  std::string bytes;
  AppendUpTo(file.get(), static_cast<std::size_t>(std::min<std::uint64_t>(*length, kHeadBytes)),
             bytes);
  if (!MayBeDecodable(bytes, *length)) return false;
  AppendUpTo(file.get(), static_cast<std::size_t>(*length - bytes.size()), bytes);
  if (bytes.size() != *length) return false;

  // The file's bytes go before the picture is written, so that a large picture is not held
  // twice.
  BgrPicture picture;
  if (!DecodePicture(bytes, picture)) return false;
  std::string().swap(bytes);
  return WriteBmp24(bmpFile, picture);
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
