#include "tools/SampleParts.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "tools/SampleBody.h"
#include "tools/SampleMesh.h"

namespace tovmar::sample {

namespace {

// The vertices of `whole` in `regions`, with the triangles, target records and remaps among them.
LlmMesh CutPart(const LlmMesh& whole, const SampleBody& body,
                std::initializer_list<BodyRegion> regions) {
  // New index of each kept vertex; -1 for the others.
  std::vector<std::int32_t> index(whole.coords.size(), -1);
  LlmMesh part;
  part.header = whole.header;
  part.hasWeights = whole.hasWeights;
  part.scale = whole.scale;
  for (std::size_t i = 0; i < whole.coords.size(); ++i) {
    if (std::find(regions.begin(), regions.end(), body.regions[i]) == regions.end()) continue;
    index[i] = static_cast<std::int32_t>(part.coords.size());
    part.coords.push_back(whole.coords[i]);
    part.normals.push_back(whole.normals[i]);
    part.binormals.push_back(whole.binormals[i]);
    part.texCoords.push_back(whole.texCoords[i]);
    part.weights.push_back(whole.weights[i]);
  }
  part.numVertices = static_cast<std::uint16_t>(part.coords.size());

  // The body's parts are closed surfaces of their own: a triangle is kept or left out whole.
  for (std::size_t t = 0; t + 2 < whole.faces.size(); t += 3) {
    if (index[whole.faces[t]] < 0) continue;
    for (std::size_t k = 0; k < 3; ++k) {
      part.faces.push_back(static_cast<std::uint16_t>(index[whole.faces[t + k]]));
    }
  }
  part.numFaces = static_cast<std::uint16_t>(part.faces.size() / 3);
  part.skinJointNames = whole.skinJointNames;
  part.numSkinJoints = whole.numSkinJoints;

  for (const MorphTarget& target : whole.morphTargets) {
    MorphTarget kept = target;
    kept.vertices.clear();
    for (MorphVertex record : target.vertices) {
      record.vertexIndex = index[static_cast<std::size_t>(record.vertexIndex)];
      if (record.vertexIndex >= 0) kept.vertices.push_back(record);
    }
    kept.numVertices = static_cast<std::int32_t>(kept.vertices.size());
    if (!kept.vertices.empty()) part.morphTargets.push_back(std::move(kept));
  }
  for (const VertexRemap& remap : whole.remaps) {
    const std::int32_t source = index[static_cast<std::size_t>(remap.source)];
    const std::int32_t destination = index[static_cast<std::size_t>(remap.destination)];
    if (source >= 0 && destination >= 0) part.remaps.push_back({source, destination});
  }
  part.numRemaps = static_cast<std::int32_t>(part.remaps.size());
  return part;
}

}  // namespace

std::vector<SamplePart> MakeSampleParts() {
  const LlmMesh whole = MakeSampleMesh();
  const SampleBody body = BuildSampleBody();
  std::vector<SamplePart> parts;
  parts.push_back({kSampleHeadFile, CutPart(whole, body, {BodyRegion::kHead})});
  parts.push_back({kSampleUpperFile, CutPart(whole, body, {BodyRegion::kTorso, BodyRegion::kArm})});
  parts.push_back({kSampleLowerFile, CutPart(whole, body, {BodyRegion::kLeg, BodyRegion::kFoot})});
  return parts;
}

}  // namespace tovmar::sample
