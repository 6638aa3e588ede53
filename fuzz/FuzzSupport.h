// What every fuzz target shares: messages that go nowhere, a check that turns a broken
// promise of the code under test into a crash that libFuzzer reports and saves, and input files
// for readers that open files by name.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "base/MessageSink.h"

namespace tovmar::fuzz {

// Message boxes are part of normal behaviour on bad input; printing each would only slow the
// run down.
class DiscardingSink : public MessageSink {
 public:
  void Show(const std::string&) override {}
};

// Installs a DiscardingSink for the life of the process.
inline void DiscardMessages() {
  static DiscardingSink sink;
  InstallMessageSink(&sink);
}

// Aborts with `what` when `condition` does not hold.
inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

// Writes `bytes` into the new, empty file at `path` without truncating it first: a file truncated
// and written again is flushed to disk when closed, which would make every input wait for the disk.
inline void FillNewFile(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "r+b");
  Require(file != nullptr, "the temporary file can be opened");
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  Require(std::fclose(file) == 0 && written, "the temporary file can be written");
}

// A file holding `bytes` under a unique name in the temporary folder, ending in `extension`, for
// readers that open a file by its name (and some that go by its extension); removed when the
// object goes.
class NamedInputFile {
 public:
  explicit NamedInputFile(std::string_view bytes, std::string_view extension = {}) {
    std::string pattern = (std::filesystem::temp_directory_path() / "fuzz-inputXXXXXX").string() +
                          std::string(extension);
    const int fd = mkstemps(pattern.data(), static_cast<int>(extension.size()));
    Require(fd >= 0, "a temporary file can be made");
    close(fd);
    m_path = pattern;
    FillNewFile(m_path, bytes);
  }
  ~NamedInputFile() {
    std::error_code ec;
    std::filesystem::remove(m_path, ec);
  }
  NamedInputFile(const NamedInputFile&) = delete;
  NamedInputFile& operator=(const NamedInputFile&) = delete;

  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

}  // namespace tovmar::fuzz
