// The two avatar meshes shipped by the virtual world's own tools, read, built and deformed.
#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <string>

#include "base/FileBytes.h"
#include "mesh/ApplyMorphs.h"
#include "mesh/LlmMesh.h"
#include "mesh/SceneStore.h"
#include "tests/mesh/MeshFixtures.h"
#include "tests/support/RecordingMessageSink.h"

namespace tovmar {
namespace {

struct RealMeshFacts {
  const char* caseName;
  const char* file;
  std::uintmax_t bytes;
  int vertices;
  int faces;
  int joints;
  std::size_t targets;
  int remaps;
  const char* firstJoint;
  const char* firstTarget;
  const char* lastTarget;
};

// Test listings name the file instead of dumping the record's bytes.
void PrintTo(const RealMeshFacts& facts, std::ostream* os) {
  *os << facts.file;
}

constexpr RealMeshFacts kLowerBody{.caseName = "LowerBody",
                                   .file = "avatar_lower_body.llm",
                                   .bytes = 337125,
                                   .vertices = 977,
                                   .faces = 1654,
                                   .joints = 7,
                                   .targets = 24,
                                   .remaps = 135,
                                   .firstJoint = "mAnkleLeft",
                                   .firstTarget = "Big_Belly_Legs",
                                   .lastTarget = "default_lowerbodyParallel"};
constexpr RealMeshFacts kEyelashes{.caseName = "Eyelashes",
                                   .file = "avatar_eyelashes.llm",
                                   .bytes = 65637,
                                   .vertices = 48,
                                   .faces = 46,
                                   .joints = 1,
                                   .targets = 34,
                                   .remaps = 2,
                                   .firstJoint = "mHead",
                                   .firstTarget = "Blink_Both",
                                   .lastTarget = "Wide_Eyes"};

class RealMeshTest : public ::testing::TestWithParam<RealMeshFacts> {
 protected:
  void SetUp() override {
    const std::filesystem::path folder(TOVMAR_REALDATA_DIR);
    if (!std::filesystem::is_directory(folder)) GTEST_SKIP() << "no real meshes in " << folder;
    m_path = PathToUtf8(folder / GetParam().file);
  }

  std::string m_path;
};

// File bytes that a record of these counts takes, morph section and remaps included.
std::uintmax_t FileSizeOf(const LlmMesh& m) {
  std::uintmax_t size = MorphSectionOffset(m) + 64 + 4 + 8 * std::uintmax_t(m.numRemaps);
  for (const MorphTarget& t : m.morphTargets) size += 64 + 4 + 48 * std::uintmax_t(t.numVertices);
  return size;
}

TEST_P(RealMeshTest, ReadsTheCountsAndNamesAndEveryByte) {
  const RealMeshFacts& facts = GetParam();
  LlmMesh m;
  m.Load(m_path);
  EXPECT_EQ(std::string(m.header.data()), "Linden Binary Mesh 1.0");
  EXPECT_NE(m.hasWeights, 0);
  EXPECT_EQ(m.hasDetailTexCoords, 0);
  EXPECT_EQ(m.numVertices, facts.vertices);
  EXPECT_EQ(m.numFaces, facts.faces);
  EXPECT_EQ(m.numSkinJoints, facts.joints);
  ASSERT_EQ(m.morphTargets.size(), facts.targets);
  EXPECT_EQ(m.numRemaps, facts.remaps);
  EXPECT_EQ(SlotText(m.skinJointNames.at(0)), facts.firstJoint);
  EXPECT_EQ(m.morphTargets.front().DisplayName(), facts.firstTarget);
  EXPECT_EQ(m.morphTargets.back().DisplayName(), facts.lastTarget);
  // The file ends exactly after the remap table, so nothing was cut or left over.
  EXPECT_EQ(FileSizeOf(m), facts.bytes);

  for (const std::uint16_t index : m.faces) EXPECT_LT(index, m.numVertices);
  for (const MorphTarget& t : m.morphTargets) {
    EXPECT_GT(t.numVertices, 0) << t.DisplayName();
    for (const MorphVertex& r : t.vertices) {
      EXPECT_GE(r.vertexIndex, 0);
      EXPECT_LT(r.vertexIndex, m.numVertices);
    }
  }
}

TEST_P(RealMeshTest, BuildsAndDeformsWithoutMessages) {
  LlmMesh m;
  m.Load(m_path);
  RecordingMessageSink messages;
  SceneStore store;
  for (int i = 0; i < 2; ++i) {
    store.FindMesh(store.CreateMesh())
        ->Build(m.numVertices, m.coords.data(), m.numFaces * 3, m.faces.data(), m.normals.data(),
                m.texCoords.data());
  }
  const MeshObject& visible = *store.GetMesh(0);
  const MeshObject& hidden = *store.GetMesh(1);
  EXPECT_EQ(visible.IndexCount(), m.numFaces * 3);

  for (MorphTarget& t : m.morphTargets) t.weight = 0.75f;
  ApplyMorphs(m, store, true);
  EXPECT_TRUE(messages.messages.empty());
  std::size_t moved = 0;
  for (std::size_t i = 0; i < visible.positions.size(); ++i) {
    if (!(visible.positions[i] == hidden.positions[i])) ++moved;
  }
  EXPECT_GT(moved, visible.positions.size() / 4);
}

std::string CaseName(const ::testing::TestParamInfo<RealMeshFacts>& p) {
  return p.param.caseName;
}

INSTANTIATE_TEST_SUITE_P(Shipped, RealMeshTest, ::testing::Values(kLowerBody, kEyelashes),
                         CaseName);

}  // namespace
}  // namespace tovmar
