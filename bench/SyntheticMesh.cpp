#include "bench/SyntheticMesh.h"

#include <cmath>
#include <filesystem>

#include "base/FileBytes.h"

#include "tools/LlmWriter.h"

namespace tovmar::bench {

namespace {

// A small deterministic spread of values, so the arrays are not all equal.
float Wobble(int i, int period) {
  return static_cast<float>(i % period) / static_cast<float>(period);
}

}  // namespace

LlmMesh MakeSyntheticMesh() {
  LlmMesh m;
  m.hasWeights = 1;
  m.scale.Set(1.0f, 1.0f, 1.0f);
  m.numVertices = kSyntheticVertices;
  m.coords.resize(kSyntheticVertices);
  m.normals.resize(kSyntheticVertices);
  m.binormals.resize(kSyntheticVertices);
  m.texCoords.resize(kSyntheticVertices);
  m.weights.resize(kSyntheticVertices);
  for (int i = 0; i < kSyntheticVertices; ++i) {
    m.coords[i].Set(Wobble(i, 101), Wobble(i, 103), Wobble(i, 107));
    m.normals[i].Set(0.0f, Wobble(i, 7), 1.0f);
    m.binormals[i].Set(1.0f, 0.0f, Wobble(i, 5));
    m.texCoords[i] = {Wobble(i, 256), Wobble(i, 255)};
    m.weights[i] = {static_cast<std::uint8_t>(i), 0, 0, 0};
  }

  // Triangles over neighbouring vertices, every index inside the mesh.
  m.numFaces = kSyntheticFaces;
  m.faces.resize(std::size_t{kSyntheticFaces} * 3);
  for (int f = 0; f < kSyntheticFaces; ++f) {
    for (int c = 0; c < 3; ++c) {
      m.faces[std::size_t(f) * 3 + c] = static_cast<std::uint16_t>((f + c) % kSyntheticVertices);
    }
  }

  // Each target moves a strided region of the body, as a real morph moves one body part.
  for (int t = 0; t < kSyntheticTargets; ++t) {
    MorphRecords records(kSyntheticRecordsPerTarget);
    for (int r = 0; r < kSyntheticRecordsPerTarget; ++r) {
      MorphVertex& v = records[r];
      v.vertexIndex = (t * 317 + r * 3) % kSyntheticVertices;
      v.coordDelta.Set(Wobble(r, 11) * 0.01f, 0.002f, -0.001f);
      v.normalDelta.Set(0.0f, Wobble(r, 13) * 0.1f, 0.0f);
      v.binormalDelta.Set(0.0f, 0.0f, 0.1f);
      v.texCoordDelta = {0.001f, Wobble(r, 17) * 0.001f};
    }
    m.morphTargets.push_back(MakeMorphTarget("morph_" + std::to_string(t), std::move(records)));
  }
  return m;
}

LlmMesh MakeSyntheticSurfaceMesh() {
  // Each band of 128 columns round the cylinder holds 256 vertices, a lower and an upper one per
  // column; the band's last column meets its first at the seam, as a body's texture seam does.
  constexpr int kColumns = 128;
  constexpr int kBands = (kSyntheticVertices + 2 * kColumns - 1) / (2 * kColumns);
  constexpr float kRadius = 0.35f;
  constexpr float kHeight = 1.8f;
  constexpr float kTurn = 6.2831853f;
  LlmMesh m = MakeSyntheticMesh();
  for (int i = 0; i < kSyntheticVertices; ++i) {
    const int column = (i % (2 * kColumns)) / 2;
    const int row = i / (2 * kColumns) + i % 2;
    const float u = static_cast<float>(column) / static_cast<float>(kColumns - 1);
    const float v = static_cast<float>(row) / static_cast<float>(kBands);
    const float x = std::cos(u * kTurn);
    const float y = std::sin(u * kTurn);
    m.coords[i].Set(kRadius * x, kRadius * y, kHeight * (v - 0.5f));
    m.normals[i].Set(x, y, 0.0f);
    m.binormals[i].Set(-y, x, 0.0f);
    m.texCoords[i] = {u, v};
  }
  return m;
}

std::string RealLowerBodyPath() {
  const std::filesystem::path path =
      std::filesystem::path(TOVMAR_REALDATA_DIR) / "avatar_lower_body.llm";
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec) ? PathToUtf8(path) : std::string();
}

}  // namespace tovmar::bench
