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
#include "tests/support/TempFolder.h"
#include "tools/LlmWriter.h"

namespace tovmar {

class TextureTestFolder {
 public:
  TextureTestFolder() {
    if (const char* previous = getenv("TMPDIR")) m_previousTmpdir = previous;
    std::filesystem::create_directory(m_root.Path() / "tmp");
    std::filesystem::create_directory(m_root.Path() / "images");
    SetTempFolder(Temp());
  }
  ~TextureTestFolder() {
    if (m_previousTmpdir) {
      setenv("TMPDIR", m_previousTmpdir->c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
    // A test may have taken away the right to write into "tmp"; the folder is removed whole.
    std::error_code ec;
    std::filesystem::permissions(Temp(), std::filesystem::perms::owner_all, ec);
  }
  TextureTestFolder(const TextureTestFolder&) = delete;
  TextureTestFolder& operator=(const TextureTestFolder&) = delete;

  std::filesystem::path Temp() const { return m_root.Path() / "tmp"; }

  // Points TMPDIR at `folder` instead, for as long as this object lives.
  void SetTempFolder(const std::filesystem::path& folder) const {
    setenv("TMPDIR", folder.c_str(), 1);
  }

  // The UTF-8 path of `name` in the images folder.
  std::string ImagePath(const std::string& name) const {
    return PathToUtf8(m_root.Path() / "images" / PathFromUtf8(name));
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
  TempFolder m_root{"tovmar-texture-test"};
  std::optional<std::string> m_previousTmpdir;
};

}  // namespace tovmar
