// Reading a mesh file for a command, with the failures the mesh reader keeps silent reported.
#pragma once

#include <string>

#include "mesh/LlmMesh.h"
#include "mesh/LlmReadReport.h"
#include "mesh/LlmSections.h"

namespace tovmar::cli {

// A mesh file as read, whether or not it is a mesh, and what it lacked.
struct InspectedMeshFile {
  LlmMesh mesh;
  LlmReadReport report;
};

// Whatever the ".llm" file at `path` (UTF-8) supplies, its path set to `path`; "-" reads standard
// input (see ReadStandardInput). Throws CliError when the file is missing, is not a regular file (a
// folder, a pipe, a device), cannot be opened or read, or is far too large for a mesh file.
// `sections` says how far the file is read.
InspectedMeshFile InspectMeshFile(const std::string& path,
                                  LlmSections sections = LlmSections::kAll);

// The mesh in the ".llm" file at `path`, read as the application reads it: joint names, morph
// targets and remaps as far as the file holds them. Throws CliError as InspectMeshFile does, and
// when the file is not a mesh, naming what it lacks. With LlmSections::kDrawing, only what a
// picture of the undeformed mesh needs is read: no morph targets, no remaps.
LlmMesh ReadMeshFile(const std::string& path, LlmSections sections = LlmSections::kAll);

}  // namespace tovmar::cli
