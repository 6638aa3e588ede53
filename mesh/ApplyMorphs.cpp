#include "mesh/ApplyMorphs.h"

#include <algorithm>

#include "mesh/LlmMesh.h"
#include "mesh/MessageSink.h"
#include "mesh/SceneStore.h"

namespace tovmar {

namespace {
// Positions were centred and scaled by this factor when the object was built.
constexpr float kPositionScale = 5.0f;
}  // namespace

void ApplyMorphs(const LlmMesh& mesh, SceneStore& store, bool applyTexCoords) {
  MeshObject* target = store.GetMesh(0);
  MeshObject* source = store.GetMesh(1);
  if (target == nullptr || source == nullptr) return;
  const std::int32_t n = target->numPositions;
  if (source->numPositions < n || source->numNormals < n) return;

  // Start again from the undeformed copy.
  std::copy_n(source->positions.begin(), n, target->positions.begin());
  std::copy_n(source->normals.begin(), n, target->normals.begin());
  const std::int32_t nTex = std::min({n, source->numTexCoords, target->numTexCoords});
  std::copy_n(source->texCoords.begin(), nTex, target->texCoords.begin());

  Vec3* positions = target->positions.data();
  Vec3* normals = target->normals.data();
  Vec2* texCoords = target->texCoords.data();
  bool outsideMesh = false;

  // Add every target's records, weighted, in list and record order.
  for (const MorphTarget& t : mesh.morphTargets) {
    const float w = t.weight;
    for (const MorphVertex& r : t.vertices) {
      const std::int32_t k = r.vertexIndex;
      if (k < 0 || k >= n) {
        outsideMesh = true;
        continue;
      }
      positions[k].x += w * r.coordDelta.x * kPositionScale;
      positions[k].y += w * r.coordDelta.y * kPositionScale;
      positions[k].z += w * r.coordDelta.z * kPositionScale;
      normals[k].x += w * r.normalDelta.x;
      normals[k].y += w * r.normalDelta.y;
      normals[k].z += w * r.normalDelta.z;
      // The texture-coordinate offset is subtracted, unlike the other two.
      if (applyTexCoords && k < nTex) {
        texCoords[k].u -= w * r.texCoordDelta.u;
        texCoords[k].v -= w * r.texCoordDelta.v;
      }
    }
  }

  // One message per run, however many records were skipped.
  if (outsideMesh) ShowMessage("インデックス数上限を超えています");
}

}  // namespace tovmar
