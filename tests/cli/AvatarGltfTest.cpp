// A bone's transform written as a glTF placement: the same motion, turned to glTF's axes.
#include <gtest/gtest.h>

#include <cmath>

#include "avatar/Skeleton.h"
#include "cli/AvatarGltf.h"

namespace tovmar::cli {
namespace {

// `p` moved by `placement`: scaled, rotated by its quaternion, then translated.
Vec3 Apply(const GltfPlacement& placement, Vec3 p) {
  p = {p.x * placement.scale.x, p.y * placement.scale.y, p.z * placement.scale.z};
  const auto& q = placement.rotation;
  const Vec3 u{q[0], q[1], q[2]};
  const float w = q[3];
  // v' = v + 2w(u × v) + 2u × (u × v)
  auto cross = [](const Vec3& a, const Vec3& b) {
    return Vec3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  };
  const Vec3 t = cross(u, p);
  const Vec3 tt = cross(u, t);
  return {p.x + 2 * w * t.x + 2 * tt.x + placement.translation.x,
          p.y + 2 * w * t.y + 2 * tt.y + placement.translation.y,
          p.z + 2 * w * t.z + 2 * tt.z + placement.translation.z};
}

TEST(AvatarGltf, PlacementMovesPointsAsTheBoneTransformDoes) {
  const struct {
    Vec3 pos, rot, scale;
  } kBones[] = {
      {{0.0f, 0.0f, 1.067f}, {0, 0, 0}, {1, 1, 1}},
      {{0.1f, -0.2f, 0.3f}, {30, 0, 0}, {1, 1, 1}},
      {{0.0f, 0.5f, 0.0f}, {0, 45, 0}, {1, 1, 1}},
      {{-0.3f, 0.0f, 0.2f}, {10, 20, 130}, {1, 2, 0.5f}},
      {{0.0f, 0.0f, 0.0f}, {0, 0, 90}, {-1, 1, 1}},
  };
  for (const auto& b : kBones) {
    Bone bone;
    bone.pos = b.pos;
    bone.rot = b.rot;
    bone.scale = b.scale;
    const Mat4 m = Skeleton::LocalTransform(bone);
    const GltfPlacement placement = GltfPlacementOf(m);
    const auto& q = placement.rotation;
    EXPECT_NEAR(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3], 1.0f, 1e-6f);
    for (const Vec3& p : {Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}, Vec3{0.3f, -0.7f, 0.2f}}) {
      const Vec3 expected = ToGltfAxes(m.TransformPoint(p));
      const Vec3 actual = Apply(placement, ToGltfAxes(p));
      EXPECT_NEAR(actual.x, expected.x, 1e-5f) << b.rot.z;
      EXPECT_NEAR(actual.y, expected.y, 1e-5f) << b.rot.z;
      EXPECT_NEAR(actual.z, expected.z, 1e-5f) << b.rot.z;
    }
  }
}

}  // namespace
}  // namespace tovmar::cli
