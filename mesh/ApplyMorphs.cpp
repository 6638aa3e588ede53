#include "mesh/ApplyMorphs.h"

#include <algorithm>
#include <cstddef>

#include "base/MessageSink.h"
#include "mesh/LlmMesh.h"
#include "mesh/MorphRecordAdd.h"
#include "mesh/SceneStore.h"

namespace tovmar {

namespace {

// The records are one long read-only stream while the writes scatter over the vertex arrays;
// asking for records this far ahead keeps the stream from stalling the loop.
constexpr std::size_t kPrefetchRecords = 128;

void PrefetchRecord(const MorphVertex* record) {
#if defined(__GNUC__)
  __builtin_prefetch(record);
#else
  static_cast<void>(record);
#endif
}

// Adds the records of `t`, weighted, in record order, to the vertex arrays of the object being
// deformed (three separate arrays). Returns false when a record names a vertex outside the mesh;
// such records are skipped.
template <bool kApplyTexCoords>
bool AddTarget(const MorphTarget& t, Vec3* __restrict positions, Vec3* __restrict normals,
               Vec2* __restrict texCoords, std::int32_t n, std::int32_t nTex) {
  const float w = t.weight;
  const MorphVertex* records = t.vertices.data();
  const std::size_t count = t.vertices.size();
  bool allInside = true;
  for (std::size_t i = 0; i < count; ++i) {
    if (i + kPrefetchRecords < count) PrefetchRecord(records + i + kPrefetchRecords);
    const MorphVertex& r = records[i];
    const std::int32_t k = r.vertexIndex;
    if (k < 0 || k >= n) {
      allInside = false;
      continue;
    }
    AddMorphRecord(w, r, k, positions, normals, texCoords, kApplyTexCoords, nTex);
  }
  return allInside;
}

bool AllInside(const MorphTarget& t, std::int32_t n) {
  return std::all_of(t.vertices.begin(), t.vertices.end(),
                     [n](const MorphVertex& r) { return r.vertexIndex >= 0 && r.vertexIndex < n; });
}

}  // namespace

void ApplyMorphs(const LlmMesh& mesh, SceneStore& store, bool applyTexCoords) {
  MeshObject* target = store.GetMesh(0);
  MeshObject* source = store.GetMesh(1);
  if (target == nullptr || source == nullptr) return;
  const std::int32_t n = target->PositionCount();
  if (source->PositionCount() < n || source->NormalCount() < n || target->NormalCount() < n) {
    return;
  }

  // Start again from the undeformed copy.
  std::copy_n(source->positions.begin(), n, target->positions.begin());
  std::copy_n(source->normals.begin(), n, target->normals.begin());
  const std::int32_t nTex = std::min({n, source->TexCoordCount(), target->TexCoordCount()});
  std::copy_n(source->texCoords.begin(), nTex, target->texCoords.begin());

  // Add the records of every target of non-zero weight, in list and record order.
  Vec3* positions = target->positions.data();
  Vec3* normals = target->normals.data();
  Vec2* texCoords = target->texCoords.data();
  bool allInside = true;
  for (const MorphTarget& t : mesh.morphTargets) {
    if (t.weight == 0.0f) {
      // Nothing to add; only a bad index is worth knowing, once.
      if (allInside) allInside = AllInside(t, n);
      continue;
    }
    allInside &= applyTexCoords ? AddTarget<true>(t, positions, normals, texCoords, n, nTex)
                                : AddTarget<false>(t, positions, normals, texCoords, n, nTex);
  }

  // One message per run, however many records were skipped.
  if (!allInside) ShowMessage("インデックス数上限を超えています");
}

}  // namespace tovmar
