#include "render/Camera.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace tovmar {
namespace {

// v ↦ R·v with R in OpenGL's column-major order.
Vec3 Rotate(const std::array<double, 16>& r, const Vec3& v) {
  return Vec3{static_cast<float>(r[0] * v.x + r[4] * v.y + r[8] * v.z),
              static_cast<float>(r[1] * v.x + r[5] * v.y + r[9] * v.z),
              static_cast<float>(r[2] * v.x + r[6] * v.y + r[10] * v.z)};
}

TEST(CameraTest, RotationMatrixTurnsVectorsAsTheQuaternionDoes) {
  // Identity.
  const auto identity = RotationMatrix(Quaternion{});
  for (int i = 0; i < 16; ++i) EXPECT_DOUBLE_EQ(identity[i], i % 5 == 0 ? 1.0 : 0.0);

  // A quarter turn about +Z takes +X to +Y.
  const float h = std::sqrt(0.5f);
  const Vec3 turned = Rotate(RotationMatrix(Quaternion{0, 0, h, h}), Vec3{1, 0, 0});
  EXPECT_NEAR(turned.x, 0.0f, 1e-6f);
  EXPECT_NEAR(turned.y, 1.0f, 1e-6f);
  EXPECT_NEAR(turned.z, 0.0f, 1e-6f);

  // The matrix is widened from single precision: no renormalisation of a long quaternion.
  const auto scaled = RotationMatrix(Quaternion{0, 0, 0, 2});
  EXPECT_DOUBLE_EQ(scaled[0], 1.0);
}

TEST(CameraTest, DragRotationComposesAfterTheStoredOrientation) {
  // No movement: identity.
  EXPECT_EQ(DragRotation(0, 0, 400, 300), (Quaternion{0, 0, 0, 1}));

  // A drag across the full width: one radian about +Z.
  const Quaternion d = DragRotation(400, 0, 400, 300);
  EXPECT_NEAR(d.z, std::sin(0.5f), 1e-6f);
  EXPECT_NEAR(d.w, std::cos(0.5f), 1e-6f);
  EXPECT_FLOAT_EQ(d.x, 0.0f);
  EXPECT_FLOAT_EQ(d.y, 0.0f);

  // Two such drags add up to two radians.
  const Quaternion twice = Multiply(d, d);
  EXPECT_NEAR(2.0f * std::atan2(twice.z, twice.w), 2.0f, 1e-5f);

  // A vertical drag turns about +Y; composing keeps first the stored, then the drag rotation.
  const Quaternion down = DragRotation(0, 300, 400, 300);
  EXPECT_NEAR(down.y, std::sin(0.5f), 1e-6f);
  const Quaternion both = Multiply(down, d);
  const Vec3 v = Rotate(RotationMatrix(both), Vec3{1, 0, 0});
  const Vec3 expected = Rotate(RotationMatrix(down), Rotate(RotationMatrix(d), Vec3{1, 0, 0}));
  EXPECT_NEAR(v.x, expected.x, 1e-5f);
  EXPECT_NEAR(v.y, expected.y, 1e-5f);
  EXPECT_NEAR(v.z, expected.z, 1e-5f);
}

TEST(CameraTest, SnappingToHundredthsRoundsDown) {
  EXPECT_FLOAT_EQ(SnapToHundredths(0.123f), 0.12f);
  EXPECT_FLOAT_EQ(SnapToHundredths(-0.001f), -0.01f);
  EXPECT_FLOAT_EQ(SnapToHundredths(0.0f), 0.0f);
  // A value already on a multiple stays there despite binary rounding.
  EXPECT_FLOAT_EQ(SnapToHundredths(0.29f), 0.29f);
}

TEST(CameraTest, WheelZoomIsClampedToOneAndOneHundred) {
  EXPECT_FLOAT_EQ(ZoomedDistance(5.0f, 120), 5.0f - 0.24f);
  EXPECT_FLOAT_EQ(ZoomedDistance(5.0f, -120), 5.0f + 0.24f);
  EXPECT_FLOAT_EQ(ZoomedDistance(1.1f, 120 * 10), 1.0f);
  EXPECT_FLOAT_EQ(ZoomedDistance(99.9f, -120 * 10), 100.0f);
}

TEST(CameraTest, LightPadCentreResetsAndEdgesReachFiveHundred) {
  const std::array<float, 4> moved{10.0f, 123.0f, -45.0f, 0.0f};
  const std::array<float, 4> reset{10.0f, 0.0f, 0.0f, 0.0f};
  // Centre of an 80 x 80 pad is (40, 40): it and its neighbours reset the light.
  EXPECT_EQ(LightFromPad(moved, 40, 40, 80, 80), reset);
  EXPECT_EQ(LightFromPad(moved, 41, 39, 80, 80), reset);
  // Two pixels away does not.
  EXPECT_NE(LightFromPad(moved, 42, 40, 80, 80), reset);
  // The top-left corner gives y = -500 and z = +500; x and w stay.
  const auto corner = LightFromPad(moved, 0, 0, 80, 80);
  EXPECT_FLOAT_EQ(corner[0], 10.0f);
  EXPECT_FLOAT_EQ(corner[1], -500.0f);
  EXPECT_FLOAT_EQ(corner[2], 500.0f);
  EXPECT_FLOAT_EQ(corner[3], 0.0f);
}

std::vector<Vec3> Corners(const Vec3& low, const Vec3& high) {
  std::vector<Vec3> corners;
  for (int i = 0; i < 8; ++i) {
    corners.push_back({(i & 1) != 0 ? high.x : low.x, (i & 2) != 0 ? high.y : low.y,
                       (i & 4) != 0 ? high.z : low.z});
  }
  return corners;
}

// The largest screen coordinate (-1 to 1 across the view, either axis) of `points` (in the view's
// axes) as `camera` shows them in a view of width / height `aspect`, and the nearest point's
// distance in front of the eye.
std::pair<double, double> ReachAndNearest(const ViewCamera& camera, const std::vector<Vec3>& points,
                                          double aspect) {
  const double tanVertical = std::tan(kFieldOfViewY / 2.0 * std::numbers::pi / 180.0);
  double reach = 0.0, nearest = 1e9;
  for (const Vec3& p : points) {
    const double depth = camera.distance - (p.x + camera.pan.x);
    nearest = std::min(nearest, depth);
    reach = std::max({reach, std::abs(p.y + camera.pan.y) / (depth * tanVertical * aspect),
                      std::abs(p.z + camera.pan.z) / (depth * tanVertical)});
  }
  return {reach, nearest};
}

// (The window tests check that a framed model fills most of the view and shows whole.)
TEST(CameraTest, FramingKeepsTheDistanceRangeAndPassesOverWhatCannotBeFramed) {
  // A box fills the view but for a margin; a speck stays in front of the near plane; a giant is
  // seen from the farthest distance.
  ViewCamera camera;
  const std::vector<Vec3> tall = Corners({-0.5f, -1, -2}, {0.3f, 1, 6});
  ASSERT_TRUE(FramePoints(camera, tall, 0.7f));
  EXPECT_NEAR(ReachAndNearest(camera, tall, 0.7).first, 1.0 / 1.1, 1e-4);
  const std::vector<Vec3> speck = Corners({-0.01f, -0.01f, -0.01f}, {0.01f, 0.01f, 0.01f});
  ASSERT_TRUE(FramePoints(camera, speck, 1.0f));
  EXPECT_GT(ReachAndNearest(camera, speck, 1.0).second, kNearPlane);
  ASSERT_TRUE(FramePoints(camera, Corners({-1, -1, -500}, {1, 1, 500}), 1.0f));
  EXPECT_EQ(camera.distance, 100.0f);

  // Infinite and undefined points are passed over; without a finite one, or without a view,
  // nothing changes.
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::vector<Vec3> points = Corners({-1, -1, -1}, {1, 1, 1});
  ViewCamera plain, withUnusable;
  ASSERT_TRUE(FramePoints(plain, points, 1.0f));
  points.insert(points.end(), {{inf, 0, 0}, {0, nan, 0}, {0, 0, -inf}});
  ASSERT_TRUE(FramePoints(withUnusable, points, 1.0f));
  EXPECT_EQ(withUnusable.distance, plain.distance);
  camera.Reset();
  EXPECT_FALSE(FramePoints(camera, {}, 1.0f));
  EXPECT_FALSE(FramePoints(camera, std::vector<Vec3>(points.end() - 3, points.end()), 1.0f));
  EXPECT_FALSE(FramePoints(camera, points, 0.0f));
  EXPECT_FALSE(FramePoints(camera, points, nan));
  EXPECT_EQ(camera.distance, 5.0f);
  EXPECT_EQ(camera.pan, Vec3{});
}

}  // namespace
}  // namespace tovmar
