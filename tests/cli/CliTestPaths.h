// Where the programs under test were built, and the shared real meshes.
#pragma once

#include <filesystem>
#include <string>

namespace tovmar::test {

inline const std::string kCliPath = TOVMAR_CLI_PATH;

// The path of a real mesh file, or an empty text when the shared folder is absent.
inline std::string RealMeshPath(const std::string& name) {
  const std::filesystem::path path = std::filesystem::path(TOVMAR_REALDATA_DIR) / name;
  return std::filesystem::exists(path) ? path.string() : std::string();
}

}  // namespace tovmar::test
