// The skin of a body mesh: its joint list and the two joints and weights of each vertex.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "avatar/Skeleton.h"
#include "mesh/LlmMesh.h"

namespace tovmar {

// The entry of a joint list that is no bone of the skeleton: the root above the top bone.
inline constexpr std::int32_t kRootEntry = -1;

// A vertex's two influences: indices into Skeleton::bones (never kRootEntry) whose weights are
// finite, at least 0 and add up to 1. When the vertex has one joint only, the second repeats the
// first with weight 0.
struct VertexInfluence {
  std::array<std::int32_t, 2> bones{0, 0};
  std::array<float, 2> weights{1.0f, 0.0f};
};

struct MeshSkin {
  bool ok = false;
  // The joint list the vertices' weights count in: bone indices or kRootEntry (see
  // SkinJointList).
  std::vector<std::int32_t> jointList;
  // One per vertex of the mesh when ok.
  std::vector<VertexInfluence> influences;
  // An English sentence when not ok: the mesh has no weights or no joint names, or names a joint
  // the skeleton lacks.
  std::string error;
};

// The joint list of a mesh that names the bones `named` (bone indices, any order, repeats
// allowed). The skeleton is walked in its order, parents first; each named bone is appended,
// preceded by its parent whenever the entry just before it is not that parent. The parent counted
// is the nearest ancestor that is a base bone (support not extended) or named by the mesh, and
// kRootEntry above the top bone. So the list starts with the root or the parent of the first named
// bone, and each new branch restarts from its parent: the world's lower body, naming pelvis, hips,
// knees and ankles, gets root, pelvis, right hip, knee, ankle, pelvis, left hip, knee, ankle (its
// weights run 1 to 8), and its upper body, naming pelvis, torso, chest, neck, and collar,
// shoulder, elbow and wrist of each side, gets root, pelvis, torso, chest, neck, chest, the left
// arm, chest, the right arm (its weights run 1 to 14).
std::vector<std::int32_t> SkinJointList(const Skeleton& skeleton,
                                        const std::vector<std::int32_t>& named);

// The influences of one 4-byte vertex weight (a little-endian float) over `jointList`: its
// integer part k picks entry k, its fraction f blends toward entry k + 1, so the vertex follows
// entry k with weight 1 - f and entry k + 1 with weight f. The root entry's share goes to the
// other entry of the pair (to the next bone of the list when both are the root).
// A value outside the list (negative, past its last entry, or not a finite number) takes the
// nearest entry with weight 1; nothing is read outside the list. `jointList` holds at least one
// bone.
VertexInfluence InfluenceOfWeight(const VertexWeight& weight,
                                  const std::vector<std::int32_t>& jointList);

// The skin of `mesh` over `skeleton`: its joint list from the joint names it holds, and each
// vertex's influences.
MeshSkin BuildMeshSkin(const LlmMesh& mesh, const Skeleton& skeleton);

}  // namespace tovmar
