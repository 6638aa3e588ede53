// The deformation that recomputes only the vertices of changed targets: after every change of
// weights it must leave exactly the bits of a full rebuild.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "mesh/ApplyMorphs.h"
#include "mesh/LlmMesh.h"
#include "mesh/MorphDeformer.h"
#include "mesh/SceneStore.h"
#include "tests/mesh/MeshFixtures.h"
#include "tests/support/RecordingMessageSink.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

const char kIndexOutOfRange[] = "インデックス数上限を超えています";
constexpr int kVertices = 300;
constexpr int kTargets = 8;
constexpr float kTiny = std::numeric_limits<float>::denorm_min();

// Random deltas over a few vertices, so that records of several targets (and several records of
// one target) meet on the same vertex, where the order of additions shows in the last bits.
LlmMesh MakeCrowdedMesh() {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> value(-1.0f, 1.0f);
  std::uniform_int_distribution<int> vertex(0, kVertices - 1);
  LlmMesh m;
  m.numVertices = kVertices;
  for (int i = 0; i < kVertices; ++i) {
    m.coords.push_back({value(random), value(random), value(random)});
    m.normals.push_back({value(random), -0.0f, value(random)});
    m.texCoords.push_back({-0.0f, value(random)});
  }
  m.numFaces = 1;
  m.faces = {0, 1, 2};
  for (int t = 0; t < kTargets; ++t) {
    MorphRecords records;
    for (int i = 0; i < 120; ++i) {
      records.push_back(Record(vertex(random), {value(random), value(random), value(random)},
                               {value(random), value(random), value(random)},
                               {value(random), value(random)}));
    }
    m.morphTargets.push_back(MakeMorphTarget("T" + std::to_string(t), std::move(records)));
  }
  return m;
}

void BuildObjects(const LlmMesh& m, SceneStore& store) {
  for (int i = 0; i < 2; ++i) {
    MeshObject* o = store.FindMesh(store.CreateMesh());
    o->Build(m.numVertices, m.coords.data(), m.numFaces * 3, m.faces.data(), m.normals.data(),
             m.texCoords.data());
  }
}

template <typename T>
bool SameBits(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0;
}

void ExpectSameBits(SceneStore& fast, SceneStore& full, int step) {
  EXPECT_TRUE(SameBits(fast.GetMesh(0)->positions, full.GetMesh(0)->positions)) << step;
  EXPECT_TRUE(SameBits(fast.GetMesh(0)->normals, full.GetMesh(0)->normals)) << step;
  EXPECT_TRUE(SameBits(fast.GetMesh(0)->texCoords, full.GetMesh(0)->texCoords)) << step;
}

// Weights of targets 0 to 7 per step: single changes (the drag), changes back to zero, negative,
// tiny and negative-zero weights, and a change of nearly everything.
const std::vector<std::vector<float>> kSteps = {
    {0, 0, 0, 0, 0, 0, 0, 0},
    {0.5f, 0, 0, 0, 0, 0, 0, 0},
    {0.5f, -1.25f, 0, 0, 0, 0, 0, 0},
    {0.5f, -1.25f, kTiny, 0, 0, 0, 0, 0},
    {0.5f, -1.25f, kTiny, -0.0f, 0, 0, 0, 0},
    {0, -1.25f, kTiny, -0.0f, 0, 0, 0, 0},
    {0, -1.3f, kTiny, -0.0f, 0, 0, 0, 0},
    {2, -2, 1e-30f, 0.1f, -0.1f, 1.5f, -0.75f, 0.3f},
    {2, -2, 1e-30f, 0.1f, -0.1f, 1.5f, -0.7f, 0.3f},
    {2, -2, 1e-30f, 0.1f, 0, 1.5f, -0.7f, 0.3f},
    {0, 0, 0, 0, 0, 0, 0, 0},
};

TEST(MorphDeformerTest, EveryStepEqualsTheFullRebuildBitForBit) {
  for (const bool applyTexCoords : {false, true}) {
    LlmMesh mesh = MakeCrowdedMesh();
    SceneStore fast;
    SceneStore full;
    BuildObjects(mesh, fast);
    BuildObjects(mesh, full);
    MorphDeformer deformer;
    for (std::size_t s = 0; s < kSteps.size(); ++s) {
      for (int t = 0; t < kTargets; ++t) mesh.morphTargets[t].weight = kSteps[s][t];
      deformer.Apply(mesh, fast, applyTexCoords);
      ApplyMorphs(mesh, full, applyTexCoords);
      ExpectSameBits(fast, full, static_cast<int>(s));
    }
  }
}

TEST(MorphDeformerTest, ZeroWeightsAddNothingNotEvenToNegativeZero) {
  LlmMesh mesh = MakeCrowdedMesh();
  SceneStore store;
  BuildObjects(mesh, store);
  MorphDeformer deformer;
  mesh.morphTargets[0].weight = 1.0f;
  deformer.Apply(mesh, store, true);
  mesh.morphTargets[0].weight = 0.0f;
  deformer.Apply(mesh, store, true);
  EXPECT_TRUE(SameBits(store.GetMesh(0)->normals, store.GetMesh(1)->normals));
  EXPECT_TRUE(SameBits(store.GetMesh(0)->texCoords, store.GetMesh(1)->texCoords));
  EXPECT_TRUE(std::signbit(store.GetMesh(0)->normals[0].y));
}

TEST(MorphDeformerTest, ARecordOutsideTheMeshShowsTheMessageEveryRunWhateverItsWeight) {
  RecordingMessageSink messages;
  LlmMesh mesh = MakeCrowdedMesh();
  mesh.morphTargets.push_back(MakeMorphTarget("Bad", {Record(kVertices, {1, 1, 1})}));
  SceneStore store;
  BuildObjects(mesh, store);
  MorphDeformer deformer;
  for (const float w : {0.0f, 0.25f, 0.5f}) {
    mesh.morphTargets[0].weight = w;
    deformer.Apply(mesh, store, false);
  }
  EXPECT_EQ(messages.messages, std::vector<std::string>(3, kIndexOutOfRange));
}

TEST(MorphDeformerTest, ANewlyLoadedMeshIsRebuiltInFull) {
  LlmMesh mesh = MakeCrowdedMesh();
  SceneStore store;
  BuildObjects(mesh, store);
  MorphDeformer deformer;
  mesh.morphTargets[3].weight = 1.0f;
  deformer.Apply(mesh, store, true);
  // The mesh is loaded again: new objects, the same weights.
  store.RemoveMesh(store.GetMesh(0)->header.id);
  store.RemoveMesh(store.GetMesh(0)->header.id);
  BuildObjects(mesh, store);
  deformer.Apply(mesh, store, true);
  SceneStore full;
  BuildObjects(mesh, full);
  ApplyMorphs(mesh, full, true);
  ExpectSameBits(store, full, 0);
}

}  // namespace
}  // namespace tovmar
