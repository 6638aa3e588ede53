// Reading a ".llm" file from disk: the one way every part of the system reads mesh files.
#pragma once

#include <cstdint>
#include <string>

#include "mesh/LlmReadReport.h"
#include "mesh/LlmSections.h"

namespace tovmar {

class LlmMesh;

enum class LlmFileStatus { kRead, kCannotOpen, kNotRegularFile, kTooLarge, kReadError };

// Mesh files hold at most 65535 vertices and real ones stay under a megabyte; a larger file than
// this is not taken for one.
inline constexpr std::uint64_t kMaxMeshFileBytes = std::uint64_t{1} << 30;

// Reads the file at `path` (UTF-8) section by section, straight from the file and no further than
// its sections reach. With kRead, `mesh` is replaced by what the file supplies (its path set to
// `path`) and `report` says what the file lacked; the caller decides with `report.IsMesh()`.
// Otherwise both are untouched: the file cannot be opened, is not a regular file (a folder, pipe
// or device, whose reading could block or never end), is larger than kMaxMeshFileBytes, or a
// read failed. With LlmSections::kDrawing the file is read no further than the joint names: the
// morph section, the bulk of most files, is never read, and the record has no morph targets.
LlmFileStatus ReadLlmFile(const std::string& path, LlmMesh& mesh, LlmReadReport& report,
                          LlmSections sections = LlmSections::kAll);

}  // namespace tovmar
