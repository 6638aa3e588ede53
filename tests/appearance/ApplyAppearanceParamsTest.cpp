#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "appearance/CNumber.h"
#include "appearance/LoadAppearance.h"
#include "mesh/LlmMesh.h"
#include "mesh/SceneStore.h"
#include "tests/appearance/AppearanceFixtures.h"
#include "tools/LlmWriter.h"

namespace tovmar {
namespace {

// A mesh record with one morph target per name, each moving its own vertex along +X.
LlmMesh MeshWithTargets(const std::vector<std::string>& names) {
  LlmMesh mesh;
  const auto n = static_cast<std::uint16_t>(names.size() + 2);
  mesh.numVertices = n;
  for (std::uint16_t i = 0; i < n; ++i) {
    mesh.coords.push_back({static_cast<float>(i), 0.0f, 0.0f});
    mesh.normals.push_back({0.0f, 0.0f, 1.0f});
    mesh.texCoords.push_back({0.0f, 0.0f});
  }
  mesh.numFaces = 1;
  mesh.faces = {0, 1, 2};
  for (std::size_t k = 0; k < names.size(); ++k) {
    MorphVertex record;
    record.vertexIndex = static_cast<std::int32_t>(k);
    record.coordDelta = {1.0f, 0.0f, 0.0f};
    mesh.morphTargets.push_back(MakeMorphTarget(names[k], {record}));
  }
  return mesh;
}

std::vector<float> Weights(const LlmMesh& mesh) {
  std::vector<float> weights;
  for (const MorphTarget& t : mesh.morphTargets) weights.push_back(t.weight);
  return weights;
}

TEST(ApplyAppearanceParamsTest, NamesMatchAfterLowerCasingBothSides) {
  LlmMesh mesh = MeshWithTargets({"morph_a", "MORPH_A", "Morph_B"});
  ParamTable params{{1, "Morph_A", 0.5f}, {2, "morph_b", 0.25f}};
  EXPECT_EQ(mesh.ApplyAppearanceParams(params), 3);
  EXPECT_EQ(Weights(mesh), (std::vector<float>{0.5f, 0.5f, 0.25f}));
  // The records' names are lower-cased in the table itself.
  EXPECT_EQ(params[0].name, "morph_a");
}

TEST(ApplyAppearanceParamsTest, OnlyAToZChangeCase) {
  // A Latin-1 name decodes to "Ärm"; "ärm" differs in a letter outside A-Z and does not match.
  LlmMesh mesh = MeshWithTargets({"\xC4rm", "\xC4RM"});
  ParamTable params{{1, "\xC3\xA4rm", 0.5f}, {2, "\xC3\x84Rm", 0.25f}};
  EXPECT_EQ(mesh.ApplyAppearanceParams(params), 2);
  EXPECT_EQ(Weights(mesh), (std::vector<float>{0.25f, 0.25f}));
}

TEST(ApplyAppearanceParamsTest, TheFirstMatchingRecordWins) {
  LlmMesh mesh = MeshWithTargets({"a"});
  ParamTable params{{1, "A", 0.75f}, {2, "a", -1.0f}};
  EXPECT_EQ(mesh.ApplyAppearanceParams(params), 1);
  EXPECT_EQ(mesh.morphTargets[0].weight, 0.75f);
}

TEST(ApplyAppearanceParamsTest, ValuesAreStoredBitForBitWithoutClamping) {
  LlmMesh mesh = MeshWithTargets({"big", "small", "tiny"});
  const float denormal = std::bit_cast<float>(std::uint32_t{0x00000123});
  ParamTable params{{1, "big", 3.5f}, {2, "small", -7.25f}, {3, "tiny", denormal}};
  mesh.ApplyAppearanceParams(params);
  EXPECT_EQ(mesh.morphTargets[0].weight, 3.5f);
  EXPECT_EQ(mesh.morphTargets[1].weight, -7.25f);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(mesh.morphTargets[2].weight), 0x00000123u);
}

// Values that are not finite numbers, as the file's texts read, are no weights: the record is
// passed over and the weight stays, unless a later record names the target with a number.
TEST(ApplyAppearanceParamsTest, ValuesThatAreNotFiniteNumbersAreIgnored) {
  for (const char* text : {"nan", "inf", "-infinity", "1e39", "-1e39"}) {
    SCOPED_TRACE(text);
    LlmMesh mesh = MeshWithTargets({"a", "b"});
    mesh.morphTargets[0].weight = 0.5f;
    ParamTable params{{1, "a", ReadCFloat(text)}, {2, "b", ReadCFloat(text)}, {3, "B", 1.5f}};
    EXPECT_EQ(mesh.ApplyAppearanceParams(params), 1);
    EXPECT_EQ(Weights(mesh), (std::vector<float>{0.5f, 1.5f}));
  }
}

TEST(ApplyAppearanceParamsTest, UnnamedTargetsKeepTheirWeights) {
  LlmMesh mesh = MeshWithTargets({"a", "b", "c"});
  mesh.morphTargets[1].weight = 0.7f;
  mesh.morphTargets[2].weight = -0.3f;
  ParamTable params{{1, "a", 1.0f}, {2, "unknown", 2.0f}};
  EXPECT_EQ(mesh.ApplyAppearanceParams(params), 1);
  EXPECT_EQ(Weights(mesh), (std::vector<float>{1.0f, 0.7f, -0.3f}));
}

// A loaded mesh as the mesh load command leaves it: the visible object 0 and the hidden,
// undeformed object 1, in a store of the test's own.
class LoadAppearanceTest : public AppearanceFileTest {
 protected:
  LoadAppearanceTest() : mesh(MeshWithTargets({"morph_a", "morph_b"})) {
    for (const bool visible : {true, false}) {
      MeshObject* object = store.FindMesh(store.CreateMesh());
      object->Build(mesh.numVertices, mesh.coords.data(), mesh.numFaces * 3, mesh.faces.data(),
                    mesh.normals.data(), mesh.texCoords.data());
      object->SetVisible(visible);
    }
  }

  // How far the visible object's vertex k stands from its undeformed place, along X.
  float Offset(std::size_t k) {
    return store.GetMesh(0)->positions[k].x - store.GetMesh(1)->positions[k].x;
  }

  LlmMesh mesh;
  SceneStore store;
};

TEST_F(LoadAppearanceTest, SetsTheNamedWeightsAndRebuildsTheVisibleMesh) {
  const std::string path =
      folder.Write("a.xml", Archetype("<param id='1' name='MORPH_A' value='0.5'/>\n"));
  EXPECT_TRUE(LoadAppearance(path, mesh, store, false));
  EXPECT_EQ(Weights(mesh), (std::vector<float>{0.5f, 0.0f}));
  // Positions were scaled by 5 when the objects were built.
  EXPECT_FLOAT_EQ(Offset(0), 2.5f);
  EXPECT_FLOAT_EQ(Offset(1), 0.0f);
}

TEST_F(LoadAppearanceTest, RecordsThatMatchNothingStillRebuildTheVisibleMesh) {
  // A weight set without a rebuild shows only once the mesh is rebuilt.
  mesh.morphTargets[1].weight = 1.0f;
  const std::string path =
      folder.Write("a.xml", Archetype("<param id='1' name='nothing' value='0.5'/>\n"));
  EXPECT_TRUE(LoadAppearance(path, mesh, store, false));
  EXPECT_EQ(Weights(mesh), (std::vector<float>{0.0f, 1.0f}));
  EXPECT_FLOAT_EQ(Offset(1), 5.0f);
}

TEST_F(LoadAppearanceTest, NoRecordsChangeNothing) {
  mesh.morphTargets[0].weight = 1.0f;
  EXPECT_FALSE(LoadAppearance(folder.File("missing.xml"), mesh, store, false));
  EXPECT_FALSE(LoadAppearance(folder.Write("a.xml", Archetype("")), mesh, store, false));
  EXPECT_EQ(Weights(mesh), (std::vector<float>{1.0f, 0.0f}));
  EXPECT_FLOAT_EQ(Offset(0), 0.0f);
  EXPECT_TRUE(messages.messages.empty());
}

}  // namespace
}  // namespace tovmar
