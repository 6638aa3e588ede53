#include "texture/TemporaryFile.h"

#include <system_error>

#include "mesh/FileBytes.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <stdlib.h>
#include <unistd.h>
#endif

namespace tovmar {

bool TemporaryFile::Create(const std::filesystem::path& folder, const std::string& prefix) {
  Remove();
#ifdef _WIN32
  // GetTempFileNameW creates the file with a name that did not exist before.
  wchar_t name[MAX_PATH];
  const std::wstring widePrefix = PathFromUtf8(prefix).native();
  if (GetTempFileNameW(folder.c_str(), widePrefix.c_str(), 0, name) == 0) return false;
  m_path = PathToUtf8(std::filesystem::path(name));
#else
  // mkstemp creates the file exclusively, so the name cannot be taken in between.
  std::string pattern = (folder / PathFromUtf8(prefix + "XXXXXX")).native();
  const int fd = mkstemp(pattern.data());
  if (fd < 0) return false;
  close(fd);
  m_path = PathToUtf8(std::filesystem::path(pattern));
#endif
  return true;
}

void TemporaryFile::Remove() {
  if (m_path.empty()) return;
  std::error_code ec;
  std::filesystem::remove(PathFromUtf8(m_path), ec);
  m_path.clear();
}

}  // namespace tovmar
