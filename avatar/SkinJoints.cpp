#include "avatar/SkinJoints.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace tovmar {

namespace {

float WeightValue(const VertexWeight& bytes) {
  const std::uint32_t bits =
      static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
      static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  return std::bit_cast<float>(bits);
}

// The bone that stands for entry `index`: the entry itself when it is a bone, otherwise the
// nearest bone after it, or before it when none follows.
std::int32_t BoneOfEntry(const std::vector<std::int32_t>& list, std::size_t index) {
  if (list[index] != kRootEntry) return list[index];
  for (std::size_t i = index + 1; i < list.size(); ++i) {
    if (list[i] != kRootEntry) return list[i];
  }
  for (std::size_t i = index; i-- > 0;) {
    if (list[i] != kRootEntry) return list[i];
  }
  return 0;
}

// The parent that a joint list counts for bone `index`: its nearest ancestor that is a base bone
// or one the mesh names. The extended bones (the spine between pelvis, torso and chest, and the
// like) came to the skeleton after the meshes, whose weights do not count them: the world's upper
// body names pelvis, torso and chest, and its weights run to 14 only when the spine bones between
// them are passed over.
std::int32_t CountedParent(const Skeleton& skeleton, const std::vector<bool>& isNamed,
                           std::size_t index) {
  // Parents stand before their children, so the walk ends even in a skeleton built by hand.
  std::size_t current = index;
  std::int32_t parent = skeleton.bones[current].parent;
  while (parent >= 0 && static_cast<std::size_t>(parent) < current) {
    current = static_cast<std::size_t>(parent);
    if (!skeleton.bones[current].support || isNamed[current]) return parent;
    parent = skeleton.bones[current].parent;
  }
  return kRootEntry;
}

std::string NameOf(const NameSlot& slot) {
  const auto end = std::find(slot.begin(), slot.begin() + 64, '\0');
  return std::string(slot.begin(), end);
}

}  // namespace

std::vector<std::int32_t> SkinJointList(const Skeleton& skeleton,
                                        const std::vector<std::int32_t>& named) {
  std::vector<bool> isNamed(skeleton.bones.size(), false);
  for (const std::int32_t bone : named) {
    if (bone >= 0 && static_cast<std::size_t>(bone) < isNamed.size()) {
      isNamed[static_cast<std::size_t>(bone)] = true;
    }
  }
  // The bones are held in the file's depth-first order, so walking them by index walks the tree.
  std::vector<std::int32_t> list;
  for (std::size_t i = 0; i < skeleton.bones.size(); ++i) {
    if (!isNamed[i]) continue;
    const std::int32_t parent = CountedParent(skeleton, isNamed, i);
    if (list.empty() || list.back() != parent) list.push_back(parent);
    list.push_back(static_cast<std::int32_t>(i));
  }
  return list;
}

VertexInfluence InfluenceOfWeight(const VertexWeight& weight,
                                  const std::vector<std::int32_t>& jointList) {
  const float last = static_cast<float>(jointList.size() - 1);
  float value = WeightValue(weight);
  // Values past either end of the list, and values that are no number, clamp to an entry: a
  // damaged weight bends its vertex with a wrong joint but never reads outside the list.
  if (std::isnan(value) || value < 0.0f) value = 0.0f;
  if (value > last) value = last;
  const float whole = std::floor(value);
  const auto index = static_cast<std::size_t>(whole);
  const float fraction = index + 1 < jointList.size() ? value - whole : 0.0f;

  VertexInfluence influence;
  const std::int32_t first = BoneOfEntry(jointList, index);
  const std::int32_t second = fraction > 0.0f ? BoneOfEntry(jointList, index + 1) : first;
  if (fraction > 0.0f && jointList[index] != kRootEntry && jointList[index + 1] != kRootEntry &&
      second != first) {
    influence.bones = {first, second};
    influence.weights = {1.0f - fraction, fraction};
  } else {
    // One bone: the root holds no bone of its own, so the other entry of the pair takes its
    // share.
    const std::int32_t only = jointList[index] == kRootEntry ? second : first;
    influence.bones = {only, only};
    influence.weights = {1.0f, 0.0f};
  }
  return influence;
}

MeshSkin BuildMeshSkin(const LlmMesh& mesh, const Skeleton& skeleton) {
  MeshSkin skin;
  const std::string name = mesh.path.empty() ? std::string("the mesh") : mesh.path;
  if (mesh.hasWeights == 0 || mesh.weights.size() != mesh.numVertices) {
    skin.error = "The mesh " + name + " holds no vertex weights.";
    return skin;
  }
  std::vector<std::int32_t> named;
  for (const NameSlot& slot : mesh.skinJointNames) {
    const std::string joint = NameOf(slot);
    const std::int32_t bone = skeleton.FindBone(joint);
    if (bone < 0) {
      skin.error = "The mesh " + name + " names the joint \"" + joint +
                   "\", which is no bone of the skeleton.";
      return skin;
    }
    named.push_back(bone);
  }
  if (named.empty()) {
    skin.error = "The mesh " + name + " names no joints.";
    return skin;
  }
  skin.jointList = SkinJointList(skeleton, named);
  skin.influences.reserve(mesh.numVertices);
  for (const VertexWeight& weight : mesh.weights) {
    skin.influences.push_back(InfluenceOfWeight(weight, skin.jointList));
  }
  skin.ok = true;
  return skin;
}

}  // namespace tovmar
