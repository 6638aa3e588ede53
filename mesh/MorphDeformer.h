// The morph deformation kept between runs, for a caller that deforms the same mesh again and
// again (the shape editor's sliders): after a first full run, a run recomputes only the vertices
// that the targets whose weight changed touch. Every recomputed vertex starts again from the hidden
// copy and adds its records in target and record order, so the result equals ApplyMorphs's full
// rebuild bit for bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tovmar {

class LlmMesh;
class SceneStore;
struct MorphVertex;

class MorphDeformer {
 public:
  // Deforms mesh objects 0 and 1 of `store` as ApplyMorphs does, with the same message for
  // records outside the mesh.
  void Apply(const LlmMesh& mesh, SceneStore& store, bool applyTexCoords);

  // Forgets what the last run left, so that the next run rebuilds everything.
  void Forget();

 private:
  // What the kept state was made for; any difference makes the next run a full one.
  struct Key {
    const LlmMesh* mesh = nullptr;
    std::int32_t targetId = -1;
    std::int32_t sourceId = -1;
    std::int32_t n = 0;
    std::int32_t nTex = 0;
    bool applyTexCoords = false;
    std::vector<const MorphVertex*> records;
    std::vector<std::size_t> recordCounts;
  };

  // One record that touches a vertex: its target and its place in that target.
  struct Ref {
    std::uint32_t target;
    std::uint32_t record;
  };

  void BuildIndex(const LlmMesh& mesh, std::int32_t n);

  bool m_valid = false;
  Key m_key;
  // The records of every vertex, in target and record order: those of vertex k are
  // m_refs[m_first[k]] up to m_refs[m_first[k + 1]].
  std::vector<std::uint32_t> m_first;
  std::vector<Ref> m_refs;
  bool m_anyOutside = false;
  // The weights the visible object shows.
  std::vector<float> m_weights;
  // Per vertex, the run that last marked it for recomputation.
  std::vector<std::uint32_t> m_mark;
  std::uint32_t m_run = 0;
  std::vector<std::int32_t> m_touched;
};

}  // namespace tovmar
