#include "cli/AvatarGltf.h"

#include <array>
#include <cmath>

#include "avatar/SkinJoints.h"
#include "cli/TerminalText.h"
#include "cli/TexturePng.h"

namespace tovmar::cli {

namespace {

// For each of glTF's axes, the file's axis it is (see ToGltfAxes).
constexpr std::array<int, 3> kFileAxis = {1, 2, 0};

// A rotation matrix (row, column) as a unit quaternion x, y, z, w, taken from its largest
// diagonal term so that no division loses precision.
std::array<float, 4> Quaternion(const std::array<std::array<double, 3>, 3>& r) {
  double x, y, z, w;
  const double trace = r[0][0] + r[1][1] + r[2][2];
  if (trace > 0.0) {
    const double s = std::sqrt(trace + 1.0) * 2.0;
    w = 0.25 * s;
    x = (r[2][1] - r[1][2]) / s;
    y = (r[0][2] - r[2][0]) / s;
    z = (r[1][0] - r[0][1]) / s;
  } else if (r[0][0] > r[1][1] && r[0][0] > r[2][2]) {
    const double s = std::sqrt(1.0 + r[0][0] - r[1][1] - r[2][2]) * 2.0;
    w = (r[2][1] - r[1][2]) / s;
    x = 0.25 * s;
    y = (r[0][1] + r[1][0]) / s;
    z = (r[0][2] + r[2][0]) / s;
  } else if (r[1][1] > r[2][2]) {
    const double s = std::sqrt(1.0 + r[1][1] - r[0][0] - r[2][2]) * 2.0;
    w = (r[0][2] - r[2][0]) / s;
    x = (r[0][1] + r[1][0]) / s;
    y = 0.25 * s;
    z = (r[1][2] + r[2][1]) / s;
  } else {
    const double s = std::sqrt(1.0 + r[2][2] - r[0][0] - r[1][1]) * 2.0;
    w = (r[1][0] - r[0][1]) / s;
    x = (r[0][2] + r[2][0]) / s;
    y = (r[1][2] + r[2][1]) / s;
    z = 0.25 * s;
  }
  const double length = std::sqrt(x * x + y * y + z * z + w * w);
  return {static_cast<float>(x / length), static_cast<float>(y / length),
          static_cast<float>(z / length), static_cast<float>(w / length)};
}

// The joints, one per bone and in the skeleton's order, so that a bone's index is its joint's.
void AddJoints(const Skeleton& skeleton, GltfScene& scene) {
  for (const Bone& bone : skeleton.bones) {
    scene.joints.push_back(
        {bone.name, bone.parent, GltfPlacementOf(Skeleton::LocalTransform(bone))});
  }
}

// The part's skin as glTF wants it, or nothing when its mesh has no skin over the skeleton.
std::vector<GltfSkinVertex> SkinOf(const AvatarPart& part, const Skeleton& skeleton,
                                   std::size_t vertices, const std::string& path) {
  if (part.mesh.hasWeights == 0) return {};
  const MeshSkin skin = BuildMeshSkin(part.mesh, skeleton);
  if (!skin.ok || skin.influences.size() < vertices) {
    PrintErrorLine("warning: '" + path +
                   "': " + (skin.ok ? std::string("fewer weights than vertices") : skin.error) +
                   "; the part is exported without a skin");
    return {};
  }
  std::vector<GltfSkinVertex> out(vertices);
  for (std::size_t v = 0; v < vertices; ++v) {
    const VertexInfluence& influence = skin.influences[v];
    for (std::size_t k = 0; k < 2; ++k) {
      out[v].joints[k] = static_cast<std::uint16_t>(influence.bones[k]);
      out[v].weights[k] = influence.weights[k];
    }
  }
  return out;
}

}  // namespace

GltfPlacement GltfPlacementOf(const Mat4& transform) {
  // The linear part with its rows and columns both turned: P * L * P⁻¹ for the turn P.
  std::array<std::array<double, 3>, 3> linear{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) linear[i][j] = transform.At(kFileAxis[i], kFileAxis[j]);
  }
  std::array<double, 3> scale{};
  for (int j = 0; j < 3; ++j) {
    scale[j] = std::sqrt(linear[0][j] * linear[0][j] + linear[1][j] * linear[1][j] +
                         linear[2][j] * linear[2][j]);
  }
  const double det = linear[0][0] * (linear[1][1] * linear[2][2] - linear[1][2] * linear[2][1]) -
                     linear[0][1] * (linear[1][0] * linear[2][2] - linear[1][2] * linear[2][0]) +
                     linear[0][2] * (linear[1][0] * linear[2][1] - linear[1][1] * linear[2][0]);
  // A mirror keeps a rotation by a negative scale along the first axis.
  if (det < 0.0) scale[0] = -scale[0];

  GltfPlacement placement;
  placement.translation = ToGltfAxes(transform.TranslationPart());
  placement.scale = {static_cast<float>(scale[0]), static_cast<float>(scale[1]),
                     static_cast<float>(scale[2])};
  if (scale[0] != 0.0 && scale[1] != 0.0 && scale[2] != 0.0) {
    std::array<std::array<double, 3>, 3> rotation{};
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) rotation[i][j] = linear[i][j] / scale[j];
    }
    placement.rotation = Quaternion(rotation);
  }
  return placement;
}

GltfScene MakeAvatarGltfScene(const Avatar& avatar, PngCompression compression, bool keepAlpha,
                              const std::function<std::string(const AvatarPart&)>& partPath) {
  GltfScene scene;
  AddJoints(avatar.skeleton, scene);
  for (const AvatarPart& part : avatar.parts) {
    const std::string path = partPath(part);
    const std::string name(AvatarPartName(part.kind));
    const std::size_t index = scene.parts.size();
    GltfPart& out = scene.parts.emplace_back();
    out.mesh = MakeGltfMesh(part.mesh, name, path);
    if (!part.texturePath.empty())
      out.texturePng = TexturePng(part.texturePath, compression, keepAlpha);
    out.skin = SkinOf(part, avatar.skeleton, out.mesh.positions.size(), path);

    // A skinned part stands at the root and its joints place it. The others are shown once per
    // placement; the eyes hang under their eye joints' nodes rather than being copied to where
    // those joints are: Blender then parents each eyeball to its eye bone, so that it turns with
    // the head, and the validator asks only skinned meshes to stand at the root.
    if (!out.skin.empty()) {
      scene.instances.push_back({name, index, -1, {}});
      continue;
    }
    for (const AvatarPlacement& placement : part.placements) {
      if (placement.bone >= 0) {
        const Bone& bone = avatar.skeleton.bones[static_cast<std::size_t>(placement.bone)];
        scene.instances.push_back({name + "_" + bone.name, index, placement.bone, {}});
      } else {
        scene.instances.push_back({name, index, -1, GltfPlacementOf(placement.transform)});
      }
    }
  }
  return scene;
}

}  // namespace tovmar::cli
