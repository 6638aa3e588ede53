// Packed float vectors shared by the mesh file, the mesh objects and the deformation.
#pragma once

namespace tovmar {

// Three 32-bit floats, 12 bytes, laid out in memory exactly as in a mesh file.
struct Vec3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  void Set(float ax, float ay, float az) {
    x = ax;
    y = ay;
    z = az;
  }
  Vec3& operator+=(const Vec3& o) {
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
  }
  Vec3& operator-=(const Vec3& o) {
    x -= o.x;
    y -= o.y;
    z -= o.z;
    return *this;
  }
  Vec3& operator*=(float s) {
    x *= s;
    y *= s;
    z *= s;
    return *this;
  }
  // Division is multiplication by the reciprocal, as the deformation expects bit for bit.
  Vec3& operator/=(float d) { return *this *= 1.0f / d; }

  friend bool operator==(const Vec3&, const Vec3&) = default;
};

// Two 32-bit floats, 8 bytes: a texture coordinate.
struct Vec2 {
  float u = 0.0f;
  float v = 0.0f;

  friend bool operator==(const Vec2&, const Vec2&) = default;
};

static_assert(sizeof(Vec3) == 12, "Vec3 must be packed");
static_assert(sizeof(Vec2) == 8, "Vec2 must be packed");

}  // namespace tovmar
