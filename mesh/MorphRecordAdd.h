// One morph record added, weighted, to the vertex it names: the single place where the sum's terms
// are formed, so that the full deformation and the one that recomputes only some vertices round
// every term the same way.
#pragma once

#include <cstdint>

#include "mesh/LlmMesh.h"
#include "mesh/Vec.h"

namespace tovmar {

// Positions were centred and scaled by this factor when the object was built.
inline constexpr float kMorphPositionScale = 5.0f;

// Adds record `r` with weight `w` to vertex `k` of the three arrays. The texture-coordinate offset
// is subtracted, unlike the other two, and only when `applyTexCoords` and `k < nTex`.
inline void AddMorphRecord(float w, const MorphVertex& r, std::int32_t k,
                           Vec3* __restrict positions, Vec3* __restrict normals,
                           Vec2* __restrict texCoords, bool applyTexCoords, std::int32_t nTex) {
  positions[k].x += w * r.coordDelta.x * kMorphPositionScale;
  positions[k].y += w * r.coordDelta.y * kMorphPositionScale;
  positions[k].z += w * r.coordDelta.z * kMorphPositionScale;
  normals[k].x += w * r.normalDelta.x;
  normals[k].y += w * r.normalDelta.y;
  normals[k].z += w * r.normalDelta.z;
  if (applyTexCoords && k < nTex) {
    texCoords[k].u -= w * r.texCoordDelta.u;
    texCoords[k].v -= w * r.texCoordDelta.v;
  }
}

}  // namespace tovmar
