#include "render/Camera.h"

#include <algorithm>
#include <cmath>

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
  return std::clamp(d, 1.0f, 100.0f);
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
