// 4x4 float matrices for the skeleton's bone transforms and the placement of avatar parts.
#pragma once

#include <array>

#include "mesh/Vec.h"

namespace tovmar {

// A 4x4 matrix stored column-major, as OpenGL and glTF lay matrices out: element (row r,
// column c) is m[c * 4 + r], and the translation is m[12], m[13], m[14]. Points are columns
// multiplied from the right, so (a * b) applies b first.
struct Mat4 {
  std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

  static Mat4 Identity() { return {}; }
  static Mat4 Translation(const Vec3& t);
  // Rotations about the parent's X, then Y, then Z axis by the given degrees (R = Rz * Ry * Rx),
  // the usual roll, pitch, yaw order for a +Z-up frame with +X forward. A bone's `rot` gives
  // three angles and no order of its own; every bone of the world's skeleton has zero rotation,
  // so no order can be read off it and the usual one is taken.
  static Mat4 RotationDegrees(const Vec3& degrees);
  static Mat4 Scale(const Vec3& s);

  float At(int row, int column) const { return m[static_cast<std::size_t>(column * 4 + row)]; }
  Vec3 TranslationPart() const { return {m[12], m[13], m[14]}; }

  Vec3 TransformPoint(const Vec3& p) const;
  // Applies the 3x3 part only: for directions and offsets (not normals under non-uniform scale).
  Vec3 TransformDirection(const Vec3& d) const;

  friend Mat4 operator*(const Mat4& a, const Mat4& b);
  friend bool operator==(const Mat4&, const Mat4&) = default;
};

// The determinant of the 3x3 part: how the matrix scales volumes.
double LinearDeterminant(const Mat4& a);

// The inverse of an affine matrix (any 3x3 part and a translation, last row 0 0 0 1), as
// rotations, scales and translations compose to. A 3x3 part without an inverse (a zero scale)
// gives the identity: nothing a skeleton reader accepts can produce one.
Mat4 InverseAffine(const Mat4& a);

}  // namespace tovmar
