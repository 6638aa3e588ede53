#include "base/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "base/FileBytes.h"
#include "base/SignalCleanup.h"

namespace tovmar {

namespace {

namespace fs = std::filesystem;

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
      // Keeping the group is a courtesy: a file that keeps the user's own group is still right.
      [[maybe_unused]] const int groupKept = ::fchown(fd, static_cast<uid_t>(-1), existing->st_gid);
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

// A regular file with several names, open as `fd`: rewritten in place, so that every name keeps
// seeing it. The signals that end the program wait from before the file grows until it is whole
// again, so that none leaves it half written or padded with the zeros of the reserved room. Room
// for the new contents is reserved before the old ones are touched; without it, the file is
// given back its old size.
void WriteInPlace(const std::string& shown, int fd, const struct stat& existing,
                  std::string_view bytes, SignalCleanup& signals) {
  const HeldSignals held(signals);
  const off_t size = static_cast<off_t>(bytes.size());
  if (size > existing.st_size) {
    const int reserved = ::posix_fallocate(fd, 0, size);
    // A file system that cannot reserve room is written without.
    if (reserved != 0 && reserved != EOPNOTSUPP) {
      // Putting the old size back is the best left to do; the failure below is what is reported.
      [[maybe_unused]] const int truncated = ::ftruncate(fd, existing.st_size);
      Fail(shown, reserved);
    }
  }
  int error = WriteAll(fd, bytes);
  if (error == 0 && ::ftruncate(fd, size) != 0) error = errno;
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (error != 0) Fail(shown, error);
}

// A device or a pipe, open as `fd`: written as it is, as a shell's redirection would.
void WriteDirectly(const std::string& shown, int fd, std::string_view bytes) {
  if (const int error = WriteAll(fd, bytes); error != 0) Fail(shown, error);
}

// An open file, closed when it goes.
class OpenFile {
 public:
  explicit OpenFile(int fd) : m_fd(fd) {}
  ~OpenFile() {
    if (m_fd >= 0) ::close(m_fd);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  int Fd() const { return m_fd; }
  // Closes the file; 0, or the error the system reported.
  int Close() {
    const int fd = std::exchange(m_fd, -1);
    return ::close(fd) == 0 ? 0 : errno;
  }

 private:
  int m_fd;
};

// Opens `path` for writing as a shell's redirection does, without truncating it: the system
// follows symbolic links by its own rules (a link another user left in a shared folder may be
// refused) and refuses a file the user may not write. With `create`, a missing file at the end of
// a link is made, empty.
int OpenForWriting(const fs::path& path, bool create) {
  const int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC | (create ? O_CREAT : 0);
  int fd = -1;
  do {
    fd = ::open(path.c_str(), flags, 0666);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// The name under which the system found the open file `fd`, links and all resolved by it; empty
// when it cannot tell, or when that name no longer leads to the same file.
fs::path NameOfOpenFile(int fd, const struct stat& info) {
  std::error_code ec;
  const fs::path name = fs::read_symlink("/proc/self/fd/" + std::to_string(fd), ec);
  struct stat named {};
  if (ec || !name.is_absolute() || ::stat(name.c_str(), &named) != 0 ||
      named.st_dev != info.st_dev || named.st_ino != info.st_ino) {
    return {};
  }
  return name;
}

}  // namespace

void ReplaceFileContents(const std::string& path, std::string_view bytes) {
  const fs::path given = PathFromUtf8(path);
  SignalCleanup signals;
  int fd = OpenForWriting(given, false);
  bool made = false;
  if (fd < 0) {
    if (errno != ENOENT) Fail(path, errno);
    struct stat link {};
    if (::lstat(given.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
      ReplaceByRename(path, given, bytes, nullptr, signals);
      return;
    }
    // A link to a file that does not exist yet: the system makes it where the link leads.
    fd = OpenForWriting(given, true);
    if (fd < 0) Fail(path, errno);
    made = true;
  }
  OpenFile file(fd);
  struct stat info {};
  if (::fstat(file.Fd(), &info) != 0) Fail(path, errno);
  if (!S_ISREG(info.st_mode)) {
    WriteDirectly(path, file.Fd(), bytes);
  } else if (info.st_nlink > 1) {
    WriteInPlace(path, file.Fd(), info, bytes, signals);
  } else if (const fs::path target = NameOfOpenFile(file.Fd(), info); target.empty()) {
    WriteInPlace(path, file.Fd(), info, bytes, signals);
  } else {
    file.Close();
    try {
      ReplaceByRename(path, target, bytes, made ? nullptr : &info, signals);
    } catch (const FileWriteError&) {
      if (made) ::unlink(target.c_str());
      throw;
    }
    return;
  }
  if (const int error = file.Close(); error != 0) Fail(path, error);
}

}  // namespace tovmar
