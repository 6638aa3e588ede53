// Where the programs under test were built, and the shared real meshes.
#pragma once

#include <filesystem>
#include <string>

namespace tovmar::test {

// tovmar-cli, the launcher, and the full program it hands runs to.
inline const std::string kCliPath = TOVMAR_CLI_PATH;
inline const std::string kCliFullPath = TOVMAR_CLI_FULL_PATH;

// The path of a real mesh file, or an empty text when the shared folder is absent.
inline std::string RealMeshPath(const std::string& name) {
  const std::filesystem::path path = std::filesystem::path(TOVMAR_REALDATA_DIR) / name;
  return std::filesystem::exists(path) ? path.string() : std::string();
}

}  // namespace tovmar::test
