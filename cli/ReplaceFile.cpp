#include "cli/ReplaceFile.h"

#include <cstdio>

namespace tovmar::cli {

void WriteOutput(const std::string& path, std::string_view bytes) {
  if (path == kStandardOutput) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return;
  }
  ReplaceFileContents(path, bytes);
}

}  // namespace tovmar::cli
