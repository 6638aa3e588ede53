#include "texture/TemporaryFile.h"

#include <cstdint>

#include "base/FileBytes.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#endif

namespace tovmar {

namespace {

#ifdef _WIN32
// GetTempFileNameW makes the file with a name that did not exist before; it is opened again, to
// be deleted when this handle closes and shared with nobody else for reading or writing.
std::FILE* OpenTemporaryFile(const std::filesystem::path& folder, const std::string& prefix) {
  wchar_t name[MAX_PATH];
  const std::wstring widePrefix = PathFromUtf8(prefix).native();
  if (GetTempFileNameW(folder.c_str(), widePrefix.c_str(), 0, name) == 0) return nullptr;
  const HANDLE handle =
      CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    DeleteFileW(name);
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, "w+b");
  if (file == nullptr) _close(fd);
  return file;
}
#else
// An unnamed file where the system and the folder's file system allow it (O_TMPFILE); otherwise
// mkstemp makes the name exclusively, and it is removed before anything is written.
int CreateDescriptor(const std::filesystem::path& folder, const std::string& prefix) {
#ifdef O_TMPFILE
  const int unnamed = open(folder.c_str(), O_TMPFILE | O_RDWR | O_EXCL | O_CLOEXEC, 0600);
  if (unnamed >= 0) return unnamed;
#endif
  std::string pattern = (folder / PathFromUtf8(prefix + "XXXXXX")).native();
  const int fd = mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) return -1;
  if (unlink(pattern.c_str()) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

std::FILE* OpenTemporaryFile(const std::filesystem::path& folder, const std::string& prefix) {
  const int fd = CreateDescriptor(folder, prefix);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "w+b");
  if (file == nullptr) close(fd);
  return file;
}
#endif

}  // namespace

bool TemporaryFile::Create(const std::filesystem::path& folder, const std::string& prefix) {
  Close();
  m_file = OpenTemporaryFile(folder, prefix);
  return m_file != nullptr;
}

void TemporaryFile::Close() {
  if (m_file == nullptr) return;
  std::fclose(m_file);
  m_file = nullptr;
}

}  // namespace tovmar
