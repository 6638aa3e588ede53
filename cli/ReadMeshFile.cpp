#include "cli/ReadMeshFile.h"

#include <filesystem>
#include <system_error>

#include "base/FileBytes.h"
#include "cli/CliError.h"

namespace tovmar::cli {

namespace {
// The largest file taken for a mesh; real ones are well under a megabyte.
constexpr std::uint64_t kMaxMeshFileBytes = 1ull << 30;
}  // namespace

LlmMesh ReadMeshFile(const std::string& path) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(PathFromUtf8(path), ec);
  if (!std::filesystem::exists(status)) throw CliError("cannot open '" + path + "': no such file");
  if (std::filesystem::is_directory(status)) {
    throw CliError("cannot open '" + path + "': it is a folder");
  }
  // Pipes and devices could block or never end.
  if (!std::filesystem::is_regular_file(status)) {
    throw CliError("cannot open '" + path + "': not a regular file");
  }

  // The bytes are read once and parsed from memory, so what was checked is what is parsed.
  std::string bytes;
  switch (ReadWholeFile(path, bytes, kMaxMeshFileBytes)) {
    case FileReadStatus::kOk:
      break;
    case FileReadStatus::kCannotOpen:
      throw CliError("cannot open '" + path + "'");
    case FileReadStatus::kReadError:
      throw CliError("cannot read '" + path + "'");
    case FileReadStatus::kTooLarge:
      throw CliError("'" + path + "' is too large for a mesh file");
  }
  LlmMesh mesh;
  mesh.path = path;
  mesh.LoadFromMemory(bytes);
  return mesh;
}

}  // namespace tovmar::cli
