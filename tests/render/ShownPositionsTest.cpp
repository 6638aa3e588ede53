#include "render/ShownPositions.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "mesh/SceneStore.h"

namespace tovmar {
namespace {

TEST(ShownPositionsTest, PositionsOfVisibleObjectsTurnedAsShown) {
  SceneStore store;
  EXPECT_TRUE(ShownPositions(store, Quaternion{}).empty());
  const auto add = [&store](std::vector<Vec3> positions, bool visible) {
    MeshObject& object = *store.FindMesh(store.CreateMesh());
    object.positions = std::move(positions);
    object.SetVisible(visible);
  };
  add({{-100, -100, -100}, {100, 100, 100}}, false);
  add({{1, -2, 3}, {-1, 4, 0.5f}}, true);
  EXPECT_EQ(ShownPositions(store, Quaternion{}), (std::vector<Vec3>{{1, -2, 3}, {-1, 4, 0.5f}}));

  // A quarter turn about the vertical axis takes +X to the screen's right (+Y).
  const float h = std::sqrt(0.5f);
  const std::vector<Vec3> turned = ShownPositions(store, Quaternion{0, 0, h, h});
  ASSERT_EQ(turned.size(), 2u);
  EXPECT_NEAR(turned[0].x, 2.0f, 1e-5f);
  EXPECT_NEAR(turned[0].y, 1.0f, 1e-5f);
  EXPECT_NEAR(turned[0].z, 3.0f, 1e-5f);
}

}  // namespace
}  // namespace tovmar
