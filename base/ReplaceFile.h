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
// - The file is opened for writing first, as a shell's redirection opens it: a file the user may
//   not write is refused, and symbolic links are followed by the system's own rules, so that a
//   link another user left in a shared folder is refused where the system refuses it. A link
//   stays a link: the file it leads to is written, made where it is missing.
// - A regular file, new or existing, is written whole under a temporary name in its folder,
//   flushed to disk and renamed into place, so that it is either complete or as it was. An
//   existing file keeps its permissions (and its owner and group where the system allows).
// - A regular file with more than one name (a hard link) is rewritten in place, so that every
//   name sees the new contents: the signals that end the program wait from before room for the
//   new contents is reserved until they are written.
// - A device or a pipe is written directly.
// Every signal that ends the program and may be caught (SIGINT, SIGTERM, SIGHUP, SIGQUIT,
// SIGUSR1, SIGALRM, SIGPIPE and the others) removes the temporary file before it ends the
// program. Several threads may write files at the same time.
void ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace tovmar
