#include "base/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "base/FileBytes.h"
#include "base/SignalCleanup.h"

namespace tovmar {

namespace {

namespace fs = std::filesystem;

// Links followed before the path counts as a loop, as the system counts them.
constexpr int kMaxLinks = 40;
// What the temporary file's name adds to the target's.
constexpr std::string_view kTemporarySuffix = ".tmp-XXXXXX";

[[noreturn]] void Fail(const std::string& shown, int error) {
  throw FileWriteError("cannot write '" + shown + "': " + std::generic_category().message(error));
}

// Writes all of `bytes` at the file's position; 0, or the error that stopped it.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

// The file that `path` leads to, symbolic links followed (a relative one from its own folder).
// The last one may name a file that does not exist yet.
fs::path FollowLinks(fs::path path, const std::string& shown) {
  for (int hop = 0; hop < kMaxLinks; ++hop) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    const fs::path target = fs::read_symlink(path, ec);
    if (ec) Fail(shown, ec.value());
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  Fail(shown, ELOOP);
}

// The folder of `path` for the system calls: "." for a bare file name.
fs::path FolderOf(const fs::path& path) {
  return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

// A name for the temporary file beside `target`: as much of the target's name as leaves room for
// the suffix within the folder's longest name, cut at a character's boundary.
std::string TemporaryPath(const fs::path& target) {
  const fs::path folder = FolderOf(target);
  const long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  const std::size_t longest = nameMax > 0 ? static_cast<std::size_t>(nameMax) : 255;
  std::string name = PathToUtf8(target.filename());
  std::size_t keep = longest > kTemporarySuffix.size() ? longest - kTemporarySuffix.size() : 0;
  if (name.size() > keep) {
    while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
    name.resize(keep);
  }
  return PathToUtf8(folder / PathFromUtf8(name + std::string(kTemporarySuffix)));
}

// The temporary file, removed when it goes unless it was renamed into place, and also when one
// of the signals that end the program arrives first.
class TemporaryFile {
 public:
  TemporaryFile(const fs::path& target, SignalCleanup& signals)
      : m_signals(signals), m_path(TemporaryPath(target)) {
    // Held, so that no signal comes between the file's making and its cleanup being set.
    const HeldSignals held(m_signals);
    m_fd = ::mkstemp(m_path.data());
    if (m_fd < 0) {
      m_error = errno;
      return;
    }
    m_named = true;
    m_signals.SetFileToRemove(m_path.c_str());
  }
  ~TemporaryFile() {
    if (m_fd >= 0) ::close(m_fd);
    const HeldSignals held(m_signals);
    if (m_named) ::unlink(m_path.c_str());
    m_signals.SetFileToRemove(nullptr);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int Fd() const { return m_fd; }
  // Why the file could not be made; 0 when it was.
  int Error() const { return m_error; }

  // Closes the file; 0, or the error the system reported.
  int Close() {
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0 ? 0 : errno;
  }

  // Renames the file to `target`, with the signals held so that none removes it half-way.
  int RenameTo(const fs::path& target) {
    const HeldSignals held(m_signals);
    if (::rename(m_path.c_str(), target.c_str()) != 0) return errno;
    m_named = false;
    m_signals.SetFileToRemove(nullptr);
    return 0;
  }

 private:
  SignalCleanup& m_signals;
  std::string m_path;
  int m_fd = -1;
  int m_error = 0;
  bool m_named = false;
};

// The process's file mode mask. Reading it means setting it, so it is read once: threads that
// write files at the same time would otherwise see each other's temporary mask, and could leave
// it set.
mode_t ProcessUmask() {
  static const mode_t mask = [] {
    const mode_t read = ::umask(0);
    ::umask(read);
    return read;
  }();
  return mask;
}

// Flushes the folder, so that the rename too survives a crash.
void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A new file, or one with a single name: written whole beside it, then renamed over it.
void ReplaceByRename(const std::string& shown, const fs::path& target, std::string_view bytes,
                     const struct stat* existing, SignalCleanup& signals) {
  TemporaryFile temporary(target, signals);
  if (temporary.Error() != 0) Fail(shown, temporary.Error());
  const int fd = temporary.Fd();
  if (existing != nullptr) {
    // The owner first: changing it may clear permission bits. Only root may give a file away;
    // the group is kept where the user belongs to it.
    if (::fchown(fd, existing->st_uid, existing->st_gid) != 0) {
      static_cast<void>(::fchown(fd, static_cast<uid_t>(-1), existing->st_gid));
    }
    ::fchmod(fd, existing->st_mode & 0777);
  } else {
    // mkstemp makes the file private; give it the permissions a new file would have.
    ::fchmod(fd, 0666 & ~ProcessUmask());
  }

  int error = WriteAll(fd, bytes);
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  const int closeError = temporary.Close();
  if (error == 0) error = closeError;
  if (error == 0) error = temporary.RenameTo(target);
  if (error != 0) Fail(shown, error);
  SyncFolder(FolderOf(target));
}

// A regular file with several names: rewritten in place, so that every name keeps seeing it.
// Room for the new contents is reserved before the old ones are touched, and the signals that end
// the program wait until the file is whole again.
void WriteInPlace(const std::string& shown, const fs::path& target, std::string_view bytes,
                  SignalCleanup& signals) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) Fail(shown, errno);
  int error = 0;
  if (!bytes.empty()) {
    error = ::posix_fallocate(fd, 0, static_cast<off_t>(bytes.size()));
    // A file system that cannot reserve room is written without.
    if (error == EOPNOTSUPP) error = 0;
  }
  if (error == 0) {
    const HeldSignals held(signals);
    error = WriteAll(fd, bytes);
    if (error == 0 && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) error = errno;
    if (error == 0 && ::fsync(fd) != 0) error = errno;
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) Fail(shown, error);
}

// A device or a pipe: written as it is, as a shell's redirection would.
void WriteDirectly(const std::string& shown, const fs::path& target, std::string_view bytes) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) Fail(shown, errno);
  int error = WriteAll(fd, bytes);
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) Fail(shown, error);
}

}  // namespace

void ReplaceFileContents(const std::string& path, std::string_view bytes) {
  const fs::path target = FollowLinks(PathFromUtf8(path), path);
  SignalCleanup signals;
  struct stat info {};
  if (::stat(target.c_str(), &info) != 0) {
    if (errno != ENOENT) Fail(path, errno);
    ReplaceByRename(path, target, bytes, nullptr, signals);
  } else if (S_ISDIR(info.st_mode)) {
    Fail(path, EISDIR);
  } else if (!S_ISREG(info.st_mode)) {
    WriteDirectly(path, target, bytes);
  } else if (info.st_nlink > 1) {
    WriteInPlace(path, target, bytes, signals);
  } else {
    ReplaceByRename(path, target, bytes, &info, signals);
  }
}

}  // namespace tovmar
