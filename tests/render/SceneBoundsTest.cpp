#include "render/SceneBounds.h"

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

TEST(SceneBoundsTest, BoxHoldsTheFinitePositionsOfVisibleObjectsOnly) {
  SceneStore store;
  EXPECT_FALSE(VisibleBounds(store).has_value());

  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  AddObject(store, {{-100, -100, -100}, {100, 100, 100}}, false);
  EXPECT_FALSE(VisibleBounds(store).has_value());
  AddObject(store, {{nan, 0, 0}, {0, inf, 0}}, true);
  EXPECT_FALSE(VisibleBounds(store).has_value());

  // Counted positions only: a count below the array's length leaves the rest out.
  MeshObject& body = AddObject(store, {{1, -2, 3}, {-1, 4, 0.5f}, {0, 0, 9}, {50, 50, 50}}, true);
  body.numPositions = 3;
  const auto box = VisibleBounds(store);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->low, (Vec3{-1, -2, 0.5f}));
  EXPECT_EQ(box->high, (Vec3{1, 4, 9}));
}

}  // namespace
}  // namespace tovmar
