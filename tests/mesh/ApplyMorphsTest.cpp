// The morph deformation: the visible object rebuilt from the hidden copy plus weighted deltas.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "mesh/ApplyMorphs.h"
#include "mesh/LlmMesh.h"
#include "mesh/SceneStore.h"
#include "tests/mesh/MeshFixtures.h"
#include "tests/support/RecordingMessageSink.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

const char kIndexOutOfRange[] = "インデックス数上限を超えています";

// A store holding the visible and the hidden object built from `mesh`, as a mesh load leaves it.
class ApplyMorphsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mesh = MakeSampleMesh();
    mesh.morphTargets.clear();
    for (int i = 0; i < 2; ++i) {
      MeshObject* o = store.FindMesh(store.CreateMesh());
      o->Build(mesh.numVertices, mesh.coords.data(), mesh.numFaces * 3, mesh.faces.data(),
               mesh.normals.data(), mesh.texCoords.data());
    }
  }

  MeshObject& Visible() { return *store.GetMesh(0); }
  MeshObject& Hidden() { return *store.GetMesh(1); }

  void ExpectVisibleEqualsHidden() {
    EXPECT_EQ(Visible().positions, Hidden().positions);
    EXPECT_EQ(Visible().normals, Hidden().normals);
    EXPECT_EQ(Visible().texCoords, Hidden().texCoords);
  }

  // Moves every array of the visible object away from the hidden copy.
  void DisturbVisible() {
    for (Vec3& p : Visible().positions) p.x += 100.0f;
    for (Vec3& n : Visible().normals) n.y += 100.0f;
    for (Vec2& t : Visible().texCoords) t.u += 100.0f;
  }

  RecordingMessageSink messages;
  SceneStore store;
  LlmMesh mesh;
};

TEST_F(ApplyMorphsTest, AllWeightsZeroGiveTheHiddenCopy) {
  mesh.morphTargets.push_back(MakeMorphTarget("Smile", {Record(1, {1, 1, 1}, {1, 1, 1}, {1, 1})}));
  DisturbVisible();
  ApplyMorphs(mesh, store, true);
  ExpectVisibleEqualsHidden();
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ApplyMorphsTest, WeightedRecordMovesPositionNormalAndOnlyOnRequestTexCoord) {
  mesh.morphTargets.push_back(
      MakeMorphTarget("Smile", {Record(2, {1, 0, 0}, {0, 1, 0}, {0.2f, 0.4f})}));
  mesh.morphTargets[0].weight = 0.5f;
  const Vec3 position = Hidden().positions[2];
  const Vec3 normal = Hidden().normals[2];
  const Vec2 texCoord = Hidden().texCoords[2];
  const Vec3 center = Visible().center;

  ApplyMorphs(mesh, store, false);
  EXPECT_FLOAT_EQ(Visible().positions[2].x, position.x + 2.5f);
  EXPECT_EQ(Visible().positions[2].y, position.y);
  EXPECT_EQ(Visible().positions[2].z, position.z);
  EXPECT_EQ(Visible().normals[2].x, normal.x);
  EXPECT_FLOAT_EQ(Visible().normals[2].y, normal.y + 0.5f);
  EXPECT_EQ(Visible().texCoords[2], texCoord);
  EXPECT_EQ(Visible().positions[1], Hidden().positions[1]);

  ApplyMorphs(mesh, store, true);
  EXPECT_FLOAT_EQ(Visible().positions[2].x, position.x + 2.5f);
  EXPECT_FLOAT_EQ(Visible().texCoords[2].u, texCoord.u - 0.1f);
  EXPECT_FLOAT_EQ(Visible().texCoords[2].v, texCoord.v - 0.2f);
  EXPECT_EQ(Visible().texCoords[3], Hidden().texCoords[3]);
  EXPECT_EQ(Visible().center, center);
  EXPECT_EQ(Visible().flags, 0x10000004u);
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ApplyMorphsTest, TargetsAddUpAndRepeatedRunsGiveTheSameResult) {
  mesh.morphTargets.push_back(MakeMorphTarget("Up", {Record(0, {0, 0, 1})}));
  mesh.morphTargets.push_back(MakeMorphTarget("Out", {Record(0, {1, 0, 2}), Record(3, {1, 0, 0})}));
  mesh.morphTargets[0].weight = 1.0f;
  mesh.morphTargets[1].weight = -0.5f;
  const Vec3 base = Hidden().positions[0];

  ApplyMorphs(mesh, store, true);
  const std::vector<Vec3> once = Visible().positions;
  EXPECT_FLOAT_EQ(once[0].x, base.x - 2.5f);
  EXPECT_FLOAT_EQ(once[0].z, base.z);  // +5 from "Up", -5 from "Out"
  EXPECT_FLOAT_EQ(once[3].x, Hidden().positions[3].x - 2.5f);

  ApplyMorphs(mesh, store, true);
  EXPECT_EQ(Visible().positions, once);

  // Back to zero weights: back to the undeformed shape.
  mesh.morphTargets[0].weight = 0.0f;
  mesh.morphTargets[1].weight = 0.0f;
  ApplyMorphs(mesh, store, true);
  ExpectVisibleEqualsHidden();
}

TEST_F(ApplyMorphsTest, RecordsOutsideTheMeshAreSkippedWithOneMessagePerRun) {
  MorphRecords records;
  for (int i = 0; i < 50; ++i) {
    records.push_back(Record(mesh.numVertices, {1, 1, 1}, {1, 1, 1}));
    records.push_back(Record(-1, {1, 1, 1}, {1, 1, 1}));
  }
  records.push_back(Record(1, {0, 1, 0}));
  mesh.morphTargets.push_back(MakeMorphTarget("Broken", records));
  mesh.morphTargets.push_back(MakeMorphTarget("AlsoBroken", {Record(1000, {1, 0, 0})}));
  mesh.morphTargets[0].weight = 1.0f;

  ApplyMorphs(mesh, store, true);
  EXPECT_EQ(messages.messages, std::vector<std::string>{kIndexOutOfRange});
  // The good record still applies; nothing else moved.
  EXPECT_FLOAT_EQ(Visible().positions[1].y, Hidden().positions[1].y + 5.0f);
  EXPECT_EQ(Visible().positions[0], Hidden().positions[0]);
  EXPECT_EQ(Visible().normals, Hidden().normals);

  // The message comes again on every run, whatever the weights.
  mesh.morphTargets[0].weight = 0.0f;
  ApplyMorphs(mesh, store, false);
  EXPECT_EQ(messages.messages.size(), 2u);
  ExpectVisibleEqualsHidden();
}

TEST_F(ApplyMorphsTest, DoesNothingWithoutBothObjects) {
  mesh.morphTargets.push_back(MakeMorphTarget("Smile", {Record(1, {1, 0, 0}), Record(-1, {})}));
  mesh.morphTargets[0].weight = 1.0f;

  // Only the visible object: it is neither reset nor deformed.
  store.RemoveMesh(Hidden().header.id);
  DisturbVisible();
  const std::vector<Vec3> disturbed = Visible().positions;
  ApplyMorphs(mesh, store, true);
  EXPECT_EQ(Visible().positions, disturbed);

  store.RemoveMesh(Visible().header.id);
  ApplyMorphs(mesh, store, true);
  EXPECT_EQ(store.MeshCount(), 0u);
  EXPECT_TRUE(messages.messages.empty());
}

// The counts are the arrays' own: an object whose arrays are shorter than the deformation needs
// leaves the visible object as it is rather than be read or written past its end.
TEST_F(ApplyMorphsTest, ArraysShorterThanTheVisiblePositionsLeaveItAsItIs) {
  const std::vector<std::pair<const char*, std::function<void()>>> cases = {
      {"hidden positions", [this] { Hidden().positions.pop_back(); }},
      {"hidden normals", [this] { Hidden().normals.pop_back(); }},
      {"visible normals", [this] { Visible().normals.pop_back(); }},
  };
  for (const auto& [name, shorten] : cases) {
    SCOPED_TRACE(name);
    while (store.MeshCount() > 0) store.RemoveMesh(store.GetMesh(0)->header.id);
    SetUp();
    mesh.morphTargets.push_back(MakeMorphTarget("Smile", {Record(1, {1, 0, 0})}));
    mesh.morphTargets[0].weight = 1.0f;
    shorten();
    DisturbVisible();
    const std::vector<Vec3> positions = Visible().positions;
    ApplyMorphs(mesh, store, true);
    EXPECT_EQ(Visible().positions, positions);
  }
}

}  // namespace
}  // namespace tovmar
