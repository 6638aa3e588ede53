// The morph deformation: the visible mesh object rebuilt from its hidden copy plus every morph
// target's deltas scaled by its weight.
#pragma once

namespace tovmar {

class LlmMesh;
class SceneStore;

// Works on mesh objects 0 (target) and 1 (source) of `store`; does nothing when either is
// missing. Each vertex gets the records of the targets whose weight is not 0, in target and record
// order; a target of weight 0 adds nothing (not even a zero to a negative zero), and its records
// are only looked at for their vertex indices. Records whose vertex index is outside the mesh are
// skipped, and one message per run says so, whatever their target's weight. With
// `applyTexCoords` the texture-coordinate deltas are subtracted too.
void ApplyMorphs(const LlmMesh& mesh, SceneStore& store, bool applyTexCoords);

}  // namespace tovmar
