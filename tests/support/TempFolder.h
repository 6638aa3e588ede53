// A folder of one test's own under the system's temporary folder, removed with everything in
// it when the object goes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "base/FileBytes.h"
#include "tools/LlmWriter.h"

namespace tovmar {

class TempFolder {
 public:
  // The folder's name starts with `prefix`, so that a folder left behind says which test made it.
  explicit TempFolder(const std::string& prefix = "tovmar-test") {
    // create_directory fails when the name exists, so a folder it made belongs to this test.
    std::random_device random;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
      const std::filesystem::path candidate =
          base / (prefix + "-" + std::to_string(random()) + std::to_string(random()));
      std::error_code ec;
      if (std::filesystem::create_directory(candidate, ec)) m_path = candidate;
    }
    if (m_path.empty()) throw std::runtime_error("no temporary folder could be made");
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return m_path; }

  // The UTF-8 path of `relativeUtf8` inside the folder.
  std::string File(const std::string& relativeUtf8) const {
    return PathToUtf8(m_path / PathFromUtf8(relativeUtf8));
  }

  // Writes `bytes` to `relativeUtf8` inside the folder and returns its UTF-8 path.
  std::string Write(const std::string& relativeUtf8, const std::string& bytes) const {
    const std::string path = File(relativeUtf8);
    if (!WriteFileBytes(path, bytes)) ADD_FAILURE() << "cannot write " << path;
    return path;
  }

  // The UTF-8 names of the entries in the folder, sorted.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
      names.push_back(PathToUtf8(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path m_path;
};

}  // namespace tovmar
