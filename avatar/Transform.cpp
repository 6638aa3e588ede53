#include "avatar/Transform.h"

#include <cmath>
#include <numbers>

namespace tovmar {

namespace {

float& Element(Mat4& a, int row, int column) {
  return a.m[static_cast<std::size_t>(column * 4 + row)];
}

}  // namespace

Mat4 Mat4::Translation(const Vec3& t) {
  Mat4 r;
  r.m[12] = t.x;
  r.m[13] = t.y;
  r.m[14] = t.z;
  return r;
}

Mat4 Mat4::RotationDegrees(const Vec3& degrees) {
  constexpr double kRadians = std::numbers::pi / 180.0;
  const double cx = std::cos(degrees.x * kRadians), sx = std::sin(degrees.x * kRadians);
  const double cy = std::cos(degrees.y * kRadians), sy = std::sin(degrees.y * kRadians);
  const double cz = std::cos(degrees.z * kRadians), sz = std::sin(degrees.z * kRadians);
  // Rz * Ry * Rx written out.
  const double rows[3][3] = {
      {cz * cy, cz * sy * sx - sz * cx, cz * sy * cx + sz * sx},
      {sz * cy, sz * sy * sx + cz * cx, sz * sy * cx - cz * sx},
      {-sy, cy * sx, cy * cx},
  };
  Mat4 r;
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      Element(r, row, column) = static_cast<float>(rows[row][column]);
    }
  }
  return r;
}

Mat4 Mat4::Scale(const Vec3& s) {
  Mat4 r;
  r.m[0] = s.x;
  r.m[5] = s.y;
  r.m[10] = s.z;
  return r;
}

Vec3 Mat4::TransformPoint(const Vec3& p) const {
  Vec3 r = TransformDirection(p);
  r += TranslationPart();
  return r;
}

Vec3 Mat4::TransformDirection(const Vec3& d) const {
  return {At(0, 0) * d.x + At(0, 1) * d.y + At(0, 2) * d.z,
          At(1, 0) * d.x + At(1, 1) * d.y + At(1, 2) * d.z,
          At(2, 0) * d.x + At(2, 1) * d.y + At(2, 2) * d.z};
}

Mat4 operator*(const Mat4& a, const Mat4& b) {
  Mat4 r;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a.At(row, k) * b.At(k, column);
      Element(r, row, column) = sum;
    }
  }
  return r;
}

double LinearDeterminant(const Mat4& a) {
  const auto e = [&a](int row, int column) { return static_cast<double>(a.At(row, column)); };
  return e(0, 0) * (e(1, 1) * e(2, 2) - e(1, 2) * e(2, 1)) -
         e(0, 1) * (e(1, 0) * e(2, 2) - e(1, 2) * e(2, 0)) +
         e(0, 2) * (e(1, 0) * e(2, 1) - e(1, 1) * e(2, 0));
}

Mat4 InverseAffine(const Mat4& a) {
  // The 3x3 part's inverse by cofactors, in double; the translation follows as -inverse * t.
  double c[3][3];
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) c[row][column] = a.At(row, column);
  }
  const double cof[3][3] = {
      {c[1][1] * c[2][2] - c[1][2] * c[2][1], c[1][2] * c[2][0] - c[1][0] * c[2][2],
       c[1][0] * c[2][1] - c[1][1] * c[2][0]},
      {c[0][2] * c[2][1] - c[0][1] * c[2][2], c[0][0] * c[2][2] - c[0][2] * c[2][0],
       c[0][1] * c[2][0] - c[0][0] * c[2][1]},
      {c[0][1] * c[1][2] - c[0][2] * c[1][1], c[0][2] * c[1][0] - c[0][0] * c[1][2],
       c[0][0] * c[1][1] - c[0][1] * c[1][0]},
  };
  const double det = c[0][0] * cof[0][0] + c[0][1] * cof[0][1] + c[0][2] * cof[0][2];
  if (!std::isfinite(det) || std::abs(det) < 1e-12) return Mat4::Identity();
  Mat4 r;
  for (int row = 0; row < 3; ++row) {
    // The inverse is the transposed cofactor matrix over the determinant.
    for (int column = 0; column < 3; ++column) {
      Element(r, row, column) = static_cast<float>(cof[column][row] / det);
    }
  }
  const Vec3 t = a.TranslationPart();
  const Vec3 back = r.TransformDirection(t);
  r.m[12] = -back.x;
  r.m[13] = -back.y;
  r.m[14] = -back.z;
  return r;
}

}  // namespace tovmar
