// What every fuzz target shares: messages that go nowhere, and a check that turns a broken
// promise of the code under test into a crash that libFuzzer reports and saves.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

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

}  // namespace tovmar::fuzz
