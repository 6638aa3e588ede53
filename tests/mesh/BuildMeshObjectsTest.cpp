#include <gtest/gtest.h>

#include "mesh/MeshLoad.h"
#include "mesh/SceneStore.h"
#include "tests/support/FixtureMesh.h"

namespace tovmar::test {
namespace {

TEST(BuildMeshObjects, ReplacesEveryMeshObjectWithAVisibleAndAHiddenCopy) {
  SceneStore store;
  const std::int32_t textureId = store.CreateTexture();
  std::vector<std::int32_t> oldIds;
  for (int i = 0; i < 3; ++i) oldIds.push_back(store.CreateMesh());
  store.FindMesh(oldIds[1])->SetTextureId(textureId);

  const LlmMesh mesh = MakeFixtureMesh();
  BuildMeshObjects(mesh, store, "/some/mesh.llm");

  ASSERT_EQ(store.MeshCount(), 2u);
  EXPECT_EQ(store.TextureCount(), 0u) << "the texture of a removed object is released";
  for (const std::int32_t id : oldIds) EXPECT_EQ(store.FindMesh(id), nullptr);
  MeshObject* visible = store.GetMesh(0);
  MeshObject* hidden = store.GetMesh(1);
  EXPECT_TRUE(visible->IsVisible());
  EXPECT_FALSE(hidden->IsVisible());
  for (const MeshObject* object : {visible, hidden}) {
    EXPECT_EQ(object->header.name, "/some/mesh.llm");
    EXPECT_EQ(object->PositionCount(), 4);
    EXPECT_EQ(object->TexCoordCount(), 4);
    EXPECT_EQ(object->IndexCount(), 6);
  }
  EXPECT_EQ(visible->positions, hidden->positions);
  EXPECT_EQ(visible->texCoords, hidden->texCoords);
}

// A record whose arrays are shorter than its counts builds from what the arrays hold.
TEST(BuildMeshObjects, NeverReadsPastTheRecordsArrays) {
  SceneStore store;
  LlmMesh mesh = MakeFixtureMesh();
  mesh.coords.resize(3);
  mesh.texCoords.resize(2);
  mesh.faces.resize(4);
  BuildMeshObjects(mesh, store, "short");

  ASSERT_EQ(store.MeshCount(), 2u);
  const MeshObject* visible = store.GetMesh(0);
  EXPECT_EQ(visible->PositionCount(), 3);
  EXPECT_EQ(visible->TexCoordCount(), 0);
  EXPECT_EQ(visible->IndexCount(), 3);
}

}  // namespace
}  // namespace tovmar::test
