// A temporary file with a unique name that no other process can claim first, removed again
// when the object goes.
#pragma once

#include <filesystem>
#include <string>

namespace tovmar {

class TemporaryFile {
 public:
  TemporaryFile() = default;
  ~TemporaryFile() { Remove(); }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Creates an empty file named `prefix` followed by a unique part in `folder`. Returns false
  // when no file can be made there.
  bool Create(const std::filesystem::path& folder, const std::string& prefix);

  // Deletes the file, if there is one.
  void Remove();

  // The file's path as UTF-8; empty when there is no file.
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

}  // namespace tovmar
