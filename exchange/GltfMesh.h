// One mesh file as glTF wants its data: flat vertex arrays in glTF's axes, the triangle list,
// and every morph target as whole arrays of position and normal offsets.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mesh/LlmMesh.h"
#include "mesh/Vec.h"

namespace tovmar {

struct GltfMorphTarget {
  std::string name;
  float weight = 0.0f;
  std::vector<Vec3> positionOffsets;  // one per vertex, zero where the target moves nothing
  std::vector<Vec3> normalOffsets;
};

struct GltfMesh {
  std::string name;
  std::vector<Vec3> positions;
  std::vector<Vec3> normals;    // unit length
  std::vector<Vec2> texCoords;  // from the picture's top-left corner; empty without any
  std::vector<std::uint32_t> indices;
  std::vector<GltfMorphTarget> targets;  // in file order
  // Morph records left out because they name a vertex the mesh lacks.
  std::size_t droppedRecords = 0;
};

// The most a glTF file may take while it is made, as GltfBytesNeeded reckons it: real avatars need
// a few megabytes; far larger files come only from broken or hostile input. Making the file takes
// about four times as much memory at its peak (the mesh read, its glTF arrays, the file's bytes).
inline constexpr std::uint64_t kMaxGlbBytes = std::uint64_t{256} << 20;

// The file's axes turned to glTF's: glTF's +X is the file's +Y, +Y (up) its +Z, +Z (the front)
// its +X. A turn, not a mirror, so triangles keep their winding.
inline Vec3 ToGltfAxes(const Vec3& v) {
  return {v.y, v.z, v.x};
}

// The bytes a glTF file of `mesh` takes while it is made, reckoned before anything is built:
// its binary data, and for each morph target what its description takes in memory.
std::uint64_t GltfBytesNeeded(const LlmMesh& mesh);

// Throws ExchangeError when `bytes`, reckoned by GltfBytesNeeded for all of `what` ("the meshes"),
// are past kMaxGlbBytes, with both sizes in megabytes in the message.
void RefuseGltfPastBudget(std::string_view what, std::uint64_t bytes);

// The data of `mesh` for glTF, named `name`, in the file's own coordinates turned to glTF's
// axes. Triangles that name a vertex the mesh lacks are left out as when the mesh is drawn, and
// so are morph records that name one, as the deformation skips them; records of one target on
// one vertex add up. A normal that cannot be made unit length (zero, or not a finite number)
// becomes the mean direction of the triangles around its vertex, or straight up when they have
// none. The weights are the targets'
// current ones. Throws ExchangeError, naming `path`, when there are no triangles to write or a
// position, texture coordinate, morph offset or weight is not a finite number.
GltfMesh MakeGltfMesh(const LlmMesh& mesh, const std::string& name, const std::string& path);

// The shape of `mesh`'s weights made its base: every position and normal moved by the weighted
// offsets of its targets, the normals made unit length again as MakeGltfMesh makes them, and
// every weight set to 0, so that readers that ignore weights show the shape too and the targets
// still move from it.
void BakeMorphs(GltfMesh& mesh);

}  // namespace tovmar
