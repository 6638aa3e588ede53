// A folder of one test's own: "images" for the pictures it writes, and "tmp", which is the
// system's temporary folder (TMPDIR) while the test runs so that leftover files can be counted.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "base/FileBytes.h"
#include "tools/LlmWriter.h"

namespace tovmar {

class TextureTestFolder {
 public:
  TextureTestFolder() {
    if (const char* previous = getenv("TMPDIR")) m_previousTmpdir = previous;
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tovmar-texture-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make " << pattern;
    m_root = pattern;
    std::filesystem::create_directory(m_root / "tmp");
    std::filesystem::create_directory(m_root / "images");
    SetTempFolder(Temp());
  }
  ~TextureTestFolder() {
    if (m_previousTmpdir) {
      setenv("TMPDIR", m_previousTmpdir->c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
    std::error_code ec;
    std::filesystem::permissions(Temp(), std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(m_root, ec);
  }
  TextureTestFolder(const TextureTestFolder&) = delete;
  TextureTestFolder& operator=(const TextureTestFolder&) = delete;

  std::filesystem::path Temp() const { return m_root / "tmp"; }

  // Points TMPDIR at `folder` instead, for as long as this object lives.
  void SetTempFolder(const std::filesystem::path& folder) const {
    setenv("TMPDIR", folder.c_str(), 1);
  }

  // The UTF-8 path of `name` in the images folder.
  std::string ImagePath(const std::string& name) const {
    return PathToUtf8(m_root / "images" / PathFromUtf8(name));
  }

  // Writes `bytes` as `name` in the images folder and returns its UTF-8 path.
  std::string WriteImage(const std::string& name, const std::string& bytes) const {
    const std::string path = ImagePath(name);
    if (!WriteFileBytes(path, bytes)) ADD_FAILURE() << "cannot write " << path;
    return path;
  }

  // Names in the temporary folder that start with "bmp".
  std::vector<std::string> LeftoverBmpFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Temp())) {
      const std::string name = PathToUtf8(entry.path().filename());
      if (name.starts_with("bmp")) names.push_back(name);
    }
    return names;
  }

 private:
  std::filesystem::path m_root;
  std::optional<std::string> m_previousTmpdir;
};

}  // namespace tovmar
