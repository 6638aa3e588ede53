#include "mesh/FileBytes.h"

#include <cstdio>
#include <memory>

namespace tovmar {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr OpenForReading(const std::filesystem::path& path) {
#ifdef _WIN32
  return FilePtr(_wfopen(path.c_str(), L"rb"));
#else
  return FilePtr(std::fopen(path.c_str(), "rb"));
#endif
}

}  // namespace

std::filesystem::path PathFromUtf8(const std::string& utf8Path) {
  return std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
  const std::u8string u8 = path.u8string();
  return std::string(u8.begin(), u8.end());
}

FileReadStatus ReadWholeFile(const std::string& utf8Path, std::string& out,
                             std::uint64_t maxBytes) {
  FilePtr file = OpenForReading(PathFromUtf8(utf8Path));
  if (!file) return FileReadStatus::kCannotOpen;

  // The size is only a hint: the file may change while it is read.
  std::error_code ec;
  const std::uintmax_t hint = std::filesystem::file_size(PathFromUtf8(utf8Path), ec);
  if (!ec && hint > maxBytes) return FileReadStatus::kTooLarge;

  // Read straight into a buffer of the expected size: one copy, no growing.
  std::string bytes(ec ? 0 : static_cast<std::size_t>(hint), '\0');
  if (!bytes.empty()) bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));

  // Whatever lies past the expected size (a grown file, or one whose size was unknown).
  if (!std::feof(file.get()) && !std::ferror(file.get())) {
    char chunk[64 * 1024];
    for (;;) {
      const std::size_t n = std::fread(chunk, 1, sizeof chunk, file.get());
      if (bytes.size() + n > maxBytes) return FileReadStatus::kTooLarge;
      bytes.append(chunk, n);
      if (n < sizeof chunk) break;
    }
  }
  if (std::ferror(file.get())) return FileReadStatus::kReadError;
  out = std::move(bytes);
  return FileReadStatus::kOk;
}

}  // namespace tovmar
