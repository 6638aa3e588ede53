// The drawable mesh object: its state when made, how Build fills, centres and scales it, and its
// texture reference.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "mesh/MeshObject.h"

namespace tovmar {
namespace {

TEST(MeshObject, StartsEmptyVisibleAndNamedAfterItsId) {
  const MeshObject first;
  const MeshObject second;
  EXPECT_EQ(second.header.id, first.header.id + 1);
  EXPECT_EQ(first.header.name, "Mesh " + std::to_string(first.header.id));
  EXPECT_EQ(first.header.marker, 0);
  EXPECT_EQ(first.drawStyle, 1);
  EXPECT_TRUE(first.positions.empty());
  EXPECT_TRUE(first.normals.empty());
  EXPECT_TRUE(first.texCoords.empty());
  EXPECT_TRUE(first.indices.empty());
  EXPECT_EQ(first.PositionCount(), 0);
  EXPECT_EQ(first.NormalCount(), 0);
  EXPECT_EQ(first.TexCoordCount(), 0);
  EXPECT_EQ(first.IndexCount(), 0);
  EXPECT_EQ(first.extraTextureId, -1);
  EXPECT_EQ(first.textureId, -1);
  EXPECT_EQ(first.rotation, (Vec3{0, 0, 0}));
  EXPECT_EQ(first.translation, (Vec3{0, 0, 0}));
  EXPECT_EQ(first.scale, (Vec3{1, 1, 1}));
  EXPECT_EQ(first.center, (Vec3{0, 0, 0}));
  EXPECT_EQ(first.flags, 0x10000004u);
  EXPECT_TRUE(first.IsVisible());
}

TEST(MeshObject, BuildCentresOnTheMeanAndScalesByFive) {
  // File positions with the mean (1, 2, 3).
  const std::vector<Vec3> positions{{2, 2, 3}, {0, 2, 3}, {1, 4, 3}, {1, 0, 3}};
  const std::vector<Vec3> normals{{0, 0, 1}, {0, 1, 0}, {1, 0, 0}, {0, 0, -1}};
  const std::vector<Vec2> texCoords{{0, 0}, {1, 0}, {0, 1}, {0.5f, 0.5f}};
  const std::vector<std::uint16_t> indices{0, 1, 2, 2, 1, 3};

  MeshObject o;
  o.drawStyle = 7;
  EXPECT_EQ(o.Build(4, positions.data(), 6, indices.data(), normals.data(), texCoords.data()),
            o.header.id);
  EXPECT_EQ(o.center, (Vec3{1, 2, 3}));
  EXPECT_EQ(o.positions, (std::vector<Vec3>{{5, 0, 0}, {-5, 0, 0}, {0, 10, 0}, {0, -10, 0}}));
  EXPECT_EQ(o.normals, normals);
  EXPECT_EQ(o.texCoords, texCoords);
  EXPECT_EQ(o.indices, (std::vector<std::int32_t>{0, 1, 2, 2, 1, 3}));
  EXPECT_EQ(o.PositionCount(), 4);
  EXPECT_EQ(o.NormalCount(), 4);
  EXPECT_EQ(o.TexCoordCount(), 4);
  EXPECT_EQ(o.IndexCount(), 6);
  EXPECT_EQ(o.drawStyle, 1);
  EXPECT_EQ(o.flags, 0x10000004u);
}

TEST(MeshObject, BuildWidensIndicesWithoutSign) {
  const std::int32_t count = 40001;
  const std::vector<Vec3> positions(count);
  const std::vector<std::uint16_t> indices{0, 39999, 40000};
  MeshObject o;
  o.Build(count, positions.data(), 3, indices.data(), positions.data(), nullptr);
  EXPECT_EQ(o.indices, (std::vector<std::int32_t>{0, 39999, 40000}));
}

TEST(MeshObject, BuildLeavesOutTrianglesThatNameMissingVertices) {
  const std::vector<Vec3> positions{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  // The second triangle names vertex 3 of 3; the trailing pair is no triangle at all.
  const std::vector<std::uint16_t> indices{0, 1, 2, 0, 3, 1, 2, 1, 0, 65535, 1, 2, 1, 2};
  MeshObject o;
  o.Build(3, positions.data(), static_cast<std::int32_t>(indices.size()), indices.data(),
          positions.data(), nullptr);
  EXPECT_EQ(o.indices, (std::vector<std::int32_t>{0, 1, 2, 2, 1, 0}));
  EXPECT_EQ(o.IndexCount(), 6);
}

TEST(MeshObject, BuildWithoutTexCoordsOrVertices) {
  const std::vector<Vec3> positions{{2, 2, 3}, {0, 2, 3}};
  MeshObject o;
  o.Build(2, positions.data(), 0, nullptr, positions.data(), nullptr);
  EXPECT_TRUE(o.texCoords.empty());
  EXPECT_EQ(o.TexCoordCount(), 0);
  EXPECT_EQ(o.PositionCount(), 2);
  EXPECT_EQ(o.IndexCount(), 0);
  EXPECT_EQ(o.center, (Vec3{1, 2, 3}));

  // Rebuilding without vertices frees every array and takes the origin as centre.
  o.Build(0, nullptr, 0, nullptr, nullptr, nullptr);
  EXPECT_EQ(o.center, (Vec3{0, 0, 0}));
  EXPECT_EQ(o.PositionCount(), 0);
  EXPECT_TRUE(o.positions.empty());
  EXPECT_FALSE(o.ComputeCenter());
}

TEST(MeshObject, AllocateArraysAndFreeArrays) {
  MeshObject o;
  EXPECT_TRUE(o.AllocateArrays(3, 0));
  EXPECT_EQ(o.PositionCount(), 3);
  EXPECT_EQ(o.NormalCount(), 3);
  EXPECT_EQ(o.TexCoordCount(), 3);
  EXPECT_EQ(o.IndexCount(), 0);
  EXPECT_TRUE(o.indices.empty());
  EXPECT_EQ(o.texCoords, std::vector<Vec2>(3));

  EXPECT_TRUE(o.AllocateArrays(2, 6));
  EXPECT_EQ(o.positions.size(), 2u);
  EXPECT_EQ(o.indices.size(), 6u);
  EXPECT_EQ(o.IndexCount(), 6);

  o.FreeArrays();
  EXPECT_TRUE(o.positions.empty());
  EXPECT_TRUE(o.indices.empty());
  EXPECT_EQ(o.PositionCount() + o.NormalCount() + o.TexCoordCount() + o.IndexCount(), 0);
}

TEST(MeshObject, TextureIdAndVisibility) {
  MeshObject o;
  EXPECT_EQ(o.SetTextureId(5), -1);
  EXPECT_EQ(o.GetTextureId(), 5);
  EXPECT_EQ(o.SetTextureId(7), 5);
  EXPECT_EQ(o.GetTextureId(), 7);

  o.flags |= MeshObject::kTextureDisabled;
  o.SetVisible(false);
  EXPECT_FALSE(o.IsVisible());
  EXPECT_EQ(o.flags, 0x01000004u);
  o.SetVisible(true);
  EXPECT_EQ(o.flags, 0x11000004u);
}

}  // namespace
}  // namespace tovmar
