#include "render/ShownPositions.h"

#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "mesh/SceneStore.h"

namespace tovmar {
namespace {

MeshObject& AddObject(SceneStore& store, std::vector<Vec3> positions, bool visible) {
  MeshObject& object = *store.FindMesh(store.CreateMesh());
  object.numPositions = static_cast<std::int32_t>(positions.size());
  object.positions = std::move(positions);
  object.SetVisible(visible);
  return object;
}

TEST(ShownPositionsTest, FinitePositionsOfVisibleObjectsOnlyTurnedAsShown) {
  SceneStore store;
  EXPECT_TRUE(ShownPositions(store, Quaternion{}).empty());

  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  AddObject(store, {{-100, -100, -100}, {100, 100, 100}}, false);
  EXPECT_TRUE(ShownPositions(store, Quaternion{}).empty());
  AddObject(store, {{nan, 0, 0}, {0, inf, 0}}, true);
  EXPECT_TRUE(ShownPositions(store, Quaternion{}).empty());

  // Counted positions only: a count below the array's length leaves the rest out.
  MeshObject& body = AddObject(store, {{1, -2, 3}, {-1, 4, 0.5f}, {0, 0, 9}, {50, 50, 50}}, true);
  body.numPositions = 3;
  EXPECT_EQ(ShownPositions(store, Quaternion{}),
            (std::vector<Vec3>{{1, -2, 3}, {-1, 4, 0.5f}, {0, 0, 9}}));

  // A quarter turn about the vertical axis takes +X to the screen's right (+Y).
  const float h = std::sqrt(0.5f);
  const std::vector<Vec3> turned = ShownPositions(store, Quaternion{0, 0, h, h});
  ASSERT_EQ(turned.size(), 3u);
  EXPECT_NEAR(turned[0].x, 2.0f, 1e-5f);
  EXPECT_NEAR(turned[0].y, 1.0f, 1e-5f);
  EXPECT_NEAR(turned[0].z, 3.0f, 1e-5f);
}

}  // namespace
}  // namespace tovmar
