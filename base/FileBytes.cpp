#include "base/FileBytes.h"

#include <sys/stat.h>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tovmar {

std::filesystem::path PathFromUtf8(const std::string& utf8Path) {
  return std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
  const std::u8string u8 = path.u8string();
  return std::string(u8.begin(), u8.end());
}

FilePtr OpenFileForReading(const std::string& utf8Path) {
#ifdef _WIN32
  return FilePtr(_wfopen(PathFromUtf8(utf8Path).c_str(), L"rb"));
#else
  // Opened non-blocking so that a pipe without a writer does not hold up the open.
  const int fd = open(PathFromUtf8(utf8Path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  // Then blocking again, so that reads behave as on a file opened the usual way.
  const int flags = fcntl(fd, F_GETFL);
  std::FILE* file = nullptr;
  if (flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0) file = fdopen(fd, "rb");
  if (file == nullptr) close(fd);
  return FilePtr(file);
#endif
}

std::optional<std::uint64_t> RegularFileSize(std::FILE* file) {
#ifdef _WIN32
  struct _stat64 info;
  if (_fstat64(_fileno(file), &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) {
    return std::nullopt;
  }
#else
  struct stat info;
  if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
#endif
  return static_cast<std::uint64_t>(info.st_size);
}

FileReadStatus ReadWholeFile(const std::string& utf8Path, std::string& out,
                             std::uint64_t maxBytes) {
  FilePtr file = OpenFileForReading(utf8Path);
  if (!file) return FileReadStatus::kCannotOpen;

  // The size is only a hint: the file may change while it is read.
  const std::optional<std::uint64_t> hint = RegularFileSize(file.get());
  if (hint && *hint > maxBytes) return FileReadStatus::kTooLarge;

  // Read straight into a buffer of the expected size: one copy, no growing.
  std::string bytes(hint ? static_cast<std::size_t>(*hint) : 0, '\0');
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
