// The steps of loading a mesh: reading the file into the mesh record, and turning the
// record into the scene's two mesh objects.
#pragma once

#include <string>

#include "mesh/LlmFile.h"
#include "mesh/LlmReadReport.h"

namespace tovmar {

class LlmMesh;
class SceneStore;

// Reads the ".llm" file at `path` (UTF-8) into `mesh`, whose path becomes `path`, when the file is
// a mesh: its header, vertex arrays and face list are whole and finite (joint names, morph targets
// and remaps count as far as the file holds them). Returns false and leaves `mesh` exactly as it
// was otherwise, and when the file is gone, is not a regular file, cannot be opened or read, or
// is far too large for a mesh file: the mesh already loaded, its weights and the objects built
// from it are then worth more than a partial record. With `why`, a refused file's status and read
// report are left there, for a message that says what is wrong.
struct MeshReadRefusal {
  LlmFileStatus status = LlmFileStatus::kRead;
  LlmReadReport report;
};
bool ReadCompleteMeshFile(const std::string& path, LlmMesh& mesh, MeshReadRefusal* why = nullptr);

// Removes every mesh object from `store` (releasing the textures they used), then builds two
// new ones from `mesh`, both named `name`: index 0 visible, the one the deformation changes, and
// index 1 hidden, the undeformed copy the deformation starts from. Arrays shorter than their
// counts in `mesh` are never read past their end.
void BuildMeshObjects(const LlmMesh& mesh, SceneStore& store, const std::string& name);

}  // namespace tovmar
