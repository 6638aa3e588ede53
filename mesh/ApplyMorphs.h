// The morph deformation: the visible mesh object rebuilt from its hidden copy plus every morph
// target's deltas scaled by its weight.
#pragma once

namespace tovmar {

class LlmMesh;
class SceneStore;

// Works on mesh objects 0 (target) and 1 (source) of `store`; does nothing when either is
// missing. Records whose vertex index is outside the mesh are skipped, and one message per run
// says so. With `applyTexCoords` the texture-coordinate deltas are subtracted too.
void ApplyMorphs(const LlmMesh& mesh, SceneStore& store, bool applyTexCoords);

}  // namespace tovmar
