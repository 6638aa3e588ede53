// An avatar's pieces as glTF takes them: a bone's transform as a placement, the same motion turned
// to glTF's axes, and each vertex's skin row made valid.
#include <gtest/gtest.h>

#include <tiny_gltf.h>

#include <array>
#include <cmath>
#include <cstring>
#include <string>

#include "avatar/Skeleton.h"
#include "cli/AvatarGltf.h"
#include "exchange/ExchangeError.h"

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

// Each vertex's row of JOINTS_0 and WEIGHTS_0 as the writer makes it from what it is given: each
// joint once, the weights adding up to 1, unsigned shorts past 256 joints.
TEST(AvatarGltf, SkinRowsAreMadeValid) {
  const struct {
    GltfSkinVertex in;
    std::array<std::uint16_t, 4> joints;
    std::array<float, 4> weights;
  } kRows[] = {
      {{{3, 299, 0, 0}, {0.25f, 0.75f, 0, 0}}, {3, 299, 0, 0}, {0.25f, 0.75f, 0, 0}},
      {{{7, 7, 0, 0}, {0.2f, 0.2f, 0, 0}}, {7, 0, 0, 0}, {1, 0, 0, 0}},
      {{{5, 6, 0, 0}, {0, 0, 0, 0}}, {5, 0, 0, 0}, {1, 0, 0, 0}},
      {{{5, 6, 0, 0}, {NAN, -1, 0, 0}}, {5, 0, 0, 0}, {1, 0, 0, 0}},
      {{{0, 9, 0, 0}, {0, 2, 0, 0}}, {9, 0, 0, 0}, {1, 0, 0, 0}},
      {{{1, 2, 3, 4}, {1, 1, 1, 1}}, {1, 2, 3, 4}, {0.25f, 0.25f, 0.25f, 0.25f}},
  };
  GltfScene scene;
  for (int j = 0; j < 300; ++j) scene.joints.push_back({"j" + std::to_string(j), j - 1, {}});
  GltfPart& part = scene.parts.emplace_back();
  for (const auto& row : kRows) {
    part.mesh.positions.push_back({0, static_cast<float>(part.mesh.positions.size()), 0});
    part.mesh.normals.push_back({0, 0, 1});
    part.skin.push_back(row.in);
  }
  part.mesh.indices = {0, 1, 2};
  scene.instances.push_back({"part", 0, -1, {}});
  const std::string glb = WriteGltf(scene, {}).main;

  tinygltf::Model model;
  tinygltf::TinyGLTF reader;
  std::string error, warning;
  ASSERT_TRUE(reader.LoadBinaryFromMemory(&model, &error, &warning,
                                          reinterpret_cast<const unsigned char*>(glb.data()),
                                          static_cast<unsigned int>(glb.size())))
      << error;
  const tinygltf::Primitive& primitive = model.meshes.at(0).primitives.at(0);
  const tinygltf::Accessor& joints =
      model.accessors.at(static_cast<std::size_t>(primitive.attributes.at("JOINTS_0")));
  ASSERT_EQ(joints.componentType, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT);
  const auto at = [&](const char* attribute) {
    const tinygltf::Accessor& a =
        model.accessors.at(static_cast<std::size_t>(primitive.attributes.at(attribute)));
    const tinygltf::BufferView& view = model.bufferViews.at(static_cast<std::size_t>(a.bufferView));
    return model.buffers.at(0).data.data() + view.byteOffset + a.byteOffset;
  };
  for (std::size_t v = 0; v < std::size(kRows); ++v) {
    std::array<std::uint16_t, 4> readJoints;
    std::array<float, 4> readWeights;
    std::memcpy(readJoints.data(), at("JOINTS_0") + v * 8, 8);
    std::memcpy(readWeights.data(), at("WEIGHTS_0") + v * 16, 16);
    EXPECT_EQ(readJoints, kRows[v].joints) << "row " << v;
    for (std::size_t k = 0; k < 4; ++k) {
      EXPECT_FLOAT_EQ(readWeights[k], kRows[v].weights[k]) << "row " << v;
    }
  }

  // A joint the skeleton lacks is refused rather than written.
  part.skin[0].joints[1] = 300;
  EXPECT_THROW(WriteGltf(scene, {}).main, ExchangeError);
}

}  // namespace
}  // namespace tovmar::cli
