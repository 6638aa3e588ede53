#include "avatar/Skeleton.h"

namespace tovmar {

std::int32_t Skeleton::FindBone(std::string_view name) const {
  for (std::size_t i = 0; i < bones.size(); ++i) {
    if (bones[i].name == name) return static_cast<std::int32_t>(i);
  }
  return -1;
}

Mat4 Skeleton::LocalTransform(const Bone& bone) {
  return Mat4::Translation(bone.pos) * Mat4::RotationDegrees(bone.rot) * Mat4::Scale(bone.scale);
}

std::vector<Mat4> Skeleton::GlobalTransforms() const {
  // A bone's pos is its joint's offset from the parent's joint in the parent's frame, so the
  // joints' avatar-space positions are the sums of the pos values down the chain (turned and
  // scaled by the ancestors' rot and scale). The world's skeleton checks this: its eye joints
  // come out at (0.073, +-0.036, 1.762), where its avatar's eyes are. The pivot repeats pos
  // with more digits and is not used, so that a skeleton that changes pos moves its bone.
  std::vector<Mat4> global(bones.size());
  for (std::size_t i = 0; i < bones.size(); ++i) {
    const Mat4 local = LocalTransform(bones[i]);
    const std::int32_t parent = bones[i].parent;
    global[i] = parent >= 0 && static_cast<std::size_t>(parent) < i
                    ? global[static_cast<std::size_t>(parent)] * local
                    : local;
  }
  return global;
}

}  // namespace tovmar
