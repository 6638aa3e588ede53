// Loading a texture object from an image file: the image converter writes the picture as a BMP
// file in the temporary folder, which is read back into R, G, B, 0 pixels through the same open
// handle. The file has no name from its creation on, so it goes with that handle.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "base/FileBytes.h"
#include "base/MessageSink.h"
#include "mesh/TextureObject.h"
#include "texture/ImageConverter.h"
#include "texture/MappedFile.h"
#include "texture/TemporaryBmpReader.h"
#include "texture/TemporaryFile.h"

namespace tovmar {

namespace {

constexpr const char* kNoTempFolder = "テンポラリファイルパスが見つかりません";
constexpr const char* kNoTempFile = "テンポラリファイルが作成できませんでした。";
constexpr const char* kCannotDecode = "D3DXCreateTextureFromFile error";
constexpr const char* kUnreadable = "指定ファイルが読み込めませんでした。";
constexpr const char* kTooLarge = "画像が大きすぎます。";
constexpr const char* kNoMemory = "メモリが確保できませんでした。";

// Where the file cannot be mapped, rows are read from it in blocks of about this size and
// converted as they arrive, so that the file never has to be held in memory whole.
constexpr std::uint64_t kBlockBytes = std::uint64_t{1} << 20;

// Pictures of at least this many pixels are converted by two threads.
constexpr std::uint64_t kSharedConversionPixels = std::uint64_t{1} << 19;

// Converts every row of a file mapped whole. For a large picture a second thread converts the
// upper half of the rows while this one converts the lower: the conversion, with the first touch
// of the pixels' and the mapped file's pages, is most of what reading the file back costs.
void ConvertMappedRows(const std::uint8_t* rows, const BmpLayout& layout, std::uint8_t* pixels) {
  const std::int32_t half = layout.height / 2;
  const std::uint64_t pixelCount =
      static_cast<std::uint64_t>(layout.width) * static_cast<std::uint64_t>(layout.height);
  std::thread upper;
  if (pixelCount >= kSharedConversionPixels && std::thread::hardware_concurrency() > 1) {
    try {
      upper =
          std::thread(ConvertBmpRows, rows + layout.rowStride * static_cast<std::uint64_t>(half),
                      half, layout.height - half, std::cref(layout), pixels);
    } catch (const std::system_error&) {
      // No thread to be had: this one converts every row.
    }
  }
  ConvertBmpRows(rows, 0, upper.joinable() ? half : layout.height, layout, pixels);
  if (upper.joinable()) upper.join();
}

// Converts the rows of the BMP file `file`, `fileSize` bytes long, into `pixels`, which hold the
// whole picture of `layout`. Returns the message to show, or nullptr when every row was
// converted.
const char* ReadBmpRows(std::FILE* file, std::uint64_t fileSize, const BmpLayout& layout,
                        std::uint8_t* pixels) {
  // The rows where the file lies in memory, when it can be mapped.
  const MappedFile mapped(file, fileSize);
  if (mapped.Data() != nullptr) {
    ConvertMappedRows(mapped.Data() + layout.dataOffset, layout, pixels);
    return nullptr;
  }

  // The rows in file order, a block at a time; the last row of the file needs no padding.
  const auto rowsPerBlock = static_cast<std::int32_t>(std::clamp<std::uint64_t>(
      kBlockBytes / layout.rowStride, 1, static_cast<std::uint64_t>(layout.height)));
  std::vector<std::uint8_t> block(static_cast<std::size_t>(layout.rowStride) * rowsPerBlock);
  if (std::fseek(file, static_cast<long>(layout.dataOffset), SEEK_SET) != 0) return kUnreadable;
  for (std::int32_t row = 0; row < layout.height; row += rowsPerBlock) {
    const std::int32_t rows = std::min(rowsPerBlock, layout.height - row);
    const bool last = row + rows == layout.height;
    const std::uint64_t want = layout.rowStride * static_cast<std::uint64_t>(rows - 1) +
                               (last ? layout.rowBytes : layout.rowStride);
    if (std::fread(block.data(), 1, static_cast<std::size_t>(want), file) != want) {
      return kUnreadable;
    }
    ConvertBmpRows(block.data(), row, rows, layout, pixels);
  }
  return nullptr;
}

// Reads the BMP file that `file` holds, from its start, as the picture of `texture`. Returns the
// message to show, or nullptr when the texture took the picture.
const char* ReadBmpFile(std::FILE* file, TextureObject& texture) {
  // What the converter wrote may still wait in the handle's buffer.
  if (std::fflush(file) != 0) return kUnreadable;
  const std::optional<std::uint64_t> fileSize = RegularFileSize(file);
  if (!fileSize || std::fseek(file, 0, SEEK_SET) != 0) return kUnreadable;

  // The header, checked against the file's length before anything is allocated.
  char header[kBmpHeaderBytes];
  const std::size_t got = std::fread(header, 1, sizeof header, file);
  BmpLayout layout;
  switch (ReadBmpLayout(std::string_view(header, got), *fileSize, layout)) {
    case BmpStatus::kOk:
      break;
    case BmpStatus::kTooLarge:
      return kTooLarge;
    case BmpStatus::kTruncated:
    case BmpStatus::kEmpty:
      return kUnreadable;
  }
  // Every pixel of a converted row is written, so the pixels are not filled first; rows of no
  // bytes in the file leave black, transparent pixels.
  const std::size_t bytes = std::size_t{4} * static_cast<std::size_t>(layout.width) *
                            static_cast<std::size_t>(layout.height);
  PixelBuffer pixels = layout.rowBytes != 0 ? PixelBuffer(bytes) : PixelBuffer(bytes, 0);
  if (layout.rowBytes != 0) {
    const char* failure = ReadBmpRows(file, *fileSize, layout, pixels.data());
    if (failure != nullptr) return failure;
  }
  return texture.SetPicture(std::move(pixels), layout.width, layout.height) ? nullptr : kNoMemory;
}

}  // namespace

bool TextureObject::ConvertToBmp(const std::string& sourcePathToConvert, std::FILE* tempFile) {
  ImageConverter* converter = InstalledImageConverter();
  if (converter == nullptr || !converter->ConvertToBmp(sourcePathToConvert, tempFile)) {
    ShowMessage(kCannotDecode);
    return false;
  }
  return true;
}

bool TextureObject::Load(const std::string& sourcePathToLoad) {
  ReleaseContents();

  // The temporary folder and a new empty file in it, which goes when it is closed.
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  if (ec || folder.empty()) {
    ShowMessage(kNoTempFolder);
    return false;
  }
  TemporaryFile temp;
  if (!temp.Create(folder, "bmp")) {
    ShowMessage(kNoTempFile);
    return false;
  }

  // The picture as a BMP file, read back into the pixels; the file is not needed after that.
  if (!ConvertToBmp(sourcePathToLoad, temp.File())) return false;
  const char* failure = nullptr;
  try {
    failure = ReadBmpFile(temp.File(), *this);
  } catch (const std::bad_alloc&) {
    failure = kNoMemory;
  }
  temp.Close();
  // A failed read leaves the object as ReleaseContents left it: no pixels, the size kept.
  if (failure != nullptr) {
    ShowMessage(failure);
    return false;
  }
  sourcePath = sourcePathToLoad;
  return true;
}

}  // namespace tovmar
