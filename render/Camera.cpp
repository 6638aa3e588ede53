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

bool FramePoints(ViewCamera& camera, std::span<const Vec3> points, float aspect) {
  // The model's size over the view: 1 / 1.1 of the view's height or width at most.
  constexpr double kMargin = 1.1;
  if (!std::isfinite(aspect) || aspect <= 0.0f) return false;
  const auto finite = [](const Vec3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
  };

  // Pan the middle of the points' extent across the screen onto the line of sight.
  bool any = false;
  double yLow = 0.0, yHigh = 0.0, zLow = 0.0, zHigh = 0.0;
  for (const Vec3& p : points) {
    if (!finite(p)) continue;
    yLow = any ? std::min(yLow, double{p.y}) : p.y;
    yHigh = any ? std::max(yHigh, double{p.y}) : p.y;
    zLow = any ? std::min(zLow, double{p.z}) : p.z;
    zHigh = any ? std::max(zHigh, double{p.z}) : p.z;
    any = true;
  }
  if (!any) return false;
  const double panY = -(yLow + yHigh) / 2.0;
  const double panZ = -(zLow + zHigh) / 2.0;

  // Back the eye off until every point lies inside the view's cone, with the margin, and in front
  // of the near plane.
  const double tanVertical = std::tan(kFieldOfViewY / 2.0 * std::numbers::pi / 180.0);
  const double tanHorizontal = tanVertical * aspect;
  double distance = kMinDistance;
  for (const Vec3& p : points) {
    if (!finite(p)) continue;
    const double depth = double{p.x} + camera.pan.x;
    const double across =
        std::max(std::abs(p.y + panY) / tanHorizontal, std::abs(p.z + panZ) / tanVertical);
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
