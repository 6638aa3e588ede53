#include <tiny_gltf.h>

#include <cmath>

#include "exchange/ExchangeError.h"
#include "exchange/GltfBuild.h"
#include "exchange/GltfJointMatrices.h"
#include "exchange/GltfScene.h"

namespace tovmar {

namespace {

void Place(tinygltf::Node& node, const GltfPlacement& p) {
  const Vec3& t = p.translation;
  if (t.x != 0.0f || t.y != 0.0f || t.z != 0.0f) node.translation = {t.x, t.y, t.z};
  const auto& r = p.rotation;
  const double length = std::sqrt(double{r[0]} * r[0] + double{r[1]} * r[1] + double{r[2]} * r[2] +
                                  double{r[3]} * r[3]);
  if (length > 0.0 && (r[0] != 0.0f || r[1] != 0.0f || r[2] != 0.0f)) {
    node.rotation = {r[0] / length, r[1] / length, r[2] / length, r[3] / length};
  }
  const Vec3& s = p.scale;
  if (s.x != 1.0f || s.y != 1.0f || s.z != 1.0f) node.scale = {s.x, s.y, s.z};
}

// One vertex's influences as glTF wants them: each joint once, the unused places joint 0 with
// weight 0, the weights adding up to 1. A vertex without any weight follows its first joint.
GltfSkinVertex Normalized(const GltfSkinVertex& in, std::size_t jointCount,
                          const std::string& part) {
  GltfSkinVertex out;
  std::size_t used = 0;
  double sum = 0.0;
  for (std::size_t i = 0; i < 4; ++i) {
    if (in.joints[i] >= jointCount) {
      throw ExchangeError("part '" + part + "' is bound to joint " + std::to_string(in.joints[i]) +
                          " of a skeleton of " + std::to_string(jointCount));
    }
    const float weight = std::isfinite(in.weights[i]) ? std::max(in.weights[i], 0.0f) : 0.0f;
    if (weight == 0.0f) continue;
    std::size_t k = 0;
    while (k < used && out.joints[k] != in.joints[i]) ++k;
    if (k == used) out.joints[used++] = in.joints[i];
    out.weights[k] += weight;
    sum += weight;
  }
  if (used == 0 || !(sum > 0.0)) {
    out = {};
    out.joints[0] = in.joints[0];
    out.weights[0] = 1.0f;
    return out;
  }
  float total = 0.0f;
  for (std::size_t k = 0; k + 1 < used; ++k) {
    out.weights[k] = static_cast<float>(out.weights[k] / sum);
    total += out.weights[k];
  }
  out.weights[used - 1] = 1.0f - total;
  return out;
}

// JOINTS_0 (unsigned bytes when the skeleton has at most 256 joints, else unsigned shorts) and
// WEIGHTS_0 of a skinned part.
void AddSkinAttributes(tinygltf::Model& model, BufferBuilder& buffer, const GltfPart& part,
                       std::size_t jointCount, tinygltf::Primitive& primitive) {
  const std::size_t count = part.mesh.positions.size();
  if (part.skin.size() != count) {
    throw ExchangeError("part '" + part.mesh.name + "' has " + std::to_string(part.skin.size()) +
                        " skin weights for " + std::to_string(count) + " vertices");
  }
  std::vector<std::uint8_t> narrow;
  std::vector<std::uint16_t> wide;
  std::vector<float> weights;
  for (const GltfSkinVertex& vertex : part.skin) {
    const GltfSkinVertex row = Normalized(vertex, jointCount, part.mesh.name);
    for (std::size_t i = 0; i < 4; ++i) {
      if (jointCount <= 256) {
        narrow.push_back(static_cast<std::uint8_t>(row.joints[i]));
      } else {
        wide.push_back(row.joints[i]);
      }
      weights.push_back(row.weights[i]);
    }
  }
  const bool small = jointCount <= 256;
  const int joints =
      small ? buffer.AddView(narrow.data(), narrow.size(), TINYGLTF_TARGET_ARRAY_BUFFER, 4)
            : buffer.AddView(wide.data(), wide.size() * 2, TINYGLTF_TARGET_ARRAY_BUFFER, 8);
  primitive.attributes["JOINTS_0"] = AddAccessor(
      model, joints, 0,
      small ? TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE : TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, count,
      TINYGLTF_TYPE_VEC4);
  const int weightView = buffer.AddView(weights.data(), weights.size() * sizeof(float),
                                        TINYGLTF_TARGET_ARRAY_BUFFER, 16);
  primitive.attributes["WEIGHTS_0"] =
      AddAccessor(model, weightView, 0, TINYGLTF_COMPONENT_TYPE_FLOAT, count, TINYGLTF_TYPE_VEC4);
}

// The skin over every joint, with their inverse bind matrices; its index.
int AddSkin(tinygltf::Model& model, BufferBuilder& buffer, const std::vector<GltfJoint>& joints) {
  const std::vector<std::array<float, 16>> matrices = InverseBindMatrices(joints);
  const int view = buffer.AddView(matrices.data(), matrices.size() * sizeof(matrices[0]), 0, 0);
  tinygltf::Skin skin;
  skin.name = "skeleton";
  skin.inverseBindMatrices = AddAccessor(model, view, 0, TINYGLTF_COMPONENT_TYPE_FLOAT,
                                         matrices.size(), TINYGLTF_TYPE_MAT4);
  int roots = 0;
  for (std::size_t j = 0; j < joints.size(); ++j) {
    skin.joints.push_back(static_cast<int>(j));
    if (joints[j].parent < 0) {
      ++roots;
      skin.skeleton = static_cast<int>(j);
    }
  }
  if (roots != 1) skin.skeleton = -1;
  model.skins.push_back(skin);
  return static_cast<int>(model.skins.size() - 1);
}

}  // namespace

GltfFiles WriteGltf(const GltfScene& scene, const GltfFileOptions& options) {
  tinygltf::Model model;
  model.asset.version = "2.0";
  model.asset.generator = "Tovmar";
  BufferBuilder buffer(model, options);
  tinygltf::Scene out;

  // The joints are the first nodes, in order, so that a joint's index is its node's.
  for (const GltfJoint& joint : scene.joints) {
    tinygltf::Node& node = model.nodes.emplace_back();
    node.name = joint.name;
    Place(node, joint.local);
  }
  for (std::size_t j = 0; j < scene.joints.size(); ++j) {
    const int parent = scene.joints[j].parent;
    if (parent >= static_cast<int>(j)) {
      throw ExchangeError("joint '" + scene.joints[j].name + "' comes before its parent");
    }
    if (parent < 0) {
      out.nodes.push_back(static_cast<int>(j));
    } else {
      model.nodes[static_cast<std::size_t>(parent)].children.push_back(static_cast<int>(j));
    }
  }

  bool skinned = false;
  for (const GltfPart& part : scene.parts) {
    const int material = AddMaterial(model, buffer, part.texturePng, part.mesh.name);
    tinygltf::Mesh mesh = MakeMesh(model, buffer, part.mesh, material);
    if (!part.skin.empty()) {
      AddSkinAttributes(model, buffer, part, scene.joints.size(), mesh.primitives[0]);
      skinned = true;
    }
    model.meshes.push_back(mesh);
  }
  const int skin = skinned ? AddSkin(model, buffer, scene.joints) : -1;

  for (const GltfInstance& instance : scene.instances) {
    if (instance.part >= scene.parts.size() ||
        instance.joint >= static_cast<int>(scene.joints.size())) {
      throw ExchangeError("instance '" + instance.name + "' names a part or joint the scene lacks");
    }
    const bool hasSkin = !scene.parts[instance.part].skin.empty();
    if (hasSkin && instance.joint >= 0) {
      throw ExchangeError("skinned part '" + instance.name + "' cannot hang under a joint");
    }
    const int index = static_cast<int>(model.nodes.size());
    tinygltf::Node& node = model.nodes.emplace_back();
    node.name = instance.name;
    node.mesh = static_cast<int>(instance.part);
    if (hasSkin) {
      node.skin = skin;
    } else {
      Place(node, instance.local);
    }
    if (instance.joint < 0) {
      out.nodes.push_back(index);
    } else {
      model.nodes[static_cast<std::size_t>(instance.joint)].children.push_back(index);
    }
  }
  model.scenes.push_back(out);
  model.defaultScene = 0;
  return buffer.Write();
}

}  // namespace tovmar
