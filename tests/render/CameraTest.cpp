#include "render/Camera.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
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

// The eight corners of the box from `low` to `high`, and the largest screen coordinate (-1 to 1
// across the view, either axis) of them (in the view's axes) as `camera` shows them in a view of
// width / height `aspect`, and the nearest corner's distance in front of the eye.
struct Shown {
  double reach = 0.0;
  double nearest = 1e9;
};
std::vector<Vec3> Corners(const Vec3& low, const Vec3& high) {
  std::vector<Vec3> corners;
  for (int i = 0; i < 8; ++i) {
    corners.push_back({(i & 1) != 0 ? high.x : low.x, (i & 2) != 0 ? high.y : low.y,
                       (i & 4) != 0 ? high.z : low.z});
  }
  return corners;
}
Shown ShowBox(const ViewCamera& camera, const Vec3& low, const Vec3& high, double aspect) {
  const double tanVertical = std::tan(kFieldOfViewY / 2.0 * std::numbers::pi / 180.0);
  Shown shown;
  for (const Vec3& p : Corners(low, high)) {
    const double depth = camera.distance - (p.x + camera.pan.x);
    shown.nearest = std::min(shown.nearest, depth);
    shown.reach =
        std::max({shown.reach, std::abs(p.y + camera.pan.y) / (depth * tanVertical * aspect),
                  std::abs(p.z + camera.pan.z) / (depth * tanVertical)});
  }
  return shown;
}

TEST(CameraTest, FramingFitsTheBoxWithASmallMarginAndKeepsTheOrientation) {
  struct Case {
    const char* what;
    Vec3 low, high;
    float aspect;
  };
  const Case cases[] = {
      {"a tall body off the line of sight, narrow view", {-0.5f, -1, -2}, {0.3f, 1, 6}, 0.7f},
      {"a wide box, wide view", {-1, -8, -1}, {1, 8, 1}, 2.0f},
      {"deep and close to the eye", {-6, -1, -1}, {3, 1, 1}, 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ViewCamera camera;
    camera.shown = camera.stored = TurnTiltRotation(0.8f, -0.4f);
    camera.light = {10.0f, 5.0f, -3.0f, 0.0f};
    const ViewCamera before = camera;
    ASSERT_TRUE(FramePoints(camera, Corners(c.low, c.high), c.aspect));
    const Shown shown = ShowBox(camera, c.low, c.high, c.aspect);
    // Inside the view with about a twentieth to spare at the tightest side, not lost in it.
    EXPECT_LE(shown.reach, 1.0 / 1.1 + 1e-4);
    EXPECT_GE(shown.reach, 0.85);
    EXPECT_GT(shown.nearest, kNearPlane);
    EXPECT_EQ(camera.shown, before.shown);
    EXPECT_EQ(camera.stored, before.stored);
    EXPECT_EQ(camera.pan.x, 0.0f);
    EXPECT_EQ(camera.light, before.light);
  }
}

TEST(CameraTest, FramingStaysInTheDistanceRangeAndRefusesWhatCannotBeFramed) {
  // Points beyond the finite ones are passed over.
  ViewCamera withInfinity;
  std::vector<Vec3> points = Corners({-1, -1, -1}, {1, 1, 1});
  ASSERT_TRUE(FramePoints(withInfinity, points, 1.0f));
  points.push_back({0, std::numeric_limits<float>::infinity(), 0});
  ViewCamera plain;
  ASSERT_TRUE(FramePoints(plain, points, 1.0f));
  EXPECT_EQ(plain.distance, withInfinity.distance);

  // A speck still keeps the eye at least 1 away and in front of the near plane.
  ViewCamera camera;
  ASSERT_TRUE(FramePoints(camera, Corners({-0.01f, -0.01f, -0.01f}, {0.01f, 0.01f, 0.01f}), 1.0f));
  EXPECT_GE(camera.distance, 1.0f);
  EXPECT_GT(ShowBox(camera, {-0.01f, -0.01f, -0.01f}, {0.01f, 0.01f, 0.01f}, 1.0).nearest,
            kNearPlane);
  // A giant is seen from the farthest distance the wheel allows.
  ASSERT_TRUE(FramePoints(camera, Corners({-1, -1, -500}, {1, 1, 500}), 1.0f));
  EXPECT_EQ(camera.distance, 100.0f);

  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  camera.Reset();
  EXPECT_FALSE(FramePoints(camera, {}, 1.0f));
  const std::vector<Vec3> unusable = {{inf, 0, 0}, {0, nan, 0}, {0, 0, -inf}};
  EXPECT_FALSE(FramePoints(camera, unusable, 1.0f));
  EXPECT_FALSE(FramePoints(camera, Corners({0, 0, 0}, {1, 1, 1}), 0.0f));  // no view
  EXPECT_FALSE(FramePoints(camera, Corners({0, 0, 0}, {1, 1, 1}), nan));
  EXPECT_EQ(camera.distance, 5.0f);
  EXPECT_EQ(camera.pan, Vec3{});
}

}  // namespace
}  // namespace tovmar
