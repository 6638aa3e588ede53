#include "mesh/MorphDeformer.h"

#include <algorithm>
#include <bit>

#include "base/MessageSink.h"
#include "mesh/ApplyMorphs.h"
#include "mesh/LlmMesh.h"
#include "mesh/MorphRecordAdd.h"
#include "mesh/SceneStore.h"

namespace tovmar {

namespace {

const char kIndexOutOfRange[] = "インデックス数上限を超えています";

// Beyond this share of all records in targets whose weight changed, recomputing vertex by vertex
// costs more than one straight rebuild.
constexpr std::size_t kFullRunShare = 4;

bool SameBits(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

}  // namespace

void MorphDeformer::Forget() {
  m_valid = false;
}

void MorphDeformer::BuildIndex(const LlmMesh& mesh, std::int32_t n) {
  const std::size_t vertices = static_cast<std::size_t>(n);
  m_first.assign(vertices + 1, 0);
  m_anyOutside = false;
  for (const MorphTarget& t : mesh.morphTargets) {
    for (const MorphVertex& r : t.vertices) {
      if (r.vertexIndex < 0 || r.vertexIndex >= n) {
        m_anyOutside = true;
        continue;
      }
      ++m_first[static_cast<std::size_t>(r.vertexIndex) + 1];
    }
  }
  for (std::size_t k = 0; k < vertices; ++k) m_first[k + 1] += m_first[k];
  m_refs.resize(m_first[vertices]);
  // Filled in target and record order, so each vertex's records keep the order of the full run.
  std::vector<std::uint32_t> next(m_first.begin(), m_first.end() - 1);
  for (std::size_t t = 0; t < mesh.morphTargets.size(); ++t) {
    const MorphRecords& records = mesh.morphTargets[t].vertices;
    for (std::size_t i = 0; i < records.size(); ++i) {
      const std::int32_t k = records[i].vertexIndex;
      if (k < 0 || k >= n) continue;
      m_refs[next[static_cast<std::size_t>(k)]++] = {static_cast<std::uint32_t>(t),
                                                     static_cast<std::uint32_t>(i)};
    }
  }
  m_mark.assign(vertices, 0);
  m_run = 0;
  m_touched.clear();
  m_touched.reserve(vertices);
}

void MorphDeformer::Apply(const LlmMesh& mesh, SceneStore& store, bool applyTexCoords) {
  MeshObject* target = store.GetMesh(0);
  MeshObject* source = store.GetMesh(1);
  if (target == nullptr || source == nullptr) {
    m_valid = false;
    return;
  }
  const std::int32_t n = target->PositionCount();
  if (source->PositionCount() < n || source->NormalCount() < n || target->NormalCount() < n) {
    m_valid = false;
    return;
  }
  const std::int32_t nTex = std::min({n, source->TexCoordCount(), target->TexCoordCount()});
  const std::vector<MorphTarget>& targets = mesh.morphTargets;

  bool same = m_valid && m_key.mesh == &mesh && m_key.targetId == target->header.id &&
              m_key.sourceId == source->header.id && m_key.n == n && m_key.nTex == nTex &&
              m_key.applyTexCoords == applyTexCoords && m_key.records.size() == targets.size();
  for (std::size_t t = 0; same && t < targets.size(); ++t) {
    same = m_key.records[t] == targets[t].vertices.data() &&
           m_key.recordCounts[t] == targets[t].vertices.size();
  }

  std::size_t changedRecords = 0;
  if (same) {
    for (std::size_t t = 0; t < targets.size(); ++t) {
      if (!SameBits(m_weights[t], targets[t].weight)) changedRecords += targets[t].vertices.size();
    }
  }
  if (!same || changedRecords > m_refs.size() / kFullRunShare) {
    ApplyMorphs(mesh, store, applyTexCoords);
    if (!same) {
      m_key.mesh = &mesh;
      m_key.targetId = target->header.id;
      m_key.sourceId = source->header.id;
      m_key.n = n;
      m_key.nTex = nTex;
      m_key.applyTexCoords = applyTexCoords;
      m_key.records.clear();
      m_key.recordCounts.clear();
      for (const MorphTarget& t : targets) {
        m_key.records.push_back(t.vertices.data());
        m_key.recordCounts.push_back(t.vertices.size());
      }
      BuildIndex(mesh, n);
      m_weights.resize(targets.size());
      m_valid = true;
    }
    for (std::size_t t = 0; t < targets.size(); ++t) m_weights[t] = targets[t].weight;
    return;
  }

  // Mark each vertex that a changed target touches, once.
  if (++m_run == 0) {
    std::fill(m_mark.begin(), m_mark.end(), 0u);
    m_run = 1;
  }
  m_touched.clear();
  for (std::size_t t = 0; t < targets.size(); ++t) {
    if (SameBits(m_weights[t], targets[t].weight)) continue;
    m_weights[t] = targets[t].weight;
    for (const MorphVertex& r : targets[t].vertices) {
      const std::int32_t k = r.vertexIndex;
      if (k < 0 || k >= n || m_mark[static_cast<std::size_t>(k)] == m_run) continue;
      m_mark[static_cast<std::size_t>(k)] = m_run;
      m_touched.push_back(k);
    }
  }

  // Each marked vertex again from the hidden copy, plus its records of non-zero weight.
  Vec3* positions = target->positions.data();
  Vec3* normals = target->normals.data();
  Vec2* texCoords = target->texCoords.data();
  for (const std::int32_t k : m_touched) {
    const std::size_t v = static_cast<std::size_t>(k);
    positions[v] = source->positions[v];
    normals[v] = source->normals[v];
    if (k < nTex) texCoords[v] = source->texCoords[v];
    for (std::uint32_t i = m_first[v]; i < m_first[v + 1]; ++i) {
      const Ref ref = m_refs[i];
      const float w = m_weights[ref.target];
      if (w == 0.0f) continue;
      AddMorphRecord(w, targets[ref.target].vertices[ref.record], k, positions, normals, texCoords,
                     applyTexCoords, nTex);
    }
  }
  if (m_anyOutside) ShowMessage(kIndexOutOfRange);
}

}  // namespace tovmar
