// A whole figure for glTF: meshes with their own textures, placed as often as the figure shows
// them, a skeleton as a hierarchy of joints, and one skin binding the meshes to it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "exchange/GltfFile.h"
#include "exchange/GltfMesh.h"
#include "mesh/Vec.h"

namespace tovmar {

// The place of a node relative to its parent, in glTF's axes.
struct GltfPlacement {
  Vec3 translation;
  std::array<float, 4> rotation{0.0f, 0.0f, 0.0f, 1.0f};  // a quaternion: x, y, z, w
  Vec3 scale{1.0f, 1.0f, 1.0f};
};

// One joint of the skeleton, named as the skeleton names its bone.
struct GltfJoint {
  std::string name;
  int parent = -1;  // the index of an earlier joint, -1 for a root
  GltfPlacement local;
};

// One vertex's joints (indices into the scene's joints) and how much each moves it. The writer
// makes the weights add up to 1.
struct GltfSkinVertex {
  std::array<std::uint16_t, 4> joints{};
  std::array<float, 4> weights{};
};

// One part of the figure: its mesh (named as the part), its texture and its skin.
struct GltfPart {
  GltfMesh mesh;
  std::string texturePng;            // PNG file bytes, or empty for a plain material
  std::vector<GltfSkinVertex> skin;  // one per vertex, or empty when the part has no skin
};

// One place where a part is shown: a node of its own, under a joint or at the scene's root.
struct GltfInstance {
  std::string name;
  std::size_t part = 0;
  int joint = -1;  // the joint it hangs under, -1 for the scene's root
  GltfPlacement local;
};

struct GltfScene {
  std::vector<GltfJoint> joints;  // parents before their children
  std::vector<GltfPart> parts;
  std::vector<GltfInstance> instances;
};

// The glTF file of `scene`, in the form `options` give: the joints as a node hierarchy named by
// joint, one mesh per part with a material named after it (textured when the part has a texture), a
// node per instance, and when any part has a skin, one skin over every joint with its inverse bind
// matrices and JOINTS_0 and WEIGHTS_0 on each skinned part. Skinned parts must stand at the
// scene's root with no placement of their own: glTF places a skinned mesh by its joints alone.
// Throws ExchangeError when the scene cannot be written: a skin naming a joint the scene lacks, a
// joint whose transform cannot be inverted, a skinned instance under a joint.
GltfFiles WriteGltf(const GltfScene& scene, const GltfFileOptions& options);

}  // namespace tovmar
