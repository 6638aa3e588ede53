#include "render/Camera.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tovmar {

Quaternion Multiply(const Quaternion& a, const Quaternion& b) {
  // (a_w b_v + b_w a_v + a_v × b_v, a_w b_w − a_v · b_v)
  return Quaternion{
      a.w * b.x + b.w * a.x + (a.y * b.z - a.z * b.y),
      a.w * b.y + b.w * a.y + (a.z * b.x - a.x * b.z),
      a.w * b.z + b.w * a.z + (a.x * b.y - a.y * b.x),
      a.w * b.w - (a.x * b.x + a.y * b.y + a.z * b.z),
  };
}

std::array<double, 16> RotationMatrix(const Quaternion& q) {
  const float x = q.x, y = q.y, z = q.z, w = q.w;
  const float m[16] = {
      1.0f - 2.0f * (y * y + z * z),
      2.0f * (x * y + z * w),
      2.0f * (x * z - y * w),
      0.0f,
      2.0f * (x * y - z * w),
      1.0f - 2.0f * (x * x + z * z),
      2.0f * (y * z + x * w),
      0.0f,
      2.0f * (x * z + y * w),
      2.0f * (y * z - x * w),
      1.0f - 2.0f * (x * x + y * y),
      0.0f,
      0.0f,
      0.0f,
      0.0f,
      1.0f,
  };
  std::array<double, 16> r{};
  std::copy(std::begin(m), std::end(m), r.begin());
  return r;
}

Quaternion TurnTiltRotation(float turn, float tilt) {
  const float sa = std::sin(turn / 2.0f), ca = std::cos(turn / 2.0f);
  const float sb = std::sin(tilt / 2.0f), cb = std::cos(tilt / 2.0f);
  return Quaternion{sb * sa, sb * ca, cb * sa, cb * ca};
}

Quaternion DragRotation(int dx, int dy, int width, int height) {
  return TurnTiltRotation(static_cast<float>(dx) / static_cast<float>(width),
                          static_cast<float>(dy) / static_cast<float>(height));
}

float SnapToHundredths(float p) {
  return static_cast<float>(std::floor(static_cast<double>(p) * 100.0 + 0.00001) * 0.01);
}

float ZoomedDistance(float distance, int rotation) {
  const float d = distance - static_cast<float>(rotation) * 0.002f;
  return std::clamp(d, kMinDistance, kMaxDistance);
}

bool FrameBox(ViewCamera& camera, const Vec3& low, const Vec3& high, float aspect) {
  // The box's size over the view: 1 / 1.1 of the view's height or width at most.
  constexpr double kMargin = 1.1;
  const double corners[2][3] = {{low.x, low.y, low.z}, {high.x, high.y, high.z}};
  for (int axis = 0; axis < 3; ++axis) {
    if (!std::isfinite(corners[0][axis]) || !std::isfinite(corners[1][axis]) ||
        corners[0][axis] > corners[1][axis]) {
      return false;
    }
  }
  if (!std::isfinite(aspect) || aspect <= 0.0f) return false;

  // The eight corners as the view shows them: turned by the orientation (x towards the eye, y to
  // the screen's right, z up).
  const std::array<double, 16> r = RotationMatrix(camera.shown);
  std::array<std::array<double, 3>, 8> turned{};
  for (int i = 0; i < 8; ++i) {
    const double x = corners[i & 1][0], y = corners[(i >> 1) & 1][1], z = corners[(i >> 2) & 1][2];
    turned[i] = {r[0] * x + r[4] * y + r[8] * z, r[1] * x + r[5] * y + r[9] * z,
                 r[2] * x + r[6] * y + r[10] * z};
  }

  // Pan the turned box's middle onto the line of sight.
  double yLow = turned[0][1], yHigh = yLow, zLow = turned[0][2], zHigh = zLow;
  for (const auto& c : turned) {
    yLow = std::min(yLow, c[1]);
    yHigh = std::max(yHigh, c[1]);
    zLow = std::min(zLow, c[2]);
    zHigh = std::max(zHigh, c[2]);
  }
  const double panY = -(yLow + yHigh) / 2.0;
  const double panZ = -(zLow + zHigh) / 2.0;

  // Back the eye off until every corner lies inside the view's cone, with the margin, and in
  // front of the near plane.
  const double tanVertical = std::tan(kFieldOfViewY / 2.0 * std::numbers::pi / 180.0);
  const double tanHorizontal = tanVertical * aspect;
  double distance = kMinDistance;
  for (const auto& c : turned) {
    const double depth = c[0] + camera.pan.x;
    const double across =
        std::max(std::abs(c[1] + panY) / tanHorizontal, std::abs(c[2] + panZ) / tanVertical);
    distance = std::max({distance, depth + kMargin * across, depth + kNearPlane * kMargin});
  }

  camera.distance = static_cast<float>(std::min(distance, double{kMaxDistance}));
  camera.pan.y = static_cast<float>(panY);
  camera.pan.z = static_cast<float>(panZ);
  return true;
}

std::array<float, 4> LightFromPad(const std::array<float, 4>& light, int x, int y, int width,
                                  int height) {
  const int hx = width / 2;
  const int hy = height / 2;
  if (hx - 2 < x && x < hx + 2 && hy - 2 < y && y < hy + 2) return {10.0f, 0.0f, 0.0f, 0.0f};
  std::array<float, 4> result = light;
  result[1] = (static_cast<float>(x) / static_cast<float>(width) - 0.5f) * 1000.0f;
  result[2] = (static_cast<float>(y) / static_cast<float>(height) - 0.5f) * -1000.0f;
  return result;
}

}  // namespace tovmar
