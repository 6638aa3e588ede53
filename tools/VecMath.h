// Double-precision vector arithmetic for building the sample body; results are rounded to the
// mesh file's floats only when they are stored.
#pragma once

#include <cmath>

#include "mesh/Vec.h"

namespace tovmar::sample {

struct DVec3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

inline DVec3 operator+(DVec3 a, DVec3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline DVec3 operator-(DVec3 a, DVec3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline DVec3 operator*(DVec3 a, double s) {
  return {a.x * s, a.y * s, a.z * s};
}
inline double Dot(DVec3 a, DVec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline DVec3 Cross(DVec3 a, DVec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Length(DVec3 a) {
  return std::sqrt(Dot(a, a));
}
inline DVec3 Normalized(DVec3 a) {
  return a * (1.0 / Length(a));
}

inline Vec3 ToFloat(DVec3 a) {
  return {static_cast<float>(a.x), static_cast<float>(a.y), static_cast<float>(a.z)};
}

}  // namespace tovmar::sample
