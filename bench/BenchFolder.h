// A folder of a benchmark's own under the temporary folder, removed with its files when the
// object goes away.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace tovmar::bench {

class BenchFolder {
 public:
  // `name` becomes the start of the folder's unique name.
  explicit BenchFolder(const std::string& name) {
    std::string pattern = (std::filesystem::temp_directory_path() / (name + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) != nullptr) m_path = pattern;
  }
  ~BenchFolder() {
    std::error_code ec;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  // Empty when the folder could not be made.
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

}  // namespace tovmar::bench
