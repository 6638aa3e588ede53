#include "cli/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "cli/CliError.h"

namespace tovmar::cli {

namespace {

std::string ErrnoText() {
  return std::generic_category().message(errno);
}

// Removes the temporary file unless it has been renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : m_path(std::move(path)) {}
  ~TemporaryFile() {
    if (!m_kept) ::unlink(m_path.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::string& Path() const { return m_path; }
  void Keep() { m_kept = true; }

 private:
  std::string m_path;
  bool m_kept = false;
};

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      throw std::system_error(errno, std::generic_category());
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

}  // namespace

void ReplaceFileContents(const std::string& path, std::string_view bytes) {
  // A unique name next to the target, so that the rename stays within one file system.
  std::string name = path + ".tmp-XXXXXX";
  const int fd = ::mkstemp(name.data());
  if (fd < 0) throw CliError("cannot write '" + path + "': " + ErrnoText());
  TemporaryFile temporary(name);

  // mkstemp makes the file private; give it the permissions a new file would have.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);

  try {
    WriteAll(fd, bytes);
    if (::fsync(fd) != 0) throw std::system_error(errno, std::generic_category());
  } catch (const std::system_error& e) {
    ::close(fd);
    throw CliError("cannot write '" + path + "': " + e.code().message());
  }
  if (::close(fd) != 0) throw CliError("cannot write '" + path + "': " + ErrnoText());
  if (std::rename(temporary.Path().c_str(), path.c_str()) != 0) {
    throw CliError("cannot write '" + path + "': " + ErrnoText());
  }
  temporary.Keep();
}

}  // namespace tovmar::cli
