// Loading a texture object from an image file: the image converter writes the picture as a BMP
// file in the temporary folder, which is read back into R, G, B, 0 pixels and deleted.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "mesh/FileBytes.h"
#include "mesh/MessageSink.h"
#include "mesh/TextureObject.h"
#include "texture/BmpReader.h"
#include "texture/ImageConverter.h"
#include "texture/TemporaryFile.h"

namespace tovmar {

namespace {

constexpr const char* kNoTempFolder = "テンポラリファイルパスが見つかりません";
constexpr const char* kNoTempFile = "テンポラリファイルが作成できませんでした。";
constexpr const char* kCannotDecode = "D3DXCreateTextureFromFile error";
constexpr const char* kUnreadable = "指定ファイルが読み込めませんでした。";
constexpr const char* kTooLarge = "画像が大きすぎます。";
constexpr const char* kNoMemory = "メモリが確保できませんでした。";

// Rows are read from the file in blocks of about this size and converted as they arrive, so
// that the file never has to be held in memory whole.
constexpr std::uint64_t kBlockBytes = std::uint64_t{1} << 20;

// Reads the BMP file at `path` into the pixels of `texture`. Returns the message to show, or
// nullptr when the pixels were filled.
const char* ReadBmpFile(const std::string& path, TextureObject& texture) {
  std::ifstream file(PathFromUtf8(path), std::ios::binary);
  std::error_code ec;
  const std::uintmax_t fileSize = std::filesystem::file_size(PathFromUtf8(path), ec);
  if (!file || ec) return kUnreadable;

  // The header, checked against the file's length before anything is allocated.
  char header[kBmpHeaderBytes];
  file.read(header, sizeof header);
  BmpLayout layout;
  switch (ReadBmpLayout(std::string_view(header, static_cast<std::size_t>(file.gcount())), fileSize,
                        layout)) {
    case BmpStatus::kOk:
      break;
    case BmpStatus::kTooLarge:
      return kTooLarge;
    case BmpStatus::kTruncated:
    case BmpStatus::kEmpty:
      return kUnreadable;
  }
  if (!texture.AllocatePixels(layout.width, layout.height)) return kNoMemory;
  if (layout.rowBytes == 0) return nullptr;

  // The rows in file order, a block at a time; the last row of the file needs no padding.
  const auto rowsPerBlock = static_cast<std::int32_t>(std::clamp<std::uint64_t>(
      kBlockBytes / layout.rowStride, 1, static_cast<std::uint64_t>(layout.height)));
  std::vector<std::uint8_t> block(static_cast<std::size_t>(layout.rowStride) * rowsPerBlock);
  file.seekg(static_cast<std::streamoff>(layout.dataOffset));
  for (std::int32_t row = 0; row < layout.height; row += rowsPerBlock) {
    const std::int32_t rows = std::min(rowsPerBlock, layout.height - row);
    const bool last = row + rows == layout.height;
    const std::uint64_t want = layout.rowStride * static_cast<std::uint64_t>(rows - 1) +
                               (last ? layout.rowBytes : layout.rowStride);
    file.read(reinterpret_cast<char*>(block.data()), static_cast<std::streamsize>(want));
    if (static_cast<std::uint64_t>(file.gcount()) != want) return kUnreadable;
    ConvertBmpRows(block.data(), row, rows, layout, texture.pixels.data());
  }
  return nullptr;
}

}  // namespace

bool TextureObject::ConvertToBmp(const std::string& sourcePathToConvert,
                                 const std::string& tempPath) {
  ImageConverter* converter = InstalledImageConverter();
  if (converter == nullptr || !converter->ConvertToBmp(sourcePathToConvert, tempPath)) {
    ShowMessage(kCannotDecode);
    return false;
  }
  return true;
}

bool TextureObject::Load(const std::string& sourcePathToLoad) {
  ReleaseContents();
  const std::int32_t previousWidth = width;
  const std::int32_t previousHeight = height;

  // The temporary folder and a new empty file in it, removed again on every path.
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
  if (!ConvertToBmp(sourcePathToLoad, temp.Path())) return false;
  const char* failure = nullptr;
  try {
    failure = ReadBmpFile(temp.Path(), *this);
  } catch (const std::bad_alloc&) {
    failure = kNoMemory;
  }
  temp.Remove();
  if (failure != nullptr) {
    pixels = {};
    width = previousWidth;
    height = previousHeight;
    ShowMessage(failure);
    return false;
  }
  sourcePath = sourcePathToLoad;
  return true;
}

}  // namespace tovmar
