// A temporary file held open by one handle from its creation to its end, without a name that
// outlives its creation: nothing is left behind whatever ends the process, and nobody can put
// another file in its place between writing it and reading it back.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace tovmar {

class TemporaryFile {
 public:
  TemporaryFile() = default;
  ~TemporaryFile() { Close(); }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Creates an empty file for reading and writing in `folder`: unnamed where the system allows,
  // otherwise named `prefix` followed by a unique part and unnamed again at once (on Windows,
  // removed when closed). Returns false when no file can be made there.
  bool Create(const std::filesystem::path& folder, const std::string& prefix);

  // Closes the file, which then goes; nothing happens when there is none.
  void Close();

  // The open file, or nullptr when there is none.
  std::FILE* File() const { return m_file; }

 private:
  std::FILE* m_file = nullptr;
};

}  // namespace tovmar
