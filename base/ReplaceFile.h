// Writing a file so that it is either complete or untouched.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tovmar {

// Why a file could not be written: "cannot write '<path>': <the system's reason>".
class FileWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes `bytes` to the file at `path` (UTF-8) and throws FileWriteError when it cannot.
// - A regular file, new or existing, is written whole under a temporary name in its folder,
//   flushed to disk and renamed into place, so that it is either complete or as it was. An
//   existing file keeps its permissions (and its owner and group where the system allows).
// - A symbolic link is followed: the file it leads to is replaced, and the link stays.
// - A regular file with more than one name (a hard link) is rewritten in place, so that every
//   name sees the new contents: room for them is reserved first, and the signals that end the
//   program wait until they are written.
// - A device or a pipe is written directly.
// SIGINT, SIGTERM and SIGHUP remove the temporary file before they end the program. Several
// threads may write files at the same time.
void ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace tovmar
