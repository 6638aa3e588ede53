// Fuzzes the skeleton file reader and what follows a skeleton it takes: the bones' transforms in
// avatar space, their inverses, the eyes' placements, and a skin over every bone with weights
// taken from the input's bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "avatar/Avatar.h"
#include "avatar/SkeletonReader.h"
#include "avatar/SkinJoints.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tovmar;
  using namespace tovmar::fuzz;
  const std::string_view xml(reinterpret_cast<const char*>(data), size);

  const SkeletonReadResult read = ReadSkeletonFromMemory(xml, "fuzz.xml");
  if (!read.ok) {
    Require(!read.error.empty() && read.skeleton.bones.empty(), "a refusal says why");
    return 0;
  }
  const Skeleton& skeleton = read.skeleton;
  Require(!skeleton.bones.empty() && skeleton.bones.size() <= kMaxSkeletonBones,
          "a skeleton holds 1 to the most bones");
  for (std::size_t i = 0; i < skeleton.bones.size(); ++i) {
    const std::int32_t parent = skeleton.bones[i].parent;
    Require(parent >= -1 && parent < static_cast<std::int32_t>(i), "parents come first");
    Require(skeleton.FindBone(skeleton.bones[i].name) == static_cast<std::int32_t>(i),
            "bone names are unique");
  }
  for (const Mat4& global : skeleton.GlobalTransforms()) {
    const Mat4 inverse = InverseAffine(global);
    Require(
        std::all_of(inverse.m.begin(), inverse.m.end(), [](float v) { return std::isfinite(v); }),
        "every bone's transform can be undone");
  }
  for (const AvatarPlacement& placement : PlacementsOf(AvatarPartKind::kEyes, skeleton)) {
    Require(placement.bone >= 0, "the eyes follow their bones");
  }

  std::vector<std::int32_t> every(skeleton.bones.size());
  for (std::size_t i = 0; i < every.size(); ++i) every[i] = static_cast<std::int32_t>(i);
  const std::vector<std::int32_t> list = SkinJointList(skeleton, every);
  for (std::size_t at = 0; at + 4 <= std::min<std::size_t>(size, 64); at += 4) {
    VertexWeight weight;
    std::memcpy(weight.data(), data + at, 4);
    const VertexInfluence influence = InfluenceOfWeight(weight, list);
    for (std::size_t i = 0; i < 2; ++i) {
      Require(influence.bones[i] >= 0 &&
                  static_cast<std::size_t>(influence.bones[i]) < skeleton.bones.size(),
              "every influence is a bone");
      Require(influence.weights[i] >= 0.0f && influence.weights[i] <= 1.0f,
              "every weight lies in [0, 1]");
    }
    Require(std::abs(influence.weights[0] + influence.weights[1] - 1.0f) < 1e-6f,
            "the weights add up to 1");
  }
  return 0;
}
