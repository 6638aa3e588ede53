#include "cli/ReadMeshFile.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "base/FileBytes.h"
#include "cli/CliError.h"
#include "cli/StandardInput.h"
#include "mesh/LlmFile.h"

namespace tovmar::cli {

InspectedMeshFile InspectMeshFile(const std::string& path, LlmSections sections) {
  InspectedMeshFile file;
  if (path == kStandardInput) {
    // A stream cannot be read section by section: it is taken whole, as large as a file may be.
    file.mesh.path = path;
    file.report = file.mesh.LoadFromMemory(ReadStandardInput(kMaxMeshFileBytes));
    return file;
  }
  // The reader tells only that a file cannot be opened or is not a regular one; say why.
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(PathFromUtf8(path), ec);
  if (!std::filesystem::exists(status)) throw CliError("cannot open '" + path + "': no such file");
  if (std::filesystem::is_directory(status)) {
    throw CliError("cannot open '" + path + "': it is a folder");
  }

  switch (ReadLlmFile(path, file.mesh, file.report, sections)) {
    case LlmFileStatus::kRead:
      return file;
    case LlmFileStatus::kCannotOpen:
      throw CliError("cannot open '" + path + "'");
    case LlmFileStatus::kNotRegularFile:
      throw CliError("cannot open '" + path + "': not a regular file");
    case LlmFileStatus::kTooLarge:
      throw CliError("'" + path + "' is too large for a mesh file");
    case LlmFileStatus::kReadError:
      break;
  }
  throw CliError("cannot read '" + path + "'");
}

LlmMesh ReadMeshFile(const std::string& path, LlmSections sections) {
  InspectedMeshFile file = InspectMeshFile(path, sections);
  if (!file.report.IsMesh()) {
    throw CliError("'" + path + "' is not a mesh: " + DescribeNotAMesh(file.report, file.mesh));
  }
  return std::move(file.mesh);
}

}  // namespace tovmar::cli
