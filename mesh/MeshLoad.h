// The step of loading a mesh that turns the mesh record into the scene's two mesh objects.
#pragma once

#include <string>

namespace tovmar {

class LlmMesh;
class SceneStore;

// Removes every mesh object from `store` (releasing the textures they used), then builds two
// new ones from `mesh`, both named `name`: index 0 visible, the one the deformation changes, and
// index 1 hidden, the undeformed copy the deformation starts from. Arrays shorter than their
// counts in `mesh` are never read past their end.
void BuildMeshObjects(const LlmMesh& mesh, SceneStore& store, const std::string& name);

}  // namespace tovmar
