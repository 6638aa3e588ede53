#include "tools/SampleMesh.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>
#include <string_view>

#include "tools/SampleBody.h"
#include "tools/SampleMorphs.h"

namespace tovmar::sample {

static_assert(std::endian::native == std::endian::little,
              "weight bytes are the little-endian bytes of a float");

namespace {

constexpr std::string_view kHeader = "Tovmar Sample Mesh 1.0";

// The joints, each with the band of heights of the torso that it carries.
struct Joint {
  const char* name;
  double low;
  double high;
};
constexpr Joint kJoints[] = {
    {"Pelvis", 0.0, 0.98}, {"Torso", 0.98, 1.2}, {"Chest", 1.2, 1.48},
    {"Neck", 1.48, 1.56},  {"Head", 1.56, 1.8},
};
constexpr int kPelvis = 0;
constexpr int kChest = 2;
constexpr int kHead = 4;

// A joint index plus a blend share in its fraction, stored as the 4 bytes of a float.
VertexWeight WeightBytes(int joint, double blend) {
  const float value = static_cast<float>(joint + blend);
  VertexWeight bytes;
  std::memcpy(bytes.data(), &value, sizeof value);
  return bytes;
}

// Torso vertices blend towards the neighbouring joint near the edges of their band; every other
// part hangs off one joint.
VertexWeight SkinWeight(BodyRegion region, double z) {
  switch (region) {
    case BodyRegion::kHead:
      return WeightBytes(kHead, 0.9);
    case BodyRegion::kArm:
      return WeightBytes(kChest, 0.9);
    case BodyRegion::kLeg:
    case BodyRegion::kFoot:
      return WeightBytes(kPelvis, 0.9);
    case BodyRegion::kTorso:
      break;
  }
  for (int j = 0; j < static_cast<int>(std::size(kJoints)); ++j) {
    const Joint& joint = kJoints[j];
    if (z < joint.high || j == kHead) {
      const double edge = std::min(z - joint.low, joint.high - z);
      return WeightBytes(j, 0.5 + 0.45 * std::clamp(edge / 0.05, 0.0, 1.0));
    }
  }
  return WeightBytes(kHead, 0.9);
}

}  // namespace

LlmMesh MakeSampleMesh() {
  const SampleBody body = BuildSampleBody();
  const BodyGeometry& g = body.geometry;
  assert(g.coords.size() < 65535 && g.faces.size() / 3 < 65535);

  LlmMesh mesh;
  std::copy(kHeader.begin(), kHeader.end(), mesh.header.begin());
  mesh.hasWeights = 1;
  mesh.hasDetailTexCoords = 0;
  mesh.scale = {1.0f, 1.0f, 1.0f};

  // Vertices.
  mesh.numVertices = static_cast<std::uint16_t>(g.coords.size());
  mesh.coords.assign(g.coords.begin(), g.coords.end());
  mesh.normals.assign(g.normals.begin(), g.normals.end());
  mesh.binormals.assign(g.binormals.begin(), g.binormals.end());
  mesh.texCoords.assign(g.texCoords.begin(), g.texCoords.end());
  for (std::size_t i = 0; i < g.coords.size(); ++i) {
    mesh.weights.push_back(SkinWeight(body.regions[i], g.coords[i].z));
  }

  // Triangles.
  mesh.numFaces = static_cast<std::uint16_t>(g.faces.size() / 3);
  mesh.faces = g.faces;

  // Joint names, zero-padded.
  for (const Joint& joint : kJoints) {
    NameSlot& slot = mesh.skinJointNames.emplace_back();
    std::strncpy(slot.data(), joint.name, 64);
  }
  mesh.numSkinJoints = static_cast<std::uint16_t>(mesh.skinJointNames.size());

  mesh.morphTargets = MakeSampleMorphs(body);

  // Each vertex of the texture seam repeats the position of the first vertex of its ring.
  for (const auto& [duplicate, original] : g.seamPairs) {
    mesh.remaps.push_back({duplicate, original});
  }
  mesh.numRemaps = static_cast<std::int32_t>(mesh.remaps.size());
  return mesh;
}

}  // namespace tovmar::sample
