// The avatar's skeleton: its bones in document order and their transforms in avatar space.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "avatar/Transform.h"
#include "mesh/Vec.h"

namespace tovmar {

struct Bone {
  std::string name;
  // The index of the parent bone in Skeleton::bones, always smaller than this bone's own; -1 for
  // a top bone.
  std::int32_t parent = -1;
  Vec3 pos;  // offset from the parent bone, in the parent's frame
  Vec3 rot;  // degrees about X, Y, Z (see Mat4::RotationDegrees)
  Vec3 scale{1.0f, 1.0f, 1.0f};
  Vec3 pivot;  // kept as read; the placement uses pos
  std::string aliases;
  std::string group;
  // True when the file's support attribute is "extended": a bone added to the skeleton after
  // the meshes, which their skins do not count (see SkinJointList).
  bool support = false;
};

struct Skeleton {
  // Parents come before their children: the order of the file's nested elements, depth first.
  std::vector<Bone> bones;

  // The index of the bone named exactly `name`, or -1.
  std::int32_t FindBone(std::string_view name) const;

  // The bone's transform relative to its parent: T(pos) * R(rot) * S(scale).
  static Mat4 LocalTransform(const Bone& bone);

  // Each bone's transform in avatar space, index for index with `bones`: the parent's global
  // transform times the bone's local one, so positions add up along the chain from the top bone.
  std::vector<Mat4> GlobalTransforms() const;
};

}  // namespace tovmar
